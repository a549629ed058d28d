#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "palettes/NamedEdits.h"
#include "palettes/NewPalette.h"
#include "palettes/PaletteIndex.h"
#include "palettes/PaletteNames.h"
#include "palettes/PaletteRecords.h"

namespace {

// Palette records of RRGGBB texts given with spaces between them.
QByteArray records(const char* spaced)
{
    return QByteArray(spaced).replace(' ', "");
}

// The name of every record, empty where none.
QStringList namesOf(const PaletteNames& names, QByteArrayView palette)
{
    return names.list(qint32(palette.size() / paletterecords::RecordLength));
}

QByteArray readFile(const QTemporaryDir& dir, const QString& name)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class tst_palettenames : public QObject
{
    Q_OBJECT
private slots:
    void pairing_data();
    void pairing();
    void cleaned_data();
    void cleaned();
    void edits_data();
    void edits();
    void rename_recordNotAColour_refused();
    void files_writtenReadAndRemoved();
    void namedEdits_data();
    void namedEdits();
    void uniqueName_data();
    void uniqueName();
    void renameEntry_keepsFileAndKind();
    void renameEntry_otherFileAtThatPlace_changesNothing();
    void names_fileIsNoPalette();
};

void tst_palettenames::pairing_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QByteArray>("palette");
    QTest::addColumn<QStringList>("expected");

    const QByteArray rgb = "FF0000\tred\n00FF00\tgreen\n0000FF\tblue\n";
    QTest::newRow("in order") << rgb << records("FF0000 00FF00 0000FF")
                              << QStringList{"red", "green", "blue"};
    QTest::newRow("unnamed records have no line")
        << QByteArray("FF0000\tred\n0000FF\tblue\n") << records("FF0000 00FF00 0000FF")
        << QStringList{"red", "", "blue"};
    QTest::newRow("lower-case record matches")
        << QByteArray("FF0000\tred\n") << records("ff0000") << QStringList{"red"};
    QTest::newRow("other colour: name lost, never misnamed")
        << QByteArray("FF0000\tred\n") << records("00FF00") << QStringList{""};
    QTest::newRow("record deleted elsewhere")
        << rgb << records("FF0000 0000FF") << QStringList{"red", "blue"};
    QTest::newRow("record changed elsewhere")
        << rgb << records("FF0000 123456 0000FF") << QStringList{"red", "", "blue"};
    QTest::newRow("record inserted elsewhere")
        << rgb << records("FF0000 ABCDEF 00FF00 0000FF") << QStringList{"red", "", "green", "blue"};
    QTest::newRow("records swapped elsewhere: the later line is lost")
        << rgb << records("FF0000 0000FF 00FF00") << QStringList{"red", "", "green"};
    QTest::newRow("identical colours in order")
        << QByteArray("AAAAAA\tone\nAAAAAA\ttwo\n") << records("AAAAAA AAAAAA AAAAAA")
        << QStringList{"one", "two", ""};
    QTest::newRow("CR LF lines, no last line break")
        << QByteArray("FF0000\tred\r\n0000FF\tblue") << records("FF0000 0000FF")
        << QStringList{"red", "blue"};
    QTest::newRow("damaged lines pass by")
        << QByteArray("FF00\tx\nGG0000\ty\nFF0000 z\n0000FF\t\n\n0000FF\t  \nFF0000\tred\n")
        << records("FF0000") << QStringList{"red"};
    QTest::newRow("torn last record is no record") << QByteArray("FF0000\tred\n00FF00\tgreen\n")
                                                   << records("FF0000 00FF") << QStringList{"red"};
    QTest::newRow("unreadable record never named")
        << QByteArray("FF0000\tred\n") << records("ZZ0000 FF0000") << QStringList{"", "red"};
    QTest::newRow("UTF-8 and tabs in the name")
        << QByteArray("FF0000\tR\xC3\xB6"
                      "d\t\xE2\x9C\x93\n")
        << records("FF0000") << QStringList{QStringLiteral("R\u00F6d \u2713")};
    QTest::newRow("long name cut")
        << QByteArray("FF0000\t" + QByteArray(5000, 'x') + "\n") << records("FF0000")
        << QStringList{QString(1000, QLatin1Char('x'))};
    QTest::newRow("no lines") << QByteArray() << records("FF0000") << QStringList{""};
}

