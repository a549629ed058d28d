#include "app/DataFileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace datafiles {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool IsSymbolicLink(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
#else
    return QFileInfo(path).isSymLink();
#endif
}

QString LinkRefusal(const QString& action, const QString& path)
{
    return LinkRefusalTo(action, path, QFileInfo(path).symLinkTarget());
}

QString LinkRefusalTo(const QString& action, const QString& path, const QString& target)
{
    const QString where = target.isEmpty() ? QStringLiteral("it is a symbolic link")
                                           : QStringLiteral("it is a symbolic link to \"%1\"")
                                                 .arg(QDir::toNativeSeparators(target));
    return describeFileError(action, path,
                             where + QStringLiteral(", and the program writes only to its own "
                                                    "files in the data folder; it was left alone"));
}

FileResult OpenForWriting(QFile& file, const QString& path, const QString& action,
                          WhenMissing missing)
{
    file.close();
    file.setFileName(path);
#ifdef Q_OS_UNIX
    // O_NOFOLLOW makes the refusal part of the opening itself, so a link put
    // in place between a check and the open cannot slip through.
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK |
                      (missing == WhenMissing::Create ? O_CREAT : 0);
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP || IsSymbolicLink(path))
            return FileResult::failure(LinkRefusal(action, path));
        if (error == EISDIR)
            return FileResult::failure(
                describeFileError(action, path, QStringLiteral("a folder has that name")));
        return FileResult::failure(describeFileError(action, path, systemReason(error)));
    }
    struct stat status;
    QString refusal;
    if (::fstat(fd, &status) != 0)
        refusal = systemReason(errno);
    else if (!S_ISREG(status.st_mode))
        refusal = QStringLiteral("it is not a plain file");
    else if (status.st_nlink > 1)
        refusal = QStringLiteral("it has other names (hard links) whose content would change "
                                 "with it; it was left alone");
    if (!refusal.isEmpty()) {
        ::close(fd);
        return FileResult::failure(describeFileError(action, path, refusal));
    }
    // Blocking again: the flag only kept a named pipe from holding up the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    }
    return FileResult::success();
#else
    const QFileInfo info(path);
    if (info.isSymLink())
        return FileResult::failure(LinkRefusal(action, path));
    if (info.isDir())
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("a folder has that name")));
    if (!info.exists() && missing == WhenMissing::Fail)
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("the file does not exist")));
    if (!file.open(QIODevice::ReadWrite))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
#endif
}

FileResult RefuseLink(const QString& path, const QString& action)
{
    if (IsSymbolicLink(path))
        return FileResult::failure(LinkRefusal(action, path));
    return FileResult::success();
}

FileResult RemoveFile(const QString& path, const QString& action)
{
    if (FileResult link = RefuseLink(path, action); !link)
        return link;
    const QFileInfo info(path);
    if (info.isDir())
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("a folder has that name")));
    if (!info.exists())
        return FileResult::success();
    QFile file(path);
    if (!file.remove())
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
}

} // namespace datafiles
