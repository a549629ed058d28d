#include "scheme/ColorVision.h"
#include "models/science/Contrast.h"
#include "scheme/LightnessSearch.h"
#include "scheme/SchemeContrast.h"
#include "models/science/ColorScience.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace bascommon;
using colorvision::VisionMode;

Q_DECLARE_METATYPE(VisionMode)
Q_DECLARE_METATYPE(SchemeColors)

namespace {

Color hex(const char* text)
{
    const uint value = QByteArray(text + 1).toUInt(nullptr, 16);
    return MakeColor(int(value >> 16), int((value >> 8) & 255), int(value & 255));
}

Color randomColor(QRandomGenerator& random)
{
    return MakeColor(int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256)));
}

// A colour whose lightness lies exactly on a step of the search (max + min a
// multiple of 51), so that the steps on either side are equally near.
Color colorOnAStep(QRandomGenerator& random)
{
    const int sum = 51 * int(random.bounded(1, 10));
    const int high =
        int(random.bounded(std::max(sum - 255, (sum + 1) / 2), std::min(sum, 255) + 1));
    const int low = sum - high;
    const int middle = int(random.bounded(low, high + 1));
    return MakeColor(high, middle, low);
}

using Requirements = std::vector<lightnesssearch::Requirement>;

// The nearest passing colour found the slow way: every step of the lightness
// axis, kept when it passes, the smallest lightness change winning; of two
// equally near, the higher ratio against the first requirement as shown,
// then the lighter.
std::optional<Color> bruteForceNearest(Color color, const Requirements& requirements,
                                       VisionMode mode)
{
    if (lightnesssearch::Reaches(color, requirements, mode))
        return color;
    const double own = lightnesssearch::Lightness(color);
    std::optional<Color> best;
    double bestDistance = 2;
    double bestRatio = 0;
    for (int step = 0; step <= lightnesssearch::LightnessSteps; ++step) {
        const Color candidate = lightnesssearch::AtLightnessStep(color, step);
        if (!lightnesssearch::Reaches(candidate, requirements, mode))
            continue;
        const double distance = std::fabs(step / 1000.0 - own);
        const double ratio =
            wcag::ContrastRatio(colorvision::Simulate(candidate, mode),
                                colorvision::Simulate(requirements[0].against, mode));
        const bool tie = std::fabs(distance - bestDistance) < 1e-12;
        if ((!tie && distance < bestDistance) || (tie && ratio >= bestRatio)) {
            best = candidate;
            bestDistance = distance;
            bestRatio = ratio;
        }
    }
    return best;
}

bool reachesAll(Color color, const Requirements& requirements, VisionMode mode)
{
    for (const lightnesssearch::Requirement& requirement : requirements) {
        if (wcag::ContrastRatio(color, requirement.against) < requirement.minimum ||
            wcag::ContrastRatio(colorvision::Simulate(color, mode),
                                colorvision::Simulate(requirement.against, mode)) <
                requirement.minimum)
            return false;
    }
    return true;
}

} // namespace

class tst_contrast : public QObject
{
    Q_OBJECT
private slots:
    void linearisation_bothSidesOfTheThreshold();
    void linearisation_roundTripsEveryChannel();
    void ratio_knownPairs_data();
    void ratio_knownPairs();
    void ratio_sameInEitherOrder();
    void ratioText_cutsToTwoDecimals_data();
    void ratioText_cutsToTwoDecimals();
    void ratioText_readsAsTheHundredthsTheRatioReaches();
    void verdicts_atTheirThresholds_data();
    void verdicts_atTheirThresholds();
    void schemePairs_ratiosAndFailures();
    void simulation_primaries_data();
    void simulation_primaries();
    void simulation_grayscaleKeepsTheContrast();
    void lightnessAxis_keepsTheColourAtItsOwnLightness();
    void nearestPassing_knownCases_data();
    void nearestPassing_knownCases();
    void nearestPassing_matchesBruteForce_data();
    void nearestPassing_matchesBruteForce();
    void nearestPassing_aloneReachesAA_inNormalVision();
    void proposeFix_keepsThePairsThatPass_data();
    void proposeFix_keepsThePairsThatPass();
};

