#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include "app/bascommon.h"

// Whole-file reads and writes for the palette tests, which set up and inspect
// data files byte for byte, and palettes whose colours tell their records apart.
namespace palettetest {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write a test file");
    file.write(content);
}

// Record r of a numbered palette holds a colour that names r (and is never
// black or white), so a cell shows which record it stands for.
inline Color colourOfRecord(qint32 record)
{
    return bascommon::MakeColor(record & 255, (record >> 8) & 255, 7);
}

inline QByteArray numberedPalette(qint32 count)
{
    QByteArray content;
    for (qint32 r = 1; r <= count; ++r)
        content += bascommon::ColorToHtmlHex(colourOfRecord(r)).mid(1).toLatin1();
    return content;
}

} // namespace palettetest
