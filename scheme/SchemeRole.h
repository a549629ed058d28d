#pragma once

#include "scheme/SchemeColors.h"

#include <QString>

// One of the six colours of a scheme, named so that a routine can be told
// which colour to read or change.
enum class SchemeRole : int { Text, Background, NormalLink, VisitedLink, ActiveLink, HoverLink };

Color RoleColor(const SchemeColors& colors, SchemeRole role);
void SetRoleColor(SchemeColors& colors, SchemeRole role, Color color);

// "Text", "Background", "Normal link", ...: the role as the option buttons
// call it.
QString RoleName(SchemeRole role);
