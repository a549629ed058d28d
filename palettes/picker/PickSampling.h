#pragma once

#include "app/bascommon.h"

#include <QPoint>

#include <array>
#include <optional>

class QImage;

// What the picker reads around the device pixel under the hot spot: the
// square that the loupe magnifies and the mean colour of a small square.
namespace picksampling {

// The loupe's side in device pixels, odd so that one pixel is the centre.
constexpr int LoupeSide = 11;
using LoupePixels = std::array<std::optional<Color>, LoupeSide * LoupeSide>;

// Both read 32-bit pixels, the format in which ScreenCapture keeps every
// screen.

// The square of LoupeSide pixels around `centre`, row by row; nothing for a
// place beyond the edge of the image.
void ReadLoupe(const QImage& image, QPoint centre, LoupePixels& pixels);

// The mean of the `size` x `size` square around `centre` (size odd), over
// the pixels of that square that lie in the image, so a square at the edge
// of a screen takes fewer. Each channel is rounded to the nearest whole
// number, ties to even; a tie needs an even number of pixels, which only a
// square cut by the edge has. Size 1 is the centre pixel itself.
Color Average(const QImage& image, QPoint centre, int size);

} // namespace picksampling
