#include "app/DataFileAccess.h"

#include "app/DataFolderAccess.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace datafiles {

bool IsSymbolicLink(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

QString LinkRefusal(const QString& action, const QString& path)
{
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t size =
        ::readlink(QFile::encodeName(path).constData(), target.data(), std::size_t(target.size()));
    return LinkRefusalTo(action, path, size > 0 ? QFile::decodeName(target.left(size)) : QString());
}

FileResult OpenForWriting(QFile& file, const QString& path, const QString& action,
                          WhenMissing missing)
{
    const DataFolderAccess folder(DataFolderAccess::folderOf(path));
    return folder.open(file, DataFolderAccess::nameOf(path),
                       missing == WhenMissing::Create ? DataFolderAccess::Access::Create
                                                      : DataFolderAccess::Access::ReadWrite,
                       action);
}

FileResult RefuseLink(const QString& path, const QString& action)
{
    if (IsSymbolicLink(path))
        return FileResult::failure(LinkRefusal(action, path));
    return FileResult::success();
}

FileResult RemoveFile(const QString& path, const QString& action)
{
    const DataFolderAccess folder(DataFolderAccess::folderOf(path));
    return folder.removeFile(DataFolderAccess::nameOf(path), action);
}

} // namespace datafiles
