#pragma once

#include <QRect>

class QColor;
class QPainter;

// Lines that fall on whole device pixels. At a fractional scale factor a line
// one pixel wide covers one and a half device pixels (or one and a quarter),
// which the rasteriser fills one or two pixels wide depending on where it
// starts. These routines round every edge to a device pixel under the
// painter's own transform first, so that all lines of a kind are equally wide.
namespace devicepixels {

// Width in device pixels of a line meant to be one pixel wide: the whole part
// of the scale factor, at least 1.
int hairline(const QPainter& painter);

// The device rectangle that `logical` covers, every edge rounded.
QRect toDevice(const QPainter& painter, const QRectF& logical);

// Fills the device pixels of `device` (from toDevice) with `color`.
void fillDevice(QPainter& painter, const QRect& device, const QColor& color);

// A line `hairline` device pixels wide that starts at the logical coordinate
// `at` and runs from `from` to `to` along the other axis.
void verticalLine(QPainter& painter, qreal at, qreal from, qreal to, const QColor& color);
void horizontalLine(QPainter& painter, qreal at, qreal from, qreal to, const QColor& color);

// A ring one hairline wide along the inside of `logical`, `inset` hairlines in
// from its edge. With a second colour the ring is dotted: the colours take
// turns every two hairlines, so that it shows on any background.
void ring(QPainter& painter, const QRectF& logical, int inset, const QColor& color);
void dottedRing(QPainter& painter, const QRectF& logical, int inset, const QColor& first,
                const QColor& second);

} // namespace devicepixels
