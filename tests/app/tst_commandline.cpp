#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "app/CommandLine.h"
#include "models/FormatNames.h"
#include "models/notations/ColorNotations.h"
#include "tests/palettes/image/SyntheticImages.h"

#include <sys/stat.h>

using bascommon::MakeColor;
using commandline::Action;

Q_DECLARE_METATYPE(commandline::Action)

namespace {

const Color Blue = MakeColor(0x3A, 0x6E, 0xA5);
const Color Yellow = MakeColor(0xF2, 0xC1, 0x4E);

struct Outcome
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The program as a shell starts it, with no display at all: whatever it
// answers here it answers without opening the window system.
Outcome runWithoutDisplay(const QStringList& arguments, const QString& dataFolder,
                          const QString& configFolder = QString(),
                          const QString& program = QStringLiteral(TINTORA_EXECUTABLE),
                          const QString& workingFolder = QString(),
                          const QString& outputFile = QString())
{
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("TINTORA_DATA_DIR"), dataFolder);
    // Never the user's own settings.
    const QTemporaryDir noSettings;
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       configFolder.isEmpty() ? noSettings.path() : configFolder);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    Outcome outcome;
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

} // namespace

class tst_commandline : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void parse_data();
    void parse();
    void parsePick_data();
    void parsePick();
    void parseFiles_absoluteInOrder();
    void listFormats_everyNameWithItsExample();

    void helpAndVersion_needNoDisplay_data();
    void helpAndVersion_needNoDisplay();
    void withoutItsWindows_saysWhy();
    void librariesInTheCurrentFolder_areNotLoaded_data();
    void librariesInTheCurrentFolder_areNotLoaded();
    void windowsWithoutDisplay_sayWhichIsMissing_data();
    void windowsWithoutDisplay_sayWhichIsMissing();
    void wrongCommandLines_exitTwo_openNoWindow_data();
    void wrongCommandLines_exitTwo_openNoWindow();
    void extract_printsColoursAndShares_data();
    void extract_printsColoursAndShares();
    void extract_refusedFiles_exitOne_data();
    void extract_refusedFiles_exitOne();

    void convert_parse_data();
    void convert_parse();
    void convert_writesOrExplains_data();
    void convert_writesOrExplains();
    void convert_replacesNeitherItsInputNorASpecialFile_data();
    void convert_replacesNeitherItsInputNorASpecialFile();
    void output_lostOnAFullDisk_fails_data();
    void output_lostOnAFullDisk_fails();
};

