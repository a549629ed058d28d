#include "models/cClrModels.h"

#include <cmath>
#include <stdexcept>

namespace {

// The decimal constants are the doubles nearest to the decimals as written.
constexpr double PercentStep = 2.55;

// Nearest integer, ties to the even neighbour. The program never leaves the
// default rounding mode, in which nearbyint rounds exactly that way.
double roundToEven(double value)
{
    return std::nearbyint(value);
}

std::uint8_t toByte(double value)
{
    const double rounded = roundToEven(value);
    if (!(rounded >= 0.0 && rounded <= 255.0))
        throw std::overflow_error("colour model value out of the range 0-255");
    return static_cast<std::uint8_t>(rounded);
}

std::int16_t toInteger(double value)
{
    const double rounded = roundToEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw std::overflow_error("colour model value out of the 16-bit range");
    return static_cast<std::int16_t>(rounded);
}

// Rounds to single precision here and now. A plain cast is not enough in
// practice: GCC 12 at -O2 vectorises the fractions of red and green and hands
// them on unrounded, which moves tens of thousands of hues. A volatile object
// must hold exactly the float that was stored and be read back from it, so no
// optimiser, vectoriser or target flag can skip or widen this step.
float single(double value)
{
    volatile float stored = static_cast<float>(value);
    return stored;
}

} // namespace

double cClrModels::MinValue(const std::array<double, 3>& values)
{
    double smallest = values[0];
    for (double value : values)
        if (value < smallest)
            smallest = value;
    return smallest;
}

double cClrModels::MaxValue(const std::array<double, 3>& values)
{
    double largest = 0.0;
    for (double value : values)
        if (value > largest)
            largest = value;
    return largest;
}

// ---- CMY ----

std::uint8_t cClrModels::cmyC() const
{
    return toByte(255 - m_red);
}

std::uint8_t cClrModels::cmyM() const
{
    return toByte(255 - m_green);
}

std::uint8_t cClrModels::cmyY() const
{
    return toByte(255 - m_blue);
}

void cClrModels::SetCMY(std::int16_t c, std::int16_t m, std::int16_t y)
{
    m_red = toByte(255 - c);
    m_green = toByte(255 - m);
    m_blue = toByte(255 - y);
}

// ---- CMYK ----

std::int16_t cClrModels::cmykK() const
{
    const double lightest = MinValue({255.0 - m_red, 255.0 - m_green, 255.0 - m_blue});
    return toInteger(lightest / PercentStep);
}

std::int16_t cClrModels::cmykComponent(std::uint8_t channel) const
{
    // Channel and K are both whole per cents before the division, so the
    // result follows from the rounded values the user sees.
    const int c = toInteger(channel / PercentStep);
    const int k = cmykK();
    int divisor = 100 - cmykK();
    if (k == 100)
        divisor = 1;
    return toInteger(static_cast<double>(100 - c - k) / divisor * 100.0);
}

std::int16_t cClrModels::cmykC() const
{
    return cmykComponent(m_red);
}

std::int16_t cClrModels::cmykM() const
{
    return cmykComponent(m_green);
}

std::int16_t cClrModels::cmykY() const
{
    return cmykComponent(m_blue);
}

void cClrModels::SetCMYK(std::int16_t c, std::int16_t m, std::int16_t y, std::int16_t k)
{
    const float cyan = single(c / 100.0);
    const float magenta = single(m / 100.0);
    const float yellow = single(y / 100.0);
    const float black = single(k / 100.0);
    const auto channel = [black](float ink) {
        return toByte((1.0 - ((1.0 - black) * ink + black)) * 255.0);
    };
    m_red = channel(cyan);
    m_green = channel(magenta);
    m_blue = channel(yellow);
}

// ---- HLS ----

std::array<float, 3> cClrModels::fractions() const
{
    return {single(m_red / 255.0), single(m_green / 255.0), single(m_blue / 255.0)};
}

std::int16_t cClrModels::hlsL() const
{
    const std::array<double, 3> bytes{double(m_red), double(m_green), double(m_blue)};
    return toInteger((MaxValue(bytes) + MinValue(bytes)) / 2.0 / PercentStep);
}

