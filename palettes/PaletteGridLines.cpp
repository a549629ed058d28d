#include "palettes/PaletteGridLines.h"

#include "app/ClickableLabel.h"
#include "app/DevicePixels.h"
#include "models/science/Contrast.h"

#include <QPainter>

// Black on the white of empty cells is the strongest contrast there is; the
// grey of the empty mark still stands 3:1 against that white.
const QColor PaletteGridLines::InnerLine = QColor(0, 0, 0);
const QColor PaletteGridLines::EmptyMark = QColor(0x8C, 0x8C, 0x8C);

namespace {

constexpr double LineContrast = 3.0;

} // namespace

PaletteGridLines::PaletteGridLines(int columns, int rows, const QSize& cellSize, QWidget* parent)
    : QWidget(parent), m_columns(columns), m_rows(rows), m_cell(cellSize), m_empty(columns * rows)
{
    setObjectName(QStringLiteral("paletteGridLines"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(columns * (cellSize.width() - 1) + 1, rows * (cellSize.height() - 1) + 1);
}

QColor PaletteGridLines::edgeColor(const QPalette& palette)
{
    const Color window = fromQColor(palette.color(QPalette::Window));
    const QColor text = palette.color(QPalette::WindowText);
    if (wcag::ContrastRatio(fromQColor(text), window) >= LineContrast)
        return text;
    return wcag::ContrastRatio(bascommon::Black, window) >=
                   wcag::ContrastRatio(bascommon::White, window)
               ? QColor(Qt::black)
               : QColor(Qt::white);
}

void PaletteGridLines::setCellEmpty(int index, bool empty)
{
    if (index < 0 || index >= m_empty.size() || m_empty.testBit(index) == empty)
        return;
    m_empty.setBit(index, empty);
    update(cellRect(index));
}

bool PaletteGridLines::isCellEmpty(int index) const
{
    return index >= 0 && index < m_empty.size() && m_empty.testBit(index);
}

void PaletteGridLines::setFocusCell(int index)
{
    if (index == m_focusCell)
        return;
    if (m_focusCell >= 0)
        update(cellRect(m_focusCell));
    m_focusCell = index;
    if (m_focusCell >= 0)
        update(cellRect(m_focusCell));
}

QRect PaletteGridLines::cellRect(int index) const
{
    return QRect((index / m_rows) * (m_cell.width() - 1), (index % m_rows) * (m_cell.height() - 1),
                 m_cell.width(), m_cell.height());
}

void PaletteGridLines::paintEvent(QPaintEvent*)
{
    QPainter painter(this);

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(EmptyMark, 0));
    for (int i = 0; i < m_empty.size(); ++i) {
        if (!m_empty.testBit(i))
            continue;
        const QRectF cell = cellRect(i);
        painter.drawLine(QPointF(cell.left() + 2.5, cell.bottom() - 2.5),
                         QPointF(cell.right() - 2.5, cell.top() + 2.5));
    }

    const qreal strideX = m_cell.width() - 1;
    const qreal strideY = m_cell.height() - 1;
    const qreal right = m_columns * strideX + 1;
    const qreal bottom = m_rows * strideY + 1;
    for (int column = 1; column < m_columns; ++column)
        devicepixels::verticalLine(painter, column * strideX, 0, bottom, InnerLine);
    for (int row = 1; row < m_rows; ++row)
        devicepixels::horizontalLine(painter, row * strideY, 0, right, InnerLine);
    const QColor edge = edgeColor(palette());
    devicepixels::ring(painter, QRectF(0, 0, right, bottom), 0, edge);

    if (m_focusCell >= 0)
        devicepixels::dottedRing(painter, QRectF(cellRect(m_focusCell)), 1, Qt::black, Qt::white);
}
