#include "models/science/Contrast.h"

#include "models/science/ColorScience.h"

#include <algorithm>
#include <cmath>

namespace wcag {

double RelativeLuminance(Color color)
{
    using bascommon::GetBlue;
    using bascommon::GetGreen;
    using bascommon::GetRed;
    return 0.2126 * colorscience::ChannelToLinear(GetRed(color)) +
           0.7152 * colorscience::ChannelToLinear(GetGreen(color)) +
           0.0722 * colorscience::ChannelToLinear(GetBlue(color));
}

double ContrastRatio(Color first, Color second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Verdicts Judge(double ratio)
{
    return {Passes(ratio, AANormal), Passes(ratio, AALarge), Passes(ratio, AAANormal),
            Passes(ratio, AAALarge)};
}

QString RatioText(double ratio)
{
    // Multiplying by ten is exact at every threshold (4.5, 3, 7), so a ratio
    // that passes is never written below its threshold, nor one that fails
    // at it.
    const auto tenths = static_cast<long long>(std::floor(ratio * 10.0));
    const QString whole = QString::number(tenths / 10);
    const long long decimal = tenths % 10;
    return (decimal == 0 ? whole : whole + QLatin1Char('.') + QString::number(decimal)) +
           QStringLiteral(":1");
}

} // namespace wcag
