// The palette grid and the main window's fields worked from the keyboard and
// through the interfaces a screen reader uses.
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolTip>

#include "app/ClickableLabel.h"
#include "app/ElidingComboBox.h"
#include "app/EntryField.h"
#include "app/SelectionFrame.h"
#include "app/frmshowcolor.h"
#include "palettes/PaletteGridLines.h"
#include "tests/palettes/PaletteTestFiles.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/support/ModalScript.h"

#include <memory>

using namespace palettetest;

namespace {

// "My Colors" first, then the recent colours, then a palette of `count`
// numbered colours, which is shown for the test.
std::function<void(TestDataFolder&)> numbered(qint32 count)
{
    return [count](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c3.rgb", "Numbered", "1"}});
        folder.write(QStringLiteral("c3.rgb"), numberedPalette(count));
    };
}

QWidget* focused()
{
    return QApplication::focusWidget();
}

QString accessibleText(QObject* object, QAccessible::Text which)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(which) : QString();
}

} // namespace

class tst_paletteaccess : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void tab_reachesTheGridAtTheLastVisitedCell();
    void arrows_moveTheFocusFrame_data();
    void arrows_moveTheFocusFrame();
    void enterOrSpace_actLikeALeftClick_data();
    void enterOrSpace_actLikeALeftClick();
    void menuKeys_openTheCellMenu_data();
    void menuKeys_openTheCellMenu();
    void pageKeys_turnPagesOnlyWhereTheButtonsAllow();
    void cells_tellScreenReadersColourAndPlace();
    void cellActions_doWhatTheMouseDoes();
    void fieldsAndSwatch_areNamed_data();
    void fieldsAndSwatch_areNamed();
    void pageButtons_tellThePageInTheirTips();
    void helpAndExit_haveShortcuts();
    void longNames_elidedWithTheWholeNameAsTip();
    void fileDialogs_haveTitles();

private:
    PaletteSession& start(qint32 colours);
    std::unique_ptr<PaletteSession> m_session;
};

PaletteSession& tst_paletteaccess::start(qint32 colours)
{
    m_session = std::make_unique<PaletteSession>(numbered(colours));
    m_session->choosePalette(2);
    // Keys go to the focus widget of the active window only.
    if (!QTest::qWaitForWindowActive(m_session->window.get()))
        qWarning("the main window did not become active");
    return *m_session;
}

void tst_paletteaccess::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_paletteaccess::tab_reachesTheGridAtTheLastVisitedCell()
{
    PaletteSession& s = start(30);
    frmshowcolor& w = *s.window;
    w.txtbh->setFocus();
    QTest::keyClick(w.txtbh, Qt::Key_Tab);
    QCOMPARE(focused(), s.cell(0));
    auto* lines = w.findChild<PaletteGridLines*>();
    QVERIFY(lines);
    QCOMPARE(lines->focusCell(), 0);

    // Only one cell is in the Tab chain: the next Tab leaves the grid.
    QTest::keyClick(s.cell(0), Qt::Key_Down);
    QTest::keyClick(s.cell(1), Qt::Key_Tab);
    QVERIFY(!qobject_cast<ClickableLabel*>(focused()));
    QCOMPARE(lines->focusCell(), -1);

    // A click moves the keyboard's place without taking the focus from a
    // field, whose unapplied edit the click discards as before.
    w.txtr->setFocus();
    s.clickCell(25);
    QCOMPARE(focused(), w.txtr);
    w.txtbh->setFocus();
    QTest::keyClick(w.txtbh, Qt::Key_Tab);
    QCOMPARE(focused(), s.cell(25));
}

