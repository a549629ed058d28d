#include "app/ClickableLabel.h"
#include "app/EntryField.h"
#include "app/SelectionFrame.h"
#include "app/frmshowcolor.h"
#include "tests/scheme/SchemeTestData.h"
#include "tests/scheme/SchemeWindowTest.h"
#include "tests/support/ModalScript.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace bascommon;
using namespace schemetest;

namespace {

const QString Names = QStringLiteral("set.hcs");
const QString Colors = QStringLiteral("colorset.dat");

QStringList listEntries(const frmshowcolor& w)
{
    QStringList entries;
    for (int i = 0; i < w.lstCorset->count(); ++i)
        entries << w.lstCorset->item(i)->text();
    return entries;
}

int selectedRow(const frmshowcolor& w)
{
    const QList<QListWidgetItem*> selected = w.lstCorset->selectedItems();
    return selected.isEmpty() ? -1 : w.lstCorset->row(selected.first());
}

// Chooses a scheme the way a user does: a click on its entry, which also puts
// the focus into the list.
void clickEntry(frmshowcolor& w, int row)
{
    const QRect entry = w.lstCorset->visualItemRect(w.lstCorset->item(row));
    QTest::mouseClick(w.lstCorset->viewport(), Qt::LeftButton, {}, entry.center());
}

QByteArray recordOf(const QByteArray& colors, int index)
{
    return colors.mid(index * 36, 36);
}

} // namespace

class tst_savedschemes : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // Loading and choosing
    void startup_missingNameList_oneMessageEmptyList();
    void startup_missingColourFile_oneMessageDefinedDisplay();
    void choosing_showsTheRecord_data();
    void choosing_showsTheRecord();
    void choosing_keepsRoleAndCurrentColour_dropsUnsavedEdits();
    void choosing_damagedRecords_oneMessagePerChoice();
    void choosing_releasesThePaletteCell();
    void clearSchemeSelection_keepsSchemeIndex();
    void focusToAnotherControl_clearsTheSelection();
    void popupMenu_keepsTheSelection();
    void menuBarByKeyboard_keepsTheSelection();

    // Saving
    void save_storesNameAndRecord_data();
    void save_storesNameAndRecord();
    void save_nameSurvivesARestart_data();
    void save_nameSurvivesARestart();
    void save_cancelled_changesNothing_data();
    void save_cancelled_changesNothing();
    void save_writeFailure_oneMessageNothingChanged();

    // Deleting
    void delete_onePressAfterChoosing_asksOnce_data();
    void delete_onePressAfterChoosing_asksOnce();
    void delete_otherMouseButtons_pressNothing_data();
    void delete_otherMouseButtons_pressNothing();
    void delete_answerNo_changesNothing();
    void delete_lastOfFour();
    void delete_firstSchemeCannotBeDeleted();
    void delete_writeFailure_oneMessageNothingChanged();

private:
    std::unique_ptr<SchemeWindowTest> t;
};

void tst_savedschemes::init()
{
    t = std::make_unique<SchemeWindowTest>();
}

void tst_savedschemes::cleanup()
{
    QVERIFY2(t->platform.unexpected.isEmpty(),
             qPrintable(t->platform.unexpected.join(QLatin1Char('\n'))));
    t.reset();
}

void tst_savedschemes::startup_missingNameList_oneMessageEmptyList()
{
    frmshowcolor& w = t->open(QByteArray(), fourColors());
    QCOMPARE(t->platform.messages.size(), 1);
    QVERIFY2(t->platform.messages.first().text.contains(
                 QDir::toNativeSeparators(t->folder.filePath(Names))),
             qPrintable(t->platform.messages.first().text));
    QCOMPARE(w.lstCorset->count(), 0);
    QVERIFY(!w.cmdDelItem->isEnabled());
    QCOMPARE(w.lbltext[1]->text(), QStringLiteral("Text will look like this in web browser."));
    QVERIFY(!t->folder.exists(Names));
}

