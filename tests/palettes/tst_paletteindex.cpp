#include "palettes/PaletteIndex.h"

#include "app/DataFolderAccess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include "tests/palettes/PaletteTestFiles.h"

using namespace palettetest;
using namespace paletteindex;

namespace {

// An index of entries given as "file|name|kind".
QByteArray indexOf(const QStringList& entries)
{
    QByteArray content;
    for (const QString& entry : entries)
        for (const QString& line : entry.split(QLatin1Char('|')))
            content += line.toLatin1() + "\r\n";
    return content;
}

const QStringList Standard = {
    QStringLiteral("mycolor.rgb|My Colors|0"),
    QStringLiteral("recent.rgb|Recent Colors|0"),
    QStringLiteral("c1.rgb|Web|2"),
    QStringLiteral("c4.rgb|Mine|1"),
    QStringLiteral("c7.rgb|Last|1"),
};

QStringList filesOf(const Reading& reading)
{
    QStringList files;
    for (const Entry& entry : reading.entries)
        files.append(entry.file);
    return files;
}

// Every file below `root` with its bytes.
QMap<QString, QByteArray> filesBelow(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path), readAll(path));
    }
    return files;
}

class IndexFolder
{
public:
    explicit IndexFolder(const QByteArray& index) { writeAll(indexPath(), index); }
    QString path() const { return m_dir.path(); }
    QString indexPath() const { return m_dir.filePath(QStringLiteral("colorchart.cci")); }
    QByteArray index() const { return readAll(indexPath()); }

private:
    QTemporaryDir m_dir;
};

// Runs one reading or rewrite of the index in a folder; its message.
using IndexCommand = std::function<QString(const QString&)>;

} // namespace

Q_DECLARE_METATYPE(IndexCommand)

class tst_paletteindex : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void splitLines_data();
    void splitLines();
    void repair_removesBlankLinesKeepingSpaces();
    void repair_soundIndex_isNotRewritten();
    void repair_blockedTemporaryFile_keepsIndex();
    void read_standardIndex();
    void read_kindAndNameKeepTheirText();
    void read_latin1Names();
    void deleteEntry_data();
    void deleteEntry();
    void deleteEntry_leftoverTemporaryFile_isNotUsed();
    void nextFileName_data();
    void nextFileName();
    void nextFileName_afterDeletingTheLastPalette_isReused();
    void read_malformedIndex_data();
    void read_malformedIndex();
    void read_missingIndex_reportsIt();
    void isPlainFileName_data();
    void isPlainFileName();
    void appendEntry_data();
    void appendEntry();
    void appendEntry_missingIndex_isNotCreated();
    void shippedIndex_meetsTheInvariants();
    void repair_blankLinesInsideEntries_keepEntriesPaired_data();
    void repair_blankLinesInsideEntries_keepEntriesPaired();
    void deleteEntry_afterAnEmptyKind_keepsEntriesPaired();
    void read_onlyPaletteFilesListedOnce_data();
    void read_onlyPaletteFilesListedOnce();
    void read_longNameIsCutAndReported();
    void read_manyProblems_listsTheFirstOnes();
    void indexThatIsALink_isRefused_data();
    void indexThatIsALink_isRefused();
};

void tst_paletteindex::splitLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("LF") << QByteArray("a\nb\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QList<QByteArray>{"a", "b"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QList<QByteArray>{"a", "b"};
    QTest::newRow("empty lines kept")
        << QByteArray("a\r\n\r\n  \r\nb") << QList<QByteArray>{"a", "", "  ", "b"};
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
}

void tst_paletteindex::splitLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(SplitLines(content), lines);
}

void tst_paletteindex::repair_removesBlankLinesKeepingSpaces()
{
    IndexFolder folder("\r\n  c1.rgb \r\n   \r\n\r\n My  Name \r\n\t\r\n1\n");
    QVERIFY(Repair(folder.path()).ok);
    // A tab is not a space: that line is not blank.
    QCOMPARE(folder.index(), QByteArray("  c1.rgb \r\n My  Name \r\n\t\r\n1\r\n"));
    QVERIFY(!QFile::exists(QDir(folder.path()).filePath(QStringLiteral("colorchart.cct"))));
}

