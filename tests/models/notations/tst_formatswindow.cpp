// Today's notations in the main window: Paste Color, text dropped on the
// swatch, the More Formats submenus and the Color Formats window.
#include "app/ClickableLabel.h"
#include "app/EntryField.h"
#include "app/frmshowcolor.h"
#include "models/notations/FormatChoices.h"
#include "models/notations/FormatsTool.h"
#include "models/notations/frmFormats.h"
#include "tests/models/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

using bascommon::MakeColor;

class tst_formatswindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void pasteColor_makesItCurrent_data();
    void pasteColor_makesItCurrent();
    void pasteColor_refusesWhatIsNoColor();
    void pasteColor_saysWhatWasIgnored();
    void pasteColor_hasItsShortcut();
    void ctrlV_pastesWhereNothingIsTyped_data();
    void ctrlV_pastesWhereNothingIsTyped();
    void drop_onTheSwatch();
    void moreFormats_listsEveryNotationByDefault();
    void moreFormats_copiesTheCurrentColour();
    void moreFormats_showsInTheMenuBarOrInThePopup();
    void window_followsTheCurrentColour();
    void window_ticksAreKeptAndShapeTheMenus();
    void window_templatesPreviewAndAreKept();
    void menu_longTemplate_cutInTheMenuOnly();
    void window_schemeAsModernCss();
    void window_fitsTheScreen();
    void window_mnemonicsAreOneEach();

private:
    QAction* action(const QString& name) const { return m_main->findChild<QAction*>(name); }
    frmFormats* openWindow()
    {
        m_main->formatsTool()->mnuFormats->trigger();
        return m_main->formatsTool()->formatsWindow();
    }

    MainWindowFixture m_fixture;
    FakePlatform& m_platform = m_fixture.platform;
    std::unique_ptr<frmshowcolor>& m_main = m_fixture.main;
};

void tst_formatswindow::init()
{
    m_fixture.start(MakeColor(255, 255, 255));
}

void tst_formatswindow::cleanup()
{
    const QStringList unexpected = m_fixture.finish();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join('\n')));
}

void tst_formatswindow::pasteColor_makesItCurrent_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<Color>("color");
    QTest::newRow("oklch") << "oklch(49.93% 0.09866 250.43)" << MakeColor(0x33, 0x66, 0x99);
    QTest::newRow("flutter") << "Color(0xFF123456)" << MakeColor(0x12, 0x34, 0x56);
    QTest::newRow("plain") << "18, 52, 86" << MakeColor(18, 52, 86);
    QTest::newRow("own copy notation") << "&H00563412&" << MakeColor(0x12, 0x34, 0x56);
}

void tst_formatswindow::pasteColor_makesItCurrent()
{
    QFETCH(QString, clipboard);
    QFETCH(Color, color);
    m_platform.clipboard = clipboard;
    QSignalSpy changes(m_main.get(), &frmshowcolor::currentColorChanged);
    action(QStringLiteral("mnuPasteColor"))->trigger();
    // Through CurrentColorChanged: the swatch, the fields and recent colours.
    QCOMPARE(changes.size(), 1);
    QCOMPARE(m_main->currentColor(), color);
    QCOMPARE(m_main->txtrgb->text(), bascommon::ColorToHtmlHex(color));
    QVERIFY(m_platform.messages.isEmpty());
}

void tst_formatswindow::pasteColor_refusesWhatIsNoColor()
{
    m_platform.clipboard = QStringLiteral("rgb(51 102)");
    action(QStringLiteral("mnuPasteColor"))->trigger();
    QCOMPARE(m_main->currentColor(), bascommon::White);
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].title, QStringLiteral("Paste Color"));
    QCOMPARE(m_platform.messages[0].text,
             QStringLiteral(
                 "\"rgb(51 102)\" is read as rgb(), but rgb() takes three values and it has two."));
    m_platform.clipboard.clear();
    action(QStringLiteral("mnuPasteColor"))->trigger();
    QCOMPARE(m_platform.messages.size(), 2);
    QCOMPARE(m_platform.messages[1].text, QStringLiteral("The clipboard holds no text."));
}

void tst_formatswindow::pasteColor_saysWhatWasIgnored()
{
    m_platform.clipboard = QStringLiteral("#33669980");
    action(QStringLiteral("mnuPasteColor"))->trigger();
    QCOMPARE(m_main->currentColor(), MakeColor(0x33, 0x66, 0x99));
    QCOMPARE(
        m_platform.messageTexts(),
        QStringList({"Read as #RRGGBBAA. Its alpha of 50.2% is ignored: colors here are opaque."}));
}