void tst_savedschemes::startup_missingColourFile_oneMessageDefinedDisplay()
{
    frmshowcolor& w = t->open(nameList(fourNames()), QByteArray());
    QCOMPARE(t->platform.messages.size(), 1);
    QVERIFY2(t->platform.messages.first().text.contains(
                 QDir::toNativeSeparators(t->folder.filePath(Colors))),
             qPrintable(t->platform.messages.first().text));
    QCOMPARE(listEntries(w), fourNames());
    QCOMPARE(describe(w.schemeColors()), describe(SchemeColors{}));
    QCOMPARE(w.lbltext[1]->text(), QStringLiteral("Text Color: #000000"));
    QCOMPARE(w.lbldisplay->backColor(), White);
    QVERIFY(!t->folder.exists(Colors));
}

void tst_savedschemes::choosing_showsTheRecord_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("colors");
    QTest::addColumn<bool>("deletable");
    QTest::newRow("first") << 0 << "#000000 #FFFFFF #0000FF #800080 #FF0000 #FF6600" << false;
    QTest::newRow("second") << 1 << "#FFFFFF #000000 #00FFFF #FF00FF #FFFF00 #00FF00" << true;
    QTest::newRow("last") << 3 << "#2F3E2E #F4F1E8 #2E7D32 #6D4C41 #C62828 #E65100" << true;
}

void tst_savedschemes::choosing_showsTheRecord()
{
    QFETCH(int, row);
    QFETCH(QString, colors);
    QFETCH(bool, deletable);
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(2);
    w.lstCorset->setCurrentRow(row);
    QCOMPARE(w.SchemeIndex, row);
    QCOMPARE(w.cmdDelItem->isEnabled(), deletable);
    QCOMPARE(describe(w.schemeColors()), colors);
    const QStringList hex = colors.split(QLatin1Char(' '));
    QCOMPARE(w.lbltext[1]->text(), QStringLiteral("Text Color: ") + hex.at(0));
    QCOMPARE(w.lblnl->text(), QStringLiteral("Normal Link Color: ") + hex.at(2));
    QCOMPARE(w.lblvl->text(), QStringLiteral("Visited Link Color: ") + hex.at(3));
    QCOMPARE(w.lblal->text(), QStringLiteral("Active Link Color: ") + hex.at(4));
    QCOMPARE(w.lblhl->text(), QStringLiteral("Hover Link Color: ") + hex.at(5));
    QCOMPARE(ColorToHtmlHex(w.lbldisplay->backColor()), hex.at(1));
    for (ClickableLabel* sample : w.lbltext) {
        QCOMPARE(ColorToHtmlHex(sample->foreColor()), hex.at(0));
        QCOMPARE(ColorToHtmlHex(sample->backColor()), hex.at(1));
    }
    QCOMPARE(ColorToHtmlHex(w.lblvl->foreColor()), hex.at(3));
    QCOMPARE(ColorToHtmlHex(w.lblhl->backColor()), hex.at(1));
    QVERIFY(t->platform.messages.isEmpty());
}

void tst_savedschemes::choosing_keepsRoleAndCurrentColour_dropsUnsavedEdits()
{
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    w.optnl->click();
    w.CurrentColorChanged(MakeColor(1, 2, 3));
    QCOMPARE(w.lblnl->text(), QStringLiteral("Normal Link Color: #010203"));
    w.lstCorset->setCurrentRow(1 + 1);
    w.lstCorset->setCurrentRow(1);
    QCOMPARE(w.lblnl->text(), QStringLiteral("Normal Link Color: #00FFFF"));
    QVERIFY(w.optnl->isChecked());
    QCOMPARE(w.currentColor(), MakeColor(1, 2, 3));
    QCOMPARE(t->folder.read(Colors), fourColors());
}