void tst_paletteindex::repair_soundIndex_isNotRewritten()
{
    // With a folder in the way of the temporary file, any rewrite would fail.
    IndexFolder folder(indexOf(Standard));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("colorchart.cct")));
    QVERIFY(Repair(folder.path()).ok);
    QCOMPARE(folder.index(), indexOf(Standard));
}

void tst_paletteindex::repair_blockedTemporaryFile_keepsIndex()
{
    const QByteArray damaged = "c1.rgb\r\n\r\nName\r\n1\r\n";
    IndexFolder folder(damaged);
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("colorchart.cct")));
    const FileResult result = Repair(folder.path());
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QStringLiteral("colorchart.cct")), qPrintable(result.message));
    QCOMPARE(folder.index(), damaged);
    // Reading does not depend on the repair having been written.
    const Reading reading = Read(folder.path());
    QCOMPARE(filesOf(reading), QStringList{QStringLiteral("c1.rgb")});
}

void tst_paletteindex::read_standardIndex()
{
    IndexFolder folder(indexOf(Standard));
    const Reading reading = Read(folder.path());
    QVERIFY2(reading.problems.isEmpty(), qPrintable(reading.problems));
    QCOMPARE(filesOf(reading),
             (QStringList{"mycolor.rgb", "recent.rgb", "c1.rgb", "c4.rgb", "c7.rgb"}));
    QCOMPARE(reading.entries.at(2).name, QStringLiteral("Web"));
    QCOMPARE(reading.entries.at(2).kind, QStringLiteral("2"));
    QCOMPARE(reading.entries.at(4).position, 5);
    QCOMPARE(reading.nextFileName, QStringLiteral("c8.rgb"));
}

void tst_paletteindex::read_kindAndNameKeepTheirText()
{
    IndexFolder folder("c1.rgb\r\n  Spaced  Name \r\n 2 \r\n");
    const Reading reading = Read(folder.path());
    QCOMPARE(reading.entries.size(), 1);
    QCOMPARE(reading.entries.at(0).name, QStringLiteral("  Spaced  Name "));
    QCOMPARE(reading.entries.at(0).kind, QStringLiteral(" 2 "));
}

void tst_paletteindex::read_latin1Names()
{
    IndexFolder folder("c1.rgb\r\nCaf\xe9 Colours\r\n1\r\n");
    QCOMPARE(Read(folder.path()).entries.at(0).name, QStringLiteral("Caf\u00e9 Colours"));
}

void tst_paletteindex::deleteEntry_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first") << 1 << QStringList{"recent.rgb", "c1.rgb", "c4.rgb", "c7.rgb"};
    QTest::newRow("below one drops the first")
        << 0 << QStringList{"recent.rgb", "c1.rgb", "c4.rgb", "c7.rgb"};
    QTest::newRow("middle") << 3 << QStringList{"mycolor.rgb", "recent.rgb", "c4.rgb", "c7.rgb"};
    QTest::newRow("last") << 5 << QStringList{"mycolor.rgb", "recent.rgb", "c1.rgb", "c4.rgb"};
    QTest::newRow("beyond the end")
        << 6 << QStringList{"mycolor.rgb", "recent.rgb", "c1.rgb", "c4.rgb", "c7.rgb"};
}

void tst_paletteindex::deleteEntry()
{
    QFETCH(int, position);
    QFETCH(QStringList, remaining);
    IndexFolder folder(indexOf(Standard));
    QVERIFY(DeleteEntry(folder.path(), position).ok);
    QCOMPARE(filesOf(Read(folder.path())), remaining);
    // The entries kept are byte for byte what they were.
    QStringList kept = Standard;
    kept.removeIf([&remaining](const QString& entry) {
        return !remaining.contains(entry.section('|', 0, 0));
    });
    QCOMPARE(folder.index(), indexOf(kept));
}

