#include "models/notations/ColorNotations.h"

#include "models/science/ColorScience.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace notations {

using csscolor::Space;
using csscolor::Unit;

namespace {

struct Info
{
    const char* shortName;
    const char* label;
};

constexpr std::array<Info, NotationCount> Infos{{
    {"Hex", "Hex"},         {"RgbSpace", "RGB"},
    {"Hsl", "HSL"},         {"Hwb", "HWB"},
    {"Lab", "Lab"},         {"Lch", "LCH"},
    {"Oklab", "OKLab"},     {"Oklch", "OKLCH"},
    {"Srgb", "sRGB"},       {"DisplayP3", "Display P3"},
    {"Flutter", "Flutter"}, {"Compose", "Jetpack Compose"},
    {"Android", "Android"}, {"SwiftUI", "SwiftUI"},
    {"UIKit", "UIKit"},     {"Qt", "Qt"},
    {"DotNet", ".NET"},     {"Glsl", "GLSL"},
    {"Hlsl", "HLSL"},       {"Tailwind", "Tailwind"},
}};

// How a CSS form lays out its three numbers. `scale` turns the component's
// reference value into the written one (oklch's lightness 0.5 is written
// 50%). A hue is written 0 when the component at `chromaIndex` is written 0:
// a grey's hue means nothing and would only be noise.
struct CssLayout
{
    Space space;
    const char* opening;
    std::array<Unit, 3> units;
    std::array<double, 3> scale;
    std::array<int, 3> decimals;
    int hueIndex;
    int chromaIndex;
};

constexpr Unit N = Unit::Number;
constexpr Unit P = Unit::Percent;

// The decimals are the fewest with which every 8-bit colour reads back as
// itself; the tests check both that they suffice and that one fewer in any
// component does not.
constexpr CssLayout Layouts[] = {
    /* Hex       */ {Space::Rgb, "#", {N, N, N}, {1, 1, 1}, {0, 0, 0}, -1, -1},
    /* RgbSpace  */ {Space::Rgb, "rgb(", {N, N, N}, {1, 1, 1}, {0, 0, 0}, -1, -1},
    /* Hsl       */ {Space::Hsl, "hsl(", {N, P, P}, {1, 1, 1}, {1, 1, 1}, 0, 1},
    /* Hwb       */ {Space::Hwb, "hwb(", {N, P, P}, {1, 1, 1}, {1, 1, 1}, -1, -1},
    /* Lab       */ {Space::Lab, "lab(", {P, N, N}, {1, 1, 1}, {2, 2, 2}, -1, -1},
    /* Lch       */ {Space::Lch, "lch(", {P, N, N}, {1, 1, 1}, {2, 2, 2}, 2, 1},
    /* Oklab     */ {Space::OkLab, "oklab(", {P, N, N}, {100, 1, 1}, {2, 5, 5}, -1, -1},
    /* Oklch     */ {Space::OkLch, "oklch(", {P, N, N}, {100, 1, 1}, {2, 5, 2}, 2, 1},
    /* Srgb      */ {Space::Srgb, "color(srgb ", {N, N, N}, {1, 1, 1}, {3, 3, 3}, -1, -1},
    /* DisplayP3 */
    {Space::DisplayP3, "color(display-p3 ", {N, N, N}, {1, 1, 1}, {4, 4, 4}, -1, -1},
};

constexpr double PowersOfTen[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

const CssLayout& LayoutOf(Notation notation)
{
    return Layouts[int(notation)];
}

// A small text buffer: the notations are built without allocating until the
// finished text becomes a QString.
class Text
{
public:
    void add(char c) { m_buffer[m_length++] = c; }
    void add(const char* text)
    {
        const std::size_t length = std::strlen(text);
        std::memcpy(m_buffer + m_length, text, length);
        m_length += length;
    }
    void addUnsigned(std::uint64_t value, int minimumDigits = 1)
    {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count < minimumDigits)
            digits[count++] = '0';
        while (count > 0)
            add(digits[--count]);
    }
    // mantissa / 10^decimals without trailing zeros; `keepPoint` writes a
    // whole number with ".0", as shader languages want a float literal.
    void addDecimal(std::int64_t mantissa, int decimals, bool keepPoint = false)
    {
        if (mantissa < 0)
            add('-');
        std::uint64_t magnitude =
            mantissa < 0 ? 0 - std::uint64_t(mantissa) : std::uint64_t(mantissa);
        const auto scale = std::uint64_t(PowersOfTen[decimals]);
        addUnsigned(magnitude / scale);
        std::uint64_t fraction = magnitude % scale;
        int digits = decimals;
        while (digits > 0 && fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        if (digits > 0) {
            add('.');
            addUnsigned(fraction, digits);
        } else if (keepPoint) {
            add(".0");
        }
    }
    void addHexByte(int value, bool upper)
    {
        const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
        add(digits[(value >> 4) & 15]);
        add(digits[value & 15]);
    }
    void addWritten(const Written& written)
    {
        addDecimal(written.mantissa, written.decimals);
        if (written.unit == Unit::Percent)
            add('%');
    }
    QString toString() const { return QString::fromLatin1(m_buffer, qsizetype(m_length)); }

private:
    char m_buffer[128];
    std::size_t m_length = 0;
};

// Rounds to nearest, ties to even, as std::nearbyint does in the default
// rounding mode, but without the library call that saves and restores the
// floating-point state (this runs for every number of every notation):
// adding 1.5 * 2^52 leaves no bits for a fraction. Exact for magnitudes
// below 2^51, far beyond any component.
std::int64_t Quantize(double value, int decimals)
{
    constexpr double Shift = 6755399441055744.0; // 1.5 * 2^52
    const double scaled = value * PowersOfTen[decimals];
    if (!(std::abs(scaled) < 2251799813685248.0)) // 2^51; NaN too
        return std::isnan(scaled) ? 0 : std::int64_t(std::clamp(scaled, -9e18, 9e18));
    return std::int64_t((scaled + Shift) - Shift);
}

int Red(Color c)
{
    return bascommon::GetRed(c);
}
int Green(Color c)
{
    return bascommon::GetGreen(c);
}
int Blue(Color c)
{
    return bascommon::GetBlue(c);
}

void AddHex(Text& text, Color color, bool allowShort, bool upper)
{
    const int channels[3] = {Red(color), Green(color), Blue(color)};
    const bool shortForm =
        allowShort && channels[0] % 17 == 0 && channels[1] % 17 == 0 && channels[2] % 17 == 0;
    for (const int channel : channels) {
        if (shortForm)
            text.add("0123456789abcdef"[channel / 17]);
        else
            text.addHexByte(channel, upper);
    }
}

void AddArgbHex(Text& text, Color color)
{
    text.add("FF");
    AddHex(text, color, false, true);
}

// Three channels as fractions with three decimals: enough for every colour
// to come back, as in color(srgb).
void AddFractions(Text& text, Color color, const char* separator, const char* const* labels,
                  bool keepPoint)
{
    const int channels[3] = {Red(color), Green(color), Blue(color)};
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            text.add(separator);
        if (labels)
            text.add(labels[i]);
        text.addDecimal(Quantize(channels[i] / 255.0, 3), 3, keepPoint);
    }
}

void AddDecimalChannels(Text& text, Color color)
{
    text.addUnsigned(std::uint64_t(Red(color)));
    text.add(", ");
    text.addUnsigned(std::uint64_t(Green(color)));
    text.add(", ");
    text.addUnsigned(std::uint64_t(Blue(color)));
}

} // namespace

