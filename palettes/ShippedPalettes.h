#pragma once

#include "app/FileResult.h"
#include "palettes/PaletteIndex.h"

#include <QList>
#include <QString>

// A user's own data folder is seeded once; the palettes a later release ships
// reach it only as an offer, which the user takes or declines once. The record
// "shipped.lst" in the data folder lists, one file name a line, the shipped
// palettes the folder has been given or offered.
namespace shippedpalettes {

QString RecordFileName(); // "shipped.lst"

struct Check
{
    // Entries of the shipped index, in its order, that are new to the folder.
    QList<paletteindex::Entry> fresh;
    FileResult result;
};

// The palettes of the index in `shippedFolder` that the data folder has never
// been given nor offered. A folder without a record has been given all that
// is shipped (it was seeded from them): the record is started with them, and
// none is new.
Check NewPalettes(const QString& shippedFolder, const QString& dataFolder);

// Copies the palettes' files into the data folder (under the next free palette
// file name when the user already has a file of that name), adds them at the
// end of the user's index and records them.
FileResult Add(const QString& shippedFolder, const QString& dataFolder,
               const QList<paletteindex::Entry>& palettes);

// Records the palettes as offered, so that they are not offered again.
FileResult Decline(const QString& dataFolder, const QList<paletteindex::Entry>& palettes);

} // namespace shippedpalettes
