#include "models/notations/FormatTemplate.h"

#include "models/science/ColorScience.h"
#include "models/notations/CssColor.h"
#include "models/cClrModels.h"

#include <array>
#include <cmath>

namespace formattemplate {

namespace {

enum class Model {
    Rgb,
    Hex,
    Srgb,
    DisplayP3,
    Hsl,
    Hwb,
    Hsv,
    Lab,
    Lch,
    OkLab,
    OkLch,
    Cmy,
    Cmyk,
    Hls,
    YCbCr
};

struct Channel
{
    const char* name;
    Model model;
    int index;
    int decimals;   // the channel's own precision; 0 for whole numbers
    bool wholeByte; // 0 to 255, so it can be written in hexadecimal
};

constexpr Channel Channels[] = {
    {"r", Model::Rgb, 0, 0, true},           {"g", Model::Rgb, 1, 0, true},
    {"b", Model::Rgb, 2, 0, true},           {"hex", Model::Hex, 0, 0, false},
    {"srgb.r", Model::Srgb, 0, 3, false},    {"srgb.g", Model::Srgb, 1, 3, false},
    {"srgb.b", Model::Srgb, 2, 3, false},    {"p3.r", Model::DisplayP3, 0, 4, false},
    {"p3.g", Model::DisplayP3, 1, 4, false}, {"p3.b", Model::DisplayP3, 2, 4, false},
    {"hsl.h", Model::Hsl, 0, 1, false},      {"hsl.s", Model::Hsl, 1, 1, false},
    {"hsl.l", Model::Hsl, 2, 1, false},      {"hwb.h", Model::Hwb, 0, 1, false},
    {"hwb.w", Model::Hwb, 1, 1, false},      {"hwb.b", Model::Hwb, 2, 1, false},
    {"hsv.h", Model::Hsv, 0, 1, false},      {"hsv.s", Model::Hsv, 1, 1, false},
    {"hsv.v", Model::Hsv, 2, 1, false},      {"lab.l", Model::Lab, 0, 2, false},
    {"lab.a", Model::Lab, 1, 2, false},      {"lab.b", Model::Lab, 2, 2, false},
    {"lch.l", Model::Lch, 0, 2, false},      {"lch.c", Model::Lch, 1, 2, false},
    {"lch.h", Model::Lch, 2, 2, false},      {"oklab.l", Model::OkLab, 0, 4, false},
    {"oklab.a", Model::OkLab, 1, 5, false},  {"oklab.b", Model::OkLab, 2, 5, false},
    {"oklch.l", Model::OkLch, 0, 4, false},  {"oklch.c", Model::OkLch, 1, 5, false},
    {"oklch.h", Model::OkLch, 2, 2, false},  {"cmy.c", Model::Cmy, 0, 0, true},
    {"cmy.m", Model::Cmy, 1, 0, true},       {"cmy.y", Model::Cmy, 2, 0, true},
    {"cmyk.c", Model::Cmyk, 0, 0, false},    {"cmyk.m", Model::Cmyk, 1, 0, false},
    {"cmyk.y", Model::Cmyk, 2, 0, false},    {"cmyk.k", Model::Cmyk, 3, 0, false},
    {"hls.h", Model::Hls, 0, 0, false},      {"hls.l", Model::Hls, 1, 0, false},
    {"hls.s", Model::Hls, 2, 0, false},      {"ycbcr.y", Model::YCbCr, 0, 0, true},
    {"ycbcr.cb", Model::YCbCr, 1, 0, true},  {"ycbcr.cr", Model::YCbCr, 2, 0, true},
};

constexpr int MostDecimals = 10;

std::array<double, 4> ModelValues(Model model, Color color)
{
    using namespace colorscience;
    const auto css = [&](csscolor::Space space) {
        const auto c = csscolor::FromColor(color, space).components;
        return std::array<double, 4>{c[0], c[1], c[2], 0};
    };
    cClrModels models;
    models.setRgbR(std::uint8_t(bascommon::GetRed(color)));
    models.setRgbG(std::uint8_t(bascommon::GetGreen(color)));
    models.setRgbB(std::uint8_t(bascommon::GetBlue(color)));
    switch (model) {
    case Model::Rgb:
    case Model::Hex:
        return css(csscolor::Space::Rgb);
    case Model::Srgb:
        return css(csscolor::Space::Srgb);
    case Model::DisplayP3:
        return css(csscolor::Space::DisplayP3);
    case Model::Hsl:
        return css(csscolor::Space::Hsl);
    case Model::Hwb:
        return css(csscolor::Space::Hwb);
    case Model::Hsv: {
        const Hsv hsv = ToHsv(ToSrgb(color));
        return {hsv.h, hsv.s * 100, hsv.v * 100, 0};
    }
    case Model::Lab:
        return css(csscolor::Space::Lab);
    case Model::OkLab:
        return css(csscolor::Space::OkLab);
    case Model::Lch:
    case Model::OkLch: {
        // A grey's hue is noise: it is written 0, as the notations write it.
        const bool ok = model == Model::OkLch;
        std::array<double, 4> values = css(ok ? csscolor::Space::OkLch : csscolor::Space::Lch);
        if (std::nearbyint(values[1] * (ok ? 1e5 : 1e2)) == 0)
            values[2] = 0;
        return values;
    }
    case Model::Cmy:
        return {double(models.cmyC()), double(models.cmyM()), double(models.cmyY()), 0};
    case Model::Cmyk:
        return {double(models.cmykC()), double(models.cmykM()), double(models.cmykY()),
                double(models.cmykK())};
    case Model::Hls:
        return {double(models.hlsH()), double(models.hlsL()), double(models.hlsS()), 0};
    case Model::YCbCr:
        return {double(models.ycbcrY()), double(models.ycbcrCb()), double(models.ycbcrCr()), 0};
    }
    return {};
}

QString Number(double value, int decimals, bool trimZeros)
{
    // Rounded first so that a value that rounds to zero never shows as "-0".
    const double scale = std::pow(10.0, decimals);
    double rounded = std::nearbyint(value * scale) / scale;
    if (rounded == 0)
        rounded = 0;
    QString text = QString::number(rounded, 'f', decimals);
    if (trimZeros && text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

QString ModelNamesText(QStringView model)
{
    QStringList channels;
    for (const Channel& channel : Channels) {
        const QString name = QLatin1String(channel.name);
        if (name.startsWith(model.toString() + QLatin1Char('.')))
            channels << name.mid(model.size() + 1);
    }
    if (channels.size() > 1)
        return channels.mid(0, channels.size() - 1).join(QStringLiteral(", ")) +
               QStringLiteral(" and ") + channels.last();
    return channels.join(QString());
}

} // namespace

struct Compiler
{
    static Compiled run(QStringView text)
    {
        Compiled compiled;
        if (text.isEmpty()) {
            compiled.message = QStringLiteral("The template is empty.");
            return compiled;
        }
        Template result;
        QString literal;
        qsizetype i = 0;
        const auto flush = [&] {
            if (!literal.isEmpty())
                result.m_parts.push_back({literal, -1, -1, 0});
            literal.clear();
        };
        while (i < text.size()) {
            const QChar c = text[i];
            if (c == QLatin1Char('}')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('}')) {
                    literal += c;
                    i += 2;
                    continue;
                }
                compiled.message =
                    QStringLiteral("The \"}\" at character %1 has no \"{\" before it; "
                                   "write \"}}\" for a brace itself.")
                        .arg(i + 1);
                return compiled;
            }
            if (c != QLatin1Char('{')) {
                literal += c;
                ++i;
                continue;
            }
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('{')) {
                literal += c;
                i += 2;
                continue;
            }
            const qsizetype close = text.indexOf(QLatin1Char('}'), i + 1);
            const qsizetype nextOpen = text.indexOf(QLatin1Char('{'), i + 1);
            if (close < 0 || (nextOpen >= 0 && nextOpen < close)) {
                compiled.message = QStringLiteral("The \"{\" at character %1 is not closed; write "
                                                  "\"{{\" for a brace itself.")
                                       .arg(i + 1);
                return compiled;
            }
            const QStringView inside = text.mid(i + 1, close - i - 1);
            const QString whole = QLatin1Char('{') + inside.toString() + QLatin1Char('}');
            const qsizetype colon = inside.indexOf(QLatin1Char(':'));
            const QString name =
                inside.first(colon < 0 ? inside.size() : colon).trimmed().toString();
            Template::Part part;
            for (int k = 0; k < int(std::size(Channels)); ++k)
                if (name == QLatin1String(Channels[k].name))
                    part.channel = k;
            if (part.channel < 0) {
                const qsizetype dot = name.indexOf(QLatin1Char('.'));
                const QString models =
                    ModelNamesText(dot < 0 ? QStringView(name) : QStringView(name).first(dot));
                if (dot > 0 && !models.isEmpty())
                    compiled.message = QStringLiteral("Unknown placeholder \"%1\": %2 has %3.")
                                           .arg(whole, name.left(dot), models);
                else
                    compiled.message =
                        QStringLiteral("Unknown placeholder \"%1\". Placeholders are {r}, "
                                       "{g}, {b}, {hex} and a model's channel such as "
                                       "{oklch.h}.")
                            .arg(whole);
                return compiled;
            }
            if (colon >= 0) {
                const QString precision = inside.mid(colon + 1).trimmed().toString();
                bool number = false;
                const int decimals = precision.toInt(&number);
                if (precision == QLatin1String("x") || precision == QLatin1String("X")) {
                    const Channel& channel = Channels[part.channel];
                    if (!channel.wholeByte && channel.model != Model::Hex) {
                        compiled.message = QStringLiteral("\"%1\": only the channels from 0 to 255 "
                                                          "and hex can be written in hexadecimal.")
                                               .arg(whole);
                        return compiled;
                    }
                    part.hex = precision == QLatin1String("x") ? 1 : 2;
                } else if (number && decimals >= 0 && decimals <= MostDecimals &&
                           !precision.startsWith(QLatin1Char('+'))) {
                    part.decimals = decimals;
                } else {
                    compiled.message =
                        QStringLiteral("\"%1\": after \":\" comes a number of decimals "
                                       "from 0 to %2, or x or X for hexadecimal.")
                            .arg(whole)
                            .arg(MostDecimals);
                    return compiled;
                }
            }
            flush();
            result.m_parts.push_back(part);
            i = close + 1;
        }
        flush();
        compiled.ok = true;
        compiled.result = result;
        return compiled;
    }
};

Compiled Compile(QStringView text)
{
    return Compiler::run(text);
}

QString Template::expand(Color color) const
{
    QString text;
    for (const Part& part : m_parts) {
        if (part.channel < 0) {
            text += part.literal;
            continue;
        }
        const Channel& channel = Channels[part.channel];
        if (channel.model == Model::Hex) {
            const QString hex = QStringLiteral("%1").arg((bascommon::GetRed(color) << 16) |
                                                             (bascommon::GetGreen(color) << 8) |
                                                             bascommon::GetBlue(color),
                                                         6, 16, QLatin1Char('0'));
            text += part.hex == 2 ? hex.toUpper() : hex;
            continue;
        }
        const double value = ModelValues(channel.model, color)[std::size_t(channel.index)];
        if (part.hex != 0) {
            const QString hex = QStringLiteral("%1").arg(int(value), 2, 16, QLatin1Char('0'));
            text += part.hex == 2 ? hex.toUpper() : hex;
        } else if (part.decimals >= 0) {
            text += Number(value, part.decimals, false);
        } else {
            text += Number(value, channel.decimals, true);
        }
    }
    return text;
}

QStringList PlaceholderNames()
{
    QStringList names;
    for (const Channel& channel : Channels)
        names << QLatin1String(channel.name);
    return names;
}

} // namespace formattemplate
