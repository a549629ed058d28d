#include "palettes/PaletteNames.h"

#include "app/DataFolderAccess.h"
#include "palettes/PaletteRecords.h"

#include <QFile>
#include <QHash>

namespace {

using paletterecords::RecordLength;

qint32 recordCountOf(QByteArrayView records)
{
    return qint32(records.size() / RecordLength);
}

std::optional<Color> colorOfRecord(QByteArrayView records, qint32 record)
{
    return paletterecords::ParseRecord(
        records.sliced((qsizetype(record) - 1) * RecordLength, RecordLength));
}

quint64 namesRecordKey(QByteArrayView records, qint32 record)
{
    quint64 key = 0;
    const char* bytes = records.data() + (qsizetype(record) - 1) * RecordLength;
    for (qint64 i = 0; i < RecordLength; ++i)
        key = (key << 8) | static_cast<unsigned char>(bytes[i]);
    return key;
}

bool isLineBreakLike(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x85 ||
           c == 0x2028 || c == 0x2029;
}

} // namespace

QString PaletteNames::fileFor(const QString& paletteFile)
{
    QString base = paletteFile;
    if (base.endsWith(QLatin1String(".rgb"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".names");
}

QString PaletteNames::temporaryFor(const QString& paletteFile)
{
    return fileFor(paletteFile) + QStringLiteral(".tmp");
}

QString PaletteNames::cleaned(const QString& name)
{
    QString line;
    line.reserve(qMin<qsizetype>(name.size(), MaxNameLength + 1));
    for (const QChar c : name) {
        if (isLineBreakLike(c.unicode()))
            line.append(QLatin1Char(' '));
        else if (c.category() != QChar::Other_Control)
            line.append(c);
    }
    line = line.trimmed();
    if (line.size() > MaxNameLength) {
        qsizetype cut = MaxNameLength;
        if (line.at(cut - 1).isHighSurrogate())
            --cut;
        line.truncate(cut);
        line = line.trimmed();
    }
    return line;
}

PaletteNames PaletteNames::paired(QByteArrayView lines, QByteArrayView records)
{
    PaletteNames names;
    struct Line
    {
        Color color;
        QString name;
    };
    QList<Line> wanted;
    qsizetype at = 0;
    while (at < lines.size()) {
        qsizetype end = lines.indexOf('\n', at);
        if (end < 0)
            end = lines.size();
        QByteArrayView line = lines.sliced(at, end - at);
        at = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() < RecordLength + 1 || line[RecordLength] != '\t')
            continue;
        const std::optional<Color> color = paletterecords::ParseRecord(line.first(RecordLength));
        if (!color)
            continue;
        QString name = cleaned(QString::fromUtf8(
            line.sliced(RecordLength + 1)
                .first(qMin<qsizetype>(line.size() - RecordLength - 1, MaxNameLength * 4 + 4))));
        if (!name.isEmpty())
            wanted.append(Line{*color, std::move(name)});
    }
    if (wanted.isEmpty())
        return names;

    // Each line pairs with the first record of its colour after the one the
    // line before it paired with, or with nothing when its colour does not
    // come again. Knowing where each named colour stands last (found from
    // the end, so usually at once), one forward pass pairs them all, holding
    // nothing per record: a palette can hold hundreds of millions.
    const qint32 count = recordCountOf(records);
    QHash<Color, qint32> lastPlace;
    for (const Line& line : wanted)
        lastPlace.insert(line.color, 0);
    qsizetype unplaced = lastPlace.size();
    for (qint32 record = count; record >= 1 && unplaced > 0; --record)
        if (const std::optional<Color> color = colorOfRecord(records, record))
            if (const auto found = lastPlace.find(*color);
                found != lastPlace.end() && *found == 0) {
                *found = record;
                --unplaced;
            }
    qint32 last = 0;
    for (Line& line : wanted) {
        if (lastPlace.value(line.color) <= last)
            continue;
        do
            ++last;
        while (colorOfRecord(records, last) != line.color);
        names.m_named.insert(last, Named{line.color, std::move(line.name)});
    }
    return names;
}

PaletteNames PaletteNames::fromList(QByteArrayView records, const QStringList& list)
{
    PaletteNames names;
    const qint32 count = qint32(qMin<qsizetype>(recordCountOf(records), list.size()));
    for (qint32 record = 1; record <= count; ++record) {
        const QString name = cleaned(list.at(record - 1));
        if (name.isEmpty())
            continue;
        if (const std::optional<Color> color = colorOfRecord(records, record))
            names.m_named.insert(record, Named{*color, name});
    }
    names.shareCopies(records);
    return names;
}

QByteArray PaletteNames::content() const
{
    QByteArray lines;
    for (const Named& named : m_named) {
        lines += bascommon::ColorToHtmlHex(named.color).mid(1).toLatin1();
        lines += '\t';
        lines += named.name.toUtf8();
        lines += '\n';
    }
    return lines;
}

QString PaletteNames::nameOf(qint32 record) const
{
    return m_named.value(record).name;
}

QStringList PaletteNames::list(qint32 count) const
{
    QStringList names;
    names.reserve(qMax(count, 0));
    for (qint32 record = 1; record <= count; ++record)
        names.append(nameOf(record));
    return names;
}

bool PaletteNames::rename(qint32 record, const QString& name, QByteArrayView records)
{
    if (record < 1 || record > recordCountOf(records))
        return false;
    const std::optional<Color> color = colorOfRecord(records, record);
    if (!color)
        return false;
    const QString line = cleaned(name);
    if (line.isEmpty())
        m_named.remove(record);
    else
        m_named.insert(record, Named{*color, line});
    shareCopies(records);
    return true;
}

void PaletteNames::recordDeleted(qint32 record, QByteArrayView records)
{
    if (record < 1 || record > recordCountOf(records))
        return;
    QMap<qint32, Named> moved;
    for (auto it = m_named.cbegin(); it != m_named.cend(); ++it) {
        if (it.key() < record)
            moved.insert(it.key(), it.value());
        else if (it.key() > record)
            moved.insert(it.key() - 1, it.value());
    }
    m_named = moved;
    QByteArray rest = records.first(recordCountOf(records) * RecordLength).toByteArray();
    rest.remove((qsizetype(record) - 1) * RecordLength, RecordLength);
    shareCopies(rest);
}

void PaletteNames::duplicatesCleared(QByteArrayView records)
{
    const qint32 count = recordCountOf(records);
    QHash<quint64, qint32> keptAs;
    QByteArray kept;
    QMap<qint32, Named> moved;
    for (qint32 record = 1; record <= count; ++record) {
        const quint64 key = namesRecordKey(records, record);
        auto found = keptAs.constFind(key);
        if (found == keptAs.constEnd()) {
            found = keptAs.insert(key, qint32(keptAs.size() + 1));
            kept.append(records.sliced((qsizetype(record) - 1) * RecordLength, RecordLength));
        }
        const auto named = m_named.constFind(record);
        if (named != m_named.constEnd() && !moved.contains(*found))
            moved.insert(*found, *named);
    }
    m_named = moved;
    shareCopies(kept);
}

void PaletteNames::shareCopies(QByteArrayView records)
{
    if (m_named.isEmpty())
        return;
    const qint32 count = recordCountOf(records);
    // Drop what no longer fits the records: a name past their end or on
    // another colour.
    for (auto it = m_named.begin(); it != m_named.end();) {
        if (it.key() > count || colorOfRecord(records, it.key()) != it->color)
            it = m_named.erase(it);
        else
            ++it;
    }
    // The unnamed records since the last named one, by colour.
    QHash<Color, QList<qint32>> since;
    QList<std::pair<qint32, Named>> shares;
    auto named = m_named.cbegin();
    for (qint32 record = 1; record <= count && named != m_named.cend(); ++record) {
        if (named.key() == record) {
            if (const auto copies = since.constFind(named->color); copies != since.constEnd())
                for (const qint32 copy : *copies)
                    shares.append({copy, *named});
            since.clear();
            ++named;
            continue;
        }
        if (const std::optional<Color> color = colorOfRecord(records, record))
            since[*color].append(record);
    }
    for (const auto& [record, share] : shares)
        m_named.insert(record, share);
}

FileResult PaletteNames::read(const QString& dataFolder, const QString& paletteFile,
                              PaletteNames& names)
{
    names = PaletteNames();
    const DataFolderAccess access(dataFolder);
    const QString file = fileFor(paletteFile);
    const QString action = QStringLiteral("read the color names in");
    const DataFolderAccess::Status status = access.status(file);
    if (status.kind == DataFolderAccess::Kind::Missing)
        return FileResult::success();
    if (status.kind == DataFolderAccess::Kind::File && status.size > MaxFileBytes)
        return FileResult::failure(describeFileError(
            action, access.pathOf(file),
            QStringLiteral("at %1 bytes it is larger than a names file can be (%2 MiB)")
                .arg(status.size)
                .arg(MaxFileBytes / (1024 * 1024))));
    QFile source;
    if (FileResult opened = access.open(source, file, DataFolderAccess::Access::Read, action);
        !opened)
        return opened;
    const QByteArray lines = source.read(MaxFileBytes);
    if (source.error() != QFileDevice::NoError)
        return FileResult::failure(
            describeFileError(action, access.pathOf(file), source.errorString()));
    // Mapped: a palette can be far larger than the memory its names need.
    QFile palette;
    QByteArray records;
    if (access.status(paletteFile).kind != DataFolderAccess::Kind::Missing)
        if (FileResult read = access.mapContent(palette, paletteFile,
                                                QStringLiteral("read the colors of"), records);
            !read)
            return read;
    names = paired(lines, records);
    return FileResult::success();
}

FileResult PaletteNames::write(const QString& dataFolder, const QString& paletteFile,
                               const PaletteNames& names)
{
    if (names.isEmpty())
        return remove(dataFolder, paletteFile);
    const DataFolderAccess access(dataFolder);
    return access.replace(fileFor(paletteFile), temporaryFor(paletteFile), names.content(),
                          QStringLiteral("save the color names in"));
}

FileResult PaletteNames::remove(const QString& dataFolder, const QString& paletteFile)
{
    return DataFolderAccess(dataFolder)
        .removeFile(fileFor(paletteFile), QStringLiteral("remove the color names in"));
}
