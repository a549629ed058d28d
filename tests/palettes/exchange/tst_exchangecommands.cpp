#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "app/InstanceMessage.h"
#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/exchange/SwatchExchange.h"
#include "tests/palettes/PaletteTestSession.h"

#include <bit>
#include <memory>

using namespace bascommon;

namespace {

const QList<IndexLine> ThreePalettes = {
    {"mycolor.rgb", "My Colors", "0"},
    {"recent.rgb", "Recent Colors", "0"},
    {"c4.rgb", "Sea & Sky", "1"},
};
// c4.rgb in file order, oldest first.
const QByteArray SeaAndSky = "0A0B0C123456FFFFFF000000abcdef";
const QList<Color> SeaAndSkyColours = {MakeColor(10, 11, 12), MakeColor(0x12, 0x34, 0x56), White,
                                       Black, MakeColor(0xAB, 0xCD, 0xEF)};

void withThreePalettes(TestDataFolder& folder)
{
    writeIndex(folder, ThreePalettes);
    folder.write(QStringLiteral("c4.rgb"), SeaAndSky);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        qFatal("cannot write a test file");
}

QList<Color> reversed(QList<Color> colours)
{
    std::reverse(colours.begin(), colours.end());
    return colours;
}

QByteArray recordsOf(const QList<Color>& colours)
{
    QByteArray records;
    for (const Color colour : colours)
        records += ColorToHtmlHex(colour).mid(1).toLatin1();
    return records;
}

// A swatch exchange file with two groups, laid out by hand.
QByteArray twoGroupFile()
{
    auto be16 = [](quint16 v) {
        QByteArray out(2, '\0');
        out[0] = char(v >> 8);
        out[1] = char(v & 0xFF);
        return out;
    };
    auto be32 = [&](quint32 v) { return be16(quint16(v >> 16)) + be16(quint16(v)); };
    auto name = [&](const QString& text) {
        QByteArray out = be16(quint16(text.size() + 1));
        for (const QChar c : text)
            out += be16(c.unicode());
        return out + be16(0);
    };
    auto block = [&](quint16 type, const QByteArray& data) {
        return be16(type) + be32(quint32(data.size())) + data;
    };
    auto rgb = [&](float r, float g, float b) {
        return block(0x0001, name("c") + "RGB " + be32(std::bit_cast<quint32>(r)) +
                                 be32(std::bit_cast<quint32>(g)) + be32(std::bit_cast<quint32>(b)) +
                                 be16(0));
    };
    const QByteArray body = block(0xC001, name("Brand Kit")) + rgb(1, 0, 0) + rgb(0, 0, 1) +
                            block(0xC002, {}) + block(0xC001, name("Extra")) + rgb(0, 1, 0) +
                            block(0xC002, {});
    return "ASEF" + be16(1) + be16(0) + be32(7) + body;
}

} // namespace

class tst_exchangecommands : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_outside = std::make_unique<QTemporaryDir>(); }
    void cleanup();

    void menuItems_followNewPalette();
    void exportTo_data();
    void exportTo();
    void export_cancelled_writesNothing();
    void export_unknownExtension_saysSo();
    void export_unreadableRecord_saysSoBeforeAsking();
    void import_data();
    void import();
    void import_roundTripsAnExport_data();
    void import_roundTripsAnExport();
    void import_malformed_changesNothing_data();
    void import_malformed_changesNothing();
    void import_cancelled_changesNothing();
    void import_indexCannotBeWritten_leavesNoPaletteFile();
    void import_paletteFileCannotBeReplaced_takesTheEntryBack();
    void openFromAnotherStart_eachFileAPalette_aBadOneSaysSo();
    void import_nameTaken_getsNumber();
    void import_gimpNamedColors_keepsNamesAndOrder();
    void export_namedPalette_passesNamesInViewOrder();

private:
    PaletteSession& start(const std::function<void(TestDataFolder&)>& prepare = withThreePalettes);
    std::unique_ptr<PaletteSession> m_session;
    // Where the user's own files are, outside the data folder.
    std::unique_ptr<QTemporaryDir> m_outside;
};

PaletteSession& tst_exchangecommands::start(const std::function<void(TestDataFolder&)>& prepare)
{
    m_session = std::make_unique<PaletteSession>(prepare);
    return *m_session;
}

