#include "app/ClickableLabel.h"
#include "app/EntryField.h"
#include "app/SelectionFrame.h"
#include "app/Twips.h"
#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QXmlStreamAttributes>
#include <QXmlStreamReader>

#include <memory>

using namespace bascommon;

class tst_mainwindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void controlsExist_data();
    void controlsExist();
    void menuItems_data();
    void menuItems();
    void toolbarButtonsInOrder();
    void paletteGrid_twelveRowsEighteenColumns();
    void startUp_createsRecentColoursAndCloseRemovesThem();
    void startUp_keepsColoursOfARunThatDidNotClose();
    void startUp_compactViewFromSetting_data();
    void startUp_compactViewFromSetting();
    void compactView_togglesHeightCheckAndSetting();
    void compactView_toolbarButtonAndMenuStayInStep();
    void currentColour_updatesEveryView();
    void currentColour_recordsAllButBlackAndWhite_data();
    void currentColour_recordsAllButBlackAndWhite();
    void currentColour_webSafeStateOfCommandAndButton_data();
    void currentColour_webSafeStateOfCommandAndButton();
    void currentColour_unwritableRecentFile_reportsAndCarriesOn();
    void swatch_rightClickShowsItsOwnMenu();
    void swatch_leftClickOpensNoMenu();
    void windowIcon_showsTheShippedDrawing_data();
    void windowIcon_showsTheShippedDrawing();

private:
    frmshowcolor* window() const { return m_window.get(); }
    void startWindow();
    QByteArray recentRecords() const { return m_data->read(QStringLiteral("recent.rgb")); }
    void setColourByHexFields(const QString& html);

    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<frmshowcolor> m_window;
};

void tst_mainwindow::init()
{
    m_data = std::make_unique<TestDataFolder>();
    m_platform = std::make_unique<FakePlatform>();
}

void tst_mainwindow::cleanup()
{
    m_window.reset();
    QVERIFY2(m_platform->unexpected.isEmpty(),
             qPrintable(m_platform->unexpected.join(QLatin1Char('\n'))));
    m_platform.reset();
    m_data.reset();
}

void tst_mainwindow::startWindow()
{
    m_window.reset(basmain::CreateMainWindow(*m_platform, m_data->path()));
}

void tst_mainwindow::setColourByHexFields(const QString& html)
{
    window()->txtrh->setText(html.mid(1, 2));
    window()->txtgh->setText(html.mid(3, 2));
    window()->txtbh->setText(html.mid(5, 2));
    QTest::keyClick(window()->txtrh, Qt::Key_Return);
}

