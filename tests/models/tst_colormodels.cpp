// The colour models: the exact numbers the conversion and details windows show.
#include "models/cClrModels.h"

#include <QTest>

#include <stdexcept>

namespace {

using Triple = std::array<int, 3>;
using Quad = std::array<int, 4>;
// A component the case does not pin down.
constexpr int Any = -1;

cClrModels colour(int r, int g, int b)
{
    cClrModels models;
    models.setRgbR(static_cast<std::uint8_t>(r));
    models.setRgbG(static_cast<std::uint8_t>(g));
    models.setRgbB(static_cast<std::uint8_t>(b));
    return models;
}

Triple rgbOf(const cClrModels& models)
{
    return {models.rgbR(), models.rgbG(), models.rgbB()};
}

// Writes the components through the named model's setter.
void setComponents(cClrModels& models, const QString& model, const Quad& components)
{
    const auto c = [&components](int i) { return static_cast<std::int16_t>(components[i]); };
    if (model == "HLS")
        models.SetHLS(c(0), c(1), c(2));
    else if (model == "CMYK")
        models.SetCMYK(c(0), c(1), c(2), c(3));
    else if (model == "CMY")
        models.SetCMY(c(0), c(1), c(2));
    else
        models.SetYCbCr(c(0), c(1), c(2));
}

void compareComponents(const QList<int>& actual, const QList<int>& expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (expected[i] != Any)
            QCOMPARE(actual[i], expected[i]);
    }
}

} // namespace

class tst_colormodels : public QObject
{
    Q_OBJECT
private slots:
    void readings_data();
    void readings();
    void setters_data();
    void setters();
    void newInstanceIsBlack();
    void overflow_data();
    void overflow();
    void everyColour_readsInRangeAndCmyRoundTrips();
    void everyHls_inRange_writesWithoutOverflow();
    void fullySaturatedHueCycle();
    void zeroSaturation_givesGreyOfStoredLightness();
    void everyCmyk_inRange_writesWithoutOverflow();
};

void tst_colormodels::readings_data()
{
    QTest::addColumn<Triple>("rgb");
    QTest::addColumn<QList<int>>("cmy");
    QTest::addColumn<QList<int>>("cmyk");
    QTest::addColumn<QList<int>>("hls");
    QTest::addColumn<QList<int>>("ycbcr");

    // Cr of red is 256 before it is clamped to 255.
    QTest::newRow("red") << Triple{255, 0, 0} << QList<int>{0, 255, 255}
                         << QList<int>{0, 100, 100, 0} << QList<int>{60, 50, 100}
                         << QList<int>{76, 85, 255};
    QTest::newRow("green") << Triple{0, 255, 0} << QList<int>{255, 0, 255}
                           << QList<int>{100, 0, 100, 0} << QList<int>{180, 50, 100}
                           << QList<int>{150, 44, 21};
    // Cb of blue is clamped.
    QTest::newRow("blue") << Triple{0, 0, 255} << QList<int>{255, 255, 0}
                          << QList<int>{100, 100, 0, 0} << QList<int>{300, 50, 100}
                          << QList<int>{29, 255, 107};
    QTest::newRow("magenta") << Triple{255, 0, 255} << QList<int>{0, 255, 0}
                             << QList<int>{0, 100, 0, 0} << QList<int>{0, 50, 100}
                             << QList<int>{Any, Any, Any};
    QTest::newRow("yellow") << Triple{255, 255, 0} << QList<int>{0, 0, 255}
                            << QList<int>{0, 0, 100, 0} << QList<int>{120, 50, 100}
                            << QList<int>{Any, Any, Any};
    QTest::newRow("cyan") << Triple{0, 255, 255} << QList<int>{255, 0, 0}
                          << QList<int>{100, 0, 0, 0} << QList<int>{240, 50, 100}
                          << QList<int>{Any, Any, Any};
    // Both ends of the hue range are reached.
    QTest::newRow("hue 0") << Triple{255, 0, 254} << QList<int>{Any, Any, Any}
                           << QList<int>{Any, Any, Any, Any} << QList<int>{0, Any, Any}
                           << QList<int>{Any, Any, Any};
    QTest::newRow("hue 360") << Triple{254, 0, 255} << QList<int>{Any, Any, Any}
                             << QList<int>{Any, Any, Any, Any} << QList<int>{360, Any, Any}
                             << QList<int>{Any, Any, Any};
    QTest::newRow("black") << Triple{0, 0, 0} << QList<int>{255, 255, 255}
                           << QList<int>{0, 0, 0, 100} << QList<int>{60, 0, 0}
                           << QList<int>{0, 128, 128};
    QTest::newRow("white") << Triple{255, 255, 255} << QList<int>{0, 0, 0} << QList<int>{0, 0, 0, 0}
                           << QList<int>{60, 100, 0} << QList<int>{255, 128, 128};
    QTest::newRow("grey") << Triple{128, 128, 128} << QList<int>{127, 127, 127}
                          << QList<int>{0, 0, 0, 50} << QList<int>{60, 50, 0}
                          << QList<int>{128, 128, 128};
    QTest::newRow("pink") << Triple{255, 161, 204} << QList<int>{0, 94, 51}
                          << QList<int>{0, 37, 20, 0} << QList<int>{33, 82, 100}
                          << QList<int>{194, 134, 172};
    // Exact halves round to the even neighbour: 128.5 gives 128, 129.5 gives 130.
    QTest::newRow("Cr tie down") << Triple{1, 0, 0} << QList<int>{254, 255, 255}
                                 << QList<int>{Any, Any, Any, Any} << QList<int>{Any, Any, Any}
                                 << QList<int>{Any, Any, 128};
    QTest::newRow("Cr tie up") << Triple{3, 0, 0} << QList<int>{Any, Any, Any}
                               << QList<int>{Any, Any, Any, Any} << QList<int>{Any, Any, Any}
                               << QList<int>{Any, Any, 130};
    QTest::newRow("Cb tie down") << Triple{0, 0, 1} << QList<int>{Any, Any, Any}
                                 << QList<int>{Any, Any, Any, Any} << QList<int>{Any, Any, Any}
                                 << QList<int>{Any, 128, Any};
    QTest::newRow("Cb tie up") << Triple{0, 0, 3} << QList<int>{Any, Any, Any}
                               << QList<int>{Any, Any, Any, Any} << QList<int>{Any, Any, Any}
                               << QList<int>{Any, 130, Any};
}