void tst_exchangecommands::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_exchangecommands::menuItems_followNewPalette()
{
    PaletteSession& s = start();
    const QList<QAction*> items = s.window->mnufile->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items.at(0), s.window->mnuNew);
    QCOMPARE(items.at(1)->objectName(), QStringLiteral("mnuExport"));
    QCOMPARE(items.at(1)->text(), QStringLiteral("&Export Palette..."));
    QCOMPARE(items.at(2)->objectName(), QStringLiteral("mnuImport"));
    QCOMPARE(items.at(2)->text(), QStringLiteral("&Import Palette..."));
    QCOMPARE(items.at(3), s.window->mnuRenamePalette);
    QCOMPARE(items.at(4), s.window->mnuExit);
    for (QAction* item : {items.at(1), items.at(2)})
        QVERIFY(item->isEnabled() && item->isVisible());
}

void tst_exchangecommands::exportTo_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("chosenFilter");
    QTest::addColumn<paletteexchange::Format>("format");
    using F = paletteexchange::Format;
    const QString gimp = paletteexchange::FilterOf(F::Gimp);
    QTest::newRow("GIMP") << "sea.gpl" << gimp << F::Gimp;
    QTest::newRow("swatch exchange") << "sea.ASE" << gimp << F::SwatchExchange;
    QTest::newRow("CSS") << "sea.css" << gimp << F::Css;
    QTest::newRow("JSON") << "sea.json" << gimp << F::Json;
    QTest::newRow("Photoshop") << "sea.aco" << gimp << F::Photoshop;
    QTest::newRow("LibreOffice") << "sea.soc" << gimp << F::Office;
    QTest::newRow("Sketch") << "sea.sketchpalette" << gimp << F::Sketch;
    QTest::newRow("design tokens by name") << "sea.tokens.json" << gimp << F::DesignTokens;
    QTest::newRow("SCSS") << "sea.scss" << gimp << F::Scss;
    QTest::newRow("Less") << "sea.less" << gimp << F::Less;
    // Two formats share .css and .json: the filter chosen in the dialog decides.
    QTest::newRow("Tailwind theme chosen")
        << "sea.css" << paletteexchange::FilterOf(F::Tailwind) << F::Tailwind;
    QTest::newRow("design tokens chosen, plain .json")
        << "sea.json" << paletteexchange::FilterOf(F::DesignTokens) << F::DesignTokens;
    // A name with another format's extension is that format, whatever the filter.
    QTest::newRow("Tailwind chosen, .gpl typed")
        << "sea.gpl" << paletteexchange::FilterOf(F::Tailwind) << F::Gimp;
}

void tst_exchangecommands::exportTo()
{
    QFETCH(QString, file);
    QFETCH(QString, chosenFilter);
    QFETCH(paletteexchange::Format, format);
    PaletteSession& s = start();
    s.choosePalette(2);
    const QString path = m_outside->filePath(file);
    s.platform.saveAnswers = {path};
    s.platform.saveFilterAnswers = {chosenFilter};
    s.window->mnuExport->trigger();

    QCOMPARE(s.platform.saveRequests.size(), 1);
    const FakePlatform::SaveRequest request = s.platform.saveRequests.first();
    QCOMPARE(request.proposedName, QStringLiteral("Sea & Sky"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("gpl"));
    QCOMPARE(request.filter, paletteexchange::ExportFilter());
    QVERIFY(s.platform.messages.isEmpty());
    // The palette on display in the order the view shows it, newest first.
    QCOMPARE(readFile(path),
             paletteexchange::Encode(
                 format, {QStringLiteral("Sea & Sky"), reversed(SeaAndSkyColours), {}}));
    QCOMPARE(s.folder.read("c4.rgb"), SeaAndSky);
    QCOMPARE(s.window->cmbChart->currentIndex(), 2);
}

void tst_exchangecommands::export_cancelled_writesNothing()
{
    PaletteSession& s = start();
    s.platform.saveAnswers = {QString()};
    s.window->mnuExport->trigger();
    QCOMPARE(s.platform.saveRequests.size(), 1);
    QCOMPARE(s.platform.saveRequests.first().proposedName, QStringLiteral("My Colors"));
    QVERIFY(QDir(m_outside->path()).isEmpty());
    QVERIFY(s.platform.messages.isEmpty());
}

void tst_exchangecommands::export_unknownExtension_saysSo()
{
    PaletteSession& s = start();
    const QString path = m_outside->filePath("sea.txt");
    s.platform.saveAnswers = {path};
    s.window->mnuExport->trigger();
    QCOMPARE(s.platform.messages.size(), 1);
    const QString text = s.platform.messages.first().text;
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)) &&
                 text.contains(".gpl, .ase, .aco, .soc, .sketchpalette, .tokens.json, .css, .scss, "
                               ".less or .json"),
             qPrintable(text));
    QVERIFY(!QFile::exists(path));
}

