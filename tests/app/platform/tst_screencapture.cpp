#include "app/platform/ScreenCapture.h"

#include <QDBusArgument>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

#include "app/platform/DesktopPortal.h"
#include "app/platform/PortalCapture.h"
#include "tests/support/ScriptedPortal.h"

#include <cmath>
#include <memory>

using namespace bascommon;

namespace {

// Each device pixel's colour encodes its own position: red = x, green = y.
QImage positionImage(int width, int height, int blue)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x, y, blue));
    return image;
}

// A picture of the whole desktop as a compositor hands it, in physical
// pixels: each pixel names its own place, up to 4095 across and down.
QImage physicalImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x & 255, y & 255, ((x >> 8) & 15) | (((y >> 8) & 15) << 4));
    }
    return image;
}

Color physicalPixel(int x, int y)
{
    return MakeColor(x & 255, y & 255, ((x >> 8) & 15) | (((y >> 8) & 15) << 4));
}

using Layouts = QList<ScreenCapture::Layout>;

} // namespace

Q_DECLARE_METATYPE(ScreenCapture::Layout)
Q_DECLARE_METATYPE(ScreenCapture::Outcome)
Q_DECLARE_METATYPE(ScreenColorPick::Outcome)
Q_DECLARE_METATYPE(ScriptedPortal::Answer)

class tst_screencapture : public QObject
{
    Q_OBJECT
private slots:
    void pixelUnderThePoint_data();
    void pixelUnderThePoint();
    void outsideEveryScreen_isNothing();
    void emptyCapture_isNull();
    void everyDevicePixel_hasACentreThatMapsBack();

    void desktopPicture_mapsLogicalToPhysical_data();
    void desktopPicture_mapsLogicalToPhysical();
    void desktopPicture_coarserThanAScreen_data();
    void desktopPicture_coarserThanAScreen();
    void desktopPicture_ofAnotherShape_isNull();

    void portal_data();
    void portal();
    void portal_pickColor_data();
    void portal_pickColor();

private:
    // Started on first use; false when it cannot run here.
    bool privateBus();
    std::unique_ptr<PrivateBus> m_bus;
};

bool tst_screencapture::privateBus()
{
    if (!m_bus)
        m_bus = std::make_unique<PrivateBus>();
    return !m_bus->address().isEmpty();
}

void tst_screencapture::pixelUnderThePoint_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<Color>("expected");
    // Left screen: 100 x 80 logical pixels at ratio 1; middle: 100 x 80 at ratio
    // 1.5 (150 x 120 device pixels); right: 60 x 50 at ratio 2, placed lower.
    QTest::newRow("ratio 1 origin") << QPointF(0, 0) << MakeColor(0, 0, 1);
    QTest::newRow("ratio 1 inside") << QPointF(37, 12) << MakeColor(37, 12, 1);
    QTest::newRow("ratio 1 fractional") << QPointF(37.9, 12.2) << MakeColor(37, 12, 1);
    QTest::newRow("ratio 1.5 first pixel") << QPointF(100, 0) << MakeColor(0, 0, 2);
    QTest::newRow("ratio 1.5 inside") << QPointF(110, 20) << MakeColor(15, 30, 2);
    QTest::newRow("ratio 1.5 half pixel") << QPointF(110.5, 20.5) << MakeColor(15, 30, 2);
    QTest::newRow("ratio 1.5 last") << QPointF(199.9, 79.9) << MakeColor(149, 119, 2);
    QTest::newRow("ratio 2 inside") << QPointF(210, 35) << MakeColor(20, 10, 3);
    QTest::newRow("ratio 2 second device pixel") << QPointF(210.5, 35.5) << MakeColor(21, 11, 3);
}

