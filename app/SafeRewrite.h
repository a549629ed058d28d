#pragma once

#include "app/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

class DataFolderAccess;

// The new content of a data file, written block by block under a temporary
// name beside it (in the same folder) and put in its place by one atomic rename, so that at every
// instant either the complete old or the complete new file is there.
//
// A temporary file left by an interrupted run is removed first (its old
// content never reaches the new file), and the temporary file is created
// anew without following a link. A target that is a symbolic link is refused:
// the rename would replace the link by a plain file. Blocks of zero bytes
// become holes, so a sparse file stays sparse. Every failure names the target
// and says what went wrong with it; the target is then untouched and the
// temporary file gone. Without a commit, destruction discards the work.
class StagedReplacement
{
public:
    StagedReplacement(QString target, QString tempPath, QString action);
    ~StagedReplacement();
    StagedReplacement(const StagedReplacement&) = delete;
    StagedReplacement& operator=(const StagedReplacement&) = delete;

    FileResult open();
    FileResult write(QByteArrayView block);
    // Syncs the temporary file, renames it over the target, syncs the folder.
    FileResult commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    qint64 size() const { return m_size; }

private:
    FileResult failure(const QString& reason);

    QString m_target;
    QString m_tempPath;
    QString m_action;
    // The folder of the target, which holds the temporary file too.
    std::unique_ptr<DataFolderAccess> m_folder;
    QFile m_file;
    qint64 m_size = 0;
    bool m_open = false;
};

// Replaces the whole content of `target` with `content` through `tempPath`.
FileResult replaceFileContents(const QString& target, const QString& tempPath,
                               const QByteArray& content,
                               const QString& action = QStringLiteral("replace"));

// Writes `content` to `tempPath` (a leftover removed first), flushed and
// synced, without touching any target yet. Used where two files must be
// prepared before either is replaced.
FileResult writeSyncedFile(const QString& tempPath, const QByteArray& content);

// Renames `tempPath` over `target` atomically and syncs the folder. A target
// that is a link is refused and the temporary file removed.
FileResult renameOver(const QString& tempPath, const QString& target);
