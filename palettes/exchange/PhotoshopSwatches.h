#pragma once

#include "palettes/exchange/ExchangePalette.h"

#include <QByteArray>
#include <QByteArrayView>

// Adobe Photoshop colour swatches (.aco). All numbers are big-endian; a file
// holds a version 1 section, optionally followed by a version 2 section that
// repeats the same colours with names (Photoshop 7 and later write both and
// read the second):
//   section  version (16 bits: 1 or 2), colour count (16 bits), the colours
//   colour   colour space (16 bits), four 16-bit values w, x, y, z; in version
//            2 followed by the name: a 32-bit count of UTF-16 code units that
//            includes a closing 0, then the units (UTF-16BE), the 0 included
// Colour spaces and their values:
//   0 RGB        w, x, y red, green, blue from 0 to 65535
//   1 HSB        w hue from 0 to 65535 for 0 to 360 degrees, x saturation and
//                y brightness from 0 to 65535
//   2 CMYK       w, x, y, z cyan, magenta, yellow, black, with 0 for full ink
//                and 65535 for none
//   7 Lab        w L* from 0 to 10000 (hundredths), x a* and y b* signed from
//                -12800 to 12700 (hundredths), relative to the D50 white
//   8 Grayscale  w the amount of black from 0 (white) to 10000 (black), as
//                Photoshop's "N% Gray" swatches hold N x 100
// Other spaces (3 Pantone, 4 Focoltone, 5 Trumatch, 6 Toyo, 9 wide CMYK,
// 10 HKS) name a colour of a printed colour book by number: without the book
// they give no colour.
namespace photoshopswatches {

// Colours in file order from the version 2 section where there is one, else
// from the version 1 section, with the names of version 2; no palette name
// (the format has none). The
// conversions to the screen:
//   RGB and HSB    each value over 65535 (HSB through the HSV conversion of
//                  sRGB); each channel rounded to the nearest of 255 steps,
//                  ties to even
//   CMYK           the plain device formula with no colour profile, as for
//                  swatch exchange files
//   Lab            CIE Lab (D50) through XYZ and the Bradford adaptation into
//                  sRGB, clipped to it
//   Grayscale      one minus the black, for all three channels
// Values past a space's range are clamped to it. A truncated section, a count
// that the bytes cannot hold, a book colour, an unknown colour space or a name
// that is not valid UTF-16 makes the whole file unreadable; the message gives
// the byte offset.
ExchangeReading Read(QByteArrayView content);

// Both sections, each colour an RGB entry (channel x 257, so that it reads back
// exactly) named in version 2 with its own name (as exchangenames::ReadName
// makes it) or one that exchangenames makes. At most MaxColors colours.
QByteArray Write(const ExchangePalette& palette);
constexpr qsizetype MaxColors = 0xFFFF;

} // namespace photoshopswatches
