#pragma once

#include "scheme/SchemeColors.h"

#include <QString>

// The code a web designer pastes into a page for a scheme. Colours are written
// #RRGGBB; lines end with CR LF and no text ends with a line break.
namespace schemecode {

// The HTML body tag. It has no hover attribute: HTML has none.
QString HtmlText(const SchemeColors& colors);

// The five rules of an external style sheet, the body rule last.
QString ExternalCssText(const SchemeColors& colors);

// An external style sheet wrapped in a style element for the page head.
QString InlineCssText(const QString& externalCss);

} // namespace schemecode
