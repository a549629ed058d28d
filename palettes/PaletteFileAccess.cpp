#include "palettes/PaletteFileAccess.h"

#include "app/DataFolderAccess.h"

#include <QFile>

namespace palettefiles {

FileResult ReadWholeFile(const QString& path, const QString& action, WhenMissing missing,
                         QByteArray& content)
{
    content.clear();
    const DataFolderAccess folder(DataFolderAccess::folderOf(path));
    const QString name = DataFolderAccess::nameOf(path);
    if (missing == WhenMissing::ReadAsEmpty &&
        folder.status(name).kind == DataFolderAccess::Kind::Missing)
        return FileResult::success();
    QFile file;
    if (FileResult opened = folder.open(file, name, DataFolderAccess::Access::Read, action);
        !opened)
        return opened;
    content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
}

} // namespace palettefiles
