#include "palettes/PaletteIndex.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

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

QTEST_GUILESS_MAIN(tst_paletteindex)
#include "tst_paletteindex.moc"
