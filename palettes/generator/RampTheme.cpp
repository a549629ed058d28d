#include "palettes/generator/RampTheme.h"

#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/exchange/StyleSheetPalette.h"

namespace ramptheme {

QString ThemeName(const QString& name)
{
    return exchangenames::IdentifierPart(name, QStringLiteral("color"));
}

QByteArray TailwindTheme(const QString& name, const colorgenerator::Ramp& ramp)
{
    const QString part = ThemeName(name);
    QList<stylesheetpalette::NamedColor> steps;
    steps.reserve(ramp.steps.size());
    for (const colorgenerator::Swatch& step : ramp.steps)
        steps.append({part + QLatin1Char('-') + step.label, step.color});
    QString title = name;
    if (ramp.baseStep >= 0 && ramp.baseStep < ramp.steps.size()) {
        const colorgenerator::Swatch& base = ramp.steps.at(ramp.baseStep);
        title += QStringLiteral(": ") + QString::number(ramp.steps.size()) +
                 QStringLiteral(" steps around ") + bascommon::ColorToHtmlHex(base.color) +
                 QStringLiteral(" at ") + base.label;
    }
    return stylesheetpalette::TailwindTheme(steps, title);
}

FileResult ExportFile(const QString& path, const QByteArray& content)
{
    return paletteexchange::WriteExport(path, content, QStringLiteral("export the theme to"));
}

} // namespace ramptheme