void tst_contrast::linearisation_bothSidesOfTheThreshold()
{
    // 10/255 lies below 0.04045 and is divided by 12.92; 11/255 lies above and
    // goes through the 2.4 power.
    QCOMPARE(colorscience::ChannelToLinear(0), 0.0);
    QCOMPARE(colorscience::ChannelToLinear(10), 10 / 255.0 / 12.92);
    QCOMPARE(colorscience::ChannelToLinear(11), std::pow((11 / 255.0 + 0.055) / 1.055, 2.4));
    QCOMPARE(colorscience::ChannelToLinear(255), 1.0);
    QCOMPARE(colorscience::LinearToChannel(-0.5), 0);
    QCOMPARE(colorscience::LinearToChannel(1.5), 255);
}

void tst_contrast::linearisation_roundTripsEveryChannel()
{
    for (int channel = 0; channel < 256; ++channel)
        QCOMPARE(colorscience::LinearToChannel(colorscience::ChannelToLinear(channel)), channel);
}

void tst_contrast::ratio_knownPairs_data()
{
    QTest::addColumn<Color>("first");
    QTest::addColumn<Color>("second");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("text");
    QTest::newRow("black on white") << Black << White << 21.0 << "21:1";
    QTest::newRow("#777777 on white") << hex("#777777") << White << 4.478 << "4.47:1";
    QTest::newRow("#767676 on white") << hex("#767676") << White << 4.542 << "4.54:1";
    QTest::newRow("equal colours") << hex("#3A7BC8") << hex("#3A7BC8") << 1.0 << "1:1";
    QTest::newRow("equal blacks") << Black << Black << 1.0 << "1:1";
    QTest::newRow("blue on white") << hex("#0000FF") << White << 8.592 << "8.59:1";
    QTest::newRow("red on white") << hex("#FF0000") << White << 3.998 << "3.99:1";
    QTest::newRow("green on white") << hex("#008000") << White << 5.137 << "5.13:1";
}

void tst_contrast::ratio_knownPairs()
{
    QFETCH(Color, first);
    QFETCH(Color, second);
    QFETCH(double, ratio);
    QFETCH(QString, text);
    const double computed = wcag::ContrastRatio(first, second);
    QVERIFY2(std::fabs(computed - ratio) < 0.001, qPrintable(QString::number(computed, 'g', 10)));
    QCOMPARE(wcag::RatioText(computed), text);
}

void tst_contrast::ratio_sameInEitherOrder()
{
    QRandomGenerator random(9);
    for (int i = 0; i < 1000; ++i) {
        const Color a = randomColor(random);
        const Color b = randomColor(random);
        QCOMPARE(wcag::ContrastRatio(a, b), wcag::ContrastRatio(b, a));
        QVERIFY(wcag::ContrastRatio(a, b) >= 1.0);
        QVERIFY(wcag::ContrastRatio(a, b) <= 21.0);
    }
}

void tst_contrast::ratioText_cutsToTwoDecimals_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("text");
    // Close ratios are told apart, and none reads as a threshold it misses.
    QTest::newRow("3.898 is not written 3.9") << 3.898 << "3.89:1";
    QTest::newRow("4.489 is not written 4.49") << 4.489 << "4.48:1";
    QTest::newRow("4.48") << 4.48 << "4.48:1";
    QTest::newRow("4.5") << 4.5 << "4.5:1";
    QTest::newRow("just below 4.5") << std::nextafter(4.5, 0.0) << "4.49:1";
    QTest::newRow("just above 4.5") << std::nextafter(4.5, 5.0) << "4.5:1";
    QTest::newRow("3") << 3.0 << "3:1";
    QTest::newRow("just below 3") << std::nextafter(3.0, 0.0) << "2.99:1";
    QTest::newRow("7") << 7.0 << "7:1";
    QTest::newRow("just below 7") << std::nextafter(7.0, 0.0) << "6.99:1";
    QTest::newRow("7.004") << 7.004 << "7:1";
    QTest::newRow("3.05 keeps its zero") << 3.05 << "3.05:1";
    QTest::newRow("3.10 drops its zero") << 3.10 << "3.1:1";
    // 1.15 times 100 comes out a hair below 115.
    QTest::newRow("1.15") << 1.15 << "1.15:1";
    QTest::newRow("12.34") << 12.34 << "12.34:1";
    QTest::newRow("20.999") << 20.999 << "20.99:1";
    QTest::newRow("1") << 1.0 << "1:1";
    QTest::newRow("21") << 21.0 << "21:1";
}