void tst_paletteaccess::arrows_moveTheFocusFrame_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("to");
    QTest::newRow("down the column") << 0 << QList<int>{Qt::Key_Down, Qt::Key_Down} << 2;
    QTest::newRow("right to the next column") << 1 << QList<int>{Qt::Key_Right} << 13;
    QTest::newRow("left and up") << 13 << QList<int>{Qt::Key_Left, Qt::Key_Up} << 0;
    QTest::newRow("top edge stops") << 12 << QList<int>{Qt::Key_Up} << 12;
    QTest::newRow("bottom edge stops") << 11 << QList<int>{Qt::Key_Down} << 11;
    QTest::newRow("left edge stops") << 5 << QList<int>{Qt::Key_Left} << 5;
    QTest::newRow("right edge stops") << 210 << QList<int>{Qt::Key_Right} << 210;
    QTest::newRow("home and end") << 40 << QList<int>{Qt::Key_End, Qt::Key_Up, Qt::Key_Home} << 0;
    QTest::newRow("end is the last cell") << 0 << QList<int>{Qt::Key_End} << 215;
}

void tst_paletteaccess::arrows_moveTheFocusFrame()
{
    QFETCH(int, from);
    QFETCH(QList<int>, keys);
    QFETCH(int, to);
    PaletteSession& s = start(300);
    frmshowcolor& w = *s.window;
    s.clickCell(from);
    const Color current = w.currentColor();
    w.txtbh->setFocus();
    QTest::keyClick(w.txtbh, Qt::Key_Tab);
    QCOMPARE(focused(), s.cell(from));
    for (int key : keys)
        QTest::keyClick(focused(), Qt::Key(key));
    QCOMPARE(focused(), s.cell(to));
    QCOMPARE(w.findChild<PaletteGridLines*>()->focusCell(), to);
    // Moving the focus chooses nothing.
    QCOMPARE(w.currentColor(), current);
}

void tst_paletteaccess::enterOrSpace_actLikeALeftClick_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void tst_paletteaccess::enterOrSpace_actLikeALeftClick()
{
    QFETCH(int, key);
    PaletteSession& s = start(30);
    frmshowcolor& w = *s.window;
    w.txtbh->setFocus();
    QTest::keyClick(w.txtbh, Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_Down);
    QTest::keyClick(focused(), Qt::Key_Down);
    QTest::keyClick(focused(), Qt::Key(key));
    QCOMPARE(w.currentColor(), colourOfRecord(28));
    QCOMPARE(w.SelectedRecord, 28);
    QVERIFY(w.mnuDelCor->isEnabled());
    QVERIFY(w.shpSelect->isVisible());
    QCOMPARE(w.shpSelect->pos(), s.cell(2)->pos() - QPoint(2, 2));
    QCOMPARE(focused(), s.cell(2));

    // An empty cell selects white, as a click does.
    QTest::keyClick(focused(), Qt::Key_End);
    QTest::keyClick(focused(), Qt::Key(key));
    QCOMPARE(w.currentColor(), bascommon::White);
    QVERIFY(!w.mnuDelCor->isEnabled());
}

void tst_paletteaccess::menuKeys_openTheCellMenu_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void tst_paletteaccess::menuKeys_openTheCellMenu()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    PaletteSession& s = start(30);
    frmshowcolor& w = *s.window;
    w.txtbh->setFocus();
    QTest::keyClick(w.txtbh, Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_Right);
    QStringList shown;
    QPoint at;
    whenPopupShown([&](QMenu* menu) {
        for (QAction* item : menu->actions())
            if (item->isVisible())
                shown.append(item->objectName());
        at = menu->pos();
        menu->close();
    });
    QTest::keyClick(focused(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.currentColor(), colourOfRecord(30 - 12));
    QVERIFY(shown.contains(QStringLiteral("mnuAddto")));
    QVERIFY(shown.contains(QStringLiteral("mnuDelCor")));
    // The menu opens at the cell, not wherever the mouse happens to be.
    const QRect cell(s.cell(12)->mapToGlobal(QPoint(0, 0)), s.cell(12)->size());
    QVERIFY2(cell.contains(at),
             qPrintable(QStringLiteral("menu at %1,%2").arg(at.x()).arg(at.y())));
    // A plain F10 is not the menu key. Should a menu open all the same, the
    // script closes it; either way it lapses before the next case.
    bool plainF10Menu = false;
    whenPopupShown(
        [&plainF10Menu](QMenu* menu) {
            plainF10Menu = true;
            menu->close();
        },
        300);
    const Color before = w.currentColor();
    QTest::keyClick(focused(), Qt::Key_Down);
    QTest::keyClick(focused(), Qt::Key_F10);
    QTest::qWait(400);
    QVERIFY(!plainF10Menu);
    QCOMPARE(w.currentColor(), before);
}

