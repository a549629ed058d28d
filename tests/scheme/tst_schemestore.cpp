#include "scheme/SchemeFormat.h"
#include "scheme/SchemeStore.h"
#include "tests/scheme/SchemeTestData.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace bascommon;
using namespace schemeformat;
using namespace schemetest;

namespace {

// A data folder of its own for one case.
class Folder
{
public:
    Folder() { QVERIFY(m_dir.isValid()); }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& content) const
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    bool exists(const QString& name) const { return QFile::exists(file(name)); }
    // A folder where a file is expected: refuses writes even to root.
    void blockWith(const QString& name) const { QVERIFY(QDir(path()).mkdir(name)); }

private:
    QTemporaryDir m_dir;
};

const QString Names = QStringLiteral("set.hcs");
const QString Colors = QStringLiteral("colorset.dat");

QByteArray fourRecords()
{
    return greyRecord(1) + greyRecord(2) + greyRecord(3) + greyRecord(4);
}

void writeFour(const Folder& folder)
{
    folder.write(Names, nameList({"one", "two", "three", "four"}));
    folder.write(Colors, fourRecords());
}

SchemeColors whiteOnBlack()
{
    return {White,
            Black,
            MakeColor(0, 0, 255),
            MakeColor(128, 0, 128),
            MakeColor(255, 0, 0),
            MakeColor(255, 102, 0)};
}

} // namespace

Q_DECLARE_METATYPE(SchemeColors)

class tst_schemestore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Formats
    void encodeRecord_data();
    void encodeRecord();
    void decodeRecord_data();
    void decodeRecord();
    void nameFromAnswer_data();
    void nameFromAnswer();
    void nameLines_data();
    void nameLines();

    // Reading
    void readNames_missingFile_failsNamingIt();
    void readNames_emptyFile_givesNoNames();
    void readColors_data();
    void readColors();
    void readColors_missingFile_failsWithDefaults();

    // Saving
    void save_appendsNameAndRecordByteForByte();
    void save_namesSurviveAReload_data();
    void save_namesSurviveAReload();
    void save_lastLineWithoutBreak_getsItsOwnLine_data();
    void save_lastLineWithoutBreak_getsItsOwnLine();
    void save_sameNameTwice_givesTwoEntries();
    void save_shortColourFile_recordGoesToItsLine();
    void save_missingFiles_areCreated();
    void save_folderInTheWay_changesNothing_data();
    void save_folderInTheWay_changesNothing();

    // Deleting
    void remove_data();
    void remove();
    void remove_ignoresLeftoverTemporaryFiles();
    void remove_dropsRecordsBeyondTheNames();
    void remove_folderInTheWay_changesNothing_data();
    void remove_folderInTheWay_changesNothing();
    void remove_indexBeyondTheList_changesNothing();
    void finishInterruptedRemove_data();
    void finishInterruptedRemove();
    void readNames_longName_isCutWithANotice();
    void linkedFiles_areNeitherWrittenNorReplaced_data();
    void linkedFiles_areNeitherWrittenNorReplaced();
};

void tst_schemestore::encodeRecord_data()
{
    QTest::addColumn<SchemeColors>("colors");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("classic") << SchemeColors{Black,
                                             White,
                                             MakeColor(0, 0, 255),
                                             MakeColor(128, 0, 128),
                                             MakeColor(255, 0, 0),
                                             MakeColor(255, 102, 0)}
                             << QByteArray("000000FFFFFFFF00008000800000FF0066FF");
    QTest::newRow("white text on black")
        << whiteOnBlack() << QByteArray("FFFFFF000000FF00008000800000FF0066FF");
    QTest::newRow("red text is stored blue first")
        << SchemeColors{MakeColor(255, 0, 0), White, Black, Black, Black, Black}
        << QByteArray("0000FFFFFFFF000000000000000000000000");
    QTest::newRow("small channels") << SchemeColors{MakeColor(1, 2, 3),
                                                    MakeColor(0x0A, 0x80, 0xFF),
                                                    Black,
                                                    Black,
                                                    Black,
                                                    MakeColor(0x56, 0x34, 0x12)}
                                    << QByteArray("030201FF800A000000000000000000123456");
}

