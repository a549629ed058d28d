#include "app/ClickableLabel.h"
#include "app/EntryField.h"
#include "app/SelectionFrame.h"
#include "app/basmain.h"
#include "app/frmabout.h"
#include "app/frmshowcolor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace bascommon;

class tst_commands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void makeWebSafe_roundsAndDisablesItself_data();
    void makeWebSafe_roundsAndDisablesItself();
    void colourDialog_startsOnTheCurrentColour_data();
    void colourDialog_startsOnTheCurrentColour();
    void schemeSelection_clearedByWebSafeAndColourDialogOnly_data();
    void schemeSelection_clearedByWebSafeAndColourDialogOnly();
    void startUp_endsOnTheFirstCellWithTheFirstSchemeChosen();
    void pageButtons_stopAtTheEnds();
    void help_opensTheHelpFileMaximised();
    void help_minimisesAWindowKeptOnTop();
    void webSiteAndEmail_goToTheDesktop();
    void about_showsNameVersionAndLinks();

private:
    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<frmshowcolor> m_window;
};

void tst_commands::init()
{
    m_data = std::make_unique<TestDataFolder>();
    m_platform = std::make_unique<FakePlatform>();
    m_window.reset(basmain::CreateMainWindow(*m_platform, m_data->path()));
}

void tst_commands::cleanup()
{
    m_window.reset();
    QVERIFY2(m_platform->unexpected.isEmpty(),
             qPrintable(m_platform->unexpected.join(QLatin1Char('\n'))));
}

void tst_commands::makeWebSafe_roundsAndDisablesItself_data()
{
    QTest::addColumn<bool>("fromToolbar");
    QTest::newRow("menu") << false;
    QTest::newRow("toolbar") << true;
}

void tst_commands::makeWebSafe_roundsAndDisablesItself()
{
    QFETCH(bool, fromToolbar);
    m_window->CurrentColorChanged(MakeColor(0x1A, 0x80, 0xE6));
    QVERIFY(m_window->mnuWebsafe->isEnabled());
    if (fromToolbar) {
        m_window->show();
        QTest::mouseClick(m_window->findChild<QToolButton*>(QStringLiteral("makewebsafe")),
                          Qt::LeftButton);
    } else {
        m_window->mnuWebsafe->trigger();
    }
    QCOMPARE(m_window->txtrgb->text(), QStringLiteral("#3399FF"));
    QVERIFY(!m_window->mnuWebsafe->isEnabled());
    QVERIFY(!m_window->toolButton(QStringLiteral("makewebsafe"))->isEnabled());
}

void tst_commands::colourDialog_startsOnTheCurrentColour_data()
{
    QTest::addColumn<std::optional<Color>>("answer");
    QTest::addColumn<Color>("expected");
    QTest::newRow("chosen") << std::optional<Color>(MakeColor(1, 2, 3)) << MakeColor(1, 2, 3);
    QTest::newRow("cancelled") << std::optional<Color>() << MakeColor(40, 50, 60);
}

void tst_commands::colourDialog_startsOnTheCurrentColour()
{
    QFETCH(std::optional<Color>, answer);
    QFETCH(Color, expected);
    m_window->CurrentColorChanged(MakeColor(40, 50, 60));
    const QByteArray before = m_data->read(QStringLiteral("recent.rgb"));
    m_platform->colorAnswers.append(answer);
    m_window->mnuShowWinColor->trigger();
    QCOMPARE(m_platform->colorDialogInitials, QList<Color>({MakeColor(40, 50, 60)}));
    QCOMPARE(m_window->currentColor(), expected);
    // Even a cancelled dialog hands its colour back, so it is recorded again.
    QCOMPARE(m_data->read(QStringLiteral("recent.rgb")),
             before + ColorToHtmlHex(expected).mid(1).toLatin1());
}

void tst_commands::schemeSelection_clearedByWebSafeAndColourDialogOnly_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("clears");
    QTest::newRow("make web safe") << "mnuWebsafe" << true;
    QTest::newRow("colour dialog") << "mnuShowWinColor" << true;
    QTest::newRow("entry field") << "txtr" << false;
}

void tst_commands::schemeSelection_clearedByWebSafeAndColourDialogOnly()
{
    QFETCH(QString, command);
    QFETCH(bool, clears);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->CurrentColorChanged(MakeColor(0x1A, 0x80, 0xE6));
    m_window->txtr->setFocus();
    m_window->lstCorset->setCurrentRow(1);
    QVERIFY(m_window->cmdDelItem->isEnabled());
    if (command == QLatin1String("txtr")) {
        QTest::keyClick(m_window->txtr, Qt::Key_Return);
    } else {
        m_platform->colorAnswers.append(MakeColor(9, 9, 9));
        m_window->findChild<QAction*>(command)->trigger();
    }
    QCOMPARE(m_window->lstCorset->currentRow(), clears ? -1 : 1);
    QCOMPARE(m_window->cmdDelItem->isEnabled(), !clears);
    QCOMPARE(m_window->SchemeIndex, 1);
}

