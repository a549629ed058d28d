#include "palettes/PaletteFileAccess.h"

#include <QFile>
#include <QFileInfo>

namespace palettefiles {

FileResult ReadWholeFile(const QString& path, const QString& action, WhenMissing missing,
                         QByteArray& content)
{
    content.clear();
    const QFileInfo info(path);
    if (!info.exists() && missing == WhenMissing::ReadAsEmpty)
        return FileResult::success();
    if (info.isDir())
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("a folder has that name")));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
}

} // namespace palettefiles
