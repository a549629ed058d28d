#include "palettes/PaletteRecords.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/palettes/PaletteTestFiles.h"

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

using namespace palettetest;
using namespace paletterecords;

namespace {

QByteArray records(const QList<QByteArray>& list)
{
    QByteArray content;
    for (const QByteArray& record : list)
        content += record;
    return content;
}

} // namespace

class tst_paletterecords : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void parseRecord_data();
    void parseRecord();
    void countRecords_data();
    void countRecords();
    void pageCount_data();
    void pageCount();
    void cellMapping_data();
    void cellMapping();
    void readPage_showsNewestFirst_data();
    void readPage_showsNewestFirst();
    void readPage_unreadableRecord_isMarkedAndFileKept();
    void readPage_fileShrankSinceCounting_showsEmptyCells();
    void deleteRecord_data();
    void deleteRecord();
    void deleteRecord_recordGone_reportsAndKeepsFile();
    void clearDuplicates_data();
    void clearDuplicates();
    void clearDuplicates_largePaletteKeepsOldestCopies();
    void rewrite_folderInTheWay_keepsPalette_data();
    void rewrite_folderInTheWay_keepsPalette();
    void clearAll_removesFileAndToleratesMissing();
    void streamedRewrite_acrossBlocks_data();
    void streamedRewrite_acrossBlocks();
    void streamedRewrite_cancelled_leavesFileAsItWas_data();
    void streamedRewrite_cancelled_leavesFileAsItWas();
    void deleteRecord_sparsePalette_staysSparse();
    void clearDuplicates_recordsThatAreNotColours();
    void removeLeftoverTemporaryFiles_removesOnlyThem();
    void ensureFileExists_createsEmptyButKeepsExisting();
    void readColors_data();
    void readColors();
    void recordsOf_readBackAsTheSameColors();
};

void tst_paletterecords::parseRecord_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<Color>("colour");
    QTest::newRow("upper case") << QByteArray("0A0B0C") << true << bascommon::MakeColor(10, 11, 12);
    QTest::newRow("lower case") << QByteArray("ff8000") << true
                                << bascommon::MakeColor(255, 128, 0);
    QTest::newRow("mixed case") << QByteArray("fFfFfF") << true << bascommon::White;
    QTest::newRow("black") << QByteArray("000000") << true << bascommon::Black;
    QTest::newRow("letters beyond F") << QByteArray("ZZ0000") << false << Color(0);
    QTest::newRow("space padding") << QByteArray("F 0000") << false << Color(0);
    QTest::newRow("sign") << QByteArray("-10000") << false << Color(0);
    QTest::newRow("short") << QByteArray("FFFFF") << false << Color(0);
}

void tst_paletterecords::parseRecord()
{
    QFETCH(QByteArray, record);
    QFETCH(bool, readable);
    QFETCH(Color, colour);
    const std::optional<Color> parsed = ParseRecord(record);
    QCOMPARE(parsed.has_value(), readable);
    if (readable)
        QCOMPARE(*parsed, colour);
}

void tst_paletterecords::countRecords_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("two records") << 12 << 2;
    QTest::newRow("torn last record") << 17 << 2;
    QTest::newRow("missing file") << -1 << 0;
}

void tst_paletterecords::countRecords()
{
    QFETCH(int, bytes);
    QFETCH(int, count);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    if (bytes >= 0)
        writeAll(path, QByteArray(bytes, 'A'));
    QCOMPARE(CountRecords(path), count);
}

void tst_paletterecords::pageCount_data()
{
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("pages");
    QTest::newRow("empty palette still has a page") << 0 << 1;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("a full page") << 216 << 1;
    QTest::newRow("one over") << 217 << 2;
    QTest::newRow("500") << 500 << 3;
}

void tst_paletterecords::pageCount()
{
    QFETCH(int, colours);
    QFETCH(int, pages);
    QCOMPARE(PageCountFor(colours), pages);
}

