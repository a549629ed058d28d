#include "scheme/SchemeCode.h"

#include "app/bascommon.h"

#include <QStringList>

namespace schemecode {

namespace {

const QString LineBreak = QStringLiteral("\r\n");

QString hex(Color color)
{
    return bascommon::ColorToHtmlHex(color);
}

QString quoted(Color color)
{
    return QLatin1Char('"') + hex(color) + QLatin1Char('"');
}

QString linkRule(const char* selector, Color color)
{
    return QLatin1String(selector) + QStringLiteral(" {color:") + hex(color) + QStringLiteral(";}");
}

} // namespace

QString HtmlText(const SchemeColors& colors)
{
    return QStringLiteral("<body BGCOLOR=") + quoted(colors.background) + QStringLiteral(" TEXT=") +
           quoted(colors.text) + QStringLiteral(" LINK=") + quoted(colors.normalLink) +
           QStringLiteral(" VLINK=") + quoted(colors.visitedLink) + QStringLiteral(" ALINK=") +
           quoted(colors.activeLink) + QLatin1Char('>');
}

QString ExternalCssText(const SchemeColors& colors)
{
    const QStringList lines = {
        linkRule("a:link", colors.normalLink),
        linkRule("a:visited", colors.visitedLink),
        linkRule("a:active", colors.activeLink),
        linkRule("a:hover", colors.hoverLink),
        QStringLiteral("body {background-color:") + hex(colors.background) +
            QStringLiteral("; color:") + hex(colors.text) + QStringLiteral(";}"),
    };
    return lines.join(LineBreak);
}

QString InlineCssText(const QString& externalCss)
{
    const QStringList lines = {QStringLiteral("<style type=\"text/css\">"), QStringLiteral("<!--"),
                               externalCss, QStringLiteral("-->"), QStringLiteral("</style>")};
    return lines.join(LineBreak);
}

} // namespace schemecode