void tst_paletteaccess::pageKeys_turnPagesOnlyWhereTheButtonsAllow()
{
    PaletteSession& s = start(500);
    frmshowcolor& w = *s.window;
    w.txtbh->setFocus();
    QTest::keyClick(w.txtbh, Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_PageUp);
    QCOMPARE(w.CurPage, 1);
    QTest::keyClick(focused(), Qt::Key_PageDown);
    QCOMPARE(w.CurPage, 2);
    QCOMPARE(s.cellColour(0), colourOfRecord(500 - 216));
    QTest::keyClick(focused(), Qt::Key_PageDown);
    QTest::keyClick(focused(), Qt::Key_PageDown);
    QCOMPARE(w.CurPage, 3);
    QCOMPARE(s.cellColour(0), colourOfRecord(68));
    QTest::keyClick(focused(), Qt::Key_PageUp);
    QCOMPARE(w.CurPage, 2);
    QCOMPARE(focused(), s.cell(0));
}

void tst_paletteaccess::cells_tellScreenReadersColourAndPlace()
{
    PaletteSession& s = start(300);
    // Record 296 is the fifth colour of the view, newest first.
    const QString fifth = bascommon::ColorToHtmlHex(colourOfRecord(296));
    QCOMPARE(accessibleText(s.cell(4), QAccessible::Name),
             fifth + QStringLiteral(", colour 5 of 300"));
    QVERIFY(!accessibleText(s.cell(4), QAccessible::Description).isEmpty());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(s.cell(4));
    QCOMPARE(face->role(), QAccessible::Button);

    s.tool(QStringLiteral("nextpage"))->trigger();
    QCOMPARE(s.window->CurPage, 2);
    QCOMPARE(accessibleText(s.cell(0), QAccessible::Name),
             bascommon::ColorToHtmlHex(colourOfRecord(84)) + QStringLiteral(", colour 217 of 300"));
    QCOMPARE(accessibleText(s.cell(84), QAccessible::Name), QStringLiteral("Empty cell, #FFFFFF"));
    QVERIFY(s.window->findChild<PaletteGridLines*>()->isCellEmpty(84));
    QVERIFY(!s.window->findChild<PaletteGridLines*>()->isCellEmpty(83));
}

void tst_paletteaccess::cellActions_doWhatTheMouseDoes()
{
    PaletteSession& s = start(30);
    frmshowcolor& w = *s.window;
    QAccessibleActionInterface* actions =
        QAccessible::queryAccessibleInterface(s.cell(7))->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(w.currentColor(), colourOfRecord(23));
    QVERIFY(w.shpSelect->isVisible());

    bool menuShown = false;
    whenPopupShown([&menuShown](QMenu* menu) {
        menuShown = true;
        menu->close();
    });
    QAccessible::queryAccessibleInterface(s.cell(9))->actionInterface()->doAction(
        QAccessibleActionInterface::showMenuAction());
    QVERIFY(menuShown);
    QCOMPARE(w.currentColor(), colourOfRecord(21));
}

void tst_paletteaccess::fieldsAndSwatch_areNamed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("swatch") << "lblcolor"
                            << "Current colour #FEDCBA";
    QTest::newRow("red") << "txtr"
                         << "Red, decimal";
    QTest::newRow("green") << "txtg"
                           << "Green, decimal";
    QTest::newRow("blue") << "txtb"
                          << "Blue, decimal";
    QTest::newRow("red hex") << "txtrh"
                             << "Red, hexadecimal";
    QTest::newRow("green hex") << "txtgh"
                               << "Green, hexadecimal";
    QTest::newRow("blue hex") << "txtbh"
                              << "Blue, hexadecimal";
    QTest::newRow("rgb") << "txtrgb1"
                         << "Current colour, decimal R,G,B";
    QTest::newRow("hex") << "txtrgb"
                         << "Current colour, hexadecimal";
}

