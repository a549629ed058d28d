#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/ClickableLabel.h"
#include "app/SelectionFrame.h"
#include "app/frmshowcolor.h"
#include "app/frmInput.h"
#include "tests/palettes/PaletteTestFiles.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/support/ModalScript.h"

#include <memory>

using namespace palettetest;

namespace {

// Five palettes: two fixed, one read-only, two of the user's; the fourth
// name holds an ampersand.
const QList<IndexLine> FivePalettes = {
    {"mycolor.rgb", "My Colors", "0"},
    {"recent.rgb", "Recent Colors", "0"},
    {"c1.rgb", "Web Safe Colors", "2"},
    {"c4.rgb", "Mine & Yours", "1"},
    {"c7.rgb", "Last", "1"},
};

std::function<void(TestDataFolder&)> withFivePalettes(const QByteArray& c4)
{
    return [c4](TestDataFolder& folder) {
        writeIndex(folder, FivePalettes);
        folder.write(QStringLiteral("c4.rgb"), c4);
        folder.write(QStringLiteral("c7.rgb"), "C7C7C7");
    };
}

// "Mine & Yours" holds AAAAAA, BBBBBB, AAAAAA, CCCCCC (records 1 to 4),
// three of them named.
const QByteArray NamedRecords = "AAAAAABBBBBBAAAAAACCCCCC";
const QByteArray NamedLines = "AAAAAA\ta1\nBBBBBB\tb\nCCCCCC\tc\n";

std::function<void(TestDataFolder&)> withNamedPalette()
{
    return [](TestDataFolder& folder) {
        withFivePalettes(NamedRecords)(folder);
        folder.write(QStringLiteral("c4.names"), NamedLines);
    };
}

// Answers the next name dialog with `text`, or cancels it for a null text.
void answerNameDialog(const QString& text, QString* shown = nullptr)
{
    whenModalShown([text, shown](QWidget* dialog) {
        auto* input = qobject_cast<frmInput*>(dialog);
        QVERIFY(input);
        if (shown)
            *shown = input->txtResult->text();
        if (text.isNull()) {
            QTest::mouseClick(input->cmdCancel, Qt::LeftButton);
            return;
        }
        input->txtResult->setText(text);
        QTest::mouseClick(input->cmdOk, Qt::LeftButton);
    });
}

QStringList listedNames(const frmshowcolor& window)
{
    QStringList names;
    for (int i = 0; i < window.cmbChart->count(); ++i)
        names.append(window.cmbChart->itemText(i));
    return names;
}

} // namespace

class tst_palettecommands : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void newPalette_data();
    void newPalette();
    void newPalette_longName_keptAsTheIndexKeepsIt();
    void newPalette_cancel_changesNothing();
    void deletePalette_yes_removesEntryAndFile();
    void deletePalette_no_changesNothing();
    void deletePalette_last_thenNewPaletteReusesItsNumber();
    void deletePalette_afterAnEntryLeftOut_removesTheChosenOne();
    void deleteColour_onLaterPage_returnsToPageOne();
    void deleteColour_onlyColour_leavesEmptyFile();
    void clearAll_data();
    void clearAll();
    void clearDuplicates_data();
    void clearDuplicates();
    void addTo_paletteOnDisplay_showsItFirst();
    void addTo_otherPalette_leavesViewAlone();
    void writeFailure_data();
    void writeFailure();
    void interruptedRewrite_leftoversNeverReachTheFiles();
    void namedPalette_commandsKeepNamesTrue_data();
    void namedPalette_commandsKeepNamesTrue();
    void renamePalette_rewritesIndexAndList_data();
    void renamePalette_rewritesIndexAndList();

private:
    PaletteSession& start(const std::function<void(TestDataFolder&)>& prepare = {});
    std::unique_ptr<PaletteSession> m_session;
};

PaletteSession& tst_palettecommands::start(const std::function<void(TestDataFolder&)>& prepare)
{
    m_session = std::make_unique<PaletteSession>(prepare);
    return *m_session;
}

