#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "scheme/frmShowweb.h"
#include "scheme/frmcss.h"
#include "tests/scheme/SchemeTestData.h"
#include "tests/scheme/SchemeWindowTest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace bascommon;
using namespace schemetest;

namespace {

// The texts for the "Night" scheme: white text on black, links cyan,
// magenta, yellow and a green hover colour.
const QString NightHtml = QStringLiteral("<body BGCOLOR=\"#000000\" TEXT=\"#FFFFFF\" "
                                         "LINK=\"#00FFFF\" VLINK=\"#FF00FF\" ALINK=\"#FFFF00\">");
const QString NightExternal = QStringLiteral("a:link {color:#00FFFF;}\r\n"
                                             "a:visited {color:#FF00FF;}\r\n"
                                             "a:active {color:#FFFF00;}\r\n"
                                             "a:hover {color:#00FF00;}\r\n"
                                             "body {background-color:#000000; color:#FFFFFF;}");
const QString NightInline = QStringLiteral("<style type=\"text/css\">\r\n<!--\r\n") +
                            NightExternal + QStringLiteral("\r\n-->\r\n</style>");

// A text box shows line breaks as paragraphs; this is its text with CR LF
// between them, as the program wrote it.
QString boxText(QWidget* window, const char* name)
{
    return window->findChild<QPlainTextEdit*>(QLatin1String(name))
        ->toPlainText()
        .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

struct CodeWindowSeen
{
    bool shown = false;
    QString caption, html, inlineCss, external;
    QStringList labels;
    bool readOnly = false;
    bool topmost = false;
};

// Reads the code window once it shows, then closes it with "Exit".
void readCodeWindow(CodeWindowSeen& seen)
{
    whenWindowShown(QStringLiteral("frmcss"), [&seen](QWidget* window) {
        seen.shown = true;
        seen.caption = window->windowTitle();
        seen.html = boxText(window, "txthtml");
        seen.inlineCss = boxText(window, "txtic");
        seen.external = boxText(window, "txtec");
        for (const char* label : {"Label1", "Label2", "Label3"})
            seen.labels << window->findChild<QLabel*>(QLatin1String(label))->text();
        seen.readOnly = true;
        for (const char* box : {"txthtml", "txtic", "txtec"})
            seen.readOnly = seen.readOnly &&
                            window->findChild<QPlainTextEdit*>(QLatin1String(box))->isReadOnly();
        seen.topmost = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        auto* exit = window->findChild<QPushButton*>(QStringLiteral("cmdexit"));
        QCOMPARE(exit->text(), QStringLiteral("Exit"));
        QTest::mouseClick(exit, Qt::LeftButton);
    });
}

QString colours(const QLineEdit* box)
{
    return ColorToHtmlHex(fromQColor(box->palette().color(QPalette::Text))) + QLatin1Char('/') +
           ColorToHtmlHex(fromQColor(box->palette().color(QPalette::Base)));
}

} // namespace

class tst_schemewindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void viewCode_showsTheThreeTexts();
    void copyCommands_putExactlyOneText_data();
    void copyCommands_putExactlyOneText();
    void copy_afterAColourChange_givesTheNewColour();
    void preview_showsTheSchemeAndItsCaptions();
    void preview_viewCode_showsTheSameTexts();
    void preview_exit_givesTheFocusBack();

private:
    std::unique_ptr<SchemeWindowTest> t;
};

void tst_schemewindows::init()
{
    t = std::make_unique<SchemeWindowTest>();
}

void tst_schemewindows::cleanup()
{
    QVERIFY2(t->platform.unexpected.isEmpty(),
             qPrintable(t->platform.unexpected.join(QLatin1Char('\n'))));
    t.reset();
}

void tst_schemewindows::viewCode_showsTheThreeTexts()
{
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    CodeWindowSeen seen;
    readCodeWindow(seen);
    w.mnuViewCode->trigger();
    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, QStringLiteral("HTML and CSS"));
    QCOMPARE(seen.labels, (QStringList{"HTML", "Inline CSS", "External CSS"}));
    QCOMPARE(seen.html, NightHtml);
    QCOMPARE(seen.inlineCss, NightInline);
    QCOMPARE(seen.external, NightExternal);
    QVERIFY(seen.readOnly);
    QVERIFY(seen.topmost);
    QCOMPARE(t->platform.clipboardWrites, 0);
}

void tst_schemewindows::copyCommands_putExactlyOneText_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::newRow("html") << "mnuCopyHtml" << NightHtml;
    QTest::newRow("inline") << "mnuCopyInline" << NightInline;
    QTest::newRow("external") << "mnuCopyExternal" << NightExternal;
}

void tst_schemewindows::copyCommands_putExactlyOneText()
{
    QFETCH(QString, item);
    QFETCH(QString, text);
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    t->platform.clipboard = QStringLiteral("old");
    w.findChild<QAction*>(item)->trigger();
    QCOMPARE(t->platform.clipboardClears, 1);
    QCOMPARE(t->platform.clipboardWrites, 1);
    QCOMPARE(t->platform.clipboard, text);
}

