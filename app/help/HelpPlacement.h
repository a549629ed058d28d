#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// Where the help window opens: beside the window that asked for it, or where
// the user last left it.
namespace helpplacement {

// The setting that keeps the help window's place and size between runs.
QString SettingKey(); // "helpwindow"

// "x,y,width,height" in desktop pixels.
QString ToSetting(const QRect& geometry);
// The place a setting holds; nothing for a damaged or absurd one.
std::optional<QRect> FromSetting(const QString& text);

// A remembered place that the screens of today still show well enough to take
// hold of: its top edge, where the title bar is, lies on one of `available`,
// and it is no larger than that screen. Nothing otherwise.
std::optional<QRect> Usable(const QRect& remembered, const QList<QRect>& available);

// A first place beside `owner` (its frame) within `available` (the screen's
// free area): `preferred` cut to the screen, on the side with room for it,
// right before left; where neither side has room, on the roomier side as far
// out as the screen allows, then overlapping the owner.
QRect BesideOwner(const QRect& owner, const QRect& available, const QSize& preferred);

} // namespace helpplacement
