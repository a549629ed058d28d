#pragma once

#include "app/bascommon.h"

#include <QList>
#include <QString>
#include <QStringList>

// The names that an export gives to colours. A palette file of this program
// holds colours only, so every format that names its colours gets a name made
// from the colour itself.
namespace exchangenames {

// The name of one colour: the CSS named colour nearest to it in OKLab
// ("steelblue" for #4682B4, and for #4A80B0 too).
QString ColorName(Color color);

// A name for every colour, in order; a name that an earlier colour already
// has gets "-2", "-3" and so on, so that formats that key their colours by
// name (design tokens, style sheets) lose none.
QStringList ColorNames(const QList<Color>& colors);

// A part of a CSS, SCSS or Less identifier or a design-token name made from
// any text: its letters and digits, of any script (with their combining
// marks), in lower case, every other run of characters one hyphen, no hyphen
// at either end; `fallback` when nothing is left. Every character from U+0080
// up may stand in a CSS identifier as it is; the style sheets say they are
// UTF-8 when they hold any.
QString IdentifierPart(const QString& text, const QString& fallback);

} // namespace exchangenames