void tst_formatswindow::pasteColor_hasItsShortcut()
{
    QCOMPARE(action(QStringLiteral("mnuPasteColor"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    QCOMPARE(action(QStringLiteral("mnuPasteColor"))->text(), QStringLiteral("Paste Color"));
}

void tst_formatswindow::ctrlV_pastesWhereNothingIsTyped_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("pastes");
    QTest::newRow("RGB: field") << "txtrgb1" << true;
    QTest::newRow("HEX: field") << "txtrgb" << true;
    QTest::newRow("swatch") << "lblcolor" << true;
    QTest::newRow("palette cell") << "lblcor_0" << true;
    // The entry fields keep their own Ctrl+V, which pastes nothing.
    QTest::newRow("decimal entry field") << "txtr" << false;
    QTest::newRow("hexadecimal entry field") << "txtgh" << false;
    QTest::newRow("palette list") << "cmbChart" << false;
}

void tst_formatswindow::ctrlV_pastesWhereNothingIsTyped()
{
    QFETCH(QString, control);
    QFETCH(bool, pastes);
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    auto* widget = m_main->findChild<QWidget*>(control);
    QVERIFY(widget);
    if (control == QLatin1String("lblcolor"))
        QTest::mouseClick(widget, Qt::LeftButton);
    else
        widget->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), widget);
    const QString fieldBefore = m_main->txtr->text();

    m_platform.clipboard = QStringLiteral("#123456");
    QSignalSpy changes(m_main.get(), &frmshowcolor::currentColorChanged);
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(changes.size(), pastes ? 1 : 0);
    QCOMPARE(m_main->currentColor(), pastes ? MakeColor(0x12, 0x34, 0x56) : bascommon::White);
    QCOMPARE(m_main->txtrgb->text(),
             pastes ? QStringLiteral("#123456") : QStringLiteral("#FFFFFF"));
    QVERIFY(m_main->txtrgb->isReadOnly());
    QVERIFY(m_main->txtrgb1->isReadOnly());
    if (!pastes)
        QCOMPARE(m_main->txtr->text(), fieldBefore);
    QVERIFY(m_platform.messages.isEmpty());
}

void tst_formatswindow::drop_onTheSwatch()
{
    QVERIFY(m_main->lblcolor->acceptDrops());
    // As a drag does it: entering the swatch, then dropping there.
    const auto dropText = [this](const QString& text) {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_main->lblcolor, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_main->lblcolor, &drop);
        return drop.isAccepted();
    };
    QVERIFY(dropText(QStringLiteral("steelblue")));
    QCOMPARE(m_main->currentColor(), MakeColor(70, 130, 180));
    QVERIFY(m_platform.messages.isEmpty());

    QVERIFY(dropText(QStringLiteral("not a colour")));
    QCOMPARE(m_main->currentColor(), MakeColor(70, 130, 180));
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].title, QStringLiteral("Drop Color"));
}

void tst_formatswindow::moreFormats_listsEveryNotationByDefault()
{
    for (QMenu* menu :
         {m_main->formatsTool()->mnuMoreFormats, m_main->formatsTool()->mnuMoreFormats2}) {
        QStringList names;
        for (QAction* item : menu->actions())
            names << item->objectName();
        QStringList expected;
        for (const notations::Notation notation : notations::AllNotations)
            expected << QStringLiteral("fmt") + notations::ShortName(notation);
        QCOMPARE(names, expected);
    }
    // After the specified items of the Edit menu.
    const QList<QAction*> items = m_main->mnuEdit->actions();
    QVERIFY(items.indexOf(m_main->mnuconv) <
            items.indexOf(action(QStringLiteral("mnuPasteColor"))));
    QCOMPARE(items.last()->objectName(), QStringLiteral("mnuMoreFormats2"));
}

void tst_formatswindow::moreFormats_copiesTheCurrentColour()
{
    m_main->CurrentColorChanged(MakeColor(0x33, 0x66, 0x99));
    QMenu* menu = m_main->formatsTool()->mnuMoreFormats;
    emit menu->aboutToShow();
    QAction* oklch = menu->findChild<QAction*>(QStringLiteral("fmtOklch"));
    QCOMPARE(oklch->text(), QStringLiteral("OKLCH\toklch(49.93% 0.09866 250.43)"));
    oklch->trigger();
    QCOMPARE(m_platform.clipboard, QStringLiteral("oklch(49.93% 0.09866 250.43)"));
    menu->findChild<QAction*>(QStringLiteral("fmtRgbSpace"))->trigger();
    QCOMPARE(m_platform.clipboard, QStringLiteral("rgb(51 102 153)"));
    menu->findChild<QAction*>(QStringLiteral("fmtFlutter"))->trigger();
    QCOMPARE(m_platform.clipboard, QStringLiteral("Color(0xFF336699)"));
}

