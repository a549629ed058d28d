#include "palettes/PaletteIndex.h"

#include "app/SafeRewrite.h"
#include "app/TextEncoding.h"
#include "app/bascommon.h"
#include "palettes/PaletteFileAccess.h"

#include <QDir>
#include <QFile>

namespace paletteindex {

namespace {

constexpr int LinesPerEntry = 3;
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

QString indexPath(const QString& dataFolder)
{
    return bascommon::DataFilePath(dataFolder, IndexFileName());
}

QString tempPath(const QString& dataFolder)
{
    return bascommon::DataFilePath(dataFolder, IndexTempFileName());
}

FileResult readIndex(const QString& path, const QString& action, QByteArray& content)
{
    return palettefiles::ReadWholeFile(path, action, palettefiles::WhenMissing::Fail, content);
}

QList<QByteArray> nonBlankLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    for (const QByteArray& line : SplitLines(content))
        if (!IsBlankLine(line))
            lines.append(line);
    return lines;
}

QByteArray joinLines(const QList<QByteArray>& lines)
{
    QByteArray content;
    for (const QByteArray& line : lines)
        content += line + LineEnd;
    return content;
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString IndexFileName()
{
    return QStringLiteral("colorchart.cci");
}
QString IndexTempFileName()
{
    return QStringLiteral("colorchart.cct");
}

QList<QByteArray> SplitLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < content.size()) {
        const char c = content.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(content.mid(start, i - start));
            i += (c == '\r' && i + 1 < content.size() && content.at(i + 1) == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < content.size())
        lines.append(content.mid(start));
    return lines;
}

bool IsBlankLine(const QByteArray& line)
{
    for (char c : line)
        if (c != ' ')
            return false;
    return true;
}

FileResult Repair(const QString& dataFolder)
{
    const QString path = indexPath(dataFolder);
    QByteArray content;
    if (FileResult read = readIndex(path, QStringLiteral("repair the palette index"), content);
        !read)
        return read;
    const QByteArray repaired = joinLines(nonBlankLines(content));
    // Rewriting an index that is already in order would change nothing but
    // would fail needlessly where the data folder is read-only.
    if (repaired == content)
        return FileResult::success();
    return replaceFileContents(path, tempPath(dataFolder), repaired);
}

Reading Read(const QString& dataFolder)
{
    Reading reading;
    const QString path = indexPath(dataFolder);
    QByteArray content;
    if (FileResult read = readIndex(path, QStringLiteral("read the palette index"), content);
        !read) {
        reading.problems = read.message;
        reading.nextFileName = NextFileName({});
        return reading;
    }

    QStringList problems;
    const QList<QByteArray> lines = nonBlankLines(content);
    const qsizetype wholeEntries = lines.size() / LinesPerEntry;
    QStringList allFiles;
    for (qsizetype e = 0; e < wholeEntries; ++e) {
        Entry entry;
        entry.file = textencoding::DecodeLine(lines.at(e * LinesPerEntry));
        entry.name = textencoding::DecodeLine(lines.at(e * LinesPerEntry + 1));
        entry.kind = textencoding::DecodeLine(lines.at(e * LinesPerEntry + 2));
        entry.position = static_cast<qint32>(e + 1);
        allFiles.append(entry.file);
        if (!IsPlainFileName(entry.file)) {
            problems.append(
                QStringLiteral("Entry %1 (%2) names the file %3, which is not a file of the "
                               "data folder; that palette is left out.")
                    .arg(entry.position)
                    .arg(quoted(entry.name), quoted(entry.file)));
            continue;
        }
        reading.entries.append(entry);
    }

    if (const qsizetype leftover = lines.size() % LinesPerEntry; leftover != 0)
        problems.append(
            QStringLiteral("The last %1 of its lines do not form a whole entry of file name, "
                           "palette name and kind; they are ignored.")
                .arg(leftover == 1 ? QStringLiteral("one") : QStringLiteral("two")));
    if (wholeEntries == 0)
        problems.append(QStringLiteral("It lists no palette."));
    else if (!UserPaletteNumber(allFiles.constLast()))
        problems.append(
            QStringLiteral("The file name of its last entry, %1, does not have the form "
                           "\"c\" + number + \".rgb\"; new palettes are numbered after the "
                           "highest such number.")
                .arg(quoted(allFiles.constLast())));

    reading.nextFileName = NextFileName(allFiles);
    if (!problems.isEmpty())
        reading.problems = QStringLiteral("The palette index %1 is damaged:\n")
                               .arg(quoted(QDir::toNativeSeparators(path))) +
                           problems.join(QLatin1Char('\n'));
    return reading;
}

FileResult DeleteEntry(const QString& dataFolder, qint32 position)
{
    const QString path = indexPath(dataFolder);
    QByteArray content;
    if (FileResult read = readIndex(path, QStringLiteral("delete the palette from"), content);
        !read)
        return read;
    QList<QByteArray> lines = nonBlankLines(content);
    const qsizetype first = (qMax(position, 1) - 1) * qsizetype(LinesPerEntry);
    if (first < lines.size())
        lines.remove(first, qMin<qsizetype>(LinesPerEntry, lines.size() - first));
    return replaceFileContents(path, tempPath(dataFolder), joinLines(lines));
}

FileResult AppendEntry(const QString& dataFolder, const QString& file, const QString& name,
                       const QString& kind)
{
    const QString path = indexPath(dataFolder);
    const QString action = QStringLiteral("add the palette to");
    QByteArray content;
    if (FileResult read = readIndex(path, action, content); !read)
        return read;

    QString oneLineName = name;
    oneLineName.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QList<QByteArray> entry = {textencoding::EncodeLine(file),
                                     textencoding::EncodeLine(oneLineName),
                                     textencoding::EncodeLine(kind)};

    QList<QByteArray> lines = nonBlankLines(content);
    if (const qsizetype leftover = lines.size() % LinesPerEntry; leftover != 0) {
        // Appended after a torn entry, the new lines would be read shifted and
        // garble the new palette; it goes before the stray lines instead.
        const qsizetype at = lines.size() - leftover;
        for (qsizetype i = 0; i < entry.size(); ++i)
            lines.insert(at + i, entry.at(i));
        return replaceFileContents(path, tempPath(dataFolder), joinLines(lines));
    }

    QByteArray added = joinLines(entry);
    // A last line without its line end would otherwise run into the new one.
    if (!content.isEmpty() && !content.endsWith('\n') && !content.endsWith('\r'))
        added.prepend(LineEnd);
    QFile index(path);
    if (!index.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly))
        return FileResult::failure(describeFileError(action, path, index.errorString()));
    if (index.write(added) != added.size() || !index.flush()) {
        const QString reason = index.errorString();
        index.resize(content.size());
        return FileResult::failure(describeFileError(action, path, reason));
    }
    return FileResult::success();
}