void tst_screencapture::pixelUnderThePoint()
{
    QFETCH(QPointF, point);
    QFETCH(Color, expected);
    ScreenCapture capture;
    capture.addScreen(QRect(0, 0, 100, 80), positionImage(100, 80, 1));
    capture.addScreen(QRect(100, 0, 100, 80), positionImage(150, 120, 2));
    capture.addScreen(QRect(200, 30, 60, 50), positionImage(120, 100, 3));
    QCOMPARE(capture.desktopGeometry(), QRect(0, 0, 260, 80));
    const std::optional<Color> pixel = capture.pixelAt(point);
    QVERIFY(pixel.has_value());
    QCOMPARE(*pixel, expected);
}

void tst_screencapture::outsideEveryScreen_isNothing()
{
    ScreenCapture capture;
    capture.addScreen(QRect(0, 0, 100, 80), positionImage(100, 80, 1));
    capture.addScreen(QRect(200, 30, 60, 50), positionImage(120, 100, 3));
    QVERIFY(!capture.pixelAt(QPointF(150, 10)).has_value());
    QVERIFY(!capture.pixelAt(QPointF(210, 10)).has_value());
    QVERIFY(!capture.pixelAt(QPointF(-1, 0)).has_value());
}

void tst_screencapture::emptyCapture_isNull()
{
    ScreenCapture capture;
    QVERIFY(capture.isNull());
    capture.addScreen(QRect(0, 0, 10, 10), QImage());
    QVERIFY(capture.isNull());
}

void tst_screencapture::everyDevicePixel_hasACentreThatMapsBack()
{
    // Ratios 1, 1.5 and 2 side by side; the picker's keys step through every
    // device pixel by way of these centres.
    ScreenCapture capture;
    capture.addScreen(QRect(-100, 0, 100, 80), positionImage(100, 80, 1));
    capture.addScreen(QRect(0, 0, 100, 80), positionImage(150, 120, 2));
    capture.addScreen(QRect(100, 30, 60, 50), positionImage(120, 100, 3));
    for (qsizetype screen = 0; screen < capture.screens().size(); ++screen) {
        const QImage& image = capture.screens().at(screen).image;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const ScreenCapture::DevicePixel pixel{screen, QPoint(x, y)};
                const QPointF centre = capture.desktopCentreOf(pixel);
                const std::optional<ScreenCapture::DevicePixel> back =
                    capture.devicePixelAt(centre);
                if (!back || !(*back == pixel))
                    QFAIL(qPrintable(
                        QStringLiteral("screen %1 pixel %2,%3").arg(screen).arg(x).arg(y)));
                QCOMPARE(*capture.pixelAt(centre), MakeColor(x & 255, y & 255, int(screen) + 1));
            }
    }
}

void tst_screencapture::desktopPicture_mapsLogicalToPhysical_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<Layouts>("screens");
    QTest::addColumn<QList<QSize>>("physical");
    // Two screens side by side at the same scale, as Qt places them in
    // logical pixels; the second begins where the first ends.
    QTest::newRow("scale 1") << 1.0
                             << Layouts{{QRect(0, 0, 640, 480), 1}, {QRect(640, 0, 320, 200), 1}}
                             << QList<QSize>{QSize(640, 480), QSize(320, 200)};
    // Qt 6.4 on Wayland reports a fractional scale rounded up to 2.
    QTest::newRow("scale 1.25") << 1.25
                                << Layouts{{QRect(0, 0, 1536, 864), 2},
                                           {QRect(1536, 0, 1024, 640), 2}}
                                << QList<QSize>{QSize(1920, 1080), QSize(1280, 800)};
    QTest::newRow("scale 1.5") << 1.5
                               << Layouts{{QRect(0, 0, 1280, 720), 2},
                                          {QRect(1280, 0, 640, 400), 2}}
                               << QList<QSize>{QSize(1920, 1080), QSize(960, 600)};
    // 1920 x 1080 at 1.75 is 1097.14 x 617.14 logical pixels: the desktop is
    // rounded, the picture is not.
    QTest::newRow("scale 1.75") << 1.75
                                << Layouts{{QRect(0, 0, 1097, 617), 2},
                                           {QRect(1097, 0, 731, 411), 2}}
                                << QList<QSize>{QSize(1920, 1080), QSize(1279, 719)};
    QTest::newRow("scale 2") << 2.0
                             << Layouts{{QRect(0, 0, 960, 540), 2}, {QRect(960, 0, 640, 400), 2}}
                             << QList<QSize>{QSize(1920, 1080), QSize(1280, 800)};
    // The second screen left of and above the first one.
    QTest::newRow("scale 1.5, negative origin")
        << 1.5 << Layouts{{QRect(0, 0, 800, 600), 2}, {QRect(-400, -300, 400, 300), 2}}
        << QList<QSize>{QSize(1200, 900), QSize(600, 450)};
}