void tst_schemestore::encodeRecord()
{
    QFETCH(SchemeColors, colors);
    QFETCH(QByteArray, record);
    QCOMPARE(EncodeRecord(colors), record);
    const DecodedRecord back = DecodeRecord(record);
    QCOMPARE(back.unreadableFields, 0);
    QCOMPARE(describe(back.colors), describe(colors));
}

void tst_schemestore::decodeRecord_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("colors");
    QTest::addColumn<int>("unreadable");
    QTest::newRow("upper case") << QByteArray("0A80FF000000FFFFFF000000000000000000")
                                << "#FF800A #000000 #FFFFFF #000000 #000000 #000000" << 0;
    QTest::newRow("lower case") << QByteArray("0a80ff000000ffffff000000000000abcdef")
                                << "#FF800A #000000 #FFFFFF #000000 #000000 #EFCDAB" << 0;
    // Unreadable fields take the defaults: black text and links on white.
    QTest::newRow("one bad field") << QByteArray("0A80FF00G000FFFFFF000000000000000000")
                                   << "#FF800A #FFFFFF #FFFFFF #000000 #000000 #000000" << 1;
    QTest::newRow("signs and spaces are not digits")
        << QByteArray("+A80FF 00000FFFFFF000000000000000000")
        << "#000000 #FFFFFF #FFFFFF #000000 #000000 #000000" << 2;
    QTest::newRow("cut short mid-field")
        << QByteArray("0A80FF000000FFF") << "#FF800A #000000 #000000 #000000 #000000 #000000" << 4;
    QTest::newRow("empty") << QByteArray() << "#000000 #FFFFFF #000000 #000000 #000000 #000000"
                           << 6;
}

void tst_schemestore::decodeRecord()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, colors);
    QFETCH(int, unreadable);
    const DecodedRecord decoded = DecodeRecord(record);
    QCOMPARE(describe(decoded.colors), colors);
    QCOMPARE(decoded.unreadableFields, unreadable);
}

void tst_schemestore::nameFromAnswer_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::newRow("nothing typed cancels") << ""
                                           << "";
    QTest::newRow("one space") << " "
                               << "no name";
    QTest::newRow("three spaces") << "   "
                                  << "no name";
    QTest::newRow("outer spaces kept") << " Sea "
                                       << " Sea ";
    QTest::newRow("quote kept") << "The \"Best\""
                                << "The \"Best\"";
    QTest::newRow("tab is not a space") << "\t"
                                        << "\t";
    QTest::newRow("line breaks become spaces") << "Two\r\nlines"
                                               << "Two  lines";
}

void tst_schemestore::nameFromAnswer()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QCOMPARE(NameFromAnswer(typed), name);
}

void tst_schemestore::nameLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("CR LF lines") << QByteArray("\"a\"\r\n\"bc\"\r\n") << QStringList{"a", "bc"};
    QTest::newRow("last line without break")
        << QByteArray("\"a\"\r\n\"bc\"") << QStringList{"a", "bc"};
    QTest::newRow("LF only") << QByteArray("\"a\"\n\"bc\"\n") << QStringList{"a", "bc"};
    QTest::newRow("short lines skipped")
        << QByteArray("\"a\"\r\n\r\nx\r\n\"b\"\r\n\r\n") << QStringList{"a", "b"};
    QTest::newRow("empty name") << QByteArray("\"\"\r\n") << QStringList{""};
    QTest::newRow("first and last character, whatever they are")
        << QByteArray("[x]\r\n\"q\"\"\r\n") << QStringList{"x", "q\""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("Latin-1 name") << QByteArray("\"Caf\xe9\"\r\n")
                                  << QStringList{QString::fromUtf8("Café")};
    // As the palette index takes them: lines that end in a lone CR.
    QTest::newRow("CR only") << QByteArray("\"a\"\r\"bc\"\r\"d\"") << QStringList{"a", "bc", "d"};
    QTest::newRow("byte-order mark before the first name")
        << QByteArray("\xEF\xBB\xBF\"First\"\r\n\"Second\"\r\n") << QStringList{"First", "Second"};
    QTest::newRow("name beyond the bound is cut")
        << QByteArray("\"" + QByteArray(1500, 'n') + "\"\r\n")
        << QStringList{QString(1000, QLatin1Char('n'))};
}

void tst_schemestore::nameLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, names);
    QStringList read;
    for (const QByteArrayView line : NameLines(content))
        read.append(NameFromLine(line));
    QCOMPARE(read, names);
}

