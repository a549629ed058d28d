#include <QTest>

#include "palettes/generator/ColorGenerator.h"
#include "palettes/generator/RampTheme.h"
#include "palettes/exchange/StyleSheetPalette.h"
#include "models/science/Contrast.h"

#include <algorithm>
#include <cmath>

using namespace colorgenerator;
using bascommon::MakeColor;
namespace cs = colorscience;

Q_DECLARE_METATYPE(colorgenerator::Harmony)
Q_DECLARE_METATYPE(colorgenerator::Variation)
Q_DECLARE_METATYPE(colorgenerator::MixSpace)

namespace {

// Degrees from one hue to another, the shorter way: 0 to 180.
double hueDistance(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

cs::OkLch delivered(const Swatch& swatch)
{
    return cs::ToOkLch(cs::ToOkLab(swatch.color));
}

// Inside sRGB up to the last bits of the conversion: pure blue read back
// from its own OKLCh lies a billionth outside.
bool wantedInsideSrgb(const Swatch& swatch)
{
    const cs::Srgb rgb = cs::ToSrgb(cs::ToOkLab(swatch.wanted));
    for (const double channel : {rgb.r, rgb.g, rgb.b})
        if (channel < -1e-9 || channel > 1 + 1e-9)
            return false;
    return true;
}

// What every generated swatch must be, whatever made it: the colour sRGB
// holds nearest to what was asked for. A colour inside sRGB is only rounded;
// one outside keeps its lightness and hue and gives up chroma, up to the
// just-noticeable difference that CSS gamut mapping allows its final clip;
// and the shift reported is its true distance from what was asked for.
void checkGamut(const Swatch& swatch, double& largestShift)
{
    QCOMPARE(swatch.mappingShift,
             cs::DeltaEOK(cs::ToOkLab(swatch.color), cs::ToOkLab(swatch.wanted)));
    largestShift = std::max(largestShift, swatch.mappingShift);
    if (swatch.isBase)
        return;
    const QByteArray hex = bascommon::ColorToHtmlHex(swatch.color).toLatin1();
    if (wantedInsideSrgb(swatch)) {
        const cs::Srgb rgb = cs::ToSrgb(cs::ToOkLab(swatch.wanted));
        const int channels[] = {bascommon::GetRed(swatch.color), bascommon::GetGreen(swatch.color),
                                bascommon::GetBlue(swatch.color)};
        const double wanted[] = {rgb.r, rgb.g, rgb.b};
        for (int i = 0; i < 3; ++i)
            QVERIFY2(std::abs(channels[i] - wanted[i] * 255) <= 0.5 + 1e-6, hex.constData());
        return;
    }
    if (swatch.wanted.l >= 1) {
        QCOMPARE(swatch.color, bascommon::White);
        return;
    }
    const cs::OkLab got = cs::ToOkLab(swatch.color);
    const cs::OkLch gotLch = cs::ToOkLch(got);
    QVERIFY2(gotLch.c < swatch.wanted.c, hex.constData());
    QVERIFY2(std::abs(gotLch.l - swatch.wanted.l) < cs::JustNoticeableDeltaEOK, hex.constData());
    // The nearest colour of the wanted lightness and hue, chroma 0 up to the
    // wanted chroma, lies within that difference and the rounding to 8 bits.
    const double radians = swatch.wanted.h * M_PI / 180;
    const double along =
        std::clamp(got.a * std::cos(radians) + got.b * std::sin(radians), 0.0, swatch.wanted.c);
    const cs::OkLab onLine{swatch.wanted.l, along * std::cos(radians), along * std::sin(radians)};
    const double off = cs::DeltaEOK(got, onLine);
    QVERIFY2(off < cs::JustNoticeableDeltaEOK + 0.005,
             qPrintable(QStringLiteral("%1 lies %2 from the line of L %3, hue %4")
                            .arg(hex)
                            .arg(off)
                            .arg(swatch.wanted.l)
                            .arg(swatch.wanted.h)));
}

// Starting colours across the wheel, light and dark, pale and vivid, and
// the ends of the scale.
void addBaseColours()
{
    QTest::addColumn<Color>("base");
    const QList<QPair<const char*, Color>> bases = {
        {"steel blue", MakeColor(0x33, 0x66, 0x99)},
        {"red", MakeColor(0xFF, 0x00, 0x00)},
        {"yellow", MakeColor(0xFF, 0xEE, 0x00)},
        {"lime", MakeColor(0x00, 0xFF, 0x00)},
        {"violet", MakeColor(0x7C, 0x3A, 0xED)},
        {"teal", MakeColor(0x0D, 0x94, 0x88)},
        {"pale pink", MakeColor(0xFC, 0xE7, 0xF3)},
        {"dark brown", MakeColor(0x3B, 0x1F, 0x0E)},
        {"navy", MakeColor(0x00, 0x00, 0x80)},
        {"mid grey", MakeColor(0x80, 0x80, 0x80)},
        {"black", bascommon::Black},
        {"white", bascommon::White},
        {"near black", MakeColor(0x01, 0x02, 0x03)},
    };
    for (const auto& [name, color] : bases)
        QTest::newRow(name) << color;
}

} // namespace

class tst_colorgenerator : public QObject
{
    Q_OBJECT
private slots:
    void harmonies_keepLightnessAndChromaAndTurnTheHue_data();
    void harmonies_keepLightnessAndChromaAndTurnTheHue();
    void monochromatic_evenLightnessAroundTheColour_data();
    void monochromatic_evenLightnessAroundTheColour();