void tst_savedschemes::choosing_damagedRecords_oneMessagePerChoice()
{
    // Four names; record 2 has an unreadable background, record 3 is cut
    // short and record 4 does not exist.
    QByteArray colors = fourColors().left(2 * 36 + 10);
    colors.replace(36 + 6, 6, "XYZXYZ");
    frmshowcolor& w = t->open(nameList(fourNames()), colors);
    QVERIFY(t->platform.messages.isEmpty());

    w.lstCorset->setCurrentRow(1);
    QCOMPARE(t->platform.messages.size(), 1);
    QVERIFY2(t->platform.messages.last().text.contains(QStringLiteral("scheme 2")),
             qPrintable(t->platform.messages.last().text));
    QCOMPARE(describe(w.schemeColors()),
             QStringLiteral("#FFFFFF #FFFFFF #00FFFF #FF00FF #FFFF00 #00FF00"));

    w.lstCorset->setCurrentRow(2);
    QCOMPARE(t->platform.messages.size(), 2);
    QCOMPARE(describe(w.schemeColors()),
             QStringLiteral("#333333 #FFFFFF #000000 #000000 #000000 #000000"));

    w.lstCorset->setCurrentRow(3);
    QCOMPARE(t->platform.messages.size(), 3);
    QCOMPARE(describe(w.schemeColors()), describe(SchemeColors{}));
    QCOMPARE(w.lblhl->text(), QStringLiteral("Hover Link Color: #000000"));

    w.lstCorset->setCurrentRow(0);
    QCOMPARE(t->platform.messages.size(), 3);
    QCOMPARE(w.SchemeIndex, 0);
}

void tst_savedschemes::choosing_releasesThePaletteCell()
{
    frmshowcolor& w = t->openFour();
    w.shpSelect->show();
    w.mnuDelCor->setEnabled(true);
    w.lstCorset->setCurrentRow(2);
    QVERIFY(!w.shpSelect->isVisible());
    QVERIFY(!w.shpSelect->isVisibleTo(w.shpSelect->parentWidget()));
    QVERIFY(!w.mnuDelCor->isEnabled());
}

void tst_savedschemes::clearSchemeSelection_keepsSchemeIndex()
{
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(2);
    const QString caption = w.lblnl->text();
    w.mnuWebsafe_Click();
    QCOMPARE(selectedRow(w), -1);
    QVERIFY(!w.cmdDelItem->isEnabled());
    QCOMPARE(w.SchemeIndex, 2);
    QCOMPARE(w.lblnl->text(), caption);
}

void tst_savedschemes::focusToAnotherControl_clearsTheSelection()
{
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, 2);
    QVERIFY(w.lstCorset->hasFocus());
    QCOMPARE(selectedRow(w), 2);
    QTest::mouseClick(w.optbg, Qt::LeftButton);
    QCOMPARE(selectedRow(w), -1);
    QVERIFY(!w.cmdDelItem->isEnabled());
    QCOMPARE(w.SchemeIndex, 2);
    QVERIFY(t->platform.messages.isEmpty());
}

void tst_savedschemes::popupMenu_keepsTheSelection()
{
    // A pop-up menu takes the focus for a moment; the user has not left the list.
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, 1);
    QVERIFY(w.lstCorset->hasFocus());
    bool shown = false;
    whenPopupShown([&](QMenu* menu) {
        shown = true;
        menu->close();
    });
    clickSample(w.lblnl, Qt::RightButton);
    QVERIFY(shown);
    QCOMPARE(selectedRow(w), 1);
    QVERIFY(w.cmdDelItem->isEnabled());
}

void tst_savedschemes::menuBarByKeyboard_keepsTheSelection()
{
    // Alt puts the focus on the menu bar; that is not a move to another control.
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, 1);
    w.menuBar()->setFocus(Qt::MenuBarFocusReason);
    QVERIFY(!w.lstCorset->hasFocus());
    QCOMPARE(selectedRow(w), 1);
    QVERIFY(w.cmdDelItem->isEnabled());
}