void tst_paletterecords::cellMapping_data()
{
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("record");
    QTest::newRow("empty palette") << 0 << 1 << 0 << 0;
    QTest::newRow("216: newest first") << 216 << 1 << 0 << 216;
    QTest::newRow("216: oldest last") << 216 << 1 << 215 << 1;
    QTest::newRow("217: page 1 last cell") << 217 << 1 << 215 << 2;
    QTest::newRow("217: page 2 oldest") << 217 << 2 << 0 << 1;
    QTest::newRow("217: page 2 empty") << 217 << 2 << 1 << 0;
    QTest::newRow("500: page 1 cell 0") << 500 << 1 << 0 << 500;
    QTest::newRow("500: page 1 cell 215") << 500 << 1 << 215 << 285;
    QTest::newRow("500: page 3 cell 0") << 500 << 3 << 0 << 68;
    QTest::newRow("500: page 3 cell 67") << 500 << 3 << 67 << 1;
    QTest::newRow("500: page 3 cell 68") << 500 << 3 << 68 << 0;
}

void tst_paletterecords::cellMapping()
{
    QFETCH(int, colours);
    QFETCH(int, page);
    QFETCH(int, cell);
    QFETCH(int, record);
    QCOMPARE(RecordForCell(colours, page, cell), record);
}

void tst_paletterecords::readPage_showsNewestFirst_data()
{
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("page");
    QTest::newRow("empty") << 0 << 1;
    QTest::newRow("216") << 216 << 1;
    QTest::newRow("217 page 1") << 217 << 1;
    QTest::newRow("217 page 2") << 217 << 2;
    QTest::newRow("500 page 2") << 500 << 2;
    QTest::newRow("500 page 3") << 500 << 3;
    QTest::newRow("page beyond the end") << 500 << 4;
    QTest::newRow("page before the first") << 500 << 0;
}

void tst_paletterecords::readPage_showsNewestFirst()
{
    QFETCH(int, colours);
    QFETCH(int, page);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    writeAll(path, numberedPalette(colours));

    PageCells cells;
    QVERIFY(ReadPage(path, colours, page, cells).ok);
    for (int j = 0; j < CellsPerPage; ++j) {
        const qint32 record = RecordForCell(colours, page, j);
        const PageCell& cell = cells[static_cast<std::size_t>(j)];
        if (record >= 1 && record <= colours) {
            QCOMPARE(cell.kind, PageCell::Kind::Colour);
            QCOMPARE(cell.color, colourOfRecord(record));
        } else {
            QCOMPARE(cell.kind, PageCell::Kind::Empty);
            QCOMPARE(cell.color, bascommon::White);
        }
    }
}

void tst_paletterecords::readPage_unreadableRecord_isMarkedAndFileKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    const QByteArray content = records({"FF0000",
                                        "ZZ\x01\x02"
                                        "00",
                                        "00ff00"});
    writeAll(path, content);

    PageCells cells;
    QVERIFY(ReadPage(path, 3, 1, cells).ok);
    QCOMPARE(cells[0].kind, PageCell::Kind::Colour);
    QCOMPARE(cells[0].color, bascommon::MakeColor(0, 255, 0));
    QCOMPARE(cells[1].kind, PageCell::Kind::Unreadable);
    QCOMPARE(cells[1].color, bascommon::White);
    QCOMPARE(cells[1].raw, QByteArray("ZZ\x01\x02"
                                      "00"));
    QCOMPARE(cells[2].color, bascommon::MakeColor(255, 0, 0));
    QCOMPARE(readAll(path), content);
}

void tst_paletterecords::readPage_fileShrankSinceCounting_showsEmptyCells()
{
    // Pages after the first use the count made when page 1 was shown.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    writeAll(path, numberedPalette(220));
    PageCells cells;
    QVERIFY(ReadPage(path, 230, 2, cells).ok);
    // Page 2 of 230 would show records 14 down to 1: all present.
    QCOMPARE(cells[0].color, colourOfRecord(14));
    writeAll(path, numberedPalette(5));
    QVERIFY(ReadPage(path, 230, 2, cells).ok);
    QCOMPARE(cells[0].kind, PageCell::Kind::Empty);
    QCOMPARE(cells[8].kind, PageCell::Kind::Empty);
    QCOMPARE(cells[9].color, colourOfRecord(5));
    QCOMPARE(cells[13].color, colourOfRecord(1));
}

void tst_paletterecords::deleteRecord_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("record");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("the only colour leaves an empty file")
        << QByteArray("123456") << 1 << QByteArray();
    QTest::newRow("oldest") << records({"AAAAAA", "BBBBBB", "CCCCCC"}) << 1
                            << records({"BBBBBB", "CCCCCC"});
    QTest::newRow("middle") << records({"AAAAAA", "BBBBBB", "CCCCCC"}) << 2
                            << records({"AAAAAA", "CCCCCC"});
    QTest::newRow("newest") << records({"AAAAAA", "BBBBBB", "CCCCCC"}) << 3
                            << records({"AAAAAA", "BBBBBB"});
    QTest::newRow("unreadable record")
        << records({"AAAAAA", "ZZ??ZZ"}) << 2 << QByteArray("AAAAAA");
}

