#pragma once

#include <QMargins>
#include <QString>

class Platform;
class QWidget;

// The shared routines that act on windows.

// Keeps `window` above all windows not themselves kept on top.
void SetTopmost(Platform& platform, QWidget* window);
// Returns `window` to the normal z-order band.
void ClearTopmost(Platform& platform, QWidget* window);

// What the desktop draws around `window` (title bar and borders), or the
// same around `owner` while `window` has not been shown.
QMargins FrameMargins(const QWidget* window, const QWidget* owner);

// Sizes a window that scrolls its contents to show them all where the free
// area of `owner`'s screen allows, frame included, no smaller than its
// layout's minimum, and centres it on `owner` within that area.
void FitToScreen(QWidget* window, const QWidget* owner);

// Once the desktop has framed `window`, brings its frame inside the screen's
// free area if the size and place set before it was shown let it stick out.
void KeepFrameOnScreen(QWidget* window);

// Moves a tool window to the right of `owner`, where it hides none of it,
// kept on `owner`'s screen. A window not yet sized gets the size it asks for.
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