void tst_palettecommands::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_palettecommands::newPalette_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("fromToolbar");
    QTest::newRow("trimmed") << "  Blue Set  "
                             << "Blue Set"
                             << "Blue Set" << false;
    QTest::newRow("empty name") << ""
                                << "Untiltled"
                                << "Untiltled" << true;
    QTest::newRow("spaces only") << "   "
                                 << "Untiltled"
                                 << "Untiltled" << false;
    QTest::newRow("ampersand") << "R&D"
                               << "R&D"
                               << "R&&D" << false;
}

void tst_palettecommands::newPalette()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, caption);
    QFETCH(bool, fromToolbar);
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    QCOMPARE(w.NewChartFile, QStringLiteral("c6.rgb"));

    QString title;
    QString prompt;
    whenModalShown([&](QWidget* dialog) {
        auto* input = qobject_cast<frmInput*>(dialog);
        QVERIFY(input);
        title = input->windowTitle();
        prompt = input->lblMsg->text();
        input->txtResult->setText(typed);
        QTest::mouseClick(input->cmdOk, Qt::LeftButton);
    });
    if (fromToolbar)
        s.tool("addnew")->trigger();
    else
        w.mnuNew->trigger();

    QCOMPARE(title, QStringLiteral("Add a new color palette"));
    QCOMPARE(prompt, QStringLiteral("Please input a name of new color palette:"));
    QCOMPARE(s.folder.read("colorchart.cci"),
             indexBefore + "c6.rgb\r\n" + stored.toLatin1() + "\r\n1\r\n");
    QCOMPARE(w.cmbChart->count(), 8);
    QCOMPARE(w.cmbChart->currentIndex(), 7);
    QCOMPARE(w.cmbChart->itemText(7), stored);
    QCOMPARE(w.NewChartFile, QStringLiteral("c7.rgb"));
    // Shown empty, and its file exists from now on.
    QVERIFY(s.folder.exists(QStringLiteral("c6.rgb")));
    QCOMPARE(s.folder.read("c6.rgb"), QByteArray());
    QCOMPARE(s.cellColour(0), bascommon::White);
    QVERIFY(!s.tool("prevpage")->isEnabled());
    QVERIFY(!s.tool("nextpage")->isEnabled());
    QVERIFY(w.mnuDelChart->isEnabled());
    QCOMPARE(s.action("mnuAddChart_3")->text(), caption);
    QCOMPARE(w.AddToFile.value(3), QStringLiteral("c6.rgb"));
}

void tst_palettecommands::newPalette_longName_keptAsTheIndexKeepsIt()
{
    // The field takes no more than the index keeps: a longer name made the
    // program call its own index damaged.
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    answerNameDialog(QString(1200, u'x'));
    w.mnuNew->trigger();
    QCOMPARE(s.folder.read("colorchart.cci"),
             indexBefore + "c6.rgb\r\n" + QByteArray(1000, 'x') + "\r\n1\r\n");
    QCOMPARE(w.cmbChart->itemText(7), QString(1000, u'x'));
    QVERIFY(s.platform.messages.isEmpty());
}

void tst_palettecommands::newPalette_cancel_changesNothing()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    whenModalShown([](QWidget* dialog) {
        QTest::mouseClick(qobject_cast<frmInput*>(dialog)->cmdCancel, Qt::LeftButton);
    });
    w.mnuNew->trigger();
    QCOMPARE(s.folder.read("colorchart.cci"), indexBefore);
    QCOMPARE(w.cmbChart->count(), 7);
    QVERIFY(!s.folder.exists(QStringLiteral("c6.rgb")));
}