bool IsPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.unicode() == 0)
            return false;
    return name.compare(IndexFileName(), Qt::CaseInsensitive) != 0 &&
           name.compare(IndexTempFileName(), Qt::CaseInsensitive) != 0;
}

bool AcceptsColors(const QString& kind)
{
    const QString trimmed = bascommon::TrimSpaces(kind);
    return trimmed == QLatin1String("0") || trimmed == QLatin1String("1");
}

std::optional<qint64> UserPaletteNumber(const QString& file)
{
    if (file.size() < 6 || !file.startsWith(QLatin1Char('c'), Qt::CaseInsensitive) ||
        !file.endsWith(QLatin1String(".rgb"), Qt::CaseInsensitive))
        return std::nullopt;
    const QString digits = file.mid(1, file.size() - 5);
    // Beyond 15 digits the next number could not be written back exactly.
    if (digits.isEmpty() || digits.size() > 15)
        return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return digits.toLongLong();
}

QString NextFileName(const QStringList& files)
{
    qint64 next = 1;
    if (!files.isEmpty() && UserPaletteNumber(files.constLast())) {
        next = *UserPaletteNumber(files.constLast()) + 1;
    } else {
        for (const QString& file : files)
            if (const std::optional<qint64> number = UserPaletteNumber(file))
                next = qMax(next, *number + 1);
    }
    auto taken = [&files](const QString& candidate) {
        return files.contains(candidate, Qt::CaseInsensitive);
    };
    QString candidate = QStringLiteral("c%1.rgb").arg(next);
    while (taken(candidate))
        candidate = QStringLiteral("c%1.rgb").arg(++next);
    return candidate;
}

} // namespace paletteindex