void tst_commandline::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("image");
    QTest::addColumn<int>("colors");
    QTest::addColumn<QString>("format");

    QTest::newRow("nothing") << QStringList() << Action::StartWindow << "" << 0 << "";
    // QApplication's own options pass through to it.
    QTest::newRow("window system option")
        << QStringList{"-platform", "offscreen"} << Action::StartWindow << "" << 0 << "";
    QTest::newRow("help") << QStringList{"--help"} << Action::ShowHelp << "" << 0 << "";
    QTest::newRow("-h") << QStringList{"-h"} << Action::ShowHelp << "" << 0 << "";
    QTest::newRow("version") << QStringList{"--version"} << Action::ShowVersion << "" << 0 << "";
    QTest::newRow("help wins") << QStringList{"--extract", "a.png", "--help"} << Action::ShowHelp
                               << "" << 0 << "";
    QTest::newRow("extract, defaults")
        << QStringList{"--extract", "a.png"} << Action::Extract << "a.png" << 8 << "hex";
    QTest::newRow("extract, = forms")
        << QStringList{"--extract=b c.jpg", "--colors=32", "--format=display-p3"} << Action::Extract
        << "b c.jpg" << 32 << "display-p3";
    QTest::newRow("unknown option")
        << QStringList{"--frobnicate"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("colors below 2") << QStringList{"--extract", "a.png", "--colors", "1"}
                                    << Action::UsageError << "" << 0 << "";
    QTest::newRow("colors above 32") << QStringList{"--extract", "a.png", "--colors", "33"}
                                     << Action::UsageError << "" << 0 << "";
    QTest::newRow("colors not a number") << QStringList{"--extract", "a.png", "--colors", "8x"}
                                         << Action::UsageError << "" << 0 << "";
    QTest::newRow("unknown format") << QStringList{"--extract", "a.png", "--format", "cmyk"}
                                    << Action::UsageError << "" << 0 << "";
    QTest::newRow("colors without extract")
        << QStringList{"--colors", "4"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("extract without image")
        << QStringList{"--extract"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("files open") << QStringList{"a.gpl", "b.ase"} << Action::Open << "" << 0 << "";
    QTest::newRow("pick") << QStringList{"--pick"} << Action::Pick << "" << 0 << "hex";
    QTest::newRow("list formats") << QStringList{"--list-formats"} << Action::ListFormats << "" << 0
                                  << "";
    QTest::newRow("file beside pick")
        << QStringList{"--pick", "a.gpl"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("file beside extract")
        << QStringList{"--extract", "a.png", "b.gpl"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("pick and extract")
        << QStringList{"--pick", "--extract", "a.png"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("print without pick")
        << QStringList{"--print"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("save-to without pick")
        << QStringList{"--save-to", "Web"} << Action::UsageError << "" << 0 << "";
    QTest::newRow("format alone") << QStringList{"--format", "hex"} << Action::UsageError << "" << 0
                                  << "";
    QTest::newRow("save-to and no-save") << QStringList{"--pick", "--save-to", "Web", "--no-save"}
                                         << Action::UsageError << "" << 0 << "";
    QTest::newRow("save-to empty")
        << QStringList{"--pick", "--save-to="} << Action::UsageError << "" << 0 << "";
    QTest::newRow("pick, unknown format")
        << QStringList{"--pick", "--format", "cmyk"} << Action::UsageError << "" << 0 << "";
}

void tst_commandline::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    arguments.prepend(QStringLiteral("tintora"));
    const commandline::Request request = commandline::Parse(arguments);
    QCOMPARE(request.action, action);
    QCOMPARE(commandline::NeedsWindows(request),
             action == Action::StartWindow || action == Action::Pick || action == Action::Open);
    if (action == Action::UsageError)
        QVERIFY(!request.error.isEmpty());
    if (action == Action::Pick || action == Action::Extract)
        QTEST(request.format, "format");
    if (action != Action::Extract)
        return;
    QTEST(request.imagePath, "image");
    QTEST(request.colors, "colors");
    QTEST(request.format, "format");
}

void tst_commandline::parsePick_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("print");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("saveTo");
    QTest::newRow("defaults") << QStringList{"--pick"} << "hex" << false << true << true << "";
    QTest::newRow("every option") << QStringList{"--pick",    "--format=oklch", "--print",
                                                 "--no-copy", "--save-to",      "Web Safe"}
                                  << "oklch" << true << false << true << "Web Safe";
    QTest::newRow("no save") << QStringList{"--no-save", "--pick", "--format", "cpp"} << "cpp"
                             << false << true << false << "";
    QTest::newRow("a template by name")
        << QStringList{"--pick", "--format", "Dash"} << "Dash" << false << true << true << "";
}

void tst_commandline::parsePick()
{
    QFETCH(QStringList, arguments);
    arguments.prepend(QStringLiteral("tintora"));
    const commandline::Request request =
        commandline::Parse(arguments, {{QStringLiteral("Dash"), QStringLiteral("{r}-{g}-{b}")}});
    QCOMPARE(request.action, Action::Pick);
    QVERIFY(commandline::NeedsWindows(request));
    QTEST(request.format, "format");
    QTEST(request.print, "print");
    QTEST(request.copy, "copy");
    QTEST(request.save, "save");
    QTEST(request.saveTo, "saveTo");
}

void tst_commandline::parseFiles_absoluteInOrder()
{
    // The running instance that imports them works in another folder.
    const QString here = QDir::currentPath();
    const commandline::Request request = commandline::Parse(
        {QStringLiteral("tintora"), QStringLiteral("b.gpl"), QStringLiteral("/x/../y/a.ase")});
    QCOMPARE(request.action, Action::Open);
    QCOMPARE(request.files,
             (QStringList{here + QStringLiteral("/b.gpl"), QStringLiteral("/y/a.ase")}));
}

void tst_commandline::listFormats_everyNameWithItsExample()
{
    // The user's own notation, as the Color Formats window stores it.
    QTemporaryDir config;
    {
        QSettings settings(config.filePath(QStringLiteral("quorvane software/Tintora 3.7.conf")),
                           QSettings::IniFormat);
        FormatChoices choices = FormatChoices::Defaults();
        choices.templates.append({QStringLiteral("Dash"), QStringLiteral("{r}-{g}-{b}")});
        settings.setValue(FormatChoices::SettingKey, choices.toSetting());
    }
    const Outcome outcome =
        runWithoutDisplay({QStringLiteral("--list-formats")}, config.path(), config.path());
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.err, QByteArray());
    const QStringList lines =
        QString::fromUtf8(outcome.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QList<formatnames::Entry> catalog =
        formatnames::Catalog({{QStringLiteral("Dash"), QStringLiteral("{r}-{g}-{b}")}});
    QCOMPARE(lines.size(), catalog.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = catalog.at(i).name;
        const QStringList fields = lines.at(i).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QCOMPARE(fields.constFirst(), name);
        QCOMPARE(lines.at(i).mid(lines.at(i).indexOf(QLatin1Char(' '))).trimmed(),
                 formatnames::Format(name, Blue,
                                     {{QStringLiteral("Dash"), QStringLiteral("{r}-{g}-{b}")}})
                     .value());
    }
    QVERIFY(lines.constFirst().endsWith(QLatin1String("#3A6EA5")));
    QVERIFY(lines.constLast().startsWith(QLatin1String("Dash ")));
    QVERIFY(lines.constLast().endsWith(QLatin1String("58-110-165")));
}

void tst_commandline::helpAndVersion_needNoDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("printed");
    QTest::newRow("--help") << QStringList{"--help"} << "--extract <image>";
    QTest::newRow("-h") << QStringList{"-h"} << "--format <name>";
    QTest::newRow("--version") << QStringList{"--version"} << "Tintora 3.7\n";
    QTest::newRow("-v") << QStringList{"-v"} << "Tintora 3.7\n";
    QTest::newRow("--help lists the pick") << QStringList{"--help"} << "--save-to <palette>";
    QTest::newRow("--list-formats") << QStringList{"--list-formats"} << "oklch ";
}

void tst_commandline::helpAndVersion_needNoDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, printed);
    QTemporaryDir data;
    const Outcome outcome = runWithoutDisplay(arguments, data.path());
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY2(QString::fromUtf8(outcome.out).contains(printed), outcome.out.constData());
    QCOMPARE(outcome.err, QByteArray());
    // No start-up ran: the data folder was not touched.
    QVERIFY(QDir(data.path()).isEmpty());
}

// The executable alone, its windows' module missing (copied on its own, a
// broken install): a message and exit 1, rather than a crash or silence.
void tst_commandline::withoutItsWindows_saysWhy()
{
    QTemporaryDir data;
    QTemporaryDir folder;
    const QString alone = folder.filePath(QStringLiteral("tintora"));
    QVERIFY(QFile::copy(QStringLiteral(TINTORA_EXECUTABLE), alone));
    const Outcome outcome =
        runWithoutDisplay({QStringLiteral("--version")}, data.path(), {}, alone);
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY2(outcome.err.contains("the program's windows could not be loaded from " +
                                  QFile::encodeName(folder.path())),
             outcome.err.constData());
    QCOMPARE(outcome.out, QByteArray());
}

// A program started from a folder that holds a file named as one of its
// libraries (a download folder, an unpacked archive) loads the system's
// library, not that file: the executable and the windows' module search no
// folder of their own, least of all the current one.
void tst_commandline::librariesInTheCurrentFolder_areNotLoaded_data()
{
    QTest::addColumn<QString>("library");
    QTest::newRow("the executable's") << "libQt6Core.so.6";
    QTest::newRow("the windows' module's") << "libQt6Widgets.so.6";
}

void tst_commandline::librariesInTheCurrentFolder_areNotLoaded()
{
    QFETCH(QString, library);
    QTemporaryDir data;
    QTemporaryDir current;
    writeFile(current, library, "not a library, a stranger's file\n");
    const Outcome outcome = runWithoutDisplay({QStringLiteral("--version")}, data.path(), {},
                                              QStringLiteral(TINTORA_EXECUTABLE), current.path());
    QCOMPARE(outcome.err, QByteArray());
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, QByteArray("Tintora 3.7\n"));
}