    void variations_data();
    void variations();
    void mix_data();
    void mix();
    void mix_shorterHueArc_data();
    void mix_shorterHueArc();

    void ramp_evenLightnessTaperedChromaBaseOnNearestStep_data();
    void ramp_evenLightnessTaperedChromaBaseOnNearestStep();
    void ramp_tailwindTheme();

    void contrast_neverBelowTargetAndClosest_data();
    void contrast_neverBelowTargetAndClosest();
    void contrast_unreachableTargetsAreSaidSo();
    void contrast_parseTargets_data();
    void contrast_parseTargets();
    void contrast_achievedRatioText_data();
    void contrast_achievedRatioText();
};

// ---- Harmonies ----

void tst_colorgenerator::harmonies_keepLightnessAndChromaAndTurnTheHue_data()
{
    addBaseColours();
}

void tst_colorgenerator::harmonies_keepLightnessAndChromaAndTurnTheHue()
{
    QFETCH(Color, base);
    const cs::OkLch lch = OkLchOf(base);
    double largestShift = 0;
    for (int h = 0; h < HarmonyCount; ++h) {
        const auto harmony = Harmony(h);
        if (harmony == Harmony::Monochromatic)
            continue;
        for (const double angle : {DefaultAnalogousAngle, 12.0, 75.0}) {
            const Swatches swatches = Harmonize(base, harmony, angle);
            const QList<double> offsets = HueOffsets(harmony, angle);
            QCOMPARE(swatches.size(), offsets.size());
            QCOMPARE(swatches.at(0).color, base);
            QVERIFY(swatches.at(0).isBase);
            for (qsizetype i = 1; i < swatches.size(); ++i) {
                const Swatch& swatch = swatches.at(i);
                QVERIFY(!swatch.isBase);
                QCOMPARE(swatch.wanted.l, lch.l);
                QCOMPARE(swatch.wanted.c, lch.c);
                QVERIFY2(hueDistance(swatch.wanted.h, lch.h + offsets.at(i)) < 1e-9,
                         qPrintable(HarmonyName(harmony)));
                checkGamut(swatch, largestShift);
            }
        }
    }
    // The rotations the harmonies name.
    QCOMPARE(HueOffsets(Harmony::Complementary, 30), (QList<double>{0, 180}));
    QCOMPARE(HueOffsets(Harmony::Analogous, 25), (QList<double>{0, -25, 25}));
    QCOMPARE(HueOffsets(Harmony::Analogous, 400), (QList<double>{0, -90, 90}));
    QCOMPARE(HueOffsets(Harmony::Triadic, 30), (QList<double>{0, 120, 240}));
    QCOMPARE(HueOffsets(Harmony::SplitComplementary, 30), (QList<double>{0, 150, 210}));
    QCOMPARE(HueOffsets(Harmony::Tetradic, 30), (QList<double>{0, 60, 180, 240}));
    QCOMPARE(HueOffsets(Harmony::Square, 30), (QList<double>{0, 90, 180, 270}));
    qInfo("largest \u0394EOK between a harmony colour and its unmapped colour: %.4f", largestShift);
}

void tst_colorgenerator::monochromatic_evenLightnessAroundTheColour_data()
{
    addBaseColours();
}

void tst_colorgenerator::monochromatic_evenLightnessAroundTheColour()
{
    QFETCH(Color, base);
    const cs::OkLch lch = OkLchOf(base);
    const Swatches swatches = Harmonize(base, Harmony::Monochromatic);
    QCOMPARE(swatches.size(), MonochromaticCount);
    int bases = 0;
    double largestShift = 0;
    for (qsizetype i = 0; i < swatches.size(); ++i) {
        const Swatch& swatch = swatches.at(i);
        if (swatch.isBase) {
            ++bases;
            QCOMPARE(swatch.color, base);
        }
        QCOMPARE(swatch.wanted.c, lch.c);
        QCOMPARE(swatch.wanted.h, lch.h);
        QVERIFY(swatch.wanted.l >= std::min(lch.l, MonochromaticDarkest) - 1e-12);
        QVERIFY(swatch.wanted.l <= std::max(lch.l, MonochromaticLightest) + 1e-12);
        if (i > 0)
            QVERIFY(std::abs(swatch.wanted.l - swatches.at(i - 1).wanted.l - MonochromaticStep) <
                    1e-9);
        checkGamut(swatch, largestShift);
    }
    QCOMPARE(bases, 1);
}

// ---- Variations and mixing ----

void tst_colorgenerator::variations_data()
{
    QTest::addColumn<Color>("base");
    QTest::addColumn<Variation>("variation");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("count");
    const Color blue = MakeColor(0x33, 0x66, 0x99);
    const Color orange = MakeColor(0xF9, 0x73, 0x16);
    QTest::newRow("tints of blue") << blue << Variation::Tints << 5 << 5;
    QTest::newRow("shades of orange") << orange << Variation::Shades << 8 << 8;
    QTest::newRow("tones of orange") << orange << Variation::Tones << 20 << 20;
    QTest::newRow("steps below the least") << blue << Variation::Tints << 1 << MinSteps;
    QTest::newRow("steps above the most") << blue << Variation::Shades << 99 << MaxSteps;
}

void tst_colorgenerator::variations()
{
    QFETCH(Color, base);
    QFETCH(Variation, variation);
    QFETCH(int, steps);
    QFETCH(int, count);
    const Swatches swatches = Vary(base, variation, steps);
    QCOMPARE(swatches.size(), count);
    QCOMPARE(swatches.at(0).color, base);
    const cs::OkLab lab = cs::ToOkLab(base);
    double largestShift = 0;
    for (qsizetype i = 1; i < swatches.size(); ++i) {
        const Swatch& swatch = swatches.at(i);
        const Swatch& before = swatches.at(i - 1);
        checkGamut(swatch, largestShift);
        switch (variation) {
        case Variation::Tints:
            QVERIFY(swatch.wanted.l > before.wanted.l);
            QVERIFY(swatch.wanted.l < cs::ToOkLab(bascommon::White).l);
            break;
        case Variation::Shades:
            QVERIFY(swatch.wanted.l < before.wanted.l);
            QVERIFY(swatch.wanted.l > 0);
            break;
        case Variation::Tones:
            QVERIFY(std::abs(swatch.wanted.l - lab.l) < 1e-12);
            QVERIFY(swatch.wanted.c < before.wanted.c);
            break;
        }
        // Even steps in OKLab: each the same distance from the one before.
        const double step = cs::DeltaEOK(cs::ToOkLab(swatches.at(1).wanted), lab);
        QVERIFY(std::abs(cs::DeltaEOK(cs::ToOkLab(swatch.wanted), cs::ToOkLab(before.wanted)) -
                         step) < 1e-9);
    }
}

void tst_colorgenerator::mix_data()
{
    QTest::addColumn<Color>("from");
    QTest::addColumn<Color>("to");
    QTest::addColumn<MixSpace>("space");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("count");
    QTest::addColumn<Color>("middle"); // the colour halfway, where there is one; else 0
    const Color black = bascommon::Black;
    const Color white = bascommon::White;
    // Halfway in gamma-encoded sRGB is 127.5 in every channel, which rounds up.
    QTest::newRow("black to white in sRGB")
        << black << white << MixSpace::Srgb << 3 << 3 << MakeColor(0x80, 0x80, 0x80);
    // In OKLab halfway is lightness 0.5, a darker grey than sRGB's.
    QTest::newRow("black to white in OKLab")
        << black << white << MixSpace::OkLab << 3 << 3 << MakeColor(0x63, 0x63, 0x63);
    QTest::newRow("red to blue in OKLCh, two steps")
        << MakeColor(255, 0, 0) << MakeColor(0, 0, 255) << MixSpace::OkLch << 2 << 2 << Color(0);
    QTest::newRow("one step is two") << black << white << MixSpace::OkLab << 1 << 2 << Color(0);
    QTest::newRow("twenty at most") << black << white << MixSpace::Srgb << 21 << 20 << Color(0);
}

void tst_colorgenerator::mix()
{
    QFETCH(Color, from);
    QFETCH(Color, to);
    QFETCH(MixSpace, space);
    QFETCH(int, steps);
    QFETCH(int, count);
    QFETCH(Color, middle);
    const Swatches swatches = Mix(from, to, space, steps);
    QCOMPARE(swatches.size(), count);
    QCOMPARE(swatches.constFirst().color, from);
    QCOMPARE(swatches.constLast().color, to);
    QCOMPARE(swatches.constFirst().label, QStringLiteral("0%"));
    QCOMPARE(swatches.constLast().label, QStringLiteral("100%"));
    if (middle != 0)
        QCOMPARE(bascommon::ColorToHtmlHex(swatches.at(count / 2).color),
                 bascommon::ColorToHtmlHex(middle));
    double largestShift = 0;
    for (const Swatch& swatch : swatches)
        checkGamut(swatch, largestShift);
}

void tst_colorgenerator::mix_shorterHueArc_data()
{
    QTest::addColumn<Color>("from");
    QTest::addColumn<Color>("to");
    QTest::addColumn<double>("middleHue");
    const cs::OkLch pinkish{0.7, 0.1, 350};
    const cs::OkLch orangeish{0.7, 0.1, 40};
    const Color pink = cs::ToColor(cs::GamutMapToSrgb(pinkish));
    const Color orange = cs::ToColor(cs::GamutMapToSrgb(orangeish));
    // Across 0°: the short way, through red, passes 15°; the long way
    // through green would pass 195°.
    QTest::newRow("across zero") << pink << orange << 15.0;
    QTest::newRow("back across zero") << orange << pink << 15.0;
    // A grey has no hue: the mix keeps the other colour's all the way.
    QTest::newRow("from grey") << MakeColor(0x80, 0x80, 0x80) << orange << 40.0;
    QTest::newRow("to white") << pink << bascommon::White << 350.0;
}

void tst_colorgenerator::mix_shorterHueArc()
{
    QFETCH(Color, from);
    QFETCH(Color, to);
    QFETCH(double, middleHue);
    const Swatches swatches = Mix(from, to, MixSpace::OkLch, 3);
    // The ends are 8-bit colours, whose hues lie within a degree or two of
    // the round figures they were made from.
    QVERIFY2(hueDistance(swatches.at(1).wanted.h, middleHue) < 3,
             qPrintable(QString::number(swatches.at(1).wanted.h)));
    QVERIFY2(hueDistance(delivered(swatches.at(1)).h, middleHue) < 4,
             qPrintable(QString::number(delivered(swatches.at(1)).h)));
}

// ---- Design-system ramp ----

void tst_colorgenerator::ramp_evenLightnessTaperedChromaBaseOnNearestStep_data()
{
    addBaseColours();
}

void tst_colorgenerator::ramp_evenLightnessTaperedChromaBaseOnNearestStep()
{
    QFETCH(Color, base);
    const cs::OkLch lch = OkLchOf(base);
    const Ramp ramp = DesignRamp(base);
    QCOMPARE(ramp.steps.size(), RampLength);
    for (int j = 0; j < RampLength; ++j)
        QCOMPARE(ramp.steps.at(j).label, QString::number(RampStepNames[std::size_t(j)]));

    // The colour itself, on the step of the even ladder nearest its lightness.
    const Swatch& own = ramp.steps.at(ramp.baseStep);
    QCOMPARE(own.color, base);
    QVERIFY(own.isBase);
    const double evenSpacing = (RampTopLightness - RampBottomLightness) / (RampLength - 1);
    for (int j = 0; j < RampLength; ++j)
        QVERIFY(std::abs(lch.l - (RampTopLightness - ramp.baseStep * evenSpacing)) <=
                std::abs(lch.l - (RampTopLightness - j * evenSpacing)) + 1e-12);

    // Lightness in equal steps, lightest first, inside the allowed range.
    const double spacing = ramp.steps.at(0).wanted.l - ramp.steps.at(1).wanted.l;
    QVERIFY(spacing > 0.03);
    double largestShift = 0;
    double largestUnevenness = 0;
    for (int j = 0; j < RampLength; ++j) {
        const Swatch& step = ramp.steps.at(j);
        QVERIFY(step.wanted.l <= std::max(RampCeiling, lch.l) + 1e-12);
        QVERIFY(step.wanted.l >= std::min(RampFloor, lch.l) - 1e-12);
        if (j > 0) {
            QVERIFY(std::abs(ramp.steps.at(j - 1).wanted.l - step.wanted.l - spacing) < 1e-9);
            // What the screen shows is as even, up to the rounding to 8 bits.
            const double shown = delivered(ramp.steps.at(j - 1)).l - delivered(step).l;
            largestUnevenness = std::max(largestUnevenness, std::abs(shown - spacing));
        }
        // Hue kept; chroma the colour's own at its step, less towards each end.
        QCOMPARE(step.wanted.h, lch.h);
        if (j < ramp.baseStep)
            QVERIFY(step.wanted.c <= ramp.steps.at(j + 1).wanted.c);
        if (j > ramp.baseStep)
            QVERIFY(step.wanted.c <= ramp.steps.at(j - 1).wanted.c);
        QVERIFY(step.wanted.c <= lch.c + 1e-12);
        checkGamut(step, largestShift);
    }
    if (ramp.baseStep > 0)
        QVERIFY(std::abs(ramp.steps.at(0).wanted.c - lch.c * RampLightEndChroma) < 1e-12);
    if (ramp.baseStep < RampLength - 1)
        QVERIFY(std::abs(ramp.steps.at(RampLength - 1).wanted.c - lch.c * RampDarkEndChroma) <
                1e-12);
    // Each shown step within a just-noticeable difference of the even one.
    QVERIFY2(largestUnevenness < cs::JustNoticeableDeltaEOK,
             qPrintable(QString::number(largestUnevenness)));
    qInfo("step %d; lightness step %.4f, shown within %.4f of it; largest \u0394EOK to the "
          "unmapped colour %.4f",
          RampStepNames[std::size_t(ramp.baseStep)], spacing, largestUnevenness, largestShift);
}

void tst_colorgenerator::ramp_tailwindTheme()
{
    const Color base = MakeColor(0x33, 0x66, 0x99);
    const Ramp ramp = DesignRamp(base);
    const QString text =
        QString::fromUtf8(ramptheme::TailwindTheme(QStringLiteral("Brand */ Blue"), ramp));
    QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), RampLength + 4); // comment, opening, steps, closing, final break
    QCOMPARE(lines.at(0), QStringLiteral("/* Brand * / Blue: 11 steps around #336699 at ") +
                              QString::number(RampStepNames[std::size_t(ramp.baseStep)]) +
                              QStringLiteral(" */"));
    QCOMPARE(lines.at(1), QStringLiteral("@theme {"));
    for (int j = 0; j < RampLength; ++j)
        QCOMPARE(lines.at(2 + j), QStringLiteral("  --color-brand-blue-%1: %2;")
                                      .arg(RampStepNames[std::size_t(j)])
                                      .arg(bascommon::ColorToHtmlHex(ramp.steps.at(j).color)));
    QCOMPARE(lines.at(2 + RampLength), QStringLiteral("}"));
    QCOMPARE(lines.constLast(), QString());

    // The palette import reads the theme back: every step, in order.
    const std::optional<ExchangePalette> back = stylesheetpalette::ReadWritten(text.toUtf8());
    QVERIFY(back.has_value());
    QCOMPARE(back->colors.size(), RampLength);
    for (int j = 0; j < RampLength; ++j)
        QCOMPARE(back->colors.at(j), ramp.steps.at(j).color);
}