void tst_paletteindex::deleteEntry_leftoverTemporaryFile_isNotUsed()
{
    // An interrupted earlier rewrite left its temporary index behind.
    IndexFolder folder(indexOf(Standard));
    writeAll(QDir(folder.path()).filePath(QStringLiteral("colorchart.cct")),
             indexOf({"c99.rgb|Stale|1"}));
    QVERIFY(DeleteEntry(folder.path(), 4).ok);
    QCOMPARE(filesOf(Read(folder.path())),
             (QStringList{"mycolor.rgb", "recent.rgb", "c1.rgb", "c7.rgb"}));
    QVERIFY(!QFile::exists(QDir(folder.path()).filePath(QStringLiteral("colorchart.cct"))));
}

void tst_paletteindex::nextFileName_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("next");
    QTest::newRow("no palettes") << QStringList{} << "c1.rgb";
    QTest::newRow("after the last")
        << QStringList{"mycolor.rgb", "recent.rgb", "c7.rgb"} << "c8.rgb";
    QTest::newRow("only the last counts") << QStringList{"c20.rgb", "c7.rgb"} << "c8.rgb";
    QTest::newRow("leading zeros") << QStringList{"c007.rgb"} << "c8.rgb";
    QTest::newRow("upper case") << QStringList{"C12.RGB"} << "c13.rgb";
    QTest::newRow("last malformed: highest")
        << QStringList{"c3.rgb", "c9.rgb", "odd.rgb"} << "c10.rgb";
    QTest::newRow("last malformed, none numbered")
        << QStringList{"mycolor.rgb", "recent.rgb"} << "c1.rgb";
    QTest::newRow("number in use is skipped")
        << QStringList{"c3.rgb", "c4.rgb", "c2.rgb"} << "c5.rgb";
    QTest::newRow("letters in the number") << QStringList{"c5.rgb", "c1x.rgb"} << "c6.rgb";
    QTest::newRow("no number") << QStringList{"c2.rgb", "c.rgb"} << "c3.rgb";
}

void tst_paletteindex::nextFileName()
{
    QFETCH(QStringList, files);
    QFETCH(QString, next);
    QCOMPARE(NextFileName(files), next);
}

void tst_paletteindex::nextFileName_afterDeletingTheLastPalette_isReused()
{
    IndexFolder folder(indexOf(Standard));
    QCOMPARE(Read(folder.path()).nextFileName, QStringLiteral("c8.rgb"));
    QVERIFY(DeleteEntry(folder.path(), 5).ok);
    QCOMPARE(Read(folder.path()).nextFileName, QStringLiteral("c5.rgb"));
}

void tst_paletteindex::read_malformedIndex_data()
{
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QStringList>("mentions");
    QTest::newRow("one line left over")
        << (indexOf({"mycolor.rgb|A|0", "c3.rgb|B|1", "c9.rgb|C|1"}) + "c12.rgb\r\n")
        << QStringList{"mycolor.rgb", "c3.rgb", "c9.rgb"} << "c10.rgb"
        << QStringList{"one of its lines"};
    QTest::newRow("two lines left over")
        << (indexOf({"c2.rgb|A|1"}) + "c5.rgb\r\nName\r\n") << QStringList{"c2.rgb"} << "c3.rgb"
        << QStringList{"two of its lines"};
    QTest::newRow("last entry not numbered")
        << indexOf({"c4.rgb|A|1", "c2.rgb|B|1", "mine.rgb|C|1"})
        << QStringList{"c4.rgb", "c2.rgb", "mine.rgb"} << "c5.rgb" << QStringList{"\"mine.rgb\""};
    QTest::newRow("unsafe file names left out")
        << indexOf({"c1.rgb|A|1", "../outside.rgb|Out|1", "/etc/passwd|Abs|1", "sub\\x.rgb|Sub|1",
                    "..|Up|1", "colorchart.cci|Self|1", "c2.rgb|B|1"})
        << QStringList{"c1.rgb", "c2.rgb"} << "c3.rgb"
        << QStringList{"Entry 2", "\"../outside.rgb\"", "Entry 3", "Entry 4", "Entry 5", "Entry 6"};
    QTest::newRow("no entry at all")
        << QByteArray("\r\n  \r\n") << QStringList{} << "c1.rgb" << QStringList{"no palette"};
}