void tst_savedschemes::save_storesNameAndRecord_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("textColour"); // applied to the text role first, or empty
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("recordStart");
    QTest::newRow("three spaces give no name") << 1 << ""
                                               << "   "
                                               << "no name" << QByteArray("FFFFFF000000");
    QTest::newRow("red text is stored blue first") << 0 << "#FF0000"
                                                   << "Red"
                                                   << "Red" << QByteArray("0000FFFFFFFF");
    QTest::newRow("outer spaces kept") << 2 << ""
                                       << "  Two sides "
                                       << "  Two sides " << QByteArray("333333CAE6F5");
}

void tst_savedschemes::save_storesNameAndRecord()
{
    QFETCH(int, chosen);
    QFETCH(QString, textColour);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QByteArray, recordStart);
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, chosen);
    if (!textColour.isEmpty()) {
        w.opttext->setChecked(true);
        w.CurrentColorChanged(MakeColor(textColour.mid(1, 2).toInt(nullptr, 16),
                                        textColour.mid(3, 2).toInt(nullptr, 16),
                                        textColour.mid(5, 2).toInt(nullptr, 16)));
        clickEntry(w, chosen == 0 ? 1 : 0);
        clickEntry(w, chosen);
        w.CurrentColorChanged(w.currentColor());
    }
    const SchemeColors shown = w.schemeColors();
    const QString caption = w.lbltext[1]->text();

    answerNameDialog(typed);
    w.mnuSaveScheme->trigger();

    QCOMPARE(listEntries(w), fourNames() << name);
    QCOMPARE(t->folder.read(Names), nameList(fourNames()) + '"' + name.toLatin1() + "\"\r\n");
    const QByteArray colors = t->folder.read(Colors);
    QCOMPARE(colors.size(), 5 * 36);
    QVERIFY2(recordOf(colors, 4).startsWith(recordStart), recordOf(colors, 4).constData());
    QCOMPARE(colors.left(4 * 36), fourColors());
    // The list selection, the chosen scheme and the panel stay as they were.
    QCOMPARE(selectedRow(w), chosen);
    QCOMPARE(w.SchemeIndex, chosen);
    QCOMPARE(describe(w.schemeColors()), describe(shown));
    QCOMPARE(w.lbltext[1]->text(), caption);
    QVERIFY(t->platform.messages.isEmpty());
}

void tst_savedschemes::save_nameSurvivesARestart_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("double quote") << "My \"best\" scheme";
    QTest::newRow("outer spaces") << " spaced ";
    QTest::newRow("ampersand") << "Salt & Pepper";
}

void tst_savedschemes::save_nameSurvivesARestart()
{
    QFETCH(QString, name);
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    answerNameDialog(name);
    w.mnuSaveScheme->trigger();

    frmshowcolor& again = t->restart();
    QCOMPARE(listEntries(again), fourNames() << name);
    again.lstCorset->setCurrentRow(4);
    QCOMPARE(describe(again.schemeColors()),
             QStringLiteral("#FFFFFF #000000 #00FFFF #FF00FF #FFFF00 #00FF00"));
    QVERIFY(again.cmdDelItem->isEnabled());
}

void tst_savedschemes::save_cancelled_changesNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("Cancel") << true;
    QTest::newRow("OK on an empty field") << false;
}

void tst_savedschemes::save_cancelled_changesNothing()
{
    QFETCH(bool, cancel);
    frmshowcolor& w = t->openFour();
    whenWindowShown(QStringLiteral("frmInput"), [cancel](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("txtResult"))
            ->setText(cancel ? QStringLiteral("typed") : QString());
        QTest::mouseClick(dialog->findChild<QPushButton*>(cancel ? QStringLiteral("cmdCancel")
                                                                 : QStringLiteral("cmdOk")),
                          Qt::LeftButton);
    });
    w.mnuSaveScheme->trigger();
    QCOMPARE(listEntries(w), fourNames());
    QCOMPARE(t->folder.read(Names), nameList(fourNames()));
    QCOMPARE(t->folder.read(Colors), fourColors());
    QVERIFY(t->platform.messages.isEmpty());
}