QString ShortName(Notation notation)
{
    return QLatin1String(Infos[std::size_t(notation)].shortName);
}

std::optional<Notation> FromShortName(QStringView shortName)
{
    for (const Notation notation : AllNotations)
        if (shortName == QLatin1String(Infos[std::size_t(notation)].shortName))
            return notation;
    return std::nullopt;
}

QString Label(Notation notation)
{
    return QLatin1String(Infos[std::size_t(notation)].label);
}

bool IsCss(Notation notation)
{
    return int(notation) <= int(Notation::DisplayP3);
}

std::array<int, 3> Decimals(Notation notation)
{
    return LayoutOf(notation).decimals;
}

WrittenComponents Write(Notation notation, Color color)
{
    return Write(notation, color, LayoutOf(notation).decimals);
}

WrittenComponents Write(Notation notation, Color color, const std::array<int, 3>& decimals)
{
    const CssLayout& layout = LayoutOf(notation);
    const csscolor::CssColor css = csscolor::FromColor(color, layout.space);
    WrittenComponents written{};
    for (int i = 0; i < 3; ++i) {
        const auto index = std::size_t(i);
        written[index] = {Quantize(css.components[index] * layout.scale[index], decimals[index]),
                          decimals[index], layout.units[index]};
    }
    if (layout.hueIndex >= 0) {
        Written& hue = written[std::size_t(layout.hueIndex)];
        const bool grey = written[std::size_t(layout.chromaIndex)].mantissa == 0;
        if (grey || hue.mantissa == Quantize(360, hue.decimals))
            hue.mantissa = 0;
    }
    return written;
}

