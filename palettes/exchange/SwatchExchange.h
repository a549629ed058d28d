#pragma once

#include "palettes/exchange/ExchangePalette.h"

#include <QByteArray>
#include <QByteArrayView>

// Adobe swatch exchange files (.ase), version 1.0, all numbers big-endian:
//   header  "ASEF", major and minor version (16 bits each), block count (32 bits)
//   block   type (16 bits), length of the data that follows (32 bits), data
// Block types: 0x0001 colour entry, 0xC001 group start, 0xC002 group end;
// other types are skipped by their length. A colour entry holds its name
// (16-bit count of UTF-16BE code units including a closing 0, then the units),
// the colour model as 4 ASCII characters ("RGB ", "CMYK", "LAB " or "Gray"),
// the model's values as 32-bit floats and a 16-bit colour type (global, spot,
// normal). A group start holds the group's name in the same form.
namespace swatchexchange {

constexpr quint16 ColorEntry = 0x0001;
constexpr quint16 GroupStart = 0xC001;
constexpr quint16 GroupEnd = 0xC002;

// The colours of every entry in file order with their names, groups
// flattened; the palette is named after the first group. A version other than 1.x, a block that
// runs past the end, an unknown colour model, a value that is not a number or a name that is not
// valid UTF-16 makes the whole content unreadable; the message gives the block and the byte at
// which it begins.
ExchangeReading Read(QByteArrayView content);

// One group named after the palette holding an RGB entry for each colour,
// with its own name (as exchangenames::ReadName makes it) or one that
// exchangenames makes, of colour type normal. Every colour reads back
// exactly.
QByteArray Write(const ExchangePalette& palette);

// The models' values to a screen colour. Every value is first clamped to its
// range; each channel, a fraction of 255, is rounded to the nearest whole
// number, ties to even.
//   RGB  red, green, blue from 0 to 1.
//   Gray one value from 0 (black) to 1 (white) for all three channels.
//   CMYK the plain device formula with no colour profile:
//        red = (1 - cyan) x (1 - black), and so on; printed colours differ.
//   LAB  lightness stored from 0 to 1 (L* / 100), a* and b* from -128 to 127,
//        relative to the D50 white as Adobe's applications keep Lab; converted
//        through CIE XYZ, adapted to D65 with the Bradford transform, into sRGB
//        with its transfer curve. Colours outside sRGB are clipped.
Color FromRgb(double red, double green, double blue);
Color FromGray(double gray);
Color FromCmyk(double cyan, double magenta, double yellow, double black);
Color FromLab(double lightness, double a, double b);

} // namespace swatchexchange
