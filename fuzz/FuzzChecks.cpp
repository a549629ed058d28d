#include "fuzz/FuzzChecks.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QSet>

#include "app/TextBounds.h"
#include "app/TextEncoding.h"
#include "app/bascommon.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/ColorParser.h"
#include "palettes/exchange/DesignTokens.h"
#include "palettes/exchange/OfficePalette.h"
#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/exchange/PhotoshopSwatches.h"
#include "palettes/exchange/SketchPalette.h"
#include "palettes/exchange/StyleSheetHarvest.h"
#include "palettes/exchange/StyleSheetPalette.h"
#include "palettes/NamedEdits.h"
#include "palettes/PaletteIndex.h"
#include "palettes/PaletteNames.h"
#include "palettes/PaletteRecords.h"
#include "scheme/SchemeFormat.h"
#include "scheme/SchemeStore.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace fuzzchecks {

namespace {

// Each rewrite is run at a few places only, so that one input stays quick.
constexpr int MaxNamesChecked = 16;
constexpr int MaxRecordsChecked = 64;

[[noreturn]] void fail(const char* promise, const QString& detail)
{
    std::fprintf(stderr, "\nBroken promise: %s\n%s\n", promise, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

void require(bool held, const char* promise)
{
    if (!held)
        fail(promise, {});
}

// The detail is worked out only for a broken promise: most checks run in loops
// where building it every time would slow fuzzing down.
template <typename Detail> void require(bool held, const char* promise, Detail&& detail)
{
    if (!held)
        fail(promise, detail());
}

void requireOk(const FileResult& result, const char* promise)
{
    if (!result.ok)
        fail(promise, result.message);
}

QString show(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toPercentEncoding(" \"#"));
}

void emptyFolder(const QString& folder)
{
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    const auto entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        fail("the scratch folder takes a file", path);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every line of `content` ends with CR LF.
bool crLfOnly(const QByteArray& content)
{
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content.at(i) == '\r' && (i + 1 >= content.size() || content.at(i + 1) != '\n'))
            return false;
        if (content.at(i) == '\n' && (i == 0 || content.at(i - 1) != '\r'))
            return false;
    }
    return content.isEmpty() || content.endsWith("\r\n");
}

// ---------------------------------------------------------------------------
// Palette index

struct IndexCase
{
    QString folder;
    QString path;
    // The entries as the repair pairs the lines, none left out.
    QList<paletteindex::Entry> parsed;
    qsizetype leftover = 0;
};

bool sameEntry(const paletteindex::Entry& a, const paletteindex::Entry& b)
{
    return a.file == b.file && a.name == b.name && a.kind == b.kind && a.position == b.position;
}

bool sameEntries(const QList<paletteindex::Entry>& a, const QList<paletteindex::Entry>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameEntry);
}

QList<paletteindex::Entry> listOf(const paletteindex::EntryTable& table)
{
    QList<paletteindex::Entry> entries;
    for (const paletteindex::Entry& entry : table)
        entries.append(entry);
    return entries;
}

QList<paletteindex::Entry> parsedFile(const QString& path, qsizetype* leftover = nullptr)
{
    return paletteindex::ParseEntries(readFile(path), leftover);
}

QByteArray withoutBom(const QByteArray& content)
{
    return content.startsWith("\xEF\xBB\xBF") ? content.mid(3) : content;
}

QList<QByteArray> nonBlankLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    for (const QByteArray& line : paletteindex::SplitLines(withoutBom(content)))
        if (!paletteindex::IsBlankLine(line))
            lines.append(line);
    return lines;
}