void tst_palettecommands::deletePalette_yes_removesEntryAndFile()
{
    PaletteSession& s = start(withFivePalettes("C4C4C4"));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    QVERIFY(w.mnuDelChart->isEnabled());
    s.platform.answers.append(Platform::Answer::Yes);
    w.mnuDelChart->trigger();

    QCOMPARE(s.platform.messages.size(), 1);
    const FakePlatform::Message& question = s.platform.messages.at(0);
    QCOMPARE(question.text,
             QStringLiteral("Are you sure you want to delete \"Mine & Yours\" palette?"));
    QCOMPARE(question.title, QStringLiteral("Delete current color palette"));
    QCOMPARE(question.buttons, Platform::Buttons::YesNo);
    QCOMPARE(question.icon, Platform::Icon::Question);

    QList<IndexLine> remaining = FivePalettes;
    remaining.removeAt(3);
    QCOMPARE(s.folder.read("colorchart.cci"), indexBytes(remaining));
    QVERIFY(!s.folder.exists(QStringLiteral("c4.rgb")));
    QCOMPARE(listedNames(w),
             (QStringList{"My Colors", "Recent Colors", "Web Safe Colors", "Last"}));
    QCOMPARE(w.cmbChart->currentIndex(), 0);
    QCOMPARE(s.cellColour(0), bascommon::MakeColor(0x33, 0x66, 0x99));
    QCOMPARE(w.CurPage, 1);
    QVERIFY(!w.mnuDelChart->isEnabled());
    QCOMPARE(w.NewChartFile, QStringLiteral("c8.rgb"));
}

void tst_palettecommands::deletePalette_no_changesNothing()
{
    PaletteSession& s = start(withFivePalettes("C4C4C4"));
    frmshowcolor& w = *s.window;
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    s.choosePalette(4);
    s.platform.answers.append(Platform::Answer::No);
    w.mnuDelChart->trigger();
    QCOMPARE(s.platform.messages.size(), 1);
    QCOMPARE(s.folder.read("colorchart.cci"), indexBefore);
    QCOMPARE(s.folder.read("c7.rgb"), QByteArray("C7C7C7"));
    QCOMPARE(w.cmbChart->currentIndex(), 4);

    // A fixed or read-only palette offers no deletion at all.
    for (int i : {0, 2}) {
        s.choosePalette(i);
        w.mnuDelChart->trigger();
    }
    QCOMPARE(s.platform.messages.size(), 1);
}

void tst_palettecommands::deletePalette_last_thenNewPaletteReusesItsNumber()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    QCOMPARE(w.ChartFile.constLast(), QStringLiteral("c5.rgb"));
    QCOMPARE(w.NewChartFile, QStringLiteral("c6.rgb"));
    s.choosePalette(6);
    s.platform.answers.append(Platform::Answer::Yes);
    w.mnuDelChart->trigger();
    QVERIFY(!s.folder.exists(QStringLiteral("c5.rgb")));
    QCOMPARE(w.NewChartFile, QStringLiteral("c5.rgb"));

    whenModalShown([](QWidget* dialog) {
        auto* input = qobject_cast<frmInput*>(dialog);
        input->txtResult->setText(QStringLiteral("Again"));
        QTest::keyClick(input->txtResult, Qt::Key_Return);
    });
    w.mnuNew->trigger();
    QCOMPARE(w.ChartFile.constLast(), QStringLiteral("c5.rgb"));
    QCOMPARE(w.cmbChart->currentText(), QStringLiteral("Again"));
    // The deleted palette's colours do not come back.
    QCOMPARE(s.folder.read("c5.rgb"), QByteArray());
    QCOMPARE(w.ColorCount, 0);
}

void tst_palettecommands::deletePalette_afterAnEntryLeftOut_removesTheChosenOne()
{
    // The entry naming a file outside the data folder is not listed, so list
    // positions and index positions differ from there on.
    QList<IndexLine> index = FivePalettes;
    index[2] = {"../outside.rgb", "Outside", "1"};
    PaletteSession& s = start([index](TestDataFolder& folder) {
        writeIndex(folder, index);
        folder.write(QStringLiteral("c4.rgb"), "C4C4C4");
    });
    frmshowcolor& w = *s.window;
    QCOMPARE(s.platform.messages.size(), 1);
    QCOMPARE(listedNames(w), (QStringList{"My Colors", "Recent Colors", "Mine & Yours", "Last"}));
    s.choosePalette(2);
    s.platform.answers.append(Platform::Answer::Yes);
    w.mnuDelChart->trigger();
    QCOMPARE(s.platform.messages.at(1).text,
             QStringLiteral("Are you sure you want to delete \"Mine & Yours\" palette?"));
    index.removeAt(3);
    QCOMPARE(s.folder.read("colorchart.cci"), indexBytes(index));
    QVERIFY(!s.folder.exists(QStringLiteral("c4.rgb")));
    QCOMPARE(listedNames(w), (QStringList{"My Colors", "Recent Colors", "Last"}));
}

