#include "tests/models/ColorModelReference.h"

#include <cmath>

// Written for clarity, not speed: every value the formulas keep as a single
// is a float variable, every other step is double, in the order the formulas
// give. Built at -O0, each float variable lives in memory, so each of those
// roundings really happens.
namespace colormodelreference {

namespace {

// Nearest integer, ties to even, without the library's rounding functions:
// x - floor(x) is exact for every value these formulas produce.
double roundHalfEven(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

Reading toByte(double x)
{
    const double rounded = roundHalfEven(x);
    if (rounded < 0.0 || rounded > 255.0)
        return {0, true};
    return {int(rounded), false};
}

Reading toShort(double x)
{
    const double rounded = roundHalfEven(x);
    if (rounded < -32768.0 || rounded > 32767.0)
        return {0, true};
    return {int(rounded), false};
}

double smallestOf(double a, double b, double c)
{
    double smallest = a;
    if (b < smallest)
        smallest = b;
    if (c < smallest)
        smallest = c;
    return smallest;
}

double largestOf(double a, double b, double c)
{
    double largest = 0.0;
    if (a > largest)
        largest = a;
    if (b > largest)
        largest = b;
    if (c > largest)
        largest = c;
    return largest;
}

int blackPercent(int red, int green, int blue)
{
    return toShort(smallestOf(255.0 - red, 255.0 - green, 255.0 - blue) / 2.55).value;
}

Reading inkPercent(int channel, int red, int green, int blue)
{
    const int c = toShort(channel / 2.55).value;
    const int k = blackPercent(red, green, blue);
    int divisor = 100 - k;
    if (k == 100)
        divisor = 1;
    const int numerator = 100 - c - k;
    const double quotient = double(numerator) / double(divisor);
    return toShort(quotient * 100.0);
}

int lightPercent(int red, int green, int blue)
{
    const double sum = largestOf(red, green, blue) + smallestOf(red, green, blue);
    const double half = sum / 2.0;
    return toShort(half / 2.55).value;
}

struct Fractions
{
    float r;
    float g;
    float b;
    float max;
    float min;
};

Fractions fractionsOf(int red, int green, int blue)
{
    Fractions f;
    f.r = float(red / 255.0);
    f.g = float(green / 255.0);
    f.b = float(blue / 255.0);
    f.max = float(largestOf(f.r, f.g, f.b));
    f.min = float(smallestOf(f.r, f.g, f.b));
    return f;
}

Reading hue(int red, int green, int blue)
{
    const Fractions f = fractionsOf(red, green, blue);
    float h = 0.0f;
    if (f.max != f.min) {
        const float delta = float(double(f.max) - double(f.min));
        if (f.max == f.r)
            h = float((double(f.g) - double(f.b)) / double(delta));
        else if (f.max == f.g)
            h = float((double(f.b) - double(f.r)) / double(delta) + 2.0);
        else if (f.max == f.b)
            h = float((double(f.r) - double(f.g)) / double(delta) + 4.0);
    }
    float degrees = float((double(h) + 1.0) * 60.0);
    if (degrees < 0.0f)
        degrees = float(double(degrees) + 360.0);
    return toShort(degrees);
}

Reading saturation(int red, int green, int blue)
{
    const Fractions f = fractionsOf(red, green, blue);
    if (f.max == f.min)
        return {0, false};
    double divisor = 0.0;
    if (lightPercent(red, green, blue) > 50)
        divisor = 2.0 - double(f.max) - double(f.min);
    else
        divisor = double(f.max) + double(f.min);
    const float s = float((double(f.max) - double(f.min)) / divisor);
    return toShort(double(s) * 100.0);
}

Reading clampedChroma(double value)
{
    Reading r = toShort(value);
    if (r.overflow)
        return r;
    if (r.value > 255)
        r.value = 255;
    return toByte(r.value);
}

Rgb fromReadings(Reading red, Reading green, Reading blue)
{
    return {red.value, green.value, blue.value, red.overflow || green.overflow || blue.overflow};
}

} // namespace

Reading Read(Member member, int red, int green, int blue)
{
    switch (member) {
    case Member::CmyC:
        return toByte(255 - red);
    case Member::CmyM:
        return toByte(255 - green);
    case Member::CmyY:
        return toByte(255 - blue);
    case Member::CmykK:
        return toShort(smallestOf(255.0 - red, 255.0 - green, 255.0 - blue) / 2.55);
    case Member::CmykC:
        return inkPercent(red, red, green, blue);
    case Member::CmykM:
        return inkPercent(green, red, green, blue);
    case Member::CmykY:
        return inkPercent(blue, red, green, blue);
    case Member::HlsH:
        return hue(red, green, blue);
    case Member::HlsL:
        return {lightPercent(red, green, blue), false};
    case Member::HlsS:
        return saturation(red, green, blue);
    case Member::YcbcrY:
        return toByte(red * 0.2989 + green * 0.5866 + blue * 0.1145);
    case Member::YcbcrCb:
        return clampedChroma(red * -0.1687 - green * 0.3313 + blue * 0.5 + 128.0);
    case Member::YcbcrCr:
        return clampedChroma(red * 0.5 - green * 0.4187 - blue * 0.0813 + 128.0);
    }
    return {0, true};
}

Rgb FromCmy(int c, int m, int y)
{
    return fromReadings(toByte(255 - c), toByte(255 - m), toByte(255 - y));
}

Rgb FromCmyk(int c, int m, int y, int k)
{
    const float cyan = float(c / 100.0);
    const float magenta = float(m / 100.0);
    const float yellow = float(y / 100.0);
    const float black = float(k / 100.0);
    const double white = 1.0 - double(black);
    const Reading red = toByte((1.0 - (white * double(cyan) + double(black))) * 255.0);
    const Reading green = toByte((1.0 - (white * double(magenta) + double(black))) * 255.0);
    const Reading blue = toByte((1.0 - (white * double(yellow) + double(black))) * 255.0);
    return fromReadings(red, green, blue);
}

Rgb FromHls(int h, int l, int s)
{
    const float hh = float(h / 60.0 - 1.0);
    const float light = float(l / 100.0);
    const float sat = float(s / 100.0);
    float r = light;
    float g = light;
    float b = light;
    if (sat != 0.0f) {
        float m1 = 0.0f;
        if (light <= 0.5f)
            m1 = float(double(light) * (1.0 - double(sat)));
        else
            m1 = float(double(light) - (1.0 - double(light)) * double(sat));
        const float m2 = float(2.0 * double(light) - double(m1));
        const float d = float(double(m2) - double(m1));
        const double x = hh;
        if (x < 0.0) {
            r = m2;
            g = m1;
            b = float(double(m1) - double(d) * x);
        } else if (x < 1.0) {
            r = m2;
            g = float(double(m1) + double(d) * x);
            b = m1;
        } else if (x < 2.0) {
            r = float(double(m1) - (x - 2.0) * double(d));
            g = m2;
            b = m1;
        } else if (x < 3.0) {
            r = m1;
            g = m2;
            b = float(double(m1) + (x - 2.0) * double(d));
        } else if (x < 4.0) {
            r = m1;
            g = float(double(m1) - (x - 4.0) * double(d));
            b = m2;
        } else {
            r = float(double(m1) + (x - 4.0) * double(d));
            g = m1;
            b = m2;
        }
    }
    return fromReadings(toByte(double(r) * 255.0), toByte(double(g) * 255.0),
                        toByte(double(b) * 255.0));
}

Rgb FromYcbcr(int y, int cb, int cr)
{
    const auto clamp = [](double value) {
        double rounded = roundHalfEven(value);
        if (rounded > 255.0)
            rounded = 255.0;
        if (rounded < 0.0)
            rounded = 0.0;
        return int(rounded);
    };
    return {clamp((cr - 128) * 1.402 + y), clamp(y - (cb - 128) * 0.34414 - (cr - 128) * 0.71414),
            clamp((cb - 128) * 1.772 + y), false};
}

} // namespace colormodelreference