// Qt's own ending here is an abort whose advice is to reinstall.
void tst_commandline::windowsWithoutDisplay_sayWhichIsMissing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");
    const QString neither = QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
    QTest::newRow("the main window") << QStringList{} << neither;
    QTest::newRow("a pick") << QStringList{"--pick", "--print"} << neither;
    // It asks for X11 itself, whatever the session.
    QTest::newRow("the clipboard keeper")
        << QStringList{"--keep-clipboard"} << "no window could be opened (DISPLAY not set";
}

void tst_commandline::windowsWithoutDisplay_sayWhichIsMissing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    QTemporaryDir data;
    const Outcome outcome = runWithoutDisplay(arguments, data.path());
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY2(QString::fromUtf8(outcome.err).contains(said), outcome.err.constData());
    QCOMPARE(outcome.out, QByteArray());
    QVERIFY(QDir(data.path()).isEmpty());
}

void tst_commandline::wrongCommandLines_exitTwo_openNoWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown long option") << QStringList{"--frobnicate"} << "frobnicate";
    QTest::newRow("unknown short option") << QStringList{"-q"} << "'q'";
    QTest::newRow("bad colour count")
        << QStringList{"--extract", "x.png", "--colors", "99"} << "--colors";
    QTest::newRow("unknown format")
        << QStringList{"--extract", "x.png", "--format", "cmyk"} << "cmyk";
    QTest::newRow("pick, unknown format") << QStringList{"--pick", "--format", "cmyk"} << "cmyk";
    QTest::newRow("print without pick") << QStringList{"--print"} << "--print";
}

