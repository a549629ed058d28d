#pragma once

#include "app/Progress.h"
#include "app/bascommon.h"

#include <QList>
#include <QString>
#include <QStringList>

// A palette as the exchange formats carry it: a name and colours in file
// order, oldest first, as the palette files of the program hold them.
struct ExchangePalette
{
    // Empty when the file names none.
    QString name;
    QList<Color> colors;
    // The colours' names, position by position: either empty (the palette
    // names no colour) or as long as `colors`, with an empty text where a
    // colour has no name. Single lines, as the file gives them once its own
    // escapes are undone.
    QStringList names;

    // The name of the colour at `index`; empty when it has none.
    QString nameAt(qsizetype index) const
    {
        return index < names.size() ? names.at(index) : QString();
    }

    bool operator==(const ExchangePalette&) const = default;
};

// What reading the content of an exchange file gave: the palette, or a
// sentence saying why the content is not one.
struct ExchangeReading
{
    ExchangePalette palette;
    QString problem;
    // The user stopped the reading; there is nothing to tell.
    bool stopped = false;

    bool ok() const { return problem.isEmpty() && !stopped; }
    static ExchangeReading failure(QString why)
    {
        ExchangeReading reading;
        reading.problem = std::move(why);
        return reading;
    }
    static ExchangeReading stoppedByUser()
    {
        ExchangeReading reading;
        reading.stopped = true;
        return reading;
    }
};

// How a reader tells a Progress where it is: every so many steps only, so
// that the check costs nothing in its inner loop. Once the Progress answers
// false, stopped() stays true and the reader gives up.
class ReadingProgress
{
public:
    ReadingProgress() = default;
    ReadingProgress(const Progress& progress, qint64 total) : m_progress(progress), m_total(total)
    {
    }

    // Whether to go on; `done` counts bytes of the content, as `total` does.
    bool step(qint64 done)
    {
        if (!m_progress || m_stopped || (++m_steps & 0xFFFF) != 0)
            return !m_stopped;
        m_stopped = !m_progress(done, m_total);
        return !m_stopped;
    }
    bool stopped() const { return m_stopped; }

private:
    Progress m_progress;
    qint64 m_total = 0;
    quint32 m_steps = 0;
    bool m_stopped = false;
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