// ---- Contrast-targeted scale ----

void tst_colorgenerator::contrast_neverBelowTargetAndClosest_data()
{
    QTest::addColumn<Color>("base");
    QTest::addColumn<Color>("background");
    const QList<QPair<const char*, Color>> backgrounds = {
        {"white", bascommon::White},
        {"black", bascommon::Black},
        {"mid grey", MakeColor(0x77, 0x77, 0x77)},
        {"dark page", MakeColor(0x1E, 0x1E, 0x2E)},
        {"cream page", MakeColor(0xFF, 0xF8, 0xE7)},
        {"blue page", MakeColor(0x33, 0x66, 0x99)},
    };
    // Hues all round the wheel, each a vivid colour of middle lightness,
    // and a grey.
    for (int hue = 0; hue < 360; hue += 45) {
        const Color base = cs::ToColor(cs::GamutMapToSrgb({0.62, 0.16, double(hue)}));
        for (const auto& [name, background] : backgrounds)
            QTest::addRow("hue %d on %s", hue, name) << base << background;
    }
    QTest::newRow("grey on white") << MakeColor(0x80, 0x80, 0x80) << bascommon::White;
}

void tst_colorgenerator::contrast_neverBelowTargetAndClosest()
{
    QFETCH(Color, base);
    QFETCH(Color, background);
    const QList<double> targets = {1.5, 3, 4.5, 7, 11, 15};
    const ContrastScale scale = ContrastTargets(base, background, targets);
    QCOMPARE(scale.steps.size(), targets.size());
    const double mostDarker = wcag::ContrastRatio(bascommon::Black, background);
    const double mostLighter = wcag::ContrastRatio(bascommon::White, background);
    QCOMPARE(scale.darkerMaximum, mostDarker);
    QCOMPARE(scale.lighterMaximum, mostLighter);
    const cs::OkLch lch = OkLchOf(base);
    const double backgroundLuminance = wcag::RelativeLuminance(background);
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const ContrastStep& step = scale.steps.at(i);
        QCOMPARE(step.target, targets.at(i));
        QCOMPARE(step.reached, targets.at(i) <= std::max(mostDarker, mostLighter));
        if (!step.reached)
            continue;
        const Color color = step.swatch.color;
        QCOMPARE(step.ratio, wcag::ContrastRatio(color, background));
        QVERIFY2(step.ratio >= step.target, qPrintable(QStringLiteral("%1 gives %2 for %3")
                                                           .arg(bascommon::ColorToHtmlHex(color))
                                                           .arg(step.ratio)
                                                           .arg(step.target)));
        QCOMPARE(step.swatch.detail, AchievedRatioText(step.ratio));
        // The colour lies on the line of the base's hue and chroma.
        QCOMPARE(step.swatch.wanted.h, lch.h);
        QCOMPARE(step.swatch.wanted.c, lch.c);
        // Closest: of the colours of this line on the same side of the
        // background, none reaches the target with less to spare.
        const bool darker = wcag::RelativeLuminance(color) <= backgroundLuminance;
        double closest = 1e9;
        for (int k = 0; k <= 1000; ++k) {
            const Color other = MappedSwatch({k / 1000.0, lch.c, lch.h}, {}).color;
            const double luminance = wcag::RelativeLuminance(other);
            if (darker ? luminance > backgroundLuminance : luminance < backgroundLuminance)
                continue;
            const double ratio = wcag::ContrastRatio(other, background);
            if (ratio >= step.target)
                closest = std::min(closest, ratio);
        }
        QVERIFY2(step.ratio <= closest + 1e-12,
                 qPrintable(QStringLiteral("%1 at %2 where %3 is reached for %4")
                                .arg(bascommon::ColorToHtmlHex(color))
                                .arg(step.ratio)
                                .arg(closest)
                                .arg(step.target)));
    }
}