// What a reading must give for these entries: every one whose file is a
// palette file not listed before (ignoring case), at its place in the file,
// with its name cut to the bound; and a next file name that is numbered and
// taken by no entry.
void checkReading(const paletteindex::Reading& reading, const IndexCase& index,
                  const QByteArray& original)
{
    QList<paletteindex::Entry> expected;
    QStringList files;
    QSet<QString> listed;
    for (paletteindex::Entry entry : index.parsed) {
        files.append(entry.file);
        if (!paletteindex::IsPaletteFileName(entry.file) ||
            listed.contains(entry.file.toCaseFolded()))
            continue;
        listed.insert(entry.file.toCaseFolded());
        entry.name = textbounds::BoundName(entry.name);
        expected.append(entry);
    }
    require(sameEntries(listOf(reading.entries), expected),
            "the index lists every whole entry naming a palette file once, in file order");

    static const QRegularExpression numbered(QStringLiteral("^c[1-9][0-9]*\\.rgb$"));
    require(numbered.match(reading.nextFileName).hasMatch(),
            "the next palette file is \"c\" + number + \".rgb\"",
            [&] { return reading.nextFileName; });
    require(!files.contains(reading.nextFileName, Qt::CaseInsensitive),
            "the next palette file is not taken", [&] { return reading.nextFileName; });
    if (!files.isEmpty()) {
        const std::optional<qint64> last = paletteindex::UserPaletteNumber(files.constLast());
        const QString following = last ? QStringLiteral("c%1.rgb").arg(*last + 1) : QString();
        if (last && !files.contains(following, Qt::CaseInsensitive))
            require(reading.nextFileName == following,
                    "the next palette file follows the last entry's number",
                    [&] { return reading.nextFileName; });
    }

    // Without a blank line the lines pair up three by three, and only then
    // can an index be sound.
    const QList<QByteArray> lines = paletteindex::SplitLines(withoutBom(original));
    const bool noBlankLine = std::none_of(lines.begin(), lines.end(), [](const QByteArray& line) {
        return paletteindex::IsBlankLine(line);
    });
    if (noBlankLine)
        require(index.parsed.size() == lines.size() / 3 && index.leftover == lines.size() % 3,
                "an index without blank lines is read three lines to an entry");
    const bool namesFit = std::all_of(index.parsed.begin(), index.parsed.end(), [](const auto& e) {
        return e.name.size() <= textbounds::MaxNameLength;
    });
    const bool sound = noBlankLine && index.leftover == 0 && !index.parsed.isEmpty() &&
                       expected.size() == index.parsed.size() && namesFit &&
                       paletteindex::UserPaletteNumber(files.constLast());
    if (sound)
        require(reading.problems.isEmpty(), "a sound index reports no problem",
                [&] { return reading.problems; });
    else if (noBlankLine)
        require(!reading.problems.isEmpty(), "a damaged index reports its problems");
}

void checkRepair(const IndexCase& index, const QByteArray& original,
                 const paletteindex::Reading& before)
{
    requireOk(paletteindex::Repair(index.folder), "the repair of a writable index succeeds");
    const QByteArray repaired = readFile(index.path);
    require(nonBlankLines(repaired) == nonBlankLines(original),
            "the repair keeps every non-blank line byte for byte, in order",
            [&] { return show(repaired); });
    require(crLfOnly(withoutBom(repaired)), "the repair ends every line with CR LF",
            [&] { return show(repaired); });
    qsizetype leftover = 0;
    require(sameEntries(parsedFile(index.path, &leftover), index.parsed) &&
                leftover == index.leftover,
            "the repair keeps every file with its own name and kind");
    requireOk(paletteindex::Repair(index.folder), "a second repair succeeds");
    require(readFile(index.path) == repaired, "a second repair changes nothing");
    require(!QFile::exists(index.folder + QStringLiteral("/colorchart.cct")),
            "no temporary index is left behind");
    const paletteindex::Reading after = paletteindex::Read(index.folder);
    require(sameEntries(listOf(after.entries), listOf(before.entries)) &&
                after.nextFileName == before.nextFileName,
            "the repair changes nothing that a reading gives");
}

// A rewrite of a writable index is refused only where it would pair a file
// with another entry's lines, and then it changes nothing.
void requireRefusedForPairing(const FileResult& result, const IndexCase& index,
                              const QByteArray& original)
{
    require(result.message.contains(QStringLiteral("pair")),
            "a rewrite of a writable index succeeds or keeps the pairing",
            [&] { return result.message; });
    require(readFile(index.path) == original, "a refused rewrite changes nothing");
}

void checkDeleteEntry(const IndexCase& index, const QByteArray& original)
{
    const qint32 wholeEntries = static_cast<qint32>(index.parsed.size());
    for (const qint32 position : {0, 1, wholeEntries / 2 + 1, wholeEntries, wholeEntries + 1}) {
        writeFile(index.path, original);
        const FileResult deleted = paletteindex::DeleteEntry(index.folder, position);
        if (!deleted) {
            requireRefusedForPairing(deleted, index, original);
            continue;
        }
        QList<paletteindex::Entry> rest;
        const qint32 dropped = std::max(position, 1);
        for (paletteindex::Entry entry : index.parsed) {
            if (entry.position == dropped)
                continue;
            if (entry.position > dropped)
                --entry.position;
            rest.append(entry);
        }
        qsizetype leftover = 0;
        require(sameEntries(parsedFile(index.path, &leftover), rest) && leftover == index.leftover,
                "deleting an entry removes it and keeps every other with its own lines",
                [&] { return QStringLiteral("position %1").arg(position); });
    }
}