void tst_mainwindow::controlsExist_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    const QString none;
    QTest::newRow("optnone") << "optnone"
                             << "QRadioButton"
                             << "None";
    QTest::newRow("opthl") << "opthl"
                           << "QRadioButton"
                           << "Hover link";
    QTest::newRow("optal") << "optal"
                           << "QRadioButton"
                           << "Active link";
    QTest::newRow("optvl") << "optvl"
                           << "QRadioButton"
                           << "Visited link";
    QTest::newRow("optnl") << "optnl"
                           << "QRadioButton"
                           << "Normal link";
    QTest::newRow("optbg") << "optbg"
                           << "QRadioButton"
                           << "Background";
    QTest::newRow("opttext") << "opttext"
                             << "QRadioButton"
                             << "Text";
    QTest::newRow("cmdDelItem") << "cmdDelItem"
                                << "QPushButton"
                                << "Delete This Scheme";
    QTest::newRow("cmbChart") << "cmbChart"
                              << "QComboBox" << none;
    QTest::newRow("tlbTool") << "tlbTool"
                             << "QToolBar" << none;
    QTest::newRow("lstCorset") << "lstCorset"
                               << "QListWidget" << none;
    QTest::newRow("txtrgb1") << "txtrgb1"
                             << "QLineEdit" << none;
    QTest::newRow("txtrgb") << "txtrgb"
                            << "QLineEdit" << none;
    QTest::newRow("txtr") << "txtr"
                          << "EntryField" << none;
    QTest::newRow("txtgh") << "txtgh"
                           << "EntryField" << none;
    QTest::newRow("Frame1") << "Frame1"
                            << "QGroupBox"
                            << "Html Color Item";
    QTest::newRow("Label12") << "Label12"
                             << "QLabel"
                             << "Html Color Code";
    QTest::newRow("lblcolor") << "lblcolor"
                              << "ClickableLabel" << none;
    QTest::newRow("lbltext_0") << "lbltext_0"
                               << "ClickableLabel"
                               << "Thank you for using Tintora.";
    QTest::newRow("lbltext_3") << "lbltext_3"
                               << "ClickableLabel"
                               << "Right-click here access to more features.";
    QTest::newRow("Label9") << "Label9"
                            << "QLabel"
                            << "HEX";
    QTest::newRow("Label8") << "Label8"
                            << "QLabel"
                            << "DEC";
    QTest::newRow("lblhl") << "lblhl"
                           << "ClickableLabel" << none;
    QTest::newRow("Label6") << "Label6"
                            << "QLabel"
                            << "RGB:";
    QTest::newRow("Label2") << "Label2"
                            << "QLabel"
                            << "HEX:";
    QTest::newRow("Label3") << "Label3"
                            << "QLabel"
                            << "R:";
    QTest::newRow("Label4") << "Label4"
                            << "QLabel"
                            << "G:";
    QTest::newRow("Label5") << "Label5"
                            << "QLabel"
                            << "B:";
    QTest::newRow("shpSelect") << "shpSelect"
                               << "SelectionFrame" << none;
    QTest::newRow("lblcor_0") << "lblcor_0"
                              << "ClickableLabel" << none;
    QTest::newRow("lblcor_215") << "lblcor_215"
                                << "ClickableLabel" << none;
    QTest::newRow("lbldisplay") << "lbldisplay"
                                << "ClickableLabel" << none;
    QTest::newRow("makewebsafe button") << "makewebsafe"
                                        << "QToolButton" << none;
}

void tst_mainwindow::controlsExist()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    startWindow();
    auto* widget = window()->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QVERIFY2(widget->inherits(className.toLatin1()), widget->metaObject()->className());
    if (text.isEmpty())
        return;
    if (auto* label = qobject_cast<QLabel*>(widget); label && name != QLatin1String("lbltext_1"))
        QCOMPARE(label->text(), text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->text(), text);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        QCOMPARE(box->title(), text);
}

