#include "palettes/image/PaletteExtraction.h"

#include <QImage>

#include "models/science/ColorScience.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace paletteextraction {

namespace {

// SplitMix64: small, fast and the same on every platform and standard
// library, which the standard distributions are not.
class FixedRandom
{
public:
    explicit FixedRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 up to (not including) 1.
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    std::uint64_t m_state;
};

constexpr std::uint64_t SampleSeed = 0x7469'6E74'6F72'6131ULL;
constexpr std::uint64_t CentreSeed = 0x6B6D'6561'6E73'2B2BULL;
constexpr int MaxIterations = 50;

// A pixel as straight (not premultiplied) ARGB, from any format.
QRgb straightPixel(const QImage& image, int x, int y)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
    case QImage::Format_ARGB32_Premultiplied:
        return qUnpremultiply(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
    default:
        return image.pixelColor(x, y).rgba();
    }
}

struct Point
{
    colorscience::OkLab lab;
    double weight = 0;
};

double distanceSquared(const colorscience::OkLab& first, const colorscience::OkLab& second)
{
    const double dl = first.l - second.l;
    const double da = first.a - second.a;
    const double db = first.b - second.b;
    return dl * dl + da * da + db * db;
}

// Index of the centre nearest to `lab`; the first of equals.
std::size_t nearest(const colorscience::OkLab& lab, const std::vector<colorscience::OkLab>& centres,
                    double* distance = nullptr)
{
    std::size_t best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (std::size_t c = 0; c < centres.size(); ++c) {
        const double d = distanceSquared(lab, centres[c]);
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    if (distance)
        *distance = bestDistance;
    return best;
}

// The index of the point where `target` falls in the running sum of `weights`.
std::size_t pickWeighted(const std::vector<double>& weights, double target)
{
    double sum = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        sum += weights[i];
        if (target < sum && weights[i] > 0)
            return i;
    }
    // Rounding left the target at the very end: the last point that counts.
    for (std::size_t i = weights.size(); i-- > 0;)
        if (weights[i] > 0)
            return i;
    return 0;
}

// k-means++: the first centre by weight, each further one by weight times
// the squared distance to the nearest centre so far, so that the centres
// start spread over the colours that matter.
std::vector<colorscience::OkLab> seedCentres(const std::vector<Point>& points, std::size_t count)
{
    FixedRandom random(CentreSeed);
    std::vector<double> chance(points.size());
    double total = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        chance[i] = points[i].weight;
        total += chance[i];
    }
    std::vector<colorscience::OkLab> centres;
    centres.push_back(points[pickWeighted(chance, random.unit() * total)].lab);
    std::vector<double> distance(points.size(), std::numeric_limits<double>::max());
    while (centres.size() < count) {
        total = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            distance[i] = std::min(distance[i], distanceSquared(points[i].lab, centres.back()));
            chance[i] = points[i].weight * distance[i];
            total += chance[i];
        }
        // Every colour is already a centre.
        if (total <= 0)
            break;
        centres.push_back(points[pickWeighted(chance, random.unit() * total)].lab);
    }
    return centres;
}

} // namespace

QList<WeightedColor> Sample(const QImage& image, int maxSamples, const CancelCheck& cancelled)
{
    std::vector<std::pair<Color, double>> taken;
    const int width = image.width();
    const int height = image.height();
    if (width <= 0 || height <= 0)
        return {};
    const auto take = [&](int x, int y) {
        const QRgb pixel = straightPixel(image, x, y);
        const int alpha = qAlpha(pixel);
        if (alpha == 0)
            return;
        taken.emplace_back(bascommon::MakeColor(qRed(pixel), qGreen(pixel), qBlue(pixel)),
                           alpha / 255.0);
    };
    const qint64 pixels = qint64(width) * height;
    maxSamples = std::max(maxSamples, 1);
    if (pixels <= maxSamples) {
        taken.reserve(std::size_t(pixels));
        for (int y = 0; y < height; ++y) {
            if (cancelled && cancelled())
                return {};
            for (int x = 0; x < width; ++x)
                take(x, y);
        }
    } else {
        // Square cells, one random place in each: a grid alone would fall
        // into step with stripes and checks of the picture.
        const double side = std::sqrt(double(pixels) / maxSamples);
        const int columns = std::clamp(int(width / side), 1, width);
        const int rows = std::clamp(int(height / side), 1, height);
        const double cellWidth = double(width) / columns;
        const double cellHeight = double(height) / rows;
        FixedRandom random(SampleSeed);
        taken.reserve(std::size_t(columns) * std::size_t(rows));
        for (int row = 0; row < rows; ++row) {
            if (cancelled && cancelled())
                return {};
            for (int column = 0; column < columns; ++column) {
                const int x = std::min(int((column + random.unit()) * cellWidth), width - 1);
                const int y = std::min(int((row + random.unit()) * cellHeight), height - 1);
                take(x, y);
            }
        }
    }
    std::sort(taken.begin(), taken.end(),
              [](const auto& first, const auto& second) { return first.first < second.first; });
    QList<WeightedColor> merged;
    for (const auto& [color, weight] : taken) {
        if (!merged.isEmpty() && merged.constLast().color == color)
            merged.last().weight += weight;
        else
            merged.append({color, weight});
    }
    return merged;
}

