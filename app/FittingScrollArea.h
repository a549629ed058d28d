#pragma once

#include <QScrollArea>

// A frameless scroll area that asks for room for all of its contents and
// scrolls only when the window cannot give it that room, as on a small
// screen. QScrollArea asks for a share of the font size whatever it holds,
// and would scroll a window that has room to spare.
//
// `shrinks` are the directions in which it may be smaller than its contents.
// In the others it keeps its contents' size, with room for the scroll bar of
// the direction it scrolls in while that bar is shown, so that one bar never
// brings in the other.
class FittingScrollArea : public QScrollArea
{
public:
    FittingScrollArea(QWidget* contents, Qt::Orientations shrinks, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize contentsSize() const;
    // Whether the contents are cut in `direction` at the present size.
    bool cut(Qt::Orientation direction) const;
    // The room the other direction's scroll bar takes while it is shown.
    QSize barsRoom() const;

    Qt::Orientations m_shrinks;
    Qt::Orientations m_cut;
};