void tst_screencapture::desktopPicture_mapsLogicalToPhysical()
{
    QFETCH(double, scale);
    QFETCH(Layouts, screens);
    QFETCH(QList<QSize>, physical);
    QRect desktop;
    for (const ScreenCapture::Layout& screen : screens)
        desktop = desktop.united(screen.geometry);
    const QSize pictureSize(qRound(desktop.width() * scale), qRound(desktop.height() * scale));
    const ScreenCapture capture =
        ScreenCapture::fromDesktopPicture(physicalImage(pictureSize), screens);
    QCOMPARE(capture.screens().size(), screens.size());
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QRect screen = screens.at(i).geometry;
        QCOMPARE(capture.screens().at(i).image.size(), physical.at(i));
        QCOMPARE(capture.screens().at(i).ratio, QPointF(scale, scale));
        // The compositor puts each screen's first physical pixel at its
        // logical origin times the scale, and a pointer at a logical offset
        // from that origin on the offset times the scale.
        const int firstX = qRound((screen.x() - desktop.x()) * scale);
        const int firstY = qRound((screen.y() - desktop.y()) * scale);
        const int lastX = firstX + physical.at(i).width() - 1;
        const int lastY = firstY + physical.at(i).height() - 1;
        QSet<int> reached;
        // Pointer positions come in 1/256 of a logical pixel.
        for (double offset = 0; offset < screen.width(); offset += 13.0 / 256) {
            const double down = std::fmod(offset * 7, screen.height());
            const Color expected =
                physicalPixel(qMin(lastX, firstX + int(std::floor(offset * scale))),
                              qMin(lastY, firstY + int(std::floor(down * scale))));
            const std::optional<Color> found =
                capture.pixelAt(QPointF(screen.x() + offset, screen.y() + down));
            if (!found || *found != expected)
                QFAIL(
                    qPrintable(QStringLiteral("screen %1 at %2, %3").arg(i).arg(offset).arg(down)));
            reached.insert(GetRed(*found) | ((GetBlue(*found) & 15) << 8));
        }
        // Not one physical column is out of reach.
        QCOMPARE(reached.size(), physical.at(i).width());
        QCOMPARE(capture.pixelAt(QPointF(screen.right() + 0.99, screen.bottom() + 0.99)),
                 std::optional<Color>(physicalPixel(lastX, lastY)));
    }
}

void tst_screencapture::desktopPicture_coarserThanAScreen_data()
{
    QTest::addColumn<Layouts>("screens");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QSize>("kept");
    QTest::addColumn<Color>("expected");
    // A screen at ratio 1 beside one at 2: the picture comes at 2, and the
    // first screen's part is kept at its own device pixels, each taking the
    // picture's pixel under its centre.
    const Layouts mixed{{QRect(0, 0, 960, 540), 1}, {QRect(960, 0, 640, 400), 2}};
    QTest::newRow("ratio 1 screen")
        << mixed << QPointF(10.3, 5.7) << QSize(960, 540) << physicalPixel(21, 11);
    QTest::newRow("ratio 1 screen, last pixel")
        << mixed << QPointF(959.9, 539.9) << QSize(960, 540) << physicalPixel(1919, 1079);
    QTest::newRow("ratio 2 screen")
        << mixed << QPointF(970.75, 5.25) << QSize(1280, 800) << physicalPixel(1920 + 21, 10);
    // A ratio of 1.5 beside 2: every second device pixel of the first screen
    // covers one and a third picture pixels.
    const Layouts thirds{{QRect(0, 0, 600, 400), 1.5}, {QRect(600, 0, 300, 200), 2}};
    QTest::newRow("ratio 1.5 screen")
        << thirds << QPointF(1.0, 0.0) << QSize(900, 600) << physicalPixel(2, 0);
    QTest::newRow("ratio 1.5 screen, next device pixel")
        << thirds << QPointF(1.4, 0.0) << QSize(900, 600) << physicalPixel(3, 0);
}

