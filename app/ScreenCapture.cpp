#include "app/ScreenCapture.h"

#include <cmath>

void ScreenCapture::addScreen(const QRect& geometry, const QImage& image)
{
    if (geometry.isEmpty() || image.isNull())
        return;
    // One pixel format for every screen keeps the pixel read a plain lookup.
    m_screens.append({geometry, image.convertToFormat(QImage::Format_RGB32)});
}

QRect ScreenCapture::desktopGeometry() const
{
    QRect all;
    for (const Screen& screen : m_screens)
        all = all.united(screen.geometry);
    return all;
}

std::optional<Color> ScreenCapture::pixelAt(const QPointF& desktopPoint) const
{
    for (const Screen& screen : m_screens) {
        // Half-open, so a point on the border between two screens belongs to one.
        const QRectF area(screen.geometry);
        if (desktopPoint.x() < area.left() || desktopPoint.x() >= area.right() ||
            desktopPoint.y() < area.top() || desktopPoint.y() >= area.bottom())
            continue;
        // Each screen maps through its own ratio of device to logical pixels.
        const qreal ratioX = qreal(screen.image.width()) / screen.geometry.width();
        const qreal ratioY = qreal(screen.image.height()) / screen.geometry.height();
        const int x = qBound(0, int(std::floor((desktopPoint.x() - area.left()) * ratioX)), screen.image.width() - 1);
        const int y = qBound(0, int(std::floor((desktopPoint.y() - area.top()) * ratioY)), screen.image.height() - 1);
        const QRgb rgb = reinterpret_cast<const QRgb*>(screen.image.constScanLine(y))[x];
        return bascommon::MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    return std::nullopt;
}
