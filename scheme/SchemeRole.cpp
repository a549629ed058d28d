#include "scheme/SchemeRole.h"

namespace {

Color SchemeColors::*member(SchemeRole role)
{
    switch (role) {
    case SchemeRole::Text:
        return &SchemeColors::text;
    case SchemeRole::Background:
        return &SchemeColors::background;
    case SchemeRole::NormalLink:
        return &SchemeColors::normalLink;
    case SchemeRole::VisitedLink:
        return &SchemeColors::visitedLink;
    case SchemeRole::ActiveLink:
        return &SchemeColors::activeLink;
    case SchemeRole::HoverLink:
        return &SchemeColors::hoverLink;
    }
    return &SchemeColors::text;
}

} // namespace

Color RoleColor(const SchemeColors& colors, SchemeRole role)
{
    return colors.*member(role);
}

void SetRoleColor(SchemeColors& colors, SchemeRole role, Color color)
{
    colors.*member(role) = color;
}

QString RoleName(SchemeRole role)
{
    switch (role) {
    case SchemeRole::Text:
        return QStringLiteral("Text");
    case SchemeRole::Background:
        return QStringLiteral("Background");
    case SchemeRole::NormalLink:
        return QStringLiteral("Normal link");
    case SchemeRole::VisitedLink:
        return QStringLiteral("Visited link");
    case SchemeRole::ActiveLink:
        return QStringLiteral("Active link");
    case SchemeRole::HoverLink:
        return QStringLiteral("Hover link");
    }
    return QString();
}