void tst_palettecommands::deleteColour_onLaterPage_returnsToPageOne()
{
    PaletteSession& s = start(withFivePalettes(numberedPalette(300)));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    s.tool("nextpage")->trigger();
    s.clickCell(3);
    QCOMPARE(w.SelectedRecord, 81);
    QVERIFY(w.mnuDelCor->isEnabled());
    w.mnuDelCor->trigger();

    QByteArray expected = numberedPalette(300);
    expected.remove(80 * 6, 6);
    QCOMPARE(s.folder.read("c4.rgb"), expected);
    QCOMPARE(w.CurPage, 1);
    QCOMPARE(w.ColorCount, 299);
    QCOMPARE(s.cellColour(0), colourOfRecord(300));
    QVERIFY(!s.tool("prevpage")->isEnabled());
    QVERIFY(!w.shpSelect->isVisible());
    QVERIFY(!w.mnuDelCor->isEnabled());
    QVERIFY(!s.folder.exists(QStringLiteral("c4.rgb.ctm")));
    QVERIFY(s.platform.messages.isEmpty());
}

void tst_palettecommands::deleteColour_onlyColour_leavesEmptyFile()
{
    PaletteSession& s = start(withFivePalettes("ABCDEF"));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    s.clickCell(0);
    w.mnuDelCor->trigger();
    QVERIFY(s.folder.exists(QStringLiteral("c4.rgb")));
    QCOMPARE(s.folder.read("c4.rgb"), QByteArray());
    QCOMPARE(s.cellColour(0), bascommon::White);
    QCOMPARE(w.ColorCount, 0);
}

void tst_palettecommands::clearAll_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void tst_palettecommands::clearAll()
{
    QFETCH(bool, yes);
    PaletteSession& s = start(withFivePalettes("AAAAAABBBBBB"));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    s.platform.answers.append(yes ? Platform::Answer::Yes : Platform::Answer::No);
    w.mnuCleanAll->trigger();
    QCOMPARE(s.platform.messages.size(), 1);
    QCOMPARE(
        s.platform.messages.at(0).text,
        QStringLiteral("Are you sure you want to delete all colors in \"Mine & Yours\" palette?"));
    QCOMPARE(s.platform.messages.at(0).title, QStringLiteral("Clean all colors"));
    QCOMPARE(s.platform.messages.at(0).buttons, Platform::Buttons::YesNo);
    QCOMPARE(s.platform.messages.at(0).icon, Platform::Icon::Question);
    QVERIFY(s.folder.exists(QStringLiteral("c4.rgb")));
    QCOMPARE(s.folder.read("c4.rgb"), yes ? QByteArray() : QByteArray("AAAAAABBBBBB"));
    QCOMPARE(s.cellColour(0), yes ? bascommon::White : bascommon::MakeColor(0xBB, 0xBB, 0xBB));
}

void tst_palettecommands::clearDuplicates_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("refreshed");
    QTest::newRow("oldest copies survive")
        << QByteArray("FF000000FF00FF00000000FF00FF00") << QByteArray("FF000000FF000000FF") << true;
    QTest::newRow("case counts") << QByteArray("FFFFFFffffff") << QByteArray("FFFFFFffffff")
                                 << true;
    QTest::newRow("one colour: nothing happens")
        << QByteArray("123456") << QByteArray("123456") << false;
}

