#pragma once

#include "app/bascommon.h"
#include "palettes/exchange/ExchangePalette.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The names that an export gives to colours: a colour's own name where the
// palette gives one, made valid for the format, and for a colour without one a
// name made from the colour itself.
namespace exchangenames {

// A name as readers hand it on: a single line of at most this many characters.
constexpr qsizetype MaxNameLength = 1000;

// The name of one colour: the CSS named colour nearest to it in OKLab
// ("steelblue" for #4682B4, and for #4A80B0 too).
QString ColorName(Color color);

// A name for every colour, in order; a name that an earlier colour already
// has gets "-2", "-3" and so on, so that formats that key their colours by
// name (design tokens, style sheets) lose none.
QStringList ColorNames(const QList<Color>& colors);

// Whether the names a format gives its colours must differ from each other:
// the formats that key their colours by name need them to.
enum class Keys { AsGiven, Unique };

// What a format makes of a colour's name to hold it; an empty result counts as
// no name.
using NameRule = std::function<QString(const QString&)>;

// A name for every colour of the palette, in order: its own name made valid by
// `rule` (as it is without one), else ColorName(). Names made from colours are
// always unique as ColorNames() makes them, so that a palette without names
// writes exactly as ColorNames() says; with Keys::Unique the palette's own
// names are made unique the same way ("primary", "primary-2"). Where a format
// holds two different texts as one key, `sameKey` gives the key a name counts
// as when it is made unique.
QStringList NamesToWrite(const ExchangePalette& palette, const NameRule& rule, Keys keys,
                         const NameRule& sameKey = {});

// A name as read from a file, made what a palette holds: control characters
// (line breaks among them, C1's too) and the line and paragraph separators
// become spaces, an unpaired surrogate U+FFFD, and
// the name is cut to MaxNameLength characters, never inside a surrogate pair.
QString ReadName(QStringView name);

// The palette's names, left empty when no colour has one, else as long as its
// colours; readers call this once they have appended every colour and name.
void SettleNames(ExchangePalette& palette);

// A part of a CSS, SCSS or Less identifier or a design-token name made from
// any text: its letters and digits, of any script (with their combining
// marks), in lower case, every other run of characters one hyphen, no hyphen
// at either end; `fallback` when nothing is left. Every character from U+0080
// up may stand in a CSS identifier as it is; the style sheets say they are
// UTF-8 when they hold any.
QString IdentifierPart(const QString& text, const QString& fallback);

} // namespace exchangenames