void tst_formatswindow::moreFormats_showsInTheMenuBarOrInThePopup()
{
    FormatsTool* tool = m_main->formatsTool();
    QVERIFY(tool->mnuMoreFormats->menuAction()->isVisible());
    QVERIFY(!tool->mnuMoreFormats2->menuAction()->isVisible());
    m_main->mnuViewColor->setVisible(true); // as while the swatch's pop-up is open
    QVERIFY(!tool->mnuMoreFormats->menuAction()->isVisible());
    QVERIFY(tool->mnuMoreFormats2->menuAction()->isVisible());
    m_main->mnuViewColor->setVisible(false);
    QVERIFY(tool->mnuMoreFormats->menuAction()->isVisible());
}

void tst_formatswindow::window_followsTheCurrentColour()
{
    frmFormats* window = openWindow();
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("frmFormats"));
    m_main->CurrentColorChanged(MakeColor(70, 130, 180));
    QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("txtFmtHex"))->text(),
             QStringLiteral("#4682b4"));
    QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("txtFmtOklch"))->text(),
             QStringLiteral("oklch(58.8% 0.09934 245.74)"));
    QVERIFY(
        window->lblNearestCss->text().startsWith(QStringLiteral("steelblue \u2014 \u0394E 0.0\n")));
    QCOMPARE(window->lblNearestTailwind->text().count(QLatin1Char('\n')), 2);
    QVERIFY2(window->lblContrast->text().startsWith(
                 QStringLiteral("against white: 4.1:1 (AA large text only)\n"
                                "against black: 5.11:1 (AA)\n")),
             qPrintable(window->lblContrast->text()));
    window->findChild<QPushButton*>(QStringLiteral("cmdCopyLab"))->click();
    QCOMPARE(m_platform.clipboard,
             window->findChild<QLineEdit*>(QStringLiteral("txtFmtLab"))->text());
    // The same window comes back.
    QCOMPARE(openWindow(), window);
}

void tst_formatswindow::window_ticksAreKeptAndShapeTheMenus()
{
    frmFormats* window = openWindow();
    window->findChild<QCheckBox*>(QStringLiteral("chkFmtHlsl"))->click();
    window->findChild<QCheckBox*>(QStringLiteral("chkFmtHex"))->click();
    const FormatChoices kept =
        FormatChoices::fromSetting(m_platform.settings.value(FormatChoices::SettingKey));
    QVERIFY(!kept.isShown(notations::Notation::Hlsl));
    QVERIFY(!kept.isShown(notations::Notation::Hex));
    QCOMPARE(kept.shownNotations.size(), notations::NotationCount - 2);
    QMenu* menu = m_main->formatsTool()->mnuMoreFormats2;
    QVERIFY(!menu->findChild<QAction*>(QStringLiteral("fmtHlsl")));
    QCOMPARE(menu->actions().first()->objectName(), QStringLiteral("fmtRgbSpace"));
}

void tst_formatswindow::window_templatesPreviewAndAreKept()
{
    m_main->CurrentColorChanged(MakeColor(0x33, 0x66, 0x99));
    frmFormats* window = openWindow();
    window->cmdAddTemplate->click();
    QCOMPARE(window->lblTemplatePreview->text(), QStringLiteral("rgb(51, 102, 153)"));
    window->txtTemplate->selectAll();
    QTest::keyClicks(window->txtTemplate, QStringLiteral("--c: {oklch.q}"));
    QCOMPARE(window->lblTemplatePreview->text(),
             QStringLiteral("Unknown placeholder \"{oklch.q}\": oklch has l, c and h."));
    // A template that is no template stays out of the menus.
    QVERIFY(!m_main->formatsTool()->mnuMoreFormats->findChild<QAction*>(
        QStringLiteral("fmtTemplate_0")));
    window->txtTemplate->selectAll();
    QTest::keyClicks(window->txtTemplate, QStringLiteral("0x{r:X}{g:X}{b:X}"));
    QCOMPARE(window->lblTemplatePreview->text(), QStringLiteral("0x336699"));
    QAction* own =
        m_main->formatsTool()->mnuMoreFormats->findChild<QAction*>(QStringLiteral("fmtTemplate_0"));
    QVERIFY(own);
    own->trigger();
    QCOMPARE(m_platform.clipboard, QStringLiteral("0x336699"));
    const FormatChoices kept =
        FormatChoices::fromSetting(m_platform.settings.value(FormatChoices::SettingKey));
    QCOMPARE(kept.templates.size(), 1);
    QCOMPARE(kept.templates[0].text, QStringLiteral("0x{r:X}{g:X}{b:X}"));
    // Unticked, it leaves the menus and stays in the settings.
    window->lstTemplates->item(0)->setCheckState(Qt::Unchecked);
    QVERIFY(!m_main->formatsTool()->mnuMoreFormats->findChild<QAction*>(
        QStringLiteral("fmtTemplate_0")));
    QCOMPARE(FormatChoices::fromSetting(m_platform.settings.value(FormatChoices::SettingKey))
                 .templates.size(),
             1);
}

