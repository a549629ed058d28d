#pragma once

#include "app/FileResult.h"
#include "app/bascommon.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// Palette files: headerless runs of 6-byte colour records (red, green, blue as
// two hexadecimal digits each), record 1 the oldest. Every routine takes the
// full path of the file; none keeps a file open between calls.
namespace paletterecords {

constexpr qint64 RecordLength = 6;
constexpr int CellsPerPage = 216;

// The colour a record stands for; nothing when a field is not two hexadecimal
// digits (either case).
std::optional<Color> ParseRecord(QByteArrayView record);

// Number of whole records: the file size divided by 6. A missing file is an
// empty palette.
qint32 CountRecords(const QString& path);

// Bytes after the last whole record, the rest of a record cut short: not a
// colour, and overwritten by the next append. 0 for a missing file.
qint64 TrailingBytes(const QString& path);

// Pages needed to show `colorCount` records; at least 1.
qint32 PageCountFor(qint32 colorCount);

// The record that cell `cell` (0 to 215) of page `page` (from 1) stands for,
// newest first: colorCount - (page - 1) * 216 - cell. Below 1 when the cell is
// empty.
qint32 RecordForCell(qint32 colorCount, qint32 page, int cell);

struct PageCell
{
    enum class Kind { Empty, Colour, Unreadable };
    Kind kind = Kind::Empty;
    // White unless the cell holds a readable record.
    Color color = bascommon::White;
    // The record's own bytes, for an unreadable one.
    QByteArray raw;
};
using PageCells = std::array<PageCell, CellsPerPage>;

// Fills `cells` with page `page` of a palette of `colorCount` records, reading
// only that page's records with one seek and one read. Cells whose record lies
// outside 1..colorCount, or beyond the end of a file that has shrunk, are empty.
FileResult ReadPage(const QString& path, qint32 colorCount, qint32 page, PageCells& cells);

// Creates an empty palette file when none exists; an existing one is untouched.
FileResult EnsureFileExists(const QString& path);

// Removes record `record` (from 1), keeping the others in order. The new
// content replaces the file through `path` + ".ctm".
FileResult DeleteRecord(const QString& path, qint32 record);

// Keeps the first (oldest) occurrence of every record, comparing the 6 bytes
// exactly, in the original order. The new content replaces the file through
// `path` + ".tmp". `kept`, when given, receives the number of records left.
FileResult ClearDuplicates(const QString& path, qint32* kept = nullptr);

// Empties the palette by deleting its file; the next display recreates it.
FileResult ClearAll(const QString& path);

// Every colour of the palette in file order, oldest first. A record that is
// not a colour fails the reading, naming the record, rather than being
// passed over or read as some other colour.
FileResult ReadColors(const QString& path, QList<Color>& colors);

// The records of `colors` in that order, as ColorToHtmlHex digits.
QByteArray RecordsOf(const QList<Color>& colors);

} // namespace paletterecords
