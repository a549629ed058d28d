// Tool > Pick From Anywhere Shortcut on the main window, against a scripted
// desktop portal that stands in for the session bus: off at first, bound
// when turned on, a pick on each activation, closed when turned off.
#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "palettes/PaletteIndex.h"
#include "palettes/picker/frmGetColor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/ScriptedPortal.h"
#include "tests/support/ScriptedShortcuts.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

frmGetColor* runningPicker()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* picker = qobject_cast<frmGetColor*>(window); picker && !picker->finished())
            return picker;
    return nullptr;
}

ScreenCapture oneColour()
{
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(QColor(0x3A, 0x6E, 0xA5));
    ScreenCapture capture;
    capture.addScreen(QRect(0, 0, 120, 90), image);
    return capture;
}

} // namespace

class tst_pickshortcut : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void turnedOn_bindsAndPicks_turnedOff_closes()
    {
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), qPrintable(bus.problem()));
        ScriptedShortcuts portal(bus.connect(QStringLiteral("portal")));
        QVERIFY(portal.publish());
        // The program asks the session bus, which is the test's own here.
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());

        const TestDataFolder data;
        FakePlatform platform;
        platform.screen = oneColour();
        std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, data.path()));
        window->show();
        QAction* item = window->mnuPickShortcut;
        QVERIFY(item);
        QCOMPARE(item->objectName(), QStringLiteral("mnuPickShortcut"));
        QVERIFY(window->mnuTool->actions().contains(item));
        QVERIFY(item->isCheckable() && !item->isChecked());
        QVERIFY(portal.bound.isEmpty());

        item->trigger();
        QVERIFY(item->isChecked());
        QCOMPARE(platform.settings.value(QStringLiteral("pickshortcut")), QStringLiteral("1"));
        QTRY_COMPARE(portal.bound.size(), 1);
        QCOMPARE(portal.bound.constFirst().id, QStringLiteral("pick"));
        QCOMPARE(portal.bound.constFirst().properties.value(QStringLiteral("description")),
                 QVariant(QStringLiteral("Pick a colour")));
        // The portal answers the binding after taking it: a press before the
        // answer has reached the program belongs to no bound shortcut yet.
        auto* shortcuts = item->findChild<GlobalShortcuts*>();
        QVERIFY(shortcuts);
        QTRY_COMPARE(shortcuts->state(), GlobalShortcuts::State::Bound);

        portal.activate(portal.sessionPath, QStringLiteral("pick"));
        QTRY_VERIFY(runningPicker());
        frmGetColor* picker = runningPicker();
        QVERIFY(!window->isVisible());
        QTest::mouseMove(picker, QPoint(30, 40));
        QTest::mouseClick(picker, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
        // A click before the Pick&Save window is there is carried out once it is.
        QTRY_VERIFY(window->isVisible());
        QCOMPARE(window->currentColor(), bascommon::MakeColor(0x3A, 0x6E, 0xA5));
        QCOMPARE(platform.clipboard, QStringLiteral("#3A6EA5"));

        // No command hears a refusal here: the window tells it.
        data.write(paletteindex::IndexFileName(), {});
        const auto toldNoPalette = [&platform] {
            for (const auto& message : platform.messages)
                if (message.text.contains(QLatin1String("No palette takes colors")))
                    return true;
            return false;
        };
        portal.activate(portal.sessionPath, QStringLiteral("pick"));
        QTRY_VERIFY(toldNoPalette());
        QVERIFY(!runningPicker());
        QVERIFY(window->isVisible());

        item->trigger();
        QVERIFY(!item->isChecked());
        QCOMPARE(platform.settings.value(QStringLiteral("pickshortcut")), QStringLiteral("0"));
        QTRY_VERIFY(portal.session.closed);
        QVERIFY2(platform.unexpected.isEmpty(), qPrintable(platform.unexpected.join('\n')));
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void withoutPortal_saysSoAndStaysOff()
    {
        const TestDataFolder data;
        FakePlatform platform;
        std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, data.path()));
        // The session bus of this process is the first case's, which has gone
        // with its portal.
        window->mnuPickShortcut->trigger();
        QVERIFY(!window->mnuPickShortcut->isChecked());
        QCOMPARE(platform.settings.value(QStringLiteral("pickshortcut")), QStringLiteral("0"));
        QCOMPARE(platform.messages.size(), 1);
        QVERIFY(platform.messages.constFirst().text.contains(QLatin1String("tintora --pick")));
    }
};

QTEST_MAIN(tst_pickshortcut)
#include "tst_pickshortcut.moc"
