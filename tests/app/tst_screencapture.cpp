#include "app/ScreenCapture.h"

#include <QtTest>

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

} // namespace

class tst_screencapture : public QObject {
    Q_OBJECT
private slots:
    void pixelUnderThePoint_data();
    void pixelUnderThePoint();
    void outsideEveryScreen_isNothing();
    void emptyCapture_isNull();
    void everyDevicePixel_hasACentreThatMapsBack();
};

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

QTEST_GUILESS_MAIN(tst_screencapture)
#include "tst_screencapture.moc"