void tst_colormodels::readings()
{
    QFETCH(Triple, rgb);
    QFETCH(QList<int>, cmy);
    QFETCH(QList<int>, cmyk);
    QFETCH(QList<int>, hls);
    QFETCH(QList<int>, ycbcr);

    const cClrModels models = colour(rgb[0], rgb[1], rgb[2]);
    compareComponents({models.cmyC(), models.cmyM(), models.cmyY()}, cmy);
    compareComponents({models.cmykC(), models.cmykM(), models.cmykY(), models.cmykK()}, cmyk);
    compareComponents({models.hlsH(), models.hlsL(), models.hlsS()}, hls);
    compareComponents({models.ycbcrY(), models.ycbcrCb(), models.ycbcrCr()}, ycbcr);
    // Reading never changes the colour.
    QCOMPARE(rgbOf(models), rgb);
}

void tst_colormodels::setters_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<Quad>("components");
    QTest::addColumn<Triple>("rgb");

    QTest::newRow("HLS red") << "HLS" << Quad{60, 50, 100} << Triple{255, 0, 0};
    QTest::newRow("HLS hue 0 is magenta") << "HLS" << Quad{0, 50, 100} << Triple{255, 0, 255};
    QTest::newRow("HLS hue 360 is magenta") << "HLS" << Quad{360, 50, 100} << Triple{255, 0, 255};
    QTest::newRow("HLS yellow") << "HLS" << Quad{120, 50, 100} << Triple{255, 255, 0};
    QTest::newRow("HLS green") << "HLS" << Quad{180, 50, 100} << Triple{0, 255, 0};
    QTest::newRow("HLS cyan") << "HLS" << Quad{240, 50, 100} << Triple{0, 255, 255};
    QTest::newRow("HLS blue") << "HLS" << Quad{300, 50, 100} << Triple{0, 0, 255};
    // Lightness is stored as a single: 0.3f * 255 lies just above 76.5.
    QTest::newRow("HLS grey L 30") << "HLS" << Quad{200, 30, 0} << Triple{77, 77, 77};
    QTest::newRow("HLS grey L 50") << "HLS" << Quad{0, 50, 0} << Triple{128, 128, 128};
    QTest::newRow("CMYK pink") << "CMYK" << Quad{0, 37, 20, 0} << Triple{255, 161, 204};
    QTest::newRow("CMYK black") << "CMYK" << Quad{0, 0, 0, 100} << Triple{0, 0, 0};
    QTest::newRow("CMY pink") << "CMY" << Quad{0, 94, 51} << Triple{255, 161, 204};
    // R and B would be negative and are clamped at 0.
    QTest::newRow("YCbCr zero") << "YCbCr" << Quad{0, 0, 0} << Triple{0, 135, 0};
    QTest::newRow("YCbCr grey") << "YCbCr" << Quad{128, 128, 128} << Triple{128, 128, 128};
    QTest::newRow("YCbCr high") << "YCbCr" << Quad{255, 255, 255} << Triple{255, 121, 255};
    QTest::newRow("YCbCr R clamped") << "YCbCr" << Quad{255, 0, 255} << Triple{255, 208, 28};
    // Far outside 0-255 the clamps still land every channel on a byte.
    QTest::newRow("YCbCr lowest") << "YCbCr" << Quad{-32768, 128, 128} << Triple{0, 0, 0};
    QTest::newRow("YCbCr highest") << "YCbCr" << Quad{32767, 128, 128} << Triple{255, 255, 255};
    QTest::newRow("YCbCr chroma extremes")
        << "YCbCr" << Quad{128, -32768, 32767} << Triple{255, 0, 0};
}