void tst_paletterecords::deleteRecord()
{
    QFETCH(QByteArray, before);
    QFETCH(int, record);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c3.rgb"));
    writeAll(path, before);
    // A temporary file left by an interrupted run must not leak into the result.
    writeAll(path + QStringLiteral(".ctm"), records({"DDDDDD", "EEEEEE", "FFFFFF", "999999"}));

    QVERIFY(DeleteRecord(path, record).ok);
    QCOMPARE(readAll(path), after);
    QVERIFY(QFileInfo(path).isFile());
    QVERIFY(!QFile::exists(path + QStringLiteral(".ctm")));
}

void tst_paletterecords::deleteRecord_recordGone_reportsAndKeepsFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c3.rgb"));
    writeAll(path, "AAAAAA");
    const FileResult result = DeleteRecord(path, 2);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(path)), qPrintable(result.message));
    QCOMPARE(readAll(path), QByteArray("AAAAAA"));
}

void tst_paletterecords::clearDuplicates_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("oldest copy survives, order kept")
        << records({"FF0000", "00FF00", "FF0000", "0000FF", "00FF00"})
        << records({"FF0000", "00FF00", "0000FF"});
    QTest::newRow("comparison is case-sensitive")
        << records({"FFFFFF", "ffffff", "FFFFFF"}) << records({"FFFFFF", "ffffff"});
    QTest::newRow("no duplicates")
        << records({"123456", "654321"}) << records({"123456", "654321"});
    QTest::newRow("all the same") << records({"ABCDEF", "ABCDEF", "ABCDEF"})
                                  << QByteArray("ABCDEF");
    QTest::newRow("torn tail dropped")
        << records({"ABCDEF", "ABCDEF", "ABC"}) << QByteArray("ABCDEF");
}

void tst_paletterecords::clearDuplicates()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c2.rgb"));
    writeAll(path, before);
    writeAll(path + QStringLiteral(".tmp"), records({"DDDDDD", "EEEEEE", "FFFFFF"}));
    qint32 kept = -1;
    QVERIFY(ClearDuplicates(path, &kept).ok);
    QCOMPARE(readAll(path), after);
    QCOMPARE(kept, after.size() / 6);
    QVERIFY(!QFile::exists(path + QStringLiteral(".tmp")));
}

void tst_paletterecords::clearDuplicates_largePaletteKeepsOldestCopies()
{
    // 60,000 records cycling through 1,000 colours: the first 1,000 survive.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("recent.rgb"));
    const QByteArray cycle = numberedPalette(1000);
    writeAll(path, cycle.repeated(60));
    QVERIFY(ClearDuplicates(path).ok);
    QCOMPARE(readAll(path), cycle);
}

void tst_paletterecords::rewrite_folderInTheWay_keepsPalette_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<bool>("deleting");
    QTest::newRow("delete: temporary file") << QStringLiteral("c4.rgb.ctm") << true;
    QTest::newRow("clear duplicates: temporary file") << QStringLiteral("c4.rgb.tmp") << false;
}

void tst_paletterecords::rewrite_folderInTheWay_keepsPalette()
{
    // Folders stand in for unwritable files: permissions do not stop root.
    QFETCH(QString, blocked);
    QFETCH(bool, deleting);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c4.rgb"));
    const QByteArray content = records({"AAAAAA", "AAAAAA", "BBBBBB"});
    writeAll(path, content);
    QVERIFY(QDir(dir.path()).mkdir(blocked));

    const FileResult result = deleting ? DeleteRecord(path, 1) : ClearDuplicates(path);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(blocked), qPrintable(result.message));
    // The message is about the palette, the file the user acted on.
    QVERIFY2(result.message.contains(QStringLiteral("\"%1\":").arg(QDir::toNativeSeparators(path))),
             qPrintable(result.message));
    QCOMPARE(readAll(path), content);
}

void tst_paletterecords::clearAll_removesFileAndToleratesMissing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    writeAll(path, "AAAAAA");
    QVERIFY(ClearAll(path).ok);
    QVERIFY(!QFile::exists(path));
    QVERIFY(ClearAll(path).ok);

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("c1.rgb")));
    const FileResult blocked = ClearAll(path);
    QVERIFY(!blocked.ok);
    QVERIFY2(blocked.message.contains(QStringLiteral("c1.rgb")), qPrintable(blocked.message));
}

