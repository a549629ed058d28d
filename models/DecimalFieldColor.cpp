#include "models/DecimalFieldColor.h"

namespace {

std::optional<int> channelValue(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > 255)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<Color> DecimalFieldColor(const QString& red, const QString& green,
                                       const QString& blue)
{
    const std::optional<int> r = channelValue(red);
    const std::optional<int> g = channelValue(green);
    const std::optional<int> b = channelValue(blue);
    if (!r || !g || !b)
        return std::nullopt;
    return bascommon::MakeColor(*r, *g, *b);
}