std::int16_t cClrModels::hlsH() const
{
    const auto [r, g, b] = fractions();
    const float max = single(MaxValue({r, g, b}));
    const float min = single(MinValue({r, g, b}));
    float h = 0.0f;
    if (max != min) {
        const float delta = single(double(max) - min);
        if (max == r)
            h = single((double(g) - b) / delta);
        else if (max == g)
            h = single((double(b) - r) / delta + 2.0);
        else if (max == b)
            h = single((double(r) - g) / delta + 4.0);
    }
    float hue = single((double(h) + 1.0) * 60.0);
    if (hue < 0.0f)
        hue = single(double(hue) + 360.0);
    return toInteger(hue);
}

std::int16_t cClrModels::hlsS() const
{
    const auto [r, g, b] = fractions();
    const float max = single(MaxValue({r, g, b}));
    const float min = single(MinValue({r, g, b}));
    if (max == min)
        return 0;
    const double divisor = hlsL() > 50 ? 2.0 - max - min : double(max) + min;
    const float s = single((double(max) - min) / divisor);
    return toInteger(double(s) * 100.0);
}

void cClrModels::SetHLS(std::int16_t h, std::int16_t l, std::int16_t s)
{
    const float sector = single(h / 60.0 - 1.0);
    const float light = single(l / 100.0);
    const float saturation = single(s / 100.0);

    float red = light;
    float green = light;
    float blue = light;
    if (saturation != 0.0f) {
        const float m1 = light <= 0.5f ? single(double(light) * (1.0 - saturation))
                                       : single(light - (1.0 - light) * saturation);
        const float m2 = single(2.0 * light - m1);
        const float d = single(double(m2) - m1);
        const double hh = sector;
        if (hh < 0.0) {
            red = m2;
            green = m1;
            blue = single(m1 - d * hh);
        } else if (hh < 1.0) {
            red = m2;
            green = single(m1 + d * hh);
            blue = m1;
        } else if (hh < 2.0) {
            red = single(m1 - (hh - 2.0) * d);
            green = m2;
            blue = m1;
        } else if (hh < 3.0) {
            red = m1;
            green = m2;
            blue = single(m1 + (hh - 2.0) * d);
        } else if (hh < 4.0) {
            red = m1;
            green = single(m1 - (hh - 4.0) * d);
            blue = m2;
        } else {
            red = single(m1 + (hh - 4.0) * d);
            green = m1;
            blue = m2;
        }
    }
    m_red = toByte(double(red) * 255.0);
    m_green = toByte(double(green) * 255.0);
    m_blue = toByte(double(blue) * 255.0);
}

// ---- YCbCr ----

std::uint8_t cClrModels::ycbcrY() const
{
    return toByte(m_red * 0.2989 + m_green * 0.5866 + m_blue * 0.1145);
}

std::uint8_t cClrModels::ycbcrCb() const
{
    std::int16_t cb = toInteger(m_red * -0.1687 - m_green * 0.3313 + m_blue * 0.5 + 128.0);
    if (cb > 255)
        cb = 255;
    return toByte(cb);
}

std::uint8_t cClrModels::ycbcrCr() const
{
    std::int16_t cr = toInteger(m_red * 0.5 - m_green * 0.4187 - m_blue * 0.0813 + 128.0);
    if (cr > 255)
        cr = 255;
    return toByte(cr);
}

void cClrModels::SetYCbCr(std::int16_t y, std::int16_t cb, std::int16_t cr)
{
    // The clamps make every input land on a byte, so no overflow is possible
    // here; the rounding is kept in double for the same reason.
    const auto clamp = [](double value) {
        double rounded = roundToEven(value);
        if (rounded > 255.0)
            rounded = 255.0;
        if (rounded < 0.0)
            rounded = 0.0;
        return static_cast<std::uint8_t>(rounded);
    };
    const std::uint8_t red = clamp((cr - 128) * 1.402 + y);
    const std::uint8_t green = clamp(y - (cb - 128) * 0.34414 - (cr - 128) * 0.71414);
    const std::uint8_t blue = clamp((cb - 128) * 1.772 + y);
    m_red = red;
    m_green = green;
    m_blue = blue;
}
