#pragma once

#include <QByteArrayView>
#include <QString>

// What every reader of a data file must hold for any content at all, checked
// on one input: the input becomes the data file in a scratch folder, the
// reader runs, and so do the rewrites that the program bases on what it read.
// A broken promise prints what was expected and aborts, which is how libFuzzer
// and a test both notice it.
//
// The scratch folder belongs to the check: it is emptied first on every call.
namespace fuzzchecks {

using Check = void (*)(const QString& scratchFolder, QByteArrayView input);

// The palette index "colorchart.cci": reading, repair, deleting an entry,
// adding one, and the next palette's file name.
void CheckPaletteIndex(const QString& scratchFolder, QByteArrayView input);

// A palette file: counting, page reads, appending, deleting one colour and
// clearing duplicates.
void CheckPaletteFile(const QString& scratchFolder, QByteArrayView input);

// A palette's names file: whatever it holds, a name pairs only with a record
// of its own colour, in order; what was read writes back to read the same;
// deleting a colour and clearing duplicates leave names that still fit.
void CheckPaletteNames(const QString& scratchFolder, QByteArrayView input);

// The scheme name list "set.hcs": reading, saving a scheme after it and
// deleting one.
void CheckSchemeNames(const QString& scratchFolder, QByteArrayView input);

// The scheme colour file "colorset.dat": reading each record, saving and
// deleting a scheme.
void CheckSchemeColors(const QString& scratchFolder, QByteArrayView input);

// A file to import, of any exchange format: reading never fails without a
// reason, and whatever was read writes out in every export format that can
// hold it and reads back to the same colours.
void CheckExchangeFile(const QString& scratchFolder, QByteArrayView input);

// A text pasted or dropped as a colour: the parser either reads a colour,
// which then reads back from its own oklch() and hex texts, or refuses with
// a message; the scratch folder is not used.
void CheckColorText(const QString& scratchFolder, QByteArrayView input);

// The same promises as for CheckExchangeFile, for one reader each: Photoshop
// swatches, LibreOffice palettes, Sketch palettes, design tokens, and the
// style-sheet variables that this program writes.
void CheckPhotoshopSwatches(const QString& scratchFolder, QByteArrayView input);
void CheckOfficePalette(const QString& scratchFolder, QByteArrayView input);
void CheckSketchPalette(const QString& scratchFolder, QByteArrayView input);
void CheckDesignTokens(const QString& scratchFolder, QByteArrayView input);
void CheckStyleSheetVariables(const QString& scratchFolder, QByteArrayView input);
// A style sheet and a web page to harvest: each colour once, and the same
// promises as above.
void CheckStyleSheetHarvest(const QString& scratchFolder, QByteArrayView input);

// The check of a fuzz target by its name ("paletteindex", "paletterecords",
// "palettenames",
// "schemenames", "schemecolors", "exchange", "colortext", "aco", "soc",
// "sketch", "tokens", "stylesheet", "harvest"); nullptr for any other name.
Check CheckNamed(const QString& target);

} // namespace fuzzchecks
