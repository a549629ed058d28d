#pragma once

#include "app/FileResult.h"
#include "palettes/exchange/ExchangePalette.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Palettes to and from the files of other programs, both ways: GIMP palettes,
// Adobe swatch exchange files, Photoshop swatches, LibreOffice palettes, Sketch
// palettes, design tokens, CSS custom properties, Tailwind CSS themes, SCSS
// and Less variables and JSON. Every format lists the colours in palette-file
// order, oldest first.
namespace paletteexchange {

enum class Format {
    Gimp,
    SwatchExchange,
    Css,
    Json,
    Photoshop,
    Office,
    Sketch,
    DesignTokens,
    Tailwind,
    Scss,
    Less,
};

// Every format, in the order the export dialog offers them.
QList<Format> ExportFormats();

// The format that a file name's extension names (.gpl, .ase, .css, .json,
// .aco, .soc, .sketchpalette, .tokens.json or .tokens, .scss, .less, in any
// case); the longest extension that fits wins, and of two formats with one
// extension (.css) the first of the enumeration. Nothing for any other name.
std::optional<Format> FormatOfFileName(const QString& fileName);

// The format to export to a file of that name when the user left the dialog's
// filter `chosenFilter` chosen: the filter's format when the name has one of
// its extensions or one that several formats share (a Tailwind theme and
// custom properties are both .css), else the format of the name alone.
std::optional<Format> FormatForExport(const QString& fileName, const QString& chosenFilter);

// Each format's short name, which the command line takes: gpl, ase, css, json,
// aco, soc, sketchpalette, tokens, tailwind, scss, less.
QString ShortNameOf(Format format);
// The format of a short name, in any case; nothing for another text.
std::optional<Format> FormatNamed(const QString& shortName);
// Every short name, in the order of the export dialog.
QStringList ShortNames();

// The extension the dialog adds to a name typed without one.
QString ExtensionOf(Format format);
QStringList ExtensionsOf(Format format);

// File dialog filters, the first entry the default, and each format's entry.
QString ExportFilter();
QString ImportFilter();
QString FilterOf(Format format);

// A file name, without extension, for exporting the palette `paletteName`:
// the name with the characters that file systems refuse replaced. The save
// dialog adds the extension of the format chosen in it.
QString ProposedBaseName(const QString& paletteName);

// CSS custom properties on :root, one a colour, named after the palette and
// numbered from 1 in file order:
//   :root {
//     --my-colors-1: #FF0000;
//   }
// after a comment with the palette's name, in which "*/", "<" and ">" are
// written so that neither the comment nor a style element holding the text
// can be ended by the name.
QByteArray CssText(const ExchangePalette& palette);

// JSON: {"name": "My Colors", "colors": ["#FF0000", "#00FF00"]}, colours as
// upper-case #RRGGBB texts, oldest first.
QByteArray JsonText(const ExchangePalette& palette);

QByteArray Encode(Format format, const ExchangePalette& palette);

// Why a palette cannot be written in a format (Photoshop swatches hold at most
// 65,535 colours); empty when it can.
QString ExportProblem(Format format, const ExchangePalette& palette);

// Any palette file of the formats above, told apart by its content: binary
// formats by their first bytes, XML by its root element, JSON by its keys
// (Sketch palette, this program's JSON, else design tokens), style-sheet text
// in the form this program writes. Any other text is harvested: a web page
// (text that begins with "<") or a style sheet gives the colours it uses.
// In time linear in the content; `progress`, when given, is told how far the
// reading is and may stop it (the reading is then stopped, not ok).
ExchangeReading Decode(QByteArrayView content, ReadingProgress* progress = nullptr);

// Reads the palette in a file that the user chose. Files larger than
// MaxFileBytes are refused unread, and so is anything but a plain file (a
// named pipe, a device). The message names the file and the reason.
// `progress` is told how far reading and decoding are, and may stop them:
// the result is then cancelled and the palette empty.
FileResult ImportFile(const QString& path, ExchangePalette& palette, const Progress& progress = {});

// The colours of the palette file `palettePath`, to be exported. A palette of
// more than MaxColors is refused unread: no reader takes it back, and writing
// it out would take gigabytes. The message names the file.
FileResult ReadForExport(const QString& palettePath, QList<Color>& colors);

// The palette `file` of the data folder as an export writes it, shown as
// `name`: its colours (as ReadForExport() reads them) and their names, in the
// order the view shows them, newest first, so that a file imported and
// exported again keeps its order.
FileResult ReadPaletteForExport(const QString& dataFolder, const QString& file, const QString& name,
                                ExchangePalette& palette);

// Writes the palette to `path` in `format`; the file is complete or untouched.
FileResult ExportFile(const QString& path, Format format, const ExchangePalette& palette);

// Reads the palette file `inPath` as ImportFile() does and writes it to
// `outPath` in `format` as ExportFile() does: the output is complete or not
// created (an earlier file of that name is then untouched). A palette that
// names itself not is named as ImportedName() names it.
FileResult ConvertFile(const QString& inPath, const QString& outPath, Format format);

// Writes `content` to `path`, a complete file or none; a failure names the
// file, as "Could not <action> ...".
FileResult WriteExport(const QString& path, const QByteArray& content, const QString& action);

// The display name for an imported palette: the name the file gives, with
// spaces trimmed, or else the file's name without its extension, or else
// "Untiltled" as the name dialog gives; cut to textbounds::MaxNameLength
// characters, which `cut` tells.
QString ImportedName(const ExchangePalette& palette, const QString& path, bool* cut = nullptr);

} // namespace paletteexchange