void tst_commands::startUp_endsOnTheFirstCellWithTheFirstSchemeChosen()
{
    // The newest colour of the first palette is its last record.
    const QByteArray myColours = m_data->read(QStringLiteral("mycolor.rgb"));
    QVERIFY(myColours.size() >= 6);
    const QByteArray newest = myColours.right(6);
    const Color expected =
        MakeColor(newest.mid(0, 2).toInt(nullptr, 16), newest.mid(2, 2).toInt(nullptr, 16),
                  newest.mid(4, 2).toInt(nullptr, 16));
    QCOMPARE(m_window->cmbChart->currentIndex(), 0);
    QCOMPARE(m_window->currentColor(), expected);
    QVERIFY(m_window->shpSelect->isVisibleTo(m_window.get()));
    QCOMPARE(m_window->shpSelect->geometry(),
             m_window->lblcor[0]->geometry().adjusted(-2, -2, 2, 2));
    QCOMPARE(m_window->lstCorset->currentRow(), 0);
    QCOMPARE(m_window->lstCorset->selectedItems().size(), 1);
    QVERIFY(!m_window->cmdDelItem->isEnabled());
    QVERIFY(m_window->optnone->isChecked());
    QCOMPARE(m_window->mnuWebsafe->isEnabled(), !IsWebSafe(expected));
}

void tst_commands::pageButtons_stopAtTheEnds()
{
    QStringList colours;
    for (int i = 0; i < 2 * 216 + 10; ++i)
        colours.append(ColorToHtmlHex(MakeColor(i % 256, i / 256, 7)));
    m_data->write(QStringLiteral("c5.rgb"), paletteRecords(colours));
    const int last = m_window->cmbChart->count() - 1;
    QCOMPARE(m_window->ChartFile.value(last), QStringLiteral("c5.rgb"));
    m_window->cmbChart->setCurrentIndex(last);
    QAction* previous = m_window->toolButton(QStringLiteral("prevpage"));
    QAction* next = m_window->toolButton(QStringLiteral("nextpage"));
    QVERIFY(!previous->isEnabled());
    QVERIFY(next->isEnabled());
    next->trigger();
    QCOMPARE(m_window->CurPage, 2);
    QVERIFY(previous->isEnabled());
    QVERIFY(next->isEnabled());
    next->trigger();
    QCOMPARE(m_window->CurPage, 3);
    QVERIFY(previous->isEnabled());
    QVERIFY(!next->isEnabled());
    // Page 3 holds the ten oldest colours, the oldest last.
    QCOMPARE(m_window->lblcor[9]->backColor(), MakeColor(0, 0, 7));
    QCOMPARE(m_window->lblcor[10]->backColor(), White);
    previous->trigger();
    previous->trigger();
    QCOMPARE(m_window->CurPage, 1);
    QVERIFY(!previous->isEnabled());
}

void tst_commands::help_opensTheHelpFileMaximised()
{
    m_window->show();
    m_window->mnucontents->trigger();
    QCOMPARE(m_platform->shellRequests.size(), 1);
    const FakePlatform::ShellRequest request = m_platform->shellRequests.first();
    QCOMPARE(request.verb, QStringLiteral("open"));
    QCOMPARE(request.target, m_data->path() + QStringLiteral("/tintora.chm"));
    QCOMPARE(request.mode, Platform::ShowMode::Maximized);
    QVERIFY(request.hasOwner);
    QVERIFY(!m_window->isMinimized());
}

void tst_commands::help_minimisesAWindowKeptOnTop()
{
    m_window->show();
    m_window->mnuOnTop->trigger();
    m_window->mnucontents->trigger();
    QTRY_VERIFY(m_window->isMinimized());
    QCOMPARE(m_platform->shellRequests.size(), 1);
}

void tst_commands::webSiteAndEmail_goToTheDesktop()
{
    m_window->mnuWeb->trigger();
    m_window->mnuemail->trigger();
    QCOMPARE(m_platform->shellRequests.size(), 2);
    QCOMPARE(m_platform->shellRequests.at(0).target, frmabout::WebSiteAddress);
    QCOMPARE(m_platform->shellRequests.at(0).mode, Platform::ShowMode::Normal);
    QVERIFY(!m_platform->shellRequests.at(0).hasOwner);
    QVERIFY(m_platform->shellRequests.at(1).target.startsWith(QStringLiteral("mailto:")));
    QCOMPARE(m_platform->shellRequests.at(1).verb, QStringLiteral("open"));
    QCOMPARE(m_platform->shellRequests.at(1).mode, Platform::ShowMode::Show);
}

void tst_commands::about_showsNameVersionAndLinks()
{
    QString title;
    QString version;
    bool onTop = false;
    whenModalShown([&](QWidget* widget) {
        auto* about = qobject_cast<frmabout*>(widget);
        QVERIFY(about);
        title = about->lblTitle->text();
        version = about->lblVersion->text();
        onTop = about->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        emit about->lblWeb->linkActivated(frmabout::WebSiteAddress);
        emit about->lblEmail->linkActivated(frmabout::SupportAddress);
        QTest::mouseClick(about->cmdOk, Qt::LeftButton);
    });
    m_window->mnuabout->trigger();
    QCOMPARE(title, QStringLiteral("Tintora"));
    QVERIFY(version.contains(QStringLiteral("3.7")));
    QVERIFY(onTop);
    QCOMPARE(m_platform->shellRequests.size(), 2);
    QCOMPARE(m_platform->shellRequests.at(0).target, frmabout::WebSiteAddress);
    QCOMPARE(m_platform->shellRequests.at(1).target, frmabout::SupportAddress);
}

QTEST_MAIN(tst_commands)
#include "tst_commands.moc"
