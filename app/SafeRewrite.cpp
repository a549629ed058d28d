#include "app/SafeRewrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

void syncFolderOf(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

} // namespace

FileResult writeSyncedFile(const QString& tempPath, const QByteArray& content)
{
    QFile file(tempPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return FileResult::failure(describeFileError(QStringLiteral("create"), tempPath, file.errorString()));
    if (file.write(content) != content.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        QFile::remove(tempPath);
        return FileResult::failure(describeFileError(QStringLiteral("write"), tempPath, reason));
    }
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        file.close();
        QFile::remove(tempPath);
        return FileResult::failure(describeFileError(QStringLiteral("write"), tempPath, reason));
    }
#endif
    file.close();
    return FileResult::success();
}

FileResult renameOver(const QString& tempPath, const QString& target)
{
    // rename(2) replaces an existing target atomically; QFile::rename refuses
    // to overwrite, and removing the target first would open a window in which
    // neither file exists.
    const QByteArray from = QFile::encodeName(tempPath);
    const QByteArray to = QFile::encodeName(target);
    if (std::rename(from.constData(), to.constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(tempPath);
        return FileResult::failure(describeFileError(QStringLiteral("replace"), target, reason));
    }
    syncFolderOf(target);
    return FileResult::success();
}

FileResult replaceFileContents(const QString& target, const QString& tempPath,
                               const QByteArray& content)
{
    if (QFileInfo(target).isDir())
        return FileResult::failure(
            describeFileError(QStringLiteral("replace"), target, QStringLiteral("a folder has that name")));
    if (FileResult written = writeSyncedFile(tempPath, content); !written)
        return written;
    return renameOver(tempPath, target);
}
