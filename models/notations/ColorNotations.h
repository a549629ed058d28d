#pragma once

#include "app/bascommon.h"
#include "models/notations/CssColor.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// Today's colour notations, each a function from the colour to its text: the
// CSS Color 4 forms and the forms of the languages and frameworks designers
// hand colours to. They stand beside the eleven copy notations of the Edit
// menu and change none of them.
//
// Every CSS form writes just enough decimals that each of the 16,777,216
// colours reads back, through CSS Color 4's own conversion, as exactly the
// same 8-bit colour; trailing zeros are left out.
namespace notations {

enum class Notation : int {
    Hex,       // #369, #336699
    RgbSpace,  // rgb(51 102 153)
    Hsl,       // hsl(210 50% 40%)
    Hwb,       // hwb(210 20% 40%)
    Lab,       // lab(41.52% -4.57 -33.49)
    Lch,       // lch()
    Oklab,     // oklab()
    Oklch,     // oklch()
    Srgb,      // color(srgb 0.2 0.4 0.6)
    DisplayP3, // color(display-p3 ...)
    Flutter,   // Color(0xFF336699)
    Compose,   // Color(0xFF336699)
    Android,   // #FF336699
    SwiftUI,   // Color(red: 0.2, green: 0.4, blue: 0.6)
    UIKit,     // UIColor(red: 0.2, green: 0.4, blue: 0.6, alpha: 1)
    Qt,        // QColor(51, 102, 153)
    DotNet,    // Color.FromArgb(51, 102, 153)
    Glsl,      // vec3(0.2, 0.4, 0.6)
    Hlsl,      // float3(0.2, 0.4, 0.6)
    Tailwind,  // [#336699]
};

constexpr int NotationCount = 20;

constexpr std::array<Notation, NotationCount> AllNotations = [] {
    std::array<Notation, NotationCount> all{};
    for (int i = 0; i < NotationCount; ++i)
        all[std::size_t(i)] = Notation(i);
    return all;
}();

// "Oklch": the name the notation's menu action carries as "fmtOklch" and the
// settings store it under.
QString ShortName(Notation notation);
std::optional<Notation> FromShortName(QStringView shortName);
// "OKLCH", "Jetpack Compose": what the window and the menu call it.
QString Label(Notation notation);
// A CSS notation (the first ten) reads back through the CSS parser.
bool IsCss(Notation notation);

QString Format(Notation notation, Color color);

// ---- How the CSS forms write their numbers, for the tests of exactness ----

// One written number: `mantissa` / 10^`decimals`, with its unit.
struct Written
{
    std::int64_t mantissa = 0;
    int decimals = 0;
    csscolor::Unit unit = csscolor::Unit::Number;
};
using WrittenComponents = std::array<Written, 3>;

// The decimals each component of a CSS notation writes; Hex and RgbSpace
// write whole channels.
std::array<int, 3> Decimals(Notation notation);

// The three numbers that Format writes for a CSS notation, optionally with
// other decimals.
WrittenComponents Write(Notation notation, Color color);
WrittenComponents Write(Notation notation, Color color, const std::array<int, 3>& decimals);

// The colour that a CSS parser reads from those numbers: each is the double
// nearest to the written decimal, resolved as CSS resolves the component.
csscolor::CssColor ReadBack(Notation notation, const WrittenComponents& written);

} // namespace notations
