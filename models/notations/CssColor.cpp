#include "models/notations/CssColor.h"

#include "models/science/ColorScience.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace csscolor {

using namespace colorscience;

namespace {

// The reference value of 100% for each component, 0 where a percentage is
// not CSS's reading of that component (hues take angles).
constexpr double HundredPercent(Space space, int index)
{
    switch (space) {
    case Space::Rgb:
        return 255;
    case Space::Hsl:
    case Space::Hwb:
        return index == 0 ? 0 : 100;
    case Space::Lab:
        return index == 0 ? 100 : 125;
    case Space::Lch:
        return index == 0 ? 100 : index == 1 ? 150 : 0;
    case Space::OkLab:
        return index == 0 ? 1 : 0.4;
    case Space::OkLch:
        return index == 0 ? 1 : index == 1 ? 0.4 : 0;
    default:
        return 1;
    }
}

constexpr bool IsHue(Space space, int index)
{
    return ((space == Space::Hsl || space == Space::Hwb) && index == 0) ||
           ((space == Space::Lch || space == Space::OkLch) && index == 2);
}

double ToDegrees(double value, Unit unit)
{
    switch (unit) {
    case Unit::Gradians:
        return value * 0.9;
    case Unit::Radians:
        return value * (180 / std::numbers::pi);
    case Unit::Turns:
        return value * 360;
    default:
        return value;
    }
}

// The predefined RGB spaces that only the parser meets.
struct Predefined
{
    double m[3][3];
};

constexpr Predefined A98ToXyz{{
    {573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
    {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
    {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835},
}};
// To the D50 white, as ProPhoto RGB is defined.
constexpr Predefined ProPhotoToXyzD50{{
    {0.79776664490064230, 0.13518129740053308, 0.03134773412839220},
    {0.28807482881940130, 0.71183523424187300, 0.00008993693872564},
    {0.0, 0.0, 0.82510460251046020},
}};
constexpr Predefined Rec2020ToXyz{{
    {63426534.0 / 99577255, 20160776.0 / 139408157, 47086771.0 / 278816314},
    {26158966.0 / 99577255, 472592308.0 / 697040785, 8267143.0 / 139408157},
    {0.0, 19567812.0 / 697040785, 295819943.0 / 278816314},
}};

std::array<double, 3> Multiply(const Predefined& matrix, const std::array<double, 3>& v)
{
    std::array<double, 3> result{};
    for (int i = 0; i < 3; ++i)
        result[std::size_t(i)] =
            matrix.m[i][0] * v[0] + matrix.m[i][1] * v[1] + matrix.m[i][2] * v[2];
    return result;
}

template <typename Curve>
std::array<double, 3> Linearise(const std::array<double, 3>& v, Curve curve)
{
    return {curve(v[0]), curve(v[1]), curve(v[2])};
}

double A98Linear(double v)
{
    return std::copysign(std::pow(std::abs(v), 563.0 / 256), v);
}

double ProPhotoLinear(double v)
{
    const double magnitude = std::abs(v);
    return magnitude <= 16.0 / 512 ? v / 16 : std::copysign(std::pow(magnitude, 1.8), v);
}

double Rec2020Linear(double v)
{
    constexpr double Alpha = 1.09929682680944;
    constexpr double Beta = 0.018053968510807;
    const double magnitude = std::abs(v);
    if (magnitude < Beta * 4.5)
        return v / 4.5;
    return std::copysign(std::pow((magnitude + Alpha - 1) / Alpha, 1 / 0.45), v);
}

// The sRGB family needs no trip through XYZ.
Srgb ToSrgbDirect(const CssColor& color);

XyzD65 Xyz(const std::array<double, 3>& v)
{
    return {v[0], v[1], v[2]};
}

// Every space that is not sRGB itself reaches sRGB through XYZ D65.
XyzD65 ToXyz(const CssColor& color)
{
    const auto& c = color.components;
    switch (color.space) {
    case Space::Lab:
        return ToXyzD65(ToXyzD50(Lab{c[0], c[1], c[2]}));
    case Space::Lch:
        return ToXyzD65(ToXyzD50(ToLab(Lch{c[0], c[1], c[2]})));
    case Space::OkLab:
        return ToXyzD65(OkLab{c[0], c[1], c[2]});
    case Space::OkLch:
        return ToXyzD65(ToOkLab(OkLch{c[0], c[1], c[2]}));
    case Space::SrgbLinear:
        return ToXyzD65(LinearSrgb{c[0], c[1], c[2]});
    case Space::DisplayP3:
        return ToXyzD65(ToLinear(colorscience::DisplayP3{c[0], c[1], c[2]}));
    case Space::A98Rgb:
        return Xyz(Multiply(A98ToXyz, Linearise(c, A98Linear)));
    case Space::ProPhotoRgb: {
        const auto d50 = Multiply(ProPhotoToXyzD50, Linearise(c, ProPhotoLinear));
        return ToXyzD65(colorscience::XyzD50{d50[0], d50[1], d50[2]});
    }
    case Space::Rec2020:
        return Xyz(Multiply(Rec2020ToXyz, Linearise(c, Rec2020Linear)));
    case Space::XyzD50:
        return ToXyzD65(colorscience::XyzD50{c[0], c[1], c[2]});
    case Space::XyzD65:
        return Xyz(c);
    default:
        return ToXyzD65(ToLinear(ToSrgbDirect(color)));
    }
}

Srgb ToSrgbDirect(const CssColor& color)
{
    const auto& c = color.components;
    switch (color.space) {
    case Space::Rgb:
        return {c[0] / 255, c[1] / 255, c[2] / 255};
    case Space::Hsl:
        return ToSrgb(Hsl{c[0], c[1] / 100, c[2] / 100});
    case Space::Hwb:
        return ToSrgb(Hwb{c[0], c[1] / 100, c[2] / 100});
    case Space::Srgb:
        return {c[0], c[1], c[2]};
    default:
        return ToEncoded(ToLinearSrgb(ToXyz(color)));
    }
}

} // namespace

double ResolveComponent(Space space, int index, double value, Unit unit)
{
    double result = value;
    if (IsHue(space, index)) {
        result = ToDegrees(value, unit);
    } else if (unit == Unit::Percent) {
        result = value / 100 * HundredPercent(space, index);
    }
    switch (space) {
    case Space::Rgb:
        return std::clamp(result, 0.0, 255.0);
    case Space::Hsl:
        return index == 1 ? std::max(result, 0.0) : result;
    case Space::Lab:
        return index == 0 ? std::clamp(result, 0.0, 100.0) : result;
    case Space::Lch:
        return index == 0   ? std::clamp(result, 0.0, 100.0)
               : index == 1 ? std::max(result, 0.0)
                            : result;
    case Space::OkLab:
        return index == 0 ? std::clamp(result, 0.0, 1.0) : result;
    case Space::OkLch:
        return index == 0   ? std::clamp(result, 0.0, 1.0)
               : index == 1 ? std::max(result, 0.0)
                            : result;
    default:
        return result;
    }
}

namespace {

// Less than half an 8-bit step outside rounds to the edge anyway; in linear
// light the same bounds through the curve, which is monotonic.
constexpr double Noise = 0.5 / 255;

bool NearSrgb(const Srgb& c)
{
    const auto inside = [](double v) { return v >= -Noise && v <= 1 + Noise; };
    return inside(c.r) && inside(c.g) && inside(c.b);
}

bool NearSrgb(const LinearSrgb& c)
{
    static const double low = ToLinear(-Noise);
    static const double high = ToLinear(1 + Noise);
    const auto inside = [](double v) { return v >= low && v <= high; };
    return inside(c.r) && inside(c.g) && inside(c.b);
}

} // namespace

bool InsideSrgb(const CssColor& color)
{
    bool outside = false;
    ToColor(color, &outside);
    return !outside;
}

Color ToColor(const CssColor& color, bool* outside)
{
    switch (color.space) {
    case Space::Rgb:
    case Space::Hsl:
    case Space::Hwb:
    case Space::Srgb: {
        const Srgb srgb = ToSrgbDirect(color);
        if (outside)
            *outside = !NearSrgb(srgb);
        if (InGamut(srgb))
            return colorscience::ToColor(srgb);
        break;
    }
    default: {
        // Tested for the gamut in linear light, which the curve maps onto
        // 0..1 itself; the level comes without evaluating the curve.
        const LinearSrgb linear = ToLinearSrgb(ToXyz(color));
        if (outside)
            *outside = !NearSrgb(linear);
        if (InGamut(linear))
            return colorscience::ToColor(linear);
        break;
    }
    }
    return colorscience::ToColor(GamutMapToSrgb(ToOkLch(ToOkLab(ToXyz(color)))));
}

CssColor FromColor(Color color, Space space)
{
    CssColor result;
    result.space = space;
    auto& c = result.components;
    switch (space) {
    case Space::Rgb:
        c = {double(bascommon::GetRed(color)), double(bascommon::GetGreen(color)),
             double(bascommon::GetBlue(color))};
        break;
    case Space::Hsl: {
        const Hsl hsl = ToHsl(ToSrgb(color));
        c = {hsl.h, hsl.s * 100, hsl.l * 100};
        break;
    }
    case Space::Hwb: {
        const Hwb hwb = ToHwb(ToSrgb(color));
        c = {hwb.h, hwb.w * 100, hwb.b * 100};
        break;
    }
    case Space::Lab: {
        const Lab lab = ToLab(color);
        c = {lab.l, lab.a, lab.b};
        break;
    }
    case Space::Lch: {
        const Lch lch = ToLch(ToLab(color));
        c = {lch.l, lch.c, lch.h};
        break;
    }
    case Space::OkLab: {
        const OkLab ok = ToOkLab(color);
        c = {ok.l, ok.a, ok.b};
        break;
    }
    case Space::OkLch: {
        const OkLch ok = ToOkLch(ToOkLab(color));
        c = {ok.l, ok.c, ok.h};
        break;
    }
    case Space::DisplayP3: {
        const colorscience::DisplayP3 p3 = ToEncoded(ToLinearP3(ToXyzD65(ToLinearSrgb(color))));
        c = {p3.r, p3.g, p3.b};
        break;
    }
    default: {
        const Srgb srgb = ToSrgb(color);
        c = {srgb.r, srgb.g, srgb.b};
        result.space = Space::Srgb;
        break;
    }
    }
    return result;
}

} // namespace csscolor
