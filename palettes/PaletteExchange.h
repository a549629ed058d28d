#pragma once

#include "app/FileResult.h"
#include "palettes/ExchangePalette.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Palettes to and from the files of other programs: GIMP palettes and Adobe
// swatch exchange files both ways, CSS custom properties and JSON one way.
// Every format lists the colours in palette-file order, oldest first.
namespace paletteexchange {

enum class Format { Gimp, SwatchExchange, Css, Json };

// The format that a file name's extension names (.gpl, .ase, .css, .json,
// in any case); nothing for any other name.
std::optional<Format> FormatOfFileName(const QString& fileName);
QString ExtensionOf(Format format);

// File dialog filters, the first entry the default.
QString ExportFilter();
QString ImportFilter();

// A file name, without extension, for exporting the palette `paletteName`:
// the name with the characters that file systems refuse replaced. The save
// dialog adds the extension of the format chosen in it.
QString ProposedBaseName(const QString& paletteName);

// The part of a CSS custom property's name that a palette name gives: ASCII
// letters and digits in lower case, every other run of characters one
// hyphen; "color" when nothing is left.
QString CssNamePart(const QString& paletteName);

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

// A GIMP palette or a swatch exchange file, told apart by their first bytes.
ExchangeReading Decode(QByteArrayView content);

// Reads the palette in a file that the user chose. Files larger than
// MaxFileBytes are refused unread. The message names the file and the reason.
FileResult ImportFile(const QString& path, ExchangePalette& palette);

// Writes the palette to `path` in `format`; the file is complete or untouched.
FileResult ExportFile(const QString& path, Format format, const ExchangePalette& palette);

// Writes `content` to `path`, a complete file or none; a failure names the
// file, as "Could not <action> ...".
FileResult WriteExport(const QString& path, const QByteArray& content, const QString& action);

// The display name for an imported palette: the name the file gives, with
// spaces trimmed, or else the file's name without its extension, or else
// "Untiltled" as the name dialog gives; cut to textbounds::MaxNameLength
// characters, which `cut` tells.
QString ImportedName(const ExchangePalette& palette, const QString& path, bool* cut = nullptr);

} // namespace paletteexchange