void checkAppendEntry(const IndexCase& index, const QByteArray& original,
                      const paletteindex::Reading& before)
{
    // A name as the name dialog hands it over: trimmed, never empty, one line.
    QString name = bascommon::TrimSpaces(
        textencoding::DecodeLine(paletteindex::SplitLines(original).value(0)));
    if (name.isEmpty())
        name = QStringLiteral("Untiltled");

    writeFile(index.path, original);
    const FileResult added =
        paletteindex::AppendEntry(index.folder, before.nextFileName, name, QStringLiteral("1"));
    if (!added) {
        requireRefusedForPairing(added, index, original);
        return;
    }
    QList<paletteindex::Entry> expected = index.parsed;
    expected.append({before.nextFileName, name, QStringLiteral("1"),
                     static_cast<qint32>(index.parsed.size() + 1)});
    require(sameEntries(parsedFile(index.path), expected),
            "adding an entry keeps every entry before it and reads back as it was given");
    const paletteindex::Reading after = paletteindex::Read(index.folder);
    require(!after.entries.isEmpty() && after.entries.constLast().file == before.nextFileName &&
                after.entries.constLast().name == textbounds::BoundName(name),
            "the added palette is listed last",
            [&] { return after.entries.isEmpty() ? QString() : after.entries.constLast().name; });
}

// ---------------------------------------------------------------------------
// Palette records

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "&h" + blue + green + red read as one hexadecimal number.
std::optional<Color> expectedColour(const QByteArray& record)
{
    const QByteArray bgr = record.mid(4, 2) + record.mid(2, 2) + record.mid(0, 2);
    Color value = 0;
    for (char c : bgr) {
        if (hexValue(c) < 0)
            return std::nullopt;
        value = value * 16 + static_cast<Color>(hexValue(c));
    }
    return value;
}

QByteArray wholeRecords(const QByteArray& content)
{
    return content.left(content.size() - content.size() % paletterecords::RecordLength);
}

QByteArray recordAt(const QByteArray& content, qint64 record)
{
    return content.mid((record - 1) * paletterecords::RecordLength, paletterecords::RecordLength);
}

void checkPage(const QString& path, const QByteArray& content, qint32 colorCount, qint32 page)
{
    paletterecords::PageCells cells;
    requireOk(paletterecords::ReadPage(path, colorCount, page, cells), "a page of a file reads");
    const qint64 recordsInFile = content.size() / paletterecords::RecordLength;
    for (int j = 0; j < paletterecords::CellsPerPage; ++j) {
        const paletterecords::PageCell& cell = cells[static_cast<std::size_t>(j)];
        const qint32 record = paletterecords::RecordForCell(colorCount, page, j);
        const auto where = [&] {
            return QStringLiteral("page %1 cell %2 of %3").arg(page).arg(j).arg(colorCount);
        };
        if (record < 1 || record > colorCount || record > recordsInFile) {
            require(cell.kind == paletterecords::PageCell::Kind::Empty &&
                        cell.color == bascommon::White,
                    "a cell without a record is empty and white", where);
            continue;
        }
        const QByteArray raw = recordAt(content, record);
        const std::optional<Color> colour = expectedColour(raw);
        require(paletterecords::ParseRecord(raw) == colour, "a record reads as \"&h\" + BBGGRR",
                [&] { return show(raw); });
        if (colour)
            require(cell.kind == paletterecords::PageCell::Kind::Colour && cell.color == *colour,
                    "a readable record shows its colour", where);
        else
            require(cell.kind == paletterecords::PageCell::Kind::Unreadable && cell.raw == raw &&
                        cell.color == bascommon::White,
                    "an unreadable record shows as such, with its bytes", where);
    }
}