void tst_screencapture::desktopPicture_coarserThanAScreen()
{
    QFETCH(Layouts, screens);
    QFETCH(QPointF, at);
    QFETCH(QSize, kept);
    QFETCH(Color, expected);
    QRect desktop;
    for (const ScreenCapture::Layout& screen : screens)
        desktop = desktop.united(screen.geometry);
    const ScreenCapture capture =
        ScreenCapture::fromDesktopPicture(physicalImage(desktop.size() * 2), screens);
    const std::optional<ScreenCapture::DevicePixel> pixel = capture.devicePixelAt(at);
    QVERIFY(pixel);
    QCOMPARE(capture.screens().at(pixel->screen).image.size(), kept);
    QCOMPARE(capture.pixelAt(at), std::optional<Color>(expected));
}

void tst_screencapture::desktopPicture_ofAnotherShape_isNull()
{
    // A picture of one screen where there are two cannot be cut into them.
    const Layouts two{{QRect(0, 0, 640, 480), 1}, {QRect(640, 0, 640, 480), 1}};
    QVERIFY(ScreenCapture::fromDesktopPicture(physicalImage(QSize(640, 480)), two).isNull());
    QVERIFY(ScreenCapture::fromDesktopPicture(QImage(), two).isNull());
}

void tst_screencapture::portal_data()
{
    QTest::addColumn<ScriptedPortal::Answer>("answer");
    QTest::addColumn<bool>("published");
    QTest::addColumn<uint>("version");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<ScreenCapture::Outcome>("expected");
    using Outcome = ScreenCapture::Outcome;
    const ScriptedPortal::Answer answered{0, {}, {}, false, false};
    QTest::newRow("picture") << answered << true << 2u << "png" << Outcome::Captured;
    QTest::newRow("cancelled") << ScriptedPortal::Answer{1, {}, {}, false, false} << true << 2u
                               << "" << Outcome::Cancelled;
    QTest::newRow("refused") << ScriptedPortal::Answer{2, {}, {}, false, false} << true << 2u << ""
                             << Outcome::Refused;
    QTest::newRow("no answer") << ScriptedPortal::Answer{-1, {}, {}, false, false} << true << 2u
                               << "" << Outcome::Refused;
    QTest::newRow("no portal") << answered << false << 2u << "" << Outcome::Refused;
    // The portal answers, but what it names is no picture: its colour
    // picker is all that is left.
    QTest::newRow("not a picture") << answered << true << 2u << "text" << Outcome::ColorPickerOnly;
    QTest::newRow("no file") << answered << true << 2u << "none" << Outcome::ColorPickerOnly;
    QTest::newRow("method refused")
        << ScriptedPortal::Answer{0,
                                  {},
                                  QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                  false,
                                  false}
        << true << 2u << "" << Outcome::ColorPickerOnly;
    // Version 1 has no colour picker.
    QTest::newRow("method refused, no colour picker")
        << ScriptedPortal::Answer{0,
                                  {},
                                  QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                  false,
                                  false}
        << true << 1u << "" << Outcome::Refused;
}

