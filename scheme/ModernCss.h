#pragma once

#include "scheme/SchemeColors.h"

#include <QString>

// The scheme as a style sheet of today: CSS custom properties for the six
// colours, and the link rules in LVHA order (link, visited, hover, active)
// so that hover and active win over visited. Lines end with LF.
namespace moderncss {

QString CustomProperties(const SchemeColors& colors);

// One style sheet for a light and a dark scheme: `color-scheme: light dark`
// and each property as light-dark(light, dark), so the reader's setting
// chooses.
QString LightDark(const SchemeColors& light, const SchemeColors& dark);

} // namespace moderncss
