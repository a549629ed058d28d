#pragma once

#include "app/FileResult.h"
#include "app/Progress.h"

#include <QString>

// The edits that take colours out of a palette, with the palette's names
// kept true. Each takes the data folder and the palette's file name.
//
// Two files change, each replaced crash-safely on its own, so a kill can
// leave one old and one new. The names go first: a names file that lacks
// the lines of records still there only loses those names, whereas lines of
// records gone would pair with later copies of their colours. A palette
// without names is edited exactly as before, and gets no names file.
class PaletteNames;

namespace namededits {

FileResult DeleteColor(const QString& dataFolder, const QString& file, qint32 record,
                       const Progress& progress = {});
FileResult ClearDuplicates(const QString& dataFolder, const QString& file,
                           const Progress& progress = {});
FileResult ClearAll(const QString& dataFolder, const QString& file);

// Gives `record` the name `name` (empty: no name) in `names`, the palette's
// names as read, and writes them; the colours stay. Fails, writing nothing,
// when the palette no longer holds that record.
FileResult NameColor(const QString& dataFolder, const QString& file, qint32 record,
                     const QString& name, PaletteNames& names);

} // namespace namededits
