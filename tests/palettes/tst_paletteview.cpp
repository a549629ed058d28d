#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include "app/ClickableLabel.h"
#include "app/SelectionFrame.h"
#include "app/frmshowcolor.h"
#include "palettes/PaletteRecords.h"
#include "tests/palettes/PaletteTestFiles.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/support/ModalScript.h"

#include <memory>

using namespace palettetest;

namespace {

const QString TipTail =
    QStringLiteral(" - Right-click for more features. Double-click to show color details.");

Color hex(const char* text)
{
    const QString digits = QString::fromLatin1(text);
    return bascommon::MakeColor(digits.mid(0, 2).toInt(nullptr, 16),
                                digits.mid(2, 2).toInt(nullptr, 16),
                                digits.mid(4, 2).toInt(nullptr, 16));
}

// The standard first two entries and one palette under test as the third.
std::function<void(TestDataFolder&)> withPalette(const QString& kind, const QByteArray& records)
{
    return [kind, records](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c5.rgb", "Under Test", kind}});
        folder.write(QStringLiteral("c5.rgb"), records);
    };
}

// What a tooltip (a label that guesses whether its text is markup) shows.
QString shownTip(const QString& tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

} // namespace

class tst_paletteview : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void startup_showsFirstCellOfFirstPalette();
    void paging_data();
    void paging();
    void enablingPerKind_data();
    void enablingPerKind();
    void cellClick_framesCellAndMakesItsColourCurrent();
    void unreadableRecord_showsHatchedAndCanBeDeleted();
    void rightClick_opensEditMenuWithPaletteCommands();
    void listChoice_showsPaletteOncePerChoice();
    void listChoice_sameEntryAgain_returnsToPageOne();
    void recentColours_onDisplay();
    void indexProblems_reportedOnceAtStartUp_data();
    void indexProblems_reportedOnceAtStartUp();
    void missingIndex_leavesAnEmptyViewWithCommandsOff();
    void markupInNames_shownAsWritten_data();
    void markupInNames_shownAsWritten();

private:
    PaletteSession& start(const std::function<void(TestDataFolder&)>& prepare = {});
    std::unique_ptr<PaletteSession> m_session;
};

PaletteSession& tst_paletteview::start(const std::function<void(TestDataFolder&)>& prepare)
{
    m_session = std::make_unique<PaletteSession>(prepare);
    return *m_session;
}

void tst_paletteview::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_paletteview::startup_showsFirstCellOfFirstPalette()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    QCOMPARE(w.cmbChart->count(), 7);
    QCOMPARE(w.cmbChart->currentIndex(), 0);
    QCOMPARE(w.cmbChart->itemText(0), QStringLiteral("My Colors"));
    QCOMPARE(w.cmbChart->itemText(1), QStringLiteral("Recent Colors"));
    QCOMPARE(w.NewChartFile, QStringLiteral("c6.rgb"));

    // The newest colour of "My Colors" heads the first column.
    QCOMPARE(s.cellColour(0), hex("336699"));
    QCOMPARE(s.cellColour(11), hex("2B2D42"));
    QCOMPARE(s.cellColour(12), bascommon::White);
    QCOMPARE(w.currentColor(), hex("336699"));
    QCOMPARE(w.ColorCount, 12);
    QCOMPARE(w.PageCount, 1);
    QCOMPARE(w.SelectedRecord, 12);

    QVERIFY(w.shpSelect->isVisible());
    const QRect cell0 = s.cell(0)->geometry();
    QCOMPARE(w.shpSelect->geometry(),
             QRect(cell0.x() - 2, cell0.y() - 2, cell0.width() + 4, cell0.height() + 4));

    QVERIFY(w.mnuDelCor->isEnabled());
    QVERIFY(!w.mnuDelChart->isEnabled());
    QVERIFY(w.mnuCleanAll->isEnabled());
    QVERIFY(w.mnuCleanDup->isEnabled());
    QVERIFY(!s.tool("prevpage")->isEnabled());
    QVERIFY(!s.tool("nextpage")->isEnabled());

    QCOMPARE(s.cell(0)->toolTip(), QStringLiteral("#336699") + TipTail);
    QCOMPARE(s.cell(100)->toolTip(), QStringLiteral("#FFFFFF") + TipTail);

    // Only fixed and user palettes can take a colour.
    QCOMPARE(s.action("mnuAddChart_0")->text(), QStringLiteral("My Colors"));
    QCOMPARE(s.action("mnuAddChart_1")->text(), QStringLiteral("Recent Colors"));
    QCOMPARE(s.action("mnuAddChart_2")->text(), QStringLiteral("My Palette"));
    QVERIFY(!s.action("mnuAddChart_3"));
    QCOMPARE(w.AddToCount, 2);

    QCOMPARE(s.folder.read("recent.rgb"), QByteArray("336699"));
    QVERIFY(s.platform.messages.isEmpty());
}