void tst_schemewindows::copy_afterAColourChange_givesTheNewColour()
{
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    CodeWindowSeen seen;
    readCodeWindow(seen);
    w.mnuViewCode->trigger();
    QVERIFY(seen.external.contains(QStringLiteral("a:hover {color:#00FF00;}")));

    w.opthl->click();
    w.CurrentColorChanged(MakeColor(0x12, 0x34, 0x56));
    w.mnuCopyExternal->trigger();
    QVERIFY2(t->platform.clipboard.contains(QStringLiteral("a:hover {color:#123456;}")),
             qPrintable(t->platform.clipboard));
    w.mnuCopyHtml->trigger();
    QVERIFY(!t->platform.clipboard.contains(QStringLiteral("#123456")));
    w.optbg->click();
    w.CurrentColorChanged(MakeColor(0xAB, 0xCD, 0xEF));
    w.mnuCopyHtml->trigger();
    QVERIFY(t->platform.clipboard.startsWith(
        QStringLiteral("<body BGCOLOR=\"#ABCDEF\" TEXT=\"#FFFFFF\"")));
}

void tst_schemewindows::preview_showsTheSchemeAndItsCaptions()
{
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    bool shown = false;
    whenWindowShown(QStringLiteral("frmShowweb"), [&](QWidget* window) {
        shown = true;
        QCOMPARE(window->windowTitle(), QStringLiteral("Web Color Scheme Preview"));
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(ColorToHtmlHex(fromQColor(window->palette().color(QPalette::Window))),
                 QStringLiteral("#000000"));
        QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
                 QStringLiteral("&View Html and CSS Code"));
        QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("Command2"))->text(),
                 QStringLiteral("E&xit"));
        struct Expected
        {
            const char* box;
            const char* text;
            const char* colours;
            bool underlined;
        };
        const Expected expected[] = {
            {"txtTxt", "Text Color: #FFFFFF", "#FFFFFF/#000000", false},
            {"txtNl", "Normal Link Color: #00FFFF", "#00FFFF/#000000", true},
            {"txtvl", "Visited Link Color: #FF00FF", "#FF00FF/#000000", true},
            {"txtal", "Active Link Color: #FFFF00", "#FFFF00/#000000", true},
            {"txthl", "Hover Link Color: #00FF00", "#00FF00/#000000", true},
        };
        for (const Expected& sample : expected) {
            auto* box = window->findChild<QLineEdit*>(QLatin1String(sample.box));
            QVERIFY2(box, sample.box);
            QCOMPARE(box->text(), QLatin1String(sample.text));
            QCOMPARE(colours(box), QLatin1String(sample.colours));
            QVERIFY(box->isReadOnly());
            QVERIFY(!box->hasFrame());
            QCOMPARE(box->font().family(), QStringLiteral("Tahoma"));
            QCOMPARE(box->font().pointSizeF(), 9.75);
            QCOMPARE(box->font().underline(), sample.underlined);
        }
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
    });
    w.mnuShowweb->trigger();
    QVERIFY(shown);

    // A later opening shows the scheme of that moment.
    w.lstCorset->setCurrentRow(2);
    QString text;
    whenWindowShown(QStringLiteral("frmShowweb"), [&](QWidget* window) {
        text = window->findChild<QLineEdit*>(QStringLiteral("txtNl"))->text();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
    });
    w.mnuShowweb->trigger();
    QCOMPARE(text, QStringLiteral("Normal Link Color: #336699"));
}

void tst_schemewindows::preview_viewCode_showsTheSameTexts()
{
    frmshowcolor& w = t->openFour();
    w.lstCorset->setCurrentRow(1);
    CodeWindowSeen seen;
    bool previewStillOpen = false;
    whenWindowShown(QStringLiteral("frmShowweb"), [&](QWidget* window) {
        readCodeWindow(seen);
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        // Closing the code window returns to the preview.
        previewStillOpen = window->isVisible();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
    });
    w.mnuShowweb->trigger();
    QVERIFY(seen.shown);
    QVERIFY(previewStillOpen);
    QCOMPARE(seen.html, NightHtml);
    QCOMPARE(seen.inlineCss, NightInline);
    QCOMPARE(seen.external, NightExternal);
}

void tst_schemewindows::preview_exit_givesTheFocusBack()
{
    frmshowcolor& w = t->openFour();
    t->showActive();
    bool wasActive = true;
    whenWindowShown(QStringLiteral("frmShowweb"), [&](QWidget* window) {
        // The dialog counts as active once its parent is, so wait for the
        // dialog itself to hold the activation.
        QTRY_COMPARE(QApplication::activeWindow(), window);
        wasActive = w.isActiveWindow();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
    });
    w.mnuShowweb->trigger();
    QVERIFY(!wasActive);
    QTRY_VERIFY(w.isActiveWindow());
    QCOMPARE(QApplication::activeWindow(), &w);
}

QTEST_MAIN(tst_schemewindows)
#include "tst_schemewindows.moc"
