#pragma once

#include "app/bascommon.h"

#include <QString>

// Contrast of two colours as WCAG 2.2 measures it.
namespace wcag {

// The minimum ratios. Text of at least 18 point, or 14 point bold, counts as
// large. A link told from the body text by its colour alone needs 3:1 against
// that text.
constexpr double AANormal = 4.5;
constexpr double AALarge = 3.0;
constexpr double AAANormal = 7.0;
constexpr double AAALarge = 4.5;
constexpr double LinkAgainstText = 3.0;

// 0.2126 R + 0.7152 G + 0.0722 B of the linearised channels: 0 for black,
// 1 for white.
double RelativeLuminance(Color color);

// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter colour: 1 to 21, in either
// order of the arguments.
double ContrastRatio(Color first, Color second);

// A verdict compares the ratio as computed, never a rounded one.
constexpr bool Passes(double ratio, double minimum)
{
    return ratio >= minimum;
}

struct Verdicts
{
    bool aaNormal = false;
    bool aaLarge = false;
    bool aaaNormal = false;
    bool aaaLarge = false;
};
Verdicts Judge(double ratio);

// The ratio cut (never rounded) to two decimals, trailing zeros left out:
// "3.89:1" for 3.898, "4.5:1" for 4.5, "21:1", "7:1" for 7.004. Cutting keeps
// a ratio just below a threshold from being written as the threshold itself.
QString RatioText(double ratio);

} // namespace wcag