Extraction Cluster(const QList<WeightedColor>& colors, int count, const CancelCheck& cancelled)
{
    Extraction result;
    std::vector<Point> points;
    points.reserve(std::size_t(colors.size()));
    double totalWeight = 0;
    for (const WeightedColor& color : colors) {
        if (color.weight <= 0)
            continue;
        points.push_back({colorscience::ToOkLab(color.color), color.weight});
        totalWeight += color.weight;
    }
    if (points.empty())
        return result;

    std::vector<colorscience::OkLab> centres =
        seedCentres(points, std::size_t(std::clamp(count, MinColors, MaxColors)));
    std::vector<std::size_t> cluster(points.size(), centres.size());
    std::vector<double> clusterWeight;
    for (int iteration = 0; iteration < MaxIterations; ++iteration) {
        if (cancelled && cancelled()) {
            result.cancelled = true;
            return result;
        }
        bool changed = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::size_t c = nearest(points[i].lab, centres);
            changed = changed || c != cluster[i];
            cluster[i] = c;
        }
        // The centres of the last assignment are the result; moving them
        // once more would only matter if an assignment changed.
        std::vector<colorscience::OkLab> sums(centres.size());
        clusterWeight.assign(centres.size(), 0.0);
        for (std::size_t i = 0; i < points.size(); ++i) {
            colorscience::OkLab& sum = sums[cluster[i]];
            sum.l += points[i].lab.l * points[i].weight;
            sum.a += points[i].lab.a * points[i].weight;
            sum.b += points[i].lab.b * points[i].weight;
            clusterWeight[cluster[i]] += points[i].weight;
        }
        for (std::size_t c = 0; c < centres.size(); ++c)
            if (clusterWeight[c] > 0)
                centres[c] = {sums[c].l / clusterWeight[c], sums[c].a / clusterWeight[c],
                              sums[c].b / clusterWeight[c]};
        if (!changed)
            break;
    }

    // Two centres can round to one 8-bit colour: they are one colour of
    // the palette then. A centre that lost every point is left out.
    for (std::size_t c = 0; c < centres.size(); ++c) {
        if (clusterWeight[c] <= 0)
            continue;
        const Color color = colorscience::ToColor(colorscience::ToSrgb(centres[c]));
        const double share = clusterWeight[c] / totalWeight;
        auto same =
            std::find_if(result.colors.begin(), result.colors.end(),
                         [color](const PaletteColor& known) { return known.color == color; });
        if (same != result.colors.end())
            same->share += share;
        else
            result.colors.append({color, share});
    }
    std::stable_sort(result.colors.begin(), result.colors.end(),
                     [](const PaletteColor& first, const PaletteColor& second) {
                         if (first.share != second.share)
                             return first.share > second.share;
                         return first.color < second.color;
                     });
    return result;
}

Extraction Extract(const QImage& image, int count, const CancelCheck& cancelled)
{
    const QList<WeightedColor> sample = Sample(image, MaxSamples, cancelled);
    if (cancelled && cancelled())
        return {{}, true};
    return Cluster(sample, count, cancelled);
}

QString ShareText(double share)
{
    return QString::number(share * 100.0, 'f', 1) + QLatin1Char('%');
}

} // namespace paletteextraction
