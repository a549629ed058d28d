#pragma once

#include "app/bascommon.h"

// The colour spaces of CSS Color Module Level 4 and the conversions between
// them, with the formulas and matrices that module publishes, so that every
// number this program writes is the one a browser reads back.
//
// Each space has its own value type, so a conversion is chosen by the type it
// is given: ToXyzD65(LinearSrgb) and ToXyzD65(LinearP3) are different matrices,
// and an sRGB triple can never be handed where a Display P3 one is expected.
// Hues are in degrees, 0 up to (not including) 360, on CSS's origin: red is 0.
// Values outside a space's gamut pass through every conversion unclipped
// (the transfer curves are extended by symmetry); only ToColor, Clip and
// GamutMap bring a colour into gamut.
namespace colorscience {

// Gamma-encoded RGB, 0 to 1 inside the gamut.
struct Srgb
{
    double r = 0, g = 0, b = 0;
};
struct DisplayP3
{
    double r = 0, g = 0, b = 0;
};

// Linear-light RGB of the same two spaces.
struct LinearSrgb
{
    double r = 0, g = 0, b = 0;
};
struct LinearP3
{
    double r = 0, g = 0, b = 0;
};

// CIE XYZ relative to the D65 white (sRGB's, Display P3's, OKLab's) or to the
// D50 white (CIE Lab's); Y of the white is 1.
struct XyzD65
{
    double x = 0, y = 0, z = 0;
};
struct XyzD50
{
    double x = 0, y = 0, z = 0;
};

// CIE Lab (D50): L 0 to 100, a and b about -125 to 125 for real colours.
struct Lab
{
    double l = 0, a = 0, b = 0;
};
struct Lch
{
    double l = 0, c = 0, h = 0;
};

// OKLab: L 0 to 1, a and b about -0.4 to 0.4.
struct OkLab
{
    double l = 0, a = 0, b = 0;
};
struct OkLch
{
    double l = 0, c = 0, h = 0;
};

// HSL and HWB of sRGB: saturation, lightness, whiteness and blackness 0 to 1.
// HSV (also called HSB) the same, value 0 to 1.
struct Hsl
{
    double h = 0, s = 0, l = 0;
};
struct Hwb
{
    double h = 0, w = 0, b = 0;
};
struct Hsv
{
    double h = 0, s = 0, v = 0;
};

// The sRGB transfer curve (Display P3 uses the same), extended to negative
// values by mirroring.
double ToLinear(double encoded);
double ToEncoded(double linear);

// The same transfer on one 8-bit channel, as WCAG 2.2 linearises it for
// relative luminance, and back: clamped to 0..1, encoded and rounded to the
// nearest channel value, ties to even.
double ChannelToLinear(int channel);
int LinearToChannel(double linear);

LinearSrgb ToLinear(const Srgb& color);
Srgb ToEncoded(const LinearSrgb& color);
LinearP3 ToLinear(const DisplayP3& color);
DisplayP3 ToEncoded(const LinearP3& color);

XyzD65 ToXyzD65(const LinearSrgb& color);
XyzD65 ToXyzD65(const LinearP3& color);
XyzD65 ToXyzD65(const XyzD50& color); // Bradford
XyzD65 ToXyzD65(const OkLab& color);
XyzD50 ToXyzD50(const XyzD65& color); // Bradford
XyzD50 ToXyzD50(const Lab& color);
LinearSrgb ToLinearSrgb(const XyzD65& color);
LinearP3 ToLinearP3(const XyzD65& color);

Lab ToLab(const XyzD50& color);
Lab ToLab(const Lch& color);
Lch ToLch(const Lab& color);
OkLab ToOkLab(const XyzD65& color);
OkLab ToOkLab(const OkLch& color);
OkLch ToOkLch(const OkLab& color);

// A grey has no hue; it is given as 0.
Hsl ToHsl(const Srgb& color);
Hwb ToHwb(const Srgb& color);
Hsv ToHsv(const Srgb& color);
Srgb ToSrgb(const Hsl& color);
Srgb ToSrgb(const Hwb& color);
Srgb ToSrgb(const Hsv& color);

// The whole way between the spaces a designer names, through XYZ.
OkLab ToOkLab(const Srgb& color);
OkLab ToOkLab(const DisplayP3& color);
OkLab ToOkLab(const Lab& color);
Lab ToLab(const Srgb& color);
Lab ToLab(const OkLab& color);
DisplayP3 ToDisplayP3(const Srgb& color);
DisplayP3 ToDisplayP3(const OkLab& color);
Srgb ToSrgb(const DisplayP3& color);
Srgb ToSrgb(const OkLab& color);
Srgb ToSrgb(const Lab& color);

// The program's 8-bit colours: each channel over 255, and back by clipping
// to 0..1 and rounding to the nearest of the 256 levels, halves upwards as
// browsers round. The linear values of the 256 levels come from a table.
Srgb ToSrgb(Color color);
LinearSrgb ToLinearSrgb(Color color);
OkLab ToOkLab(Color color);
Lab ToLab(Color color);
Color ToColor(const Srgb& color);
// The same for linear light, without evaluating the curve: each of the 255
// boundaries between levels is found once, from the curve itself, so the
// result is the one ToColor(ToEncoded(color)) gives.
Color ToColor(const LinearSrgb& color);

// Difference in OKLab: the Euclidean distance, 0 for equal colours, about 1
// between black and white. 0.02 is CSS's just-noticeable difference.
double DeltaEOK(const OkLab& first, const OkLab& second);
constexpr double JustNoticeableDeltaEOK = 0.02;

// Inside the gamut when every channel lies in 0..1, exactly.
bool InGamut(const Srgb& color);
bool InGamut(const LinearSrgb& color);
bool InGamut(const DisplayP3& color);
Srgb Clip(const Srgb& color);
DisplayP3 Clip(const DisplayP3& color);

// CSS Color 4's gamut mapping: a colour outside the gamut keeps its OKLCh
// lightness and hue and loses chroma, by binary search, until clipping what
// is left moves it by less than the just-noticeable difference. Lightness of
// 1 or more gives white, of 0 or less black.
Srgb GamutMapToSrgb(const OkLch& color);
DisplayP3 GamutMapToDisplayP3(const OkLch& color);

// The colour `fraction` of the way from `from` to `to` (0 gives `from`),
// straight through OKLab.
OkLab Interpolate(const OkLab& from, const OkLab& to, double fraction);

// A hue brought into 0 up to (not including) 360.
double NormalizeHue(double degrees);

} // namespace colorscience
