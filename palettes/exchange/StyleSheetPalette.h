#pragma once

#include "palettes/exchange/ExchangePalette.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Palettes as style-sheet variables, one colour a declaration, values as
// upper-case #RRGGBB, lines ending in LF, the palette's name in a comment on
// the first line:
//   CSS custom properties (.css)     /* My Colors */
//                                    :root {
//                                      --my-colors-red: #FF0000;
//                                    }
//   Tailwind CSS v4 theme (.css)     /* My Colors */
//                                    @theme {
//                                      --color-red: #FF0000;
//                                    }
//   SCSS variables (.scss)           // My Colors
//                                    $my-colors-red: #FF0000;
//   Less variables (.less)           // My Colors
//                                    @my-colors-red: #FF0000;
// The CSS dialects begin with @charset "UTF-8"; when they hold other than
// ASCII. The palette's part of a name (not in a Tailwind theme, whose
// "--color-" namespace is what makes the utilities bg-red, text-red...) is made
// of letters, digits and hyphens (exchangenames), after "_" in SCSS and Less
// where it would begin with a digit. The colour's part is its own name, in CSS
// and SCSS escaped as EscapedName() does, in Less as LessName() makes it, or
// for a colour without one the name exchangenames::ColorNames gives; a part
// that an earlier colour has gets "-2", "-3", so that no two declarations
// share a name.
namespace stylesheetpalette {

enum class Dialect { CustomProperties, TailwindTheme, Scss, Less };

struct NamedColor
{
    QString name;
    Color color = 0;
};

// A Tailwind CSS v4 @theme block with a --color-NAME property for each colour,
// in order, under a comment `title` (none when empty). Each name is made an
// identifier part as exchangenames::IdentifierPart does ("color" when nothing
// is left); names are not made unique here.
QByteArray TailwindTheme(const QList<NamedColor>& colors, const QString& title);

QByteArray Write(Dialect dialect, const ExchangePalette& palette);

// A colour's own name as part of a CSS identifier that it does not begin:
// every ASCII character but letters, digits, "-" and "_" escaped with a
// backslash ("primary 500" becomes "primary\ 500"), after control characters
// became spaces; CSS, Sass and Tailwind read it back unchanged.
QString EscapedName(const QString& name);

// A colour's own name as part of a Less variable, which takes no escapes: its
// letters, digits and "_" of any script, in their case, every other run of
// characters one hyphen, no hyphen at either end.
QString LessName(const QString& name);

// The palette in a text of the form that Write() gives, in any of the
// dialects, duplicates and order kept; blank lines, spaces and CR LF line ends
// are allowed. The colours' names are their identifiers with the escapes
// undone and the palette's part taken away where the title gives it. Nothing
// for any other text: a style sheet of another form is a matter for the
// harvester.
std::optional<ExchangePalette> ReadWritten(QByteArrayView content);

} // namespace stylesheetpalette
