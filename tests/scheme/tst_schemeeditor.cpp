#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "tests/scheme/SchemeTestData.h"
#include "tests/scheme/SchemeWindowTest.h"
#include "tests/support/ModalScript.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace bascommon;
using namespace schemetest;

namespace {

const QString InitialCaptions[] = {
    QStringLiteral("Thank you for using Tintora."), QStringLiteral("Text Color: #000000"),
    QStringLiteral("Tip of Use"), QStringLiteral("Right-click here access to more features.")};

// Everything the preview panel shows, in one line, so that a case can compare
// the whole panel before and after.
QString panelState(const frmshowcolor& w)
{
    QStringList parts;
    parts << describe(w.schemeColors()) << ColorToHtmlHex(w.lbldisplay->backColor());
    for (const ClickableLabel* sample : {w.lbltext[0], w.lbltext[1], w.lbltext[2], w.lbltext[3],
                                         w.lblnl, w.lblvl, w.lblal, w.lblhl})
        parts << sample->text() << ColorToHtmlHex(sample->foreColor())
              << ColorToHtmlHex(sample->backColor());
    return parts.join(QLatin1Char('|'));
}

QRadioButton* checkedRole(const frmshowcolor& w)
{
    for (QRadioButton* option : {w.optbg, w.opttext, w.optnl, w.optvl, w.optal, w.opthl, w.optnone})
        if (option->isChecked())
            return option;
    return nullptr;
}

} // namespace

class tst_schemeeditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startup_showsSchemeOneWithNoRole();
    void htmlColor_appliesToTheSelectedRole_data();
    void htmlColor_appliesToTheSelectedRole();
    void htmlColor_none_changesNothing();
    void compactView_ignoresChanges();
    void optionButton_byItself_changesOnlyTheRole();
    void sampleRelease_selectsRoleAndMakesItsColourCurrent_data();
    void sampleRelease_selectsRoleAndMakesItsColourCurrent();
    void activeLinkSample_middleButton_doesNothing();
    void sampleRightRelease_opensMenuWithoutChanges_data();
    void sampleRightRelease_opensMenuWithoutChanges();

private:
    std::unique_ptr<SchemeWindowTest> t;
};

void tst_schemeeditor::init()
{
    t = std::make_unique<SchemeWindowTest>();
}

void tst_schemeeditor::cleanup()
{
    QVERIFY2(t->platform.unexpected.isEmpty(),
             qPrintable(t->platform.unexpected.join(QLatin1Char('\n'))));
    t.reset();
}

void tst_schemeeditor::startup_showsSchemeOneWithNoRole()
{
    frmshowcolor& w = t->openFour();
    QVERIFY(w.optnone->isChecked());
    QCOMPARE(w.lstCorset->count(), 4);
    QCOMPARE(w.lstCorset->item(0)->text(), QStringLiteral("Classic"));
    QCOMPARE(w.SchemeIndex, 0);
    QVERIFY(!w.cmdDelItem->isEnabled());
    QCOMPARE(describe(w.schemeColors()),
             QStringLiteral("#000000 #FFFFFF #0000FF #800080 #FF0000 #FF6600"));
    QCOMPARE(w.lbltext[1]->text(), QStringLiteral("Text Color: #000000"));
    QCOMPARE(w.lblnl->text(), QStringLiteral("Normal Link Color: #0000FF"));
    QCOMPARE(w.lblvl->text(), QStringLiteral("Visited Link Color: #800080"));
    QCOMPARE(w.lblal->text(), QStringLiteral("Active Link Color: #FF0000"));
    QCOMPARE(w.lblhl->text(), QStringLiteral("Hover Link Color: #FF6600"));
    QCOMPARE(w.lblhl->foreColor(), MakeColor(255, 102, 0));
    QCOMPARE(w.lbldisplay->backColor(), White);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w.lbltext[static_cast<std::size_t>(i)]->text(), InitialCaptions[i]);
        QCOMPARE(w.lbltext[static_cast<std::size_t>(i)]->foreColor(), Black);
    }
    QVERIFY(t->platform.messages.isEmpty());
}

