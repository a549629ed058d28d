#include "palettes/RampTheme.h"

#include "palettes/PaletteExchange.h"

namespace ramptheme {

QString ThemeName(const QString& name)
{
    return paletteexchange::CssNamePart(name);
}

QByteArray TailwindTheme(const QString& name, const colorgenerator::Ramp& ramp)
{
    const QString part = ThemeName(name);
    QString comment = name;
    comment.replace(QLatin1String("*/"), QLatin1String("* /"))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString text = QStringLiteral("/* ") + comment + QStringLiteral(": ");
    if (ramp.baseStep >= 0 && ramp.baseStep < ramp.steps.size()) {
        const colorgenerator::Swatch& base = ramp.steps.at(ramp.baseStep);
        text += QString::number(ramp.steps.size()) + QStringLiteral(" steps around ") +
                bascommon::ColorToHtmlHex(base.color) + QStringLiteral(" at ") + base.label;
    }
    text += QStringLiteral(" */\n@theme {\n");
    for (const colorgenerator::Swatch& step : ramp.steps)
        text += QStringLiteral("  --color-") + part + QLatin1Char('-') + step.label +
                QStringLiteral(": ") + bascommon::ColorToHtmlHex(step.color) +
                QStringLiteral(";\n");
    text += QStringLiteral("}\n");
    return text.toUtf8();
}

FileResult ExportFile(const QString& path, const QByteArray& content)
{
    return paletteexchange::WriteExport(path, content, QStringLiteral("export the theme to"));
}

} // namespace ramptheme