void tst_paletteaccess::fieldsAndSwatch_areNamed()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    PaletteSession& s = start(3);
    s.window->CurrentColorChanged(bascommon::MakeColor(0xFE, 0xDC, 0xBA));
    QWidget* widget = s.window->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(accessibleText(widget, QAccessible::Name), spoken);
    QVERIFY(!accessibleText(widget, QAccessible::Description).isEmpty());
}

void tst_paletteaccess::pageButtons_tellThePageInTheirTips()
{
    PaletteSession& s = start(500);
    frmshowcolor& w = *s.window;
    QWidget* next = w.tlbTool->widgetForAction(s.tool(QStringLiteral("nextpage")));
    s.tool(QStringLiteral("nextpage"))->trigger();
    const QPoint middle = next->rect().center();
    QHelpEvent tip(QEvent::ToolTip, middle, next->mapToGlobal(middle));
    QApplication::sendEvent(next, &tip);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("Next page of current color palette\nPage 2 of 3"));
    // The button's own tip is as it was.
    QCOMPARE(s.tool(QStringLiteral("nextpage"))->toolTip(),
             QStringLiteral("Next page of current color palette"));
    QCOMPARE(accessibleText(next, QAccessible::Description), QStringLiteral("Page 2 of 3"));
    QToolTip::hideText();
}

void tst_paletteaccess::helpAndExit_haveShortcuts()
{
    PaletteSession& s = start(3);
    frmshowcolor& w = *s.window;
    // F1 is "&Help Topics", whatever that opens.
    QSignalSpy help(w.mnucontents, &QAction::triggered);
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(help.size(), 1);
    QCOMPARE(w.mnuExit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w.isVisible());
    QVERIFY(!QFile::exists(s.folder.path() + QStringLiteral("/recent.rgb")));
}

void tst_paletteaccess::longNames_elidedWithTheWholeNameAsTip()
{
    const QString longName = QStringLiteral(
        "A palette & a name far too long for the drop-down list, the menu or the list");
    m_session = std::make_unique<PaletteSession>([longName](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c3.rgb", longName, "1"}});
    });
    PaletteSession& s = *m_session;
    s.choosePalette(2);
    frmshowcolor& w = *s.window;
    // The entry itself stays whole; the box shows it cut short.
    QCOMPARE(w.cmbChart->itemText(2), longName);
    auto* box = qobject_cast<ElidingComboBox*>(w.cmbChart);
    QVERIFY(box);
    QVERIFY(box->shownText().endsWith(QChar(0x2026)));
    QVERIFY(longName.startsWith(box->shownText().chopped(1)));
    QHelpEvent tip(QEvent::ToolTip, QPoint(20, 10), w.cmbChart->mapToGlobal(QPoint(20, 10)));
    QApplication::sendEvent(w.cmbChart, &tip);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), longName);
    QToolTip::hideText();

    // "Add This Color To": cut short, ampersand kept as a character, whole
    // name as the item's tip.
    QAction* target = w.mnuAddChart.at(2);
    QVERIFY(target->text().endsWith(QChar(0x2026)));
    QVERIFY(target->text().startsWith(QStringLiteral("A palette && a name")));
    QCOMPARE(target->toolTip(), longName);
    QVERIFY(w.mnuAddto->toolTipsVisible());
}

void tst_paletteaccess::fileDialogs_haveTitles()
{
    PaletteSession& s = start(3);
    s.platform.saveAnswers.append(QString());
    s.action(QStringLiteral("mnuExport"))->trigger();
    QCOMPARE(s.platform.saveRequests.constLast().title, QStringLiteral("Export Palette"));
    s.platform.openAnswers.append(QString());
    s.action(QStringLiteral("mnuImport"))->trigger();
    QCOMPARE(s.platform.openTitles.constLast(), QStringLiteral("Import Palette"));
}

QTEST_MAIN(tst_paletteaccess)
#include "tst_paletteaccess.moc"
