// Picking from real desktops: a Wayland one (sway without a screen, the
// desktop portal and its wlroots backend) and an X11 one (Xvfb), all started
// here. The test runs in two
// roles. As started by ctest it brings up a desktop for each case and runs
// itself on it as a Wayland client ("--on-desktop <case>"); that client shows
// known colours full screen, picks them through the menu with the program's
// real platform services and checks the palette file.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "app/ClickableLabel.h"
#include "app/platform/QtPlatform.h"
#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "palettes/picker/FrozenScreen.h"
#include "palettes/picker/PickLoupe.h"
#include "palettes/picker/frmGetColor.h"
#include "palettes/picker/frmpick.h"
#include "tests/support/HeadlessDesktop.h"
#include "tests/support/TestData.h"

#include <memory>

using namespace bascommon;

namespace {

const QString OnDesktop = QStringLiteral("--on-desktop");

// The four quadrants of screen `screen`, left to right, top to bottom, and
// the one device pixel wide column just right of the middle. Never black
// or white, so each pick also lands in the recent colours.
Color quadrantColour(int screen, int quadrant)
{
    static const Color colours[2][4] = {
        {MakeColor(200, 50, 50), MakeColor(50, 200, 50), MakeColor(50, 50, 200),
         MakeColor(200, 200, 50)},
        {MakeColor(20, 120, 220), MakeColor(220, 120, 20), MakeColor(120, 20, 220),
         MakeColor(20, 220, 120)},
    };
    return colours[screen % 2][quadrant];
}
constexpr Color Column = MakeColor(255, 0, 255);

// Known colours over a whole screen, painted in the screen's device pixels.
class KnownColours : public QWidget
{
public:
    explicit KnownColours(int index)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_index(index)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const qreal ratio = devicePixelRatioF();
        const QSize device(qRound(width() * ratio), qRound(height() * ratio));
        QImage image(device, QImage::Format_RGB32);
        const int midX = device.width() / 2;
        const int midY = device.height() / 2;
        for (int y = 0; y < device.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < device.width(); ++x) {
                const Color colour =
                    x == midX + 1 ? Column : quadrantColour(m_index, (x >= midX) + 2 * (y >= midY));
                line[x] = qRgb(GetRed(colour), GetGreen(colour), GetBlue(colour));
            }
        }
        image.setDevicePixelRatio(ratio);
        QPainter(this).drawImage(0, 0, image);
    }

private:
    int m_index;
};

// Any message box is a failure here; it is recorded and closed, so that a
// modal loop cannot hang the test.
class MessageWatch : public QObject
{
public:
    MessageWatch()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                    texts.append(box->text());
                    box->done(QMessageBox::Ok);
                }
        });
        m_timer.start(50);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

frmGetColor* runningPicker()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<frmGetColor*>(window); found && !found->finished())
            return found;
    return nullptr;
}

QByteArray recordOf(Color colour)
{
    return ColorToHtmlHex(colour).mid(1).toLatin1();
}

// The program on this desktop, with its real platform services and a data
// folder of its own, in front of known colours on every screen.
struct ProgramOnDesktop
{
    ProgramOnDesktop() : platform(folder.path())
    {
        window.reset(basmain::CreateMainWindow(platform, folder.path()));
        window->show();
        const QList<QScreen*> screens = QGuiApplication::screens();
        for (int i = 0; i < screens.size(); ++i) {
            auto colours = std::make_unique<KnownColours>(i);
            FrozenScreen::coverScreen(colours.get(), screens.at(i)->geometry());
            backgrounds.push_back(std::move(colours));
        }
    }
    // The whole desktop as the window system shows it: through the
    // desktop's own screenshot tool on Wayland, from the root window on X11.
    static QImage desktopShot()
    {
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        QProcess grim;
        grim.start(QStringLiteral("grim"),
                   {QStringLiteral("-t"), QStringLiteral("ppm"), QStringLiteral("-")});
        while (grim.state() != QProcess::NotRunning)
            QTest::qWait(10);
        QImage shot;
        shot.loadFromData(grim.readAllStandardOutput(), "PPM");
        return shot;
    }
    // Until the window system shows every background on its screen: only
    // then can a picture of the screen show them.
    bool backgroundsShown()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            const QImage shot = desktopShot();
            bool all = !shot.isNull();
            const QRect desktop = screens.first()->virtualGeometry();
            const double scale = shot.width() / double(desktop.width());
            for (int i = 0; all && i < screens.size(); ++i) {
                const QRect area = screens.at(i)->geometry().translated(-desktop.topLeft());
                for (int quadrant = 0; all && quadrant < 4; ++quadrant) {
                    const QPoint at((area.x() + (quadrant % 2 ? 3 : 1) * area.width() / 4) * scale,
                                    (area.y() + (quadrant / 2 ? 3 : 1) * area.height() / 4) *
                                        scale);
                    all = fromQColor(shot.pixelColor(at)) == quadrantColour(i, quadrant);
                }
            }
            if (all)
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    // Picking as the menu starts it: the running picker, or none when picking
    // ended at once or said something.
    frmGetColor* startPicking()
    {
        window->findChild<QAction*>(QStringLiteral("mnustartpick"))->trigger();
        return messages.texts.isEmpty() ? runningPicker() : nullptr;
    }