void tst_mainwindow::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::newRow("mnufile") << "mnufile"
                             << "&File" << true;
    QTest::newRow("mnuNew") << "mnuNew"
                            << "&New Color Palette..." << true;
    QTest::newRow("mnuExit") << "mnuExit"
                             << "E&xit" << true;
    QTest::newRow("mnuEdit") << "mnuEdit"
                             << "&Edit" << true;
    QTest::newRow("mnuCopydec") << "mnuCopydec"
                                << "Copy DEC Format of Color" << true;
    QTest::newRow("mnuCopyhex") << "mnuCopyhex"
                                << "Copy HEX Format of Color" << true;
    QTest::newRow("mnuCopySpecial") << "mnuCopySpecial"
                                    << "Copy Special Format" << true;
    QTest::newRow("mnuAddto") << "mnuAddto"
                              << "Add This Color To" << false;
    QTest::newRow("mnuDelCor") << "mnuDelCor"
                               << "&Delete Selected Color" << true;
    QTest::newRow("mnuDelChart") << "mnuDelChart"
                                 << "Delete &Current Palette" << true;
    QTest::newRow("mnuCleanDup") << "mnuCleanDup"
                                 << "Clear Duplicate Colors" << true;
    QTest::newRow("mnuCleanAll") << "mnuCleanAll"
                                 << "Clear All Colors" << true;
    QTest::newRow("mnuViewColor") << "mnuViewColor"
                                  << "Preview: Show Color Details" << false;
    QTest::newRow("mnuconv") << "mnuconv"
                             << "Color Conversion" << false;
    QTest::newRow("mnuTool") << "mnuTool"
                             << "&Tool" << true;
    QTest::newRow("mnustartpick") << "mnustartpick"
                                  << "Screen Color &Picker" << true;
    QTest::newRow("mnuWebsafe") << "mnuWebsafe"
                                << "&Make Web Safe" << true;
    QTest::newRow("mnuShowWinColor") << "mnuShowWinColor"
                                     << "&Show Windows Color Dialog" << true;
    QTest::newRow("mnucon") << "mnucon"
                            << "Color &Conversion" << true;
    QTest::newRow("mnuView") << "mnuView"
                             << "&View" << true;
    QTest::newRow("mnuSwap") << "mnuSwap"
                             << "Only &Show Color Palette" << true;
    QTest::newRow("mnuOnTop") << "mnuOnTop"
                              << "&Always On Top" << true;
    QTest::newRow("mnuhelp") << "mnuhelp"
                             << "&Help" << true;
    QTest::newRow("mnucontents") << "mnucontents"
                                 << "&Help Topics" << true;
    QTest::newRow("mnuWeb") << "mnuWeb"
                            << "&Visit Our Website" << true;
    QTest::newRow("mnuemail") << "mnuemail"
                              << "&E-mail To Support" << true;
    QTest::newRow("mnuabout") << "mnuabout"
                              << "&About Tintora" << true;
    QTest::newRow("mnuHtmlPop1") << "mnuHtmlPop1"
                                 << "HtmlPop1" << false;
    QTest::newRow("mnuSaveScheme") << "mnuSaveScheme"
                                   << "Save Current Web Color scheme..." << true;
    QTest::newRow("mnuViewCode") << "mnuViewCode"
                                 << "View Html and CSS Code" << true;
    QTest::newRow("mnuCopyHtml") << "mnuCopyHtml"
                                 << "Copy Html Code" << true;
    QTest::newRow("mnuCopyInline") << "mnuCopyInline"
                                   << "Copy Inline Css Code" << true;
    QTest::newRow("mnuCopyExternal") << "mnuCopyExternal"
                                     << "Copy External Css Code" << true;
    QTest::newRow("mnuShowweb") << "mnuShowweb"
                                << "Preview" << true;
    QTest::newRow("mnuAddChart_0") << "mnuAddChart_0"
                                   << "" << true;
}

void tst_mainwindow::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    startWindow();
    auto* action = window()->findChild<QAction*>(name);
    QVERIFY2(action, qPrintable(name));
    if (!caption.isEmpty())
        QCOMPARE(action->text(), caption);
    QCOMPARE(action->isVisible(), visible);
}

void tst_mainwindow::toolbarButtonsInOrder()
{
    startWindow();
    const QList<QAction*> actions = window()->tlbTool->actions();
    const QStringList tags = {"pickcolor", "makewebsafe",   "showcolor", "colorchart",
                              "ontop",     QString(),       "addnew",    "prevpage",
                              "nextpage",  "clearduplicate"};
    const QStringList tips = {"Screen Color picker",
                              "Make current color web safe",
                              "Show windows color dialog",
                              "Only show color palette",
                              "Always on top",
                              QString(),
                              "Add a new color palette",
                              "Previous page of current color palette",
                              "Next page of current color palette",
                              "Clear duplicate colors"};
    QCOMPARE(actions.size(), tags.size());
    for (int i = 0; i < actions.size(); ++i) {
        if (tags.at(i).isEmpty()) {
            QVERIFY(actions.at(i)->isSeparator());
            continue;
        }
        QCOMPARE(actions.at(i)->objectName(), tags.at(i));
        QCOMPARE(actions.at(i)->toolTip(), tips.at(i));
        QCOMPARE(window()->tlbTool->widgetForAction(actions.at(i))->objectName(), tags.at(i));
    }
}

