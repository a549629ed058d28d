// The colour models of swatch exchange files, apart from the file format so
// that the numeric checks can build them on their own.
#include "palettes/exchange/SwatchExchange.h"

#include <algorithm>
#include <cmath>

namespace swatchexchange {

namespace {

int channel(double fraction)
{
    return static_cast<int>(std::nearbyint(std::clamp(fraction, 0.0, 1.0) * 255.0));
}

} // namespace

Color FromRgb(double red, double green, double blue)
{
    return bascommon::MakeColor(channel(red), channel(green), channel(blue));
}

Color FromGray(double gray)
{
    const int value = channel(gray);
    return bascommon::MakeColor(value, value, value);
}

Color FromCmyk(double cyan, double magenta, double yellow, double black)
{
    auto ink = [](double value) { return std::clamp(value, 0.0, 1.0); };
    const double white = 1.0 - ink(black);
    return FromRgb((1.0 - ink(cyan)) * white, (1.0 - ink(magenta)) * white,
                   (1.0 - ink(yellow)) * white);
}

Color FromLab(double lightness, double a, double b)
{
    const double L = std::clamp(lightness, 0.0, 1.0) * 100.0;
    const double aStar = std::clamp(a, -128.0, 127.0);
    const double bStar = std::clamp(b, -128.0, 127.0);

    // CIE L*a*b* to XYZ relative to the D50 white.
    constexpr double Epsilon = 216.0 / 24389.0;
    constexpr double Kappa = 24389.0 / 27.0;
    const double fy = (L + 16.0) / 116.0;
    const double fx = fy + aStar / 500.0;
    const double fz = fy - bStar / 200.0;
    auto inverse = [&](double f) {
        const double cube = f * f * f;
        return cube > Epsilon ? cube : (116.0 * f - 16.0) / Kappa;
    };
    const double x = inverse(fx) * 0.96422;
    const double y = (L > Kappa * Epsilon ? fy * fy * fy : L / Kappa) * 1.0;
    const double z = inverse(fz) * 0.82521;

    // XYZ (D50) to linear sRGB, the Bradford adaptation to D65 included.
    const double linear[3] = {
        3.1338561 * x - 1.6168667 * y - 0.4906146 * z,
        -0.9787684 * x + 1.9161415 * y + 0.0334540 * z,
        0.0719453 * x - 0.2289914 * y + 1.4052427 * z,
    };
    double encoded[3];
    for (int i = 0; i < 3; ++i) {
        const double v = std::clamp(linear[i], 0.0, 1.0);
        encoded[i] = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
    }
    return FromRgb(encoded[0], encoded[1], encoded[2]);
}

} // namespace swatchexchange