    TestDataFolder folder;
    QtPlatform platform;
    std::unique_ptr<frmshowcolor> window;
    std::vector<std::unique_ptr<KnownColours>> backgrounds;
    MessageWatch messages;
};

} // namespace

// The cases that run on the desktop, as its client.
class tst_desktoppicking_client : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void pickFromTheFrozenScreens();
    void pickThroughTheDesktopsColourPicker();
};

void tst_desktoppicking_client::init()
{
    QCOMPARE(QGuiApplication::platformName(), qEnvironmentVariable("QT_QPA_PLATFORM"));
}

void tst_desktoppicking_client::pickFromTheFrozenScreens()
{
    ProgramOnDesktop program;
    QVERIFY(program.backgroundsShown());
    const QByteArray before = program.folder.read(QStringLiteral("mycolor.rgb"));
    frmGetColor* picker = program.startPicking();
    QVERIFY2(picker, qPrintable(program.messages.texts.join('\n')));
    QVERIFY(!program.window->isVisible());

    // One full-screen window for each screen, each on its own screen.
    QList<QWidget*> frozen{picker};
    for (FrozenScreen* more : picker->frozenScreens())
        frozen.append(more);
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(frozen.size(), screens.size());
    frmpick* pick = picker->pickWindow();
    QVERIFY(pick && pick->isVisible());
    QVERIFY(!pick->pickerOnly());
    pick->Check1->setChecked(true);

    qreal finest = 0;
    for (QScreen* screen : screens)
        finest = qMax(finest, screen->devicePixelRatio());
    QByteArray expected;
    for (int i = 0; i < screens.size(); ++i) {
        QWidget* window = frozen.at(i);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowHandle()->screen(), screens.at(i));
        // X11 places the one window over the whole desktop.
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            QTRY_VERIFY(window->isFullScreen());
        else
            QCOMPARE(window->geometry(), screens.at(i)->virtualGeometry());
        const QSize size = screens.at(i)->geometry().size();
        // The middle of each quadrant.
        for (int quadrant = 0; quadrant < 4; ++quadrant) {
            const QPoint at((quadrant % 2 ? 3 : 1) * size.width() / 4,
                            (quadrant / 2 ? 3 : 1) * size.height() / 4);
            QTest::mouseMove(window, at);
            QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
            expected += recordOf(quadrantColour(i, quadrant));
        }
        // The eyedropper shows over the picture: as a pixmap on Wayland,
        // where Qt shows no two-colour bitmap cursor.
        QCOMPARE(window->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(window->cursor().pixmap().isNull(),
                 QGuiApplication::platformName() != QLatin1String("wayland"));
        // The pointer half a logical pixel right of the middle lies on the
        // one device pixel column there at ratio 2; at ratio 1 a whole pixel.
        // The portal's picture comes at the finest screen's scale, and sway
        // (grim) enlarges a coarser screen smoothly: a column one pixel wide
        // there comes out blended with its neighbour, so it is looked for
        // on the finest screens only.
        const qreal ratio = screens.at(i)->devicePixelRatio();
        if (ratio < finest)
            continue;
        const int midDevice = qRound(size.width() * ratio) / 2;
        const QPointF onColumn((midDevice + 1 + 0.5) / ratio, size.height() / 4.0);
        QMouseEvent move(QEvent::MouseMove, onColumn, onColumn, window->mapToGlobal(onColumn),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window, &move);
        QMouseEvent press(QEvent::MouseButtonPress, onColumn, onColumn,
                          window->mapToGlobal(onColumn), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(window, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, onColumn, onColumn,
                            window->mapToGlobal(onColumn), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(window, &release);
        expected += recordOf(Column);
    }
    QTest::mouseClick(pick->cmdStop, Qt::LeftButton);
    QTRY_VERIFY(program.window->isVisible());
    QCOMPARE(program.folder.read(QStringLiteral("mycolor.rgb")), before + expected);
    QVERIFY2(program.messages.texts.isEmpty(), qPrintable(program.messages.texts.join('\n')));
}

void tst_desktoppicking_client::pickThroughTheDesktopsColourPicker()
{
    ProgramOnDesktop program;
    QVERIFY(program.backgroundsShown());
    const QByteArray before = program.folder.read(QStringLiteral("mycolor.rgb"));
    frmGetColor* picker = program.startPicking();
    QVERIFY2(picker, qPrintable(program.messages.texts.join('\n')));
    // No frozen screen: only "Pick&Save Color", which says what is missing.
    QVERIFY(!picker->isVisible());
    frmpick* pick = picker->pickWindow();
    QVERIFY(pick && pick->isVisible() && pick->pickerOnly());
    QVERIFY(pick->lblPickerOnly->isVisible());
    QVERIFY(!pick->Check1->isEnabled());
    QVERIFY(!pick->picLoupe->isVisible());

    // The stand-in for the pointer click points at the bottom right quadrant.
    QTest::mouseClick(pick->cmdPick, Qt::LeftButton);
    QTRY_VERIFY(program.window->isVisible());
    QVERIFY2(program.messages.texts.isEmpty(), qPrintable(program.messages.texts.join('\n')));
    QCOMPARE(program.folder.read(QStringLiteral("mycolor.rgb")),
             before + recordOf(quadrantColour(0, 3)));
    QCOMPARE(program.window->currentColor(), quadrantColour(0, 3));
}

// The cases as ctest runs them: a desktop each.
class tst_desktoppicking : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void screenshotAtScale1();
    void screenshotAtScale2BesideScale1();
    void screenOfX11();
    void colourPickerWhereThePortalHandsNoPicture();

private:
    // Brings up a Wayland desktop and runs `clientCase` on it; no desktop
    // where it cannot run or came to grief.
    void runOnDesktop(const HeadlessDesktop::Options& options, const QString& clientCase);
    void runClient(const QProcessEnvironment& environment, const QString& clientCase,
                   const QString& logs = {});
    std::unique_ptr<HeadlessDesktop> m_desktop;
};

void tst_desktoppicking::cleanup()
{
    m_desktop.reset();
}

void tst_desktoppicking::runOnDesktop(const HeadlessDesktop::Options& options,
                                      const QString& clientCase)
{
    const QStringList missing = HeadlessDesktop::missingPackages();
    if (!missing.isEmpty())
        QSKIP(
            qPrintable(QStringLiteral("a headless Wayland desktop needs these packages, which are "
                                      "not installed: %1 (scripts/install-deps.sh test has them)")
                           .arg(missing.join(QStringLiteral(", ")))));

    m_desktop = std::make_unique<HeadlessDesktop>();
    if (!m_desktop->start(options)) {
        const QString problem = m_desktop->problem() + '\n' + m_desktop->logs();
        m_desktop.reset();
        QFAIL(qPrintable(problem));
    }
    runClient(m_desktop->clientEnvironment(), clientCase, m_desktop->logs());
    if (QTest::currentTestFailed())
        m_desktop.reset();
}

void tst_desktoppicking::runClient(const QProcessEnvironment& environment,
                                   const QString& clientCase, const QString& logs)
{
    QProcess client;
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::MergedChannels);
    client.start(QCoreApplication::applicationFilePath(), {OnDesktop, clientCase});
    QVERIFY(client.waitForStarted(5000));
    // The desktop's portal asks this process for access while the client waits.
    QTRY_VERIFY_WITH_TIMEOUT(client.state() == QProcess::NotRunning, 90000);
    const QByteArray output = client.readAll();
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0)
        QFAIL(qPrintable(QString::fromUtf8(output) + '\n' + logs));
    qInfo().noquote() << QString::fromUtf8(output).trimmed();
}

