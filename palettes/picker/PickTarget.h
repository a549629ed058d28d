#pragma once

#include "palettes/PaletteIndex.h"

#include <QString>

// Where a pick from outside the windows (`tintora --pick`, the desktop's
// shortcut) saves its colour, decided before the screen freezes: a pick
// whose colour could not be kept would otherwise be lost after the click.
namespace picktarget {

// The file of the palette shown as `name` among those that take colours;
// empty when there is none of that name.
QString PaletteNamed(const paletteindex::Reading& reading, const QString& name);

// Why a pick that saves (`save`) to the palette shown as `saveTo` (empty: the
// one the picker offers first) cannot be carried out on `reading`: a name that
// no palette has, or no palette at all to save to. Empty when it can.
QString Problem(bool save, const QString& saveTo, const paletteindex::Reading& reading);

} // namespace picktarget
