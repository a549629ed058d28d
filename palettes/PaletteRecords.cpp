#include "palettes/PaletteRecords.h"

#include "app/SafeRewrite.h"
#include "palettes/PaletteFileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <limits>

namespace paletterecords {

namespace {

const QString FolderInTheWay = QStringLiteral("a folder has that name");

int hexDigitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

qint32 clampToInt32(qint64 value)
{
    return static_cast<qint32>(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

// The whole records of a palette file. A torn record at the end (an append
// cut short) is not a colour.
FileResult readWholeRecords(const QString& path, const QString& action,
                            palettefiles::WhenMissing missing, QByteArray& content)
{
    const FileResult read = palettefiles::ReadWholeFile(path, action, missing, content);
    content.truncate(content.size() - content.size() % RecordLength);
    return read;
}

quint64 recordKey(const char* bytes)
{
    quint64 key = 0;
    for (qint64 i = 0; i < RecordLength; ++i)
        key = (key << 8) | static_cast<unsigned char>(bytes[i]);
    return key;
}

} // namespace

std::optional<Color> ParseRecord(QByteArrayView record)
{
    if (record.size() != RecordLength)
        return std::nullopt;
    int channels[3];
    for (int field = 0; field < 3; ++field) {
        const int high = hexDigitValue(record[field * 2]);
        const int low = hexDigitValue(record[field * 2 + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[field] = high * 16 + low;
    }
    return bascommon::MakeColor(channels[0], channels[1], channels[2]);
}

qint32 CountRecords(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return 0;
    return clampToInt32(info.size() / RecordLength);
}

qint64 TrailingBytes(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() % RecordLength : 0;
}

qint32 PageCountFor(qint32 colorCount)
{
    return colorCount <= 0 ? 1 : (colorCount - 1) / CellsPerPage + 1;
}

qint32 RecordForCell(qint32 colorCount, qint32 page, int cell)
{
    return clampToInt32(qint64(colorCount) - (qint64(page) - 1) * CellsPerPage - cell);
}

FileResult ReadPage(const QString& path, qint32 colorCount, qint32 page, PageCells& cells)
{
    cells.fill(PageCell{});
    // Cell j stands for record `newest` - j; only records 1..colorCount exist.
    const qint64 newest = qint64(colorCount) - (qint64(page) - 1) * CellsPerPage;
    const qint64 highest = std::min<qint64>(newest, colorCount);
    const qint64 lowest = std::max<qint64>(newest - (CellsPerPage - 1), 1);
    if (highest < lowest)
        return FileResult::success();

    const QString action = QStringLiteral("read the palette");
    if (QFileInfo(path).isDir())
        return FileResult::failure(describeFileError(action, path, FolderInTheWay));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    if (!file.seek((lowest - 1) * RecordLength))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    const QByteArray bytes = file.read((highest - lowest + 1) * RecordLength);

    for (qint64 record = lowest; record <= highest; ++record) {
        const qint64 offset = (record - lowest) * RecordLength;
        if (offset + RecordLength > bytes.size())
            break;
        PageCell& cell = cells[static_cast<std::size_t>(newest - record)];
        const QByteArrayView raw(bytes.constData() + offset, RecordLength);
        if (const std::optional<Color> color = ParseRecord(raw)) {
            cell.kind = PageCell::Kind::Colour;
            cell.color = *color;
        } else {
            cell.kind = PageCell::Kind::Unreadable;
            cell.raw = raw.toByteArray();
        }
    }
    return FileResult::success();
}

FileResult EnsureFileExists(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile())
        return FileResult::success();
    const QString action = QStringLiteral("create the palette");
    if (info.isDir())
        return FileResult::failure(describeFileError(action, path, FolderInTheWay));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
}

FileResult DeleteRecord(const QString& path, qint32 record)
{
    const QString action = QStringLiteral("delete the colour from");
    QByteArray content;
    // A colour was chosen from this file: if the file has gone since, saying
    // so is clearer than saying that the colour has.
    if (FileResult read = readWholeRecords(path, action, palettefiles::WhenMissing::Fail, content);
        !read)
        return read;
    if (record < 1 || record > content.size() / RecordLength)
        return FileResult::failure(describeFileError(
            action, path, QStringLiteral("the palette no longer holds that colour")));
    content.remove((record - 1) * RecordLength, RecordLength);
    return replaceFileContents(path, path + QStringLiteral(".ctm"), content);
}

FileResult ClearDuplicates(const QString& path, qint32* kept)
{
    QByteArray content;
    if (FileResult read = readWholeRecords(path, QStringLiteral("clear duplicate colours in"),
                                           palettefiles::WhenMissing::ReadAsEmpty, content);
        !read)
        return read;
    const qint64 count = content.size() / RecordLength;
    QSet<quint64> seen;
    seen.reserve(count);
    QByteArray unique;
    unique.reserve(content.size());
    for (qint64 offset = 0; offset < content.size(); offset += RecordLength) {
        const char* bytes = content.constData() + offset;
        const qsizetype before = seen.size();
        seen.insert(recordKey(bytes));
        if (seen.size() != before)
            unique.append(bytes, RecordLength);
    }
    if (kept)
        *kept = clampToInt32(unique.size() / RecordLength);
    return replaceFileContents(path, path + QStringLiteral(".tmp"), unique);
}

FileResult ClearAll(const QString& path)
{
    const QFileInfo info(path);
    const QString action = QStringLiteral("clear the palette");
    if (info.isDir())
        return FileResult::failure(describeFileError(action, path, FolderInTheWay));
    if (!info.exists())
        return FileResult::success();
    QFile file(path);
    if (!file.remove())
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
}

FileResult ReadColors(const QString& path, QList<Color>& colors)
{
    colors.clear();
    const QString action = QStringLiteral("read the colors of");
    QByteArray content;
    if (FileResult read = readWholeRecords(path, action, palettefiles::WhenMissing::ReadAsEmpty, content); !read)
        return read;
    colors.reserve(content.size() / RecordLength);
    for (qsizetype offset = 0; offset < content.size(); offset += RecordLength) {
        const QByteArrayView raw(content.constData() + offset, RecordLength);
        const std::optional<Color> color = ParseRecord(raw);
        if (!color) {
            colors.clear();
            return FileResult::failure(
                describeFileError(action, path,
                                  QStringLiteral("record %1 holds \"%2\", which is not a color")
                                      .arg(offset / RecordLength + 1)
                                      .arg(QString::fromLatin1(raw.toByteArray()))));
        }
        colors.append(*color);
    }
    return FileResult::success();
}

QByteArray RecordsOf(const QList<Color>& colors)
{
    QByteArray content;
    content.reserve(colors.size() * RecordLength);
    for (const Color color : colors)
        content += bascommon::ColorToHtmlHex(color).mid(1).toLatin1();
    return content;
}

} // namespace paletterecords