void tst_palettecommands::clearDuplicates()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, refreshed);
    PaletteSession& s = start(withFivePalettes(before));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    s.clickCell(0);
    s.tool("clearduplicate")->trigger();
    QCOMPARE(s.folder.read("c4.rgb"), after);
    QCOMPARE(w.ColorCount, after.size() / 6);
    // A refresh releases the framed cell; doing nothing leaves it.
    QCOMPARE(w.shpSelect->isVisible(), !refreshed);
    if (after == "FF000000FF000000FF") {
        QCOMPARE(s.cellColour(0), bascommon::MakeColor(0, 0, 255));
        QCOMPARE(s.cellColour(1), bascommon::MakeColor(0, 255, 0));
        QCOMPARE(s.cellColour(2), bascommon::MakeColor(255, 0, 0));
        QCOMPARE(s.cellColour(3), bascommon::White);
    }
    QVERIFY(!s.folder.exists(QStringLiteral("c4.rgb.tmp")));
}

void tst_palettecommands::addTo_paletteOnDisplay_showsItFirst()
{
    PaletteSession& s = start(withFivePalettes(numberedPalette(216)));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    QCOMPARE(w.PageCount, 1);
    // The targets leave out the read-only palette.
    QCOMPARE(w.AddToFile, (QStringList{"mycolor.rgb", "recent.rgb", "c4.rgb", "c7.rgb"}));
    QCOMPARE(s.action("mnuAddChart_2")->text(), QStringLiteral("Mine && Yours"));

    w.CurrentColorChanged(bascommon::MakeColor(0xA1, 0xB2, 0xC3));
    s.action("mnuAddChart_2")->trigger();
    QCOMPARE(s.folder.read("c4.rgb"), numberedPalette(216) + "A1B2C3");
    QCOMPARE(s.cellColour(0), bascommon::MakeColor(0xA1, 0xB2, 0xC3));
    QCOMPARE(w.PageCount, 2);
    QVERIFY(s.tool("nextpage")->isEnabled());
}

void tst_palettecommands::addTo_otherPalette_leavesViewAlone()
{
    PaletteSession& s = start(withFivePalettes("C4C4C4"));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    s.clickCell(0);
    // From the cell's own pop-up menu: the cell's colour goes to "Last".
    whenPopupShown([&s](QMenu* menu) {
        menu->close();
        s.action("mnuAddChart_3")->trigger();
    });
    s.clickCell(0, Qt::RightButton);
    QCOMPARE(s.folder.read("c7.rgb"), QByteArray("C7C7C7C4C4C4"));
    QCOMPARE(s.folder.read("c4.rgb"), QByteArray("C4C4C4"));
    QCOMPARE(w.cmbChart->currentIndex(), 3);
    QCOMPARE(w.ColorCount, 1);
    QVERIFY(w.shpSelect->isVisible());
}

void tst_palettecommands::writeFailure_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("command");
    QTest::newRow("delete colour: c4.rgb.ctm") << "c4.rgb.ctm"
                                               << "mnuDelCor";
    QTest::newRow("clear duplicates: c4.rgb.tmp") << "c4.rgb.tmp"
                                                  << "mnuCleanDup";
    QTest::newRow("delete palette: colorchart.cct") << "colorchart.cct"
                                                    << "mnuDelChart";
    QTest::newRow("add to: c7.rgb is a folder") << "c7.rgb"
                                                << "mnuAddChart_3";
}

