#include "palettes/image/ImageCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QWheelEvent>

#include <cmath>

namespace {

// The frame stays visible however small a pixel is drawn.
constexpr int MinMarkerSide = 7;

} // namespace

ImageCanvas::ImageCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picImage"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageCanvas::setImage(const QImage& image)
{
    m_image = image;
    m_hotSpot =
        m_image.isNull() ? QPoint(-1, -1) : QPoint(m_image.width() / 2, m_image.height() / 2);
    resize(sizeHint());
    updateGeometry();
    update();
    if (!m_image.isNull())
        emit hotSpotMoved(m_hotSpot);
}

void ImageCanvas::setZoom(double zoom)
{
    zoom = qBound(MinZoom, zoom, MaxZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize ImageCanvas::sizeHint() const
{
    if (m_image.isNull())
        return QSize(1, 1);
    return QSize(qMax(1, int(std::ceil(m_image.width() * m_zoom))),
                 qMax(1, int(std::ceil(m_image.height() * m_zoom))));
}

void ImageCanvas::setHotSpot(QPoint pixel)
{
    if (m_image.isNull())
        return;
    pixel.setX(qBound(0, pixel.x(), m_image.width() - 1));
    pixel.setY(qBound(0, pixel.y(), m_image.height() - 1));
    if (pixel == m_hotSpot)
        return;
    update(markerRect());
    m_hotSpot = pixel;
    update(markerRect());
    emit hotSpotMoved(m_hotSpot);
}

std::optional<QPoint> ImageCanvas::pixelAt(const QPointF& position) const
{
    if (m_image.isNull())
        return std::nullopt;
    const int x = int(std::floor(position.x() / m_zoom));
    const int y = int(std::floor(position.y() / m_zoom));
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return std::nullopt;
    return QPoint(x, y);
}

QRect ImageCanvas::pixelRect(QPoint pixel) const
{
    const int left = int(std::floor(pixel.x() * m_zoom));
    const int top = int(std::floor(pixel.y() * m_zoom));
    const int right = int(std::floor((pixel.x() + 1) * m_zoom));
    const int bottom = int(std::floor((pixel.y() + 1) * m_zoom));
    return QRect(QPoint(left, top), QPoint(qMax(left, right - 1), qMax(top, bottom - 1)));
}

QRect ImageCanvas::markerRect() const
{
    if (m_hotSpot.x() < 0)
        return {};
    QRect rect = pixelRect(m_hotSpot);
    if (rect.width() < MinMarkerSide)
        rect = QRect(rect.center().x() - MinMarkerSide / 2, rect.center().y() - MinMarkerSide / 2,
                     MinMarkerSide, MinMarkerSide);
    return rect.adjusted(-2, -2, 2, 2);
}

void ImageCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    // Transparent parts show a checkerboard, as image editors show them.
    painter.fillRect(exposed, QBrush(QColor(204, 204, 204)));
    painter.fillRect(exposed, QBrush(QColor(153, 153, 153), Qt::Dense4Pattern));
    if (m_image.isNull())
        return;
    // Only the pixels behind the exposed area: moving the hot spot repaints
    // a few pixels, not the whole picture.
    const int left = qMax(0, int(std::floor(exposed.left() / m_zoom)));
    const int top = qMax(0, int(std::floor(exposed.top() / m_zoom)));
    const int right = qMin(m_image.width(), int(std::ceil((exposed.right() + 1) / m_zoom)));
    const int bottom = qMin(m_image.height(), int(std::ceil((exposed.bottom() + 1) / m_zoom)));
    if (right > left && bottom > top) {
        const QRect source(left, top, right - left, bottom - top);
        const QRectF target(left * m_zoom, top * m_zoom, source.width() * m_zoom,
                            source.height() * m_zoom);
        // Enlarged pixels stay sharp squares; a reduced picture is smoothed.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 1);
        painter.drawImage(target, m_image, source);
    }
    const QRect marker = markerRect().adjusted(2, 2, -2, -2);
    painter.setPen(Qt::white);
    painter.drawRect(marker.adjusted(-2, -2, 1, 1));
    painter.setPen(Qt::black);
    painter.drawRect(marker.adjusted(-1, -1, 0, 0));
}

void ImageCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (const std::optional<QPoint> pixel = pixelAt(event->position()))
        setHotSpot(*pixel);
    QWidget::mouseMoveEvent(event);
}

void ImageCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    // A click beyond the picture (the canvas can be larger) picks nothing.
    const std::optional<QPoint> pixel = pixelAt(event->position());
    if (!pixel)
        return;
    setHotSpot(*pixel);
    emit picked();
}

void ImageCanvas::keyPressEvent(QKeyEvent* event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = {-step, 0};
        break;
    case Qt::Key_Right:
        move = {step, 0};
        break;
    case Qt::Key_Up:
        move = {0, -step};
        break;
    case Qt::Key_Down:
        move = {0, step};
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_image.isNull())
            emit picked();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setHotSpot(m_hotSpot + move);
}

void ImageCanvas::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        // The scroll area scrolls.
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    if (delta != 0)
        emit zoomStepRequested(delta > 0 ? 1 : -1);
    event->accept();
}
