#include "palettes/generator/SwatchGrid.h"

#include "app/WindowRoutines.h"
#include "models/science/Contrast.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int Gap = 6;

QColor toQColor(Color color)
{
    return QColor(bascommon::GetRed(color), bascommon::GetGreen(color), bascommon::GetBlue(color));
}

// Black or white, whichever stands out more on the colour.
QColor markOn(Color color)
{
    return wcag::ContrastRatio(color, bascommon::Black) >=
                   wcag::ContrastRatio(color, bascommon::White)
               ? Qt::black
               : Qt::white;
}

} // namespace

SwatchGrid::SwatchGrid(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SwatchGrid::cellSize() const
{
    // The longest caption the generator writes is a shade's, at most 95%.
    const int width =
        std::max(56, fontMetrics().horizontalAdvance(QStringLiteral("Shade 95%")) + 4);
    return {width, swatchHeight() + 2 * fontMetrics().height() + 2};
}

int SwatchGrid::swatchHeight() const
{
    return std::max(44, fontMetrics().height() * 3);
}

QSize SwatchGrid::sizeHint() const
{
    const QSize cell = cellSize();
    return {Columns * cell.width() + (Columns + 1) * Gap, Rows * cell.height() + (Rows + 1) * Gap};
}

QRect SwatchGrid::swatchRect(int index) const
{
    const QSize cell = cellSize();
    const int column = index % Columns;
    const int row = index / Columns;
    return {Gap + column * (cell.width() + Gap), Gap + row * (cell.height() + Gap), cell.width(),
            swatchHeight()};
}

int SwatchGrid::indexAt(const QPoint& position) const
{
    for (int i = 0; i < m_swatches.size(); ++i)
        if (swatchRect(i).contains(position))
            return i;
    return -1;
}

void SwatchGrid::setSwatches(const colorgenerator::Swatches& swatches)
{
    m_swatches = swatches;
    const int current =
        m_swatches.isEmpty() ? -1 : std::clamp(m_current, 0, int(m_swatches.size()) - 1);
    if (m_hovered >= m_swatches.size())
        setHovered(-1);
    update();
    const bool moved = current != m_current;
    m_current = current;
    describeCurrent();
    if (moved)
        emit currentChanged(m_current);
}

void SwatchGrid::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_swatches.size() || index == m_current)
        return;
    m_current = index;
    update();
    describeCurrent();
    emit currentChanged(m_current);
}

void SwatchGrid::describeCurrent()
{
    // One widget paints every swatch, so it speaks for the selected one.
    if (m_current < 0) {
        setAccessibleName(QStringLiteral("No swatches"));
        return;
    }
    const colorgenerator::Swatch& swatch = m_swatches.at(m_current);
    QString name = bascommon::ColorToHtmlHex(swatch.color) + QStringLiteral(", ") + swatch.label;
    if (!swatch.detail.isEmpty())
        name += QStringLiteral(", ") + swatch.detail;
    setAccessibleName(
        name + QStringLiteral(", swatch %1 of %2").arg(m_current + 1).arg(m_swatches.size()));
}

void SwatchGrid::setHovered(int index)
{
    if (index == m_hovered)
        return;
    m_hovered = index;
    emit hovered(index);
}

bool SwatchGrid::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = indexAt(help->pos());
        if (index < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const colorgenerator::Swatch& swatch = m_swatches.at(index);
        QString tip = bascommon::ColorToHtmlHex(swatch.color) + QStringLiteral("  ") + swatch.label;
        if (!swatch.detail.isEmpty())
            tip += QStringLiteral(", ") + swatch.detail;
        QToolTip::showText(help->globalPos(), PlainToolTip(tip), this, swatchRect(index));
        return true;
    }
    return QWidget::event(event);
}

void SwatchGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    const QFontMetrics metrics = fontMetrics();
    for (int i = 0; i < m_swatches.size(); ++i) {
        const colorgenerator::Swatch& swatch = m_swatches.at(i);
        const QRect rect = swatchRect(i);
        painter.fillRect(rect, toQColor(swatch.color));
        painter.setPen(colors.color(QPalette::Mid));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        if (swatch.isBase) {
            // The starting colour carries a dot, so it can be found in any list.
            painter.setPen(Qt::NoPen);
            painter.setBrush(markOn(swatch.color));
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.drawEllipse(QRect(rect.left() + 5, rect.top() + 5, 7, 7));
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setBrush(Qt::NoBrush);
        }
        if (i == m_current) {
            painter.setPen(
                QPen(colors.color(hasFocus() ? QPalette::Highlight : QPalette::Text), 2));
            painter.drawRect(rect.adjusted(1, 1, -2, -2));
            painter.setPen(QPen(markOn(swatch.color), 1, Qt::DotLine));
            painter.drawRect(rect.adjusted(4, 4, -5, -5));
        }
        painter.setPen(colors.color(QPalette::WindowText));
        const QRect caption(rect.left() - Gap / 2, rect.bottom() + 2, rect.width() + Gap,
                            metrics.height());
        painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop,
                         metrics.elidedText(swatch.label, Qt::ElideRight, caption.width()));
        if (!swatch.detail.isEmpty())
            painter.drawText(caption.translated(0, metrics.height()),
                             Qt::AlignHCenter | Qt::AlignTop,
                             metrics.elidedText(swatch.detail, Qt::ElideRight, caption.width()));
    }
}

void SwatchGrid::mousePressEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (index >= 0 && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        setCurrentIndex(index);
    QWidget::mousePressEvent(event);
}

void SwatchGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (index >= 0 && event->button() == Qt::LeftButton) {
        setCurrentIndex(index);
        emit activated(index);
    }
}

void SwatchGrid::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(indexAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void SwatchGrid::leaveEvent(QEvent* event)
{
    setHovered(-1);
    QWidget::leaveEvent(event);
}

void SwatchGrid::keyPressEvent(QKeyEvent* event)
{
    if (m_swatches.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int last = int(m_swatches.size()) - 1;
    int target = m_current;
    switch (event->key()) {
    case Qt::Key_Left:
        target = m_current - 1;
        break;
    case Qt::Key_Right:
        target = m_current + 1;
        break;
    case Qt::Key_Up:
        target = m_current - Columns;
        break;
    case Qt::Key_Down:
        target = m_current + Columns;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = last;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_current >= 0)
            emit activated(m_current);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setCurrentIndex(std::clamp(target, 0, last));
}

void SwatchGrid::contextMenuEvent(QContextMenuEvent* event)
{
    int index = indexAt(event->pos());
    // From the keyboard (the menu key) the menu is for the selected swatch.
    if (event->reason() != QContextMenuEvent::Mouse)
        index = m_current;
    if (index < 0)
        return;
    setCurrentIndex(index);
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : mapToGlobal(swatchRect(index).center());
    emit contextMenuRequested(index, at);
}
