#include "palettes/image/ImageCompleteness.h"

#include <QIODevice>
#include <QtGlobal>

#include <cstring>
#include <mutex>

namespace imagecompleteness {

namespace {

thread_local JpegWarnings* t_listening = nullptr;
QtMessageHandler g_previousHandler = nullptr;

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (t_listening && context.category &&
        std::strcmp(context.category, "qt.gui.imageio.jpeg") == 0) {
        t_listening->warned(message.toUtf8().constData());
        if (t_listening->dataEndedEarly())
            return; // the program says it in its own words
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

class Bytes
{
public:
    explicit Bytes(QIODevice* device) : m_device(device) {}
    bool read(uchar* into, qint64 count)
    {
        return m_device->read(reinterpret_cast<char*>(into), count) == count;
    }
    bool skip(qint64 count) { return count == 0 || m_device->skip(count) == count; }
    bool byte(uchar& into) { return read(&into, 1); }

private:
    QIODevice* m_device;
};

quint32 littleEndian(const uchar* at, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

// A chain of sub-blocks, each a length byte and that many bytes, ended by 0.
bool subBlocks(Bytes& bytes)
{
    for (uchar length = 0;;) {
        if (!bytes.byte(length))
            return false;
        if (length == 0)
            return true;
        if (!bytes.skip(length))
            return false;
    }
}

bool gifWhole(Bytes& bytes)
{
    uchar header[13];
    if (!bytes.read(header, sizeof header))
        return false;
    const auto colorTable = [](uchar packed) {
        return (packed & 0x80) ? qint64(3) << ((packed & 7) + 1) : 0;
    };
    if (!bytes.skip(colorTable(header[10])))
        return false;
    for (uchar introducer = 0;;) {
        if (!bytes.byte(introducer))
            return false;
        if (introducer == 0x21) { // an extension: its label, then its data
            uchar label = 0;
            if (!bytes.byte(label) || !subBlocks(bytes))
                return false;
        } else if (introducer == 0x2C) { // the first picture, the one read
            uchar descriptor[9];
            uchar codeSize = 0;
            return bytes.read(descriptor, sizeof descriptor) &&
                   bytes.skip(colorTable(descriptor[8])) && bytes.byte(codeSize) &&
                   subBlocks(bytes);
        } else {
            // The trailer, or a block the reader made sense of in its own way.
            return true;
        }
    }
}

bool bmpWhole(Bytes& bytes, qint64 size)
{
    // The file header and the smallest information header (OS/2's, 12
    // bytes); a tiny picture of that kind may end right after them.
    uchar header[38];
    if (!bytes.read(header, 26))
        return false;
    const qint64 pixelsAt = littleEndian(header + 10, 4);
    const quint32 infoSize = littleEndian(header + 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitsPerPixel = 0;
    quint32 compression = 0;
    quint32 imageBytes = 0;
    if (infoSize == 12) {
        width = littleEndian(header + 18, 2);
        height = littleEndian(header + 20, 2);
        bitsPerPixel = littleEndian(header + 24, 2);
    } else if (infoSize >= 40) {
        if (!bytes.read(header + 26, 12))
            return false;
        width = qint32(littleEndian(header + 18, 4));
        height = qint32(littleEndian(header + 22, 4));
        bitsPerPixel = littleEndian(header + 28, 2);
        compression = littleEndian(header + 30, 4);
        imageBytes = littleEndian(header + 34, 4);
    } else {
        return true;
    }
    qint64 needed = 0;
    if (compression == 0 || compression == 3 || compression == 6) { // rows as they are
        const qint64 rowBytes = (qAbs(width) * bitsPerPixel + 31) / 32 * 4;
        needed = rowBytes * qAbs(height);
    } else if (compression == 1 || compression == 2) { // run-length coded
        needed = imageBytes;
    }
    return pixelsAt + needed <= size;
}

} // namespace

JpegWarnings::JpegWarnings() : m_outer(t_listening)
{
    static std::once_flag installed;
    std::call_once(installed, [] { g_previousHandler = qInstallMessageHandler(handleMessage); });
    t_listening = this;
}

JpegWarnings::~JpegWarnings()
{
    t_listening = m_outer;
}

void JpegWarnings::warned(const char* message)
{
    // "Corrupt JPEG data: premature end of data segment": the reader put an
    // end where the file ended. Other warnings (stray bytes between parts)
    // leave the picture whole.
    if (std::strstr(message, "premature end"))
        m_dataEndedEarly = true;
}

bool HoldsWholePicture(QIODevice* device, const QByteArray& format)
{
    const bool gif = format == "gif";
    const bool bmp = format == "bmp" || format == "dib";
    if ((!gif && !bmp) || device->isSequential())
        return true;
    const qint64 position = device->pos();
    if (!device->seek(0))
        return true;
    Bytes bytes(device);
    const bool whole = gif ? gifWhole(bytes) : bmpWhole(bytes, device->size());
    device->seek(position);
    return whole;
}

} // namespace imagecompleteness