void tst_paletteindex::read_malformedIndex()
{
    QFETCH(QByteArray, index);
    QFETCH(QStringList, files);
    QFETCH(QString, next);
    QFETCH(QStringList, mentions);
    IndexFolder folder(index);
    const Reading reading = Read(folder.path());
    QCOMPARE(filesOf(reading), files);
    QCOMPARE(reading.nextFileName, next);
    // One message naming the index file describes every problem.
    QVERIFY2(reading.problems.contains(QDir::toNativeSeparators(folder.indexPath())),
             qPrintable(reading.problems));
    for (const QString& mention : mentions)
        QVERIFY2(reading.problems.contains(mention), qPrintable(reading.problems));
    QCOMPARE(folder.index(), index);
}

void tst_paletteindex::read_missingIndex_reportsIt()
{
    QTemporaryDir dir;
    const Reading reading = Read(dir.path());
    QVERIFY(reading.entries.isEmpty());
    QVERIFY2(reading.problems.contains(QStringLiteral("colorchart.cci")),
             qPrintable(reading.problems));
    QCOMPARE(reading.nextFileName, QStringLiteral("c1.rgb"));
}

void tst_paletteindex::isPlainFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");
    QTest::newRow("palette") << "c12.rgb" << true;
    QTest::newRow("spaces inside and around") << " my file.rgb " << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("parent path") << "../c1.rgb" << false;
    QTest::newRow("absolute") << "/tmp/c1.rgb" << false;
    QTest::newRow("backslash") << "..\\c1.rgb" << false;
    QTest::newRow("drive") << "C:c1.rgb" << false;
    QTest::newRow("the index") << "colorchart.cci" << false;
    QTest::newRow("the index's temporary file") << "COLORCHART.CCT" << false;
}

void tst_paletteindex::isPlainFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, plain);
    QCOMPARE(IsPlainFileName(name), plain);
}

void tst_paletteindex::appendEntry_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("appended at the end")
        << indexOf({"c1.rgb|A|1"}) << "New" << indexOf({"c1.rgb|A|1", "c2.rgb|New|1"});
    QTest::newRow("last line without its line end")
        << QByteArray("c1.rgb\r\nA\r\n1") << "New" << indexOf({"c1.rgb|A|1", "c2.rgb|New|1"});
    QTest::newRow("goes before stray lines")
        << (indexOf({"c1.rgb|A|1"}) + "stray\r\n") << "New"
        << (indexOf({"c1.rgb|A|1", "c2.rgb|New|1"}) + "stray\r\n");
    QTest::newRow("line breaks in the name") << indexOf({"c1.rgb|A|1"}) << "Two\r\nLines\n"
                                             << indexOf({"c1.rgb|A|1", "c2.rgb|Two  Lines |1"});
}

void tst_paletteindex::appendEntry()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, name);
    QFETCH(QByteArray, after);
    IndexFolder folder(before);
    QVERIFY(AppendEntry(folder.path(), QStringLiteral("c2.rgb"), name, QStringLiteral("1")).ok);
    QCOMPARE(folder.index(), after);
    const Reading reading = Read(folder.path());
    QCOMPARE(reading.entries.constLast().file, QStringLiteral("c2.rgb"));
    QCOMPARE(reading.entries.constLast().kind, QStringLiteral("1"));
}

void tst_paletteindex::appendEntry_missingIndex_isNotCreated()
{
    QTemporaryDir dir;
    const FileResult result =
        AppendEntry(dir.path(), QStringLiteral("c1.rgb"), QStringLiteral("A"), QStringLiteral("1"));
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QStringLiteral("colorchart.cci")), qPrintable(result.message));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("colorchart.cci"))));
}

