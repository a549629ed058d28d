#include "palettes/picker/PickSave.h"

namespace picksave {

FileResult SavePickedColor(const QString& dataFolder, const QString& file, Color color)
{
    if (file.isEmpty())
        return FileResult::failure(QStringLiteral(
            "The picked color cannot be saved: the palette index lists no palette that colors "
            "can be added to."));
    return bascommon::AppendColorToFile(dataFolder, file, bascommon::ColorToHtmlHex(color));
}

} // namespace picksave