void tst_desktoppicking::screenshotAtScale1()
{
    runOnDesktop({{{QSize(800, 600), 1, QPoint(0, 0)}}, {}},
                 QStringLiteral("pickFromTheFrozenScreens"));
    if (!m_desktop)
        return;
    // The program's own executable takes the application id that names its
    // desktop entry, by which the portals know it.
    TestDataFolder folder;
    QProcess program;
    QProcessEnvironment environment = m_desktop->clientEnvironment();
    environment.insert(QStringLiteral("TINTORA_DATA_DIR"), folder.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TINTORA_EXECUTABLE), {});
    QVERIFY(program.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(m_desktop->swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")})
                                 .contains("\"app_id\": \"" TINTORA_APP_ID "\""),
                             10000);
    program.terminate();
    if (!program.waitForFinished(3000)) {
        program.kill();
        program.waitForFinished(3000);
    }
}

void tst_desktoppicking::screenshotAtScale2BesideScale1()
{
    // Two screens: one at ratio 2 and one at 1 right of it; the portal's
    // picture comes at the finer scale.
    runOnDesktop({{{QSize(640, 480), 2, QPoint(0, 0)}, {QSize(480, 360), 1, QPoint(320, 0)}}, {}},
                 QStringLiteral("pickFromTheFrozenScreens"));
}

