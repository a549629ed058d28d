#pragma once

#include "app/bascommon.h"
#include "models/notations/CssColor.h"

#include <QString>

// Reads a colour from whatever a designer pastes: any CSS Color 4 colour
// (hex forms, the 148 names, rgb(), hsl(), hwb(), lab(), lch(), oklab(),
// oklch() and color(), in the modern and the legacy comma forms, with
// `none`, percentages and angle units), a CSS declaration around one, the
// colour forms of Flutter, Compose, Android, SwiftUI, UIKit, Qt, .NET, GLSL,
// HLSL and Tailwind, this program's own copy notations, and plain
// "51, 102, 153" or "336699".
//
// Choices where a text could mean two things: #RRGGBBAA is CSS's, with the
// alpha last (Android's #AARRGGBB reads as CSS does); 0x followed by six
// digits is red first, as in Java and on the web; 0x followed by eight is
// Flutter's and Compose's alpha first. The VB (&H00BBGGRR&) and Delphi
// ($00BBGGRR) forms are blue first.
namespace colorparser {

struct ParseResult
{
    bool ok = false;
    Color color = 0;
    // What the text was read as, for a success: "oklch()", "Flutter or
    // Compose Color(0xAARRGGBB)", "CSS named color".
    QString readAs;
    // The colour as the text gives it, before it became 8 bits.
    csscolor::CssColor css;
    double alpha = 1;
    // The colour lay outside sRGB and was brought in by CSS gamut mapping.
    bool gamutMapped = false;
    // For a failure: one sentence or two saying what was understood and why
    // it is no colour. For a success: what the user should know (alpha that
    // was ignored, a colour brought into sRGB), or empty.
    QString message;
};

ParseResult Parse(QStringView text);

// Texts longer than this are refused at once.
constexpr int MaximumLength = 300;

} // namespace colorparser
