#include "models/science/ColorScience.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cmath>
#include <numbers>
#include <type_traits>

namespace colorscience {

namespace {

struct Matrix
{
    double m[3][3];
};

struct Triple
{
    double a, b, c;
};

// Rows times the column, each sum from left to right: the order of CSS
// Color 4's own code, so the results agree with it to the last bit.
Triple Multiply(const Matrix& matrix, const Triple& v)
{
    const auto row = [&](int i) {
        return matrix.m[i][0] * v.a + matrix.m[i][1] * v.b + matrix.m[i][2] * v.c;
    };
    return {row(0), row(1), row(2)};
}

// The sRGB and Display P3 matrices are exact ratios computed from the
// spaces' primaries and white; the others are given to 64-bit precision.
constexpr Matrix LinearSrgbToXyz{{
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
}};
constexpr Matrix XyzToLinearSrgb{{
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
}};
constexpr Matrix LinearP3ToXyz{{
    {608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
    {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
    {0.0, 32229.0 / 714400, 5220557.0 / 5000800},
}};
constexpr Matrix XyzToLinearP3{{
    {446124.0 / 178915, -333277.0 / 357830, -72051.0 / 178915},
    {-14852.0 / 17905, 63121.0 / 35810, 423.0 / 17905},
    {11844.0 / 330415, -50337.0 / 660830, 316169.0 / 330415},
}};
constexpr Matrix D65ToD50{{
    {1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
    {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
    {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371},
}};
constexpr Matrix D50ToD65{{
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
}};
constexpr Matrix XyzToLms{{
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
}};
constexpr Matrix LmsToOkLab{{
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
}};
constexpr Matrix LmsToXyz{{
    {1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816},
}};
constexpr Matrix OkLabToLms{{
    {1.0000000000000000, 0.3963377773761749, 0.2158037573099136},
    {1.0000000000000000, -0.1055613458156586, -0.0638541728258133},
    {1.0000000000000000, -0.0894841775298119, -1.2914855480194092},
}};

// The D50 white from its four-figure chromaticity, as CIE Lab uses it.
constexpr double D50White[3] = {0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
constexpr double LabEpsilon = 216.0 / 24389; // 6^3 / 29^3
constexpr double LabKappa = 24389.0 / 27;    // 29^3 / 3^3

constexpr double DegreesPerRadian = 180 / std::numbers::pi;

template <typename T> Triple AsTriple(const T& value)
{
    const auto& [a, b, c] = value;
    return {a, b, c};
}

template <typename T> T FromTriple(const Triple& value)
{
    return T{value.a, value.b, value.c};
}

template <typename To, typename From> To Apply(const Matrix& matrix, const From& value)
{
    return FromTriple<To>(Multiply(matrix, AsTriple(value)));
}

template <typename To, typename From, typename Function>
To EachChannel(const From& value, Function function)
{
    const Triple t = AsTriple(value);
    return FromTriple<To>({function(t.a), function(t.b), function(t.c)});
}

// Polar form of a (a, b) plane: chroma and hue in degrees.
template <typename Polar, typename Rectangular> Polar ToPolar(const Rectangular& color)
{
    const double hue = std::atan2(color.b, color.a) * DegreesPerRadian;
    return Polar{color.l, std::sqrt(color.a * color.a + color.b * color.b), NormalizeHue(hue)};
}

template <typename Rectangular, typename Polar> Rectangular ToRectangular(const Polar& color)
{
    const double radians = color.h / DegreesPerRadian;
    return Rectangular{color.l, color.c * std::cos(radians), color.c * std::sin(radians)};
}

// The tables below are built on first use rather than when the program
// loads: a start that converts no colour (a pick handed to the running
// instance, the first paint of a window) does not wait for them. Local
// statics, so that the first uses from two threads build them once.
const std::array<double, 256>& LinearLevels()
{
    static const std::array<double, 256> levels = [] {
        std::array<double, 256> built{};
        for (int level = 0; level < 256; ++level)
            built[std::size_t(level)] = ToLinear(level / 255.0);
        return built;
    }();
    return levels;
}

int ToLevel(double channel)
{
    // NaN fails both comparisons and ends as 0.
    if (!(channel > 0))
        return 0;
    if (channel >= 1)
        return 255;
    // Positive, so truncation is the floor.
    return static_cast<int>(channel * 255 + 0.5);
}

// boundaries[k] is the smallest linear value that ToLevel(ToEncoded(value))
// takes to level k or above, found by bisection over the doubles of 0..1
// (whose bit patterns are ordered as their values). firstLevelOfBucket says
// where to start looking: for each of 1024 equal steps of the square root
// of a linear value (which spreads the levels nearly evenly, as the curve
// does), the lowest level found in it. A step holds at most a few levels.
constexpr int Buckets = 1024;
struct LevelSearch
{
    std::array<double, 256> boundaries{};
    std::array<std::uint8_t, Buckets + 1> firstLevelOfBucket{};
};

const LevelSearch& LevelSearchTables()
{
    static const LevelSearch tables = [] {
        LevelSearch built;
        for (int level = 1; level < 256; ++level) {
            std::uint64_t below = 0; // bits of 0.0
            std::uint64_t atOrAbove = std::bit_cast<std::uint64_t>(1.0);
            while (atOrAbove - below > 1) {
                const std::uint64_t middle = below + (atOrAbove - below) / 2;
                if (ToLevel(ToEncoded(std::bit_cast<double>(middle))) >= level)
                    atOrAbove = middle;
                else
                    below = middle;
            }
            built.boundaries[std::size_t(level)] = std::bit_cast<double>(atOrAbove);
        }
        built.boundaries[0] = -HUGE_VAL;
        int level = 0;
        for (int bucket = 0; bucket <= Buckets; ++bucket) {
            const double start = double(bucket) / Buckets;
            const double linear = start * start;
            while (level < 255 && built.boundaries[std::size_t(level + 1)] <= linear)
                ++level;
            built.firstLevelOfBucket[std::size_t(bucket)] = std::uint8_t(level);
        }
        return built;
    }();
    return tables;
}

int LinearToLevel(double linear)
{
    const LevelSearch& tables = LevelSearchTables();
    // NaN fails the comparison too.
    if (!(linear >= tables.boundaries[1]))
        return 0;
    if (linear >= 1)
        return 255;
    // One level lower than the bucket's first, so that a root rounded up
    // by its last bit cannot start the walk above the answer.
    int level =
        std::max(0, tables.firstLevelOfBucket[std::size_t(std::sqrt(linear) * Buckets)] - 1);
    while (level < 255 && tables.boundaries[std::size_t(level + 1)] <= linear)
        ++level;
    return level;
}

// Hue in degrees of the largest channel's sector, as CSS Color 4 computes it
// for HSL and HWB; 0 for a grey.
double SectorHue(double r, double g, double b, double max, double min)
{
    const double d = max - min;
    if (d == 0)
        return 0;
    double hue;
    if (max == r)
        hue = (g - b) / d + (g < b ? 6 : 0);
    else if (max == g)
        hue = (b - r) / d + 2;
    else
        hue = (r - g) / d + 4;
    return hue * 60;
}

template <typename Rgb> bool InsideUnitCube(const Rgb& color)
{
    return color.r >= 0 && color.r <= 1 && color.g >= 0 && color.g <= 1 && color.b >= 0 &&
           color.b <= 1;
}

template <typename Rgb> Rgb ClipToUnitCube(const Rgb& color)
{
    return EachChannel<Rgb>(color, [](double v) { return std::clamp(v, 0.0, 1.0); });
}

OkLab ToOkLabOf(const Srgb& color)
{
    return ToOkLab(color);
}
OkLab ToOkLabOf(const DisplayP3& color)
{
    return ToOkLab(color);
}

template <typename Rgb> Rgb ToRgbSpace(const OkLab& color)
{
    if constexpr (std::is_same_v<Rgb, Srgb>)
        return ToSrgb(color);
    else
        return ToDisplayP3(color);
}

template <typename Rgb> Rgb GamutMap(const OkLch& origin)
{
    if (origin.l >= 1)
        return Rgb{1, 1, 1};
    if (origin.l <= 0)
        return Rgb{0, 0, 0};
    const Rgb destination = ToRgbSpace<Rgb>(ToOkLab(origin));
    if (InsideUnitCube(destination))
        return destination;

    constexpr double Epsilon = 0.0001;
    OkLch current = origin;
    Rgb clipped = ClipToUnitCube(destination);
    double difference = DeltaEOK(ToOkLabOf(clipped), ToOkLab(current));
    if (difference < JustNoticeableDeltaEOK)
        return clipped;

    double min = 0;
    double max = origin.c;
    bool minInGamut = true;
    while (max - min > Epsilon) {
        const double chroma = (min + max) / 2;
        current.c = chroma;
        const Rgb candidate = ToRgbSpace<Rgb>(ToOkLab(current));
        if (minInGamut && InsideUnitCube(candidate)) {
            min = chroma;
            continue;
        }
        clipped = ClipToUnitCube(candidate);
        difference = DeltaEOK(ToOkLabOf(clipped), ToOkLab(current));
        if (difference < JustNoticeableDeltaEOK) {
            if (JustNoticeableDeltaEOK - difference < Epsilon)
                return clipped;
            minInGamut = false;
            min = chroma;
        } else {
            max = chroma;
        }
    }
    return clipped;
}

} // namespace

double ToLinear(double encoded)
{
    const double magnitude = std::abs(encoded);
    if (magnitude <= 0.04045)
        return encoded / 12.92;
    return std::copysign(std::pow((magnitude + 0.055) / 1.055, 2.4), encoded);
}

double ToEncoded(double linear)
{
    const double magnitude = std::abs(linear);
    if (magnitude > 0.0031308)
        return std::copysign(1.055 * std::pow(magnitude, 1 / 2.4) - 0.055, linear);
    return 12.92 * linear;
}

namespace {

// Built on first use, as the level tables are.
const std::array<double, 256>& ChannelLinearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> built{};
        for (int channel = 0; channel < 256; ++channel)
            built[static_cast<std::size_t>(channel)] = ToLinear(channel / 255.0);
        return built;
    }();
    return table;
}

} // namespace

double ChannelToLinear(int channel)
{
    return ChannelLinearTable()[static_cast<std::size_t>(std::clamp(channel, 0, 255))];
}

int LinearToChannel(double linear)
{
    const double encoded = ToEncoded(std::clamp(linear, 0.0, 1.0));
    return std::clamp(static_cast<int>(std::nearbyint(encoded * 255.0)), 0, 255);
}

LinearSrgb ToLinear(const Srgb& color)
{
    return EachChannel<LinearSrgb>(color, [](double v) { return ToLinear(v); });
}
Srgb ToEncoded(const LinearSrgb& color)
{
    return EachChannel<Srgb>(color, [](double v) { return ToEncoded(v); });
}
LinearP3 ToLinear(const DisplayP3& color)
{
    return EachChannel<LinearP3>(color, [](double v) { return ToLinear(v); });
}
DisplayP3 ToEncoded(const LinearP3& color)
{
    return EachChannel<DisplayP3>(color, [](double v) { return ToEncoded(v); });
}

XyzD65 ToXyzD65(const LinearSrgb& color)
{
    return Apply<XyzD65>(LinearSrgbToXyz, color);
}
XyzD65 ToXyzD65(const LinearP3& color)
{
    return Apply<XyzD65>(LinearP3ToXyz, color);
}
XyzD65 ToXyzD65(const XyzD50& color)
{
    return Apply<XyzD65>(D50ToD65, color);
}
XyzD50 ToXyzD50(const XyzD65& color)
{
    return Apply<XyzD50>(D65ToD50, color);
}
LinearSrgb ToLinearSrgb(const XyzD65& color)
{
    return Apply<LinearSrgb>(XyzToLinearSrgb, color);
}
LinearP3 ToLinearP3(const XyzD65& color)
{
    return Apply<LinearP3>(XyzToLinearP3, color);
}

Lab ToLab(const XyzD50& color)
{
    const auto f = [](double value, double white) {
        const double scaled = value / white;
        return scaled > LabEpsilon ? std::cbrt(scaled) : (LabKappa * scaled + 16) / 116;
    };
    const double fx = f(color.x, D50White[0]);
    const double fy = f(color.y, D50White[1]);
    const double fz = f(color.z, D50White[2]);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

XyzD50 ToXyzD50(const Lab& color)
{
    const double fy = (color.l + 16) / 116;
    const double fx = color.a / 500 + fy;
    const double fz = fy - color.b / 200;
    const auto inverse = [](double f) {
        const double cube = f * f * f;
        return cube > LabEpsilon ? cube : (116 * f - 16) / LabKappa;
    };
    const double y = color.l > LabKappa * LabEpsilon ? fy * fy * fy : color.l / LabKappa;
    return {inverse(fx) * D50White[0], y * D50White[1], inverse(fz) * D50White[2]};
}

Lch ToLch(const Lab& color)
{
    return ToPolar<Lch>(color);
}
Lab ToLab(const Lch& color)
{
    return ToRectangular<Lab>(color);
}

OkLab ToOkLab(const XyzD65& color)
{
    const Triple lms = Multiply(XyzToLms, AsTriple(color));
    return FromTriple<OkLab>(
        Multiply(LmsToOkLab, {std::cbrt(lms.a), std::cbrt(lms.b), std::cbrt(lms.c)}));
}

XyzD65 ToXyzD65(const OkLab& color)
{
    const Triple lms = Multiply(OkLabToLms, AsTriple(color));
    return FromTriple<XyzD65>(
        Multiply(LmsToXyz, {lms.a * lms.a * lms.a, lms.b * lms.b * lms.b, lms.c * lms.c * lms.c}));
}

OkLch ToOkLch(const OkLab& color)
{
    return ToPolar<OkLch>(color);
}
OkLab ToOkLab(const OkLch& color)
{
    return ToRectangular<OkLab>(color);
}

Hsl ToHsl(const Srgb& color)
{
    const double max = std::max({color.r, color.g, color.b});
    const double min = std::min({color.r, color.g, color.b});
    const double light = (min + max) / 2;
    double hue = SectorHue(color.r, color.g, color.b, max, min);
    double sat = 0;
    if (max != min && light != 0 && light != 1)
        sat = (max - light) / std::min(light, 1 - light);
    // Far outside the gamut the saturation turns negative: the same colour
    // then lies opposite, with a positive one.
    if (sat < 0) {
        hue += 180;
        sat = -sat;
    }
    return {NormalizeHue(hue), sat, light};
}

Srgb ToSrgb(const Hsl& color)
{
    const double hue = NormalizeHue(color.h);
    const auto f = [&](double n) {
        const double k = std::fmod(n + hue / 30, 12);
        const double a = color.s * std::min(color.l, 1 - color.l);
        return color.l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

Hwb ToHwb(const Srgb& color)
{
    const double max = std::max({color.r, color.g, color.b});
    const double min = std::min({color.r, color.g, color.b});
    return {NormalizeHue(SectorHue(color.r, color.g, color.b, max, min)), min, 1 - max};
}

Srgb ToSrgb(const Hwb& color)
{
    if (color.w + color.b >= 1) {
        const double grey = color.w / (color.w + color.b);
        return {grey, grey, grey};
    }
    const Srgb pure = ToSrgb(Hsl{color.h, 1, 0.5});
    const double scale = 1 - color.w - color.b;
    return EachChannel<Srgb>(pure, [&](double v) { return v * scale + color.w; });
}

Hsv ToHsv(const Srgb& color)
{
    const double max = std::max({color.r, color.g, color.b});
    const double min = std::min({color.r, color.g, color.b});
    return {NormalizeHue(SectorHue(color.r, color.g, color.b, max, min)),
            max == 0 ? 0 : (max - min) / max, max};
}

Srgb ToSrgb(const Hsv& color)
{
    // HSV is HWB with whiteness v(1 - s) and blackness 1 - v.
    return ToSrgb(Hwb{color.h, color.v * (1 - color.s), 1 - color.v});
}

OkLab ToOkLab(const Srgb& color)
{
    return ToOkLab(ToXyzD65(ToLinear(color)));
}
OkLab ToOkLab(const DisplayP3& color)
{
    return ToOkLab(ToXyzD65(ToLinear(color)));
}
OkLab ToOkLab(const Lab& color)
{
    return ToOkLab(ToXyzD65(ToXyzD50(color)));
}
Lab ToLab(const Srgb& color)
{
    return ToLab(ToXyzD50(ToXyzD65(ToLinear(color))));
}
Lab ToLab(const OkLab& color)
{
    return ToLab(ToXyzD50(ToXyzD65(color)));
}
DisplayP3 ToDisplayP3(const Srgb& color)
{
    return ToEncoded(ToLinearP3(ToXyzD65(ToLinear(color))));
}
DisplayP3 ToDisplayP3(const OkLab& color)
{
    return ToEncoded(ToLinearP3(ToXyzD65(color)));
}
Srgb ToSrgb(const DisplayP3& color)
{
    return ToEncoded(ToLinearSrgb(ToXyzD65(ToLinear(color))));
}
Srgb ToSrgb(const OkLab& color)
{
    return ToEncoded(ToLinearSrgb(ToXyzD65(color)));
}
Srgb ToSrgb(const Lab& color)
{
    return ToEncoded(ToLinearSrgb(ToXyzD65(ToXyzD50(color))));
}

Srgb ToSrgb(Color color)
{
    return {bascommon::GetRed(color) / 255.0, bascommon::GetGreen(color) / 255.0,
            bascommon::GetBlue(color) / 255.0};
}

LinearSrgb ToLinearSrgb(Color color)
{
    const std::array<double, 256>& levels = LinearLevels();
    return {levels[std::size_t(bascommon::GetRed(color))],
            levels[std::size_t(bascommon::GetGreen(color))],
            levels[std::size_t(bascommon::GetBlue(color))]};
}

OkLab ToOkLab(Color color)
{
    return ToOkLab(ToXyzD65(ToLinearSrgb(color)));
}

Lab ToLab(Color color)
{
    return ToLab(ToXyzD50(ToXyzD65(ToLinearSrgb(color))));
}

Color ToColor(const Srgb& color)
{
    return bascommon::MakeColor(ToLevel(color.r), ToLevel(color.g), ToLevel(color.b));
}

Color ToColor(const LinearSrgb& color)
{
    return bascommon::MakeColor(LinearToLevel(color.r), LinearToLevel(color.g),
                                LinearToLevel(color.b));
}

double DeltaEOK(const OkLab& first, const OkLab& second)
{
    const double dl = first.l - second.l;
    const double da = first.a - second.a;
    const double db = first.b - second.b;
    return std::sqrt(dl * dl + da * da + db * db);
}

bool InGamut(const Srgb& color)
{
    return InsideUnitCube(color);
}
bool InGamut(const LinearSrgb& color)
{
    return InsideUnitCube(color);
}
bool InGamut(const DisplayP3& color)
{
    return InsideUnitCube(color);
}
Srgb Clip(const Srgb& color)
{
    return ClipToUnitCube(color);
}
DisplayP3 Clip(const DisplayP3& color)
{
    return ClipToUnitCube(color);
}

Srgb GamutMapToSrgb(const OkLch& color)
{
    return GamutMap<Srgb>(color);
}
DisplayP3 GamutMapToDisplayP3(const OkLch& color)
{
    return GamutMap<DisplayP3>(color);
}

OkLab Interpolate(const OkLab& from, const OkLab& to, double fraction)
{
    const auto mix = [&](double a, double b) { return a + (b - a) * fraction; };
    return {mix(from.l, to.l), mix(from.a, to.a), mix(from.b, to.b)};
}

double NormalizeHue(double degrees)
{
    if (!std::isfinite(degrees))
        return 0;
    double hue = std::fmod(degrees, 360.0);
    if (hue < 0)
        hue += 360;
    // A tiny negative remainder rounds up to exactly 360.
    return hue >= 360 ? 0 : hue;
}

} // namespace colorscience
