#include "scheme/Srgb.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace srgb {

namespace {

const std::array<double, 256> LinearTable = [] {
    std::array<double, 256> table{};
    for (int channel = 0; channel < 256; ++channel) {
        const double encoded = channel / 255.0;
        table[static_cast<std::size_t>(channel)] =
            encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
    }
    return table;
}();

} // namespace

double ToLinear(int channel)
{
    return LinearTable[static_cast<std::size_t>(std::clamp(channel, 0, 255))];
}

int FromLinear(double linear)
{
    const double clamped = std::clamp(linear, 0.0, 1.0);
    const double encoded =
        clamped <= 0.0031308 ? clamped * 12.92 : 1.055 * std::pow(clamped, 1.0 / 2.4) - 0.055;
    return std::clamp(static_cast<int>(std::nearbyint(encoded * 255.0)), 0, 255);
}

} // namespace srgb
