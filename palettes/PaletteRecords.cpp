#include "palettes/PaletteRecords.h"

#include "app/DataFileAccess.h"
#include "app/DataFolderAccess.h"
#include "app/SafeRewrite.h"
#include "palettes/PaletteFileAccess.h"

#include <QFile>
#include <QSet>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <array>
#include <cstring>
#include <cstdlib>
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

DataFolderAccess::Status statusOf(const QString& path)
{
    return DataFolderAccess(DataFolderAccess::folderOf(path))
        .status(DataFolderAccess::nameOf(path));
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
    const DataFolderAccess::Status status = statusOf(path);
    if (status.kind != DataFolderAccess::Kind::File)
        return 0;
    return clampToInt32(status.size / RecordLength);
}

qint64 TrailingBytes(const QString& path)
{
    const DataFolderAccess::Status status = statusOf(path);
    return status.kind == DataFolderAccess::Kind::File ? status.size % RecordLength : 0;
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
    QFile file;
    if (FileResult opened =
            DataFolderAccess(DataFolderAccess::folderOf(path))
                .open(file, DataFolderAccess::nameOf(path), DataFolderAccess::Access::Read, action);
        !opened)
        return opened;
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
    const DataFolderAccess::Kind kind = statusOf(path).kind;
    if (kind == DataFolderAccess::Kind::File)
        return FileResult::success();
    // Something else under the name (a pipe, a folder, a link) is refused by
    // the opening, and the message says what was tried on it.
    QFile file;
    return datafiles::OpenForWriting(file, path,
                                     kind == DataFolderAccess::Kind::Missing
                                         ? QStringLiteral("create the palette")
                                         : QStringLiteral("open the palette"));
}

namespace {

enum class Verdict { Keep, Drop, Stop };

// Streams the whole records of a palette file into a staged replacement,
// block by block, letting `judge` keep each record, drop it or stop the
// rewrite (which then leaves the file as it was, as a cancel does).
class RecordStream
{
public:
    RecordStream(const QString& path, const QString& tempPath, const QString& action)
        : m_path(path), m_action(action), m_staged(path, tempPath, action)
    {
    }

    // Opens the palette for reading and the staged file for writing. A
    // missing palette counts as empty unless `missingFails`.
    FileResult open(bool missingFails)
    {
        if (FileResult link = datafiles::RefuseLink(m_path, m_action); !link)
            return link;
        const DataFolderAccess folder(DataFolderAccess::folderOf(m_path));
        const QString name = DataFolderAccess::nameOf(m_path);
        const DataFolderAccess::Kind kind = folder.status(name).kind;
        if (kind == DataFolderAccess::Kind::Folder)
            return FileResult::failure(describeFileError(m_action, m_path, FolderInTheWay));
        if (kind != DataFolderAccess::Kind::Missing) {
            if (FileResult opened =
                    folder.open(m_source, name, DataFolderAccess::Access::Read, m_action);
                !opened)
                return opened;
            m_records = m_source.size() / RecordLength;
        } else if (missingFails) {
            return FileResult::failure(
                describeFileError(m_action, m_path, QStringLiteral("the file no longer exists")));
        }
        return FileResult::success();
    }

    qint64 records() const { return m_records; }

    // Runs `judge`(bytes, record number) over every whole record in order.
    template <typename Judge> FileResult run(const Progress& progress, Judge&& judge)
    {
        if (FileResult opened = m_staged.open(); !opened)
            return opened;
        const qint64 total = m_records * RecordLength;
        QByteArray block;
        qint64 record = 1;
        while (record <= m_records) {
            const qint64 wanted = qMin(RecordsPerBlock, m_records - record + 1) * RecordLength;
            block.resize(wanted);
            char* bytes = block.data();
            const qint64 at = (record - 1) * RecordLength;
            qint64 got = wanted;
            if (isHole(at, wanted))
                std::memset(bytes, 0, std::size_t(wanted));
            else if (!m_source.seek(at))
                got = -1;
            else
                got = m_source.read(bytes, wanted);
            if (got != wanted)
                return failure(m_source.error() != QFileDevice::NoError
                                   ? m_source.errorString()
                                   : QStringLiteral("the file became shorter while it was read"));
            // The kept records close up in place, a run at a time, so that a
            // block of kept records is written as it was read.
            qint64 kept = 0;
            qint64 runStart = 0;
            auto closeRun = [&](qint64 runEnd) {
                if (runStart != kept)
                    std::memmove(bytes + kept, bytes + runStart, std::size_t(runEnd - runStart));
                kept += runEnd - runStart;
            };
            for (qint64 offset = 0; offset < got; offset += RecordLength, ++record) {
                const Verdict verdict = judge(bytes + offset, record);
                if (verdict == Verdict::Stop) {
                    m_staged.discard();
                    return FileResult::cancelled();
                }
                if (verdict == Verdict::Drop) {
                    closeRun(offset);
                    runStart = offset + RecordLength;
                }
            }
            closeRun(got);
            if (FileResult written = m_staged.write(QByteArrayView(bytes, kept)); !written)
                return written;
            m_kept += kept / RecordLength;
            if (progress && !progress((record - 1) * RecordLength, total)) {
                m_staged.discard();
                return FileResult::cancelled();
            }
        }
        return m_staged.commit();
    }

    qint64 kept() const { return m_kept; }

private:
    // True when the file holds no data from `at` for `length` bytes (a hole
    // of a sparse file): such a block is known to be zeros without reading
    // it, which some file systems do at a fraction of their usual speed.
    bool isHole(qint64 at, qint64 length)
    {
#if defined(Q_OS_UNIX) && defined(SEEK_DATA)
        const off_t data = ::lseek(m_source.handle(), off_t(at), SEEK_DATA);
        if (data < 0)
            return errno == ENXIO;
        return qint64(data) >= at + length;
#else
        Q_UNUSED(at);
        Q_UNUSED(length);
        return false;
#endif
    }

