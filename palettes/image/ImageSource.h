#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Images the user hands over (a file, a dropped or copied picture), read
// within bounds: a header that claims more pixels than MaxPixels is refused
// before any pixel is decoded, and no decoder may allocate more than
// AllocationLimitMb. An accepted image is kept as 32 bits a pixel, the form
// in which the picker's sampling reads it.
namespace imagesource {

constexpr qint64 MaxPixels = 100'000'000;
// A 100-megapixel image of 4 bytes a pixel.
constexpr int AllocationLimitMb = 400;
// The decoded picture and its 32-bit copy together, for the rare formats
// (16 bits a channel, grey, indexed) that need the copy.
constexpr qint64 ConversionLimitBytes = 448LL * 1024 * 1024;

struct Loaded
{
    QImage image;
    // Why there is no image; names the file where there is one.
    QString message;

    bool ok() const { return !image.isNull(); }
};

// Holds every decoder of the process to AllocationLimitMb, Qt's own readers
// of pasted and dropped pictures too (their default is a third of it).
void LimitDecoding();

// The image in the file at `path`.
[[nodiscard]] Loaded ReadImageFile(const QString& path);
// The image in `device`; `name` is how messages call it.
[[nodiscard]] Loaded ReadImage(QIODevice* device, const QString& name);
// A picture that is already decoded (the clipboard's, a dropped one), held
// to the same bounds.
[[nodiscard]] Loaded Accept(QImage image, const QString& name);

// Suffixes of every format the installed image plugins read, lower case and
// sorted, and the file dialog's filter built from them.
QStringList ReadableSuffixes();
QString OpenFilter();

} // namespace imagesource
