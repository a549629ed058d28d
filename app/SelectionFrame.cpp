#include "app/SelectionFrame.h"

#include "app/DevicePixels.h"

#include <QPainter>

SelectionFrame::SelectionFrame(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void SelectionFrame::paintEvent(QPaintEvent*)
{
    // A dark ring with a light one inside stays visible on any cell colour.
    // Both rings keep one width at any scale factor.
    QPainter painter(this);
    devicepixels::ring(painter, QRectF(rect()), 0, Qt::black);
    devicepixels::ring(painter, QRectF(rect()), 1, Qt::white);
}