void tst_paletteview::paging_data()
{
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("pages");
    QTest::newRow("empty") << 0 << 1;
    QTest::newRow("one full page") << 216 << 1;
    QTest::newRow("one over a page") << 217 << 2;
    QTest::newRow("500") << 500 << 3;
}

void tst_paletteview::paging()
{
    QFETCH(int, colours);
    QFETCH(int, pages);
    PaletteSession& s = start([colours](TestDataFolder& folder) {
        folder.write(QStringLiteral("mycolor.rgb"), numberedPalette(colours));
    });
    frmshowcolor& w = *s.window;
    QCOMPARE(w.PageCount, pages);

    auto checkPage = [&](int page) {
        QCOMPARE(w.CurPage, page);
        QVERIFY(!w.shpSelect->isVisible());
        QCOMPARE(s.tool("prevpage")->isEnabled(), page > 1);
        QCOMPARE(s.tool("nextpage")->isEnabled(), page < pages);
        for (int j : {0, 1, 67, 68, 215}) {
            const qint32 record = paletterecords::RecordForCell(colours, page, j);
            QCOMPARE(s.cellColour(j), record >= 1 ? colourOfRecord(record) : bascommon::White);
        }
    };
    for (int page = 2; page <= pages; ++page) {
        s.clickCell(5);
        s.tool("nextpage")->trigger();
        checkPage(page);
    }
    for (int page = pages - 1; page >= 1; --page) {
        s.clickCell(5);
        s.tool("prevpage")->trigger();
        checkPage(page);
    }
    if (colours == 500) {
        s.tool("nextpage")->trigger();
        s.tool("nextpage")->trigger();
        QCOMPARE(s.cellColour(0), colourOfRecord(68));
        QCOMPARE(s.cellColour(67), colourOfRecord(1));
        QCOMPARE(s.cellColour(68), bascommon::White);
    }
}

void tst_paletteview::enablingPerKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("deletable");
    QTest::addColumn<bool>("changeable");
    QTest::addColumn<bool>("renamable");
    QTest::newRow("fixed") << "0" << false << true << false;
    QTest::newRow("user") << "1" << true << true << true;
    QTest::newRow("user, spaces around") << " 1 " << true << true << true;
    QTest::newRow("read-only") << "2" << false << false << false;
    QTest::newRow("read-only, spaces around") << " 2 " << false << false << false;
    QTest::newRow("fixed, space after") << "0 " << false << true << false;
}

void tst_paletteview::enablingPerKind()
{
    QFETCH(QString, kind);
    QFETCH(bool, deletable);
    QFETCH(bool, changeable);
    QFETCH(bool, renamable);
    PaletteSession& s = start(withPalette(kind, "112233445566"));
    frmshowcolor& w = *s.window;
    s.choosePalette(2);
    QCOMPARE(w.cmbChart->currentIndex(), 2);
    QCOMPARE(w.mnuDelChart->isEnabled(), deletable);
    QCOMPARE(w.mnuCleanAll->isEnabled(), changeable);
    QCOMPARE(w.mnuCleanDup->isEnabled(), changeable);
    QCOMPARE(s.tool("clearduplicate")->isEnabled(), changeable);
    QCOMPARE(w.mnuRenamePalette->isEnabled(), renamable);
    QVERIFY(!w.mnuDelCor->isEnabled());
    QVERIFY(!w.mnuNameColor->isEnabled());

    s.clickCell(1);
    QCOMPARE(w.mnuDelCor->isEnabled(), changeable);
    QCOMPARE(w.mnuNameColor->isEnabled(), changeable);
    // An empty cell holds no colour to delete or name, whatever the kind.
    s.clickCell(2);
    QVERIFY(!w.mnuDelCor->isEnabled());
    QVERIFY(!w.mnuNameColor->isEnabled());
    QVERIFY(w.shpSelect->isVisible());
    QCOMPARE(w.currentColor(), bascommon::White);
    // Another colour releases the cell, and with it both commands.
    s.clickCell(0);
    QCOMPARE(w.mnuNameColor->isEnabled(), changeable);
    w.CurrentColorChanged(bascommon::MakeColor(1, 2, 3));
    QVERIFY(!w.mnuNameColor->isEnabled());

    // Going back to a fixed palette restores its own rules.
    s.choosePalette(0);
    QVERIFY(!w.mnuDelChart->isEnabled());
    QVERIFY(!w.mnuRenamePalette->isEnabled());
    QVERIFY(w.mnuCleanAll->isEnabled());
    QVERIFY(s.tool("clearduplicate")->isEnabled());
}

