#pragma once

#include "app/bascommon.h"
#include "models/science/ColorScience.h"

#include <QList>
#include <QString>

#include <array>

// Palettes built around one colour: hue harmonies, tints, shades and tones, a
// mix of two colours, the eleven-step ramp of design systems and a scale of
// colours that reach given contrast ratios against a background.
//
// Every colour is worked out in OKLab or OKLCh, where equal steps look equal,
// and brought into sRGB by the gamut mapping of CSS Color 4: what a step asks
// for may lie outside the screen's colours, and the swatch then says how far
// the colour it shows lies from the one it asked for.
namespace colorgenerator {

struct Swatch
{
    Color color = 0;
    // The colour the step asked for, before it was brought into sRGB and
    // rounded to 8 bits.
    colorscience::OkLch wanted;
    // ΔEOK from `wanted` to `color`: for a colour inside sRGB the rounding to
    // 8 bits alone (a few thousandths, more close to black, where OKLab is
    // steepest); more where gamut mapping took chroma away.
    double mappingShift = 0;
    // What the step is: "+120°", "Tint 40%", "500", "4.5:1"; and, where the
    // step has more to say, a second line (the contrast a colour achieves).
    QString label;
    QString detail;
    // The step is the starting colour itself, unchanged.
    bool isBase = false;
};
using Swatches = QList<Swatch>;

// A swatch showing the colour closest to `wanted` that sRGB holds.
Swatch MappedSwatch(const colorscience::OkLch& wanted, const QString& label);
// A swatch showing `color` itself, with `wanted` what the step asked for.
Swatch ExactSwatch(Color color, const colorscience::OkLch& wanted, const QString& label);
// The OKLCh of an 8-bit colour. A grey's chroma is a rounding error and its
// hue meaningless: both are given as 0.
colorscience::OkLch OkLchOf(Color color);

// ---- Harmonies ----

// Rotations of the hue at the starting colour's OKLCh lightness and chroma;
// monochromatic keeps the hue and chroma and steps the lightness instead.
enum class Harmony : int {
    Complementary,      // 0°, 180°
    Analogous,          // -angle, 0°, +angle
    Triadic,            // 0°, 120°, 240°
    SplitComplementary, // 0°, 150°, 210°
    Tetradic,           // 0°, 60°, 180°, 240°: a rectangle on the wheel
    Square,             // 0°, 90°, 180°, 270°
    Monochromatic,      // two darker, the colour, two lighter
};
constexpr int HarmonyCount = 7;
QString HarmonyName(Harmony harmony);

constexpr double MinAnalogousAngle = 5;
constexpr double MaxAnalogousAngle = 90;
constexpr double DefaultAnalogousAngle = 30;
// The monochromatic harmony: five lightnesses this far apart with the colour
// among them, two on either side where they fit between the lightest and the
// darkest allowed, more on the other side where they do not.
constexpr double MonochromaticStep = 0.1;
constexpr double MonochromaticLightest = 0.98;
constexpr double MonochromaticDarkest = 0.05;
constexpr int MonochromaticCount = 5;

// The hue offsets of a harmony, in degrees, the starting colour's (0) first.
QList<double> HueOffsets(Harmony harmony, double analogousAngle);
// The starting colour first (for monochromatic: in its place from dark to
// light), unchanged; the others gamut-mapped.
Swatches Harmonize(Color base, Harmony harmony, double analogousAngle = DefaultAnalogousAngle);

// ---- Variations and mixing ----

constexpr int MinSteps = 2;
constexpr int MaxSteps = 20;
constexpr int DefaultSteps = 5;

// Towards white, towards black, or towards the grey of the colour's own
// OKLab lightness (a tone loses colourfulness, not lightness).
enum class Variation : int { Tints, Shades, Tones };
constexpr int VariationCount = 3;
QString VariationName(Variation variation);
// `steps` colours (clamped to MinSteps..MaxSteps) from the colour itself
// 0, 1/steps, ... (steps - 1)/steps of the way to the target, straight
// through OKLab: the target itself is left out.
Swatches Vary(Color base, Variation variation, int steps);

enum class MixSpace : int {
    OkLab, // straight through OKLab
    Srgb,  // the gamma-encoded channels, as CSS color-mix(in srgb) does
    OkLch, // lightness, chroma and hue each in turn, the hue the shorter way round
};
constexpr int MixSpaceCount = 3;
QString MixSpaceName(MixSpace space);
// `steps` colours (clamped to MinSteps..MaxSteps) from `from` to `to`, both
// included, at even fractions. A grey has no hue: mixed in OKLCh it takes the
// other colour's, so a mix with grey does not swing through other hues.
Swatches Mix(Color from, Color to, MixSpace space, int steps);
// The hue `fraction` of the shorter way from `from` to `to`.
double InterpolateHue(double from, double to, double fraction);

// ---- Design-system ramp ----

constexpr int RampLength = 11;
constexpr std::array<int, RampLength> RampStepNames = {50,  100, 200, 300, 400, 500,
                                                       600, 700, 800, 900, 950};
// Where the steps' OKLCh lightness lies when the colour's own lightness
// fits the ladder: 50 at the top, 950 at the bottom, evenly between.
constexpr double RampTopLightness = 0.97;
constexpr double RampBottomLightness = 0.27;
// No step is lighter or darker than these unless the colour itself is.
constexpr double RampCeiling = 0.985;
constexpr double RampFloor = 0.15;
// Chroma at the ends, as a share of the colour's own: pale tints are nearly
// grey, the darkest shades keep some colour.
constexpr double RampLightEndChroma = 0.06;
constexpr double RampDarkEndChroma = 0.4;

struct Ramp
{
    Swatches steps;   // 50 first
    int baseStep = 0; // the index of the step that is the colour itself
};
// Lightness in equal steps with the colour on the step nearest its own
// lightness (the ladder's spacing chosen so that its ends come as close as
// they can to RampTopLightness and RampBottomLightness while staying between
// RampFloor and RampCeiling); hue kept; chroma the colour's own on its step,
// tapering towards both ends; every other step gamut-mapped.
Ramp DesignRamp(Color base);
// The lightness of each step, 50 first; `baseStep` receives the colour's step.
std::array<double, RampLength> RampLightness(double baseLightness, int& baseStep);

// ---- Contrast-targeted scale ----

constexpr double MinContrast = 1;
constexpr double MaxContrast = 21;

struct ContrastStep
{
    double target = 0;
    // Set only when some lightness of the colour's hue and chroma reaches
    // the target; `ratio` is then at least `target`.
    bool reached = false;
    Swatch swatch;
    double ratio = 0;
};
struct ContrastScale
{
    QList<ContrastStep> steps; // in the order of the targets
    // The best ratios that a colour of this hue and chroma reaches against
    // the background, lighter and darker than it.
    double lighterMaximum = 1;
    double darkerMaximum = 1;
};
// For each target, the colour of `base`'s OKLCh hue and chroma (chroma
// lowered where sRGB holds less, by gamut mapping) whose lightness brings its
// WCAG 2.2 contrast against `background` closest to the target without going
// below it. The colours lie on the side of the background with more room
// (darker on a light background); a target that only the other side reaches
// is reached there.
ContrastScale ContrastTargets(Color base, Color background, const QList<double>& targets);
// "4.5, 3, 7" or "4.5 3 7" into the ratios, in the order given; each must lie
// within MinContrast..MaxContrast. Empty text gives none. `problem` receives a
// sentence for text that is not such a list.
QList<double> ParseTargets(const QString& text, QString* problem);
constexpr const char* DefaultTargets = "1.5, 3, 4.5, 7, 11";
// The ratio cut, never rounded up, to two decimals: "4.52:1", "21:1".
QString AchievedRatioText(double ratio);

// ---- Output ----

// The colours of the swatches, in order.
QList<Color> ColorsOf(const Swatches& swatches);
// The largest mapping shift of the swatches; 0 for none.
double LargestShift(const Swatches& swatches);

} // namespace colorgenerator