void tst_colorgenerator::contrast_unreachableTargetsAreSaidSo()
{
    // Against mid grey neither black nor white reaches 7:1.
    const Color grey = MakeColor(0x77, 0x77, 0x77);
    const ContrastScale scale = ContrastTargets(MakeColor(0x33, 0x66, 0x99), grey, {3, 7, 21});
    QVERIFY(scale.steps.at(0).reached);
    QVERIFY(!scale.steps.at(1).reached);
    QVERIFY(!scale.steps.at(2).reached);
    QCOMPARE(scale.steps.at(1).swatch.label, QStringLiteral("7:1"));
    QCOMPARE(scale.steps.at(1).swatch.detail, QStringLiteral("none"));
    QVERIFY(std::max(scale.darkerMaximum, scale.lighterMaximum) < 7);
    // 21:1 is black on white and nothing else.
    const ContrastScale extreme =
        ContrastTargets(MakeColor(0x33, 0x66, 0x99), bascommon::White, {21});
    QVERIFY(extreme.steps.at(0).reached);
    QCOMPARE(extreme.steps.at(0).swatch.color, bascommon::Black);
}

void tst_colorgenerator::contrast_parseTargets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<double>>("targets");
    QTest::addColumn<bool>("problem");
    QTest::newRow("commas") << "1.5, 3, 4.5, 7, 11" << QList<double>{1.5, 3, 4.5, 7, 11} << false;
    QTest::newRow("spaces and ratios") << " 4.5:1  7:1;3 " << QList<double>{4.5, 7, 3} << false;
    QTest::newRow("empty") << "  " << QList<double>{} << false;
    QTest::newRow("the ends") << "1 21" << QList<double>{1, 21} << false;
    QTest::newRow("a word") << "4.5, high" << QList<double>{} << true;
    QTest::newRow("below one") << "0.5" << QList<double>{} << true;
    QTest::newRow("above 21") << "22" << QList<double>{} << true;
    QTest::newRow("not a number") << "nan" << QList<double>{} << true;
    QTest::newRow("decimal comma is a separator") << "4,5" << QList<double>{4, 5} << false;
    QString many;
    for (int i = 0; i <= MaxSteps; ++i)
        many += QStringLiteral("2 ");
    QTest::newRow("too many") << many << QList<double>{} << true;
}

void tst_colorgenerator::contrast_parseTargets()
{
    QFETCH(QString, text);
    QFETCH(QList<double>, targets);
    QFETCH(bool, problem);
    QString message = QStringLiteral("left over");
    QCOMPARE(ParseTargets(text, &message), targets);
    QCOMPARE(!message.isEmpty(), problem);
}

void tst_colorgenerator::contrast_achievedRatioText_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("text");
    QTest::newRow("cut, not rounded") << 4.519 << "4.51:1";
    QTest::newRow("just below a threshold") << 4.4999 << "4.49:1";
    QTest::newRow("threshold") << 4.5 << "4.5:1";
    QTest::newRow("whole") << 21.0 << "21:1";
    QTest::newRow("one decimal") << 7.1 << "7.1:1";
    QTest::newRow("leading zero decimal") << 3.05 << "3.05:1";
}

void tst_colorgenerator::contrast_achievedRatioText()
{
    QFETCH(double, ratio);
    QFETCH(QString, text);
    QCOMPARE(AchievedRatioText(ratio), text);
}

QTEST_GUILESS_MAIN(tst_colorgenerator)
#include "tst_colorgenerator.moc"
