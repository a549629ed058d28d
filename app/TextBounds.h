#pragma once

#include <QString>

// Bounds on the texts that data files hand to the windows. A name is the
// user's text, but a damaged or hostile file can hold one of megabytes, which
// would freeze every list, menu and message that shows it.
namespace textbounds {

// The longest palette or scheme name that the readers take as it is.
constexpr qsizetype MaxNameLength = 1000;
// The most of one name that a message quotes.
constexpr qsizetype MaxShownNameLength = 200;

// `name` cut to MaxNameLength characters (never inside a surrogate pair);
// `cut` tells whether anything was taken off.
QString BoundName(const QString& name, bool* cut = nullptr);

// `name` as a message quotes it: whole when short, otherwise its beginning,
// an ellipsis and its length in characters.
QString ShownName(const QString& name);

// A message that fits the screen: `summary` is what the box shows and
// `details` the full text behind "Show Details...", empty when the summary is
// the whole text.
struct BoundedMessage
{
    QString summary;
    QString details;
};

// Keeps at most MaxSummaryLines lines of at most MaxLineLength characters,
// MaxSummaryLength in all, in the summary, telling how many lines follow;
// long runs without a space get break opportunities so that no line is wider
// than the box. So the box stays within a screen of 800 x 600. The details
// keep at most MaxDetailsLength characters.
constexpr int MaxSummaryLines = 10;
constexpr qsizetype MaxLineLength = 240;
constexpr qsizetype MaxSummaryLength = 800;
constexpr qsizetype MaxDetailsLength = 200000;
BoundedMessage BoundMessage(const QString& text);

} // namespace textbounds