void tst_schemeeditor::htmlColor_appliesToTheSelectedRole_data()
{
    QTest::addColumn<QString>("role");
    // The whole panel afterwards, as panelState() writes it, for the colour
    // red 255, green 128, blue 10 applied to scheme 1.
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QStringList>("changedLabels"); // sample: caption|fore|back
    QTest::addColumn<bool>("backgroundChanges");

    QTest::newRow("text")
        << "opttext"
        << "#FF800A #FFFFFF #0000FF #800080 #FF0000 #FF6600"
        << QStringList{"lbltext_0:Thank you for using Tintora.|#FF800A|#FFFFFF",
                       "lbltext_1:Text Color: #FF800A|#FF800A|#FFFFFF",
                       "lbltext_2:Tip of Use|#FF800A|#FFFFFF",
                       "lbltext_3:Right-click here access to more features.|#FF800A|#FFFFFF"}
        << false;
    QTest::newRow("background")
        << "optbg"
        << "#000000 #FF800A #0000FF #800080 #FF0000 #FF6600"
        << QStringList{"lbltext_0:Thank you for using Tintora.|#000000|#FF800A",
                       "lbltext_1:Text Color: #000000|#000000|#FF800A",
                       "lbltext_2:Tip of Use|#000000|#FF800A",
                       "lbltext_3:Right-click here access to more features.|#000000|#FF800A",
                       "lblnl:Normal Link Color: #0000FF|#0000FF|#FF800A",
                       "lblvl:Visited Link Color: #800080|#800080|#FF800A",
                       "lblal:Active Link Color: #FF0000|#FF0000|#FF800A",
                       "lblhl:Hover Link Color: #FF6600|#FF6600|#FF800A"}
        << true;
    QTest::newRow("normal link") << "optnl"
                                 << "#000000 #FFFFFF #FF800A #800080 #FF0000 #FF6600"
                                 << QStringList{"lblnl:Normal Link Color: #FF800A|#FF800A|#FFFFFF"}
                                 << false;
    QTest::newRow("visited link")
        << "optvl"
        << "#000000 #FFFFFF #0000FF #FF800A #FF0000 #FF6600"
        << QStringList{"lblvl:Visited Link Color: #FF800A|#FF800A|#FFFFFF"} << false;
    QTest::newRow("active link") << "optal"
                                 << "#000000 #FFFFFF #0000FF #800080 #FF800A #FF6600"
                                 << QStringList{"lblal:Active Link Color: #FF800A|#FF800A|#FFFFFF"}
                                 << false;
    QTest::newRow("hover link") << "opthl"
                                << "#000000 #FFFFFF #0000FF #800080 #FF0000 #FF800A"
                                << QStringList{"lblhl:Hover Link Color: #FF800A|#FF800A|#FFFFFF"}
                                << false;
}

void tst_schemeeditor::htmlColor_appliesToTheSelectedRole()
{
    QFETCH(QString, role);
    QFETCH(QString, scheme);
    QFETCH(QStringList, changedLabels);
    QFETCH(bool, backgroundChanges);
    frmshowcolor& w = t->openFour();

    // Every sample's state before, keyed by name.
    QMap<QString, QString> expected;
    for (ClickableLabel* sample : w.lbldisplay->findChildren<ClickableLabel*>())
        expected[sample->objectName()] = sample->text() + QLatin1Char('|') +
                                         ColorToHtmlHex(sample->foreColor()) + QLatin1Char('|') +
                                         ColorToHtmlHex(sample->backColor());
    QCOMPARE(expected.size(), 8);
    for (const QString& change : changedLabels)
        expected[change.section(QLatin1Char(':'), 0, 0)] = change.section(QLatin1Char(':'), 1);

    w.findChild<QRadioButton*>(role)->click();
    w.CurrentColorChanged(MakeColor(255, 128, 10));

    QCOMPARE(describe(w.schemeColors()), scheme);
    for (ClickableLabel* sample : w.lbldisplay->findChildren<ClickableLabel*>())
        QCOMPARE(sample->text() + QLatin1Char('|') + ColorToHtmlHex(sample->foreColor()) +
                     QLatin1Char('|') + ColorToHtmlHex(sample->backColor()),
                 expected.value(sample->objectName()));
    QCOMPARE(w.lbldisplay->backColor(), backgroundChanges ? MakeColor(255, 128, 10) : White);
}

void tst_schemeeditor::htmlColor_none_changesNothing()
{
    frmshowcolor& w = t->openFour();
    const QString before = panelState(w);
    w.CurrentColorChanged(MakeColor(1, 2, 3));
    QCOMPARE(panelState(w), before);
}

void tst_schemeeditor::compactView_ignoresChanges()
{
    frmshowcolor& w = t->openFour();
    const QString before = panelState(w);
    for (QRadioButton* role : {w.optbg, w.opttext, w.optnl, w.optvl, w.optal, w.opthl}) {
        role->click();
        w.mnuSwap_Click();
        QVERIFY(w.isCompactView());
        w.CurrentColorChanged(MakeColor(10, 20, 30));
        QCOMPARE(panelState(w), before);
        w.mnuSwap_Click();
        QCOMPARE(panelState(w), before);
    }
    // Back in the full view the role applies again, with a hover caption for black.
    w.CurrentColorChanged(Black);
    QCOMPARE(w.lblhl->text(), QStringLiteral("Hover Link Color: #000000"));
}