void tst_exchangecommands::export_unreadableRecord_saysSoBeforeAsking()
{
    PaletteSession& s = start([](TestDataFolder& folder) {
        withThreePalettes(folder);
        folder.write(QStringLiteral("c4.rgb"), "0A0B0CZZ0000");
    });
    s.choosePalette(2);
    const qsizetype before = s.platform.messages.size();
    s.window->mnuExport->trigger();
    QVERIFY(s.platform.saveRequests.isEmpty());
    QCOMPARE(s.platform.messages.size(), before + 1);
    QVERIFY2(s.platform.messages.last().text.contains("record 2 holds \"ZZ0000\""),
             qPrintable(s.platform.messages.last().text));
}

void tst_exchangecommands::import_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<Color>>("colours");
    const QByteArray tango = readFile(QStringLiteral(TINTORA_TEST_DATA_DIR "/gimp/Tango.gpl"));
    QList<Color> tangoColours;
    for (const QByteArray& hex :
         readFile(QStringLiteral(TINTORA_TEST_DATA_DIR "/gimp/Tango.colors")).split('\n'))
        if (!hex.isEmpty())
            tangoColours.append(MakeColor(hex.left(2).toInt(nullptr, 16),
                                          hex.mid(2, 2).toInt(nullptr, 16),
                                          hex.mid(4, 2).toInt(nullptr, 16)));
    QTest::newRow("GIMP's Tango palette")
        << "Tango.gpl" << tango << "Tango Icon Theme" << tangoColours;
    QTest::newRow("swatch exchange with groups")
        << "kit.ase" << twoGroupFile() << "Brand Kit"
        << QList<Color>{MakeColor(255, 0, 0), MakeColor(0, 0, 255), MakeColor(0, 255, 0)};
    QTest::newRow("nameless, named after the file")
        << "Autumn Leaves.gpl" << QByteArray("GIMP Palette\n200 100 0\n") << "Autumn Leaves"
        << QList<Color>{MakeColor(200, 100, 0)};
    QTest::newRow("no colours") << "Empty.gpl" << QByteArray("GIMP Palette\nName: Nothing\n")
                                << "Nothing" << QList<Color>{};
}

void tst_exchangecommands::import()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QList<Color>, colours);
    // A file left from an earlier palette of the same name must not add its
    // colours to the imported ones.
    PaletteSession& s = start([](TestDataFolder& folder) {
        withThreePalettes(folder);
        folder.write(QStringLiteral("c5.rgb"), "111111");
    });
    frmshowcolor& w = *s.window;
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    QCOMPARE(w.NewChartFile, QStringLiteral("c5.rgb"));
    const QString path = m_outside->filePath(source);
    writeFile(path, content);
    s.platform.openAnswers = {path};
    w.mnuImport->trigger();

    QCOMPARE(s.platform.openRequests, QStringList{paletteexchange::ImportFilter()});
    QVERIFY(s.platform.messages.isEmpty());
    // A new user palette, listed last and shown, exactly as a new palette is.
    QCOMPARE(s.folder.read("colorchart.cci"),
             indexBefore + "c5.rgb\r\n" + name.toLatin1() + "\r\n1\r\n");
    // Shown in the file's order, first colour first: the newest record is
    // the file's first colour.
    QCOMPARE(s.folder.read("c5.rgb"), recordsOf(reversed(colours)));
    // A names file only where the file names a colour.
    const QStringList names = paletteexchange::Decode(content).palette.names;
    const bool named = std::any_of(names.begin(), names.end(),
                                   [](const QString& name) { return !name.isEmpty(); });
    QCOMPARE(s.folder.exists(QStringLiteral("c5.names")), named);
    QCOMPARE(w.cmbChart->count(), 4);
    QCOMPARE(w.cmbChart->currentIndex(), 3);
    QCOMPARE(w.cmbChart->currentText(), name);
    QCOMPARE(w.NewChartFile, QStringLiteral("c6.rgb"));
    QCOMPARE(w.CurPage, 1);
    QCOMPARE(w.ColorCount, qint32(colours.size()));
    QCOMPARE(s.cellColour(0), colours.isEmpty() ? White : colours.first());
    if (colours.size() > 1)
        QCOMPARE(s.cellColour(1), colours.at(1));
    QVERIFY(w.mnuDelChart->isEnabled());
    QCOMPARE(w.mnuAddChart.constLast()->text(), name);
    // The chosen file is only read.
    QCOMPARE(readFile(path), content);
}

