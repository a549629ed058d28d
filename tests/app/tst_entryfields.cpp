#include "app/ClickableLabel.h"
#include "app/EntryField.h"
#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace bascommon;

class tst_entryfields : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void typing_data();
    void typing();
    void enter_appliesItsKind_data();
    void enter_appliesItsKind();
    void enterTwice_recordsTheColourTwice();
    void deletingAllText_putsZero();
    void clearedField_nextKeysReplaceTheZero_data();
    void clearedField_nextKeysReplaceTheZero();
    void pasting_repairsOrKeeps_data();
    void pasting_repairsOrKeeps();
    void pasteShortcut_pastesNothing();
    void lengthLimits();
    void leavingAField_appliesEachTime();
    void focusLeaving_appliesOnlyForAnotherControl_data();
    void focusLeaving_appliesOnlyForAnotherControl();
    void swatchClick_leavesAnEditUnapplied();
    void hexEnter_ignoresUnappliedDecimalEdits();
    void programmaticChange_neverApplies();

private:
    EntryField* field(const QString& name) const { return m_window->findChild<EntryField*>(name); }
    QByteArray recent() const { return m_data->read(QStringLiteral("recent.rgb")); }

    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<frmshowcolor> m_window;
};

void tst_entryfields::init()
{
    m_data = std::make_unique<TestDataFolder>();
    m_platform = std::make_unique<FakePlatform>();
    m_window.reset(basmain::CreateMainWindow(*m_platform, m_data->path()));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_entryfields::cleanup()
{
    m_window.reset();
    QVERIFY2(m_platform->unexpected.isEmpty(),
             qPrintable(m_platform->unexpected.join(QLatin1Char('\n'))));
}

void tst_entryfields::typing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("300 becomes 255") << "txtr"
                                     << "300"
                                     << "255";
    QTest::newRow("007 kept while typing") << "txtr"
                                           << "007"
                                           << "007";
    QTest::newRow("x ignored in decimal") << "txtr"
                                          << "1x2"
                                          << "12";
    QTest::newRow("hex letters ignored in decimal") << "txtg"
                                                    << "a5"
                                                    << "5";
    QTest::newRow("g ignored in hex") << "txtgh"
                                      << "gA"
                                      << "A";
    QTest::newRow("lower-case hex kept") << "txtrh"
                                         << "f0"
                                         << "f0";
    QTest::newRow("space ignored") << "txtbh"
                                   << " 1"
                                   << "1";
}

void tst_entryfields::typing()
{
    QFETCH(QString, name);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    EntryField* target = field(name);
    target->setFocus();
    target->selectAll();
    QTest::keyClick(target, Qt::Key_Backspace);
    QCOMPARE(target->text(), QStringLiteral("0"));
    target->selectAll();
    QTest::keyClicks(target, keys);
    QCOMPARE(target->text(), shown);
}

void tst_entryfields::enter_appliesItsKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("red");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("007 applies 7") << "txtr"
                                   << "007" << 7 << "7";
    QTest::newRow("300 applies 255") << "txtr"
                                     << "300" << 255 << "255";
    QTest::newRow("f0 applies 240") << "txtrh"
                                    << "f0" << 240 << "F0";
    QTest::newRow("single hex digit") << "txtrh"
                                      << "a" << 10 << "0A";
}

void tst_entryfields::enter_appliesItsKind()
{
    QFETCH(QString, name);
    QFETCH(QString, keys);
    QFETCH(int, red);
    QFETCH(QString, shownAfter);
    m_window->CurrentColorChanged(MakeColor(1, 2, 3));
    EntryField* target = field(name);
    target->setFocus();
    target->selectAll();
    QTest::keyClicks(target, keys);
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(m_window->currentColor(), MakeColor(red, 2, 3));
    QCOMPARE(target->text(), shownAfter);
    QCOMPARE(m_window->txtrgb->text(), ColorToHtmlHex(MakeColor(red, 2, 3)));
}

void tst_entryfields::enterTwice_recordsTheColourTwice()
{
    m_window->CurrentColorChanged(MakeColor(10, 20, 30));
    const QByteArray before = recent();
    field(QStringLiteral("txtg"))->setFocus();
    QTest::keyClick(field(QStringLiteral("txtg")), Qt::Key_Return);
    QTest::keyClick(field(QStringLiteral("txtg")), Qt::Key_Enter);
    QCOMPARE(recent(), before + "0A141E0A141E");
}