void tst_schemestore::readNames_missingFile_failsNamingIt()
{
    Folder folder;
    QStringList names{"stale"};
    const FileResult result = SchemeStore(folder.path()).readNames(names);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(folder.file(Names))),
             qPrintable(result.message));
    QVERIFY(names.isEmpty());
}

void tst_schemestore::readNames_emptyFile_givesNoNames()
{
    Folder folder;
    folder.write(Names, {});
    QStringList names{"stale"};
    QVERIFY(SchemeStore(folder.path()).readNames(names).ok);
    QVERIFY(names.isEmpty());
}

void tst_schemestore::readColors_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("colors");
    QTest::addColumn<QString>("problem"); // empty when the read succeeds
    const QByteArray two =
        greyRecord(1) + record({"#FF0000", "#00FF00", "#0000FF", "#111111", "#222222", "#333333"});
    QTest::newRow("first") << two << 0 << "#010101 #010101 #010101 #010101 #010101 #010101"
                           << "";
    QTest::newRow("second") << two << 1 << "#FF0000 #00FF00 #0000FF #111111 #222222 #333333"
                            << "";
    QTest::newRow("fewer records than names")
        << two << 2 << "#000000 #FFFFFF #000000 #000000 #000000 #000000"
        << "ends before its record";
    QTest::newRow("record cut short")
        << two.left(36 + 14) << 1 << "#FF0000 #00FF00 #000000 #000000 #000000 #000000"
        << "cut short";
    QByteArray damaged = two;
    damaged.replace(36 + 6, 6, "ZZZZZZ");
    QTest::newRow("field not hexadecimal")
        << damaged << 1 << "#FF0000 #FFFFFF #0000FF #111111 #222222 #333333"
        << "1 of its 6 fields";
}

void tst_schemestore::readColors()
{
    QFETCH(QByteArray, file);
    QFETCH(int, index);
    QFETCH(QString, colors);
    QFETCH(QString, problem);
    Folder folder;
    folder.write(Colors, file);
    SchemeColors read;
    const FileResult result = SchemeStore(folder.path()).readColors(index, read);
    QCOMPARE(describe(read), colors);
    QCOMPARE(result.ok, problem.isEmpty());
    if (!problem.isEmpty()) {
        QVERIFY2(result.message.contains(problem), qPrintable(result.message));
        QVERIFY2(result.message.contains(QDir::toNativeSeparators(folder.file(Colors))),
                 qPrintable(result.message));
        QVERIFY2(result.message.contains(QStringLiteral("scheme %1").arg(index + 1)),
                 qPrintable(result.message));
    }
}

void tst_schemestore::readColors_missingFile_failsWithDefaults()
{
    Folder folder;
    SchemeColors read{White, Black, White, White, White, White};
    const FileResult result = SchemeStore(folder.path()).readColors(0, read);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(folder.file(Colors))),
             qPrintable(result.message));
    QCOMPARE(describe(read), describe(SchemeColors{}));
}

void tst_schemestore::save_appendsNameAndRecordByteForByte()
{
    Folder folder;
    folder.write(Names, nameList({"one", "two"}));
    folder.write(Colors, greyRecord(1) + greyRecord(2));
    QVERIFY(SchemeStore(folder.path()).save(QStringLiteral("Night"), whiteOnBlack()).ok);
    QCOMPARE(folder.read(Names), QByteArray("\"one\"\r\n\"two\"\r\n\"Night\"\r\n"));
    QCOMPARE(folder.read(Colors),
             greyRecord(1) + greyRecord(2) + "FFFFFF000000FF00008000800000FF0066FF");
}

void tst_schemestore::save_namesSurviveAReload_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("double quote inside") << "Say \"hi\"" << QByteArray("\"Say \"hi\"\"\r\n");
    QTest::newRow("outer spaces") << " Sea " << QByteArray("\" Sea \"\r\n");
    QTest::newRow("no name") << "no name" << QByteArray("\"no name\"\r\n");
    QTest::newRow("only a quote") << "\"" << QByteArray("\"\"\"\r\n");
    QTest::newRow("beyond Latin-1")
        << QString::fromUtf8("Ζ scheme") << QByteArray("\"\xce\x96 scheme\"\r\n");
}

