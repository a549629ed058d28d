#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QtEndian>

#include "app/bascommon.h"

#include <cstdint>

// Pictures whose colours and shares are known, for the tests of colours from
// images; all made from fixed seeds, so each is the same in every run.
namespace syntheticimages {

struct Block
{
    Color color;
    // Columns of the picture that this colour fills.
    int columns;
};

// Small and fast, the same everywhere.
class Noise
{
public:
    explicit Noise(std::uint32_t seed) : m_state(seed) {}
    // -amplitude to amplitude.
    int next(int amplitude)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return int((m_state >> 8) % std::uint32_t(2 * amplitude + 1)) - amplitude;
    }

private:
    std::uint32_t m_state;
};

// Vertical stripes, left to right, each channel of each pixel moved by up
// to `noise` levels.
inline QImage Stripes(const QList<Block>& blocks, int height, int noise = 0,
                      QImage::Format format = QImage::Format_RGB32)
{
    int width = 0;
    for (const Block& block : blocks)
        width += block.columns;
    QImage image(width, height, QImage::Format_ARGB32);
    Noise random(12345);
    int x = 0;
    for (const Block& block : blocks) {
        for (int column = 0; column < block.columns; ++column, ++x)
            for (int y = 0; y < height; ++y) {
                const auto channel = [&](int value) {
                    return qBound(0, value + (noise ? random.next(noise) : 0), 255);
                };
                image.setPixel(x, y,
                               qRgb(channel(bascommon::GetRed(block.color)),
                                    channel(bascommon::GetGreen(block.color)),
                                    channel(bascommon::GetBlue(block.color))));
            }
    }
    return image.convertToFormat(format);
}

// Something like a photo: smooth gradients under noise.
inline QImage Photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    Noise random(777);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(qBound(0, 255 * x / width + random.next(6), 255),
                           qBound(0, 255 * y / height + random.next(6), 255),
                           qBound(0, 128 + 100 * ((x / 97 + y / 61) % 2) + random.next(6), 255));
    }
    return image;
}

inline QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline quint32 Crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray PngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    const QByteArray typed = QByteArray(type) + data;
    chunk += typed;
    QByteArray crc(4, '\0');
    qToBigEndian(Crc32(typed), crc.data());
    return chunk + crc;
}

// A well-formed PNG header that claims `width` x `height` pixels of 8-bit
// RGBA, followed by a few bytes of pixel data: what a decompression bomb
// looks like before it is decoded.
inline QByteArray PngClaiming(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 6; // RGBA
    const QByteArray compressedZeros = QByteArray::fromHex("789c6300000000010001");
    return QByteArray::fromHex("89504e470d0a1a0a") + PngChunk("IHDR", header) +
           PngChunk("IDAT", compressedZeros) + PngChunk("IEND", {});
}

// A GIF header whose logical screen and one image claim `width` x `height`.
inline QByteArray GifClaiming(quint16 width, quint16 height)
{
    QByteArray gif("GIF89a");
    gif.append(char(width & 0xFF)).append(char(width >> 8));
    gif.append(char(height & 0xFF)).append(char(height >> 8));
    gif.append(char(0x00)).append(char(0)).append(char(0));
    gif.append(char(0x2C)).append(4, '\0');
    gif.append(char(width & 0xFF)).append(char(width >> 8));
    gif.append(char(height & 0xFF)).append(char(height >> 8));
    gif.append(char(0));
    gif.append(char(2)).append(char(2)).append(char(0x4C)).append(char(0x01)).append(char(0));
    gif.append(char(0x3B));
    return gif;
}

} // namespace syntheticimages
