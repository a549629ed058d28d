#pragma once

#include <QByteArray>

class QIODevice;

// Whether an image file holds all the data its picture needs. Qt's JPEG,
// GIF and BMP readers return a picture from a file cut short, its missing
// part grey or transparent, without saying so.
namespace imagecompleteness {

// Reads the warnings of Qt's JPEG reader on this thread while it lives; the
// reader says so when the data ends before the picture does.
class JpegWarnings
{
public:
    JpegWarnings();
    ~JpegWarnings();
    JpegWarnings(const JpegWarnings&) = delete;
    JpegWarnings& operator=(const JpegWarnings&) = delete;

    bool dataEndedEarly() const { return m_dataEndedEarly; }
    // Called by the message handler.
    void warned(const char* message);

private:
    JpegWarnings* m_outer;
    bool m_dataEndedEarly = false;
};

// For a device that can seek: false when the first picture of a GIF file,
// or the pixels a BMP file's header promises, run past the end of the
// device. Other formats, and devices read as a stream, are taken as they are.
// Leaves the device's position where it was.
bool HoldsWholePicture(QIODevice* device, const QByteArray& format);

} // namespace imagecompleteness