void tst_entryfields::deletingAllText_putsZero()
{
    EntryField* green = field(QStringLiteral("txtg"));
    green->setFocus();
    green->selectAll();
    QTest::keyClick(green, Qt::Key_Delete);
    QCOMPARE(green->text(), QStringLiteral("0"));
    green->setText(QStringLiteral("12"));
    green->setCursorPosition(2);
    QTest::keyClick(green, Qt::Key_Backspace);
    QTest::keyClick(green, Qt::Key_Backspace);
    QCOMPARE(green->text(), QStringLiteral("0"));
}

void tst_entryfields::clearedField_nextKeysReplaceTheZero_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("clearKey");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("red cleared by Backspace, 255") << "txtr" << int(Qt::Key_Backspace) << "255"
                                                   << "255";
    QTest::newRow("green cleared by Delete, 128") << "txtg" << int(Qt::Key_Delete) << "128"
                                                  << "128";
    QTest::newRow("blue cleared, 0 typed first") << "txtb" << int(Qt::Key_Backspace) << "007"
                                                 << "007";
    QTest::newRow("hex red cleared, FF") << "txtrh" << int(Qt::Key_Backspace) << "FF"
                                         << "FF";
    QTest::newRow("hex blue cleared by Delete, a0") << "txtbh" << int(Qt::Key_Delete) << "a0"
                                                    << "a0";
}

void tst_entryfields::clearedField_nextKeysReplaceTheZero()
{
    QFETCH(QString, name);
    QFETCH(int, clearKey);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    EntryField* target = field(name);
    target->setFocus();
    target->selectAll();
    QTest::keyClick(target, Qt::Key(clearKey));
    QCOMPARE(target->text(), QStringLiteral("0"));
    QTest::keyClicks(target, keys);
    QCOMPARE(target->text(), shown);

    // Deleting the last digit one key at a time repairs the same way.
    target->setText(QStringLiteral("12"));
    target->setCursorPosition(2);
    QTest::keyClick(target, Qt::Key_Backspace);
    QTest::keyClick(target, Qt::Key_Backspace);
    QTest::keyClicks(target, keys);
    QCOMPARE(target->text(), shown);
}

void tst_entryfields::pasting_repairsOrKeeps_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("1a into decimal") << "txtb"
                                     << "1a"
                                     << "0";
    QTest::newRow("12 into decimal") << "txtb"
                                     << "12"
                                     << "12";
    QTest::newRow("999 into decimal") << "txtb"
                                      << "999"
                                      << "255";
    QTest::newRow("long text cut at the limit") << "txtb"
                                                << "12345"
                                                << "123";
    QTest::newRow("zz into hex") << "txtbh"
                                 << "zz"
                                 << "0";
    QTest::newRow("aB into hex") << "txtbh"
                                 << "aB"
                                 << "aB";
}

void tst_entryfields::pasting_repairsOrKeeps()
{
    QFETCH(QString, name);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    EntryField* target = field(name);
    QGuiApplication::clipboard()->setText(pasted);
    target->selectAll();
    target->paste(); // what the field's context menu does
    QCOMPARE(target->text(), shown);
    // A "0" put in place of spoilt text is replaced by the next key.
    if (shown == QLatin1String("0")) {
        target->setFocus();
        QTest::keyClicks(target, QStringLiteral("12"));
        QCOMPARE(target->text(), QStringLiteral("12"));
    }
}

void tst_entryfields::pasteShortcut_pastesNothing()
{
    EntryField* target = field(QStringLiteral("txtr"));
    target->setText(QStringLiteral("12"));
    QGuiApplication::clipboard()->setText(QStringLiteral("3"));
    target->setFocus();
    target->setCursorPosition(2);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(target->text(), QStringLiteral("12"));
    target->selectAll();
    QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(target->text(), QStringLiteral("12"));
}

void tst_entryfields::lengthLimits()
{
    for (const char* name : {"txtr", "txtg", "txtb"})
        QCOMPARE(field(QLatin1String(name))->maxLength(), 3);
    for (const char* name : {"txtrh", "txtgh", "txtbh"})
        QCOMPARE(field(QLatin1String(name))->maxLength(), 2);
    QCOMPARE(m_window->txtrgb1->maxLength(), 11);
    QCOMPARE(m_window->txtrgb->maxLength(), 7);
    QVERIFY(m_window->txtrgb1->isReadOnly());
    QVERIFY(m_window->txtrgb->isReadOnly());
}

