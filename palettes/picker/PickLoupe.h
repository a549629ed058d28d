#pragma once

#include "palettes/picker/PickSampling.h"

#include <QPixmap>
#include <QWidget>

// The loupe of "Pick&Save Color": the device pixels around the hot spot,
// magnified with a pixel grid, the centre pixel framed and, when the picker
// averages, the averaged square outlined. It shows what it is given and reads
// no screen itself.
class PickLoupe : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Zoom = 8;
    static constexpr int Side = picksampling::LoupeSide;

    explicit PickLoupe(QWidget* parent = nullptr);

    // Repaints only when something changed since the last call.
    void showPixels(const picksampling::LoupePixels& pixels);
    // Nothing under the hot spot (the cursor left the picture).
    void showNothing();
    void setAverageSize(int size);

    // The pixel shown at `dx`, `dy` from the centre; nothing where the
    // loupe reaches beyond the screen or shows nothing at all.
    std::optional<Color> shownPixel(int dx, int dy) const;
    int averageSize() const { return m_averageSize; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QPixmap overlay(int averageSize);

    picksampling::LoupePixels m_pixels{};
    int m_averageSize = 1;
    QPixmap m_overlay;
    int m_overlaySize = 0;
};
