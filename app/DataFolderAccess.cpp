#include "app/DataFolderAccess.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Set once a kernel has answered that it lacks openat2.
std::atomic<bool> g_kernelLacksOpenat2{false};

// Folders nest no deeper than this inside anything the program removes: a
// deeper tree is someone else's, and walking it would only use up
// descriptors.
constexpr int MaxRemovalDepth = 32;

constexpr qsizetype CopyBlock = qsizetype(1) << 20;

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The parts of a relative name; empty when the name is not one the folder
// can hold (absolute, "." or ".." in it, an empty part, a NUL).
QStringList partsOf(const QString& name)
{
    if (name.isEmpty() || name.contains(QChar(0)))
        return {};
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return {};
    return parts;
}

DataFolderAccess::Kind kindOf(mode_t mode)
{
    if (S_ISLNK(mode))
        return DataFolderAccess::Kind::Link;
    if (S_ISDIR(mode))
        return DataFolderAccess::Kind::Folder;
    if (S_ISREG(mode))
        return DataFolderAccess::Kind::File;
    return DataFolderAccess::Kind::Other;
}

// Opens `path` beneath `root`, following no link in any part of it.
int openBeneath(int root, const QByteArray& path, int flags, mode_t mode,
                DataFolderAccess::Resolver resolver)
{
    flags |= O_CLOEXEC;
    if (resolver == DataFolderAccess::Resolver::Kernel && !g_kernelLacksOpenat2.load()) {
        open_how how;
        std::memset(&how, 0, sizeof how);
        how.flags = quint64(flags);
        how.mode = (flags & O_CREAT) != 0 ? mode : 0;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        // EAGAIN: a rename elsewhere raced the lookup; a few more tries settle it.
        long fd = -1;
        for (int attempt = 0; attempt < 16; ++attempt) {
            fd = ::syscall(SYS_openat2, root, path.constData(), &how, sizeof how);
            if (fd >= 0 || (errno != EINTR && errno != EAGAIN))
                break;
        }
        if (fd >= 0 || errno != ENOSYS)
            return int(fd);
        g_kernelLacksOpenat2.store(true);
    }
    // Part by part: each folder on the way opened without following a link,
    // the last part too. The names hold no ".." (partsOf), so nothing leads
    // above `root`.
    const QList<QByteArray> parts = path.split('/');
    Descriptor folder(::fcntl(root, F_DUPFD_CLOEXEC, 0));
    if (folder.get() < 0)
        return -1;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const int next = ::openat(folder.get(), parts.at(i).constData(),
                                  O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0)
            return -1;
        folder.reset(next);
    }
    return ::openat(folder.get(), parts.constLast().constData(), flags | O_NOFOLLOW, mode);
}

int writeAll(int fd, const char* data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, std::size_t(size), off_t(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        // Nothing written and no error: the file system can take no more.
        if (written == 0)
            return ENOSPC;
        data += written;
        size -= written;
        offset += written;
    }
    return 0;
}

// Copies [from, to) of `source` to the same place in `target`.
int copyRange(int source, int target, qint64 from, qint64 to, QByteArray& buffer)
{
    while (from < to) {
        const qint64 wanted = qMin<qint64>(to - from, buffer.size());
        const ssize_t got = ::pread(source, buffer.data(), std::size_t(wanted), off_t(from));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return 0; // shorter than when it was measured: the rest stays a hole
        if (const int error = writeAll(target, buffer.constData(), got, from); error != 0)
            return error;
        from += got;
    }
    return 0;
}

// Copies the data of `source`, leaving its holes as holes in `target`.
int copyData(int source, int target, qint64 size)
{
    QByteArray buffer(CopyBlock, Qt::Uninitialized);
    qint64 at = 0;
    while (at < size) {
        off_t data = ::lseek(source, off_t(at), SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break; // a hole to the end
            if (errno != EINVAL)
                return errno;
            // A file system that cannot tell holes: all of it is data.
            return copyRange(source, target, at, size, buffer);
        }
        off_t hole = ::lseek(source, data, SEEK_HOLE);
        if (hole < 0)
            hole = off_t(size);
        if (const int error =
                copyRange(source, target, qint64(data), qMin<qint64>(hole, size), buffer);
            error != 0)
            return error;
        at = qint64(hole);
    }
    return ::ftruncate(target, off_t(size)) == 0 ? 0 : errno;
}