void tst_exchangecommands::import_roundTripsAnExport_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("chosenFilter");
    QTest::addColumn<QString>("name");
    using F = paletteexchange::Format;
    const QString gimp = paletteexchange::FilterOf(F::Gimp);
    // "Sea & Sky" is listed already: the imported copy gets a number.
    const QString named = QStringLiteral("Sea & Sky (2)");
    QTest::newRow("GIMP") << "out.gpl" << gimp << named;
    QTest::newRow("swatch exchange") << "out.ase" << gimp << named;
    // Formats without a palette name: the new palette is named after the file.
    QTest::newRow("Photoshop") << "out.aco" << gimp << "out";
    QTest::newRow("LibreOffice") << "out.soc" << gimp << "out";
    QTest::newRow("Sketch") << "out.sketchpalette" << gimp << "out";
    QTest::newRow("design tokens") << "out.tokens.json" << gimp << named;
    QTest::newRow("Tailwind theme") << "out.css" << paletteexchange::FilterOf(F::Tailwind) << named;
    QTest::newRow("SCSS") << "out.scss" << gimp << named;
}

void tst_exchangecommands::import_roundTripsAnExport()
{
    QFETCH(QString, file);
    QFETCH(QString, chosenFilter);
    QFETCH(QString, name);
    PaletteSession& s = start();
    s.choosePalette(2);
    const QString path = m_outside->filePath(file);
    s.platform.saveAnswers = {path};
    s.platform.saveFilterAnswers = {chosenFilter};
    s.window->mnuExport->trigger();
    s.platform.openAnswers = {path};
    s.window->mnuImport->trigger();
    QVERIFY2(s.platform.messages.isEmpty(), qPrintable(s.platform.messageTexts().join('\n')));
    QCOMPARE(s.window->cmbChart->currentText(), name);
    // Upper-case digits, as every palette the program writes has them.
    QCOMPARE(s.folder.read("c5.rgb"), SeaAndSky.toUpper());
}

void tst_exchangecommands::import_malformed_changesNothing_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray kit = twoGroupFile();
    QTest::newRow("truncated swatch exchange")
        << "kit.ase" << kit.left(kit.size() - 3) << "it ends inside block 7 of 7";
    QTest::newRow("wrong magic") << "kit.ase"
                                 << "ASEX" + kit.mid(4)
                                 << "it is not a palette file of a known format";
    QTest::newRow("block past the end")
        << "kit.ase" << kit.left(kit.size() - 10) << "block 6 runs past the end of the file";
    QTest::newRow("absurd count") << "kit.ase"
                                  << kit.left(8) + QByteArray("\x7F\xFF\xFF\xFF") + kit.mid(12)
                                  << "claims 2147483647 blocks";
    QTest::newRow("GIMP line that is no colour")
        << "bad.gpl" << QByteArray("GIMP Palette\nName: Bad\n1 2 3\n4 5\n") << "line 4, \"4 5\"";
    QTest::newRow("empty file") << "empty.gpl" << QByteArray() << "the file is empty";
    QTest::newRow("missing file") << "gone.gpl" << QByteArray() << "Could not import";
}

void tst_exchangecommands::import_malformed_changesNothing()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    s.choosePalette(2);
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    const QStringList filesBefore = QDir(s.folder.path()).entryList(QDir::Files);
    const QString path = m_outside->filePath(source);
    if (QTest::currentDataTag() != QLatin1String("missing file"))
        writeFile(path, content);
    s.platform.openAnswers = {path};
    w.mnuImport->trigger();

    QCOMPARE(s.platform.messages.size(), 1);
    const FakePlatform::Message message = s.platform.messages.first();
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)) && message.text.contains(reason),
             qPrintable(message.text));
    QCOMPARE(message.icon, Platform::Icon::Critical);
    QCOMPARE(s.folder.read("colorchart.cci"), indexBefore);
    QCOMPARE(QDir(s.folder.path()).entryList(QDir::Files), filesBefore);
    QCOMPARE(w.cmbChart->count(), 3);
    QCOMPARE(w.cmbChart->currentIndex(), 2);
    QCOMPARE(w.NewChartFile, QStringLiteral("c5.rgb"));
}

