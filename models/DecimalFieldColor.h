#pragma once

#include "app/bascommon.h"

#include <QString>

#include <optional>

// The colour that the main window's decimal fields spell, when each of the
// three texts is a whole number from 0 to 255. The model windows start from
// these texts; anything else (a field caught half-typed) gives no colour and
// they fall back on the current colour.
std::optional<Color> DecimalFieldColor(const QString& red, const QString& green,
                                       const QString& blue);
