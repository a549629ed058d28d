#pragma once

#include "palettes/exchange/ExchangePalette.h"

#include <QByteArray>
#include <QByteArrayView>

// GIMP palette files (.gpl): a first line "GIMP Palette", optional "Name:" and
// "Columns:" lines, comment lines starting with "#", and one colour a line as
// three decimal numbers from 0 to 255 separated by spaces or tabs, optionally
// followed by the colour's name. Text is UTF-8; lines end in LF, CR LF or CR.
namespace gimppalette {

// The palette in the content with its colours' names (as ExchangeNames reads
// them, the spaces around them trimmed); the column count is not kept.
ExchangeReading Read(QByteArrayView content, ReadingProgress* progress = nullptr);

// The palette as GIMP writes one: LF lines, each colour with its own name
// (control characters as spaces, trimmed), or one that exchangenames makes.
QByteArray Write(const ExchangePalette& palette);

} // namespace gimppalette
