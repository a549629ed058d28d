#include "palettes/picker/PickLoupe.h"

#include <QImage>
#include <QPainter>

namespace {

// Grid lines between the magnified pixels and one around them.
constexpr int Extent = PickLoupe::Side * PickLoupe::Zoom + 1;

} // namespace

PickLoupe::PickLoupe(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picLoupe"));
    setFixedSize(Extent, Extent);
    // Every pixel of the widget is painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PickLoupe::sizeHint() const
{
    return QSize(Extent, Extent);
}

void PickLoupe::showPixels(const picksampling::LoupePixels& pixels)
{
    if (pixels == m_pixels)
        return;
    m_pixels = pixels;
    update();
}

void PickLoupe::showNothing()
{
    showPixels({});
}

void PickLoupe::setAverageSize(int size)
{
    if (size == m_averageSize)
        return;
    m_averageSize = size;
    update();
}

std::optional<Color> PickLoupe::shownPixel(int dx, int dy) const
{
    constexpr int Half = Side / 2;
    if (qAbs(dx) > Half || qAbs(dy) > Half)
        return std::nullopt;
    return m_pixels[std::size_t((dy + Half) * Side + dx + Half)];
}

void PickLoupe::paintEvent(QPaintEvent*)
{
    // The pixels as a tiny image, enlarged without smoothing: one drawing
    // call however many pixels change.
    QImage tiny(Side, Side, QImage::Format_RGB32);
    bool anyBeyond = false;
    for (int row = 0; row < Side; ++row) {
        auto* line = reinterpret_cast<QRgb*>(tiny.scanLine(row));
        for (int column = 0; column < Side; ++column) {
            const std::optional<Color>& pixel = m_pixels[std::size_t(row * Side + column)];
            anyBeyond = anyBeyond || !pixel;
            line[column] = pixel ? qRgb(bascommon::GetRed(*pixel), bascommon::GetGreen(*pixel),
                                        bascommon::GetBlue(*pixel))
                                 : qRgb(128, 128, 128);
        }
    }
    QPainter painter(this);
    painter.drawImage(QRect(0, 0, Side * Zoom, Side * Zoom), tiny);
    // Places beyond the screen are hatched, so that no colour is taken for them.
    if (anyBeyond) {
        for (int row = 0; row < Side; ++row)
            for (int column = 0; column < Side; ++column)
                if (!m_pixels[std::size_t(row * Side + column)])
                    painter.fillRect(column * Zoom, row * Zoom, Zoom, Zoom,
                                     QBrush(Qt::black, Qt::BDiagPattern));
    }
    if (m_overlay.isNull() || m_overlaySize != m_averageSize) {
        m_overlay = overlay(m_averageSize);
        m_overlaySize = m_averageSize;
    }
    painter.drawPixmap(0, 0, m_overlay);
}

QPixmap PickLoupe::overlay(int averageSize)
{
    // The grid and the frames do not change from move to move: drawn once.
    QPixmap pixmap(Extent, Extent);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const int inner = Side * Zoom;
    painter.setPen(QColor(0, 0, 0, 64));
    for (int i = 0; i < Side; ++i) {
        painter.drawLine(i * Zoom, 0, i * Zoom, inner - 1);
        painter.drawLine(0, i * Zoom, inner - 1, i * Zoom);
    }
    painter.fillRect(inner, 0, 1, Extent, Qt::darkGray);
    painter.fillRect(0, inner, Extent, 1, Qt::darkGray);

    // White around black: visible on any colour. The averaged square is dashed.
    auto outline = [&painter](int cells, Qt::PenStyle style) {
        const int start = (Side - cells) / 2 * Zoom;
        const QRect square(start, start, cells * Zoom, cells * Zoom);
        painter.setPen(Qt::white);
        painter.drawRect(square.adjusted(-1, -1, 0, 0));
        painter.setPen(QPen(Qt::black, 1, style));
        painter.drawRect(square.adjusted(0, 0, -1, -1));
    };
    if (averageSize > 1)
        outline(averageSize, Qt::DashLine);
    outline(1, Qt::SolidLine);
    return pixmap;
}
