#include "app/basmain.h"
#include "app/frmabout.h"
#include "app/frmshowcolor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace bascommon;

class tst_commands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void makeWebSafe_roundsAndDisablesItself_data();
    void makeWebSafe_roundsAndDisablesItself();
    void colourDialog_startsOnTheCurrentColour_data();
    void colourDialog_startsOnTheCurrentColour();
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
    QVERIFY2(m_platform->unexpected.isEmpty(), qPrintable(m_platform->unexpected.join(QLatin1Char('\n'))));
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
        QTest::mouseClick(m_window->findChild<QToolButton*>(QStringLiteral("makewebsafe")), Qt::LeftButton);
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
    QCOMPARE(m_data->read(QStringLiteral("recent.rgb")), before + ColorToHtmlHex(expected).mid(1).toLatin1());
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
