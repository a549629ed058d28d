#pragma once

#include "app/bascommon.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>

#include <optional>

// A still picture of the whole desktop, taken once per picking run: one image
// per screen, each in that screen's device pixels, placed at the screen's
// geometry in desktop coordinates (device-independent pixels).
class ScreenCapture {
public:
    struct Screen {
        QRect geometry;
        QImage image;
    };
    // One device pixel: the screen it belongs to and its place in that
    // screen's image.
    struct DevicePixel {
        qsizetype screen = -1;
        QPoint pixel;
        bool operator==(const DevicePixel&) const = default;
    };

    void addScreen(const QRect& geometry, const QImage& image);

    bool isNull() const { return m_screens.isEmpty(); }
    const QList<Screen>& screens() const { return m_screens; }
    // The bounding rectangle of all screens.
    QRect desktopGeometry() const;

    // The colour of the device pixel under a desktop point; nothing outside
    // every screen.
    std::optional<Color> pixelAt(const QPointF& desktopPoint) const;

    // The device pixel under a desktop point, each screen mapped through its
    // own ratio of device to logical pixels; nothing outside every screen.
    std::optional<DevicePixel> devicePixelAt(const QPointF& desktopPoint) const;
    // The desktop point at the centre of a device pixel, which devicePixelAt
    // maps back to that pixel.
    QPointF desktopCentreOf(const DevicePixel& devicePixel) const;

private:
    QList<Screen> m_screens;
};