void tst_contrast::ratioText_cutsToTwoDecimals()
{
    QFETCH(double, ratio);
    QFETCH(QString, text);
    QCOMPARE(wcag::RatioText(ratio), text);
}

void tst_contrast::ratioText_readsAsTheHundredthsTheRatioReaches()
{
    // Read back as a threshold would be written, the text is one the ratio
    // passes, and the next hundredth is one it fails.
    QRandomGenerator random(28);
    for (int i = 0; i < 20000; ++i) {
        const double ratio = wcag::ContrastRatio(randomColor(random), randomColor(random));
        const QString text = wcag::RatioText(ratio);
        QVERIFY(text.endsWith(QLatin1String(":1")));
        const QStringList parts = text.chopped(2).split(QLatin1Char('.'));
        QVERIFY(parts.size() <= 2);
        const QString decimals = parts.value(1);
        QVERIFY(decimals.size() <= 2 && !decimals.endsWith(QLatin1Char('0')));
        const long long hundredths = parts.first().toLongLong() * 100 +
                                     decimals.leftJustified(2, QLatin1Char('0')).toLongLong();
        QVERIFY2(wcag::Passes(ratio, double(hundredths) / 100.0), qPrintable(text));
        QVERIFY2(!wcag::Passes(ratio, double(hundredths + 1) / 100.0), qPrintable(text));
    }
}

void tst_contrast::verdicts_atTheirThresholds_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<bool>("aaNormal");
    QTest::addColumn<bool>("aaLarge");
    QTest::addColumn<bool>("aaaNormal");
    QTest::addColumn<bool>("aaaLarge");
    const double below3 = std::nextafter(3.0, 0.0);
    const double below45 = std::nextafter(4.5, 0.0);
    const double below7 = std::nextafter(7.0, 0.0);
    QTest::newRow("1") << 1.0 << false << false << false << false;
    QTest::newRow("just below 3") << below3 << false << false << false << false;
    QTest::newRow("3") << 3.0 << false << true << false << false;
    QTest::newRow("just below 4.5") << below45 << false << true << false << false;
    QTest::newRow("4.5") << 4.5 << true << true << false << true;
    QTest::newRow("just below 7") << below7 << true << true << false << true;
    QTest::newRow("7") << 7.0 << true << true << true << true;
    // Grey text on white on either side of each threshold.
    auto onWhite = [](const char* grey) { return wcag::ContrastRatio(hex(grey), White); };
    QTest::newRow("#959595 (2.99)") << onWhite("#959595") << false << false << false << false;
    QTest::newRow("#949494 (3.03)") << onWhite("#949494") << false << true << false << false;
    QTest::newRow("#777777 (4.48)") << onWhite("#777777") << false << true << false << false;
    QTest::newRow("#767676 (4.54)") << onWhite("#767676") << true << true << false << true;
    QTest::newRow("#5A5A5A (6.90)") << onWhite("#5A5A5A") << true << true << false << true;
    QTest::newRow("#595959 (7.005)") << onWhite("#595959") << true << true << true << true;
}

void tst_contrast::verdicts_atTheirThresholds()
{
    QFETCH(double, ratio);
    const wcag::Verdicts verdicts = wcag::Judge(ratio);
    QTEST(verdicts.aaNormal, "aaNormal");
    QTEST(verdicts.aaLarge, "aaLarge");
    QTEST(verdicts.aaaNormal, "aaaNormal");
    QTEST(verdicts.aaaLarge, "aaaLarge");
    // A link against the body text needs 3:1, as large text does.
    QCOMPARE(wcag::Passes(ratio, wcag::LinkAgainstText), verdicts.aaLarge);
}

