#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "scheme/ColorVision.h"
#include "models/science/Contrast.h"
#include "scheme/VisionModeBox.h"
#include "scheme/frmContrast.h"
#include "tests/scheme/SchemeTestData.h"
#include "tests/scheme/SchemeWindowTest.h"
#include "tests/support/ModalScript.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextDocumentFragment>

using namespace bascommon;
using namespace schemetest;
using colorvision::VisionMode;

namespace {

const QString ClassicScheme = QStringLiteral("#000000 #FFFFFF #0000FF #800080 #FF0000 #FF6600");

// The ratios of the "Classic" scheme (black on white, links blue, purple, red,
// orange): text, the four links on the background, the four links against
// the text. Worked out apart from the program, from the WCAG formula.
const QStringList ClassicRatios = {"21:1",   "8.59:1", "9.41:1", "3.99:1", "2.93:1",
                                   "2.44:1", "2.22:1", "5.25:1", "7.15:1"};
// The same, for the colours a reader with protanopia sees.
const QStringList ClassicProtanopiaRatios = {"21:1",   "5.42:1", "10.52:1", "6.38:1", "3.9:1",
                                             "3.87:1", "1.99:1", "3.28:1",  "5.38:1"};
const QStringList NightRatios = {"21:1",   "16.74:1", "6.69:1", "19.55:1", "15.3:1",
                                 "1.25:1", "3.13:1",  "1.07:1", "1.37:1"};

QString text(const QWidget* root, const QString& name)
{
    const auto* label = root->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

QString rowName(int pair, const char* background, const char* link)
{
    return pair < 5 ? QStringLiteral("%1_%2").arg(QLatin1String(background)).arg(pair)
                    : QStringLiteral("%1_%2").arg(QLatin1String(link)).arg(pair - 5);
}

QStringList ratios(const QWidget* root)
{
    QStringList seen;
    for (int pair = 0; pair < 9; ++pair)
        seen << text(root, rowName(pair, "lblBgRatio", "lblLinkRatio"));
    return seen;
}

// Pairs drawn as failing: bold pair name in red.
QList<int> markedFailing(const QWidget* root)
{
    QList<int> failing;
    for (int pair = 0; pair < 9; ++pair) {
        const auto* name = root->findChild<QLabel*>(rowName(pair, "lblBgPair", "lblLinkPair"));
        const bool red = name->palette().color(QPalette::WindowText) == QColor(0xB7, 0x1C, 0x1C);
        if (name->font().bold() && red)
            failing << pair;
    }
    return failing;
}

QList<int> fixesEnabled(const QWidget* root)
{
    QList<int> enabled;
    for (int pair = 0; pair < 9; ++pair) {
        if (root->findChild<QPushButton*>(rowName(pair, "cmdFixBg", "cmdFixLink"))->isEnabled())
            enabled << pair;
    }
    return enabled;
}

// The colours the preview panel shows: text, background, four links.
QString panelColours(const frmshowcolor& w)
{
    QStringList colours;
    colours << ColorToHtmlHex(w.lbltext[0]->foreColor())
            << ColorToHtmlHex(w.lbldisplay->backColor());
    for (const ClickableLabel* link : {w.lblnl, w.lblvl, w.lblal, w.lblhl})
        colours << ColorToHtmlHex(link->foreColor());
    // Every sample lies on the background colour.
    for (const ClickableLabel* sample : {w.lbltext[0], w.lbltext[1], w.lbltext[2], w.lbltext[3],
                                         w.lblnl, w.lblvl, w.lblal, w.lblhl})
        if (sample->backColor() != w.lbldisplay->backColor())
            colours << QStringLiteral("(%1 off the background)").arg(sample->objectName());
    return colours.join(QLatin1Char(' '));
}

QStringList captions(const frmshowcolor& w)
{
    QStringList seen;
    for (const ClickableLabel* sample : {w.lbltext[0], w.lbltext[1], w.lbltext[2], w.lbltext[3],
                                         w.lblnl, w.lblvl, w.lblal, w.lblhl})
        seen << sample->text();
    return seen;
}

void chooseVision(QWidget* root, const QString& mode)
{
    auto* box = root->findChild<QComboBox*>(QStringLiteral("cmbVision"));
    box->setCurrentIndex(box->findText(mode));
}

QString boxColours(const QWidget* window, const char* name)
{
    const auto* box = window->findChild<QLineEdit*>(QLatin1String(name));
    return ColorToHtmlHex(fromQColor(box->palette().color(QPalette::Text))) + QLatin1Char('/') +
           ColorToHtmlHex(fromQColor(box->palette().color(QPalette::Base)));
}

struct FixDialogSeen
{
    bool shown = false;
    QString name, title, question, before, after;
};

// Reads the fix proposal once it shows and answers it with `button`.
void answerFix(FixDialogSeen& seen, const char* button)
{
    whenModalShown([&seen, button](QWidget* dialog) {
        seen.shown = true;
        seen.name = dialog->objectName();
        seen.title = dialog->windowTitle();
        seen.question = text(dialog, QStringLiteral("lblQuestion"));
        seen.before =
            QTextDocumentFragment::fromHtml(text(dialog, QStringLiteral("lblOld"))).toPlainText();
        seen.after =
            QTextDocumentFragment::fromHtml(text(dialog, QStringLiteral("lblNew"))).toPlainText();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    });
}

} // namespace

class tst_contrastwindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void viewMenu_opensOneToolWindow();
    void matrix_showsRatiosVerdictsAndFailures();
    void matrix_followsEveryChangeOfTheScheme();
    void fix_accepted_setsThatRoleOnly();
    void fix_keepsTheOtherPairsOfTheColour();
    void fix_declined_changesNothing();
    void fix_impossible_isReported();
    void fix_compactView_isNotOffered();
    void visionMode_recoloursThePanelAndRestoresIt();
    void visionMode_closingTheToolReturnsToNormal();
    void visionMode_newColoursAreShownSimulated();
    void visionMode_sampleClick_makesTheTrueColourCurrent();
    void visionMode_leavesTheCodeUnchanged();
    void preview_showsTheMatrixForTheShownColours();

private:
    frmContrast* openTool(frmshowcolor& w);
    std::unique_ptr<SchemeWindowTest> t;
};