void tst_schemestore::save_namesSurviveAReload()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, line);
    Folder folder;
    folder.write(Names, nameList({"one"}));
    folder.write(Colors, greyRecord(1));
    const SchemeStore store(folder.path());
    QVERIFY(store.save(name, whiteOnBlack()).ok);
    QCOMPARE(folder.read(Names), nameList({"one"}) + line);
    QStringList names;
    QVERIFY(store.readNames(names).ok);
    QCOMPARE(names, (QStringList{"one", name}));
    SchemeColors colors;
    QVERIFY(store.readColors(1, colors).ok);
    QCOMPARE(describe(colors), describe(whiteOnBlack()));
}

void tst_schemestore::save_lastLineWithoutBreak_getsItsOwnLine_data()
{
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("expected");
    // Appending straight after a last line without its break would glue the
    // new name to it and write the record over that scheme's colours.
    QTest::newRow("no break") << QByteArray("\"one\"\r\n\"two\"")
                              << QByteArray("\"one\"\r\n\"two\"\r\n\"three\"\r\n");
    // A lone CR already ends the line; another CR LF would make the CR part
    // of it, and "two" would come back as two" after the save.
    QTest::newRow("lone CR") << QByteArray("\"one\"\r\n\"two\"\r")
                             << QByteArray("\"one\"\r\n\"two\"\r\n\"three\"\r\n");
}

void tst_schemestore::save_lastLineWithoutBreak_getsItsOwnLine()
{
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, expected);
    Folder folder;
    folder.write(Names, names);
    folder.write(Colors, greyRecord(1) + greyRecord(2));
    const SchemeStore store(folder.path());
    QVERIFY(store.save(QStringLiteral("three"), whiteOnBlack()).ok);
    QCOMPARE(folder.read(Names), expected);
    QStringList read;
    QVERIFY(store.readNames(read).ok);
    QCOMPARE(read, (QStringList{"one", "two", "three"}));
    QCOMPARE(folder.read(Colors), greyRecord(1) + greyRecord(2) + EncodeRecord(whiteOnBlack()));
}

void tst_schemestore::save_sameNameTwice_givesTwoEntries()
{
    Folder folder;
    folder.write(Names, nameList({"one"}));
    folder.write(Colors, greyRecord(1));
    const SchemeStore store(folder.path());
    SchemeColors second = whiteOnBlack();
    second.hoverLink = MakeColor(1, 2, 3);
    QVERIFY(store.save(QStringLiteral("twin"), whiteOnBlack()).ok);
    QVERIFY(store.save(QStringLiteral("twin"), second).ok);
    QCOMPARE(folder.read(Names), nameList({"one", "twin", "twin"}));
    QCOMPARE(folder.read(Colors),
             greyRecord(1) + EncodeRecord(whiteOnBlack()) + EncodeRecord(second));
}

void tst_schemestore::save_shortColourFile_recordGoesToItsLine()
{
    // Three names but one record: the new name is line 4, so its record is
    // record 4; the records that never existed stay unreadable.
    Folder folder;
    folder.write(Names, nameList({"one", "two", "three"}));
    folder.write(Colors, greyRecord(1));
    const SchemeStore store(folder.path());
    QVERIFY(store.save(QStringLiteral("four"), whiteOnBlack()).ok);
    const QByteArray colors = folder.read(Colors);
    QCOMPARE(colors.size(), 4 * RecordLength);
    QCOMPARE(colors.mid(3 * RecordLength), EncodeRecord(whiteOnBlack()));
    SchemeColors read;
    QVERIFY(!store.readColors(1, read).ok);
    QVERIFY(store.readColors(3, read).ok);
    QCOMPARE(describe(read), describe(whiteOnBlack()));
}

void tst_schemestore::save_missingFiles_areCreated()
{
    Folder folder;
    QVERIFY(SchemeStore(folder.path()).save(QStringLiteral("first"), whiteOnBlack()).ok);
    QCOMPARE(folder.read(Names), QByteArray("\"first\"\r\n"));
    QCOMPARE(folder.read(Colors), EncodeRecord(whiteOnBlack()));
}

void tst_schemestore::save_folderInTheWay_changesNothing_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::newRow("name list") << Names;
    QTest::newRow("colour file") << Colors;
}

