#include "app/ElidingComboBox.h"

#include "app/ElidingItemDelegate.h"
#include "app/WindowRoutines.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

ElidingComboBox::ElidingComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new ElidingItemDelegate(this));
    view()->setTextElideMode(Qt::ElideRight);
}

int ElidingComboBox::textWidth() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The label is drawn one pixel in from either side of the field.
    return field.width() - 2;
}

QString ElidingComboBox::shownText() const
{
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, textWidth());
}

void ElidingComboBox::showPopup()
{
    QComboBox::showPopup();
    // The list would otherwise widen to its longest entry.
    QWidget* popup = view()->window();
    if (popup != window() && popup->width() > width())
        popup->resize(width(), popup->height());
}

bool ElidingComboBox::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && shownText() != currentText()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           PlainToolTip(currentText()), this);
        return true;
    }
    return QComboBox::event(event);
}

void ElidingComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0 && !placeholderText().isEmpty()) {
        option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
        option.currentText = placeholderText();
    }
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, textWidth());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
