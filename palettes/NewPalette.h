#pragma once

#include "app/FileResult.h"
#include "app/StringTable.h"
#include "app/bascommon.h"

#include <QList>
#include <QString>
#include <QStringList>

// New user palettes made from a list of colours: an imported file, a ramp of
// the generator, the colours of an image.
namespace newpalette {

// `name`, or where a listed palette has that name already, the first of
// "name (2)", "name (3)", ... that none has. Linear in the listed names.
QString UniqueName(const StringTable& listedNames, const QString& name);

// The records of `shownColors` so that the view, which shows the newest
// record first, shows them in the order given: the last colour is record 1.
QByteArray RecordsShownInOrder(const QList<Color>& shownColors);

// Adds the palette of file `file` (a plain name in `dataFolder` that no entry
// lists) as a user palette named `name`, listed last, showing `shownColors`
// first to last with `shownNames` beside them (position by position; empty
// or shorter: no names). The colours are written aside and take the file's
// place only once the entry lists it, and the names only follow them, so a
// failure or a kill at any step never shows a name on a colour it was not
// given to. A failure before the palette is listed leaves the index and the
// data folder as they were, and `*listed` false; one after it (the names
// could not be written) leaves the palette without names, and `*listed`
// true.
FileResult Add(const QString& dataFolder, const QString& file, const QString& name,
               const QList<Color>& shownColors, const QStringList& shownNames,
               bool* listed = nullptr);

} // namespace newpalette