void tst_schemestore::save_folderInTheWay_changesNothing()
{
    QFETCH(QString, blocked);
    Folder folder;
    const QByteArray names = nameList({"one", "two"});
    const QByteArray colors = greyRecord(1) + greyRecord(2);
    if (blocked != Names)
        folder.write(Names, names);
    if (blocked != Colors)
        folder.write(Colors, colors);
    folder.blockWith(blocked);

    const FileResult result =
        SchemeStore(folder.path()).save(QStringLiteral("new"), whiteOnBlack());
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(folder.file(blocked))),
             qPrintable(result.message));
    if (blocked != Names)
        QCOMPARE(folder.read(Names), names);
    if (blocked != Colors)
        QCOMPARE(folder.read(Colors), colors);
}

void tst_schemestore::remove_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("colors");
    QTest::newRow("second of four") << 1 << QStringList{"one", "three", "four"}
                                    << greyRecord(1) + greyRecord(3) + greyRecord(4);
    QTest::newRow("last of four") << 3 << QStringList{"one", "two", "three"}
                                  << greyRecord(1) + greyRecord(2) + greyRecord(3);
    QTest::newRow("third of four")
        << 2 << QStringList{"one", "two", "four"} << greyRecord(1) + greyRecord(2) + greyRecord(4);
}

void tst_schemestore::remove()
{
    QFETCH(int, index);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, colors);
    Folder folder;
    writeFour(folder);
    const SchemeStore store(folder.path());
    QVERIFY(store.remove(index).ok);
    QCOMPARE(folder.read(Names), nameList(names));
    QCOMPARE(folder.read(Colors), colors);
    QVERIFY(!folder.exists(QStringLiteral("set.hct")));
    QVERIFY(!folder.exists(QStringLiteral("colorset.dam")));
}

void tst_schemestore::remove_ignoresLeftoverTemporaryFiles()
{
    // An interrupted run may have left its temporary files; their content
    // must not end up in the list.
    Folder folder;
    writeFour(folder);
    folder.write(QStringLiteral("set.hct"), nameList({"ghost", "phantom"}));
    folder.write(QStringLiteral("colorset.dam"), greyRecord(9) + greyRecord(8));
    QVERIFY(SchemeStore(folder.path()).remove(1).ok);
    QCOMPARE(folder.read(Names), nameList({"one", "three", "four"}));
    QCOMPARE(folder.read(Colors), greyRecord(1) + greyRecord(3) + greyRecord(4));
}

void tst_schemestore::remove_dropsRecordsBeyondTheNames()
{
    Folder folder;
    folder.write(Names, nameList({"one", "two"}));
    folder.write(Colors, greyRecord(1) + greyRecord(2) + greyRecord(3));
    QVERIFY(SchemeStore(folder.path()).remove(1).ok);
    QCOMPARE(folder.read(Names), nameList({"one"}));
    QCOMPARE(folder.read(Colors), greyRecord(1));
}

void tst_schemestore::remove_folderInTheWay_changesNothing_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::newRow("temporary name list") << QStringLiteral("set.hct");
    QTest::newRow("temporary colour file") << QStringLiteral("colorset.dam");
    QTest::newRow("colour file") << Colors;
}

void tst_schemestore::remove_folderInTheWay_changesNothing()
{
    QFETCH(QString, blocked);
    Folder folder;
    writeFour(folder);
    if (blocked == Colors)
        QVERIFY(QFile::remove(folder.file(Colors)));
    folder.blockWith(blocked);

    const FileResult result = SchemeStore(folder.path()).remove(1);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(folder.file(blocked))),
             qPrintable(result.message));
    QCOMPARE(folder.read(Names), nameList({"one", "two", "three", "four"}));
    if (blocked != Colors)
        QCOMPARE(folder.read(Colors), fourRecords());
    // Neither half of the new pair is left lying around as a file.
    for (const QString& temp : {QStringLiteral("set.hct"), QStringLiteral("colorset.dam")})
        QVERIFY(temp == blocked || !folder.exists(temp));
}

void tst_schemestore::remove_indexBeyondTheList_changesNothing()
{
    Folder folder;
    writeFour(folder);
    QVERIFY(!SchemeStore(folder.path()).remove(4).ok);
    QCOMPARE(folder.read(Names), nameList({"one", "two", "three", "four"}));
    QCOMPARE(folder.read(Colors), fourRecords());
}

