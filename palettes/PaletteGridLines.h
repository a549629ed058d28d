#pragma once

#include <QBitArray>
#include <QWidget>

// The lines of the palette grid, drawn over the cells in one piece: the cells
// themselves are plain coloured rectangles. Every line falls on whole device
// pixels, so that all lines are equally wide at any scale factor; the inner
// lines are black, which stands out on the white of empty cells under any
// theme, and the outer edge takes the window's text colour, which stands out
// on the window. An empty cell is crossed by a grey diagonal, so that it can be
// told from a cell that holds white; the cell with the keyboard focus carries
// a dotted ring inside its lines.
class PaletteGridLines : public QWidget
{
    Q_OBJECT
public:
    // Cells of `cellSize` stand one pixel closer to their neighbours than
    // their size, `rows` to a column, numbered down each column.
    PaletteGridLines(int columns, int rows, const QSize& cellSize, QWidget* parent = nullptr);

    static const QColor InnerLine;
    static const QColor EmptyMark;
    // The edge colour under `palette`: its window text colour, or black or
    // white where that colour does not stand out on the window.
    static QColor edgeColor(const QPalette& palette);

    void setCellEmpty(int index, bool empty);
    bool isCellEmpty(int index) const;
    // -1 for none.
    void setFocusCell(int index);
    int focusCell() const { return m_focusCell; }
    // The cell's rectangle in this widget's coordinates.
    QRect cellRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_columns;
    int m_rows;
    QSize m_cell;
    QBitArray m_empty;
    int m_focusCell = -1;
};