void checkPages(const QString& path, const QByteArray& content)
{
    const qint32 count = paletterecords::CountRecords(path);
    require(count == content.size() / paletterecords::RecordLength,
            "the record count is the size divided by 6");
    require(paletterecords::TrailingBytes(path) == content.size() % paletterecords::RecordLength,
            "the bytes after the last whole record are told apart");
    const qint32 pages = paletterecords::PageCountFor(count);
    require(pages >= 1 && qint64(pages) * paletterecords::CellsPerPage >= count &&
                qint64(pages - 1) * paletterecords::CellsPerPage < std::max(count, 1),
            "the pages hold every record, and none is empty but a sole page");
    for (const qint32 page : {1, 2, pages, pages + 1, 0})
        checkPage(path, content, count, page);
    // A view counted before the file shrank asks for records that are gone.
    checkPage(path, content, count + 7, 1);
}

void checkPaletteRewrites(const QString& folder, const QString& path, const QByteArray& content)
{
    const QByteArray records = wholeRecords(content);
    const qint32 count = static_cast<qint32>(records.size() / paletterecords::RecordLength);

    writeFile(path, content);
    requireOk(
        bascommon::AppendColorToFile(folder, QStringLiteral("c1.rgb"), QStringLiteral("#A1B2C3")),
        "appending to a writable palette succeeds");
    require(readFile(path) == records + "A1B2C3",
            "an append goes right after the last whole record");

    for (const qint32 record : {1, count / 2 + 1, count}) {
        if (record < 1 || record > count)
            continue;
        writeFile(path, content);
        requireOk(paletterecords::DeleteRecord(path, record), "deleting a colour succeeds");
        QByteArray expected = records;
        expected.remove((record - 1) * paletterecords::RecordLength, paletterecords::RecordLength);
        require(readFile(path) == expected, "deleting a colour keeps every other in order",
                [&] { return QStringLiteral("record %1").arg(record); });
    }
    writeFile(path, content);
    require(!paletterecords::DeleteRecord(path, count + 1).ok,
            "deleting a colour the palette does not hold fails");
    require(readFile(path) == content, "a failed deletion leaves the file alone");

    writeFile(path, content);
    qint32 kept = -1;
    requireOk(paletterecords::ClearDuplicates(path, &kept), "clearing duplicates succeeds");
    QByteArray unique;
    QSet<QByteArray> seen;
    for (qint32 r = 1; r <= count; ++r) {
        const QByteArray raw = recordAt(records, r);
        if (!seen.contains(raw)) {
            seen.insert(raw);
            unique += raw;
        }
    }
    require(readFile(path) == unique,
            "clearing duplicates keeps the first of each record, in order");
    require(kept == unique.size() / paletterecords::RecordLength, "the kept count is right");
    for (const char* temporary : {".tmp", ".ctm"})
        require(!QFile::exists(path + QLatin1String(temporary)),
                "no temporary palette is left behind");
}

// ---------------------------------------------------------------------------
// Saved schemes

constexpr int RecordLength = schemeformat::RecordLength;

