#include "app/FittingScrollArea.h"

#include <QScrollBar>
#include <QStyle>

FittingScrollArea::FittingScrollArea(QWidget* contents, Qt::Orientations shrinks, QWidget* parent)
    : QScrollArea(parent), m_shrinks(shrinks)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(contents);
    if (!(shrinks & Qt::Horizontal))
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!(shrinks & Qt::Vertical))
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QSize FittingScrollArea::contentsSize() const
{
    const QWidget* contents = widget();
    return contents ? contents->sizeHint().expandedTo(contents->minimumSizeHint()) : QSize(0, 0);
}

bool FittingScrollArea::cut(Qt::Orientation direction) const
{
    const QSize room = viewport()->size();
    const QSize wanted = contentsSize();
    return direction == Qt::Horizontal ? room.width() < wanted.width()
                                       : room.height() < wanted.height();
}

QSize FittingScrollArea::barsRoom() const
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return {m_cut & Qt::Vertical ? extent : 0, m_cut & Qt::Horizontal ? extent : 0};
}

QSize FittingScrollArea::sizeHint() const
{
    return contentsSize() + barsRoom();
}

QSize FittingScrollArea::minimumSizeHint() const
{
    const QSize least = QScrollArea::minimumSizeHint();
    const QSize whole = sizeHint();
    return {m_shrinks & Qt::Horizontal ? std::min(least.width(), whole.width()) : whole.width(),
            m_shrinks & Qt::Vertical ? std::min(least.height(), whole.height()) : whole.height()};
}

void FittingScrollArea::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    Qt::Orientations cutNow;
    if (m_shrinks & Qt::Horizontal && cut(Qt::Horizontal))
        cutNow |= Qt::Horizontal;
    if (m_shrinks & Qt::Vertical && cut(Qt::Vertical))
        cutNow |= Qt::Vertical;
    if (cutNow != m_cut) {
        m_cut = cutNow;
        updateGeometry();
    }
}
