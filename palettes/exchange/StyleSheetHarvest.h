#pragma once

#include "palettes/exchange/ExchangePalette.h"

#include <QByteArrayView>

// The colours that a style sheet or a web page uses, gathered into a palette.
//
// A style sheet (CSS, and the SCSS and Less that are written like it) is read
// as CSS reads one: comments and strings are passed over, and only the values
// of declarations are looked at (property: value, custom properties
// --name: value, SCSS $name: value and Less @name: value), never selectors,
// property names or at-rule preludes. In a value, a colour is
//   a hex colour        #RGB, #RGBA, #RRGGBB, #RRGGBBAA
//   a colour function   rgb(), rgba(), hsl(), hsla(), hwb(), lab(), lch(),
//                       oklab(), oklch(), color(), as CSS Color 4 reads them
//   a named colour      one of CSS's 148 names, except in the properties whose
//                       words are names of other things (font-family,
//                       animation-name, grid-area, content...)
// also inside other functions (gradients, var() fallbacks). A colour that
// CSS would not accept (rgb(300 x)), one built of var() or calc(), and a
// fully transparent one ("transparent", alpha 0) is no colour of the palette.
// Colours outside sRGB are brought in by CSS gamut mapping; alpha is ignored.
//
// A web page (HTML) gives the style sheets of its <style> elements and the
// declarations of its style attributes, in document order; <script> and
// comments are passed over.
namespace stylesheetharvest {

// Each colour once, in the order of its first use. A comment that is never
// closed makes the style sheet unreadable (it hides the rest of the file), as
// does a file without any colour; the message says where the comment opens.
// Both read in time linear in the content; `progress`, when given, is told
// how far they are and may stop them.
ExchangeReading FromStyleSheet(QByteArrayView content, ReadingProgress* progress = nullptr);
ExchangeReading FromWebPage(QByteArrayView content, ReadingProgress* progress = nullptr);

// True when the text, after a byte order mark and white space, begins with
// "<": markup, not a style sheet.
bool LooksLikeMarkup(QByteArrayView content);

} // namespace stylesheetharvest