QString withoutLineBreaks(QString name)
{
    return name.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// Six colours that tell scheme n apart from every other.
SchemeColors coloursOfScheme(int n)
{
    SchemeColors colors;
    colors.text = bascommon::MakeColor(n & 255, (n >> 8) & 255, 1);
    colors.background = bascommon::MakeColor(n & 255, (n >> 8) & 255, 2);
    colors.normalLink = bascommon::MakeColor(n & 255, (n >> 8) & 255, 3);
    colors.visitedLink = bascommon::MakeColor(n & 255, (n >> 8) & 255, 4);
    colors.activeLink = bascommon::MakeColor(n & 255, (n >> 8) & 255, 5);
    colors.hoverLink = bascommon::MakeColor(n & 255, (n >> 8) & 255, 6);
    return colors;
}

void writeSchemes(const SchemeStore& store, const QByteArray& names, const QByteArray& colors)
{
    writeFile(store.filePath(SchemeStore::NamesFile), names);
    writeFile(store.filePath(SchemeStore::ColorsFile), colors);
}

struct StoredSchemes
{
    QStringList names;
    QList<SchemeColors> colors;
    QList<bool> readable;
};

StoredSchemes readAll(const SchemeStore& store)
{
    StoredSchemes stored;
    requireOk(store.readNames(stored.names), "an existing name list reads");
    for (int i = 0; i < std::min<int>(stored.names.size(), MaxNamesChecked); ++i) {
        SchemeColors colors;
        stored.readable.append(store.readColors(i, colors).ok);
        stored.colors.append(colors);
    }
    return stored;
}

void checkNameRoundTrip(const QString& name)
{
    const QByteArray stored = schemeformat::LineFromName(name);
    const QList<QByteArrayView> lines = schemeformat::NameLines(stored);
    require(lines.size() == 1 &&
                schemeformat::NameFromLine(lines.first()) == withoutLineBreaks(name),
            "a stored name reads back as it was stored", [&] { return name; });
}

void checkSave(const SchemeStore& store, const StoredSchemes& before, const QString& typed)
{
    const QString name = schemeformat::NameFromAnswer(typed);
    if (name.isEmpty())
        return;
    const SchemeColors colors = coloursOfScheme(0x5A5A);
    requireOk(store.save(name, colors), "saving into writable files succeeds");
    const StoredSchemes after = readAll(store);
    require(after.names.mid(0, before.names.size()) == before.names,
            "saving keeps every earlier name", [&] { return after.names.join(QLatin1Char('|')); });
    require(after.names.size() == before.names.size() + 1 &&
                after.names.constLast() == textbounds::BoundName(name),
            "the saved name comes last, as it was given", [&] { return after.names.constLast(); });
    for (int i = 0; i < std::min<int>(before.names.size(), MaxNamesChecked); ++i)
        require(after.colors.at(i) == before.colors.at(i) &&
                    after.readable.at(i) == before.readable.at(i),
                "saving keeps every earlier scheme's colours");
    SchemeColors saved;
    requireOk(store.readColors(static_cast<int>(before.names.size()), saved),
              "the saved scheme's colours read");
    require(saved == colors, "the saved scheme's colours read back as saved");
}

void checkRemove(const SchemeStore& store, const StoredSchemes& before, int index)
{
    requireOk(store.remove(index), "deleting a scheme from writable files succeeds");
    const StoredSchemes after = readAll(store);
    QStringList names = before.names;
    names.removeAt(index);
    require(after.names == names, "deleting a scheme removes its name only",
            [&] { return QStringLiteral("index %1").arg(index); });
    for (int i = 0; i < std::min<int>(after.names.size(), MaxNamesChecked - 1); ++i) {
        const int old = i < index ? i : i + 1;
        require(after.colors.at(i) == before.colors.at(old) &&
                    after.readable.at(i) == before.readable.at(old),
                "every other scheme keeps its colours",
                [&] { return QStringLiteral("index %1").arg(i); });
    }
    for (const QString& temporary : {SchemeStore::NamesTempFile, SchemeStore::ColorsTempFile})
        require(!QFile::exists(store.filePath(temporary)),
                "no temporary scheme file is left behind");
}

} // namespace

void CheckPaletteIndex(const QString& scratchFolder, QByteArrayView input)
{
    emptyFolder(scratchFolder);
    const QByteArray original = input.toByteArray();
    IndexCase index;
    index.folder = scratchFolder;
    index.path = bascommon::DataFilePath(scratchFolder, paletteindex::IndexFileName());
    index.parsed = paletteindex::ParseEntries(original, &index.leftover);

    writeFile(index.path, original);
    const paletteindex::Reading before = paletteindex::Read(scratchFolder);
    require(readFile(index.path) == original, "reading leaves the index alone");
    checkReading(before, index, original);
    checkRepair(index, original, before);
    checkDeleteEntry(index, original);
    checkAppendEntry(index, original, before);
}

void CheckPaletteFile(const QString& scratchFolder, QByteArrayView input)
{
    emptyFolder(scratchFolder);
    const QByteArray content = input.toByteArray();
    const QString path = bascommon::DataFilePath(scratchFolder, QStringLiteral("c1.rgb"));
    writeFile(path, content);
    checkPages(path, content);
    requireOk(paletterecords::EnsureFileExists(path), "an existing palette is left as it is");
    require(readFile(path) == content, "making sure a palette exists does not change it");
    checkPaletteRewrites(scratchFolder, path, content);
}

namespace {

// Every named record of `palette` holds the colour of its name's line.
void checkNamesFit(const PaletteNames& names, const QByteArray& palette, const char* promise)
{
    for (auto it = names.named().cbegin(); it != names.named().cend(); ++it) {
        const qint64 at = (qint64(it.key()) - 1) * paletterecords::RecordLength;
        require(it.key() >= 1 && at + paletterecords::RecordLength <= palette.size(), promise);
        require(paletterecords::ParseRecord(
                    QByteArrayView(palette).sliced(at, paletterecords::RecordLength)) == it->color,
                promise);
        require(!it->name.isEmpty() && it->name.size() <= PaletteNames::MaxNameLength &&
                    PaletteNames::cleaned(it->name) == it->name,
                promise);
    }
}

} // namespace

