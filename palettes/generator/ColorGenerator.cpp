#include "palettes/generator/ColorGenerator.h"

#include "models/science/Contrast.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace colorgenerator {

using colorscience::OkLab;
using colorscience::OkLch;

namespace {

// Below this chroma a colour counts as grey: 8-bit greys come out of the
// conversion with a chroma of a few millionths and a hue that is noise.
constexpr double GreyChroma = 1e-4;

QString percentText(double fraction)
{
    return QString::number(std::lround(fraction * 100)) + QLatin1Char('%');
}

QString degreesText(double offset)
{
    const long degrees = std::lround(offset);
    return (degrees > 0 ? QStringLiteral("+") : QString()) + QString::number(degrees) +
           QChar(0x00B0);
}

Swatch baseSwatch(Color base, const QString& label)
{
    Swatch swatch = ExactSwatch(base, OkLchOf(base), label);
    swatch.isBase = true;
    return swatch;
}

const QString BaseLabel = QStringLiteral("Base");

Swatch swatchOfLab(const OkLab& wanted, const QString& label)
{
    return MappedSwatch(colorscience::ToOkLch(wanted), label);
}

double lerp(double from, double to, double fraction)
{
    return from + (to - from) * fraction;
}

} // namespace

Swatch MappedSwatch(const OkLch& wanted, const QString& label)
{
    const Color color = colorscience::ToColor(colorscience::GamutMapToSrgb(wanted));
    return ExactSwatch(color, wanted, label);
}

Swatch ExactSwatch(Color color, const OkLch& wanted, const QString& label)
{
    Swatch swatch;
    swatch.color = color;
    swatch.wanted = wanted;
    swatch.mappingShift =
        colorscience::DeltaEOK(colorscience::ToOkLab(color), colorscience::ToOkLab(wanted));
    swatch.label = label;
    return swatch;
}

OkLch OkLchOf(Color color)
{
    OkLch lch = colorscience::ToOkLch(colorscience::ToOkLab(color));
    if (bascommon::GetRed(color) == bascommon::GetGreen(color) &&
        bascommon::GetGreen(color) == bascommon::GetBlue(color))
        lch.c = lch.h = 0;
    return lch;
}

// ---- Harmonies ----

QString HarmonyName(Harmony harmony)
{
    switch (harmony) {
    case Harmony::Complementary:
        return QStringLiteral("Complementary");
    case Harmony::Analogous:
        return QStringLiteral("Analogous");
    case Harmony::Triadic:
        return QStringLiteral("Triadic");
    case Harmony::SplitComplementary:
        return QStringLiteral("Split complementary");
    case Harmony::Tetradic:
        return QStringLiteral("Tetradic");
    case Harmony::Square:
        return QStringLiteral("Square");
    case Harmony::Monochromatic:
        return QStringLiteral("Monochromatic");
    }
    return {};
}

QList<double> HueOffsets(Harmony harmony, double analogousAngle)
{
    switch (harmony) {
    case Harmony::Complementary:
        return {0, 180};
    case Harmony::Analogous: {
        const double angle = std::clamp(analogousAngle, MinAnalogousAngle, MaxAnalogousAngle);
        return {0, -angle, angle};
    }
    case Harmony::Triadic:
        return {0, 120, 240};
    case Harmony::SplitComplementary:
        return {0, 150, 210};
    case Harmony::Tetradic:
        return {0, 60, 180, 240};
    case Harmony::Square:
        return {0, 90, 180, 270};
    case Harmony::Monochromatic:
        return {0};
    }
    return {0};
}

