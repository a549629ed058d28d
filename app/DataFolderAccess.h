#pragma once

#include "app/FileResult.h"

#include <QList>
#include <QString>

class QFile;

// The one way into the data folder. It holds a descriptor of the folder and
// resolves every name beneath it without following a link, in any part of
// the name: a link put into the folder (downloaded, synced, restored or
// planted) can neither lead a read or write out of the folder nor be
// replaced by a plain file. Names are relative, parts separated by '/', with
// no "." or ".." part.
//
// A new kind of data file needs nothing but its name: every open, creation,
// replacement, rename, removal and listing goes through here, so the kind
// inherits the confinement and the crash-safe replacement.
//
// Failures name the file (the data folder's path joined with the name) and
// the system's reason; a link met on the way is refused with the program's
// usual words for links, naming it and where it leads.
class DataFolderAccess
{
public:
    // How names are resolved: by the kernel (openat2, Linux 5.6 and later),
    // or part by part where the kernel has no openat2. Both are confined.
    enum class Resolver { Kernel, PerPart };

    enum class Kind { Missing, File, Folder, Link, Other };

    struct Status
    {
        Kind kind = Kind::Missing;
        qint64 size = 0;
        // Nanoseconds since the epoch: with the size, what tells a later
        // change from the state a copy was taken in.
        qint64 modified = 0;
        quint64 links = 0;
    };

    struct Listed
    {
        QString name;
        Kind kind = Kind::Missing;
    };

    enum class Access {
        Read,
        // Reads and writes an existing plain file.
        ReadWrite,
        // Reads and writes, creating an empty file when there is none.
        Create,
    };

    // What a copy or a rename does to a file already under the new name.
    enum class Existing { Replace, Keep };

    explicit DataFolderAccess(const QString& folder, Resolver resolver = Resolver::Kernel);
    ~DataFolderAccess();
    DataFolderAccess(const DataFolderAccess&) = delete;
    DataFolderAccess& operator=(const DataFolderAccess&) = delete;

    // The folder and the name of a data file's path ("folder/name"), for the
    // routines that are handed whole paths.
    static QString folderOf(const QString& path);
    static QString nameOf(const QString& path);

    const QString& folder() const { return m_folder; }
    // Only for messages: the name as a path.
    QString pathOf(const QString& name) const;
    // Why the folder itself could not be opened; success when it was.
    const FileResult& opened() const { return m_opened; }

    // What `name` is, not following a link; Missing also when a part on the
    // way is missing or not a folder.
    Status status(const QString& name) const;

    // The path by which a local socket `name` in the folder is reached, when
    // the entry is a socket or missing (for a server to create); empty when
    // it is a link or anything else, which no connection goes through and no
    // server removes to take the name.
    QString socketAddress(const QString& name) const;
    // `folder` with every link in its path resolved: what tells that two
    // runs, however each names the folder, work on the same one. Empty when
    // the folder does not exist.
    static QString canonicalFolder(const QString& folder);

    // Opens a plain file into `file` (which closes the descriptor). A link,
    // a folder, a device, a named pipe and, when writing, a file with other
    // names (hard links, whose content would change too) are refused.
    FileResult open(QFile& file, const QString& name, Access access, const QString& action) const;
    // Opens `name` for reading as open() does and gives its content, or its
    // first `maxSize` bytes, in `content`: a mapping of the file where it
    // allows one (valid while `file` stays open), which a damaged file of
    // gigabytes, or a sparse one, does not fill the memory with; read
    // otherwise.
    FileResult mapContent(QFile& file, const QString& name, const QString& action,
                          QByteArray& content, qint64 maxSize = -1) const;
    // The same for a caller that needs the descriptor itself (a lock); -1 on
    // failure, with the reason in `result`.
    int openDescriptor(const QString& name, Access access, const QString& action,
                       FileResult& result) const;

    // Writes `content` at the end of the plain file `name` (created empty when
    // missing), after its last whole record of `recordLength` bytes: a tail
    // cut short by an earlier failure is written over, not left to shift
    // every later record (1: after the last byte). The file is opened as
    // open() opens one for writing, so a link or a file with other names is
    // refused; a write that fails puts the file back to its old size.
    FileResult appendRecord(const QString& name, QByteArrayView content, qint64 recordLength,
                            const QString& action) const;

    // Creates the file `name` anew, open for writing, never through a link:
    // whatever an interrupted run left under the name (a file, or a link
    // itself) goes first. -1 on failure with the system's error in `error`
    // (EISDIR when a folder has the name).
    int createNew(const QString& name, int& error) const;

    // Creates the folder `name` unless it is there already (a folder, not a
    // link to one).
    FileResult makeFolder(const QString& name, const QString& action) const;
    // Removes the plain file `name`; a missing file is no failure, a link or
    // a folder is refused.
    FileResult removeFile(const QString& name, const QString& action) const;
    // Removes whatever `name` is: a link itself (never what it leads to), a
    // file, or a folder with everything in it, walking it without ever
    // entering a link.
    FileResult removeAll(const QString& name, const QString& action) const;
    // Renames within the folder. A link under the new name is refused; with
    // Existing::Keep, any file under the new name makes the rename fail with
    // EEXIST's reason and `*taken` set.
    FileResult rename(const QString& from, const QString& to, const QString& action,
                      Existing existing = Existing::Replace, bool* taken = nullptr) const;
    // The entries of the folder `name` (empty: the data folder), unsorted.
    QList<Listed> list(const QString& name = QString()) const;

    // Replaces `name` with `content` crash-safely: written to `temporary`
    // (a leftover of that name removed first), synced, renamed over `name`.
    FileResult replace(const QString& name, const QString& temporary, QByteArrayView content,
                       const QString& action) const;
    // Copies the open file `source` (anywhere) to `name` crash-safely in the
    // same way, streaming: holes stay holes and memory stays small. The copy
    // keeps the source's modification time. With Existing::Keep a file
    // already under `name` (a link included) is left as it is and `*taken`
    // set.
    FileResult copy(QFile& source, const QString& name, const QString& temporary,
                    const QString& action, Existing existing = Existing::Replace,
                    bool* taken = nullptr) const;

private:
    // Descriptors of a folder and of the folder that holds `name`; -1 with
    // the reason in `*result` (when given) on failure.
    int resolveFolder(const QString& name, FileResult* result, const QString& action) const;
    int parentOf(const QString& name, QByteArray& leaf, FileResult* result,
                 const QString& action) const;
    FileResult failure(const QString& action, const QString& name, int error) const;
    QString linkOnTheWay(const QString& name) const;

    QString m_folder;
    Resolver m_resolver;
    int m_fd = -1;
    int m_openError = 0;
    FileResult m_opened;
};

namespace datafiles {

// Why `path`, a link leading to `target` (empty: unknown), was left alone:
// the one message the program gives for every link in the data folder.
QString LinkRefusalTo(const QString& action, const QString& path, const QString& target);

} // namespace datafiles