void tst_paletteindex::shippedIndex_meetsTheInvariants()
{
    const QString shipped = QStringLiteral(TINTORA_SOURCE_DATA_DIR);
    const Reading reading = Read(shipped);
    QVERIFY2(reading.problems.isEmpty(), qPrintable(reading.problems));
    const QStringList files = filesOf(reading);
    QVERIFY(files.size() >= 3);
    QCOMPARE(files.at(0), QStringLiteral("mycolor.rgb"));
    QCOMPARE(files.at(1), QStringLiteral("recent.rgb"));
    QVERIFY(UserPaletteNumber(files.constLast()).has_value());
    QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), files.size());
    for (const Entry& entry : reading.entries) {
        QVERIFY(!entry.name.trimmed().isEmpty());
        QVERIFY2(QStringList({"0", "1", "2"}).contains(entry.kind), qPrintable(entry.kind));
        if (entry.file != QLatin1String("recent.rgb")) {
            const qint64 size = QFileInfo(QDir(shipped).filePath(entry.file)).size();
            QVERIFY2(size % 6 == 0, qPrintable(entry.file));
        }
    }
    QVERIFY(!QFile::exists(QDir(shipped).filePath(QStringLiteral("recent.rgb"))));
}

void tst_paletteindex::repair_blankLinesInsideEntries_keepEntriesPaired_data()
{
    QTest::addColumn<QByteArray>("index");
    // Each entry as file|name|kind, as the entries must stay paired.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("repaired");
    QTest::newRow("empty kind, later entries follow")
        << QByteArray("c1.rgb\r\nFirst\r\n\r\nc2.rgb\r\nSecond\r\n1\r\nc3.rgb\r\nThird\r\n2\r\n")
        << QStringList{"c1.rgb|First|", "c2.rgb|Second|1", "c3.rgb|Third|2"}
        << QByteArray("c1.rgb\r\nFirst\r\n\r\nc2.rgb\r\nSecond\r\n1\r\nc3.rgb\r\nThird\r\n2\r\n");
    QTest::newRow("kind of spaces, then stray blank lines")
        << QByteArray("c1.rgb\r\nFirst\r\n   \r\n\r\n\r\nc2.rgb\r\nSecond\r\n1\r\n")
        << QStringList{"c1.rgb|First|   ", "c2.rgb|Second|1"}
        << QByteArray("c1.rgb\r\nFirst\r\n   \r\nc2.rgb\r\nSecond\r\n1\r\n");
    QTest::newRow("empty kind of the last entry")
        << QByteArray("c1.rgb\r\nFirst\r\n1\r\nc2.rgb\r\nSecond\r\n\r\n")
        << QStringList{"c1.rgb|First|1", "c2.rgb|Second|"}
        << QByteArray("c1.rgb\r\nFirst\r\n1\r\nc2.rgb\r\nSecond\r\n\r\n");
    QTest::newRow("empty name") << QByteArray("c1.rgb\r\n\r\n1\r\nc2.rgb\r\nSecond\r\n1\r\n")
                                << QStringList{"c1.rgb||1", "c2.rgb|Second|1"}
                                << QByteArray("c1.rgb\r\n\r\n1\r\nc2.rgb\r\nSecond\r\n1\r\n");
    QTest::newRow("stray line before the kind is removed")
        << QByteArray("c1.rgb\r\nFirst\r\n\r\n1\r\nc2.rgb\r\nSecond\r\n1\r\n")
        << QStringList{"c1.rgb|First|1", "c2.rgb|Second|1"}
        << QByteArray("c1.rgb\r\nFirst\r\n1\r\nc2.rgb\r\nSecond\r\n1\r\n");
    QTest::newRow("stray line before the name is removed")
        << QByteArray("c1.rgb\r\n\r\nFirst\r\n1\r\n") << QStringList{"c1.rgb|First|1"}
        << QByteArray("c1.rgb\r\nFirst\r\n1\r\n");
    QTest::newRow("name and kind alike: the line is stray")
        << QByteArray("c1.rgb\r\n\r\n1\r\n2\r\n") << QStringList{"c1.rgb|1|2"}
        << QByteArray("c1.rgb\r\n1\r\n2\r\n");
    QTest::newRow("unusual kind after a stray line")
        << QByteArray("c1.rgb\r\nFirst\r\n\r\nx\r\nc2.rgb\r\nSecond\r\n1\r\n")
        << QStringList{"c1.rgb|First|x", "c2.rgb|Second|1"}
        << QByteArray("c1.rgb\r\nFirst\r\nx\r\nc2.rgb\r\nSecond\r\n1\r\n");
    QTest::newRow("byte-order mark kept before the first entry")
        << QByteArray("\xEF\xBB\xBFmycolor.rgb\r\n\r\nMine\r\n0\r\n")
        << QStringList{"mycolor.rgb|Mine|0"}
        << QByteArray("\xEF\xBB\xBFmycolor.rgb\r\nMine\r\n0\r\n");
}