void tst_contrastwindows::init()
{
    t = std::make_unique<SchemeWindowTest>();
}

void tst_contrastwindows::cleanup()
{
    QVERIFY2(t->platform.unexpected.isEmpty(),
             qPrintable(t->platform.unexpected.join(QLatin1Char('\n'))));
    t.reset();
}

frmContrast* tst_contrastwindows::openTool(frmshowcolor& w)
{
    w.mnuViewContrast->trigger();
    return w.contrastWindow();
}

void tst_contrastwindows::viewMenu_opensOneToolWindow()
{
    frmshowcolor& w = t->openFour();
    // The specified items keep their places; the tool follows a separator.
    const QList<QAction*> items = w.mnuView->actions();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0], w.mnuSwap);
    QCOMPARE(items[1], w.mnuOnTop);
    QVERIFY(items[2]->isSeparator());
    QCOMPARE(items[3]->objectName(), QStringLiteral("mnuViewContrast"));
    QCOMPARE(items[3]->text(), QStringLiteral("Scheme &Contrast and Color Vision"));

    frmContrast* tool = openTool(w);
    QVERIFY(tool);
    QVERIFY(tool->isVisible());
    QVERIFY(!tool->isModal());
    QCOMPARE(tool->objectName(), QStringLiteral("frmContrast"));
    QCOMPARE(tool->windowTitle(), QStringLiteral("Scheme Contrast and Color Vision"));
    QVERIFY(tool->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(openTool(w), tool);
    QCOMPARE(w.findChildren<frmContrast*>().size(), 1);

    QTest::mouseClick(tool->cmdClose, Qt::LeftButton);
    QTRY_VERIFY(!w.contrastWindow());
    QVERIFY(openTool(w));
}