void tst_contrast::schemePairs_ratiosAndFailures()
{
    // Text #777777 on white fails by a hair (4.48:1); every link passes or fails
    // on the background independently of how it fares against the text.
    const SchemeColors colors{hex("#777777"), White,          hex("#0000FF"),
                              hex("#595959"), hex("#949494"), hex("#767676")};
    QStringList seen;
    for (const schemecontrast::Pair& pair : schemecontrast::Pairs)
        seen << schemecontrast::PairName(pair) + QLatin1Char(' ') +
                    wcag::RatioText(schemecontrast::PairRatio(colors, pair)) +
                    (schemecontrast::PairPasses(colors, pair) ? QString()
                                                              : QStringLiteral(" fails"));
    QCOMPARE(seen, (QStringList{"Text on the background 4.47:1 fails",
                                "Normal link on the background 8.59:1",
                                "Visited link on the background 7:1",
                                "Active link on the background 3.03:1 fails",
                                "Hover link on the background 4.54:1",
                                "Normal link against the body text 1.91:1 fails",
                                "Visited link against the body text 1.56:1 fails",
                                "Active link against the body text 1.47:1 fails",
                                "Hover link against the body text 1.01:1 fails"}));
}

void tst_contrast::simulation_primaries_data()
{
    QTest::addColumn<VisionMode>("mode");
    QTest::addColumn<QStringList>("expected"); // red, green, blue, yellow, white, black
    // The columns of the published severity-1.0 matrices (Machado et al.
    // 2009) are what the primaries become in linear light; clamped to 0..1 and
    // encoded as sRGB they give these colours.
    QTest::newRow("normal") << VisionMode::Normal << QStringList{"#FF0000", "#00FF00", "#0000FF",
                                                                 "#FFFF00", "#FFFFFF", "#000000"};
    QTest::newRow("protanopia") << VisionMode::Protanopia
                                << QStringList{"#6D5F00", "#FFE500", "#0059FF",
                                               "#FFF400", "#FFFFFF", "#000000"};
    QTest::newRow("deuteranopia") << VisionMode::Deuteranopia
                                  << QStringList{"#A39000", "#EFD63A", "#003DFB",
                                                 "#FFFA31", "#FFFFFF", "#000000"};
    QTest::newRow("tritanopia") << VisionMode::Tritanopia
                                << QStringList{"#FF000F", "#00F7D9", "#006B96",
                                               "#FFEED9", "#FFFFFF", "#000000"};
    // Grays of the primaries' relative luminance: 0.2126, 0.7152, 0.0722.
    QTest::newRow("grayscale") << VisionMode::Grayscale
                               << QStringList{"#7F7F7F", "#DCDCDC", "#4C4C4C",
                                              "#F7F7F7", "#FFFFFF", "#000000"};
}

void tst_contrast::simulation_primaries()
{
    QFETCH(VisionMode, mode);
    QFETCH(QStringList, expected);
    QStringList seen;
    for (const char* primary : {"#FF0000", "#00FF00", "#0000FF", "#FFFF00", "#FFFFFF", "#000000"})
        seen << ColorToHtmlHex(colorvision::Simulate(hex(primary), mode));
    QCOMPARE(seen, expected);
}

void tst_contrast::simulation_grayscaleKeepsTheContrast()
{
    QRandomGenerator random(21);
    for (int i = 0; i < 2000; ++i) {
        const Color color = randomColor(random);
        const Color gray = colorvision::Simulate(color, VisionMode::Grayscale);
        QCOMPARE(GetRed(gray), GetGreen(gray));
        QCOMPARE(GetGreen(gray), GetBlue(gray));
        // Only the rounding to a whole channel value moves the luminance.
        const double before = wcag::RelativeLuminance(color);
        const int level = GetRed(gray);
        QVERIFY(before >= colorscience::ChannelToLinear(std::max(level - 1, 0)));
        QVERIFY(before <= colorscience::ChannelToLinear(std::min(level + 1, 255)));
        QVERIFY(std::fabs(wcag::ContrastRatio(gray, White) - wcag::ContrastRatio(color, White)) <
                0.15);
    }
}