void tst_paletteindex::repair_blankLinesInsideEntries_keepEntriesPaired()
{
    QFETCH(QByteArray, index);
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, repaired);
    IndexFolder folder(index);
    QVERIFY(Repair(folder.path()).ok);
    QCOMPARE(folder.index(), repaired);
    // On disk, every file keeps its own name and kind.
    QStringList paired;
    for (const Entry& entry : ParseEntries(folder.index()))
        paired.append(entry.file + '|' + entry.name + '|' + entry.kind);
    QCOMPARE(paired, entries);
    // A kept empty line is reported, naming its entry.
    const Reading reading = Read(folder.path());
    if (index.contains("\r\n\r\n") && index == repaired)
        QVERIFY2(reading.problems.contains(QStringLiteral("has an empty")),
                 qPrintable(reading.problems));
}

void tst_paletteindex::deleteEntry_afterAnEmptyKind_keepsEntriesPaired()
{
    IndexFolder folder("c1.rgb\r\nFirst\r\n\r\nc2.rgb\r\nSecond\r\n1\r\nc3.rgb\r\nThird\r\n1\r\n");
    QVERIFY(DeleteEntry(folder.path(), 2).ok);
    QCOMPARE(folder.index(), QByteArray("c1.rgb\r\nFirst\r\n\r\nc3.rgb\r\nThird\r\n1\r\n"));
    QVERIFY(AppendEntry(folder.path(), QStringLiteral("c4.rgb"), QStringLiteral("Fourth"),
                        QStringLiteral("1"))
                .ok);
    const QList<Entry> entries = ParseEntries(folder.index());
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0).kind, QString());
    QCOMPARE(entries.at(2).name, QStringLiteral("Fourth"));
}

void tst_paletteindex::read_onlyPaletteFilesListedOnce_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("palette");
    QTest::newRow("user palette") << "c12.rgb" << true;
    QTest::newRow("upper-case extension") << "Mine.RGB" << true;
    QTest::newRow("scheme colours") << "colorset.dat" << false;
    QTest::newRow("scheme names") << "set.hcs" << false;
    QTest::newRow("help file") << "tintora.chm" << false;
    QTest::newRow("temporary file of a deletion") << "c4.rgb.ctm" << false;
    QTest::newRow("temporary file of clearing") << "c4.rgb.tmp" << false;
    QTest::newRow("the lock file") << ".tintora.lock" << false;
    QTest::newRow("ends in a space") << "c5.rgb " << false;
    QTest::newRow("starts with a space") << " c5.rgb" << false;
    QTest::newRow("extension alone") << ".rgb" << false;
    QTest::newRow("control character") << "c\t5.rgb" << false;
    QTest::newRow("longer than a file name can be")
        << QString(300, QLatin1Char('c')) + ".rgb" << false;
}

void tst_paletteindex::read_onlyPaletteFilesListedOnce()
{
    QFETCH(QString, file);
    QFETCH(bool, palette);
    QCOMPARE(IsPaletteFileName(file), palette);
    // Listed after the same file under another case, it is left out too.
    IndexFolder folder(indexOf({"mycolor.rgb|My Colors|0", "recent.rgb|Recent|0", file + "|Entry|1",
                                "RECENT.rgb|Again|1", "c9.rgb|Last|1"}));
    const Reading reading = Read(folder.path());
    const QStringList expected = palette ? QStringList{"mycolor.rgb", "recent.rgb", file, "c9.rgb"}
                                         : QStringList{"mycolor.rgb", "recent.rgb", "c9.rgb"};
    QCOMPARE(filesOf(reading), expected);
    QVERIFY2(reading.problems.contains(QStringLiteral(
                 "Entry 4 (\"Again\") names the file \"RECENT.rgb\", which entry 2 lists already")),
             qPrintable(reading.problems));
    if (!palette)
        QVERIFY2(reading.problems.contains(QStringLiteral("Entry 3 (\"Entry\")")),
                 qPrintable(reading.problems));
}

