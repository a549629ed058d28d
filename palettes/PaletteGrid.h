#pragma once

#include "app/bascommon.h"

#include <QList>
#include <QObject>
#include <QPointer>

class ClickableLabel;
class PaletteGridLines;
class QAction;
class QKeyEvent;
class QPoint;
class QWidget;

// Keyboard and screen-reader access to the palette grid, and its lines. One
// cell at a time takes part in the Tab chain, the one last visited; the arrow
// keys move the focus from cell to cell, Page Up and Page Down turn the page
// where the page buttons allow it, and keys stand in for the mouse: Enter or
// Space for a left click, Shift+F10 or the Menu key for a right click at the
// cell. Each cell tells a screen reader its colour and its place in the
// palette, and offers the same two actions.
class PaletteGrid : public QObject
{
    Q_OBJECT
public:
    enum class Content { Empty, Colour, Unreadable };

    // `cells` are numbered down each column, `rows` to a column, and lie in
    // one parent widget, where the grid's lines are drawn over them.
    PaletteGrid(const QList<ClickableLabel*>& cells, int rows, QObject* parent = nullptr);
    ~PaletteGrid() override;

    // The cell stands for `position` (from 1) of `count` colours, newest first;
    // `name` is its colour's name, empty when it has none.
    void describeCell(int index, Content content, Color color, qint32 position, qint32 count,
                      const QString& name = QString());
    // The page buttons: Page Up and Page Down trigger them, and their tooltips
    // add the page on display.
    void setPageButtons(QAction* previous, QAction* next);
    void setPage(qint32 page, qint32 pageCount);

    // The cell that takes the focus when Tab reaches the grid.
    int currentCell() const { return m_current; }
    PaletteGridLines* lines() const { return m_lines; }

    // What a key or a screen reader's action asks of a cell: the same as a
    // release of that mouse button over its middle.
    void activate(int index, Qt::MouseButton button);

    static QString cellName(Content content, Color color, qint32 position, qint32 count,
                            const QString& name = QString());
    static QString pageText(qint32 page, qint32 pageCount);

signals:
    void cellReleased(int index, Qt::MouseButton button, const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool cellKey(int index, const QKeyEvent& key);
    void makeCurrent(int index, bool focus);
    bool gridHasFocus() const;
    bool pageTip(QObject* watched, QEvent* event);

    QList<ClickableLabel*> m_cells;
    int m_rows;
    int m_current = 0;
    PaletteGridLines* m_lines = nullptr;
    QPointer<QAction> m_previous;
    QPointer<QAction> m_next;
    QString m_pageText;
};
