#pragma once

// The window sizes and control sizes of the layout are given in twips, 15 of
// which make one device-independent pixel.
constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}
