#include "app/help/HelpPlacement.h"

#include <QStringList>

#include <algorithm>

namespace helpplacement {

namespace {

// Four numbers of desktop pixels need no more; a longer setting is not ours.
constexpr qsizetype LongestSetting = 64;
// Beyond any screen in use, and keeps the arithmetic far from overflow.
constexpr int LargestCoordinate = 100000;
// What a window with a title bar, a toolbar and a page needs at least.
constexpr int SmallestSide = 120;
// Between the owner's frame and the help window's.
constexpr int Gap = 8;
// How much of the top edge must lie on a screen to take hold of the window.
constexpr int GraspableTop = 48;

} // namespace

QString SettingKey()
{
    return QStringLiteral("helpwindow");
}

QString ToSetting(const QRect& geometry)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(geometry.x())
        .arg(geometry.y())
        .arg(geometry.width())
        .arg(geometry.height());
}

std::optional<QRect> FromSetting(const QString& text)
{
    if (text.size() > LongestSetting)
        return std::nullopt;
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok || values[i] < -LargestCoordinate || values[i] > LargestCoordinate)
            return std::nullopt;
    }
    if (values[2] < SmallestSide || values[3] < SmallestSide)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}

std::optional<QRect> Usable(const QRect& remembered, const QList<QRect>& available)
{
    for (const QRect& screen : available) {
        const QRect top(remembered.left(), remembered.top(), remembered.width(), 1);
        const QRect onScreen = top.intersected(screen);
        if (onScreen.isEmpty() || onScreen.width() < std::min(GraspableTop, remembered.width()))
            continue;
        if (remembered.width() > screen.width() || remembered.height() > screen.height())
            continue;
        return remembered;
    }
    return std::nullopt;
}

QRect BesideOwner(const QRect& owner, const QRect& available, const QSize& preferred)
{
    const int width = std::min(preferred.width(), available.width());
    const int height = std::min(preferred.height(), available.height());
    const int roomRight = available.right() - owner.right() - Gap;
    const int roomLeft = owner.left() - available.left() - Gap;
    int x = 0;
    if (roomRight >= width)
        x = owner.right() + 1 + Gap;
    else if (roomLeft >= width)
        x = owner.left() - Gap - width;
    else if (roomRight >= roomLeft)
        x = available.right() + 1 - width;
    else
        x = available.left();
    const int y = std::clamp(owner.top(), available.top(), available.bottom() + 1 - height);
    return QRect(x, y, width, height);
}

} // namespace helpplacement