void tst_paletteview::cellClick_framesCellAndMakesItsColourCurrent()
{
    PaletteSession& s = start(withPalette("1", numberedPalette(30)));
    frmshowcolor& w = *s.window;
    s.choosePalette(2);
    s.clickCell(13);
    QCOMPARE(w.SelectedRecord, 17);
    QCOMPARE(w.currentColor(), colourOfRecord(17));
    QCOMPARE(w.CellColor, colourOfRecord(17));
    QCOMPARE(w.txtrgb->text(), bascommon::ColorToHtmlHex(colourOfRecord(17)));
    const QRect cell = s.cell(13)->geometry();
    QVERIFY(w.shpSelect->isVisible());
    QCOMPARE(w.shpSelect->geometry(),
             QRect(cell.x() - 2, cell.y() - 2, cell.width() + 4, cell.height() + 4));
    QVERIFY(w.mnuDelCor->isEnabled());

    // Any other colour releases the cell.
    w.CurrentColorChanged(hex("010203"));
    QVERIFY(!w.shpSelect->isVisible());
    QVERIFY(!w.mnuDelCor->isEnabled());
}

void tst_paletteview::unreadableRecord_showsHatchedAndCanBeDeleted()
{
    const QByteArray records = "FF0000ZZ000000FF00";
    PaletteSession& s = start(withPalette("1", records));
    frmshowcolor& w = *s.window;
    s.choosePalette(2);
    QCOMPARE(s.cellColour(0), hex("00FF00"));
    QCOMPARE(s.cellColour(1), bascommon::White);
    QCOMPARE(s.cellColour(2), hex("FF0000"));
    QVERIFY(!s.cell(1)->pixmap().isNull());
    QVERIFY(s.cell(0)->pixmap().isNull());
    QCOMPARE(s.cell(1)->toolTip(), QStringLiteral("This color record cannot be read") + TipTail);
    QCOMPARE(s.folder.read("c5.rgb"), records);

    s.clickCell(1);
    QCOMPARE(w.SelectedRecord, 2);
    QVERIFY(w.mnuDelCor->isEnabled());
    w.mnuDelCor->trigger();
    QCOMPARE(s.folder.read("c5.rgb"), QByteArray("FF000000FF00"));
    QCOMPARE(s.cellColour(1), hex("FF0000"));
    QVERIFY(s.cell(1)->pixmap().isNull());
    QCOMPARE(s.cell(1)->toolTip(), QStringLiteral("#FF0000") + TipTail);
    QVERIFY(s.platform.messages.isEmpty());
}

void tst_paletteview::rightClick_opensEditMenuWithPaletteCommands()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    QStringList shown;
    whenPopupShown([&shown](QMenu* menu) {
        for (QAction* item : menu->actions())
            if (item->isVisible())
                shown.append(item->objectName());
        menu->close();
    });
    s.clickCell(3, Qt::RightButton);
    QCOMPARE(w.currentColor(), hex("57A773"));
    for (const char* name : {"editsep2", "mnuAddto", "editsep3", "mnuDelCor", "mnuDelChart",
                             "editsep1", "mnuCleanDup", "mnuCleanAll", "editsep4", "mnuViewColor"})
        QVERIFY2(shown.contains(QLatin1String(name)), name);
    QVERIFY(!shown.contains(QStringLiteral("mnuconv")));
    // The menu bar's Edit menu is back to its own items.
    for (QAction* item : {w.editsep2, w.mnuAddto->menuAction(), w.editsep4, w.mnuViewColor})
        QVERIFY2(!item->isVisible(), qPrintable(item->objectName()));
    QVERIFY(w.mnuDelCor->isVisible());
    QVERIFY(w.shpSelect->isVisible());
}