namespace {

Swatches monochromatic(Color base)
{
    const OkLch lch = OkLchOf(base);
    // Two steps on each side where they fit; where one side is short, the
    // other takes the steps it cannot, so the spacing stays even.
    int darker = std::min(
        2, static_cast<int>(std::floor((lch.l - MonochromaticDarkest) / MonochromaticStep + 1e-9)));
    darker = std::max(darker, 0);
    int lighter = MonochromaticCount - 1 - darker;
    if (lch.l + lighter * MonochromaticStep > MonochromaticLightest) {
        lighter = std::max(0, static_cast<int>(std::floor(
                                  (MonochromaticLightest - lch.l) / MonochromaticStep + 1e-9)));
        darker = MonochromaticCount - 1 - lighter;
    }
    Swatches swatches;
    for (int k = -darker; k <= lighter; ++k) {
        if (k == 0) {
            swatches.append(baseSwatch(base, BaseLabel));
            continue;
        }
        const OkLch wanted{lch.l + k * MonochromaticStep, lch.c, lch.h};
        swatches.append(MappedSwatch(wanted, QStringLiteral("L ") + percentText(wanted.l)));
    }
    return swatches;
}

} // namespace

Swatches Harmonize(Color base, Harmony harmony, double analogousAngle)
{
    if (harmony == Harmony::Monochromatic)
        return monochromatic(base);
    const OkLch lch = OkLchOf(base);
    Swatches swatches;
    for (const double offset : HueOffsets(harmony, analogousAngle)) {
        if (offset == 0) {
            swatches.append(baseSwatch(base, BaseLabel));
            continue;
        }
        const OkLch wanted{lch.l, lch.c, colorscience::NormalizeHue(lch.h + offset)};
        swatches.append(MappedSwatch(wanted, degreesText(offset)));
    }
    return swatches;
}

// ---- Variations and mixing ----

QString VariationName(Variation variation)
{
    switch (variation) {
    case Variation::Tints:
        return QStringLiteral("Tints");
    case Variation::Shades:
        return QStringLiteral("Shades");
    case Variation::Tones:
        return QStringLiteral("Tones");
    }
    return {};
}

Swatches Vary(Color base, Variation variation, int steps)
{
    steps = std::clamp(steps, MinSteps, MaxSteps);
    const OkLab lab = colorscience::ToOkLab(base);
    OkLab target;
    QString word;
    switch (variation) {
    case Variation::Tints:
        target = colorscience::ToOkLab(bascommon::White);
        word = QStringLiteral("Tint ");
        break;
    case Variation::Shades:
        target = OkLab{0, 0, 0};
        word = QStringLiteral("Shade ");
        break;
    case Variation::Tones:
        target = OkLab{lab.l, 0, 0};
        word = QStringLiteral("Tone ");
        break;
    }
    Swatches swatches{baseSwatch(base, BaseLabel)};
    for (int i = 1; i < steps; ++i) {
        const double fraction = double(i) / steps;
        swatches.append(swatchOfLab(colorscience::Interpolate(lab, target, fraction),
                                    word + percentText(fraction)));
    }
    return swatches;
}

QString MixSpaceName(MixSpace space)
{
    switch (space) {
    case MixSpace::OkLab:
        return QStringLiteral("OKLab");
    case MixSpace::Srgb:
        return QStringLiteral("sRGB");
    case MixSpace::OkLch:
        return QStringLiteral("OKLCh");
    }
    return {};
}

double InterpolateHue(double from, double to, double fraction)
{
    double difference = colorscience::NormalizeHue(to - from);
    if (difference > 180)
        difference -= 360;
    return colorscience::NormalizeHue(from + difference * fraction);
}