void tst_mainwindow::paletteGrid_twelveRowsEighteenColumns()
{
    startWindow();
    QCOMPARE(
        window()
            ->findChildren<ClickableLabel*>(QRegularExpression(QStringLiteral("^lblcor_\\d+$")))
            .size(),
        216);
    const QRect first = window()->lblcor[0]->geometry();
    QCOMPARE(first.size(), QSize(twipsToPixels(300), twipsToPixels(240)));
    const int w = first.width() - 1;
    const int h = first.height() - 1;
    for (int i = 0; i < 216; ++i) {
        const QRect cell = window()->lblcor[static_cast<std::size_t>(i)]->geometry();
        QCOMPARE(cell.topLeft(), first.topLeft() + QPoint((i / 12) * w, (i % 12) * h));
        QCOMPARE(cell.size(), first.size());
    }
    // Cell 12 is the top cell of the second column.
    QCOMPARE(window()->lblcor[12]->y(), first.y());
    QVERIFY(window()->lblcor[12]->x() > first.x());
    QCOMPARE(window()->shpSelect->size(), first.size() + QSize(4, 4));
}

void tst_mainwindow::startUp_createsRecentColoursAndCloseRemovesThem()
{
    // Names of recent colours go with them: a leftover would name colours
    // of the next run that happen to match.
    m_data->remove(QStringLiteral("recent.rgb"));
    m_data->write(QStringLiteral("recent.names"), "336699\tLeft over\n");
    startWindow();
    QCOMPARE(window()->windowTitle(), QStringLiteral("Tintora 3.7"));
    QVERIFY(m_data->exists(QStringLiteral("recent.rgb")));
    QVERIFY(!m_data->exists(QStringLiteral("recent.names")));
    m_data->write(QStringLiteral("recent.names"), "336699\tNamed in this run\n");
    window()->close();
    QVERIFY(!m_data->exists(QStringLiteral("recent.rgb")));
    QVERIFY(!m_data->exists(QStringLiteral("recent.names")));
    // The next start begins with an empty file again.
    startWindow();
    QVERIFY(m_data->exists(QStringLiteral("recent.rgb")));
}

void tst_mainwindow::startUp_keepsColoursOfARunThatDidNotClose()
{
    m_data->write(QStringLiteral("recent.rgb"), "123456");
    m_data->write(QStringLiteral("recent.names"), "123456\tKept\n");
    startWindow();
    QVERIFY(recentRecords().startsWith("123456"));
    QVERIFY(m_data->exists(QStringLiteral("recent.names")));
}

void tst_mainwindow::startUp_compactViewFromSetting_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("compact");
    QTest::newRow("absent") << QString() << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("other value") << "2" << false;
    QTest::newRow("not a number") << "yes" << false;
}

void tst_mainwindow::startUp_compactViewFromSetting()
{
    QFETCH(QString, stored);
    QFETCH(bool, compact);
    if (!stored.isNull())
        m_platform->settings.insert(QStringLiteral("webcolorscheme"), stored);
    startWindow();
    QCOMPARE(window()->mnuSwap->isChecked(), compact);
    QCOMPARE(window()->toolButton(QStringLiteral("colorchart"))->isChecked(), compact);
    QCOMPARE(window()->height(), compact ? twipsToPixels(3900) : twipsToPixels(6945));
}

void tst_mainwindow::compactView_togglesHeightCheckAndSetting()
{
    startWindow();
    const QPoint position = window()->pos();
    const int width = window()->width();
    window()->mnuSwap->trigger();
    QVERIFY(window()->mnuSwap->isChecked());
    QCOMPARE(window()->height(), 260);
    QCOMPARE(m_platform->settings.value(QStringLiteral("webcolorscheme")), QStringLiteral("1"));
    window()->mnuSwap->trigger();
    QVERIFY(!window()->mnuSwap->isChecked());
    QCOMPARE(window()->height(), 463);
    QCOMPARE(m_platform->settings.value(QStringLiteral("webcolorscheme")), QStringLiteral("0"));
    QCOMPARE(window()->width(), width);
    QCOMPARE(window()->pos(), position);
}