void tst_contrast::lightnessAxis_keepsTheColourAtItsOwnLightness()
{
    // Going to the step nearest a colour's own lightness gives that colour back
    // within one unit per channel, so the axis keeps hue and saturation.
    QRandomGenerator random(5);
    for (int i = 0; i < 5000; ++i) {
        const Color color = randomColor(random);
        const int step = int(std::lround(lightnesssearch::Lightness(color) * 1000));
        const Color back = lightnesssearch::AtLightnessStep(color, step);
        QVERIFY2(std::abs(GetRed(back) - GetRed(color)) <= 1 &&
                     std::abs(GetGreen(back) - GetGreen(color)) <= 1 &&
                     std::abs(GetBlue(back) - GetBlue(color)) <= 1,
                 qPrintable(ColorToHtmlHex(color) + QStringLiteral(" -> ") + ColorToHtmlHex(back)));
    }
    QCOMPARE(lightnesssearch::AtLightnessStep(hex("#3A7BC8"), 0), Black);
    QCOMPARE(lightnesssearch::AtLightnessStep(hex("#3A7BC8"), 1000), White);
}

void tst_contrast::nearestPassing_knownCases_data()
{
    QTest::addColumn<Color>("color");
    QTest::addColumn<Color>("against");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<QString>("expected"); // empty: no colour passes
    QTest::newRow("#777777 on white becomes #767676")
        << hex("#777777") << White << wcag::AANormal << "#767676";
    QTest::newRow("a passing colour stays")
        << hex("#595959") << White << wcag::AANormal << "#595959";
    QTest::newRow("grey on black moves lighter")
        << hex("#505050") << Black << wcag::AANormal << "#757575";
    // #666666 lies on step 400. Against #636363, steps 217 (#373737) and 583
    // (#959595) are equally near and the first that reach the lower of their
    // two ratios: the higher ratio wins, here the lighter one.
    QTest::newRow("a tie goes to the higher ratio, lighter")
        << hex("#666666") << hex("#636363") << wcag::ContrastRatio(hex("#373737"), hex("#636363"))
        << "#959595";
    // Against itself, steps 347 (#585858) and 453 (#747474): the darker
    // one has the higher ratio.
    QTest::newRow("a tie goes to the higher ratio, darker")
        << hex("#666666") << hex("#666666") << wcag::ContrastRatio(hex("#747474"), hex("#666666"))
        << "#585858";
    // Mid grey: black reaches 5.3:1 and white 3.9:1, so 7:1 is out of reach.
    QTest::newRow("7:1 against mid grey cannot be reached")
        << hex("#808080") << hex("#808080") << wcag::AAANormal << "";
}

void tst_contrast::nearestPassing_knownCases()
{
    QFETCH(Color, color);
    QFETCH(Color, against);
    QFETCH(double, minimum);
    QFETCH(QString, expected);
    const std::optional<Color> found =
        lightnesssearch::NearestPassing(color, {{against, minimum}}, VisionMode::Normal);
    QCOMPARE(found ? ColorToHtmlHex(*found) : QString(), expected);
}

void tst_contrast::nearestPassing_matchesBruteForce_data()
{
    QTest::addColumn<VisionMode>("mode");
    QTest::addColumn<double>("minimum");
    for (VisionMode mode : colorvision::VisionModes) {
        for (double minimum : {wcag::AALarge, wcag::AANormal, wcag::AAANormal})
            QTest::addRow("%s, %g:1", qPrintable(colorvision::VisionModeName(mode)), minimum)
                << mode << minimum;
    }
}