void CheckPaletteNames(const QString& scratchFolder, QByteArrayView input)
{
    emptyFolder(scratchFolder);
    // Copies of a few colours, some lower-case, and a record that is none,
    // so that lines can pair early, late or not at all.
    const QByteArray palette = "FF0000AAAAAA00ff00AAAAAAZZ0000FF0000123456aaaaaaFF0000";
    const QString file = QStringLiteral("c1.rgb");
    writeFile(bascommon::DataFilePath(scratchFolder, file), palette);
    writeFile(bascommon::DataFilePath(scratchFolder, PaletteNames::fileFor(file)),
              input.toByteArray());

    PaletteNames names;
    requireOk(PaletteNames::read(scratchFolder, file, names), "a names file can always be read");
    checkNamesFit(names, palette, "a name pairs only with a record of its own colour");
    require(PaletteNames::paired(names.content(), palette) == names,
            "names written read back the same");

    PaletteNames deleted = names;
    deleted.recordDeleted(2, palette);
    QByteArray shorter = palette;
    shorter.remove(6, 6);
    checkNamesFit(deleted, shorter, "deleting a colour leaves names that fit");
    require(PaletteNames::paired(deleted.content(), shorter) == deleted,
            "names after deleting a colour read back the same");

    requireOk(namededits::ClearDuplicates(scratchFolder, file), "clearing duplicates works");
    const QByteArray kept = readFile(bascommon::DataFilePath(scratchFolder, file));
    PaletteNames cleared;
    requireOk(PaletteNames::read(scratchFolder, file, cleared), "names are read after clearing");
    checkNamesFit(cleared, kept, "clearing duplicates leaves names that fit");
    require(cleared.size() <= names.size(), "clearing duplicates adds no name");
}

void CheckSchemeNames(const QString& scratchFolder, QByteArrayView input)
{
    emptyFolder(scratchFolder);
    const QByteArray names = input.toByteArray();
    const SchemeStore store(scratchFolder);

    // One distinct record per name line, so that every move shows.
    const qsizetype lineCount = schemeformat::NameLines(names).size();
    QByteArray colors;
    for (qsizetype i = 0; i < lineCount; ++i)
        colors += schemeformat::EncodeRecord(coloursOfScheme(static_cast<int>(i)));
    writeSchemes(store, names, colors);

    const StoredSchemes before = readAll(store);
    require(before.names.size() == lineCount, "every line of two bytes or more is a name");
    require(std::all_of(before.readable.begin(), before.readable.end(), [](bool r) { return r; }),
            "every name has its record");
    for (int i = 0; i < std::min<int>(before.names.size(), MaxNamesChecked); ++i) {
        checkNameRoundTrip(before.names.at(i));
        require(before.colors.at(i) == coloursOfScheme(i), "name i goes with record i + 1");
    }

    // What the user might type: the first line of the input, as it stands.
    const qsizetype firstLineEnd = names.indexOf('\n');
    checkSave(store, before,
              textencoding::DecodeLine(names.left(firstLineEnd < 0 ? names.size() : firstLineEnd)));

    for (const qsizetype index : {qsizetype(0), lineCount / 2, lineCount - 1}) {
        if (index < 0 || index >= lineCount)
            continue;
        writeSchemes(store, names, colors);
        checkRemove(store, before, static_cast<int>(index));
    }
}

