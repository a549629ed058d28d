#pragma once

#include "palettes/generator/ColorGenerator.h"

#include <QWidget>

// The colour generator's preview: one widget that paints every swatch with
// its caption under it, in rows of up to Columns. A click selects a swatch,
// a double-click or Enter activates it; the arrow keys, Home and End move the
// selection. The tooltip of a swatch gives its hex form; the accessible name
// describes the selected swatch.
class SwatchGrid : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Columns = colorgenerator::RampLength;
    // Room for the longest list the generator makes.
    static constexpr int Rows =
        (colorgenerator::MaxSteps + colorgenerator::RampLength - 1) / colorgenerator::RampLength;

    explicit SwatchGrid(QWidget* parent = nullptr);

    // Keeps the selection where it was when that swatch still exists.
    void setSwatches(const colorgenerator::Swatches& swatches);
    const colorgenerator::Swatches& swatches() const { return m_swatches; }

    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);

    int indexAt(const QPoint& position) const;
    QRect swatchRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void currentChanged(int index);
    void activated(int index);
    // The swatch under the mouse, -1 when it leaves them.
    void hovered(int index);
    void contextMenuRequested(int index, const QPoint& globalPosition);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QSize cellSize() const;
    int swatchHeight() const;
    void setHovered(int index);
    void describeCurrent();

    colorgenerator::Swatches m_swatches;
    int m_current = -1;
    int m_hovered = -1;
};
