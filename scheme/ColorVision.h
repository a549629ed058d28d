#pragma once

#include "scheme/SchemeColors.h"

#include <QString>

#include <array>

// How colours look to a reader with a colour-vision deficiency: a preview of
// the scheme's colours, never a change of them.
namespace colorvision {

enum class VisionMode : int { Normal, Protanopia, Deuteranopia, Tritanopia, Grayscale };

constexpr std::array<VisionMode, 5> VisionModes = {VisionMode::Normal, VisionMode::Protanopia,
                                                   VisionMode::Deuteranopia, VisionMode::Tritanopia,
                                                   VisionMode::Grayscale};

// "Normal", "Protanopia", "Deuteranopia", "Tritanopia", "Grayscale".
QString VisionModeName(VisionMode mode);

// The colour as the mode shows it. Protanopia, deuteranopia and tritanopia
// are simulated at full severity; grayscale keeps the colour's relative
// luminance, so that its contrast against other colours is what it was.
Color Simulate(Color color, VisionMode mode);
SchemeColors Simulate(const SchemeColors& colors, VisionMode mode);

} // namespace colorvision
