#include "palettes/PaletteIndex.h"

#include "app/DataFileAccess.h"
#include "app/DataFolderAccess.h"
#include "app/SafeRewrite.h"
#include "app/TextBounds.h"
#include "app/TextEncoding.h"
#include "app/bascommon.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <array>

namespace paletteindex {

namespace {

constexpr int LinesPerEntry = 3;
const QByteArray LineEnd = QByteArrayLiteral("\r\n");
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

QString indexPath(const QString& dataFolder)
{
    return bascommon::DataFilePath(dataFolder, IndexFileName());
}

QString tempPath(const QString& dataFolder)
{
    return bascommon::DataFilePath(dataFolder, IndexTempFileName());
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + textbounds::ShownName(text) + QLatin1Char('"');
}

// ---------------------------------------------------------------------------
// The index file's bytes, mapped when the file system allows it, so that a
// large index is not copied into memory to be read.

class IndexContent
{
public:
    // Opened beneath the data folder like every other data file: an index
    // that is a link is refused, never read from wherever it leads.
    FileResult open(const QString& path, const QString& action)
    {
        const DataFolderAccess folder(DataFolderAccess::folderOf(path));
        // One byte past the largest index tells one that is too large.
        if (FileResult read = folder.mapContent(m_file, DataFolderAccess::nameOf(path), action,
                                                m_content, MaxIndexBytes + 1);
            !read)
            return read;
        if (m_content.size() > MaxIndexBytes)
            return FileResult::failure(describeFileError(
                action, path,
                QStringLiteral("at %1 bytes it is larger than any palette index can be")
                    .arg(m_file.size())));
        return FileResult::success();
    }
    QByteArrayView bytes() const { return m_content; }

private:
    QFile m_file;
    QByteArray m_content;
};

// ---------------------------------------------------------------------------
// Parsing

struct Line
{
    QByteArrayView text;
    // Where the next line starts.
    qsizetype next = 0;
    bool endsInCrLf = false;
};

// The line starting at `at`, which must be inside `content`.
Line lineAt(QByteArrayView content, qsizetype at)
{
    const char* begin = content.data() + at;
    const qsizetype rest = content.size() - at;
    qsizetype length = 0;
    while (length < rest && begin[length] != '\r' && begin[length] != '\n')
        ++length;
    Line line;
    line.text = QByteArrayView(begin, length);
    qsizetype after = at + length;
    if (after < content.size()) {
        if (content[after] == '\r' && after + 1 < content.size() && content[after + 1] == '\n') {
            line.endsInCrLf = true;
            after += 2;
        } else {
            after += 1;
        }
    }
    line.next = after;
    return line;
}

QByteArrayView trimmedSpaces(QByteArrayView text)
{
    while (!text.isEmpty() && text.front() == ' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == ' ')
        text.chop(1);
    return text;
}

bool isKindText(QByteArrayView line)
{
    const QByteArrayView kind = trimmedSpaces(line);
    return kind == "0" || kind == "1" || kind == "2";
}

bool looksLikePaletteFile(QByteArrayView line)
{
    return line.size() > 4 &&
           line.sliced(line.size() - 4).compare(".rgb", Qt::CaseInsensitive) == 0;
}

enum Field { FileField = 0, NameField = 1, KindField = 2 };

struct RawEntry
{
    std::array<QByteArrayView, LinesPerEntry> lines;
    // The field a blank line stands for, or -1.
    int emptyField = -1;
    qint32 position = 0;
};

struct Layout
{
    bool bom = false;
    // The content is exactly what a rewrite would write: no blank line to
    // remove, every line ended by CR LF.
    bool canonical = true;
    // The lines of a last entry cut short.
    QList<QByteArrayView> leftover;
    qint32 entryCount = 0;
};

// Reads the entries of an index one at a time.
class EntryParser
{
public:
    explicit EntryParser(QByteArrayView content) : m_content(content)
    {
        if (content.startsWith(Utf8Bom)) {
            m_layout.bom = true;
            m_at = Utf8Bom.size();
        }
    }

    // The next whole entry; false at the end, when layout() is complete.
    bool next(RawEntry& entry)
    {
        entry = RawEntry{};
        int field = FileField;
        while (m_at < m_content.size()) {
            const Line line = lineAt(m_content, m_at);
            m_at = line.next;
            if (!line.endsInCrLf)
                m_layout.canonical = false;
            if (!IsBlankLine(line.text)) {
                entry.lines[static_cast<std::size_t>(field++)] = line.text;
            } else if (field == FileField) {
                m_layout.canonical = false;
            } else if (ownField(field)) {
                entry.emptyField = field;
                entry.lines[static_cast<std::size_t>(field++)] = line.text;
            } else {
                m_layout.canonical = false;
            }
            if (field == LinesPerEntry) {
                entry.position = ++m_layout.entryCount;
                return true;
            }
        }
        for (int i = 0; i < field; ++i)
            m_layout.leftover.append(entry.lines[static_cast<std::size_t>(i)]);
        return false;
    }

    const Layout& layout() const { return m_layout; }

private:
    // The first non-blank line at or after `from`, if any.
    std::optional<Line> nextNonBlank(qsizetype from) const
    {
        while (from < m_content.size()) {
            const Line line = lineAt(m_content, from);
            if (!IsBlankLine(line.text))
                return line;
            from = line.next;
        }
        return std::nullopt;
    }

    // A blank line inside an entry, at `field`: the lines after it tell
    // whether it is stray (the next line is the field it seems to hold) or
    // the entry's own empty field (removing it would shift every later line
    // into the wrong field).
    bool ownField(int field) const
    {
        const std::optional<Line> a = nextNonBlank(m_at);
        if (field == KindField)
            return !a || (looksLikePaletteFile(a->text) && !isKindText(a->text));
        const std::optional<Line> b = a ? nextNonBlank(a->next) : std::nullopt;
        return a && isKindText(a->text) && !(b && isKindText(b->text));
    }

    QByteArrayView m_content;
    qsizetype m_at = 0;
    Layout m_layout;
};

// Reads the whole content; the layout it has.
Layout scan(QByteArrayView content)
{
    EntryParser parser(content);
    RawEntry entry;
    while (parser.next(entry)) {
    }
    return parser.layout();
}

// ---------------------------------------------------------------------------
// Writing

void appendLine(QByteArray& out, QByteArrayView line)
{
    out.append(line.data(), line.size());
    out.append(LineEnd);
}

void appendEntry(QByteArray& out, const RawEntry& entry)
{
    for (const QByteArrayView line : entry.lines)
        appendLine(out, line);
}

bool sameEntry(const RawEntry& a, const RawEntry& b)
{
    return a.lines == b.lines && a.emptyField == b.emptyField;
}

// The index as a rewrite leaves it: every entry but the one at `dropped`
// (none when 0), then `added`, then the lines of a torn last entry. The new
// content is read back before it is used: a rewrite that would read as other
// entries (a kept empty field that the new neighbours no longer show as one)
// is refused, with nothing changed.
FileResult rewritten(QByteArrayView content, qint32 dropped, const QString& action,
                     const QString& path, QByteArray& out, const QList<QByteArray>& added = {},
                     qint32 addedBefore = 0)
{
    out.clear();
    out.reserve(content.size() + 64);
    EntryParser parser(content);
    RawEntry entry;
    bool addedWritten = added.isEmpty();
    while (parser.next(entry)) {
        if (!addedWritten && entry.position == addedBefore) {
            for (const QByteArray& line : added)
                appendLine(out, line);
            addedWritten = true;
        }
        if (entry.position != dropped)
            appendEntry(out, entry);
    }
    if (!addedWritten)
        for (const QByteArray& line : added)
            appendLine(out, line);
    for (const QByteArrayView line : parser.layout().leftover)
        appendLine(out, line);
    // A first line that itself begins with the bytes of a byte-order mark
    // (after blank lines the rewrite drops) keeps them behind a mark of its own.
    if (parser.layout().bom || out.startsWith(Utf8Bom))
        out.prepend(Utf8Bom);

    EntryParser before(content);
    EntryParser after(out);
    RawEntry old;
    RawEntry fresh;
    bool same = true;
    bool addedChecked = added.isEmpty();
    const auto checkAdded = [&] {
        addedChecked = true;
        return after.next(fresh) && std::equal(added.begin(), added.end(), fresh.lines.begin());
    };
    while (same && before.next(old)) {
        if (!addedChecked && old.position == addedBefore)
            same = checkAdded();
        if (!same || old.position == dropped)
            continue;
        same = after.next(fresh) && sameEntry(old, fresh);
    }
    if (same && !addedChecked)
        same = checkAdded();
    if (same)
        same = !after.next(fresh) && after.layout().leftover == before.layout().leftover;
    if (!same)
        return FileResult::failure(describeFileError(
            action, path,
            QStringLiteral("rewritten, it would pair some palette files with the name or kind "
                           "of another entry; nothing was changed")));
    return FileResult::success();
}

// What adding an entry starts from: the index as it is now (a copy: the file
// is written to or replaced while the copy is in use) and the three lines of
// the new entry, its name kept to one line.
FileResult prepareAddition(const QString& path, const QString& action, const QString& file,
                           const QString& name, const QString& kind, QByteArray& bytes,
                           QList<QByteArray>& entry)
{
    {
        IndexContent content;
        if (FileResult opened = content.open(path, action); !opened)
            return opened;
        bytes = content.bytes().toByteArray();
    }
    QString oneLineName = name;
    oneLineName.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    entry = {textencoding::EncodeLine(file), textencoding::EncodeLine(oneLineName),
             textencoding::EncodeLine(kind)};
    return FileResult::success();
}

QString emptyFieldProblem(const Entry& entry, int field)
{
    const QString what = field == KindField ? QStringLiteral("kind") : QStringLiteral("name");
    return QStringLiteral("Entry %1 (%2) has an empty %3 line. It stays with that entry: "
                          "removing it would pair every later palette file with the name and "
                          "kind of another entry.")
        .arg(entry.position)
        .arg(quoted(entry.file), what);
}

// FNV-1a over the case-folded name, which is what makes two file names the
// same file where the file system ignores case.
quint64 foldedHash(QStringView name)
{
    quint64 hash = 14695981039346656037ull;
    for (const QChar c : name) {
        const char16_t folded =
            c.unicode() < 128 ? char16_t(QChar::toLower(c.unicode())) : c.toCaseFolded().unicode();
        hash = (hash ^ folded) * 1099511628211ull;
    }
    return hash;
}

// Collects the problems of one reading, listing the first ones one by one.
class Problems
{
public:
    void add(const QString& problem)
    {
        if (m_lines.size() < MaxListedProblems)
            m_lines.append(problem);
        else
            ++m_unlisted;
    }
    bool isEmpty() const { return m_lines.isEmpty(); }
    QString text() const
    {
        QString text = m_lines.join(QLatin1Char('\n'));
        if (m_unlisted > 0)
            text += QStringLiteral("\nand %1 more problems of the same kinds.").arg(m_unlisted);
        return text;
    }

private:
    QStringList m_lines;
    qint64 m_unlisted = 0;
};

} // namespace

// ---------------------------------------------------------------------------

QString IndexFileName()
{
    return QStringLiteral("colorchart.cci");
}
QString IndexTempFileName()
{
    return QStringLiteral("colorchart.cct");
}

Entry EntryTable::at(qsizetype i) const
{
    return Entry{files.at(i), names.at(i), kinds.at(i), positions.at(i)};
}

void EntryTable::append(QStringView file, QStringView name, QStringView kind, qint32 position)
{
    files.append(file);
    names.append(name);
    kinds.append(kind);
    positions.append(position);
}

QList<QByteArray> SplitLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    qsizetype at = 0;
    while (at < content.size()) {
        const Line line = lineAt(content, at);
        lines.append(line.text.toByteArray());
        at = line.next;
    }
    return lines;
}

QList<Entry> ParseEntries(QByteArrayView content, qsizetype* leftoverLines)
{
    QList<Entry> entries;
    EntryParser parser(content);
    RawEntry raw;
    while (parser.next(raw))
        entries.append(Entry{textencoding::DecodeLine(raw.lines[FileField]),
                             textencoding::DecodeLine(raw.lines[NameField]),
                             textencoding::DecodeLine(raw.lines[KindField]), raw.position});
    if (leftoverLines)
        *leftoverLines = parser.layout().leftover.size();
    return entries;
}

bool IsBlankLine(QByteArrayView line)
{
    for (char c : line)
        if (c != ' ')
            return false;
    return true;
}

FileResult Repair(const QString& dataFolder)
{
    const QString path = indexPath(dataFolder);
    const QString action = QStringLiteral("repair the palette index");
    IndexContent content;
    if (FileResult opened = content.open(path, action); !opened)
        return opened;
    // Rewriting an index that is already in order would change nothing but
    // would fail needlessly where the data folder is read-only.
    if (scan(content.bytes()).canonical)
        return FileResult::success();
    QByteArray repaired;
    if (FileResult made = rewritten(content.bytes(), 0, action, path, repaired); !made)
        return made;
    return replaceFileContents(path, tempPath(dataFolder), repaired, action);
}

Reading Read(const QString& dataFolder)
{
    Reading reading;
    const QString path = indexPath(dataFolder);
    IndexContent content;
    if (FileResult opened = content.open(path, QStringLiteral("read the palette index")); !opened) {
        reading.problems = opened.message;
        reading.unreadable = true;
        reading.nextFileName = NextFileName({});
        return reading;
    }

    Problems problems;
    NextFileNameFinder next;
    // Folded hash of each listed file name, to the place of its entry.
    QHash<quint64, qsizetype> listed;
    QString lastFile;
    const QString sharedKinds[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    EntryParser parser(content.bytes());
    RawEntry raw;
    while (parser.next(raw)) {
        Entry entry;
        // Only what can be kept is decoded: a damaged index can hold a line
        // of gigabytes. No file name is as long as a name may be.
        constexpr qsizetype Decoded = textbounds::MaxNameLength + 1;
        bool fileCut = false;
        entry.file = textbounds::BoundName(
            textencoding::DecodeLineStart(raw.lines[FileField], Decoded), &fileCut);
        bool cut = false;
        entry.name = textbounds::BoundName(
            textencoding::DecodeLineStart(raw.lines[NameField], Decoded), &cut);
        const QByteArrayView kind = raw.lines[KindField];
        entry.kind = kind.size() == 1 && kind[0] >= '0' && kind[0] <= '2'
                         ? sharedKinds[kind[0] - '0']
                         : textbounds::BoundName(textencoding::DecodeLineStart(kind, Decoded));
        entry.position = raw.position;
        next.add(entry.file);
        lastFile = entry.file;
        if (raw.emptyField >= 0)
            problems.add(emptyFieldProblem(entry, raw.emptyField));
        if (fileCut || !IsPaletteFileName(entry.file)) {
            problems.add(
                QStringLiteral("Entry %1 (%2) names the file %3, which is not a palette file of "
                               "the data folder (a plain name ending in \".rgb\"); that palette "
                               "is left out.")
                    .arg(entry.position)
                    .arg(quoted(entry.name), quoted(entry.file)));
            continue;
        }
        const quint64 hash = foldedHash(entry.file);
        if (const auto earlier = listed.constFind(hash);
            earlier != listed.constEnd() &&
            reading.entries.files.view(*earlier).compare(entry.file, Qt::CaseInsensitive) == 0) {
            problems.add(QStringLiteral("Entry %1 (%2) names the file %3, which entry %4 lists "
                                        "already; that palette is left out.")
                             .arg(entry.position)
                             .arg(quoted(entry.name), quoted(entry.file))
                             .arg(reading.entries.positions.at(*earlier)));
            continue;
        }
        if (cut)
            problems.add(QStringLiteral("The name of entry %1 (%2) is longer than %3 characters; "
                                        "it is shown cut short.")
                             .arg(entry.position)
                             .arg(quoted(entry.file))
                             .arg(textbounds::MaxNameLength));
        listed.insert(hash, reading.entries.size());
        reading.entries.append(entry.file, entry.name, entry.kind, entry.position);
    }
    const Layout& layout = parser.layout();
    reading.entries.files.squeeze();
    reading.entries.names.squeeze();
    reading.entries.kinds.squeeze();
    reading.entries.positions.squeeze();

    if (const qsizetype leftover = layout.leftover.size(); leftover != 0)
        problems.add(
            QStringLiteral("The last %1 of its lines do not form a whole entry of file name, "
                           "palette name and kind; they are ignored.")
                .arg(leftover == 1 ? QStringLiteral("one") : QStringLiteral("two")));
    if (layout.entryCount == 0)
        problems.add(QStringLiteral("It lists no palette."));
    else if (!UserPaletteNumber(lastFile))
        problems.add(
            QStringLiteral("The file name of its last entry, %1, does not have the form "
                           "\"c\" + number + \".rgb\"; new palettes are numbered after the "
                           "highest such number.")
                .arg(quoted(lastFile)));

    reading.nextFileName = next.result();
    if (!problems.isEmpty())
        reading.problems = QStringLiteral("The palette index %1 is damaged:\n")
                               .arg(quoted(QDir::toNativeSeparators(path))) +
                           problems.text();
    return reading;
}

FileResult DeleteEntry(const QString& dataFolder, qint32 position)
{
    const QString path = indexPath(dataFolder);
    const QString action = QStringLiteral("delete the palette from");
    IndexContent content;
    if (FileResult opened = content.open(path, action); !opened)
        return opened;
    QByteArray rest;
    if (FileResult made = rewritten(content.bytes(), qMax(position, 1), action, path, rest); !made)
        return made;
    return replaceFileContents(path, tempPath(dataFolder), rest, action);
}

FileResult AppendEntry(const QString& dataFolder, const QString& file, const QString& name,
                       const QString& kind)
{
    const QString path = indexPath(dataFolder);
    const QString action = QStringLiteral("add the palette to");
    QByteArray bytes;
    QList<QByteArray> entry;
    if (FileResult prepared = prepareAddition(path, action, file, name, kind, bytes, entry);
        !prepared)
        return prepared;

    if (!scan(bytes).leftover.isEmpty()) {
        // Appended after a torn entry, the new lines would be read shifted and
        // garble the new palette; it goes before the stray lines instead.
        QByteArray extended;
        if (FileResult made = rewritten(bytes, 0, action, path, extended, entry); !made)
            return made;
        return replaceFileContents(path, tempPath(dataFolder), extended, action);
    }

    QByteArray added;
    for (const QByteArray& line : entry)
        appendLine(added, line);
    // A last line without its line end would otherwise run into the new one.
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        added.prepend(LineEnd);
    QFile index;
    if (FileResult opened =
            datafiles::OpenForWriting(index, path, action, datafiles::WhenMissing::Fail);
        !opened)
        return opened;
    const qint64 oldSize = index.size();
    if (!index.seek(oldSize) || index.write(added) != added.size() || !index.flush()) {
        const QString reason = index.errorString();
        index.resize(oldSize);
        return FileResult::failure(describeFileError(action, path, reason));
    }
    return FileResult::success();
}

FileResult InsertEntry(const QString& dataFolder, qint32 position, const QString& file,
                       const QString& name, const QString& kind)
{
    const QString path = indexPath(dataFolder);
    const QString action = QStringLiteral("add the palette to");
    QByteArray bytes;
    QList<QByteArray> entry;
    if (FileResult prepared = prepareAddition(path, action, file, name, kind, bytes, entry);
        !prepared)
        return prepared;
    QByteArray extended;
    if (FileResult made = rewritten(bytes, 0, action, path, extended, entry, qMax(position, 1));
        !made)
        return made;
    return replaceFileContents(path, tempPath(dataFolder), extended, action);
}

FileResult RenameEntry(const QString& dataFolder, qint32 position, const QString& file,
                       const QString& name)
{
    const QString path = indexPath(dataFolder);
    const QString action = QStringLiteral("rename the palette in");
    IndexContent content;
    if (FileResult opened = content.open(path, action); !opened)
        return opened;
    EntryParser parser(content.bytes());
    RawEntry entry;
    bool found = false;
    while (!found && parser.next(entry))
        found =
            entry.position == position && textencoding::DecodeLine(entry.lines[FileField]) == file;
    if (!found)
        return FileResult::failure(describeFileError(
            action, path, QStringLiteral("it no longer lists that palette at its place")));
    QString oneLineName = name;
    oneLineName.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QList<QByteArray> renamed = {entry.lines[FileField].toByteArray(),
                                       textencoding::EncodeLine(oneLineName),
                                       entry.lines[KindField].toByteArray()};
    QByteArray out;
    if (FileResult made =
            rewritten(content.bytes(), position, action, path, out, renamed, position);
        !made)
        return made;
    return replaceFileContents(path, tempPath(dataFolder), out, action);
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

bool IsPaletteFileName(const QString& name)
{
    // No file system takes a longer name.
    constexpr qsizetype MaxFileNameLength = 255;
    if (name.size() <= 4 || name.size() > MaxFileNameLength || !IsPlainFileName(name) ||
        !name.endsWith(QLatin1String(".rgb"), Qt::CaseInsensitive))
        return false;
    if (name.front().isSpace() || name.back().isSpace())
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

bool AcceptsColors(QStringView kind)
{
    while (!kind.isEmpty() && kind.front() == QLatin1Char(' '))
        kind = kind.sliced(1);
    while (!kind.isEmpty() && kind.back() == QLatin1Char(' '))
        kind.chop(1);
    return kind == QLatin1String("0") || kind == QLatin1String("1");
}

void ColorTargets(const EntryTable& entries, StringTable& files, StringTable& names)
{
    qsizetype accepted = 0;
    for (qsizetype i = 0; i < entries.size(); ++i)
        accepted += AcceptsColors(entries.kinds.view(i)) ? 1 : 0;
    if (accepted == entries.size()) {
        files = entries.files;
        names = entries.names;
        return;
    }
    files.clear();
    names.clear();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!AcceptsColors(entries.kinds.view(i)))
            continue;
        files.append(entries.files.view(i));
        names.append(entries.names.view(i));
    }
}

std::optional<qint64> UserPaletteNumber(const QString& file)
{
    if (file.size() < 6 || !file.startsWith(QLatin1Char('c'), Qt::CaseInsensitive) ||
        !file.endsWith(QLatin1String(".rgb"), Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView digits = QStringView(file).mid(1, file.size() - 5);
    // Beyond 15 digits the next number could not be written back exactly.
    if (digits.isEmpty() || digits.size() > 15)
        return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return digits.toLongLong();
}

void NextFileNameFinder::add(const QString& file)
{
    m_any = true;
    m_lastNumber = UserPaletteNumber(file);
    if (!m_lastNumber)
        return;
    m_highest = qMax(m_highest, *m_lastNumber);
    // Only a name without leading zeros can be the candidate's name.
    if (file.size() == 6 || file.at(1) != QLatin1Char('0'))
        m_taken.insert(*m_lastNumber);
}

QString NextFileNameFinder::result() const
{
    qint64 next = 1;
    if (m_any && m_lastNumber)
        next = *m_lastNumber + 1;
    else if (m_highest > 0 || !m_taken.isEmpty())
        next = m_highest + 1;
    while (m_taken.contains(next))
        ++next;
    return QStringLiteral("c%1.rgb").arg(next);
}

QString NextFileName(const QStringList& files)
{
    NextFileNameFinder finder;
    for (const QString& file : files)
        finder.add(file);
    return finder.result();
}

} // namespace paletteindex