void tst_paletteview::listChoice_showsPaletteOncePerChoice()
{
    // A folder in place of the palette file makes each display report once,
    // which counts the displays.
    PaletteSession& s = start([](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c5.rgb", "Blocked", "1"},
                            {"c6.rgb", "Other", "1"}});
        folder.remove(QStringLiteral("c5.rgb"));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("c5.rgb")));
    });
    frmshowcolor& w = *s.window;
    s.choosePalette(2);
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY2(s.platform.messages.at(0).text.contains(QStringLiteral("c5.rgb")),
             qPrintable(s.platform.messages.at(0).text));

    // The user picks the entry on display again.
    emit w.cmbChart->activated(2);
    QCOMPARE(s.platform.messages.size(), 2);

    // A change made by the program also shows the palette, once.
    w.cmbChart->setCurrentIndex(0);
    w.cmbChart->setCurrentIndex(2);
    QCOMPARE(s.platform.messages.size(), 3);
    QCoreApplication::processEvents();
    emit w.cmbChart->activated(2);
    QCOMPARE(s.platform.messages.size(), 4);
}

void tst_paletteview::listChoice_sameEntryAgain_returnsToPageOne()
{
    PaletteSession& s = start([](TestDataFolder& folder) {
        folder.write(QStringLiteral("mycolor.rgb"), numberedPalette(500));
    });
    frmshowcolor& w = *s.window;
    s.tool("nextpage")->trigger();
    s.tool("nextpage")->trigger();
    QCOMPARE(w.CurPage, 3);
    emit w.cmbChart->activated(0);
    QCOMPARE(w.CurPage, 1);
    QCOMPARE(s.cellColour(0), colourOfRecord(500));
    QVERIFY(!s.tool("prevpage")->isEnabled());
    QVERIFY(s.tool("nextpage")->isEnabled());
}

void tst_paletteview::recentColours_onDisplay()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    QCOMPARE(s.folder.read("recent.rgb"), QByteArray("336699"));

    s.choosePalette(1);
    QCOMPARE(s.cellColour(0), hex("336699"));

    // A colour from elsewhere (the entry fields) is recorded and shown first.
    w.CurrentColorChanged(hex("123456"));
    QCOMPARE(s.folder.read("recent.rgb"), QByteArray("336699123456"));
    QCOMPARE(s.cellColour(0), hex("123456"));
    QCOMPARE(s.cellColour(1), hex("336699"));

    // Clicking one of its cells records nothing and keeps the view.
    s.clickCell(1);
    QCOMPARE(w.currentColor(), hex("336699"));
    QCOMPARE(s.folder.read("recent.rgb"), QByteArray("336699123456"));
    QCOMPARE(s.cellColour(0), hex("123456"));
    QVERIFY(w.shpSelect->isVisible());

    // Black and white are never recorded.
    w.CurrentColorChanged(bascommon::Black);
    w.CurrentColorChanged(bascommon::White);
    QCOMPARE(s.folder.read("recent.rgb"), QByteArray("336699123456"));

    // Another palette on display: recorded, that palette's view unchanged.
    s.choosePalette(0);
    s.clickCell(2);
    QCOMPARE(s.folder.read("recent.rgb"), QByteArray("3366991234562A9D8F"));
    QCOMPARE(s.cellColour(2), hex("2A9D8F"));
    QCOMPARE(s.cellColour(0), hex("336699"));
    s.choosePalette(1);
    QCOMPARE(s.cellColour(0), hex("2A9D8F"));
    QCOMPARE(w.ColorCount, 3);
}

void tst_paletteview::indexProblems_reportedOnceAtStartUp_data()
{
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("nextFile");
    QTest::newRow("stray line at the end")
        << QByteArray("mycolor.rgb\r\nMine\r\n0\r\nrecent.rgb\r\nRecent\r\n0\r\nc3."
                      "rgb\r\nThree\r\n1\r\nc4.rgb\r\n")
        << QStringList{"Mine", "Recent", "Three"} << "c4.rgb";
    QTest::newRow("file outside the data folder")
        << QByteArray("mycolor.rgb\r\nMine\r\n0\r\n../"
                      "tintora-outside.rgb\r\nOut\r\n1\r\nc2.rgb\r\nTwo\r\n1\r\n")
        << QStringList{"Mine", "Two"} << "c3.rgb";
    QTest::newRow("last entry not numbered")
        << QByteArray("mycolor.rgb\r\nMine\r\n0\r\nc8.rgb\r\nEight\r\n1\r\nz.rgb\r\nZed\r\n1\r\n")
        << QStringList{"Mine", "Eight", "Zed"} << "c9.rgb";
}