void tst_entryfields::leavingAField_appliesEachTime()
{
    m_window->CurrentColorChanged(MakeColor(1, 2, 3));
    const QByteArray before = recent();
    EntryField* red = field(QStringLiteral("txtr"));
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, QStringLiteral("100"));
    // Moving on applies the decimal fields once, then again without typing.
    QTest::keyClick(red, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), field(QStringLiteral("txtg")));
    QCOMPARE(m_window->currentColor(), MakeColor(100, 2, 3));
    QCOMPARE(recent(), before + "640203");
    QTest::keyClick(field(QStringLiteral("txtg")), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), field(QStringLiteral("txtb")));
    QCOMPARE(recent(), before + "640203" + "640203");
}

void tst_entryfields::focusLeaving_appliesOnlyForAnotherControl_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("applies");
    QTest::newRow("Tab") << int(Qt::TabFocusReason) << true;
    QTest::newRow("Shift+Tab") << int(Qt::BacktabFocusReason) << true;
    QTest::newRow("a click on another control") << int(Qt::MouseFocusReason) << true;
    QTest::newRow("a shortcut to another control") << int(Qt::ShortcutFocusReason) << true;
    // A menu, the menu bar taken by Alt, another window: the focus stays here.
    QTest::newRow("a menu opens") << int(Qt::PopupFocusReason) << false;
    QTest::newRow("Alt on the menu bar") << int(Qt::MenuBarFocusReason) << false;
    QTest::newRow("another window") << int(Qt::ActiveWindowFocusReason) << false;
}

void tst_entryfields::focusLeaving_appliesOnlyForAnotherControl()
{
    QFETCH(int, reason);
    QFETCH(bool, applies);
    m_window->CurrentColorChanged(MakeColor(1, 2, 3));
    EntryField* red = field(QStringLiteral("txtr"));
    red->setText(QStringLiteral("9"));
    const QByteArray before = recent();
    QFocusEvent leaving(QEvent::FocusOut, Qt::FocusReason(reason));
    QApplication::sendEvent(red, &leaving);
    QCOMPARE(m_window->currentColor(), applies ? MakeColor(9, 2, 3) : MakeColor(1, 2, 3));
    QCOMPARE(recent(), applies ? before + "090203" : before);
}

void tst_entryfields::swatchClick_leavesAnEditUnapplied()
{
    // The swatch is a label: a click on it leaves the field, and the edit,
    // where they are.
    m_window->CurrentColorChanged(MakeColor(1, 2, 3));
    const QByteArray before = recent();
    EntryField* red = field(QStringLiteral("txtr"));
    red->setFocus(Qt::TabFocusReason);
    red->selectAll();
    QTest::keyClicks(red, QStringLiteral("200"));
    QTest::mouseClick(m_window->lblcolor, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), red);
    QCOMPARE(red->text(), QStringLiteral("200"));
    QCOMPARE(m_window->currentColor(), MakeColor(1, 2, 3));
    QCOMPARE(recent(), before);
}

void tst_entryfields::hexEnter_ignoresUnappliedDecimalEdits()
{
    m_window->CurrentColorChanged(MakeColor(1, 2, 3));
    field(QStringLiteral("txtr"))->setText(QStringLiteral("200")); // typed but not applied
    EntryField* green = field(QStringLiteral("txtgh"));
    green->setFocus(Qt::OtherFocusReason);
    const QByteArray before = recent();
    green->selectAll();
    QTest::keyClicks(green, QStringLiteral("FF"));
    QTest::keyClick(green, Qt::Key_Return);
    QCOMPARE(m_window->currentColor(), MakeColor(1, 255, 3));
    QCOMPARE(field(QStringLiteral("txtr"))->text(), QStringLiteral("1"));
    QCOMPARE(recent(), before + "01FF03");
}

void tst_entryfields::programmaticChange_neverApplies()
{
    m_window->CurrentColorChanged(MakeColor(1, 2, 3));
    const QByteArray before = recent();
    field(QStringLiteral("txtb"))->setText(QStringLiteral("77"));
    QCOMPARE(m_window->currentColor(), MakeColor(1, 2, 3));
    QCOMPARE(recent(), before);
}

QTEST_MAIN(tst_entryfields)
#include "tst_entryfields.moc"
