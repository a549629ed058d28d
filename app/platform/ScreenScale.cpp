#include "app/platform/ScreenScale.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace screenscale {

namespace {

constexpr double ScaleSteps = 120.0;

bool fits(double scale, const QSize& picture, const QRect& desktop)
{
    return qRound64(desktop.width() * scale) == picture.width() &&
           qRound64(desktop.height() * scale) == picture.height();
}

int scaled(int logical, double scale)
{
    return int(qRound64(logical * scale));
}

} // namespace

std::optional<double> PictureScale(const QSize& picture, const QRect& desktop)
{
    if (picture.isEmpty() || desktop.isEmpty())
        return std::nullopt;
    const double across = double(picture.width()) / desktop.width();
    const double stepped = std::round(across * ScaleSteps) / ScaleSteps;
    if (stepped > 0 && fits(stepped, picture, desktop))
        return stepped;
    // A picture rounded to whole pixels on each side may be a pixel off.
    const double down = double(picture.height()) / desktop.height();
    if (std::abs(across - down) * std::max(desktop.width(), desktop.height()) > 1.0)
        return std::nullopt;
    return across;
}

QRect PartOf(const QRect& screen, const QRect& desktop, double scale, const QSize& picture)
{
    const int left = std::clamp(scaled(screen.left() - desktop.left(), scale), 0, picture.width());
    const int top = std::clamp(scaled(screen.top() - desktop.top(), scale), 0, picture.height());
    const int right = std::clamp(scaled(screen.left() + screen.width() - desktop.left(), scale),
                                 left, picture.width());
    const int bottom = std::clamp(scaled(screen.top() + screen.height() - desktop.top(), scale),
                                  top, picture.height());
    return QRect(left, top, right - left, bottom - top);
}

double KeptRatio(double screenRatio, double pictureScale)
{
    if (!(screenRatio > 0))
        return pictureScale;
    return std::min(screenRatio, pictureScale);
}

int DevicePixel(double offset, double ratio, int count)
{
    // A point on the edge between two device pixels belongs to the second;
    // the allowance keeps a product such as 10 * 1.1 from falling just short.
    const double at = offset * ratio;
    return std::clamp(int(std::floor(at + std::abs(at) * 1e-12)), 0, std::max(0, count - 1));
}

int SourcePixel(int index, double ratio, double pictureScale, int partLength)
{
    const double centre = (index + 0.5) * (pictureScale / ratio);
    return std::clamp(int(std::floor(centre)), 0, std::max(0, partLength - 1));
}

} // namespace screenscale