void tst_palettenames::pairing()
{
    QFETCH(QByteArray, lines);
    QFETCH(QByteArray, palette);
    QFETCH(QStringList, expected);
    const PaletteNames names = PaletteNames::paired(lines, palette);
    QCOMPARE(namesOf(names, palette), expected);
    // What is read is written back to read the same.
    QCOMPARE(PaletteNames::paired(names.content(), palette), names);
}

void tst_palettenames::cleaned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "primary-500"
                           << "primary-500";
    QTest::newRow("outer spaces") << "  Brand Blue  "
                                  << "Brand Blue";
    QTest::newRow("line breaks and tabs") << "a\nb\r\nc\td"
                                          << "a b  c d";
    QTest::newRow("controls dropped") << QStringLiteral("a\u0001b\u007F") << "ab";
    QTest::newRow("only spaces") << "   "
                                 << "";
    QTest::newRow("cut at 1,000") << QString(1001, QLatin1Char('n'))
                                  << QString(1000, QLatin1Char('n'));
    QTest::newRow("never inside a surrogate pair")
        << QString(999, QLatin1Char('n')) + QStringLiteral("\U0001F3A8")
        << QString(999, QLatin1Char('n'));
}

void tst_palettenames::cleaned()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(PaletteNames::cleaned(name), expected);
}

void tst_palettenames::edits_data()
{
    QTest::addColumn<QByteArray>("palette");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("afterPalette");
    QTest::addColumn<QStringList>("after");

    const QByteArray abc = records("AAAAAA BBBBBB CCCCCC");
    QTest::newRow("delete an unnamed colour")
        << abc << QStringList{"a", "", "c"} << "delete" << 2 << "" << records("AAAAAA CCCCCC")
        << QStringList{"a", "c"};
    QTest::newRow("delete a named colour")
        << abc << QStringList{"a", "b", "c"} << "delete" << 1 << "" << records("BBBBBB CCCCCC")
        << QStringList{"b", "c"};
    QTest::newRow("delete: a copy before a named colour shares its name")
        << records("BBBBBB AAAAAA BBBBBB") << QStringList{"", "a", "b"} << "delete" << 2 << ""
        << records("BBBBBB BBBBBB") << QStringList{"b", "b"};
    QTest::newRow("duplicates: the kept record keeps its name")
        << records("AAAAAA BBBBBB AAAAAA") << QStringList{"x", "", "y"} << "duplicates" << 0 << ""
        << records("AAAAAA BBBBBB") << QStringList{"x", ""};
    QTest::newRow("duplicates: an unnamed kept record takes its first named copy's")
        << records("AAAAAA BBBBBB AAAAAA AAAAAA") << QStringList{"", "b", "y", "z"} << "duplicates"
        << 0 << "" << records("AAAAAA BBBBBB") << QStringList{"y", "b"};
    QTest::newRow("duplicates: case counts")
        << records("FFFFFF ffffff FFFFFF") << QStringList{"up", "low", ""} << "duplicates" << 0
        << "" << records("FFFFFF ffffff") << QStringList{"up", "low"};
    QTest::newRow("name a colour") << abc << QStringList{"", "", ""} << "rename" << 2 << " bee "
                                   << abc << QStringList{"", "bee", ""};
    QTest::newRow("rename a colour") << abc << QStringList{"a", "b", "c"} << "rename" << 3 << "sea"
                                     << abc << QStringList{"a", "b", "sea"};
    QTest::newRow("empty name removes it") << abc << QStringList{"a", "b", "c"} << "rename" << 1
                                           << "  " << abc << QStringList{"", "b", "c"};
    QTest::newRow("naming a later copy names the unnamed ones before it")
        << records("AAAAAA BBBBBB AAAAAA AAAAAA") << QStringList{"", "b", "", ""} << "rename" << 4
        << "x" << records("AAAAAA BBBBBB AAAAAA AAAAAA") << QStringList{"", "b", "x", "x"};
    QTest::newRow("unnaming a copy before a named copy: it shares that name")
        << records("AAAAAA AAAAAA") << QStringList{"x", "y"} << "rename" << 1 << ""
        << records("AAAAAA AAAAAA") << QStringList{"y", "y"};
}