void tst_desktoppicking::screenOfX11()
{
    // Today's capture where the session is X11: the program reads the
    // screen itself, without any portal.
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        QSKIP("Xvfb is not installed (package xvfb; scripts/install-deps.sh test installs it)");
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // -displayfd 1: the server picks a free display and names it on its output.
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("800x600x24"), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp")});
    QVERIFY(server.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine() || server.state() == QProcess::NotRunning, 10000);
    const QString display = QString::fromLatin1(server.readLine()).trimmed();
    QVERIFY(!display.isEmpty());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORMTHEME",
                             "DBUS_SESSION_BUS_ADDRESS"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    runClient(environment, QStringLiteral("pickFromTheFrozenScreens"));
    server.terminate();
    if (!server.waitForFinished(3000)) {
        server.kill();
        server.waitForFinished(3000);
    }
}

void tst_desktoppicking::colourPickerWhereThePortalHandsNoPicture()
{
    // Stand-ins on the portal backend's PATH: a screenshot tool that reports
    // success but leaves an empty file, as a desktop that cannot capture
    // would, and a pointer pick (slurp) that chooses a point at once instead
    // of waiting for a click that never comes on a seat without a mouse.
    QTemporaryDir tools;
    QVERIFY(tools.isValid());
    const auto writeTool = [&tools](const QString& name, const QByteArray& script) {
        QFile file(tools.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(script) == script.size() &&
               file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                   QFileDevice::ExeOther);
    };
    const QByteArray grim = "#!/bin/sh\n"
                            "for last in \"$@\"; do :; done\n"
                            "if [ \"$last\" = /tmp/out.png ]; then : > /tmp/out.png; exit 0; fi\n"
                            "exec " +
                            QStandardPaths::findExecutable(QStringLiteral("grim")).toUtf8() +
                            " \"$@\"\n";
    QVERIFY(writeTool(QStringLiteral("grim"), grim));
    QVERIFY(writeTool(QStringLiteral("slurp"), "#!/bin/sh\necho '600,450 1x1'\n"));
    runOnDesktop({{{QSize(800, 600), 1, QPoint(0, 0)}}, tools.path()},
                 QStringLiteral("pickThroughTheDesktopsColourPicker"));
}

int main(int argc, char* argv[])
{
    if (argc == 3 && OnDesktop == QLatin1String(argv[1])) {
        QApplication application(argc, argv);
        QStandardPaths::setTestModeEnabled(true);
        tst_desktoppicking_client client;
        char* arguments[] = {argv[0], argv[2]};
        return QTest::qExec(&client, 2, arguments);
    }
    QCoreApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    tst_desktoppicking runner;
    return QTest::qExec(&runner, argc, argv);
}

#include "tst_desktoppicking.moc"
