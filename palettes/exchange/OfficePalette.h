#pragma once

#include "palettes/exchange/ExchangePalette.h"

#include <QByteArray>
#include <QByteArrayView>

// LibreOffice and OpenOffice colour palettes (.soc): an XML document whose root
// element is color-table, in the office namespace of OpenOffice.org 1
// ("http://openoffice.org/2000/office", as office:color-table) or of
// OpenOffice.org 2 ("http://openoffice.org/2004/office", as ooo:color-table),
// holding one empty element per colour in the drawing namespace (OpenOffice.org
// 1's "http://openoffice.org/2000/drawing" or OpenDocument's
// "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"):
//   <draw:color draw:name="Chart 1" draw:color="#004586"/>
// draw:color is "#" and six hexadecimal digits, red first, in either case;
// draw:name is the colour's name. Comments may stand anywhere; the format
// gives the palette no name.
namespace officepalette {

// The colours in document order with their draw:name. Elements other than draw:color are passed
// over; a document that is not well-formed XML, a root other than
// color-table, or a colour without a six-digit draw:color makes the whole file
// unreadable, with the line and column of the fault.
ExchangeReading Read(QByteArrayView content);

// True when the first element of the XML is a color-table.
bool IsOfficePalette(QByteArrayView content);

// The palette as LibreOffice writes one, in the OpenDocument namespaces, each
// colour with its own name (characters that XML cannot hold replaced) or one
// that exchangenames makes, its value in lower case.
QByteArray Write(const ExchangePalette& palette);

} // namespace officepalette