void tst_palettecommands::writeFailure()
{
    // A folder in the way fails the write for root as well.
    QFETCH(QString, blocked);
    QFETCH(QString, command);
    PaletteSession& s = start([blocked](TestDataFolder& folder) {
        withFivePalettes("AAAAAAAAAAAABBBBBB")(folder);
        folder.remove(blocked);
        QVERIFY(QDir(folder.path()).mkdir(blocked));
    });
    frmshowcolor& w = *s.window;
    const QByteArray indexBefore = s.folder.read("colorchart.cci");
    s.choosePalette(3);
    s.clickCell(0);
    if (command == QLatin1String("mnuDelChart"))
        s.platform.answers.append(Platform::Answer::Yes);
    const qsizetype before = s.platform.messages.size();
    s.action(command)->trigger();

    QList<FakePlatform::Message> reports = s.platform.messages.mid(before);
    reports.removeIf(
        [](const FakePlatform::Message& m) { return m.buttons == Platform::Buttons::YesNo; });
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.at(0).text.contains(QDir::toNativeSeparators(s.folder.filePath(blocked))),
             qPrintable(reports.at(0).text));
    QCOMPARE(reports.at(0).icon, Platform::Icon::Critical);
    QCOMPARE(s.folder.read("c4.rgb"), QByteArray("AAAAAAAAAAAABBBBBB"));
    QCOMPARE(s.folder.read("colorchart.cci"), indexBefore);
    QCOMPARE(w.cmbChart->count(), 5);
}

void tst_palettecommands::interruptedRewrite_leftoversNeverReachTheFiles()
{
    // A run that ended during rewrites left its temporary files behind, with
    // the old files intact.
    PaletteSession& s = start([](TestDataFolder& folder) {
        withFivePalettes("AAAAAABBBBBBAAAAAA")(folder);
        folder.write(QStringLiteral("colorchart.cct"), "c99.rgb\r\nStale\r\n1\r\n");
        folder.write(QStringLiteral("c4.rgb.tmp"), "DDDDDDEEEEEE");
        folder.write(QStringLiteral("c4.rgb.ctm"), "FFFFFF");
        // Blank lines make the start-up repair rewrite the index.
        folder.write(QStringLiteral("colorchart.cci"),
                     "\r\n" + indexBytes(FivePalettes) + "  \r\n");
    });
    frmshowcolor& w = *s.window;
    QCOMPARE(s.folder.read("colorchart.cci"), indexBytes(FivePalettes));
    QCOMPARE(w.cmbChart->count(), 5);
    s.choosePalette(3);
    s.tool("clearduplicate")->trigger();
    QCOMPARE(s.folder.read("c4.rgb"), QByteArray("AAAAAABBBBBB"));
    s.clickCell(0);
    w.mnuDelCor->trigger();
    QCOMPARE(s.folder.read("c4.rgb"), QByteArray("AAAAAA"));
    for (const char* leftover : {"colorchart.cct", "c4.rgb.tmp", "c4.rgb.ctm"})
        QVERIFY2(!s.folder.exists(QLatin1String(leftover)), leftover);
    QVERIFY(s.platform.messages.isEmpty());
}

QTEST_MAIN(tst_palettecommands)
#include "tst_palettecommands.moc"

void tst_palettecommands::namedPalette_commandsKeepNamesTrue_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("palette");
    // "-": no names file.
    QTest::addColumn<QByteArray>("names");
    // The cells' names from cell 0 on, newest first.
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("add this color to") << "mnuAddChart_2" << -1 << "" << NamedRecords + "DDDDDD"
                                       << NamedLines << QStringList{"", "c", "", "b", "a1"};
    QTest::newRow("delete selected color")
        << "mnuDelCor" << 2 << "" << QByteArray("AAAAAAAAAAAACCCCCC")
        << QByteArray("AAAAAA\ta1\nCCCCCC\tc\n") << QStringList{"c", "", "a1"};
    QTest::newRow("clear duplicate colors")
        << "mnuCleanDup" << -1 << "" << QByteArray("AAAAAABBBBBBCCCCCC") << NamedLines
        << QStringList{"c", "b", "a1"};
    QTest::newRow("clear all colors")
        << "mnuCleanAll" << -1 << "" << QByteArray() << QByteArray("-") << QStringList{""};
    QTest::newRow("name this color") << "mnuNameColor" << 1 << "  a2 " << NamedRecords
                                     << QByteArray("AAAAAA\ta1\nBBBBBB\tb\nAAAAAA\ta2\nCCCCCC\tc\n")
                                     << QStringList{"c", "a2", "b", "a1"};
    QTest::newRow("rename this color")
        << "mnuNameColor" << 0 << "sea" << NamedRecords
        << QByteArray("AAAAAA\ta1\nBBBBBB\tb\nCCCCCC\tsea\n") << QStringList{"sea", "", "b", "a1"};
    QTest::newRow("empty name takes it away")
        << "mnuNameColor" << 0 << "" << NamedRecords << QByteArray("AAAAAA\ta1\nBBBBBB\tb\n")
        << QStringList{"", "", "b", "a1"};
    QTest::newRow("cancel changes nothing") << "mnuNameColor" << 0 << QString() << NamedRecords
                                            << NamedLines << QStringList{"c", "", "b", "a1"};
}