void tst_colormodels::setters()
{
    QFETCH(QString, model);
    QFETCH(Quad, components);
    QFETCH(Triple, rgb);

    cClrModels models = colour(10, 20, 30);
    setComponents(models, model, components);
    QCOMPARE(rgbOf(models), rgb);
}

void tst_colormodels::newInstanceIsBlack()
{
    const cClrModels models;
    QCOMPARE(rgbOf(models), (Triple{0, 0, 0}));
    QCOMPARE((Triple{models.cmyC(), models.cmyM(), models.cmyY()}), (Triple{255, 255, 255}));
    QCOMPARE((Quad{models.cmykC(), models.cmykM(), models.cmykY(), models.cmykK()}),
             (Quad{0, 0, 0, 100}));
    QCOMPARE((Triple{models.hlsH(), models.hlsL(), models.hlsS()}), (Triple{60, 0, 0}));
    QCOMPARE((Triple{models.ycbcrY(), models.ycbcrCb(), models.ycbcrCr()}), (Triple{0, 128, 128}));
}

void tst_colormodels::overflow_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<Quad>("components");
    QTest::addColumn<Triple>("after");

    // The channels before the failing one are already stored; the rest keep
    // the starting colour 10, 20, 30.
    QTest::newRow("CMY C above 255") << "CMY" << Quad{256, 0, 0} << Triple{10, 20, 30};
    QTest::newRow("CMY C negative") << "CMY" << Quad{-1, 0, 0} << Triple{10, 20, 30};
    QTest::newRow("CMY M above 255") << "CMY" << Quad{0, 300, 0} << Triple{255, 20, 30};
    QTest::newRow("CMY Y above 255") << "CMY" << Quad{5, 6, 1000} << Triple{250, 249, 30};
    QTest::newRow("CMYK C above 100") << "CMYK" << Quad{101, 0, 0, 0} << Triple{10, 20, 30};
    QTest::newRow("CMYK M above 100") << "CMYK" << Quad{0, 200, 0, 0} << Triple{255, 20, 30};
    QTest::newRow("CMYK K negative") << "CMYK" << Quad{0, 0, 0, -1} << Triple{10, 20, 30};
    QTest::newRow("HLS L above 100") << "HLS" << Quad{0, 200, 0} << Triple{10, 20, 30};
    QTest::newRow("HLS hue far out") << "HLS" << Quad{720, 50, 100} << Triple{10, 20, 30};
    QTest::newRow("HLS G overflows") << "HLS" << Quad{180, 75, 200} << Triple{64, 20, 30};
}

void tst_colormodels::overflow()
{
    QFETCH(QString, model);
    QFETCH(Quad, components);
    QFETCH(Triple, after);

    cClrModels models = colour(10, 20, 30);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, setComponents(models, model, components));
    QCOMPARE(rgbOf(models), after);
}