Swatches Mix(Color from, Color to, MixSpace space, int steps)
{
    steps = std::clamp(steps, MinSteps, MaxSteps);
    Swatches swatches{baseSwatch(from, percentText(0))};
    const OkLab fromLab = colorscience::ToOkLab(from);
    const OkLab toLab = colorscience::ToOkLab(to);
    const colorscience::Srgb fromRgb = colorscience::ToSrgb(from);
    const colorscience::Srgb toRgb = colorscience::ToSrgb(to);
    OkLch fromLch = OkLchOf(from);
    OkLch toLch = OkLchOf(to);
    if (fromLch.c < GreyChroma)
        fromLch.h = toLch.h;
    if (toLch.c < GreyChroma)
        toLch.h = fromLch.h;

    for (int i = 1; i < steps - 1; ++i) {
        const double fraction = double(i) / (steps - 1);
        const QString label = percentText(fraction);
        switch (space) {
        case MixSpace::OkLab:
            swatches.append(
                swatchOfLab(colorscience::Interpolate(fromLab, toLab, fraction), label));
            break;
        case MixSpace::Srgb: {
            // Between two colours inside the cube: always inside it.
            const colorscience::Srgb mixed{lerp(fromRgb.r, toRgb.r, fraction),
                                           lerp(fromRgb.g, toRgb.g, fraction),
                                           lerp(fromRgb.b, toRgb.b, fraction)};
            swatches.append(ExactSwatch(colorscience::ToColor(mixed),
                                        colorscience::ToOkLch(colorscience::ToOkLab(mixed)),
                                        label));
            break;
        }
        case MixSpace::OkLch:
            swatches.append(MappedSwatch({lerp(fromLch.l, toLch.l, fraction),
                                          lerp(fromLch.c, toLch.c, fraction),
                                          InterpolateHue(fromLch.h, toLch.h, fraction)},
                                         label));
            break;
        }
    }
    swatches.append(ExactSwatch(to, OkLchOf(to), percentText(1)));
    return swatches;
}

// ---- Design-system ramp ----

std::array<double, RampLength> RampLightness(double baseLightness, int& baseStep)
{
    constexpr int Last = RampLength - 1;
    const double evenSpacing = (RampTopLightness - RampBottomLightness) / Last;
    const int i = std::clamp(
        static_cast<int>(std::lround((RampTopLightness - baseLightness) / evenSpacing)), 0, Last);
    // The spacing whose ladder through the colour at step i has its ends
    // nearest (least squares) to the top and bottom lightness.
    double spacing = (i * (RampTopLightness - baseLightness) +
                      (Last - i) * (baseLightness - RampBottomLightness)) /
                     (i * i + (Last - i) * (Last - i));
    if (i > 0)
        spacing = std::min(spacing, (RampCeiling - baseLightness) / i);
    if (i < Last)
        spacing = std::min(spacing, (baseLightness - RampFloor) / (Last - i));
    // Neither bound bites below zero: step i is the nearest, so the colour
    // lies well inside them whenever there are steps on that side.
    spacing = std::max(spacing, 0.0);
    std::array<double, RampLength> lightness{};
    for (int j = 0; j < RampLength; ++j)
        lightness[std::size_t(j)] = baseLightness + (i - j) * spacing;
    baseStep = i;
    return lightness;
}

Ramp DesignRamp(Color base)
{
    constexpr int Last = RampLength - 1;
    const OkLch lch = OkLchOf(base);
    Ramp ramp;
    const std::array<double, RampLength> lightness = RampLightness(lch.l, ramp.baseStep);
    const int i = ramp.baseStep;
    for (int j = 0; j < RampLength; ++j) {
        const QString label = QString::number(RampStepNames[std::size_t(j)]);
        if (j == i) {
            ramp.steps.append(baseSwatch(base, label));
            continue;
        }
        // The share of the way from the colour's step to the end on its side.
        double share;
        if (j < i) {
            const double u = double(i - j) / i;
            share = RampLightEndChroma + (1 - RampLightEndChroma) * std::pow(1 - u, 1.5);
        } else {
            const double u = double(j - i) / (Last - i);
            share = RampDarkEndChroma + (1 - RampDarkEndChroma) * (1 - u * u);
        }
        ramp.steps.append(MappedSwatch({lightness[std::size_t(j)], lch.c * share, lch.h}, label));
    }
    return ramp;
}

// ---- Contrast-targeted scale ----

namespace {

class ContrastLine
{
public:
    ContrastLine(Color base, Color background)
        : m_lch(OkLchOf(base)), m_background(background),
          m_backgroundLuminance(wcag::RelativeLuminance(background))
    {
    }

    Swatch at(double lightness) const { return MappedSwatch({lightness, m_lch.c, m_lch.h}, {}); }

