#pragma once

#include <QStyledItemDelegate>

// Draws each item's text cut short with an ellipsis where the row is too
// narrow for it, and shows the whole text as the item's tooltip then.
class ElidingItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit ElidingItemDelegate(QObject* parent = nullptr);

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // True when `text` in `font` needs more than `width` pixels.
    static bool isElided(const QString& text, const QFont& font, int width);
};
