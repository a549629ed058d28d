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
class ScreenCapture
{
public:
    struct Screen
    {
        QRect geometry;
        QImage image;
        // Device pixels per logical pixel, across and down.
        QPointF ratio;
    };
    // Where a screen lies on the desktop and how Qt scales it.
    struct Layout
    {
        QRect geometry;
        qreal devicePixelRatio = 1;
    };
    // Why there is no picture, or that there is one.
    enum class Outcome {
        Captured,
        // The screen could not be read at all.
        NotCaptured,
        // The user dismissed the desktop's screenshot dialog: picking ends quietly.
        Cancelled,
        // The desktop refused the screenshot, or its portal is missing or
        // gave no answer.
        Refused,
        // The desktop hands out no picture but offers its own colour picker,
        // one colour at a time.
        ColorPickerOnly,
    };
    // One device pixel: the screen it belongs to and its place in that
    // screen's image.
    struct DevicePixel
    {
        qsizetype screen = -1;
        QPoint pixel;
        bool operator==(const DevicePixel&) const = default;
    };

    void addScreen(const QRect& geometry, const QImage& image);
    // A screen whose picture is kept at `ratio` device pixels per logical
    // pixel, which its size need not tell exactly.
    void addScreen(const QRect& geometry, const QImage& image, qreal ratio);

    // Each screen's part of `picture`, a picture of the whole desktop in
    // physical pixels, kept at that screen's device pixels. Null when the
    // picture does not have the desktop's shape.
    static ScreenCapture fromDesktopPicture(const QImage& picture, const QList<Layout>& screens);
    // No picture, for the reason given.
    static ScreenCapture without(Outcome outcome);

    bool isNull() const { return m_screens.isEmpty(); }
    Outcome outcome() const { return m_screens.isEmpty() ? m_outcome : Outcome::Captured; }
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
    Outcome m_outcome = Outcome::NotCaptured;
};

// One colour from the desktop's own colour picker.
struct ScreenColorPick
{
    enum class Outcome { Picked, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    Color color = bascommon::Black;
};