void tst_commandline::wrongCommandLines_exitTwo_openNoWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    QTemporaryDir data;
    // Without a display, a program that went on to open its window would
    // end with Qt's own failure, not with 2.
    const Outcome outcome = runWithoutDisplay(arguments, data.path());
    QCOMPARE(outcome.exitCode, 2);
    QCOMPARE(outcome.out, QByteArray());
    QVERIFY2(QString::fromUtf8(outcome.err).contains(named), outcome.err.constData());
    QVERIFY(QDir(data.path()).isEmpty());
}

void tst_commandline::extract_printsColoursAndShares_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("defaults") << QStringList() << "#F2C14E 60.0%\n#3A6EA5 40.0%\n";
    QTest::newRow("two colours") << QStringList{"--colors", "2"}
                                 << "#F2C14E 60.0%\n#3A6EA5 40.0%\n";
    QTest::newRow("oklch") << QStringList{"--format", "oklch"}
                           << notations::Format(notations::Notation::Oklch, Yellow) + " 60.0%\n" +
                                  notations::Format(notations::Notation::Oklch, Blue) + " 40.0%\n";
    QTest::newRow("display-p3") << QStringList{"--format", "display-p3"}
                                << notations::Format(notations::Notation::DisplayP3, Yellow) +
                                       " 60.0%\n" +
                                       notations::Format(notations::Notation::DisplayP3, Blue) +
                                       " 40.0%\n";
}

