#include "palettes/picker/PickSampling.h"

#include <QImage>

namespace picksampling {

namespace {

QRgb pixelOf(const QImage& image, int x, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

// sum / count to the nearest whole number, ties to even.
int roundedMean(qint64 sum, qint64 count)
{
    const qint64 quotient = sum / count;
    const qint64 twiceRemainder = 2 * (sum % count);
    if (twiceRemainder > count || (twiceRemainder == count && quotient % 2 == 1))
        return int(quotient + 1);
    return int(quotient);
}

} // namespace

void ReadLoupe(const QImage& image, QPoint centre, LoupePixels& pixels)
{
    constexpr int Half = LoupeSide / 2;
    for (int row = 0; row < LoupeSide; ++row) {
        const int y = centre.y() - Half + row;
        for (int column = 0; column < LoupeSide; ++column) {
            const int x = centre.x() - Half + column;
            std::optional<Color>& pixel = pixels[std::size_t(row * LoupeSide + column)];
            if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
                pixel.reset();
                continue;
            }
            const QRgb rgb = pixelOf(image, x, y);
            pixel = bascommon::MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
        }
    }
}

Color Average(const QImage& image, QPoint centre, int size)
{
    const int half = size / 2;
    const int left = qMax(centre.x() - half, 0);
    const int right = qMin(centre.x() + half, image.width() - 1);
    const int top = qMax(centre.y() - half, 0);
    const int bottom = qMin(centre.y() + half, image.height() - 1);
    qint64 red = 0;
    qint64 green = 0;
    qint64 blue = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const QRgb rgb = pixelOf(image, x, y);
            red += qRed(rgb);
            green += qGreen(rgb);
            blue += qBlue(rgb);
        }
    const qint64 count = qint64(right - left + 1) * (bottom - top + 1);
    return bascommon::MakeColor(roundedMean(red, count), roundedMean(green, count),
                                roundedMean(blue, count));
}

} // namespace picksampling