    // The contrast of the colour at `lightness`, counted only on the wanted
    // side of the background (0 on the other side), so that it grows
    // steadily away from the background.
    double ratioOnSide(const Swatch& swatch, bool darker) const
    {
        const double luminance = wcag::RelativeLuminance(swatch.color);
        if (darker ? luminance > m_backgroundLuminance : luminance < m_backgroundLuminance)
            return 0;
        return wcag::ContrastRatio(swatch.color, m_background);
    }

    // Bisection for the lightness where the contrast crosses the target:
    // every lightness it keeps has been seen to reach the target, so the
    // answer never falls below it.
    std::optional<std::pair<Swatch, double>> reach(double target, bool darker) const
    {
        // Darker: black reaches the most and lightness 1 the least; lighter
        // the other way round.
        double reaching = darker ? 0 : 1;
        double failing = darker ? 1 : 0;
        Swatch best = at(reaching);
        double bestRatio = ratioOnSide(best, darker);
        if (bestRatio < target)
            return std::nullopt;
        const Swatch far = at(failing);
        if (const double ratio = ratioOnSide(far, darker); ratio >= target)
            return std::pair{far, ratio};
        for (int iteration = 0; iteration < 40 && std::abs(failing - reaching) > 1e-7;
             ++iteration) {
            const double middle = (reaching + failing) / 2;
            const Swatch candidate = at(middle);
            const double ratio = ratioOnSide(candidate, darker);
            if (ratio >= target) {
                reaching = middle;
                best = candidate;
                bestRatio = ratio;
            } else {
                failing = middle;
            }
        }
        return std::pair{best, bestRatio};
    }

    double maximum(bool darker) const { return ratioOnSide(at(darker ? 0 : 1), darker); }

private:
    OkLch m_lch;
    Color m_background;
    double m_backgroundLuminance;
};

QString targetText(double target)
{
    return QString::number(target, 'g', 6) + QStringLiteral(":1");
}

} // namespace

ContrastScale ContrastTargets(Color base, Color background, const QList<double>& targets)
{
    const ContrastLine line(base, background);
    ContrastScale scale;
    scale.darkerMaximum = line.maximum(true);
    scale.lighterMaximum = line.maximum(false);
    const bool darkerFirst = scale.darkerMaximum >= scale.lighterMaximum;
    for (const double target : targets) {
        ContrastStep step;
        step.target = target;
        for (const bool darker : {darkerFirst, !darkerFirst}) {
            if (const auto found = line.reach(target, darker)) {
                step.reached = true;
                step.swatch = found->first;
                step.ratio = found->second;
                break;
            }
        }
        step.swatch.label = targetText(target);
        step.swatch.detail = step.reached ? AchievedRatioText(step.ratio) : QStringLiteral("none");
        scale.steps.append(step);
    }
    return scale;
}

QList<double> ParseTargets(const QString& text, QString* problem)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    QList<double> targets;
    for (QString word : text.split(separators, Qt::SkipEmptyParts)) {
        if (word.endsWith(QLatin1String(":1")))
            word.chop(2);
        bool ok = false;
        const double ratio = word.toDouble(&ok);
        if (!ok || !std::isfinite(ratio) || ratio < MinContrast || ratio > MaxContrast) {
            if (problem)
                *problem = QLatin1Char('"') + word +
                           QStringLiteral("\" is not a contrast ratio: give ratios from 1 to 21, "
                                          "such as 4.5.");
            return {};
        }
        if (targets.size() == MaxSteps) {
            if (problem)
                *problem = QStringLiteral("Give at most %1 ratios.").arg(MaxSteps);
            return {};
        }
        targets.append(ratio);
    }
    if (problem)
        problem->clear();
    return targets;
}

QString AchievedRatioText(double ratio)
{
    return wcag::RatioText(ratio);
}

// ---- Output ----

QList<Color> ColorsOf(const Swatches& swatches)
{
    QList<Color> colors;
    colors.reserve(swatches.size());
    for (const Swatch& swatch : swatches)
        colors.append(swatch.color);
    return colors;
}

double LargestShift(const Swatches& swatches)
{
    double largest = 0;
    for (const Swatch& swatch : swatches)
        largest = std::max(largest, swatch.mappingShift);
    return largest;
}

} // namespace colorgenerator
