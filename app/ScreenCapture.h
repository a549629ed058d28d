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

    void addScreen(const QRect& geometry, const QImage& image);

    bool isNull() const { return m_screens.isEmpty(); }
    const QList<Screen>& screens() const { return m_screens; }
    // The bounding rectangle of all screens.
    QRect desktopGeometry() const;

    // The colour of the device pixel under a desktop point; nothing outside
    // every screen.
    std::optional<Color> pixelAt(const QPointF& desktopPoint) const;

private:
    QList<Screen> m_screens;
};
