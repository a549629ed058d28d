#pragma once

#include "app/bascommon.h"

#include <array>

// A colour as a CSS Color 4 text gives it: a colour space and three
// components in that space's reference units, before any rounding to the
// program's 8-bit colours. The parser produces it, the notations start from
// it, and ToColor is the one way back to 8 bits.
namespace csscolor {

enum class Space {
    Rgb,         // rgb(), hex and named colours: channels 0 to 255
    Hsl,         // hue in degrees, saturation and lightness 0 to 100
    Hwb,         // hue in degrees, whiteness and blackness 0 to 100
    Lab,         // L 0 to 100, a and b
    Lch,         // L 0 to 100, chroma, hue in degrees
    OkLab,       // L 0 to 1, a and b
    OkLch,       // L 0 to 1, chroma, hue in degrees
    Srgb,        // color(srgb): 0 to 1
    SrgbLinear,  // color(srgb-linear)
    DisplayP3,   // color(display-p3)
    A98Rgb,      // color(a98-rgb)
    ProPhotoRgb, // color(prophoto-rgb)
    Rec2020,     // color(rec2020)
    XyzD50,      // color(xyz-d50)
    XyzD65,      // color(xyz-d65) and color(xyz)
};

struct CssColor
{
    Space space = Space::Rgb;
    std::array<double, 3> components{};
    double alpha = 1;
};

// How a component was written. A percentage and a number differ in scale for
// most components (oklch's 100% chroma is 0.4); an angle's unit says how
// many degrees it holds.
enum class Unit { Number, Percent, Degrees, Gradians, Radians, Turns };

// The component in the space's reference units, as CSS Color 4 reads the
// written value: percentages scaled, angles turned into degrees, and the
// clamps it applies when parsing (negative chroma or saturation to 0,
// lightness into its range, rgb() channels into 0..255). `index` is 0, 1 or 2.
double ResolveComponent(Space space, int index, double value, Unit unit);

// The 8-bit colour: a colour inside sRGB converted and rounded, one outside
// it brought in by CSS gamut mapping first. Alpha is not looked at.
// `outside`, when given, tells whether the colour lies outside sRGB by more
// than rounding to 8 bits takes care of (see InsideSrgb).
Color ToColor(const CssColor& color, bool* outside = nullptr);

// True when the colour lies inside sRGB, or so close to it that rounding to
// 8 bits alone brings it in (less than half a step outside).
bool InsideSrgb(const CssColor& color);

// The colour's components in `space`, unrounded. Only the spaces that the
// notations write are offered: Rgb, Hsl, Hwb, Lab, Lch, OkLab, OkLch, Srgb
// and DisplayP3.
CssColor FromColor(Color color, Space space);

} // namespace csscolor