    FileResult failure(const QString& reason)
    {
        m_staged.discard();
        return FileResult::failure(describeFileError(m_action, m_path, reason));
    }

    QString m_path;
    QString m_action;
    QFile m_source;
    StagedReplacement m_staged;
    qint64 m_records = 0;
    qint64 m_kept = 0;
};

// Each of the 22 characters a hexadecimal record can hold (both cases)
// numbered from 0, or -1: a table, since every record of a large palette
// passes through it six times.
struct HexSymbols
{
    std::array<qint8, 256> of{};
    HexSymbols()
    {
        for (int c = 0; c < 256; ++c) {
            const int value = hexDigitValue(char(c));
            of[std::size_t(c)] = qint8(value < 10 || c < 'a' ? value : value + 6);
        }
    }
};
const HexSymbols hexSymbols;

// The records already met: one bit for each of the 22^6 records of
// hexadecimal characters (14 MB, taken from the system zeroed, so that pages
// never touched cost nothing), a set for the others.
class SeenRecords
{
public:
    static constexpr quint64 HexRecords = 22ull * 22 * 22 * 22 * 22 * 22;

    SeenRecords() : m_bits(static_cast<quint64*>(std::calloc((HexRecords + 63) / 64, 8))) {}
    ~SeenRecords() { std::free(m_bits); }
    SeenRecords(const SeenRecords&) = delete;
    SeenRecords& operator=(const SeenRecords&) = delete;

    bool valid() const { return m_bits != nullptr; }
    qsizetype otherCount() const { return m_others.size(); }

    // True when the record was not met before; it is met from now on.
    bool firstMeeting(const char* bytes)
    {
        quint64 index = 0;
        for (qint64 i = 0; i < RecordLength; ++i) {
            const int symbol = hexSymbols.of[static_cast<unsigned char>(bytes[i])];
            if (symbol < 0) {
                const qsizetype before = m_others.size();
                m_others.insert(recordKey(bytes));
                return m_others.size() != before;
            }
            index = index * 22 + quint64(symbol);
        }
        quint64& word = m_bits[index / 64];
        const quint64 bit = quint64(1) << (index % 64);
        if (word & bit)
            return false;
        word |= bit;
        return true;
    }

private:
    quint64* m_bits;
    QSet<quint64> m_others;
};

} // namespace

FileResult DeleteRecord(const QString& path, qint32 record, const Progress& progress)
{
    const QString action = QStringLiteral("delete the colour from");
    RecordStream stream(path, path + QStringLiteral(".ctm"), action);
    // A colour was chosen from this file: if the file has gone since, saying
    // so is clearer than saying that the colour has.
    if (FileResult opened = stream.open(true); !opened)
        return opened;
    if (record < 1 || record > stream.records())
        return FileResult::failure(describeFileError(
            action, path, QStringLiteral("the palette no longer holds that colour")));
    return stream.run(progress, [record](const char*, qint64 number) {
        return number == record ? Verdict::Drop : Verdict::Keep;
    });
}

FileResult ClearDuplicates(const QString& path, qint32* kept, const Progress& progress)
{
    const QString action = QStringLiteral("clear duplicate colours in");
    RecordStream stream(path, path + QStringLiteral(".tmp"), action);
    if (FileResult opened = stream.open(false); !opened)
        return opened;
    SeenRecords seen;
    if (!seen.valid())
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("there is not enough memory")));
    bool tooManyOthers = false;
    const FileResult result = stream.run(progress, [&](const char* bytes, qint64) {
        const bool first = seen.firstMeeting(bytes);
        if (seen.otherCount() > MaxOtherRecords) {
            tooManyOthers = true;
            return Verdict::Stop;
        }
        return first ? Verdict::Keep : Verdict::Drop;
    });
    if (tooManyOthers) {
        return FileResult::failure(describeFileError(
            action, path,
            QStringLiteral("it holds more than %1 different records that are not colours, more "
                           "than the program can compare; nothing was changed")
                .arg(MaxOtherRecords)));
    }
    if (result && kept)
        *kept = clampToInt32(stream.kept());
    return result;
}

FileResult ClearAll(const QString& path)
{
    return datafiles::RemoveFile(path, QStringLiteral("clear the palette"));
}

QStringList RemoveLeftoverTemporaryFiles(const QString& dataFolder)
{
    QStringList removed;
    const DataFolderAccess folder(dataFolder);
    for (const DataFolderAccess::Listed& listed : folder.list()) {
        // A link goes itself; what it leads to is never touched.
        if (listed.kind == DataFolderAccess::Kind::Folder)
            continue;
        const QString& name = listed.name;
        if (!name.endsWith(QLatin1String(".rgb.tmp"), Qt::CaseInsensitive) &&
            !name.endsWith(QLatin1String(".rgb.ctm"), Qt::CaseInsensitive) &&
            !name.endsWith(QLatin1String(".names.tmp"), Qt::CaseInsensitive) &&
            name.compare(QLatin1String("colorchart.cct"), Qt::CaseInsensitive) != 0)
            continue;
        if (folder.removeAll(name, QStringLiteral("remove")) &&
            folder.status(name).kind == DataFolderAccess::Kind::Missing)
            removed.append(name);
    }
    return removed;
}

FileResult ReadColors(const QString& path, QList<Color>& colors)
{
    colors.clear();
    const QString action = QStringLiteral("read the colors of");
    QByteArray content;
    if (FileResult read =
            readWholeRecords(path, action, palettefiles::WhenMissing::ReadAsEmpty, content);
        !read)
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