void tst_palettecommands::namedPalette_commandsKeepNamesTrue()
{
    QFETCH(QString, command);
    QFETCH(int, cell);
    QFETCH(QString, answer);
    QFETCH(QByteArray, palette);
    QFETCH(QByteArray, names);
    QFETCH(QStringList, shown);
    PaletteSession& s = start(withNamedPalette());
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    QCOMPARE(s.cell(0)->toolTip(),
             QStringLiteral("#CCCCCC c - Right-click for more features. Double-click to show "
                            "color details."));
    QCOMPARE(s.cell(0)->accessibleName(), QStringLiteral("#CCCCCC c, colour 1 of 4"));

    if (cell >= 0)
        s.clickCell(cell);
    if (command == QLatin1String("mnuAddChart_2"))
        w.CurrentColorChanged(bascommon::MakeColor(0xDD, 0xDD, 0xDD));
    if (command == QLatin1String("mnuCleanAll"))
        s.platform.answers.append(Platform::Answer::Yes);
    QString offered;
    if (command == QLatin1String("mnuNameColor"))
        answerNameDialog(answer, &offered);
    s.action(command)->trigger();

    QCOMPARE(s.folder.read("c4.rgb"), palette);
    QCOMPARE(s.folder.exists(QStringLiteral("c4.names")), names != "-");
    if (names != "-")
        QCOMPARE(s.folder.read("c4.names"), names);
    for (qsizetype j = 0; j < shown.size(); ++j) {
        const QString name = shown.at(j);
        const QString hex = bascommon::ColorToHtmlHex(s.cellColour(int(j)));
        QVERIFY2(s.cell(int(j))->toolTip().startsWith(name.isEmpty() ? hex + QStringLiteral(" - ")
                                                                     : hex + ' ' + name + " - "),
                 qPrintable(s.cell(int(j))->toolTip()));
    }
    if (command == QLatin1String("mnuNameColor"))
        QCOMPARE(offered, cell == 0 ? QStringLiteral("c") : QString());
    QVERIFY(!s.folder.exists(QStringLiteral("c4.names.tmp")));
    QVERIFY(s.platform.messages.size() == (command == QLatin1String("mnuCleanAll") ? 1 : 0));
}

void tst_palettecommands::renamePalette_rewritesIndexAndList_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("renamed") << " Brand  "
                             << "Brand";
    QTest::newRow("empty name") << ""
                                << "Untiltled";
    QTest::newRow("cancelled") << QString() << "Mine & Yours";
}

void tst_palettecommands::renamePalette_rewritesIndexAndList()
{
    QFETCH(QString, answer);
    QFETCH(QString, stored);
    PaletteSession& s = start(withFivePalettes("ABCDEF"));
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    QString offered;
    answerNameDialog(answer, &offered);
    w.mnuRenamePalette->trigger();
    QCOMPARE(offered, QStringLiteral("Mine & Yours"));
    QList<IndexLine> expected = FivePalettes;
    expected[3].name = stored;
    QCOMPARE(s.folder.read("colorchart.cci"), indexBytes(expected));
    QCOMPARE(w.cmbChart->currentIndex(), 3);
    QCOMPARE(w.cmbChart->currentText(), stored);
    QCOMPARE(s.action("mnuAddChart_2")->toolTip(), stored);
    QCOMPARE(s.cellColour(0), bascommon::MakeColor(0xAB, 0xCD, 0xEF));
}
