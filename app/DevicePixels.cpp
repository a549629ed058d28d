#include "app/DevicePixels.h"

#include <QColor>
#include <QPainter>
#include <QtMath>

namespace devicepixels {

namespace {

// Widget painters carry no rotation or shear, so each axis maps on its own.
int deviceX(const QTransform& toDevice, qreal x)
{
    return qRound(toDevice.m11() * x + toDevice.dx());
}

int deviceY(const QTransform& toDevice, qreal y)
{
    return qRound(toDevice.m22() * y + toDevice.dy());
}

} // namespace

int hairline(const QPainter& painter)
{
    return qMax(1, qFloor(painter.deviceTransform().m11() + 1e-6));
}

QRect toDevice(const QPainter& painter, const QRectF& logical)
{
    const QTransform t = painter.deviceTransform();
    const int left = deviceX(t, logical.left());
    const int top = deviceY(t, logical.top());
    return QRect(left, top, deviceX(t, logical.right()) - left, deviceY(t, logical.bottom()) - top);
}

void fillDevice(QPainter& painter, const QRect& device, const QColor& color)
{
    if (device.isEmpty())
        return;
    // The rectangle goes back through the inverse transform; the rasteriser
    // rounds its edges to the same whole device pixels again.
    const QTransform toLogical = painter.deviceTransform().inverted();
    const QRectF logical = toLogical.mapRect(QRectF(device));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(logical, color);
    painter.restore();
}

void verticalLine(QPainter& painter, qreal at, qreal from, qreal to, const QColor& color)
{
    const QTransform t = painter.deviceTransform();
    const int x = deviceX(t, at);
    const int top = deviceY(t, from);
    fillDevice(painter, QRect(x, top, hairline(painter), deviceY(t, to) - top), color);
}

void horizontalLine(QPainter& painter, qreal at, qreal from, qreal to, const QColor& color)
{
    const QTransform t = painter.deviceTransform();
    const int y = deviceY(t, at);
    const int left = deviceX(t, from);
    fillDevice(painter, QRect(left, y, deviceX(t, to) - left, hairline(painter)), color);
}

void ring(QPainter& painter, const QRectF& logical, int inset, const QColor& color)
{
    const int w = hairline(painter);
    const QRect r =
        toDevice(painter, logical).adjusted(inset * w, inset * w, -inset * w, -inset * w);
    if (r.width() < 2 * w || r.height() < 2 * w)
        return;
    fillDevice(painter, QRect(r.left(), r.top(), r.width(), w), color);
    fillDevice(painter, QRect(r.left(), r.bottom() - w + 1, r.width(), w), color);
    fillDevice(painter, QRect(r.left(), r.top() + w, w, r.height() - 2 * w), color);
    fillDevice(painter, QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), color);
}

void dottedRing(QPainter& painter, const QRectF& logical, int inset, const QColor& first,
                const QColor& second)
{
    ring(painter, logical, inset, second);
    const int w = hairline(painter);
    const QRect r =
        toDevice(painter, logical).adjusted(inset * w, inset * w, -inset * w, -inset * w);
    if (r.width() < 2 * w || r.height() < 2 * w)
        return;
    const int dash = 2 * w;
    for (int x = r.left(); x <= r.right(); x += 2 * dash) {
        const int length = qMin(dash, r.right() + 1 - x);
        fillDevice(painter, QRect(x, r.top(), length, w), first);
        fillDevice(painter, QRect(x, r.bottom() - w + 1, length, w), first);
    }
    for (int y = r.top(); y <= r.bottom(); y += 2 * dash) {
        const int length = qMin(dash, r.bottom() + 1 - y);
        fillDevice(painter, QRect(r.left(), y, w, length), first);
        fillDevice(painter, QRect(r.right() - w + 1, y, w, length), first);
    }
}

} // namespace devicepixels
