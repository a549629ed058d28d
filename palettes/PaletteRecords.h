#pragma once

#include "app/FileResult.h"
#include "app/Progress.h"
#include "app/bascommon.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

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
// A palette file that is a symbolic link is never created through.
FileResult EnsureFileExists(const QString& path);

// Records a rewrite holds in memory at a time: rewrites stream the palette
// in blocks of this many records, whatever its size.
constexpr qint64 RecordsPerBlock = 1 << 17;

// Removes record `record` (from 1), keeping the others in order. The new
// content replaces the file through `path` + ".ctm"; a torn last record is
// dropped. `progress`, when given, is told the bytes read so far and may stop
// the work, which leaves the file as it was and gives FileResult::cancelled().
FileResult DeleteRecord(const QString& path, qint32 record, const Progress& progress = {});

// Keeps the first (oldest) occurrence of every record, comparing the 6 bytes
// exactly, in the original order. The new content replaces the file through
// `path` + ".tmp". `kept`, when given, receives the number of records left.
// Memory stays within a few tens of megabytes for any size: the records of
// hexadecimal digits (all that the program writes) are remembered in a
// bitset, the others, which only damage makes, in a set that is refused
// beyond MaxOtherRecords different ones. `progress` as for DeleteRecord.
constexpr qsizetype MaxOtherRecords = 1000000;
FileResult ClearDuplicates(const QString& path, qint32* kept = nullptr,
                           const Progress& progress = {});

// Empties the palette by deleting its file; the next display recreates it.
// A palette file that is a symbolic link is refused, not removed.
FileResult ClearAll(const QString& path);

// Removes what interrupted rewrites left in `dataFolder`: the temporary
// files of palettes ("*.rgb.tmp", "*.rgb.ctm"), of their names
// ("*.names.tmp") and of the index
// ("colorchart.cct"). No rewrite ever reads them, and one of a large palette
// is as large. A link of such a name is removed itself, never what it leads
// to; folders stay. Returns the names removed.
QStringList RemoveLeftoverTemporaryFiles(const QString& dataFolder);

// Every colour of the palette in file order, oldest first. A record that is
// not a colour fails the reading, naming the record, rather than being
// passed over or read as some other colour.
FileResult ReadColors(const QString& path, QList<Color>& colors);

// The records of `colors` in that order, as ColorToHtmlHex digits.
QByteArray RecordsOf(const QList<Color>& colors);

} // namespace paletterecords