void tst_mainwindow::compactView_toolbarButtonAndMenuStayInStep()
{
    startWindow();
    window()->show();
    auto* button = window()->findChild<QToolButton*>(QStringLiteral("colorchart"));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(window()->mnuSwap->isChecked());
    QVERIFY(button->isChecked());
    window()->mnuSwap->trigger();
    QVERIFY(!window()->mnuSwap->isChecked());
    QVERIFY(!button->isChecked());

    auto* onTop = window()->findChild<QToolButton*>(QStringLiteral("ontop"));
    QTest::mouseClick(onTop, Qt::LeftButton);
    QVERIFY(window()->mnuOnTop->isChecked());
    QVERIFY(onTop->isChecked());
    QVERIFY(window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    window()->mnuOnTop->trigger();
    QVERIFY(!window()->mnuOnTop->isChecked());
    QVERIFY(!onTop->isChecked());
    QVERIFY(!window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void tst_mainwindow::currentColour_updatesEveryView()
{
    startWindow();
    window()->CurrentColorChanged(MakeColor(18, 52, 86));
    QCOMPARE(window()->currentColor(), MakeColor(18, 52, 86));
    QCOMPARE(window()->lblcolor->backColor(), MakeColor(18, 52, 86));
    QCOMPARE(window()->txtrgb1->text(), QStringLiteral("18,52,86"));
    QCOMPARE(window()->txtrgb->text(), QStringLiteral("#123456"));
    QCOMPARE(window()->txtr->text(), QStringLiteral("18"));
    QCOMPARE(window()->txtg->text(), QStringLiteral("52"));
    QCOMPARE(window()->txtb->text(), QStringLiteral("86"));
    QCOMPARE(window()->txtrh->text(), QStringLiteral("12"));
    QCOMPARE(window()->txtgh->text(), QStringLiteral("34"));
    QCOMPARE(window()->txtbh->text(), QStringLiteral("56"));
    QCOMPARE(window()->txtr->text(), QStringLiteral("18"));
    window()->CurrentColorChanged(MakeColor(0, 5, 0));
    QCOMPARE(window()->txtg->text(), QStringLiteral("5"));
    QCOMPARE(window()->txtgh->text(), QStringLiteral("05"));
}

void tst_mainwindow::currentColour_recordsAllButBlackAndWhite_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("black") << "#000000" << QByteArray();
    QTest::newRow("white") << "#FFFFFF" << QByteArray();
    QTest::newRow("white typed in lower case") << "#ffffff" << QByteArray();
    QTest::newRow("almost black") << "#000001" << QByteArray("000001");
    QTest::newRow("almost white") << "#FEFEFE" << QByteArray("FEFEFE");
    QTest::newRow("lower case digits stored upper") << "#a0b0c0" << QByteArray("A0B0C0");
}

void tst_mainwindow::currentColour_recordsAllButBlackAndWhite()
{
    QFETCH(QString, html);
    QFETCH(QByteArray, record);
    startWindow();
    const QByteArray before = recentRecords();
    setColourByHexFields(html);
    QCOMPARE(recentRecords(), before + record);
    // Every apply records again, also of an unchanged colour.
    QTest::keyClick(window()->txtgh, Qt::Key_Return);
    QCOMPARE(recentRecords(), before + record + record);
}

void tst_mainwindow::currentColour_webSafeStateOfCommandAndButton_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("#336699 web safe") << "#336699" << false;
    QTest::newRow("#336698 not web safe") << "#336698" << true;
    QTest::newRow("black web safe") << "#000000" << false;
}

void tst_mainwindow::currentColour_webSafeStateOfCommandAndButton()
{
    QFETCH(QString, html);
    QFETCH(bool, enabled);
    startWindow();
    setColourByHexFields(html);
    QCOMPARE(window()->mnuWebsafe->isEnabled(), enabled);
    QCOMPARE(window()->toolButton(QStringLiteral("makewebsafe"))->isEnabled(), enabled);
    QCOMPARE(window()->findChild<QToolButton*>(QStringLiteral("makewebsafe"))->isEnabled(),
             enabled);
}

void tst_mainwindow::currentColour_unwritableRecentFile_reportsAndCarriesOn()
{
    startWindow();
    m_data->remove(QStringLiteral("recent.rgb"));
    QVERIFY(QDir(m_data->path()).mkdir(QStringLiteral("recent.rgb")));
    setColourByHexFields(QStringLiteral("#102030"));
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY(m_platform->messages.first().text.contains(QStringLiteral("recent.rgb")));
    // The colour still became current.
    QCOMPARE(window()->currentColor(), MakeColor(0x10, 0x20, 0x30));
    // Further changes do not repeat the message.
    setColourByHexFields(QStringLiteral("#405060"));
    QCOMPARE(window()->currentColor(), MakeColor(0x40, 0x50, 0x60));
    QCOMPARE(m_platform->messages.size(), 1);
    QDir(m_data->path()).rmdir(QStringLiteral("recent.rgb"));
}

void tst_mainwindow::swatch_rightClickShowsItsOwnMenu()
{
    startWindow();
    window()->show();
    QStringList visibleDuringPopup;
    bool popupWasEditMenu = false;
    whenPopupShown([&](QMenu* menu) {
        popupWasEditMenu = menu == window()->mnuEdit;
        for (QAction* action : menu->actions())
            if (action->isVisible() && !action->isSeparator())
                visibleDuringPopup.append(action->objectName());
        menu->close();
    });
    QTest::mouseClick(window()->lblcolor, Qt::RightButton);
    QVERIFY(popupWasEditMenu);
    // Today's Paste Color and More Formats follow the specified items.
    QCOMPARE(visibleDuringPopup,
             QStringList({"mnuCopydec", "mnuCopyhex", "mnuCopySpecial", "mnuAddto", "mnuViewColor",
                          "mnuconv", "mnuPasteColor", "mnuMoreFormats2"}));
    // Afterwards the menu bar's Edit menu holds the palette commands again and
    // not the swatch-only items.
    for (QAction* item : {window()->mnuDelCor, window()->mnuDelChart, window()->mnuCleanDup,
                          window()->mnuCleanAll, window()->editsep1, window()->editsep3})
        QVERIFY2(item->isVisible(), qPrintable(item->objectName()));
    for (QAction* item : {window()->mnuAddto->menuAction(), window()->editsep2, window()->editsep4,
                          window()->mnuViewColor, window()->mnuconv})
        QVERIFY2(!item->isVisible(), qPrintable(item->objectName()));
}

void tst_mainwindow::swatch_leftClickOpensNoMenu()
{
    startWindow();
    window()->show();
    bool popupShown = false;
    whenPopupShown(
        [&](QMenu* menu) {
            popupShown = true;
            menu->close();
        },
        300);
    QTest::mouseClick(window()->lblcolor, Qt::LeftButton);
    QTest::qWait(350);
    QVERIFY(!popupShown);
    QVERIFY(window()->mnuDelCor->isVisible());
}

void tst_mainwindow::windowIcon_showsTheShippedDrawing_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("16, a size the desktop ships") << 16;
    QTest::newRow("48, the About box") << 48;
    QTest::newRow("40, between two shipped sizes") << 40;
    QTest::newRow("1024, beyond the largest") << 1024;
}