void tst_paletteindex::read_longNameIsCutAndReported()
{
    const QString name = QString(5000, QLatin1Char('n'));
    IndexFolder folder(indexOf({"c1.rgb|" + name + "|1"}));
    const Reading reading = Read(folder.path());
    QCOMPARE(reading.entries.at(0).name, name.left(1000));
    QVERIFY2(reading.problems.contains(QStringLiteral("longer than 1000 characters")),
             qPrintable(reading.problems.left(500)));
    // The file keeps the whole name.
    QCOMPARE(ParseEntries(folder.index()).at(0).name, name);
}

void tst_paletteindex::read_manyProblems_listsTheFirstOnes()
{
    // A damaged index of 20,000 entries, none of a palette file.
    QStringList entries;
    for (int i = 0; i < 20000; ++i)
        entries.append(QStringLiteral("x%1.dat|Name %1|1").arg(i));
    IndexFolder folder(indexOf(entries));
    const Reading reading = Read(folder.path());
    QVERIFY(reading.entries.isEmpty());
    QCOMPARE(reading.problems.count(QLatin1Char('\n')), MaxListedProblems + 1);
    QVERIFY2(
        reading.problems.endsWith(QStringLiteral("and 19901 more problems of the same kinds.")),
        qPrintable(reading.problems.right(200)));
}

void tst_paletteindex::indexThatIsALink_isRefused_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<IndexCommand>("run");
    QTest::newRow("read") << "read the palette index" << IndexCommand([](const QString& folder) {
        const Reading reading = Read(folder);
        return reading.entries.isEmpty() && reading.unreadable
                   ? reading.problems
                   : QStringLiteral("entries read through the link");
    });
    QTest::newRow("repair") << "repair the palette index"
                            << IndexCommand(
                                   [](const QString& folder) { return Repair(folder).message; });
    QTest::newRow("delete") << "delete the palette from" << IndexCommand([](const QString& folder) {
        return DeleteEntry(folder, 1).message;
    });
    QTest::newRow("append") << "add the palette to" << IndexCommand([](const QString& folder) {
        return AppendEntry(folder, QStringLiteral("c3.rgb"), QStringLiteral("C"),
                           QStringLiteral("1"))
            .message;
    });
    QTest::newRow("insert") << "add the palette to" << IndexCommand([](const QString& folder) {
        return InsertEntry(folder, 1, QStringLiteral("c3.rgb"), QStringLiteral("C"),
                           QStringLiteral("1"))
            .message;
    });
}

void tst_paletteindex::indexThatIsALink_isRefused()
{
    QFETCH(QString, action);
    QFETCH(IndexCommand, run);
    QTemporaryDir outside;
    const QString target = QDir(outside.path()).filePath(QStringLiteral("elsewhere.cci"));
    // A blank line, which a repair would remove.
    writeAll(target, "c1.rgb\r\n\r\nA\r\n1\r\nc2.rgb\r\nB\r\n1\r\n");
    const QMap<QString, QByteArray> outsideBefore = filesBelow(outside.path());
    QTemporaryDir dir;
    const QString index = QDir(dir.path()).filePath(QStringLiteral("colorchart.cci"));
    QVERIFY(QFile::link(target, index));

    // Neither read nor written through: refused in the words of every link.
    QCOMPARE(run(dir.path()), datafiles::LinkRefusalTo(action, index, target));
    QCOMPARE(filesBelow(outside.path()), outsideBefore);
    QCOMPARE(QFileInfo(index).symLinkTarget(), target);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             QStringList{QStringLiteral("colorchart.cci")});
}

QTEST_GUILESS_MAIN(tst_paletteindex)
#include "tst_paletteindex.moc"
