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
    // The text reads x.yz exactly when the ratio reaches the number x.yz as
    // a threshold written so would be compared (Passes). The product with 100
    // can round either way across a whole number (4.5 less a hair may give
    // 450, 1.15 gives 114.99...), so the cut is checked against the ratio.
    auto hundredths = static_cast<long long>(std::floor(ratio * 100.0));
    if (static_cast<double>(hundredths) / 100.0 > ratio)
        --hundredths;
    else if (static_cast<double>(hundredths + 1) / 100.0 <= ratio)
        ++hundredths;
    QString text = QString::number(hundredths / 100);
    if (const long long decimals = hundredths % 100; decimals != 0) {
        text += QLatin1Char('.') + QString::number(decimals).rightJustified(2, QLatin1Char('0'));
        if (text.endsWith(QLatin1Char('0')))
            text.chop(1);
    }
    return text + QStringLiteral(":1");
}

} // namespace wcag