csscolor::CssColor ReadBack(Notation notation, const WrittenComponents& written)
{
    const CssLayout& layout = LayoutOf(notation);
    csscolor::CssColor css;
    css.space = layout.space;
    for (int i = 0; i < 3; ++i) {
        const Written& w = written[std::size_t(i)];
        css.components[std::size_t(i)] = csscolor::ResolveComponent(
            layout.space, i, double(w.mantissa) / PowersOfTen[w.decimals], w.unit);
    }
    return css;
}

QString Format(Notation notation, Color color)
{
    Text text;
    switch (notation) {
    case Notation::Hex:
        text.add('#');
        AddHex(text, color, true, false);
        break;
    case Notation::Flutter:
    case Notation::Compose:
        text.add("Color(0x");
        AddArgbHex(text, color);
        text.add(')');
        break;
    case Notation::Android:
        text.add('#');
        AddArgbHex(text, color);
        break;
    case Notation::SwiftUI: {
        static const char* const labels[] = {"red: ", "green: ", "blue: "};
        text.add("Color(");
        AddFractions(text, color, ", ", labels, false);
        text.add(')');
        break;
    }
    case Notation::UIKit: {
        static const char* const labels[] = {"red: ", "green: ", "blue: "};
        text.add("UIColor(");
        AddFractions(text, color, ", ", labels, false);
        text.add(", alpha: 1)");
        break;
    }
    case Notation::Qt:
        text.add("QColor(");
        AddDecimalChannels(text, color);
        text.add(')');
        break;
    case Notation::DotNet:
        text.add("Color.FromArgb(");
        AddDecimalChannels(text, color);
        text.add(')');
        break;
    case Notation::Glsl:
        text.add("vec3(");
        AddFractions(text, color, ", ", nullptr, true);
        text.add(')');
        break;
    case Notation::Hlsl:
        text.add("float3(");
        AddFractions(text, color, ", ", nullptr, true);
        text.add(')');
        break;
    case Notation::Tailwind:
        text.add("[#");
        AddHex(text, color, false, false);
        text.add(']');
        break;
    default: {
        const CssLayout& layout = LayoutOf(notation);
        const WrittenComponents written = Write(notation, color);
        text.add(layout.opening);
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                text.add(' ');
            text.addWritten(written[std::size_t(i)]);
        }
        text.add(')');
        break;
    }
    }
    return text.toString();
}

} // namespace notations