void tst_commandline::extract_printsColoursAndShares()
{
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    const QString image = writeFile(
        folder, QStringLiteral("two colours.png"),
        syntheticimages::Encoded(syntheticimages::Stripes({{Yellow, 6}, {Blue, 4}}, 10), "png"));
    const Outcome outcome =
        runWithoutDisplay(QStringList{QStringLiteral("--extract"), image} + options, folder.path());
    QCOMPARE(outcome.err, QByteArray());
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(QString::fromUtf8(outcome.out), expected);
}

void tst_commandline::extract_refusedFiles_exitOne_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not an image") << QByteArray("just text\n") << "is not an image";
    QTest::newRow("PNG claiming 200 megapixels")
        << syntheticimages::PngClaiming(20000, 10000) << "more than 100 megapixels";
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QTest::newRow("wholly transparent")
        << syntheticimages::Encoded(clear, "png") << "every pixel is transparent";
    QTest::newRow("missing") << QByteArray() << "cannot be opened";
}

void tst_commandline::extract_refusedFiles_exitOne()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString image = QTest::currentDataTag() == QByteArray("missing")
                              ? folder.filePath(QStringLiteral("absent.png"))
                              : writeFile(folder, QStringLiteral("picture.png"), bytes);
    const Outcome outcome = runWithoutDisplay({QStringLiteral("--extract"), image}, folder.path());
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, QByteArray());
    const QString err = QString::fromUtf8(outcome.err);
    QVERIFY2(err.contains(reason), qPrintable(err));
    QVERIFY2(err.contains(image), qPrintable(err));
}

void tst_commandline::convert_parse_data()
{
    using paletteexchange::Format;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("format");

    QTest::newRow("by extension") << QStringList{"--convert", "a.gpl", "b.ase"} << Action::Convert
                                  << int(Format::SwatchExchange);
    QTest::newRow("longest extension wins") << QStringList{"--convert", "a.gpl", "b.tokens.json"}
                                            << Action::Convert << int(Format::DesignTokens);
    QTest::newRow(".css is custom properties")
        << QStringList{"--convert", "a.gpl", "b.css"} << Action::Convert << int(Format::Css);
    QTest::newRow("--to over the extension")
        << QStringList{"--convert", "a.gpl", "b.css", "--to", "tailwind"} << Action::Convert
        << int(Format::Tailwind);
    QTest::newRow("--to in any case") << QStringList{"--to=TOKENS", "--convert", "a.gpl", "b.json"}
                                      << Action::Convert << int(Format::DesignTokens);
    QTest::newRow("--to without --convert")
        << QStringList{"--to", "css"} << Action::UsageError << 0;
    QTest::newRow("one file") << QStringList{"--convert", "a.gpl"} << Action::UsageError << 0;
    QTest::newRow("three files") << QStringList{"--convert", "a.gpl", "b.css", "c.css"}
                                 << Action::UsageError << 0;
    QTest::newRow("with --extract")
        << QStringList{"--convert", "a.gpl", "b.css", "--extract", "x"} << Action::UsageError << 0;
    QTest::newRow("unknown --to") << QStringList{"--convert", "a.gpl", "b.css", "--to", "pdf"}
                                  << Action::UsageError << 0;
    QTest::newRow("no format from the extension")
        << QStringList{"--convert", "a.gpl", "b.txt"} << Action::UsageError << 0;
}

void tst_commandline::convert_parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    arguments.prepend(QStringLiteral("tintora"));
    const commandline::Request request = commandline::Parse(arguments);
    QCOMPARE(request.action, action);
    QVERIFY(!commandline::NeedsWindows(request));
    if (action != Action::Convert)
        return;
    QCOMPARE(request.convertInput, QStringLiteral("a.gpl"));
    QTEST(int(request.convertFormat), "format");
}