// A template of thousands of characters: its menu item stays within a
// screen, and copies the whole text.
void tst_formatswindow::menu_longTemplate_cutInTheMenuOnly()
{
    m_main->CurrentColorChanged(MakeColor(0x33, 0x66, 0x99));
    frmFormats* window = openWindow();
    window->cmdAddTemplate->click();
    // The last character typed, as a user edits.
    window->txtTemplateName->setText(QString(4999, QLatin1Char('n')));
    QTest::keyClick(window->txtTemplateName, Qt::Key_N);
    window->txtTemplate->setText(QStringLiteral("{r},").repeated(1999) + QStringLiteral("{r}"));
    QTest::keyClick(window->txtTemplate, Qt::Key_Comma);
    QAction* own =
        m_main->formatsTool()->mnuMoreFormats->findChild<QAction*>(QStringLiteral("fmtTemplate_0"));
    QVERIFY(own);
    m_main->formatsTool()->mnuMoreFormats->popup(QPoint(0, 0));
    QVERIFY2(own->text().size() < 400, qPrintable(QString::number(own->text().size())));
    QVERIFY(own->text().startsWith(QStringLiteral("nnnn")));
    QVERIFY(own->text().contains(QStringLiteral("\t51,51,")));
    m_main->formatsTool()->mnuMoreFormats->hide();
    own->trigger();
    QCOMPARE(m_platform.clipboard, QStringLiteral("51,").repeated(2000));
}

void tst_formatswindow::window_schemeAsModernCss()
{
    frmFormats* window = openWindow();
    const QString css = window->txtSchemeCss->toPlainText();
    QVERIFY(css.startsWith(QStringLiteral(":root {\n  --page-background: ")));
    QVERIFY(css.indexOf(QStringLiteral("a:link")) < css.indexOf(QStringLiteral("a:visited")));
    QVERIFY(css.indexOf(QStringLiteral("a:visited")) < css.indexOf(QStringLiteral("a:hover")));
    QVERIFY(css.indexOf(QStringLiteral("a:hover")) < css.indexOf(QStringLiteral("a:active")));
    // Follows the scheme being edited.
    m_main->optbg->setChecked(true);
    m_main->CurrentColorChanged(MakeColor(0x12, 0x34, 0x56));
    QVERIFY(window->txtSchemeCss->toPlainText().contains(
        QStringLiteral("--page-background: #123456;")));
    QVERIFY(window->cmbLight->count() > 0);
    QVERIFY(
        window->txtLightDark->toPlainText().contains(QStringLiteral("color-scheme: light dark;")));
    window->cmdCopyLightDark->click();
    QCOMPARE(m_platform.clipboard, window->txtLightDark->toPlainText());
}

void tst_formatswindow::window_fitsTheScreen()
{
    frmFormats* window = openWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect screen = window->screen()->availableGeometry();
    QVERIFY2(screen.contains(window->frameGeometry()),
             qPrintable(QStringLiteral("%1x%2 on %3x%4")
                            .arg(window->frameGeometry().width())
                            .arg(window->frameGeometry().height())
                            .arg(screen.width())
                            .arg(screen.height())));
    // Close stays in the window; the rows under the fold are scrolled to.
    const QRect close(window->cmdClose->mapTo(window, QPoint()), window->cmdClose->size());
    QVERIFY(window->rect().contains(close));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->chkShown[notations::NotationCount - 2]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QLineEdit* last = window->txtFormat.back();
    QCOMPARE(QApplication::focusWidget(), last);
    QCOMPARE(last->visibleRegion().boundingRect(), last->rect());
}

void tst_formatswindow::window_mnemonicsAreOneEach()
{
    frmFormats* window = openWindow();
    QMap<QKeySequence, QStringList> captions;
    const auto add = [&captions](const QString& text) {
        if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty())
            captions[key] << text;
    };
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy())
            add(label->text());
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        add(button->text());
    for (const QTabWidget* tabs : window->findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i)
            add(tabs->tabText(i));
    QVERIFY(captions.size() >= 5);
    for (auto it = captions.cbegin(); it != captions.cend(); ++it)
        QVERIFY2(it->size() == 1, qPrintable(it.key().toString() + ": " + it->join(", ")));
}

QTEST_MAIN(tst_formatswindow)
#include "tst_formatswindow.moc"