void CheckSchemeColors(const QString& scratchFolder, QByteArrayView input)
{
    emptyFolder(scratchFolder);
    const QByteArray colors = input.toByteArray();
    const SchemeStore store(scratchFolder);
    const QString colorsPath = store.filePath(SchemeStore::ColorsFile);

    // One name more than there are records, so that a missing record is read too.
    const int schemes = std::min<int>(colors.size() / RecordLength + 2, MaxRecordsChecked);
    QByteArray names;
    for (int i = 0; i < schemes; ++i)
        names += schemeformat::LineFromName(QStringLiteral("scheme %1").arg(i));
    writeSchemes(store, names, colors);

    for (int i = 0; i < schemes; ++i) {
        const QByteArray record = colors.mid(qsizetype(i) * RecordLength, RecordLength);
        SchemeColors read;
        const FileResult result = store.readColors(i, read);
        const schemeformat::DecodedRecord decoded = schemeformat::DecodeRecord(record);
        require(read == decoded.colors, "a scheme shows the fields of its record");
        require(result.ok == (record.size() == RecordLength && decoded.unreadableFields == 0),
                "reading a scheme fails exactly when its record is short or unreadable",
                [&] { return show(record); });
        for (int f = 0; f < schemeformat::FieldCount; ++f) {
            const QByteArray field =
                record.mid(f * schemeformat::FieldLength, schemeformat::FieldLength);
            bool hex = field.size() == schemeformat::FieldLength;
            for (char c : field)
                hex = hex && hexValue(c) >= 0;
            const Color value = hex ? static_cast<Color>(field.toUInt(nullptr, 16)) : 0;
            const Color fallback = f == 1 ? bascommon::White : bascommon::Black;
            const Color shown =
                std::array<Color, 6>{read.text,        read.background, read.normalLink,
                                     read.visitedLink, read.activeLink, read.hoverLink}[f];
            require(shown == (hex ? value : fallback),
                    "a field shows its six digits, or black text and links on white",
                    [&] { return show(field); });
        }
        const QByteArray encoded = schemeformat::EncodeRecord(read);
        require(encoded.size() == RecordLength && encoded == encoded.toUpper() &&
                    schemeformat::DecodeRecord(encoded).colors == read &&
                    schemeformat::DecodeRecord(encoded).unreadableFields == 0,
                "colours that were read are written back and read again unchanged",
                [&] { return show(encoded); });
    }

    const SchemeColors saved = coloursOfScheme(0xA5A5);
    requireOk(store.save(QStringLiteral("added"), saved), "saving into writable files succeeds");
    const QByteArray afterSave = readFile(colorsPath);
    const qsizetype offset = qsizetype(schemes) * RecordLength;
    QByteArray expected = colors.left(offset);
    expected += QByteArray(offset - expected.size(), ' ') + schemeformat::EncodeRecord(saved);
    expected += colors.mid(offset + RecordLength);
    require(afterSave == expected,
            "a saved record goes to its name's place, blank records filling any gap before it",
            [&] { return show(afterSave); });

    for (const int index : {0, schemes / 2, schemes - 1}) {
        writeSchemes(store, names, colors);
        requireOk(store.remove(index), "deleting a scheme from writable files succeeds");
        QByteArray kept;
        for (int i = 0; i < schemes; ++i)
            if (i != index)
                kept += colors.mid(qsizetype(i) * RecordLength, RecordLength);
        require(readFile(colorsPath) == kept,
                "deleting a scheme keeps the other names' records, and only those",
                [&] { return QStringLiteral("index %1").arg(index); });
    }
}

namespace {

// Whatever a reader made of a file: refused with a reason and no colours, or
// a palette within the bounds that every format able to hold it writes and
// reads back to the same colours in the same order.
// Names as a palette holds them: none, or one a colour, each a single line
// of bounded length in valid UTF-16.
void checkNames(const ExchangePalette& palette)
{
    require(palette.names.isEmpty() || palette.names.size() == palette.colors.size(),
            "a palette names no colour or every colour, position by position");
    for (const QString& name : palette.names) {
        require(name.size() <= exchangenames::MaxNameLength, "a name read stays within its bound");
        require(exchangenames::ReadName(name) == name, "a name read is one line of valid UTF-16",
                [&] { return name.left(80); });
    }
}

void checkImported(const ExchangeReading& reading)
{
    if (!reading.ok()) {
        require(reading.palette.colors.isEmpty(), "a refused file gives no colours");
        return;
    }
    require(reading.palette.colors.size() <= paletteexchange::MaxColors,
            "an imported palette stays within the colour limit");
    checkNames(reading.palette);
    for (const paletteexchange::Format format : paletteexchange::ExportFormats()) {
        if (!paletteexchange::ExportProblem(format, reading.palette).isEmpty())
            continue;
        const QByteArray written = paletteexchange::Encode(format, reading.palette);
        const ExchangeReading again = paletteexchange::Decode(written);
        require(again.ok(), "a palette written for export imports again", [&] {
            return paletteexchange::ExtensionOf(format) + QStringLiteral(": ") + again.problem;
        });
        require(again.palette.colors == reading.palette.colors,
                "the colours of an exported palette import unchanged", [&] {
                    return paletteexchange::ExtensionOf(format) + QStringLiteral(": ") +
                           show(written.left(200));
                });
        checkNames(again.palette);
        if (format == paletteexchange::Format::Json)
            continue;
        // Once a format has made the names valid for it, they keep.
        const ExchangeReading twice =
            paletteexchange::Decode(paletteexchange::Encode(format, again.palette));
        require(twice.palette.names == again.palette.names,
                "names written and read once read back unchanged", [&] {
                    return paletteexchange::ExtensionOf(format) + QStringLiteral(": ") +
                           show(written.left(200));
                });
    }
}

} // namespace