void tst_commandline::convert_writesOrExplains_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("arguments"); // after IN: OUT and options
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("told");   // on stderr
    QTest::addColumn<QByteArray>("written"); // in OUT; empty: OUT must not change
    QTest::addColumn<bool>("outExists");     // OUT there before the run

    const QByteArray gimp = "GIMP Palette\nName: Tango\n252 233  79\tButter 1\n 46  52  54\n";
    const QByteArray tokens = R"({"brand": {"$type": "color", "primary": {"500": {"$value": )"
                              R"("#3B82F6"}}}})";
    const QByteArray office =
        R"(<?xml version="1.0" encoding="UTF-8"?>)"
        R"(<ooo:color-table xmlns:ooo="http://openoffice.org/2004/office" )"
        R"(xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0">)"
        R"(<draw:color draw:name="Dark Red 2" draw:color="#8b0000"/></ooo:color-table>)";
    QTest::newRow("gpl to css, names escaped")
        << "tango.gpl" << gimp << QStringList{"out.css"} << 0 << QStringList()
        << QByteArray("  --tango-Butter\\ 1: #FCE94F;\n  --tango-darkslategray: #2E3436;\n")
        << false;
    QTest::newRow("tokens to a tailwind theme")
        << "brand.tokens.json" << tokens << QStringList{"theme.css", "--to", "tailwind"} << 0
        << QStringList() << QByteArray("  --color-primary-500: #3B82F6;\n") << false;
    QTest::newRow("soc to gpl, over an older file")
        << "chart.soc" << office << QStringList{"out.gpl"} << 0 << QStringList()
        << QByteArray("139   0   0\tDark Red 2\n") << true;
    QTest::newRow("bad gpl names the file and line")
        << "bad.gpl" << QByteArray("GIMP Palette\n1 2 3 a\n1 2 x\n") << QStringList{"out.ase"} << 1
        << QStringList{"bad.gpl", "line 3"} << QByteArray() << false;
    QTest::newRow("bad gpl leaves an older file alone")
        << "bad.gpl" << QByteArray("GIMP Palette\n1 2 300\n") << QStringList{"out.ase"} << 1
        << QStringList{"bad.gpl", "line 2"} << QByteArray() << true;
    QTest::newRow("bad ase names the byte")
        << "cut.ase"
        << QByteArray("ASEF\x00\x01\x00\x00\x00\x00\x00\x01\x00\x01\x00\x00\x00\x64"
                      "ab",
                      20)
        << QStringList{"out.gpl"} << 1 << QStringList{"cut.ase", "at byte 12"} << QByteArray()
        << false;
    QTest::newRow("bad json names line and column")
        << "x.tokens.json" << QByteArray("{\n  \"a\": [1,,]\n}") << QStringList{"out.gpl"} << 1
        << QStringList{"x.tokens.json", "line 2, column"} << QByteArray() << false;
    QTest::newRow("binary names the zero byte")
        << "x.bin" << QByteArray("abc\0def", 7) << QStringList{"out.gpl"} << 1
        << QStringList{"x.bin", "byte 3"} << QByteArray() << false;
    QTest::newRow("missing input") << "" << QByteArray() << QStringList{"out.gpl"} << 1
                                   << QStringList{"absent.gpl"} << QByteArray() << false;
    QTest::newRow("unknown --to") << "tango.gpl" << gimp << QStringList{"out.css", "--to", "pdf"}
                                  << 2 << QStringList{"'pdf'", "tailwind"} << QByteArray() << false;
    QTest::newRow("extension of no format")
        << "tango.gpl" << gimp << QStringList{"out.txt"} << 2 << QStringList{"out.txt", "--to"}
        << QByteArray() << false;
}

