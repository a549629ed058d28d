#pragma once

#include "app/FileResult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The palette index "colorchart.cci": CR LF lines of 8-bit text, three lines
// per palette (file name, display name, kind), in display order. Every routine
// takes the data folder that holds the index.
namespace paletteindex {

QString IndexFileName();     // "colorchart.cci"
QString IndexTempFileName(); // "colorchart.cct", the index during a rewrite

struct Entry
{
    QString file;
    QString name;
    QString kind;
    // 1-based place of the entry in the index file. It can differ from the
    // place in the palette list when an entry before it was left out.
    qint32 position = 0;
};

struct Reading
{
    // The whole entries whose file name is a plain file name in the data folder.
    QList<Entry> entries;
    // The file name that the next new palette gets.
    QString nextFileName;
    // Empty for a sound index; otherwise one message, naming the index file,
    // that describes every problem found.
    QString problems;
};

// The lines of an index, split at CR LF, CR or LF, each without its ending.
QList<QByteArray> SplitLines(const QByteArray& content);

// True when a line is empty or holds only spaces (other white space counts).
bool IsBlankLine(const QByteArray& line);

// Removes the blank lines of the index, keeping every other line byte for byte
// (inner and outer spaces included) with a CR LF ending. The index is rewritten
// through "colorchart.cct" only when that changes its bytes.
FileResult Repair(const QString& dataFolder);

// Reads the entries, ignoring blank lines. Leaves the file untouched.
Reading Read(const QString& dataFolder);

// Removes the entry at 1-based `position` (1 or less: the first entry); the
// lines after it are kept as they are. Rewrites through "colorchart.cct".
FileResult DeleteEntry(const QString& dataFolder, qint32 position);

// Adds an entry after the last whole entry of the index. Line breaks in the
// name become spaces, so that the name stays on its own line.
FileResult AppendEntry(const QString& dataFolder, const QString& file, const QString& name,
                       const QString& kind);

// A name that addresses a file directly inside the data folder: not empty, no
// folder part, not "." or "..", and not the index itself.
bool IsPlainFileName(const QString& name);

// True for the kinds "0" and "1" (spaces around them allowed): the palettes
// that colours can be added to. Kind "2" is read-only.
bool AcceptsColors(const QString& kind);

// N of a file name "c" + N + ".rgb", the form of the palettes that users
// create; nothing for any other name.
std::optional<qint64> UserPaletteNumber(const QString& file);

// The file name of the next new palette: one past the number of the last
// file name when that has the "c" + N + ".rgb" form, otherwise one past the
// highest such number (c1.rgb when there is none); a name already among
// `files` is never chosen.
QString NextFileName(const QStringList& files);

} // namespace paletteindex