void tst_colormodels::everyColour_readsInRangeAndCmyRoundTrips()
{
    bool hueZero = false;
    bool hue360 = false;
    cClrModels models;
    cClrModels back;
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (int b = 0; b < 256; ++b) {
                models.setRgbR(static_cast<std::uint8_t>(r));
                models.setRgbG(static_cast<std::uint8_t>(g));
                models.setRgbB(static_cast<std::uint8_t>(b));
                try {
                    const int h = models.hlsH();
                    const int l = models.hlsL();
                    const int s = models.hlsS();
                    const int c = models.cmykC();
                    const int m = models.cmykM();
                    const int y = models.cmykY();
                    const int k = models.cmykK();
                    (void)models.ycbcrY();
                    (void)models.ycbcrCb();
                    (void)models.ycbcrCr();
                    if (h < 0 || h > 360 || l < 0 || l > 100 || s < 0 || s > 100 || c < 0 ||
                        c > 100 || m < 0 || m > 100 || y < 0 || y > 100 || k < 0 || k > 100)
                        QFAIL(qPrintable(
                            QStringLiteral("out of range at %1,%2,%3").arg(r).arg(g).arg(b)));
                    hueZero = hueZero || h == 0;
                    hue360 = hue360 || h == 360;
                    back.SetCMY(models.cmyC(), models.cmyM(), models.cmyY());
                } catch (const std::overflow_error&) {
                    QFAIL(qPrintable(QStringLiteral("overflow at %1,%2,%3").arg(r).arg(g).arg(b)));
                }
                if (back.rgbR() != r || back.rgbG() != g || back.rgbB() != b)
                    QFAIL(qPrintable(
                        QStringLiteral("CMY round trip moved %1,%2,%3").arg(r).arg(g).arg(b)));
            }
        }
    }
    QVERIFY(hueZero);
    QVERIFY(hue360);
}

void tst_colormodels::everyHls_inRange_writesWithoutOverflow()
{
    cClrModels models;
    for (int h = 0; h <= 360; ++h)
        for (int l = 0; l <= 100; ++l)
            for (int s = 0; s <= 100; ++s) {
                try {
                    models.SetHLS(static_cast<std::int16_t>(h), static_cast<std::int16_t>(l),
                                  static_cast<std::int16_t>(s));
                } catch (const std::overflow_error&) {
                    QFAIL(qPrintable(
                        QStringLiteral("overflow at HLS %1,%2,%3").arg(h).arg(l).arg(s)));
                }
            }
}

void tst_colormodels::fullySaturatedHueCycle()
{
    // Every hue at full saturation and half lightness has one channel at 255
    // and one at 0, and the hue read back from it is within a degree.
    cClrModels models;
    for (int h = 0; h <= 360; ++h) {
        models.SetHLS(static_cast<std::int16_t>(h), 50, 100);
        const Triple rgb = rgbOf(models);
        QCOMPARE(*std::max_element(rgb.begin(), rgb.end()), 255);
        QCOMPARE(*std::min_element(rgb.begin(), rgb.end()), 0);
        QCOMPARE(models.hlsS(), 100);
        const int back = models.hlsH();
        const int distance = std::min(std::abs(back - h), 360 - std::abs(back - h));
        QVERIFY2(distance <= 1,
                 qPrintable(QStringLiteral("hue %1 read back as %2").arg(h).arg(back)));
    }
}

void tst_colormodels::zeroSaturation_givesGreyOfStoredLightness()
{
    cClrModels models;
    for (int l = 0; l <= 100; ++l) {
        const float light = static_cast<float>(l / 100.0);
        const int grey = static_cast<int>(std::nearbyint(double(light) * 255.0));
        for (int h = 0; h <= 360; h += 45) {
            models.SetHLS(static_cast<std::int16_t>(h), static_cast<std::int16_t>(l), 0);
            QCOMPARE(rgbOf(models), (Triple{grey, grey, grey}));
        }
    }
}

void tst_colormodels::everyCmyk_inRange_writesWithoutOverflow()
{
    cClrModels models;
    for (int c = 0; c <= 100; ++c)
        for (int m = 0; m <= 100; ++m)
            for (int y = 0; y <= 100; ++y)
                for (int k = 0; k <= 100; ++k) {
                    try {
                        models.SetCMYK(static_cast<std::int16_t>(c), static_cast<std::int16_t>(m),
                                       static_cast<std::int16_t>(y), static_cast<std::int16_t>(k));
                    } catch (const std::overflow_error&) {
                        QFAIL(qPrintable(QStringLiteral("overflow at CMYK %1,%2,%3,%4")
                                             .arg(c)
                                             .arg(m)
                                             .arg(y)
                                             .arg(k)));
                    }
                }
}

QTEST_GUILESS_MAIN(tst_colormodels)
#include "tst_colormodels.moc"
