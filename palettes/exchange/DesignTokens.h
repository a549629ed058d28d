#pragma once

#include "palettes/exchange/ExchangePalette.h"
#include "palettes/exchange/JsonTree.h"

#include <QByteArray>
#include <QByteArrayView>

// Design tokens in the format of the W3C Design Tokens Community Group,
// version 2025.10 (.tokens.json or .tokens; JSON, UTF-8):
// - An object whose members are tokens or groups. A member whose name starts
//   with "$" is a property of the object; other names never hold ".", "{" or
//   "}" and name a child.
// - A token is an object with "$value"; "$type" gives its type, and a group's
//   "$type" is that of every token below it that gives none. A group is any
//   other object; "$description", "$extensions" and "$deprecated" change no
//   colour.
// - A colour token has "$type": "color" and a "$value" object of
//     "colorSpace"  one of srgb, srgb-linear, hsl, hwb, lab, lch, oklab, oklch,
//                   display-p3, a98-rgb, prophoto-rgb, rec2020, xyz-d65, xyz-d50
//     "components"  three numbers in the units CSS Color 4 gives the space
//                   (srgb 0 to 1; hsl and hwb hue in degrees and the other two
//                   0 to 100; lab L 0 to 100; oklab L 0 to 1; ...), each of
//                   which may be "none" (read as 0)
//     "alpha"       0 to 1, optional
//     "hex"         "#RRGGBB", optional: the colour for tools that cannot
//                   convert the space
// - A value may instead be an alias, "{group.token}", the value of the token at
//   that path.
namespace designtokens {

// Every colour token in document order, its alias resolved, converted to sRGB
// with the conversions of CSS Color 4, a colour outside sRGB brought in by CSS
// gamut mapping; alpha is ignored. Components that give no number fall back
// to "hex". Earlier drafts' CSS colour texts ("#FF8800", "oklch(62% 0.2 260)")
// are read as well.
// Tokens of other types are passed over. When the document holds one group and
// nothing else, its name names the palette. A colour's name is its token's,
// after the names of the groups that hold it (but the palette's), joined with
// "-": "primary-500" for brand.primary.500 in a file whose only group is
// brand. Names are read as ExchangeNames reads them; a file whose group names
// would make the names take more characters than the file has bytes gives
// the tokens past that their own names alone.
// Text that is not JSON, a colour token whose value is malformed, an alias to
// no colour or an alias loop makes the whole file unreadable, with the line and
// column of the fault.
ExchangeReading Read(QByteArrayView content);
ExchangeReading FromJson(QByteArrayView content, const jsontree::Document& document);

// One group named after the palette (".", "{" and "}" replaced by "-", a leading
// "$" dropped), of type color, holding a token for each colour named by its
// own name (TokenName) or by one that exchangenames makes, names that an earlier
// token has made unique with "-2", "-3"; its value in srgb with the hex
// fallback. Every colour reads back exactly.
QByteArray Write(const ExchangePalette& palette);

// The group name Write() gives a palette name.
QString GroupName(const QString& paletteName);

// The token name Write() gives a colour's own name: ".", "{" and "}" replaced
// by "-", a leading "$" dropped, read as ExchangeNames reads names; empty when
// nothing is left.
QString TokenName(const QString& colorName);

} // namespace designtokens
