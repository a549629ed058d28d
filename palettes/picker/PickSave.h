#pragma once

#include "app/FileResult.h"
#include "app/bascommon.h"

#include <QString>

// How a picked colour is kept, whether it came from the frozen screen or
// from a picture the user opened: one record, the colour's #RRGGBB, at the end
// of the chosen palette of the data folder.
namespace picksave {

// `file` empty means that no palette of the index takes colours: that is a
// failure with a message, not a file of no name.
FileResult SavePickedColor(const QString& dataFolder, const QString& file, Color color);

} // namespace picksave