void tst_commandline::convert_writesOrExplains()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, told);
    QFETCH(QByteArray, written);
    QFETCH(bool, outExists);
    QTemporaryDir folder;
    const QString in = input.isEmpty() ? folder.filePath(QStringLiteral("absent.gpl"))
                                       : writeFile(folder, input, bytes);
    const QString out = folder.filePath(arguments.takeFirst());
    const QByteArray older = "an older file\n";
    if (outExists)
        writeFile(folder, QFileInfo(out).fileName(), older);
    // The data folder is neither resolved nor created.
    const QString data = folder.filePath(QStringLiteral("data"));
    const Outcome outcome =
        runWithoutDisplay(QStringList{QStringLiteral("--convert"), in, out} + arguments, data);
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.out, QByteArray());
    QVERIFY(!QFileInfo::exists(data));
    const QString err = QString::fromUtf8(outcome.err);
    if (exitCode == 0)
        QCOMPARE(err, QString());
    for (const QString& part : told)
        QVERIFY2(err.contains(part), qPrintable(err));
    QFile file(out);
    if (written.isEmpty()) {
        QCOMPARE(file.exists(), outExists);
        QVERIFY(!outExists || (file.open(QIODevice::ReadOnly) && file.readAll() == older));
        return;
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY2(content.contains(written), content.constData());
    // Nothing but OUT was left beside it: no temporary file of the writing.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

void tst_commandline::convert_replacesNeitherItsInputNorASpecialFile_data()
{
    QTest::addColumn<QString>("output"); // in the folder of IN, "tango.gpl"
    QTest::addColumn<bool>("pipe");      // OUT a named pipe before the run
    QTest::addColumn<QString>("told");
    QTest::newRow("onto itself") << "tango.gpl" << false << "it is the file converted";
    QTest::newRow("onto itself by another name")
        << "./tango.gpl" << false << "it is the file converted";
    // A device or a pipe was replaced by a plain file (/dev/null, as root).
    QTest::newRow("onto a named pipe") << "pipe.gpl" << true << "it is not a plain file";
}

void tst_commandline::convert_replacesNeitherItsInputNorASpecialFile()
{
    QFETCH(QString, output);
    QFETCH(bool, pipe);
    QFETCH(QString, told);
    QTemporaryDir folder;
    const QByteArray gimp = "GIMP Palette\nName: Tango\n252 233  79\tButter 1\n";
    const QString in = writeFile(folder, QStringLiteral("tango.gpl"), gimp);
    const QString out = folder.path() + QLatin1Char('/') + output;
    if (pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(out).constData(), 0600), 0);
    const Outcome outcome = runWithoutDisplay(
        {QStringLiteral("--convert"), in, out, QStringLiteral("--to"), QStringLiteral("ase")},
        folder.filePath(QStringLiteral("data")));
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY2(QString::fromUtf8(outcome.err).contains(told), outcome.err.constData());
    QFile input(in);
    QVERIFY(input.open(QIODevice::ReadOnly));
    QCOMPARE(input.readAll(), gimp);
    if (pipe) {
        struct stat status = {};
        QCOMPARE(::lstat(QFile::encodeName(out).constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }
}

void tst_commandline::output_lostOnAFullDisk_fails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--version") << QStringList{"--version"};
    QTest::newRow("--list-formats") << QStringList{"--list-formats"};
}

void tst_commandline::output_lostOnAFullDisk_fails()
{
    // "> colors.txt" on a full disk: a script must not take what is missing
    // for a success.
    QFETCH(QStringList, arguments);
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("This system has no /dev/full.");
    QTemporaryDir folder;
    const Outcome outcome = runWithoutDisplay(arguments, folder.filePath(QStringLiteral("data")),
                                              QString(), QStringLiteral(TINTORA_EXECUTABLE),
                                              QString(), QStringLiteral("/dev/full"));
    QCOMPARE(outcome.exitCode, 1);
    // The system's reason follows, in the user's language.
    QVERIFY2(outcome.err.startsWith("tintora: could not write to the standard output: "),
             outcome.err.constData());
}

QTEST_GUILESS_MAIN(tst_commandline)
#include "tst_commandline.moc"
