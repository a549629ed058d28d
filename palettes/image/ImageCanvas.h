#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

// The picture of "Colors From Image" at a chosen zoom, inside a scroll area,
// with the hot spot framed: the image pixel that the loupe centres on and a
// click picks. The mouse moves the hot spot; the arrows move it one image
// pixel (with Shift ten); a left click or Enter picks; Ctrl and the wheel
// ask for another zoom.
class ImageCanvas : public QWidget
{
    Q_OBJECT
public:
    static constexpr double MinZoom = 1.0 / 16;
    static constexpr double MaxZoom = 32;

    explicit ImageCanvas(QWidget* parent = nullptr);

    // Puts the hot spot on the middle of the picture.
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

    void setZoom(double zoom);
    double zoom() const { return m_zoom; }

    QPoint hotSpot() const { return m_hotSpot; }
    // Clamped to the picture; nothing happens without one.
    void setHotSpot(QPoint pixel);
    // The image pixel under a point of this widget; nothing beyond the picture.
    std::optional<QPoint> pixelAt(const QPointF& position) const;
    // Where an image pixel lies in this widget.
    QRect pixelRect(QPoint pixel) const;

    QSize sizeHint() const override;

signals:
    void hotSpotMoved(QPoint pixel);
    void picked();
    // Ctrl and the wheel: +1 to zoom in one step, -1 to zoom out.
    void zoomStepRequested(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The frame around the hot spot, with room for its outline.
    QRect markerRect() const;

    QImage m_image;
    double m_zoom = 1;
    QPoint m_hotSpot{-1, -1};
};
