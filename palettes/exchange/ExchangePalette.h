#pragma once

#include "app/bascommon.h"

#include <QList>
#include <QString>

// A palette as the exchange formats carry it: a name and colours in file
// order, oldest first, as the palette files of the program hold them.
struct ExchangePalette
{
    // Empty when the file names none.
    QString name;
    QList<Color> colors;

    bool operator==(const ExchangePalette&) const = default;
};

// What reading the content of an exchange file gave: the palette, or a
// sentence saying why the content is not one.
struct ExchangeReading
{
    ExchangePalette palette;
    QString problem;

    bool ok() const { return problem.isEmpty(); }
    static ExchangeReading failure(QString why)
    {
        ExchangeReading reading;
        reading.problem = std::move(why);
        return reading;
    }
};

namespace paletteexchange {

// Bounds on what a file may ask of the program, so that a damaged or hostile
// file cannot exhaust memory: larger files are refused before they are read.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
constexpr qsizetype MaxColors = 1000000;

// What every reader says of a file with more colours than that.
inline QString TooManyColors()
{
    return QStringLiteral("it holds more than %1 colors, more than a palette can take")
        .arg(MaxColors);
}

} // namespace paletteexchange