void tst_mainwindow::windowIcon_showsTheShippedDrawing()
{
    QFETCH(int, side);
    // The tiles of the icon's one drawing, the desktop's icon: each tile's
    // centre and colour, in units of the drawing's view box.
    QFile svg(QStringLiteral(TINTORA_PACKAGING_DIR "/tintora.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&svg);
    qreal viewBoxWidth = 0;
    QList<std::pair<QPointF, QColor>> tiles;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        const auto number = [&](const char* name) {
            return attributes.value(QLatin1String(name)).toDouble();
        };
        if (reader.name() == u"svg")
            viewBoxWidth =
                attributes.value(QLatin1String("viewBox")).split(u' ').value(2).toDouble();
        else if (reader.name() == u"rect")
            tiles.append(
                {QPointF(number("x") + number("width") / 2, number("y") + number("height") / 2),
                 QColor(attributes.value(QLatin1String("fill")).toString())});
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QVERIFY(viewBoxWidth > 0);
    QCOMPARE(tiles.size(), 4);

    startWindow();
    const QImage icon = window()->windowIcon().pixmap(side, side).toImage();
    QCOMPARE(icon.size(), QSize(side, side));
    for (const auto& [centre, colour] : tiles) {
        const QPoint at = (centre * side / viewBoxWidth).toPoint();
        QCOMPARE(icon.pixelColor(at).rgba(), colour.rgba());
    }
}

QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
