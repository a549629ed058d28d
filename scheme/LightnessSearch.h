#pragma once

#include "app/bascommon.h"
#include "scheme/ColorVision.h"

#include <optional>
#include <vector>

// The nearest colour of the same hue that reaches a contrast ratio, found by
// moving the colour's HSL lightness and keeping its hue and saturation.
namespace lightnesssearch {

// The lightness axis is searched in steps of 1/1000. One step moves a channel
// by less than one unit, so no channel value along the axis is skipped.
constexpr int LightnessSteps = 1000;

// HSL lightness, (max + min) / 2 of the channels, from 0 to 1.
double Lightness(Color color);

// The colour with `color`'s hue and saturation and the lightness
// step / LightnessSteps, channels rounded to the nearest value (ties to even).
Color AtLightnessStep(Color color, int step);

// A ratio the colour must reach against another colour.
struct Requirement
{
    Color against;
    double minimum;
};

// Whether `candidate` meets every requirement, both as the colours are and
// as `mode` shows them.
bool Reaches(Color candidate, const std::vector<Requirement>& requirements,
             colorvision::VisionMode mode);

// Of the colours AtLightnessStep(color, 0 .. LightnessSteps) that meet the
// requirements, the one whose lightness lies nearest to `color`'s own; of two
// equally near, the one with the higher ratio against the first requirement's
// colour as `mode` shows it, then the lighter. `color` itself when it already
// meets them; nothing when no lightness does.
std::optional<Color> NearestPassing(Color color, const std::vector<Requirement>& requirements,
                                    colorvision::VisionMode mode);

} // namespace lightnesssearch
