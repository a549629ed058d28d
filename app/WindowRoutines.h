#pragma once

#include <QString>

class Platform;
class QWidget;

// The shared routines that act on windows.

// Keeps `window` above all windows not themselves kept on top.
void SetTopmost(Platform& platform, QWidget* window);
// Returns `window` to the normal z-order band.
void ClearTopmost(Platform& platform, QWidget* window);

// Moves a tool window to the right of `owner`, where it hides none of it,
// kept on `owner`'s screen.
void PlaceBeside(QWidget* window, const QWidget* owner);

// `text` as a tooltip shows it as written. Qt lays out a tooltip as markup
// whenever it looks like markup, so a name from a file could otherwise style
// itself, hide part of itself or make Qt read a file it names.
QString PlainToolTip(const QString& text);

// Asks for a name with a fresh name dialog. Returns the trimmed name ("Untiltled"
// when OK was pressed on an empty field), or empty text when the user cancelled.
QString AskName(Platform& platform, QWidget* parent, const QString& title, const QString& prompt);
// The same question, answered with the text exactly as typed (outer spaces
// kept, no default for an empty field); empty text when the user cancelled or
// typed nothing.
QString AskNameAsTyped(Platform& platform, QWidget* parent, const QString& title,
                       const QString& prompt);