void tst_schemeeditor::optionButton_byItself_changesOnlyTheRole()
{
    frmshowcolor& w = t->openFour();
    w.CurrentColorChanged(MakeColor(0x12, 0x34, 0x56));
    const QString before = panelState(w);
    QTest::mouseClick(w.optvl, Qt::LeftButton);
    QVERIFY(w.optvl->isChecked());
    QCOMPARE(panelState(w), before);
    QCOMPARE(w.currentColor(), MakeColor(0x12, 0x34, 0x56));
    w.CurrentColorChanged(MakeColor(0xAB, 0xCD, 0xEF));
    QCOMPARE(w.lblvl->text(), QStringLiteral("Visited Link Color: #ABCDEF"));
}

void tst_schemeeditor::sampleRelease_selectsRoleAndMakesItsColourCurrent_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("colour");
    const int left = Qt::LeftButton;
    const int middle = Qt::MiddleButton;
    // Scheme 2 ("Night"): white text on black, cyan, magenta, yellow, green links.
    QTest::newRow("page background") << "lbldisplay" << left << "optbg"
                                     << "#000000";
    QTest::newRow("text 0") << "lbltext_0" << left << "opttext"
                            << "#FFFFFF";
    QTest::newRow("text 1") << "lbltext_1" << left << "opttext"
                            << "#FFFFFF";
    QTest::newRow("text 2, middle") << "lbltext_2" << middle << "opttext"
                                    << "#FFFFFF";
    QTest::newRow("text 3") << "lbltext_3" << left << "opttext"
                            << "#FFFFFF";
    QTest::newRow("normal link") << "lblnl" << left << "optnl"
                                 << "#00FFFF";
    QTest::newRow("visited link, middle") << "lblvl" << middle << "optvl"
                                          << "#FF00FF";
    QTest::newRow("active link") << "lblal" << left << "optal"
                                 << "#FFFF00";
    QTest::newRow("hover link") << "lblhl" << left << "opthl"
                                << "#00FF00";
}

void tst_schemeeditor::sampleRelease_selectsRoleAndMakesItsColourCurrent()
{
    QFETCH(QString, sample);
    QFETCH(int, button);
    QFETCH(QString, role);
    QFETCH(QString, colour);
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    const QString before = panelState(w);

    ClickableLabel* label = sample == QLatin1String("lbldisplay")
                                ? w.lbldisplay
                                : w.lbldisplay->findChild<ClickableLabel*>(sample);
    QVERIFY(label);
    if (sample == QLatin1String("lbldisplay"))
        QTest::mouseClick(label, static_cast<Qt::MouseButton>(button), {},
                          QPoint(1, label->height() - 2));
    else
        clickSample(label, static_cast<Qt::MouseButton>(button));

    QCOMPARE(checkedRole(w)->objectName(), role);
    QCOMPARE(ColorToHtmlHex(w.currentColor()), colour);
    QCOMPARE(w.txtrgb->text(), colour);
    // The colour goes back to the role it came from: the panel is unchanged.
    QCOMPARE(panelState(w), before);
}

void tst_schemeeditor::activeLinkSample_middleButton_doesNothing()
{
    frmshowcolor& w = t->openFour();
    const Color current = w.currentColor();
    clickSample(w.lblal, Qt::MiddleButton);
    QVERIFY(w.optnone->isChecked());
    QCOMPARE(w.currentColor(), current);
}

void tst_schemeeditor::sampleRightRelease_opensMenuWithoutChanges_data()
{
    QTest::addColumn<QString>("sample");
    for (const char* name : {"lbldisplay", "lbltext_0", "lbltext_1", "lbltext_2", "lbltext_3",
                             "lblnl", "lblvl", "lblal", "lblhl"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_schemeeditor::sampleRightRelease_opensMenuWithoutChanges()
{
    QFETCH(QString, sample);
    frmshowcolor& w = t->openFour();
    w.opthl->click();
    w.CurrentColorChanged(MakeColor(9, 9, 9));
    const QString before = panelState(w);

    ClickableLabel* label = sample == QLatin1String("lbldisplay")
                                ? w.lbldisplay
                                : w.lbldisplay->findChild<ClickableLabel*>(sample);
    QString shownMenu;
    QStringList items;
    whenPopupShown([&](QMenu* menu) {
        shownMenu = menu->objectName();
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                items << action->text();
        menu->close();
    });
    if (sample == QLatin1String("lbldisplay"))
        QTest::mouseClick(label, Qt::RightButton, {}, QPoint(1, label->height() - 2));
    else
        clickSample(label, Qt::RightButton);

    QCOMPARE(shownMenu, QStringLiteral("mnuHtmlPop1"));
    QCOMPARE(items, (QStringList{"Save Current Web Color scheme...", "View Html and CSS Code",
                                 "Copy Html Code", "Copy Inline Css Code", "Copy External Css Code",
                                 "Preview"}));
    QVERIFY(w.opthl->isChecked());
    QCOMPARE(w.currentColor(), MakeColor(9, 9, 9));
    QCOMPARE(panelState(w), before);
}

QTEST_MAIN(tst_schemeeditor)
#include "tst_schemeeditor.moc"