void tst_screencapture::portal()
{
    QFETCH(ScriptedPortal::Answer, answer);
    QFETCH(bool, published);
    QFETCH(uint, version);
    QFETCH(QString, picture);
    QFETCH(ScreenCapture::Outcome, expected);
    if (!privateBus())
        QSKIP(qPrintable(QStringLiteral("no private D-Bus daemon (install dbus-daemon): ") +
                         m_bus->problem()));
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    ScriptedPortal scripted(m_bus->connect(QStringLiteral("portal ") + tag));
    scripted.portalVersion = version;
    QVERIFY(!published || scripted.publish());

    // Two screens, the second at ratio 2 and placed lower, in a picture at 2.
    const Layouts screens{{QRect(0, 0, 200, 100), 2}, {QRect(200, 50, 100, 50), 2}};
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Screenshot.png"));
    if (picture == QLatin1String("png"))
        QVERIFY(physicalImage(QSize(600, 200)).save(file, "PNG"));
    else if (picture == QLatin1String("text"))
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
    answer.results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(file).toString());
    scripted.answers.append(answer);

    DesktopPortal portal(m_bus->connect(QStringLiteral("client ") + tag),
                         std::chrono::milliseconds(400));
    const ScreenCapture capture = portalcapture::Capture(portal, screens);
    QCOMPARE(capture.outcome(), expected);
    if (published) {
        QCOMPARE(scripted.calls.size(), 1);
        QCOMPARE(scripted.calls.constFirst().method, QStringLiteral("Screenshot"));
    }
    // The portal's file for this request does not stay behind in the user's folders.
    QVERIFY(!QFileInfo::exists(file) || picture.isEmpty());
    if (expected != ScreenCapture::Outcome::Captured)
        return;
    QCOMPARE(capture.screens().size(), 2);
    QCOMPARE(capture.screens().at(0).image.size(), QSize(400, 200));
    QCOMPARE(capture.screens().at(1).image.size(), QSize(200, 100));
    QCOMPARE(capture.pixelAt(QPointF(10.5, 20.25)), std::optional<Color>(physicalPixel(21, 40)));
    QCOMPARE(capture.pixelAt(QPointF(250.75, 99.5)), std::optional<Color>(physicalPixel(501, 199)));
    // The gap above the lower screen belongs to none.
    QVERIFY(!capture.pixelAt(QPointF(250, 20)));
}

void tst_screencapture::portal_pickColor_data()
{
    QTest::addColumn<int>("response");
    QTest::addColumn<bool>("withColor");
    QTest::addColumn<ScreenColorPick::Outcome>("expected");
    QTest::newRow("picked") << 0 << true << ScreenColorPick::Outcome::Picked;
    QTest::newRow("answered without a colour") << 0 << false << ScreenColorPick::Outcome::Failed;
    QTest::newRow("cancelled") << 1 << true << ScreenColorPick::Outcome::Cancelled;
    QTest::newRow("refused") << 2 << true << ScreenColorPick::Outcome::Failed;
    QTest::newRow("no answer") << -1 << true << ScreenColorPick::Outcome::Failed;
}

void tst_screencapture::portal_pickColor()
{
    QFETCH(int, response);
    QFETCH(bool, withColor);
    QFETCH(ScreenColorPick::Outcome, expected);
    if (!privateBus())
        QSKIP(qPrintable(QStringLiteral("no private D-Bus daemon (install dbus-daemon): ") +
                         m_bus->problem()));
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    ScriptedPortal scripted(m_bus->connect(QStringLiteral("pick portal ") + tag));
    QVERIFY(scripted.publish());
    QVariantMap results;
    if (withColor) {
        // The colour travels as (ddd), which is what the bus makes of a
        // list of three doubles in a structure.
        QDBusArgument rgb;
        rgb.beginStructure();
        rgb << 0.2 << 0.4 << 0.8;
        rgb.endStructure();
        results.insert(QStringLiteral("color"), QVariant::fromValue(rgb));
    }
    scripted.answers.append({response, results, {}, false, false});
    DesktopPortal portal(m_bus->connect(QStringLiteral("pick client ") + tag),
                         std::chrono::milliseconds(400));
    const ScreenColorPick pick = portalcapture::PickColor(portal);
    QCOMPARE(pick.outcome, expected);
    if (expected == ScreenColorPick::Outcome::Picked)
        QCOMPARE(pick.color, MakeColor(51, 102, 204));
}

QTEST_GUILESS_MAIN(tst_screencapture)
#include "tst_screencapture.moc"