void tst_savedschemes::save_writeFailure_oneMessageNothingChanged()
{
    frmshowcolor& w = t->openFour();
    t->folder.remove(Colors);
    QVERIFY(QDir(t->folder.path()).mkdir(Colors));
    answerNameDialog(QStringLiteral("Lost"));
    w.mnuSaveScheme->trigger();
    QCOMPARE(t->platform.messages.size(), 1);
    QVERIFY2(t->platform.messages.first().text.contains(
                 QDir::toNativeSeparators(t->folder.filePath(Colors))),
             qPrintable(t->platform.messages.first().text));
    QCOMPARE(t->folder.read(Names), nameList(fourNames()));
    QCOMPARE(listEntries(w), fourNames());
}

void tst_savedschemes::delete_onePressAfterChoosing_asksOnce_data()
{
    // How the press reaches the button: a click after choosing in the list
    // (the list loses the focus to the button first), Tab out of the list
    // (the button receives the focus), or a click while the list never had
    // the focus (the scheme chosen in code).
    QTest::addColumn<QString>("press");
    QTest::newRow("click after choosing in the list") << "click";
    QTest::newRow("tab from the list") << "tab";
    QTest::newRow("click, scheme chosen in code") << "code";
}

void tst_savedschemes::delete_onePressAfterChoosing_asksOnce()
{
    QFETCH(QString, press);
    frmshowcolor& w = t->openFour();
    t->showActive();
    if (press == QLatin1String("code")) {
        w.txtr->setFocus();
        w.lstCorset->setCurrentRow(1);
        QVERIFY(!w.lstCorset->hasFocus());
    } else {
        clickEntry(w, 1);
        QVERIFY(w.lstCorset->hasFocus());
    }
    QVERIFY(w.cmdDelItem->isEnabled());

    t->platform.answers << Platform::Answer::Yes;
    if (press == QLatin1String("tab"))
        QTest::keyClick(w.lstCorset, Qt::Key_Tab);
    else
        QTest::mouseClick(w.cmdDelItem, Qt::LeftButton);

    QCOMPARE(t->platform.messages.size(), 1);
    const FakePlatform::Message& question = t->platform.messages.first();
    QCOMPARE(question.text,
             QStringLiteral("Are you sure you want to delete color scheme \"Night\"?"));
    QCOMPARE(question.title, QStringLiteral("Delete a color scheme"));
    QCOMPARE(question.buttons, Platform::Buttons::YesNo);
    QCOMPARE(question.icon, Platform::Icon::Question);

    QCOMPARE(listEntries(w), (QStringList{"Classic", "Paper", "Forest"}));
    QCOMPARE(t->folder.read(Names), nameList({"Classic", "Paper", "Forest"}));
    const QByteArray before = fourColors();
    QCOMPARE(t->folder.read(Colors),
             recordOf(before, 0) + recordOf(before, 2) + recordOf(before, 3));
    QVERIFY(!t->folder.exists(QStringLiteral("set.hct")));
    QVERIFY(!t->folder.exists(QStringLiteral("colorset.dam")));
    QCOMPARE(selectedRow(w), -1);
    QVERIFY(!w.cmdDelItem->isEnabled());
    QCOMPARE(w.SchemeIndex, 1);
    // The panel keeps the deleted scheme's colours.
    QCOMPARE(describe(w.schemeColors()),
             QStringLiteral("#FFFFFF #000000 #00FFFF #FF00FF #FFFF00 #00FF00"));

    // The new second entry is the former third scheme.
    w.lstCorset->setCurrentRow(1);
    QCOMPARE(describe(w.schemeColors()),
             QStringLiteral("#333333 #F5E6CA #336699 #996633 #CC3300 #FF9900"));
}

