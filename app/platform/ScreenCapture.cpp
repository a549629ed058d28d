#include "app/platform/ScreenCapture.h"

#include "app/platform/ScreenScale.h"

#include <cmath>

namespace {

// Device pixels per logical pixel, across and down: each screen has its own.
QPointF ratiosOf(const ScreenCapture::Screen& screen)
{
    return screen.ratio;
}

// A screen's part of the desktop picture at `ratio` device pixels per
// logical pixel, each device pixel taking the picture's pixel under its
// centre.
QImage resampled(const QImage& part, const QSize& deviceSize, double ratio, double pictureScale)
{
    QList<int> columns(deviceSize.width());
    for (int x = 0; x < deviceSize.width(); ++x)
        columns[x] = screenscale::SourcePixel(x, ratio, pictureScale, part.width());
    QImage image(deviceSize, QImage::Format_RGB32);
    for (int y = 0; y < deviceSize.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(
            part.constScanLine(screenscale::SourcePixel(y, ratio, pictureScale, part.height())));
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < deviceSize.width(); ++x)
            to[x] = from[columns[x]];
    }
    return image;
}

} // namespace

void ScreenCapture::addScreen(const QRect& geometry, const QImage& image)
{
    if (geometry.isEmpty() || image.isNull())
        return;
    addScreen(geometry, image, qreal(image.width()) / geometry.width());
    m_screens.last().ratio.setY(qreal(image.height()) / geometry.height());
}

void ScreenCapture::addScreen(const QRect& geometry, const QImage& image, qreal ratio)
{
    if (geometry.isEmpty() || image.isNull() || !(ratio > 0))
        return;
    // One pixel format for every screen keeps the pixel read a plain lookup.
    m_screens.append(
        {geometry, image.convertToFormat(QImage::Format_RGB32), QPointF(ratio, ratio)});
}

ScreenCapture ScreenCapture::without(Outcome outcome)
{
    ScreenCapture capture;
    capture.m_outcome = outcome;
    return capture;
}

ScreenCapture ScreenCapture::fromDesktopPicture(const QImage& picture, const QList<Layout>& screens)
{
    QRect desktop;
    for (const Layout& screen : screens)
        desktop = desktop.united(screen.geometry);
    const std::optional<double> scale = screenscale::PictureScale(picture.size(), desktop);
    ScreenCapture capture;
    if (!scale)
        return capture;
    const QImage whole = picture.convertToFormat(QImage::Format_RGB32);
    for (const Layout& screen : screens) {
        const QRect part = screenscale::PartOf(screen.geometry, desktop, *scale, whole.size());
        if (part.isEmpty())
            continue;
        const double ratio = screenscale::KeptRatio(screen.devicePixelRatio, *scale);
        if (ratio == *scale) {
            capture.addScreen(screen.geometry, whole.copy(part), ratio);
            continue;
        }
        const QSize deviceSize(qMax(1, qRound(screen.geometry.width() * ratio)),
                               qMax(1, qRound(screen.geometry.height() * ratio)));
        capture.addScreen(screen.geometry, resampled(whole.copy(part), deviceSize, ratio, *scale),
                          ratio);
    }
    return capture;
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
    const QRgb rgb =
        reinterpret_cast<const QRgb*>(image.constScanLine(at->pixel.y()))[at->pixel.x()];
    return bascommon::MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

std::optional<ScreenCapture::DevicePixel>
ScreenCapture::devicePixelAt(const QPointF& desktopPoint) const
{
    for (qsizetype i = 0; i < m_screens.size(); ++i) {
        const Screen& screen = m_screens.at(i);
        // Half-open, so a point on the border between two screens belongs to one.
        const QRectF area(screen.geometry);
        if (desktopPoint.x() < area.left() || desktopPoint.x() >= area.right() ||
            desktopPoint.y() < area.top() || desktopPoint.y() >= area.bottom())
            continue;
        const QPointF ratios = ratiosOf(screen);
        const int x = screenscale::DevicePixel(desktopPoint.x() - area.left(), ratios.x(),
                                               screen.image.width());
        const int y = screenscale::DevicePixel(desktopPoint.y() - area.top(), ratios.y(),
                                               screen.image.height());
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