void tst_schemestore::finishInterruptedRemove_data()
{
    // The files that removing "two" of four schemes leaves when the run ends
    // at some point; null content: the file does not exist.
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("namesTemp");
    QTest::addColumn<QByteArray>("colorsTemp");
    QTest::addColumn<QByteArray>("expectedColors");
    const QByteArray oldNames = nameList({"one", "two", "three", "four"});
    const QByteArray newNames = nameList({"one", "three", "four"});
    const QByteArray newColors = greyRecord(1) + greyRecord(3) + greyRecord(4);
    QTest::newRow("nothing left over") << oldNames << QByteArray() << QByteArray() << fourRecords();
    QTest::newRow("ended while writing the names")
        << oldNames << newNames.left(9) << QByteArray() << fourRecords();
    QTest::newRow("ended while writing the colours")
        << oldNames << newNames << newColors.left(50) << fourRecords();
    QTest::newRow("ended before the first rename")
        << oldNames << newNames << newColors << fourRecords();
    // The one state in which names and colours disagree: it is completed.
    QTest::newRow("ended between the renames")
        << newNames << QByteArray() << newColors << newColors;
    QTest::newRow("colour file of a removal that never took effect")
        << oldNames << QByteArray() << newColors << fourRecords();
}

void tst_schemestore::finishInterruptedRemove()
{
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, namesTemp);
    QFETCH(QByteArray, colorsTemp);
    QFETCH(QByteArray, expectedColors);
    Folder folder;
    folder.write(Names, names);
    folder.write(Colors, fourRecords());
    if (!namesTemp.isNull())
        folder.write(SchemeStore::NamesTempFile, namesTemp);
    if (!colorsTemp.isNull())
        folder.write(SchemeStore::ColorsTempFile, colorsTemp);

    QVERIFY(SchemeStore(folder.path()).finishInterruptedRemove().ok);
    QCOMPARE(folder.read(Names), names);
    QCOMPARE(folder.read(Colors), expectedColors);
    QVERIFY(!folder.exists(SchemeStore::NamesTempFile));
    QVERIFY(!folder.exists(SchemeStore::ColorsTempFile));
}

void tst_schemestore::readNames_longName_isCutWithANotice()
{
    Folder folder;
    folder.write(Names, nameList({"short", QString(10 * 1024 * 1024, QLatin1Char('n'))}));
    QStringList names;
    QString notice;
    QVERIFY(SchemeStore(folder.path()).readNames(names, &notice).ok);
    QCOMPARE(names.size(), 2);
    QCOMPARE(names.at(1).size(), 1000);
    QVERIFY2(notice.contains(QStringLiteral("longer than 1000 characters")), qPrintable(notice));
}

void tst_schemestore::linkedFiles_areNeitherWrittenNorReplaced_data()
{
    QTest::addColumn<QString>("linked");
    QTest::addColumn<bool>("saving");
    QTest::newRow("save, name list") << Names << true;
    QTest::newRow("save, colour file") << Colors << true;
    QTest::newRow("delete, name list") << Names << false;
    QTest::newRow("delete, colour file") << Colors << false;
}

void tst_schemestore::linkedFiles_areNeitherWrittenNorReplaced()
{
    QFETCH(QString, linked);
    QFETCH(bool, saving);
    Folder folder;
    writeFour(folder);
    QTemporaryDir outside;
    const QString target = QDir(outside.path()).filePath(QStringLiteral("elsewhere"));
    const QByteArray content = folder.read(linked);
    QVERIFY(QFile::rename(folder.file(linked), target));
    QVERIFY(QFile::link(target, folder.file(linked)));
    const QByteArray other = folder.read(linked == Names ? Colors : Names);

    const SchemeStore store(folder.path());
    const FileResult result =
        saving ? store.save(QStringLiteral("five"), whiteOnBlack()) : store.remove(1);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(linked) &&
                 result.message.contains(QStringLiteral("symbolic link")),
             qPrintable(result.message));
    QFile outsideFile(target);
    QVERIFY(outsideFile.open(QIODevice::ReadOnly));
    QCOMPARE(outsideFile.readAll(), content);
    QCOMPARE(QFileInfo(folder.file(linked)).symLinkTarget(), target);
    QCOMPARE(folder.read(linked == Names ? Colors : Names), other);
}

QTEST_GUILESS_MAIN(tst_schemestore)
#include "tst_schemestore.moc"