void tst_contrast::nearestPassing_matchesBruteForce()
{
    QFETCH(VisionMode, mode);
    QFETCH(double, minimum);
    QRandomGenerator random(int(mode) * 100 + int(minimum * 10));
    int found = 0;
    for (int i = 0; i < 150; ++i) {
        const Color color = i % 3 == 0 ? colorOnAStep(random) : randomColor(random);
        Requirements requirements = {{randomColor(random), minimum}};
        // Every fourth case also keeps a second pair passing, as a fix does.
        if (i % 4 == 1)
            requirements.push_back({randomColor(random), wcag::LinkAgainstText});
        const std::optional<Color> fast =
            lightnesssearch::NearestPassing(color, requirements, mode);
        const std::optional<Color> slow = bruteForceNearest(color, requirements, mode);
        const QString pair = ColorToHtmlHex(color) + QStringLiteral(" against ") +
                             ColorToHtmlHex(requirements[0].against);
        QVERIFY2(fast.has_value() == slow.has_value(), qPrintable(pair));
        if (!fast)
            continue;
        ++found;
        QVERIFY2(*fast == *slow,
                 qPrintable(pair + QStringLiteral(": ") + ColorToHtmlHex(*fast) +
                            QStringLiteral(" instead of ") + ColorToHtmlHex(*slow)));
        // What is proposed really passes, as it is and as the mode shows it.
        QVERIFY(reachesAll(*fast, requirements, mode));
    }
    // Enough cases reach a proposal for the comparison to mean something.
    QVERIFY(found > 30);
}

void tst_contrast::nearestPassing_aloneReachesAA_inNormalVision()
{
    // Black or white always reaches 4.5:1 against one colour, and the
    // lightness axis ends in both. (A simulated mode asks a proposal to pass
    // both as it is and as shown, which some pairs cannot.)
    QRandomGenerator random(77);
    for (int i = 0; i < 500; ++i) {
        const Color color = randomColor(random);
        const Color against = randomColor(random);
        const std::optional<Color> found =
            lightnesssearch::NearestPassing(color, {{against, wcag::AANormal}}, VisionMode::Normal);
        QVERIFY(found);
        QVERIFY(wcag::ContrastRatio(*found, against) >= wcag::AANormal);
    }
}

void tst_contrast::proposeFix_keepsThePairsThatPass_data()
{
    QTest::addColumn<SchemeColors>("colors");
    QTest::addColumn<int>("pair");
    QTest::addColumn<QString>("expected"); // empty: nothing passes
    QTest::addColumn<QList<int>>("kept");
    // Black links all pass against the #777777 text, and keep passing while
    // the text darkens to pass on white.
    QTest::newRow("text on white, links kept")
        << SchemeColors{hex("#777777"), White, Black, Black, Black, Black} << 0 << "#767676"
        << QList<int>{5, 6, 7, 8};
    // The light normal link passes on the dark background; to reach 3:1
    // against the light text it darkens only as far as the background allows
    // (3.03:1 against the text, 4.53:1 on the background; checked with
    // Python's colorsys).
    QTest::newRow("link against light text, on dark background")
        << SchemeColors{hex("#E8EEF7"), hex("#14213D"), hex("#7FB2FF"),
                        hex("#C3A6FF"), hex("#FFD166"), White}
        << 5 << "#3585FF" << QList<int>{1};
    // #888888 text fails on white (3.5:1) and passes against the #383838
    // link (3.3:1): darker text would fail against that link, so nothing of
    // its hue serves both.
    QTest::newRow("kept pair blocks every lightness")
        << SchemeColors{hex("#888888"), White, hex("#383838"), Black, Black, Black} << 0 << ""
        << QList<int>{5, 6, 7, 8};
}

void tst_contrast::proposeFix_keepsThePairsThatPass()
{
    QFETCH(SchemeColors, colors);
    QFETCH(int, pair);
    QFETCH(QString, expected);
    QFETCH(QList<int>, kept);
    const schemecontrast::FixProposal proposal =
        schemecontrast::ProposeFix(colors, pair, VisionMode::Normal);
    QCOMPARE(QList<int>(proposal.kept.begin(), proposal.kept.end()), kept);
    QCOMPARE(proposal.color ? ColorToHtmlHex(*proposal.color) : QString(), expected);
    if (!proposal.color)
        return;
    SchemeColors fixed = colors;
    SetRoleColor(fixed, schemecontrast::Pairs[std::size_t(pair)].role, *proposal.color);
    QVERIFY(schemecontrast::PairPasses(fixed, schemecontrast::Pairs[std::size_t(pair)]));
    for (int other : kept)
        QVERIFY(schemecontrast::PairPasses(fixed, schemecontrast::Pairs[std::size_t(other)]));
}

QTEST_GUILESS_MAIN(tst_contrast)
#include "tst_contrast.moc"