void CheckExchangeFile(const QString& scratchFolder, QByteArrayView input)
{
    Q_UNUSED(scratchFolder);
    checkImported(paletteexchange::Decode(input));
}

void CheckPhotoshopSwatches(const QString& scratchFolder, QByteArrayView input)
{
    Q_UNUSED(scratchFolder);
    checkImported(photoshopswatches::Read(input));
}

void CheckOfficePalette(const QString& scratchFolder, QByteArrayView input)
{
    Q_UNUSED(scratchFolder);
    checkImported(officepalette::Read(input));
}

void CheckSketchPalette(const QString& scratchFolder, QByteArrayView input)
{
    Q_UNUSED(scratchFolder);
    checkImported(sketchpalette::Read(input));
}

void CheckDesignTokens(const QString& scratchFolder, QByteArrayView input)
{
    Q_UNUSED(scratchFolder);
    checkImported(designtokens::Read(input));
}

void CheckStyleSheetHarvest(const QString& scratchFolder, QByteArrayView input)
{
    Q_UNUSED(scratchFolder);
    for (const ExchangeReading& reading :
         {stylesheetharvest::FromStyleSheet(input), stylesheetharvest::FromWebPage(input)}) {
        const QSet<Color> distinct(reading.palette.colors.begin(), reading.palette.colors.end());
        require(distinct.size() == reading.palette.colors.size(),
                "a harvested palette holds each colour once");
        checkImported(reading);
    }
}

void CheckStyleSheetVariables(const QString& scratchFolder, QByteArrayView input)
{
    Q_UNUSED(scratchFolder);
    if (std::optional<ExchangePalette> palette = stylesheetpalette::ReadWritten(input)) {
        ExchangeReading reading;
        reading.palette = std::move(*palette);
        checkImported(reading);
    }
}

void CheckColorText(const QString&, QByteArrayView input)
{
    const QString text = QString::fromUtf8(input);
    const colorparser::ParseResult result = colorparser::Parse(text);
    if (!result.ok) {
        require(!result.message.isEmpty(), "a refused text is told why");
        return;
    }
    require(result.color <= 0xFFFFFFu, "a colour read has three channels only");
    for (const notations::Notation notation :
         {notations::Notation::Oklch, notations::Notation::Hex}) {
        const QString written = notations::Format(notation, result.color);
        const colorparser::ParseResult back = colorparser::Parse(written);
        if (!back.ok || back.color != result.color)
            fail("a colour read reads back from its own notation",
                 text + QStringLiteral(" -> ") + written);
    }
}

Check CheckNamed(const QString& target)
{
    if (target == QLatin1String("colortext"))
        return &CheckColorText;
    if (target == QLatin1String("exchange"))
        return &CheckExchangeFile;
    if (target == QLatin1String("aco"))
        return &CheckPhotoshopSwatches;
    if (target == QLatin1String("soc"))
        return &CheckOfficePalette;
    if (target == QLatin1String("sketch"))
        return &CheckSketchPalette;
    if (target == QLatin1String("tokens"))
        return &CheckDesignTokens;
    if (target == QLatin1String("stylesheet"))
        return &CheckStyleSheetVariables;
    if (target == QLatin1String("harvest"))
        return &CheckStyleSheetHarvest;
    if (target == QLatin1String("paletteindex"))
        return &CheckPaletteIndex;
    if (target == QLatin1String("paletterecords"))
        return &CheckPaletteFile;
    if (target == QLatin1String("palettenames"))
        return &CheckPaletteNames;
    if (target == QLatin1String("schemenames"))
        return &CheckSchemeNames;
    if (target == QLatin1String("schemecolors"))
        return &CheckSchemeColors;
    return nullptr;
}

} // namespace fuzzchecks