void tst_palettenames::edits()
{
    QFETCH(QByteArray, palette);
    QFETCH(QStringList, before);
    QFETCH(QString, edit);
    QFETCH(int, record);
    QFETCH(QString, name);
    QFETCH(QByteArray, afterPalette);
    QFETCH(QStringList, after);

    PaletteNames names = PaletteNames::fromList(palette, before);
    QCOMPARE(namesOf(names, palette), before);
    if (edit == QLatin1String("delete"))
        names.recordDeleted(record, palette);
    else if (edit == QLatin1String("duplicates"))
        names.duplicatesCleared(palette);
    else
        QVERIFY(names.rename(record, name, palette));
    QCOMPARE(namesOf(names, afterPalette), after);
    // The names file written for them reads back exactly.
    QCOMPARE(PaletteNames::paired(names.content(), afterPalette), names);
}

void tst_palettenames::rename_recordNotAColour_refused()
{
    const QByteArray palette = records("ZZZZZZ AAAAAA");
    PaletteNames names;
    QVERIFY(!names.rename(1, QStringLiteral("x"), palette));
    QVERIFY(!names.rename(3, QStringLiteral("x"), palette));
    QVERIFY(names.isEmpty());
}

void tst_palettenames::files_writtenReadAndRemoved()
{
    QTemporaryDir dir;
    const QString file = QStringLiteral("c3.rgb");
    QCOMPARE(PaletteNames::fileFor(file), QStringLiteral("c3.names"));
    QCOMPARE(PaletteNames::fileFor(QStringLiteral("Mine.RGB")), QStringLiteral("Mine.names"));
    writeFile(dir, file, records("3B82F6 FFFFFF 1E3A8A"));

    // Without names, no file at all.
    PaletteNames names;
    QVERIFY(PaletteNames::write(dir.path(), file, names));
    QVERIFY(!QFile::exists(dir.filePath("c3.names")));
    QVERIFY(PaletteNames::read(dir.path(), file, names));
    QVERIFY(names.isEmpty());

    QVERIFY(names.rename(1, QStringLiteral("primary-500"), readFile(dir, file)));
    QVERIFY(names.rename(3, QStringLiteral("primary-900"), readFile(dir, file)));
    QVERIFY(PaletteNames::write(dir.path(), file, names));
    QCOMPARE(readFile(dir, "c3.names"), QByteArray("3B82F6\tprimary-500\n1E3A8A\tprimary-900\n"));
    QVERIFY(!QFile::exists(dir.filePath("c3.names.tmp")));
    PaletteNames again;
    QVERIFY(PaletteNames::read(dir.path(), file, again));
    QCOMPARE(again, names);

    // A leftover of an interrupted replacement goes at start.
    writeFile(dir, "c3.names.tmp", "3B82F6\tstale\n");
    QVERIFY(paletterecords::RemoveLeftoverTemporaryFiles(dir.path())
                .contains(QStringLiteral("c3.names.tmp")));

    QVERIFY(PaletteNames::write(dir.path(), file, PaletteNames()));
    QVERIFY(!QFile::exists(dir.filePath("c3.names")));
    QVERIFY(PaletteNames::remove(dir.path(), file));
}

void tst_palettenames::namedEdits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("palette");
    QTest::addColumn<QByteArray>("namesAfter");
    // "-" for no names file.
    const QByteArray start = records("AAAAAA BBBBBB AAAAAA CCCCCC");
    const QByteArray lines = "AAAAAA\ta1\nBBBBBB\tb\nAAAAAA\ta2\n";
    QTest::newRow("delete colour") << "delete" << lines << records("AAAAAA AAAAAA CCCCCC")
                                   << QByteArray("AAAAAA\ta1\nAAAAAA\ta2\n");
    QTest::newRow("clear duplicates") << "duplicates" << lines << records("AAAAAA BBBBBB CCCCCC")
                                      << QByteArray("AAAAAA\ta1\nBBBBBB\tb\n");
    QTest::newRow("clear all") << "all" << lines << QByteArray() << QByteArray("-");
    QTest::newRow("stale names file goes") << "duplicates" << QByteArray("123456\told\n")
                                           << records("AAAAAA BBBBBB CCCCCC") << QByteArray("-");
    QTest::newRow("no names: no file")
        << "delete" << QByteArray("-") << records("AAAAAA AAAAAA CCCCCC") << QByteArray("-");
}