void tst_exchangecommands::import_cancelled_changesNothing()
{
    PaletteSession& s = start();
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    const QStringList filesBefore = QDir(s.folder.path()).entryList(QDir::Files);
    s.platform.openAnswers = {QString()};
    s.window->mnuImport->trigger();
    QCOMPARE(s.platform.openRequests.size(), 1);
    QVERIFY(s.platform.messages.isEmpty());
    QCOMPARE(s.folder.read("colorchart.cci"), indexBefore);
    QCOMPARE(QDir(s.folder.path()).entryList(QDir::Files), filesBefore);
}

void tst_exchangecommands::import_indexCannotBeWritten_leavesNoPaletteFile()
{
    PaletteSession& s = start();
    // A folder in place of the index fails the listing, for root as well.
    s.folder.remove("colorchart.cci");
    QVERIFY(QDir(s.folder.path()).mkdir("colorchart.cci"));
    const QString path = m_outside->filePath("one.gpl");
    writeFile(path, "GIMP Palette\n1 2 3\n");
    s.platform.openAnswers = {path};
    s.window->mnuImport->trigger();
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY2(s.platform.messages.first().text.contains("colorchart.cci"),
             qPrintable(s.platform.messages.first().text));
    // The unlisted file that had the new palette's name is kept as it was.
    QCOMPARE(s.folder.read("c5.rgb"), TestDataFolder::shipped("c5.rgb"));
    QVERIFY(!s.folder.exists("c5.rgb.tmp"));
}

void tst_exchangecommands::import_paletteFileCannotBeReplaced_takesTheEntryBack()
{
    PaletteSession& s = start([](TestDataFolder& folder) {
        withThreePalettes(folder);
        folder.remove("c5.rgb");
        // A folder that is not empty cannot be replaced by a file, for root as well.
        QVERIFY(QDir(folder.path()).mkpath("c5.rgb/inside"));
    });
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    const QString path = m_outside->filePath("one.gpl");
    writeFile(path, "GIMP Palette\nName: One\n1 2 3\n");
    s.platform.openAnswers = {path};
    s.window->mnuImport->trigger();
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY2(s.platform.messages.first().text.contains(
                 QDir::toNativeSeparators(s.folder.filePath("c5.rgb"))),
             qPrintable(s.platform.messages.first().text));
    QCOMPARE(s.folder.read("colorchart.cci"), indexBefore);
    QVERIFY(!s.folder.exists("c5.rgb.tmp"));
    QCOMPARE(s.window->cmbChart->count(), 3);
}

void tst_exchangecommands::openFromAnotherStart_eachFileAPalette_aBadOneSaysSo()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    const QString gimp = m_outside->filePath(QStringLiteral("first.gpl"));
    writeFile(gimp, "GIMP Palette\nName: First\n#\n 10  11  12\tInk\n");
    const QString bad = m_outside->filePath(QStringLiteral("broken.gpl"));
    writeFile(bad, "not a palette at all\n");
    const QString swatches = m_outside->filePath(QStringLiteral("kit.ase"));
    writeFile(swatches, twoGroupFile());

    instancemessage::Request request;
    request.kind = instancemessage::Request::Kind::Open;
    request.files = {gimp, bad, swatches};
    std::optional<instancemessage::Reply> answer;
    w.answerSecondStart(request,
                        [&answer](const instancemessage::Reply& reply) { answer = reply; });

    // The later start fails, naming the file; the window says why.
    QVERIFY(answer && answer->status == instancemessage::Reply::Status::Failed);
    QCOMPARE(answer->message,
             QStringLiteral("Could not import \"%1\"; the running Tintora says why in its window.")
                 .arg(QDir::toNativeSeparators(bad)));
    // No dialog: the files are the ones given.
    QVERIFY(s.platform.openRequests.isEmpty());
    // The bad file gets the import's own message, naming it; the others
    // become palettes in the order given, the last one shown.
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY2(s.platform.messages.constFirst().text.contains(QDir::toNativeSeparators(bad)),
             qPrintable(s.platform.messages.constFirst().text));
    QCOMPARE(s.folder.read("colorchart.cci"),
             indexBefore + "c5.rgb\r\nFirst\r\n1\r\nc6.rgb\r\nBrand Kit\r\n1\r\n");
    QCOMPARE(w.cmbChart->currentText(), QStringLiteral("Brand Kit"));
    QCOMPARE(w.cmbChart->currentIndex(), w.cmbChart->count() - 1);
}

