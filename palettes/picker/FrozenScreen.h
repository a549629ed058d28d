#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

class QPainter;
class PickingRun;
class ScreenCapture;

// One more screen of the frozen picture where the window system gives
// clients no desktop positions (Wayland): a borderless full-screen window on
// that screen that shows its part of the picture and hands the pointer and
// the picking keys to the picking run (frmGetColor).
class FrozenScreen : public QWidget
{
    Q_OBJECT
public:
    FrozenScreen(PickingRun& run, const QRect& desktopArea);

    // The part of the desktop this window shows, in desktop coordinates.
    QRect desktopArea() const { return m_area; }

    // Paints the part of `picture` that lies in `dirty`, a rectangle of a
    // window whose top-left corner is at `origin` on the desktop: device
    // pixels of the picture onto device pixels of the window, without
    // smoothing, so the picture looks exactly like the screen did.
    static void paintPicture(QPainter& painter, const ScreenCapture& picture, const QPoint& origin,
                             const QRect& dirty);
    // Covers the screen at `desktopArea` with `window`, full screen on that
    // screen where Qt knows it.
    static void coverScreen(QWidget* window, const QRect& desktopArea);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    // A position in this window as a position of the picking run.
    QPointF inPicker(const QPointF& position) const;

    PickingRun& m_picker;
    QRect m_area;
};
