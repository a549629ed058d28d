#pragma once

#include <Qt>

class QKeyEvent;
class QPoint;
class QPointF;
class ScreenCapture;

// What the windows of a frozen screen hand the pointer and the picking keys
// to: the picking run, which holds the picture and reckons in the coordinates
// of its first window.
class PickingRun
{
public:
    // The picture taken when picking began.
    virtual const ScreenCapture& picture() const = 0;
    // Where the run's coordinates have their origin on the desktop.
    virtual QPoint origin() const = 0;
    virtual bool finished() const = 0;

    // Pointer and keys, in the run's coordinates.
    virtual void pointerMoved(const QPointF& position) = 0;
    virtual void pointerReleased(Qt::MouseButton button, QPointF position) = 0;
    // False for a key that picking does not use.
    virtual bool pictureKeyPress(QKeyEvent* event) = 0;
    virtual void FinishPicking() = 0;

protected:
    ~PickingRun() = default;
};
