#include "app/ElidingItemDelegate.h"

#include "app/WindowRoutines.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

ElidingItemDelegate::ElidingItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

bool ElidingItemDelegate::isElided(const QString& text, const QFont& font, int width)
{
    return QFontMetrics(font).horizontalAdvance(text) > width;
}

bool ElidingItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event && view && event->type() == QEvent::ToolTip && index.isValid()) {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QStyle* style = view->style();
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
        // The style leaves a margin on either side of the text.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        // The entries are the user's names, shown as written.
        if (isElided(item.text, item.font, textRect.width() - 2 * margin)) {
            QToolTip::showText(event->globalPos(), PlainToolTip(item.text), view->viewport());
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
