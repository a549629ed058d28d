#include "scheme/LightnessSearch.h"

#include "models/science/Contrast.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

using namespace bascommon;

namespace lightnesssearch {

namespace {

struct HueSaturation
{
    double hue = 0;        // 0 to 1
    double saturation = 0; // 0 to 1
};

int channelSum(Color color)
{
    const int red = GetRed(color), green = GetGreen(color), blue = GetBlue(color);
    return std::max({red, green, blue}) + std::min({red, green, blue});
}

HueSaturation hueSaturation(Color color)
{
    const double red = GetRed(color) / 255.0;
    const double green = GetGreen(color) / 255.0;
    const double blue = GetBlue(color) / 255.0;
    const double high = std::max({red, green, blue});
    const double low = std::min({red, green, blue});
    const double spread = high - low;
    if (spread == 0)
        return {};
    const double lightness = (high + low) / 2;
    HueSaturation result;
    result.saturation = spread / (1 - std::fabs(2 * lightness - 1));
    double sixths = 0;
    if (high == red)
        sixths = std::fmod((green - blue) / spread + 6, 6);
    else if (high == green)
        sixths = (blue - red) / spread + 2;
    else
        sixths = (red - green) / spread + 4;
    result.hue = sixths / 6;
    return result;
}

double hueChannel(double low, double high, double hue)
{
    hue -= std::floor(hue);
    if (hue < 1.0 / 6)
        return low + (high - low) * 6 * hue;
    if (hue < 1.0 / 2)
        return high;
    if (hue < 2.0 / 3)
        return low + (high - low) * (2.0 / 3 - hue) * 6;
    return low;
}

int toChannel(double value)
{
    return std::clamp(static_cast<int>(std::nearbyint(value * 255)), 0, 255);
}

double shownRatio(Color candidate, Color against, colorvision::VisionMode mode)
{
    return wcag::ContrastRatio(colorvision::Simulate(candidate, mode),
                               colorvision::Simulate(against, mode));
}

} // namespace

double Lightness(Color color)
{
    return channelSum(color) / 510.0;
}

Color AtLightnessStep(Color color, int step)
{
    const double lightness = std::clamp(step, 0, LightnessSteps) / double(LightnessSteps);
    const HueSaturation hs = hueSaturation(color);
    if (hs.saturation == 0) {
        const int level = toChannel(lightness);
        return MakeColor(level, level, level);
    }
    const double high = lightness < 0.5 ? lightness * (1 + hs.saturation)
                                        : lightness + hs.saturation - lightness * hs.saturation;
    const double low = 2 * lightness - high;
    return MakeColor(toChannel(hueChannel(low, high, hs.hue + 1.0 / 3)),
                     toChannel(hueChannel(low, high, hs.hue)),
                     toChannel(hueChannel(low, high, hs.hue - 1.0 / 3)));
}

bool Reaches(Color candidate, const std::vector<Requirement>& requirements,
             colorvision::VisionMode mode)
{
    return std::all_of(requirements.begin(), requirements.end(), [&](const Requirement& r) {
        return wcag::Passes(wcag::ContrastRatio(candidate, r.against), r.minimum) &&
               wcag::Passes(shownRatio(candidate, r.against, mode), r.minimum);
    });
}

std::optional<Color> NearestPassing(Color color, const std::vector<Requirement>& requirements,
                                    colorvision::VisionMode mode)
{
    if (Reaches(color, requirements, mode))
        return color;
    // Distances are compared as whole numbers: the colour's lightness is
    // sum / 510 and a step's is step / 1000, so |510 step - 1000 sum| orders
    // the steps exactly.
    const long long target = 1000LL * channelSum(color);
    const auto distance = [target](int step) {
        if (step < 0 || step > LightnessSteps)
            return std::numeric_limits<long long>::max();
        return std::llabs(510LL * step - target);
    };
    const auto passing = [&](int step) -> std::optional<Color> {
        const Color candidate = AtLightnessStep(color, step);
        if (Reaches(candidate, requirements, mode))
            return candidate;
        return std::nullopt;
    };
    const auto tieRatio = [&](Color candidate) {
        return requirements.empty() ? 0.0
                                    : shownRatio(candidate, requirements.front().against, mode);
    };

    int darker = static_cast<int>(target / 510);
    int lighter = darker + 1;
    while (darker >= 0 || lighter <= LightnessSteps) {
        const long long down = distance(darker);
        const long long up = distance(lighter);
        const std::optional<Color> below = down <= up ? passing(darker) : std::nullopt;
        const std::optional<Color> above = up <= down ? passing(lighter) : std::nullopt;
        if (below && above)
            return tieRatio(*below) > tieRatio(*above) ? below : above;
        if (below)
            return below;
        if (above)
            return above;
        if (down <= up)
            --darker;
        if (up <= down)
            ++lighter;
    }
    return std::nullopt;
}

} // namespace lightnesssearch