QTEST_MAIN(tst_exchangecommands)
void tst_exchangecommands::import_nameTaken_getsNumber()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    const QString path = m_outside->filePath("landing.gpl");
    writeFile(path, "GIMP Palette\nName: Landing Page\n1 2 3\n");
    for (const char* expected : {"Landing Page", "Landing Page (2)", "Landing Page (3)"}) {
        s.platform.openAnswers = {path};
        w.mnuImport->trigger();
        QCOMPARE(w.cmbChart->currentText(), QString::fromLatin1(expected));
    }
    QCOMPARE(w.cmbChart->count(), 6);
    QVERIFY(s.platform.messages.isEmpty());
}

void tst_exchangecommands::import_gimpNamedColors_keepsNamesAndOrder()
{
    const QString gimpPalette = QStringLiteral("/usr/share/gimp/2.0/palettes/Named_Colors.gpl");
    if (!QFile::exists(gimpPalette))
        QSKIP("GIMP's palettes are not installed (Debian package gimp-data)");
    ExchangePalette read;
    QVERIFY(paletteexchange::ImportFile(gimpPalette, read));
    QCOMPARE(read.colors.size(), 448);
    // Every colour of this palette is named, as the file writes it.
    QCOMPARE(read.names.size(), 448);
    QVERIFY(!read.names.contains(QString()));
    QCOMPARE(read.names.constFirst(), QStringLiteral("snow (255 250 250)"));

    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    s.platform.openAnswers = {gimpPalette};
    w.mnuImport->trigger();
    QVERIFY2(s.platform.messages.isEmpty(), qPrintable(s.platform.messageTexts().join('\n')));
    QCOMPARE(w.cmbChart->currentText(), QStringLiteral("Named Colors"));
    QCOMPARE(w.ColorCount, 448);
    // Page 1 shows the file's first colours first, each with its name.
    for (int cell = 0; cell < 216; ++cell) {
        QCOMPARE(s.cellColour(cell), read.colors.at(cell));
        const QString name = read.nameAt(cell);
        QCOMPARE(s.cell(cell)->accessibleName(),
                 QStringLiteral("%1%2, colour %3 of 448")
                     .arg(ColorToHtmlHex(read.colors.at(cell)),
                          name.isEmpty() ? QString() : QLatin1Char(' ') + name)
                     .arg(cell + 1));
    }
    // The names file holds the file's names, oldest record (last colour) first.
    QByteArray lines;
    for (qsizetype i = read.colors.size() - 1; i >= 0; --i)
        if (!read.nameAt(i).isEmpty())
            lines += ColorToHtmlHex(read.colors.at(i)).mid(1).toLatin1() + '\t' +
                     read.nameAt(i).toUtf8() + '\n';
    QCOMPARE(s.folder.read("c5.names"), lines);

    // Exported again: the same colours, names and order.
    const QString path = m_outside->filePath("again.gpl");
    s.platform.saveAnswers = {path};
    s.platform.saveFilterAnswers = {paletteexchange::FilterOf(paletteexchange::Format::Gimp)};
    w.mnuExport->trigger();
    ExchangePalette again;
    QVERIFY(paletteexchange::ImportFile(path, again));
    QCOMPARE(again.colors, read.colors);
    QCOMPARE(again.names, read.names);
}

void tst_exchangecommands::export_namedPalette_passesNamesInViewOrder()
{
    PaletteSession& s = start([](TestDataFolder& folder) {
        withThreePalettes(folder);
        folder.write(QStringLiteral("c4.names"), "0A0B0C\tdeep\nABCDEF\tsky\n");
    });
    s.choosePalette(2);
    const QString path = m_outside->filePath("sea.gpl");
    s.platform.saveAnswers = {path};
    s.platform.saveFilterAnswers = {paletteexchange::FilterOf(paletteexchange::Format::Gimp)};
    s.window->mnuExport->trigger();
    QVERIFY(s.platform.messages.isEmpty());
    ExchangePalette expected{
        QStringLiteral("Sea & Sky"), reversed(SeaAndSkyColours), {"sky", "", "", "", "deep"}};
    QCOMPARE(readFile(path), paletteexchange::Encode(paletteexchange::Format::Gimp, expected));
}

#include "tst_exchangecommands.moc"