void syncFolder(int parent)
{
    const int fd = ::openat(parent, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

DataFolderAccess::DataFolderAccess(const QString& folder, Resolver resolver)
    : m_folder(folder), m_resolver(resolver)
{
    // The folder itself may be reached through a link (the user's choice of
    // where the data lives); nothing inside it is.
    m_fd = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        m_openError = errno;
        m_opened = FileResult::failure(describeFileError(QStringLiteral("open the data folder"),
                                                         folder, systemReason(m_openError)));
    }
}

QString DataFolderAccess::folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString DataFolderAccess::nameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

DataFolderAccess::~DataFolderAccess()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString DataFolderAccess::pathOf(const QString& name) const
{
    return name.isEmpty() ? m_folder : m_folder + QLatin1Char('/') + name;
}

QString DataFolderAccess::linkOnTheWay(const QString& name) const
{
    const QStringList parts = partsOf(name);
    QString prefix;
    for (const QString& part : parts) {
        prefix += (prefix.isEmpty() ? QString() : QStringLiteral("/")) + part;
        const Kind kind = status(prefix).kind;
        if (kind == Kind::Link)
            return prefix;
        if (kind != Kind::Folder)
            break;
    }
    return {};
}

FileResult DataFolderAccess::failure(const QString& action, const QString& name, int error) const
{
    // A folder that could not be opened: what the file met is what the folder met.
    if (!m_opened)
        return FileResult::failure(
            describeFileError(action, pathOf(name), systemReason(m_openError)));
    if (partsOf(name).isEmpty() && !name.isEmpty())
        return FileResult::failure(describeFileError(
            action, pathOf(name), QStringLiteral("the name does not lie inside the data folder")));
    if (const QString link = linkOnTheWay(name); !link.isEmpty()) {
        QByteArray leaf;
        QString target;
        const Descriptor parent(parentOf(link, leaf, nullptr, action));
        if (parent.get() >= 0) {
            QByteArray buffer(4096, Qt::Uninitialized);
            const ssize_t size =
                ::readlinkat(parent.get(), leaf.constData(), buffer.data(), buffer.size());
            if (size > 0)
                target = QFile::decodeName(buffer.left(size));
        }
        return FileResult::failure(datafiles::LinkRefusalTo(action, pathOf(link), target));
    }
    if (error == EISDIR)
        return FileResult::failure(
            describeFileError(action, pathOf(name), QStringLiteral("a folder has that name")));
    return FileResult::failure(describeFileError(action, pathOf(name), systemReason(error)));
}

int DataFolderAccess::resolveFolder(const QString& name, FileResult* result,
                                    const QString& action) const
{
    int fd = -1;
    if (!m_opened)
        errno = EBADF;
    else if (name.isEmpty())
        fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    else if (partsOf(name).isEmpty())
        errno = EINVAL;
    else
        fd = openBeneath(m_fd, QFile::encodeName(name), O_PATH | O_DIRECTORY, 0, m_resolver);
    if (fd < 0 && result)
        *result = failure(action, name, errno);
    return fd;
}

int DataFolderAccess::parentOf(const QString& name, QByteArray& leaf, FileResult* result,
                               const QString& action) const
{
    const QStringList parts = partsOf(name);
    if (parts.isEmpty()) {
        if (result)
            *result = failure(action, name, EINVAL);
        return -1;
    }
    leaf = QFile::encodeName(parts.constLast());
    return resolveFolder(parts.mid(0, parts.size() - 1).join(QLatin1Char('/')), result, action);
}

DataFolderAccess::Status DataFolderAccess::status(const QString& name) const
{
    Status status;
    QByteArray leaf;
    const Descriptor parent(parentOf(name, leaf, nullptr, QString()));
    struct stat info;
    if (parent.get() < 0 ||
        ::fstatat(parent.get(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return status;
    status.kind = kindOf(info.st_mode);
    status.size = qint64(info.st_size);
    status.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + qint64(info.st_mtim.tv_nsec);
    status.links = quint64(info.st_nlink);
    return status;
}

QString DataFolderAccess::socketAddress(const QString& name) const
{
    QByteArray leaf;
    const Descriptor parent(parentOf(name, leaf, nullptr, QString()));
    if (parent.get() < 0)
        return {};
    struct stat info;
    if (::fstatat(parent.get(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? pathOf(name) : QString();
    return S_ISSOCK(info.st_mode) ? pathOf(name) : QString();
}

QString DataFolderAccess::canonicalFolder(const QString& folder)
{
    return QDir(folder).canonicalPath();
}

int DataFolderAccess::openDescriptor(const QString& name, Access access, const QString& action,
                                     FileResult& result) const
{
    result = FileResult::success();
    if (!m_opened) {
        result = failure(action, name, m_openError);
        return -1;
    }
    if (partsOf(name).isEmpty()) {
        result = failure(action, name, EINVAL);
        return -1;
    }
    int flags = O_NONBLOCK | O_NOFOLLOW;
    switch (access) {
    case Access::Read:
        flags |= O_RDONLY;
        break;
    case Access::ReadWrite:
        flags |= O_RDWR;
        break;
    case Access::Create:
        flags |= O_RDWR | O_CREAT;
        break;
    }
    Descriptor fd(openBeneath(m_fd, QFile::encodeName(name), flags, 0666, m_resolver));
    if (fd.get() < 0) {
        result = failure(action, name, errno);
        return -1;
    }
    struct stat info;
    QString refusal;
    if (::fstat(fd.get(), &info) != 0)
        refusal = systemReason(errno);
    else if (S_ISDIR(info.st_mode))
        refusal = QStringLiteral("a folder has that name");
    else if (!S_ISREG(info.st_mode))
        refusal = QStringLiteral("it is not a plain file");
    else if (access != Access::Read && info.st_nlink > 1)
        refusal = QStringLiteral("it has other names (hard links) whose content would change "
                                 "with it; it was left alone");
    if (!refusal.isEmpty()) {
        result = FileResult::failure(describeFileError(action, pathOf(name), refusal));
        return -1;
    }
    // Blocking again: the flag only kept a named pipe from holding up the open.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd.release();
}

FileResult DataFolderAccess::open(QFile& file, const QString& name, Access access,
                                  const QString& action) const
{
    file.close();
    FileResult result;
    const int fd = openDescriptor(name, access, action, result);
    if (fd < 0)
        return result;
    file.setFileName(pathOf(name));
    const QIODevice::OpenMode mode =
        access == Access::Read ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileResult::failure(describeFileError(action, pathOf(name), file.errorString()));
    }
    return FileResult::success();
}

FileResult DataFolderAccess::mapContent(QFile& file, const QString& name, const QString& action,
                                        QByteArray& content, qint64 maxSize) const
{
    content.clear();
    if (FileResult opened = open(file, name, Access::Read, action); !opened)
        return opened;
    const qint64 size = maxSize < 0 ? file.size() : std::min(maxSize, file.size());
    if (const uchar* mapped = size > 0 ? file.map(0, size) : nullptr)
        content = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
    else if (size > 0)
        content = file.read(size);
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(describeFileError(action, pathOf(name), file.errorString()));
    return FileResult::success();
}

FileResult DataFolderAccess::appendRecord(const QString& name, QByteArrayView content,
                                          qint64 recordLength, const QString& action) const
{
    FileResult result;
    const Descriptor fd(openDescriptor(name, Access::Create, action, result));
    if (fd.get() < 0)
        return result;
    struct stat info;
    if (::fstat(fd.get(), &info) != 0)
        return failure(action, name, errno);
    const qint64 oldSize = qint64(info.st_size);
    const qint64 position = recordLength > 1 ? oldSize - oldSize % recordLength : oldSize;
    if (const int error = writeAll(fd.get(), content.data(), content.size(), position);
        error != 0) {
        static_cast<void>(::ftruncate(fd.get(), off_t(oldSize)));
        return FileResult::failure(describeFileError(action, pathOf(name), systemReason(error)));
    }
    return FileResult::success();
}

FileResult DataFolderAccess::makeFolder(const QString& name, const QString& action) const
{
    QByteArray leaf;
    FileResult result;
    const Descriptor parent(parentOf(name, leaf, &result, action));
    if (parent.get() < 0)
        return result;
    if (::mkdirat(parent.get(), leaf.constData(), 0777) == 0) {
        syncFolder(parent.get());
        return FileResult::success();
    }
    const int error = errno;
    if (error == EEXIST) {
        const Kind kind = status(name).kind;
        if (kind == Kind::Folder)
            return FileResult::success();
        if (kind != Kind::Link)
            return FileResult::failure(
                describeFileError(action, pathOf(name), QStringLiteral("a file has that name")));
    }
    return failure(action, name, error);
}

FileResult DataFolderAccess::removeFile(const QString& name, const QString& action) const
{
    QByteArray leaf;
    FileResult result;
    const Descriptor parent(parentOf(name, leaf, &result, action));
    if (parent.get() < 0)
        return status(name).kind == Kind::Missing && linkOnTheWay(name).isEmpty()
                   ? FileResult::success()
                   : result;
    struct stat info;
    if (::fstatat(parent.get(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? FileResult::success() : failure(action, name, errno);
    if (S_ISLNK(info.st_mode))
        return failure(action, name, ELOOP);
    if (S_ISDIR(info.st_mode))
        return failure(action, name, EISDIR);
    if (::unlinkat(parent.get(), leaf.constData(), 0) != 0 && errno != ENOENT)
        return failure(action, name, errno);
    return FileResult::success();
}

namespace {

// Empties and removes the folder `leaf` of `parent`, never entering a link.
int removeTree(int parent, const QByteArray& leaf, int depth)
{
    if (depth > MaxRemovalDepth)
        return ELOOP;
    const int fd =
        ::openat(parent, leaf.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    DIR* folder = ::fdopendir(fd);
    if (!folder) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(folder, ::closedir);
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    for (const QByteArray& name : names) {
        struct stat info;
        if (::fstatat(fd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue;
            return errno;
        }
        if (S_ISDIR(info.st_mode)) {
            if (const int error = removeTree(fd, name, depth + 1); error != 0)
                return error;
        } else if (::unlinkat(fd, name.constData(), 0) != 0 && errno != ENOENT) {
            return errno;
        }
    }
    if (::unlinkat(parent, leaf.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT)
        return errno;
    return 0;
}

} // namespace

FileResult DataFolderAccess::removeAll(const QString& name, const QString& action) const
{
    QByteArray leaf;
    FileResult result;
    const Descriptor parent(parentOf(name, leaf, &result, action));
    if (parent.get() < 0)
        return result;
    struct stat info;
    if (::fstatat(parent.get(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? FileResult::success() : failure(action, name, errno);
    const int error = S_ISDIR(info.st_mode)
                          ? removeTree(parent.get(), leaf, 0)
                          : (::unlinkat(parent.get(), leaf.constData(), 0) == 0 ? 0 : errno);
    if (error != 0 && error != ENOENT)
        return FileResult::failure(describeFileError(action, pathOf(name), systemReason(error)));
    return FileResult::success();
}

FileResult DataFolderAccess::rename(const QString& from, const QString& to, const QString& action,
                                    Existing existing, bool* taken) const
{
    if (taken)
        *taken = false;
    QByteArray fromLeaf;
    QByteArray toLeaf;
    FileResult result;
    const Descriptor fromParent(parentOf(from, fromLeaf, &result, action));
    if (fromParent.get() < 0)
        return result;
    const Descriptor toParent(parentOf(to, toLeaf, &result, action));
    if (toParent.get() < 0)
        return result;
    if (existing == Existing::Replace) {
        // A rename over a link would replace the link by a plain file.
        struct stat info;
        if (::fstatat(toParent.get(), toLeaf.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(info.st_mode))
            return failure(action, to, ELOOP);
        if (::renameat(fromParent.get(), fromLeaf.constData(), toParent.get(),
                       toLeaf.constData()) != 0)
            return failure(action, to, errno);
    } else {
        if (::renameat2(fromParent.get(), fromLeaf.constData(), toParent.get(), toLeaf.constData(),
                        RENAME_NOREPLACE) != 0) {
            int error = errno;
            // File systems without the flag: a hard link is made only where
            // no name is, and the old name then goes.
            if (error == EINVAL || error == ENOSYS) {
                if (::linkat(fromParent.get(), fromLeaf.constData(), toParent.get(),
                             toLeaf.constData(), 0) == 0) {
                    ::unlinkat(fromParent.get(), fromLeaf.constData(), 0);
                    error = 0;
                } else {
                    error = errno;
                }
            }
            if (error == EEXIST && taken)
                *taken = true;
            if (error != 0)
                return FileResult::failure(
                    describeFileError(action, pathOf(to), systemReason(error)));
        }
    }
    syncFolder(toParent.get());
    return FileResult::success();
}

QList<DataFolderAccess::Listed> DataFolderAccess::list(const QString& name) const
{
    QList<Listed> listed;
    if (!m_opened)
        return listed;
    const int fd = name.isEmpty() ? ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                  : (partsOf(name).isEmpty()
                                         ? -1
                                         : openBeneath(m_fd, QFile::encodeName(name),
                                                       O_RDONLY | O_DIRECTORY, 0, m_resolver));
    if (fd < 0)
        return listed;
    DIR* folder = ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return listed;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(folder, ::closedir);
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArray leaf(entry->d_name);
        if (leaf == "." || leaf == "..")
            continue;
        struct stat info;
        if (::fstatat(fd, leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        listed.append({QFile::decodeName(leaf), kindOf(info.st_mode)});
    }
    return listed;
}

namespace {

// A temporary file made anew beside its target; removed unless kept.
class Temporary
{
public:
    Temporary(int parent, QByteArray leaf) : m_parent(parent), m_leaf(std::move(leaf)) {}
    ~Temporary()
    {
        if (m_fd.get() >= 0 || m_made) {
            m_fd.reset(-1);
            ::unlinkat(m_parent, m_leaf.constData(), 0);
        }
    }
    // 0, or the errno of the failure; EEXIST when something that is not a
    // file (a folder) is in the way.
    int create()
    {
        struct stat info;
        if (::fstatat(m_parent, m_leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISDIR(info.st_mode))
                return EEXIST;
            // A leftover of an interrupted run, or a link: the name itself goes.
            if (::unlinkat(m_parent, m_leaf.constData(), 0) != 0 && errno != ENOENT)
                return errno;
        }
        m_fd.reset(::openat(m_parent, m_leaf.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (m_fd.get() < 0)
            return errno;
        m_made = true;
        return 0;
    }
    int fd() const { return m_fd.get(); }
    int finish()
    {
        if (::fsync(m_fd.get()) != 0)
            return errno;
        const int fd = m_fd.release();
        return ::close(fd) == 0 ? 0 : errno;
    }
    void placed() { m_made = false; }
    // The descriptor, and the file with it, go to the caller.
    int release()
    {
        m_made = false;
        return m_fd.release();
    }

private:
    int m_parent;
    QByteArray m_leaf;
    Descriptor m_fd;
    bool m_made = false;
};

} // namespace

int DataFolderAccess::createNew(const QString& name, int& error) const
{
    QByteArray leaf;
    const Descriptor parent(parentOf(name, leaf, nullptr, QString()));
    if (parent.get() < 0) {
        error = m_opened ? errno : m_openError;
        return -1;
    }
    Temporary created(parent.get(), leaf);
    error = created.create();
    if (error != 0) {
        if (error == EEXIST)
            error = EISDIR;
        return -1;
    }
    return created.release();
}

FileResult DataFolderAccess::replace(const QString& name, const QString& temporary,
                                     QByteArrayView content, const QString& action) const
{
    QByteArray leaf;
    FileResult result;
    const Descriptor parent(parentOf(temporary, leaf, &result, action));
    if (parent.get() < 0)
        return result;
    if (status(name).kind == Kind::Link)
        return failure(action, name, ELOOP);
    Temporary temp(parent.get(), leaf);
    int error = temp.create();
    if (error == 0)
        error = writeAll(temp.fd(), content.data(), content.size(), 0);
    if (error == 0)
        error = temp.finish();
    if (error != 0)
        return FileResult::failure(describeFileError(action, pathOf(name), systemReason(error)));
    if (FileResult renamed = rename(temporary, name, action); !renamed)
        return renamed;
    temp.placed();
    return FileResult::success();
}

FileResult DataFolderAccess::copy(QFile& source, const QString& name, const QString& temporary,
                                  const QString& action, Existing existing, bool* taken) const
{
    if (taken)
        *taken = false;
    QByteArray leaf;
    FileResult result;
    const Descriptor parent(parentOf(temporary, leaf, &result, action));
    if (parent.get() < 0)
        return result;
    const Kind present = status(name).kind;
    if (existing == Existing::Keep && present != Kind::Missing) {
        if (taken)
            *taken = true;
        return FileResult::success();
    }
    if (present == Kind::Link)
        return failure(action, name, ELOOP);
    struct stat info;
    if (::fstat(source.handle(), &info) != 0)
        return FileResult::failure(
            describeFileError(action, source.fileName(), systemReason(errno)));
    Temporary temp(parent.get(), leaf);
    int error = temp.create();
    if (error == 0)
        error = copyData(source.handle(), temp.fd(), qint64(info.st_size));
    if (error == 0) {
        const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
        ::futimens(temp.fd(), times);
        error = temp.finish();
    }
    if (error != 0)
        return FileResult::failure(describeFileError(action, pathOf(name), systemReason(error)));
    if (FileResult renamed = rename(temporary, name, action, existing, taken); !renamed) {
        if (taken && *taken)
            return FileResult::success();
        return renamed;
    }
    temp.placed();
    return FileResult::success();
}

namespace datafiles {

QString LinkRefusalTo(const QString& action, const QString& path, const QString& target)
{
    const QString where = target.isEmpty() ? QStringLiteral("it is a symbolic link")
                                           : QStringLiteral("it is a symbolic link to \"%1\"")
                                                 .arg(QDir::toNativeSeparators(target));
    return describeFileError(action, path,
                             where + QStringLiteral(", and the program writes only to its own "
                                                    "files in the data folder; it was left alone"));
}

} // namespace datafiles
