#include "scheme/ModernCss.h"

#include "models/notations/ColorNotations.h"

#include <QStringList>

namespace moderncss {

namespace {

struct Property
{
    const char* name;
    Color SchemeColors::*role;
};

constexpr Property Properties[] = {
    {"--page-background", &SchemeColors::background},
    {"--text", &SchemeColors::text},
    {"--link", &SchemeColors::normalLink},
    {"--visited", &SchemeColors::visitedLink},
    {"--hover", &SchemeColors::hoverLink},
    {"--active", &SchemeColors::activeLink},
};

QString Hex(Color color)
{
    return notations::Format(notations::Notation::Hex, color);
}

QString Rules(const QStringList& declarations)
{
    QStringList lines{QStringLiteral(":root {")};
    for (const QString& declaration : declarations)
        lines << QStringLiteral("  ") + declaration;
    lines << QStringLiteral("}") << QString() << QStringLiteral("body {")
          << QStringLiteral("  background-color: var(--page-background);")
          << QStringLiteral("  color: var(--text);") << QStringLiteral("}") << QString()
          << QStringLiteral("a:link { color: var(--link); }")
          << QStringLiteral("a:visited { color: var(--visited); }")
          << QStringLiteral("a:hover { color: var(--hover); }")
          << QStringLiteral("a:active { color: var(--active); }");
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString CustomProperties(const SchemeColors& colors)
{
    QStringList declarations;
    for (const Property& property : Properties)
        declarations << QLatin1String(property.name) + QStringLiteral(": ") +
                            Hex(colors.*property.role) + QLatin1Char(';');
    return Rules(declarations);
}

QString LightDark(const SchemeColors& light, const SchemeColors& dark)
{
    QStringList declarations{QStringLiteral("color-scheme: light dark;")};
    for (const Property& property : Properties)
        declarations << QLatin1String(property.name) + QStringLiteral(": light-dark(") +
                            Hex(light.*property.role) + QStringLiteral(", ") +
                            Hex(dark.*property.role) + QStringLiteral(");");
    return Rules(declarations);
}

} // namespace moderncss
