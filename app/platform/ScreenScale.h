#pragma once

#include <QRect>
#include <QSize>

#include <optional>

// Where the screens lie in a picture of the whole desktop. A desktop portal
// hands one picture in physical pixels, at the scale of its finest screen,
// while Qt places the screens in logical pixels; these routines carry one
// into the other. Each screen's picture is then kept at that screen's own
// device pixels, so that one of its pixels is one of the screen's.
namespace screenscale {

// Physical pixels per logical pixel of `picture`, a picture of all of
// `desktop`. Compositors scale in steps of 1/120; a scale that rounds to the
// picture's size on both sides is taken in those steps, so that it holds
// exactly across the desktop. Nothing when the picture is not of the
// desktop's shape.
std::optional<double> PictureScale(const QSize& picture, const QRect& desktop);

// The part of the picture that shows `screen`; each edge at its logical
// position times the scale, rounded, and within the picture.
QRect PartOf(const QRect& screen, const QRect& desktop, double scale, const QSize& picture);

// The device pixels per logical pixel that a screen's picture is kept at:
// the screen's own ratio, unless the picture is coarser than that (a
// fractional scale, which Qt reports rounded up).
double KeptRatio(double screenRatio, double pictureScale);

// The device pixel, of `count` along one side, that holds the point
// `offset` logical pixels from the screen's edge.
int DevicePixel(double offset, double ratio, int count);

// The pixel of a screen's part of the picture (`partLength` along one side)
// under the centre of its device pixel `index`.
int SourcePixel(int index, double ratio, double pictureScale, int partLength);

} // namespace screenscale