void tst_paletterecords::streamedRewrite_acrossBlocks_data()
{
    QTest::addColumn<qint32>("count");
    QTest::addColumn<qint32>("deleted");
    // Records on both sides of a block boundary, and a last block of one record.
    const qint32 block = static_cast<qint32>(RecordsPerBlock);
    QTest::newRow("last of the first block") << block + 1 << block;
    QTest::newRow("first of the second block") << block + 1 << block + 1;
    QTest::newRow("first record, two blocks") << 2 * block + 3 << 1;
}

void tst_paletterecords::streamedRewrite_acrossBlocks()
{
    QFETCH(qint32, count);
    QFETCH(qint32, deleted);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    const QByteArray numbered = numberedPalette(count);
    writeAll(path, numbered);

    QVERIFY(DeleteRecord(path, deleted).ok);
    QByteArray expected = numbered;
    expected.remove(qsizetype(deleted - 1) * RecordLength, RecordLength);
    QCOMPARE(readAll(path), expected);

    // The numbered palette repeats every 65,536 records: the first copy of
    // each colour survives, wherever its block.
    qint32 kept = 0;
    QVERIFY(ClearDuplicates(path, &kept).ok);
    const QByteArray once = expected.left(65536 * RecordLength);
    QCOMPARE(kept, once.size() / RecordLength);
    QCOMPARE(readAll(path), once);
}

void tst_paletterecords::streamedRewrite_cancelled_leavesFileAsItWas_data()
{
    QTest::addColumn<bool>("deleting");
    QTest::addColumn<int>("stopAfter");
    QTest::newRow("delete, stopped at once") << true << 1;
    QTest::newRow("delete, stopped in the middle") << true << 2;
    QTest::newRow("clear duplicates, stopped at once") << false << 1;
    QTest::newRow("clear duplicates, stopped in the middle") << false << 2;
}

void tst_paletterecords::streamedRewrite_cancelled_leavesFileAsItWas()
{
    QFETCH(bool, deleting);
    QFETCH(int, stopAfter);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    const QByteArray content =
        numberedPalette(static_cast<qint32>(3 * RecordsPerBlock)).repeated(2);
    writeAll(path, content);
    int calls = 0;
    qint64 lastDone = -1;
    const Progress stop = [&](qint64 done, qint64 total) {
        // Told of the work in order, within its bounds.
        if (done <= lastDone || done > total)
            qFatal("progress out of order");
        lastDone = done;
        return ++calls < stopAfter;
    };
    const FileResult result =
        deleting ? DeleteRecord(path, 5, stop) : ClearDuplicates(path, nullptr, stop);
    QVERIFY(result.wasCancelled());
    QCOMPARE(calls, stopAfter);
    QCOMPARE(readAll(path), content);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("c1.rgb")});
}

void tst_paletterecords::deleteRecord_sparsePalette_staysSparse()
{
    // A palette of 48 MB that holds data at its start, its middle and its end.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    constexpr qint64 Size = RecordLength << 23;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("123456ABCDEF");
        QVERIFY(file.seek(Size / 2));
        file.write("FEDCBA");
        QVERIFY(file.resize(Size));
        QVERIFY(file.seek(Size - 6));
        file.write("654321");
    }
    QVERIFY(DeleteRecord(path, 1).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), Size - 6);
    QCOMPARE(file.read(6), QByteArray("ABCDEF"));
    QVERIFY(file.seek(Size / 2 - 6));
    QCOMPARE(file.read(6), QByteArray("FEDCBA"));
    QVERIFY(file.seek(Size - 12));
    QCOMPARE(file.read(6), QByteArray("654321"));
    QVERIFY(file.seek(4096));
    QCOMPARE(file.read(1 << 20), QByteArray(1 << 20, '\0'));
#ifdef Q_OS_LINUX
    // The zeros were not written out: the new file takes a fraction of its size.
    struct stat status;
    QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
    QVERIFY2(qint64(status.st_blocks) * 512 < Size / 4,
             qPrintable(QString::number(status.st_blocks)));
#endif
}

