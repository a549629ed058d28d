#include "app/ScreenCapture.h"

#include <cmath>

namespace {

// Device pixels per logical pixel, across and down: each screen has its own.
QPointF ratiosOf(const ScreenCapture::Screen& screen)
{
    return QPointF(qreal(screen.image.width()) / screen.geometry.width(),
                   qreal(screen.image.height()) / screen.geometry.height());
}

} // namespace

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
    const std::optional<DevicePixel> at = devicePixelAt(desktopPoint);
    if (!at)
        return std::nullopt;
    const QImage& image = m_screens.at(at->screen).image;
    const QRgb rgb = reinterpret_cast<const QRgb*>(image.constScanLine(at->pixel.y()))[at->pixel.x()];
    return bascommon::MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

std::optional<ScreenCapture::DevicePixel> ScreenCapture::devicePixelAt(const QPointF& desktopPoint) const
{
    for (qsizetype i = 0; i < m_screens.size(); ++i) {
        const Screen& screen = m_screens.at(i);
        // Half-open, so a point on the border between two screens belongs to one.
        const QRectF area(screen.geometry);
        if (desktopPoint.x() < area.left() || desktopPoint.x() >= area.right() ||
            desktopPoint.y() < area.top() || desktopPoint.y() >= area.bottom())
            continue;
        const QPointF ratios = ratiosOf(screen);
        const int x = qBound(0, int(std::floor((desktopPoint.x() - area.left()) * ratios.x())), screen.image.width() - 1);
        const int y = qBound(0, int(std::floor((desktopPoint.y() - area.top()) * ratios.y())), screen.image.height() - 1);
        return DevicePixel{i, QPoint(x, y)};
    }
    return std::nullopt;
}

QPointF ScreenCapture::desktopCentreOf(const DevicePixel& devicePixel) const
{
    const Screen& screen = m_screens.at(devicePixel.screen);
    const QPointF ratios = ratiosOf(screen);
    return QPointF(screen.geometry.x() + (devicePixel.pixel.x() + 0.5) / ratios.x(),
                   screen.geometry.y() + (devicePixel.pixel.y() + 0.5) / ratios.y());
}
