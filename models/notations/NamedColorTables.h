#pragma once

#include <array>
#include <cstdint>

// The raw tables behind NamedColors.h.
namespace namedcolors {

struct CssName
{
    const char* name;  // lower case
    std::uint32_t rgb; // 0xRRGGBB
};

struct TailwindEntry
{
    const char* name; // "blue-500"
    double lightnessPercent;
    double chroma;
    double hue;
};

// Sorted by name.
extern const std::array<CssName, 148> CssNames;
extern const std::array<TailwindEntry, 288> TailwindPalette;

} // namespace namedcolors