void tst_contrastwindows::matrix_showsRatiosVerdictsAndFailures()
{
    frmshowcolor& w = t->openFour();
    frmContrast* tool = openTool(w);
    QCOMPARE(ratios(tool), ClassicRatios);
    QCOMPARE(markedFailing(tool), (QList<int>{3, 4, 5, 6}));
    QCOMPARE(fixesEnabled(tool), (QList<int>{3, 4, 5, 6}));

    // AA, AA large, AAA, AAA large for the text and the four links.
    const QStringList expected = {"Pass Pass Pass Pass", "Pass Pass Pass Pass",
                                  "Pass Pass Pass Pass", "Fail Pass Fail Fail",
                                  "Fail Fail Fail Fail"};
    for (int row = 0; row < 5; ++row) {
        QStringList verdicts;
        for (const char* column : {"lblAANormal", "lblAALarge", "lblAAANormal", "lblAAALarge"})
            verdicts << text(tool, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
        QCOMPARE(verdicts.join(QLatin1Char(' ')), expected[row]);
    }
    QStringList linkChecks;
    for (int row = 0; row < 4; ++row)
        linkChecks << text(tool, QStringLiteral("lblLinkCheck_%1").arg(row));
    QCOMPARE(linkChecks, (QStringList{"Fail", "Fail", "Pass", "Pass"}));
    QCOMPARE(text(tool, QStringLiteral("lblBgPair_0")), QStringLiteral("Text"));
    QCOMPARE(text(tool, QStringLiteral("lblLinkPair_3")), QStringLiteral("Hover link"));

    // A failing verdict stands out: white on red.
    auto* fail = tool->findChild<QLabel*>(QStringLiteral("lblAANormal_3"));
    QCOMPARE(fail->palette().color(QPalette::Window), QColor(0xC6, 0x28, 0x28));
    QCOMPARE(fail->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void tst_contrastwindows::matrix_followsEveryChangeOfTheScheme()
{
    frmshowcolor& w = t->openFour();
    frmContrast* tool = openTool(w);
    w.lstCorset->setCurrentRow(1);
    QCOMPARE(ratios(tool), NightRatios);
    QCOMPARE(markedFailing(tool), (QList<int>{5, 7, 8}));

    // A colour applied to a role through the current colour.
    w.optnl->click();
    w.CurrentColorChanged(MakeColor(0x33, 0x33, 0x33));
    QCOMPARE(text(tool, QStringLiteral("lblBgRatio_1")), QStringLiteral("1.66:1"));
    QCOMPARE(text(tool, QStringLiteral("lblLinkRatio_0")), QStringLiteral("12.63:1"));
    QCOMPARE(markedFailing(tool), (QList<int>{1, 7, 8}));
}

void tst_contrastwindows::fix_accepted_setsThatRoleOnly()
{
    frmshowcolor& w = t->openFour();
    w.opttext->click();
    w.CurrentColorChanged(Black);
    const Color current = w.currentColor();
    frmContrast* tool = openTool(w);
    t->platform.topmostRequests.clear();

    FixDialogSeen seen;
    answerFix(seen, "cmdApply");
    QTest::mouseClick(tool->findChild<QPushButton*>(QStringLiteral("cmdFixBg_3")), Qt::LeftButton);
    QVERIFY(seen.shown);
    QCOMPARE(seen.name, QStringLiteral("frmContrastFix"));
    QCOMPARE(seen.title, QStringLiteral("Fix Contrast"));
    QCOMPARE(
        seen.question,
        QStringLiteral("Active link on the background: 3.99:1, below the 4.5:1 it needs.\n"
                       "The nearest color of the same hue that reaches it is #EE0000, 4.53:1.\n"
                       "Active link against the body text still passes: 5.25:1 now, 4.63:1 "
                       "after.\n\nUse it for the active link?"));
    QCOMPARE(seen.before, QStringLiteral("Link now #FF0000, 3.99:1"));
    QCOMPARE(seen.after, QStringLiteral("Link proposed #EE0000, 4.53:1"));
    QCOMPARE(t->platform.topmostRequests.size(), 1);

    // Applied as if the active link role had been given the colour.
    QCOMPARE(describe(w.schemeColors()),
             QStringLiteral("#000000 #FFFFFF #0000FF #800080 #EE0000 #FF6600"));
    QCOMPARE(w.lblal->text(), QStringLiteral("Active Link Color: #EE0000"));
    QCOMPARE(w.lblal->foreColor(), MakeColor(0xEE, 0, 0));
    // Neither the selected role nor the current colour moved.
    QVERIFY(w.opttext->isChecked());
    QCOMPARE(w.currentColor(), current);
    QCOMPARE(w.txtrgb->text(), ColorToHtmlHex(current));
    // The pair passes now and offers no fix.
    QCOMPARE(text(tool, QStringLiteral("lblBgRatio_3")), QStringLiteral("4.53:1"));
    QCOMPARE(text(tool, QStringLiteral("lblAANormal_3")), QStringLiteral("Pass"));
    QCOMPARE(fixesEnabled(tool), (QList<int>{4, 5, 6}));
    // What is saved is the fixed scheme.
    w.mnuCopyHtml->trigger();
    QVERIFY(t->platform.clipboard.contains(QStringLiteral("ALINK=\"#EE0000\"")));
}

void tst_contrastwindows::fix_keepsTheOtherPairsOfTheColour()
{
    // The normal link fails against the black text (2.44:1) but passes on the
    // white background; the proposal reaches 3:1 and stays above 4.5:1 there.
    frmshowcolor& w = t->openFour();
    frmContrast* tool = openTool(w);
    FixDialogSeen seen;
    answerFix(seen, "cmdApply");
    QTest::mouseClick(tool->findChild<QPushButton*>(QStringLiteral("cmdFixLink_0")),
                      Qt::LeftButton);
    QVERIFY(seen.question.contains(
        QStringLiteral("Normal link on the background still passes: 8.59:1 now, 6.96:1 after.")));
    QCOMPARE(w.schemeColors().normalLink, MakeColor(0x31, 0x31, 0xFF));
    QCOMPARE(w.lblnl->text(), QStringLiteral("Normal Link Color: #3131FF"));
    QCOMPARE(text(tool, QStringLiteral("lblLinkRatio_0")), QStringLiteral("3.01:1"));
    QCOMPARE(text(tool, QStringLiteral("lblBgRatio_1")), QStringLiteral("6.96:1"));
    QCOMPARE(markedFailing(tool), (QList<int>{3, 4, 6}));
}

void tst_contrastwindows::fix_declined_changesNothing()
{
    frmshowcolor& w = t->openFour();
    frmContrast* tool = openTool(w);
    const QString colours = panelColours(w);
    const QStringList before = captions(w);
    FixDialogSeen seen;
    answerFix(seen, "cmdCancel");
    QTest::mouseClick(tool->findChild<QPushButton*>(QStringLiteral("cmdFixBg_4")), Qt::LeftButton);
    QVERIFY(seen.shown);
    QVERIFY(seen.question.startsWith(QStringLiteral("Hover link on the background: 2.93:1")));
    QCOMPARE(describe(w.schemeColors()), ClassicScheme);
    QCOMPARE(panelColours(w), colours);
    QCOMPARE(captions(w), before);
    QCOMPARE(ratios(tool), ClassicRatios);
}

void tst_contrastwindows::fix_impossible_isReported()
{
    // #888888 text fails on white but passes against the #383838 link:
    // darker text would fail against that link, lighter text on white.
    frmshowcolor& w =
        t->open(nameList({QStringLiteral("Grey")}),
                record({"#888888", "#FFFFFF", "#383838", "#000000", "#000000", "#000000"}));
    frmContrast* tool = openTool(w);
    QTest::mouseClick(tool->findChild<QPushButton*>(QStringLiteral("cmdFixBg_0")), Qt::LeftButton);
    QCOMPARE(t->platform.messages.size(), 1);
    QCOMPARE(t->platform.messages[0].title, QStringLiteral("Fix Contrast"));
    QCOMPARE(t->platform.messages[0].text,
             QStringLiteral("No color of the same hue reaches 4.5:1 for the text on the "
                            "background while keeping the normal link against the body text, "
                            "the visited link against the body text, the active link against "
                            "the body text and the hover link against the body text passing."));
    QCOMPARE(describe(w.schemeColors()),
             QStringLiteral("#888888 #FFFFFF #383838 #000000 #000000 #000000"));
}

void tst_contrastwindows::fix_compactView_isNotOffered()
{
    frmshowcolor& w = t->openFour();
    frmContrast* tool = openTool(w);
    w.mnuSwap->trigger();
    QVERIFY(w.isCompactView());
    QCOMPARE(fixesEnabled(tool), QList<int>{});
    QCOMPARE(markedFailing(tool), (QList<int>{3, 4, 5, 6}));
    QVERIFY(tool->lblNote->text().contains(QStringLiteral("full view")));
    w.mnuSwap->trigger();
    QCOMPARE(fixesEnabled(tool), (QList<int>{3, 4, 5, 6}));
}

void tst_contrastwindows::visionMode_recoloursThePanelAndRestoresIt()
{
    frmshowcolor& w = t->openFour();
    const QString normal = panelColours(w);
    QCOMPARE(normal, QStringLiteral("#000000 #FFFFFF #0000FF #800080 #FF0000 #FF6600"));
    const QStringList before = captions(w);
    frmContrast* tool = openTool(w);

    chooseVision(tool, QStringLiteral("Protanopia"));
    QCOMPARE(w.visionMode(), VisionMode::Protanopia);
    QCOMPARE(panelColours(w), QStringLiteral("#000000 #FFFFFF #0059FF #003D83 #6D5F00 #938100"));
    QCOMPARE(ratios(tool), ClassicProtanopiaRatios);
    QCOMPARE(markedFailing(tool), (QList<int>{4, 6}));
    QVERIFY(tool->lblNote->text().startsWith(
        QStringLiteral("Colors and ratios as seen with protanopia.")));
    // Captions name the scheme's own colours, which stay as they were.
    QCOMPARE(captions(w), before);
    QCOMPARE(describe(w.schemeColors()), ClassicScheme);

    chooseVision(tool, QStringLiteral("Grayscale"));
    for (ClickableLabel* link : {w.lblnl, w.lblvl, w.lblal, w.lblhl}) {
        const Color shown = link->foreColor();
        QVERIFY(GetRed(shown) == GetGreen(shown) && GetGreen(shown) == GetBlue(shown));
    }

    chooseVision(tool, QStringLiteral("Normal"));
    QCOMPARE(panelColours(w), normal);
    QCOMPARE(ratios(tool), ClassicRatios);
}

void tst_contrastwindows::visionMode_closingTheToolReturnsToNormal()
{
    frmshowcolor& w = t->openFour();
    const QString normal = panelColours(w);
    frmContrast* tool = openTool(w);
    chooseVision(tool, QStringLiteral("Tritanopia"));
    QVERIFY(panelColours(w) != normal);
    tool->close();
    QCOMPARE(w.visionMode(), VisionMode::Normal);
    QCOMPARE(panelColours(w), normal);
    QTRY_VERIFY(!w.contrastWindow());
    // Opened again, it starts in normal vision.
    QCOMPARE(openTool(w)->cmbVision->currentText(), QStringLiteral("Normal"));
}

void tst_contrastwindows::visionMode_newColoursAreShownSimulated()
{
    frmshowcolor& w = t->openFour();
    frmContrast* tool = openTool(w);
    chooseVision(tool, QStringLiteral("Deuteranopia"));
    w.opthl->click();
    const Color chosen = MakeColor(0x12, 0x34, 0x56);
    w.CurrentColorChanged(chosen);
    QCOMPARE(w.schemeColors().hoverLink, chosen);
    QCOMPARE(w.lblhl->text(), QStringLiteral("Hover Link Color: #123456"));
    QCOMPARE(w.lblhl->foreColor(), colorvision::Simulate(chosen, VisionMode::Deuteranopia));
    QCOMPARE(text(tool, QStringLiteral("lblBgRatio_4")),
             wcag::RatioText(wcag::ContrastRatio(
                 colorvision::Simulate(chosen, VisionMode::Deuteranopia), White)));

    // A whole scheme shown while the mode is on is shown simulated too.
    w.lstCorset->setCurrentRow(1);
    QCOMPARE(w.lblnl->foreColor(),
             colorvision::Simulate(MakeColor(0, 255, 255), VisionMode::Deuteranopia));
    QCOMPARE(w.lblnl->text(), QStringLiteral("Normal Link Color: #00FFFF"));
}

void tst_contrastwindows::visionMode_sampleClick_makesTheTrueColourCurrent()
{
    frmshowcolor& w = t->openFour();
    chooseVision(openTool(w), QStringLiteral("Protanopia"));
    clickSample(w.lblnl, Qt::LeftButton);
    QVERIFY(w.optnl->isChecked());
    QCOMPARE(w.currentColor(), MakeColor(0, 0, 255));
    QCOMPARE(describe(w.schemeColors()), ClassicScheme);
    clickSample(w.lbltext[2], Qt::LeftButton);
    QCOMPARE(w.currentColor(), Black);
    QTest::mouseClick(w.lbldisplay, Qt::LeftButton, {}, QPoint(1, w.lbldisplay->height() - 2));
    QCOMPARE(w.currentColor(), White);
    QCOMPARE(describe(w.schemeColors()), ClassicScheme);
    QCOMPARE(w.lblnl->foreColor(), MakeColor(0, 0x59, 0xFF));
}

void tst_contrastwindows::visionMode_leavesTheCodeUnchanged()
{
    frmshowcolor& w = t->openFour();
    chooseVision(openTool(w), QStringLiteral("Deuteranopia"));
    w.mnuCopyHtml->trigger();
    QCOMPARE(t->platform.clipboard,
             QStringLiteral("<body BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" "
                            "VLINK=\"#800080\" ALINK=\"#FF0000\">"));
    w.mnuCopyExternal->trigger();
    QVERIFY(t->platform.clipboard.contains(QStringLiteral("a:hover {color:#FF6600;}")));
}

void tst_contrastwindows::preview_showsTheMatrixForTheShownColours()
{
    frmshowcolor& w = t->openFour();
    // In normal vision the preview opens as it always has; its contrast
    // button shows the scheme's own figures, with no fixes in a snapshot.
    bool panelAtFirst = true;
    QString button;
    QStringList seenRatios;
    bool fixButtons = true;
    whenWindowShown(QStringLiteral("frmShowweb"), [&](QWidget* window) {
        panelAtFirst = window->findChild<QComboBox*>(QStringLiteral("cmbVision")) != nullptr;
        auto* contrast = window->findChild<QPushButton*>(QStringLiteral("cmdContrast"));
        button = contrast->text();
        QTest::mouseClick(contrast, Qt::LeftButton);
        QVERIFY(window->findChild<QWidget*>(QStringLiteral("fraAccess"))->isVisible());
        seenRatios = ratios(window);
        fixButtons = window->findChild<QPushButton*>(QStringLiteral("cmdFixBg_3")) != nullptr;
        QTest::mouseClick(contrast, Qt::LeftButton);
        QVERIFY(!window->findChild<QWidget*>(QStringLiteral("fraAccess"))->isVisible());
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
    });
    w.mnuShowweb->trigger();
    QVERIFY(!panelAtFirst);
    QCOMPARE(button, QStringLiteral("C&ontrast and Color Vision"));
    QCOMPARE(seenRatios, ClassicRatios);
    QVERIFY(!fixButtons);

    // With the tool on protanopia, the preview opens in it, with the panel
    // that says so.
    chooseVision(openTool(w), QStringLiteral("Protanopia"));
    QString mode, link, textBox, simulatedRatio, normalLink, normalRatio;
    bool expanded = false;
    whenWindowShown(QStringLiteral("frmShowweb"), [&](QWidget* window) {
        expanded = window->findChild<QPushButton*>(QStringLiteral("cmdContrast"))->isChecked();
        mode = window->findChild<QComboBox*>(QStringLiteral("cmbVision"))->currentText();
        link = boxColours(window, "txtNl");
        textBox = window->findChild<QLineEdit*>(QStringLiteral("txtNl"))->text();
        simulatedRatio = text(window, QStringLiteral("lblBgRatio_1"));
        // Its own choice changes only the preview.
        chooseVision(window, QStringLiteral("Normal"));
        normalLink = boxColours(window, "txtNl");
        normalRatio = text(window, QStringLiteral("lblBgRatio_1"));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
    });
    w.mnuShowweb->trigger();
    QVERIFY(expanded);
    QCOMPARE(mode, QStringLiteral("Protanopia"));
    QCOMPARE(link, QStringLiteral("#0059FF/#FFFFFF"));
    QCOMPARE(textBox, QStringLiteral("Normal Link Color: #0000FF"));
    QCOMPARE(simulatedRatio, QStringLiteral("5.42:1"));
    QCOMPARE(normalLink, QStringLiteral("#0000FF/#FFFFFF"));
    QCOMPARE(normalRatio, QStringLiteral("8.59:1"));
    QCOMPARE(w.visionMode(), VisionMode::Protanopia);
    QCOMPARE(w.lblnl->foreColor(), MakeColor(0, 0x59, 0xFF));
}

QTEST_MAIN(tst_contrastwindows)
#include "tst_contrastwindows.moc"