void tst_paletteview::indexProblems_reportedOnceAtStartUp()
{
    QFETCH(QByteArray, index);
    QFETCH(QStringList, names);
    QFETCH(QString, nextFile);
    PaletteSession& s = start(
        [index](TestDataFolder& folder) { folder.write(QStringLiteral("colorchart.cci"), index); });
    frmshowcolor& w = *s.window;
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY2(s.platform.messages.at(0).text.contains(
                 s.folder.filePath(QStringLiteral("colorchart.cci"))),
             qPrintable(s.platform.messages.at(0).text));
    QStringList listed;
    for (int i = 0; i < w.cmbChart->count(); ++i)
        listed.append(w.cmbChart->itemText(i));
    QCOMPARE(listed, names);
    QCOMPARE(w.NewChartFile, nextFile);
    QCOMPARE(s.folder.read("colorchart.cci"), index);
    QVERIFY(
        !QFile::exists(QDir(s.folder.path()).filePath(QStringLiteral("../tintora-outside.rgb"))));
}

void tst_paletteview::missingIndex_leavesAnEmptyViewWithCommandsOff()
{
    PaletteSession& s =
        start([](TestDataFolder& folder) { folder.remove(QStringLiteral("colorchart.cci")); });
    frmshowcolor& w = *s.window;
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY(s.platform.messages.at(0).text.contains(QStringLiteral("colorchart.cci")));
    QCOMPARE(w.cmbChart->count(), 0);
    QCOMPARE(s.cellColour(0), bascommon::White);
    for (QAction* command : {w.mnuDelCor, w.mnuDelChart, w.mnuCleanAll, w.mnuCleanDup,
                             s.tool("clearduplicate"), s.tool("prevpage"), s.tool("nextpage")})
        QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
    QCOMPARE(s.action("mnuAddChart_0")->text(), QStringLiteral("Addto"));
    s.action("mnuAddChart_0")->trigger();
    QVERIFY(!s.folder.exists(QStringLiteral("colorchart.cci")));
}

QTEST_MAIN(tst_paletteview)
#include "tst_paletteview.moc"

void tst_paletteview::markupInNames_shownAsWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("bold") << QStringLiteral("<b>Bold</b> <i>italic</i>");
    // Qt reads the file an image element names, a pipe for ever.
    QTest::newRow("image") << QStringLiteral("Logo <img src=\"/nonexistent/logo.png\">");
    QTest::newRow("break and entity") << QStringLiteral("Pal<br>ette &amp; co");
    QTest::newRow("spaces kept") << QStringLiteral("<font color=red>a</font>  two  spaces");
    QTest::newRow("no markup") << QStringLiteral("a < b & c");
}

// Names come from imported files: their tooltips show them as written.
void tst_paletteview::markupInNames_shownAsWritten()
{
    QFETCH(QString, name);
    const QString paletteName = name + QStringLiteral(" and a name too long for the list");
    PaletteSession& s = start([&](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c5.rgb", paletteName.toUtf8(), "0"}});
        folder.write(QStringLiteral("c5.rgb"), "FF0000");
        folder.write(QStringLiteral("c5.names"), "FF0000\t" + name.toUtf8() + '\n');
    });
    frmshowcolor& w = *s.window;
    s.choosePalette(2);
    QCOMPARE(shownTip(s.cell(0)->toolTip()), QStringLiteral("#FF0000 ") + name + TipTail);
    QCOMPARE(shownTip(s.action("mnuAddChart_2")->toolTip()), paletteName);

    // The palette list, closed and cutting the name short, and open.
    QCOMPARE(w.cmbChart->currentText(), paletteName);
    QHelpEvent closedHelp(QEvent::ToolTip, QPoint(4, 4), w.cmbChart->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(w.cmbChart, &closedHelp);
    QCOMPARE(shownTip(QToolTip::text()), paletteName);
    QToolTip::hideText();
    QAbstractItemView* list = w.cmbChart->view();
    const QRect entry = list->visualRect(list->model()->index(2, 0));
    QHelpEvent openHelp(QEvent::ToolTip, entry.center(),
                        list->viewport()->mapToGlobal(entry.center()));
    QApplication::sendEvent(list->viewport(), &openHelp);
    QCOMPARE(shownTip(QToolTip::text()), paletteName);
    QToolTip::hideText();
}
