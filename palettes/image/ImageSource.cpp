#include "palettes/image/ImageSource.h"

#include "palettes/image/ImageCompleteness.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imagesource {

namespace {

QString tooLarge(const QString& name, QSize size)
{
    return QStringLiteral("%1 is %2 x %3 pixels: images of more than 100 megapixels are not read.")
        .arg(name)
        .arg(size.width())
        .arg(size.height());
}

bool isSampledFormat(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
}

// Brings a decoded image to 32 bits a pixel without straight alpha lost:
// premultiplied pixels are converted in place, other formats into a copy
// whose size is checked first.
Loaded toSampledFormat(QImage image, const QString& name)
{
    if (isSampledFormat(image.format()))
        return {std::move(image), {}};
    const QImage::Format target =
        image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const qint64 copyBytes = qint64(image.width()) * image.height() * 4;
    if (image.depth() != 32 && image.sizeInBytes() + copyBytes > ConversionLimitBytes)
        return {{},
                QStringLiteral("%1 is too large to be shown in %2 x %3 pixels of 8 bits a channel.")
                    .arg(name)
                    .arg(image.width())
                    .arg(image.height())};
    // A conversion between formats of one depth (premultiplied to straight
    // alpha) works in place.
    image.convertTo(target);
    if (image.isNull())
        return {{},
                QStringLiteral("%1 could not be converted: there is not enough memory.").arg(name)};
    return {std::move(image), {}};
}

} // namespace

Loaded ReadImageFile(const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    // Opening a named pipe waits for a writer, which may never come: the
    // window's reading thread would never end, nor the program, which waits
    // for it. Opened without waiting, a pipe with no writer reads as empty
    // at once; one with a writer (/dev/stdin of `... | tintora --extract
    // /dev/stdin`) reads as it comes. A plain file reads as ever.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        return {{}, QStringLiteral("%1 cannot be opened: %2.").arg(name, qt_error_string(error))};
    }
    struct stat status;
    if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        return {{}, QStringLiteral("%1 cannot be opened: it is a folder.").arg(name)};
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {{}, QStringLiteral("%1 cannot be opened: %2.").arg(name, file.errorString())};
    }
    return ReadImage(&file, name);
}

void LimitDecoding()
{
    // Process-wide, but nothing else in the program decodes images of a
    // size it does not choose itself.
    QImageReader::setAllocationLimit(AllocationLimitMb);
}

Loaded ReadImage(QIODevice* device, const QString& name)
{
    LimitDecoding();
    QImageReader reader(device);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {{}, QStringLiteral("%1 is not an image that can be read.").arg(name)};
    // The header's claim, before a pixel is decoded: a small file can claim
    // an enormous picture.
    const QSize claimed = reader.size();
    if (claimed.isValid() && qint64(claimed.width()) * claimed.height() > MaxPixels)
        return {{}, tooLarge(name, claimed)};
    // Known only while the reader can still read.
    const QByteArray format = reader.format();
    QImage image;
    const imagecompleteness::JpegWarnings jpegWarnings;
    if (!reader.read(&image)) {
        if (reader.error() == QImageReader::InvalidDataError && !claimed.isValid())
            return {{}, QStringLiteral("%1 is not an image that can be read.").arg(name)};
        return {{}, QStringLiteral("%1 cannot be read: %2.").arg(name, reader.errorString())};
    }
    if (jpegWarnings.dataEndedEarly() || !imagecompleteness::HoldsWholePicture(device, format))
        return {{}, QStringLiteral("%1 cannot be read: it is damaged or cut short.").arg(name)};
    // Handed on, not shared, so that a conversion can work in place.
    return Accept(std::move(image), name);
}

Loaded Accept(QImage image, const QString& name)
{
    if (image.isNull())
        return {{}, QStringLiteral("%1 holds no picture.").arg(name)};
    if (qint64(image.width()) * image.height() > MaxPixels)
        return {{}, tooLarge(name, image.size())};
    return toSampledFormat(std::move(image), name);
}

QStringList ReadableSuffixes()
{
    QStringList suffixes;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        suffixes.append(QString::fromLatin1(format).toLower());
    suffixes.sort();
    suffixes.removeDuplicates();
    return suffixes;
}

QString OpenFilter()
{
    QStringList patterns;
    for (const QString& suffix : ReadableSuffixes())
        patterns.append(QStringLiteral("*.") + suffix);
    return QStringLiteral("Images (%1);;All files (*)").arg(patterns.join(QLatin1Char(' ')));
}

} // namespace imagesource