void tst_savedschemes::delete_otherMouseButtons_pressNothing_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void tst_savedschemes::delete_otherMouseButtons_pressNothing()
{
    // Only the left button presses "Delete This Scheme"; the others used to
    // ask to delete the scheme, Yes being the default answer.
    QFETCH(Qt::MouseButton, button);
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, 1);
    QTest::mouseClick(w.cmdDelItem, button);
    QTRY_VERIFY(w.lstCorset->hasFocus());
    QVERIFY(t->platform.messages.isEmpty());
    QCOMPARE(selectedRow(w), 1);
    QVERIFY(w.cmdDelItem->isEnabled());
    QCOMPARE(t->folder.read(Names), nameList(fourNames()));
    // The left button still does.
    t->platform.answers << Platform::Answer::No;
    QTest::mouseClick(w.cmdDelItem, Qt::LeftButton);
    QCOMPARE(
        t->platform.messageTexts(),
        QStringList{QStringLiteral("Are you sure you want to delete color scheme \"Night\"?")});
}

void tst_savedschemes::delete_answerNo_changesNothing()
{
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, 2);
    t->platform.answers << Platform::Answer::No;
    QTest::mouseClick(w.cmdDelItem, Qt::LeftButton);
    QCOMPARE(t->platform.messages.size(), 1);
    QCOMPARE(listEntries(w), fourNames());
    QCOMPARE(t->folder.read(Names), nameList(fourNames()));
    QCOMPARE(t->folder.read(Colors), fourColors());
}

void tst_savedschemes::delete_lastOfFour()
{
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, 3);
    t->platform.answers << Platform::Answer::Yes;
    QTest::mouseClick(w.cmdDelItem, Qt::LeftButton);
    QCOMPARE(
        t->platform.messageTexts(),
        QStringList{QStringLiteral("Are you sure you want to delete color scheme \"Forest\"?")});
    QCOMPARE(listEntries(w), fourNames().mid(0, 3));
    QCOMPARE(t->folder.read(Names), nameList(fourNames().mid(0, 3)));
    QCOMPARE(t->folder.read(Colors), fourColors().left(3 * 36));
}

void tst_savedschemes::delete_firstSchemeCannotBeDeleted()
{
    frmshowcolor& w = t->openFour();
    t->showActive();
    clickEntry(w, 1);
    clickEntry(w, 0);
    QVERIFY(!w.cmdDelItem->isEnabled());
    QTest::mouseClick(w.cmdDelItem, Qt::LeftButton);
    QTest::keyClick(w.lstCorset, Qt::Key_Tab);
    QVERIFY(t->platform.messages.isEmpty());
    QCOMPARE(t->folder.read(Names), nameList(fourNames()));
}

void tst_savedschemes::delete_writeFailure_oneMessageNothingChanged()
{
    frmshowcolor& w = t->openFour();
    t->showActive();
    QVERIFY(QDir(t->folder.path()).mkdir(QStringLiteral("colorset.dam")));
    clickEntry(w, 1);
    t->platform.answers << Platform::Answer::Yes;
    QTest::mouseClick(w.cmdDelItem, Qt::LeftButton);
    QCOMPARE(t->platform.messages.size(), 2);
    QVERIFY2(t->platform.messages.last().text.contains(QStringLiteral("colorset.dam")),
             qPrintable(t->platform.messages.last().text));
    QCOMPARE(listEntries(w), fourNames());
    QCOMPARE(t->folder.read(Names), nameList(fourNames()));
    QCOMPARE(t->folder.read(Colors), fourColors());
    QVERIFY(!t->folder.exists(QStringLiteral("set.hct")));
}

QTEST_MAIN(tst_savedschemes)
#include "tst_savedschemes.moc"
