#pragma once

#include "app/bascommon.h"

#include <QList>
#include <QString>

#include <functional>

class QImage;

// The palette of an image: its colours grouped by k-means in OKLab, where
// equal distances look equally different, each with its share of the image.
// Everything is deterministic: the sample of the image and the first centres
// come from a generator with a fixed seed, so the same image always gives the
// same colours in the same order.
namespace paletteextraction {

constexpr int MinColors = 2;
constexpr int MaxColors = 32;
constexpr int DefaultColors = 8;
// Pixels read from a larger image: enough for shares to a tenth of a percent
// of any area that matters, few enough that a photo of many megapixels
// takes a fraction of a second.
constexpr int MaxSamples = 1 << 16;

// Answers true once the caller wants the work to stop; asked between steps.
using CancelCheck = std::function<bool()>;

// One colour of the sample and how much of the image it stands for: the sum
// of its pixels' opacities.
struct WeightedColor
{
    Color color = bascommon::Black;
    double weight = 0;
};

struct PaletteColor
{
    Color color = bascommon::Black;
    // 0 to 1, of the visible (not transparent) part of the image.
    double share = 0;
};

struct Extraction
{
    // Largest share first; fewer than asked for when the image has fewer
    // distinct colours.
    QList<PaletteColor> colors;
    bool cancelled = false;
};

// Every pixel of an image of up to `maxSamples` pixels, otherwise one pixel
// at a fixed random place in each cell of a grid of about `maxSamples` cells;
// fully transparent pixels are left out and partly transparent ones count by
// their opacity. Equal colours are merged; the result is ordered by colour.
// Reads any image format; 32-bit formats are read directly.
QList<WeightedColor> Sample(const QImage& image, int maxSamples = MaxSamples,
                            const CancelCheck& cancelled = {});

// k-means of the sampled colours in OKLab, seeded by k-means++ with a fixed
// seed; `count` is clamped to MinColors..MaxColors.
Extraction Cluster(const QList<WeightedColor>& colors, int count,
                   const CancelCheck& cancelled = {});

// Sample, then Cluster.
Extraction Extract(const QImage& image, int count, const CancelCheck& cancelled = {});

// "40.0%": the share in percent with one decimal, whatever the user's locale.
QString ShareText(double share);

} // namespace paletteextraction