void tst_paletterecords::clearDuplicates_recordsThatAreNotColours()
{
    // Damaged records take part like any other, compared byte for byte.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c1.rgb"));
    writeAll(path, records({"ZZZZZZ", "ABCDEF", QByteArray(6, '\0'), "ZZZZZZ", QByteArray(6, '\0'),
                            "abcdef", "ABCDEF"}));
    qint32 kept = 0;
    QVERIFY(ClearDuplicates(path, &kept).ok);
    QCOMPARE(kept, 4);
    QCOMPARE(readAll(path), records({"ZZZZZZ", "ABCDEF", QByteArray(6, '\0'), "abcdef"}));
}

void tst_paletterecords::removeLeftoverTemporaryFiles_removesOnlyThem()
{
    QTemporaryDir dir;
    QTemporaryDir outside;
    const QByteArray kept = "123456";
    for (const char* name : {"mycolor.rgb", "c1.rgb", "set.hcs", "colorset.dam", "notes.tmp"})
        writeAll(dir.filePath(QLatin1String(name)), kept);
    for (const char* name : {"mycolor.rgb.ctm", "c1.rgb.tmp", "colorchart.cct"})
        writeAll(dir.filePath(QLatin1String(name)), "left by an interrupted rewrite");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("c2.rgb.ctm")));
    const QString target = outside.filePath(QStringLiteral("kept.rgb"));
    writeAll(target, kept);
    QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("c3.rgb.tmp"))));

    QStringList removed = RemoveLeftoverTemporaryFiles(dir.path());
    removed.sort();
    QCOMPARE(removed,
             (QStringList{"c1.rgb.tmp", "c3.rgb.tmp", "colorchart.cct", "mycolor.rgb.ctm"}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             (QStringList{"c1.rgb", "c2.rgb.ctm", "colorset.dam", "mycolor.rgb", "notes.tmp",
                          "set.hcs"}));
    // A link is removed itself; what it led to stays as it was.
    QCOMPARE(readAll(target), kept);
}

void tst_paletterecords::ensureFileExists_createsEmptyButKeepsExisting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c9.rgb"));
    QVERIFY(EnsureFileExists(path).ok);
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QFileInfo(path).size(), 0);
    writeAll(path, "AAAAAA");
    QVERIFY(EnsureFileExists(path).ok);
    QCOMPARE(readAll(path), QByteArray("AAAAAA"));
}

void tst_paletterecords::readColors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<Color>>("colors");
    QTest::addColumn<QString>("problem");
    using bascommon::MakeColor;
    QTest::newRow("file order, either case")
        << QByteArray("FF000A0a0b0cffffff")
        << QList<Color>{MakeColor(255, 0, 10), MakeColor(10, 11, 12), bascommon::White} << "";
    QTest::newRow("torn last record left out")
        << QByteArray("123456ABC") << QList<Color>{MakeColor(0x12, 0x34, 0x56)} << "";
    QTest::newRow("empty") << QByteArray() << QList<Color>{} << "";
    QTest::newRow("record that is no colour") << QByteArray("123456GG0000") << QList<Color>{}
                                              << "record 2 holds \"GG0000\", which is not a color";
}

void tst_paletterecords::readColors()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<Color>, colors);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c3.rgb"));
    writeAll(path, content);
    QList<Color> read{bascommon::Black};
    const FileResult result = ReadColors(path, read);
    QCOMPARE(result.ok, problem.isEmpty());
    QCOMPARE(read, colors);
    if (!result.ok) {
        QVERIFY2(result.message.contains(problem), qPrintable(result.message));
        QVERIFY2(result.message.contains(QDir::toNativeSeparators(path)),
                 qPrintable(result.message));
    }
    // A missing palette is an empty one.
    QVERIFY(ReadColors(dir.filePath(QStringLiteral("none.rgb")), read).ok);
    QVERIFY(read.isEmpty());
}

void tst_paletterecords::recordsOf_readBackAsTheSameColors()
{
    const QList<Color> colors = {bascommon::MakeColor(1, 2, 255), bascommon::Black,
                                 bascommon::MakeColor(0xAB, 0xCD, 0xEF)};
    QCOMPARE(RecordsOf(colors), QByteArray("0102FF000000ABCDEF"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c5.rgb"));
    writeAll(path, RecordsOf(colors));
    QList<Color> read;
    QVERIFY(ReadColors(path, read).ok);
    QCOMPARE(read, colors);
}

QTEST_GUILESS_MAIN(tst_paletterecords)
#include "tst_paletterecords.moc"