void tst_palettenames::namedEdits()
{
    QFETCH(QString, edit);
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, palette);
    QFETCH(QByteArray, namesAfter);
    QTemporaryDir dir;
    const QString file = QStringLiteral("c2.rgb");
    writeFile(dir, file, records("AAAAAA BBBBBB AAAAAA CCCCCC"));
    if (names != "-")
        writeFile(dir, "c2.names", names);
    FileResult done = FileResult::failure(QStringLiteral("no edit"));
    if (edit == QLatin1String("delete"))
        done = namededits::DeleteColor(dir.path(), file, 2);
    else if (edit == QLatin1String("duplicates"))
        done = namededits::ClearDuplicates(dir.path(), file);
    else
        done = namededits::ClearAll(dir.path(), file);
    QVERIFY2(done, qPrintable(done.message));
    QCOMPARE(readFile(dir, file), palette);
    QCOMPARE(QFile::exists(dir.filePath("c2.names")), namesAfter != "-");
    if (namesAfter != "-")
        QCOMPARE(readFile(dir, "c2.names"), namesAfter);

    // A stopped edit leaves both files as they were.
    writeFile(dir, file, records("AAAAAA BBBBBB AAAAAA CCCCCC"));
    writeFile(dir, "c2.names", "AAAAAA\ta1\nBBBBBB\tb\n");
    QVERIFY(namededits::DeleteColor(dir.path(), file, 1, [](qint64, qint64) {
                return false;
            }).wasCancelled());
    QCOMPARE(readFile(dir, "c2.names"), QByteArray("AAAAAA\ta1\nBBBBBB\tb\n"));
}

void tst_palettenames::uniqueName_data()
{
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free") << QStringList{"My Colors"} << "Landing Page"
                          << "Landing Page";
    QTest::newRow("taken") << QStringList{"Landing Page"} << "Landing Page"
                           << "Landing Page (2)";
    QTest::newRow("taken twice") << QStringList{"Landing Page (2)", "Landing Page"}
                                 << "Landing Page"
                                 << "Landing Page (3)";
    QTest::newRow("case tells names apart") << QStringList{"landing page"} << "Landing Page"
                                            << "Landing Page";
    QTest::newRow("longest name keeps its number")
        << QStringList{QString(1000, QLatin1Char('n'))} << QString(1000, QLatin1Char('n'))
        << QString(996, QLatin1Char('n')) + QStringLiteral(" (2)");
}

void tst_palettenames::uniqueName()
{
    QFETCH(QStringList, listed);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(newpalette::UniqueName(StringTable(listed), name), expected);
}

void tst_palettenames::renameEntry_keepsFileAndKind()
{
    QTemporaryDir dir;
    writeFile(dir, paletteindex::IndexFileName(),
              "mycolor.rgb\r\nMy Colors\r\n0\r\nc4.rgb\r\nOld\r\n 1 \r\nc5.rgb\r\nLast\r\n1\r\n");
    const FileResult renamed = paletteindex::RenameEntry(dir.path(), 2, QStringLiteral("c4.rgb"),
                                                         QStringLiteral("New\nName"));
    QVERIFY2(renamed, qPrintable(renamed.message));
    QCOMPARE(readFile(dir, paletteindex::IndexFileName()),
             QByteArray("mycolor.rgb\r\nMy Colors\r\n0\r\nc4.rgb\r\nNew Name\r\n 1 \r\nc5.rgb\r\n"
                        "Last\r\n1\r\n"));
}

void tst_palettenames::renameEntry_otherFileAtThatPlace_changesNothing()
{
    QTemporaryDir dir;
    const QByteArray index = "mycolor.rgb\r\nMy Colors\r\n0\r\nc4.rgb\r\nOld\r\n1\r\n";
    writeFile(dir, paletteindex::IndexFileName(), index);
    QVERIFY(
        !paletteindex::RenameEntry(dir.path(), 2, QStringLiteral("c9.rgb"), QStringLiteral("New")));
    QCOMPARE(readFile(dir, paletteindex::IndexFileName()), index);
}

void tst_palettenames::names_fileIsNoPalette()
{
    QVERIFY(!paletteindex::IsPaletteFileName(PaletteNames::fileFor(QStringLiteral("c4.rgb"))));
    QTemporaryDir dir;
    writeFile(dir, paletteindex::IndexFileName(),
              "mycolor.rgb\r\nMy Colors\r\n0\r\nc4.names\r\nNames\r\n1\r\nc5.rgb\r\nLast\r\n1\r\n");
    const paletteindex::Reading reading = paletteindex::Read(dir.path());
    QCOMPARE(reading.entries.size(), 2);
    QVERIFY(!reading.entries.files.contains(QStringLiteral("c4.names")));
    QVERIFY(reading.problems.contains(QStringLiteral("c4.names")));
}

QTEST_GUILESS_MAIN(tst_palettenames)
#include "tst_palettenames.moc"
