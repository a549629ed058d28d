#include "palettes/exchange/PhotoshopSwatches.h"

#include "models/science/ColorScience.h"
#include "palettes/exchange/BigEndianFields.h"
#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/SwatchExchange.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace photoshopswatches {

namespace {

constexpr qsizetype ColorBytes = 10;
constexpr qsizetype NameCountBytes = 4;
// Names longer than any colour's are refused rather than read: a count is
// 32 bits, and a file could claim one of gigabytes.
constexpr quint32 MaxNameUnits = 0xFFFF;

enum Space : quint16 {
    Rgb = 0,
    Hsb = 1,
    Cmyk = 2,
    Pantone = 3,
    Focoltone = 4,
    Trumatch = 5,
    Toyo = 6,
    Lab = 7,
    Grayscale = 8,
    WideCmyk = 9,
    Hks = 10,
};

int channel(double fraction)
{
    return static_cast<int>(std::nearbyint(std::clamp(fraction, 0.0, 1.0) * 255.0));
}

Color fromSrgb(const colorscience::Srgb& srgb)
{
    return bascommon::MakeColor(channel(srgb.r), channel(srgb.g), channel(srgb.b));
}

QString bookName(quint16 space)
{
    switch (space) {
    case Pantone:
        return QStringLiteral("Pantone");
    case Focoltone:
        return QStringLiteral("Focoltone");
    case Trumatch:
        return QStringLiteral("Trumatch");
    case Toyo:
        return QStringLiteral("Toyo");
    case WideCmyk:
        return QStringLiteral("wide CMYK");
    case Hks:
        return QStringLiteral("HKS");
    default:
        return {};
    }
}

// The colour of one entry whose space and four values have been read.
std::optional<Color> entryColor(quint16 space, const quint16 (&v)[4])
{
    constexpr double Full = 65535.0;
    switch (space) {
    case Rgb:
        return bascommon::MakeColor(channel(v[0] / Full), channel(v[1] / Full),
                                    channel(v[2] / Full));
    case Hsb: {
        const colorscience::Hsv hsv{v[0] / Full * 360.0, v[1] / Full, v[2] / Full};
        return fromSrgb(colorscience::ToSrgb(hsv));
    }
    case Cmyk:
        return swatchexchange::FromCmyk(1.0 - v[0] / Full, 1.0 - v[1] / Full, 1.0 - v[2] / Full,
                                        1.0 - v[3] / Full);
    case Lab: {
        const colorscience::Lab lab{std::clamp(v[0] / 100.0, 0.0, 100.0),
                                    std::clamp(qint16(v[1]) / 100.0, -128.0, 127.0),
                                    std::clamp(qint16(v[2]) / 100.0, -128.0, 127.0)};
        return fromSrgb(colorscience::ToSrgb(lab));
    }
    case Grayscale: {
        const int grey = channel(1.0 - std::min(v[0] / 10000.0, 1.0));
        return bascommon::MakeColor(grey, grey, grey);
    }
    default:
        return std::nullopt;
    }
}

QString at(qsizetype offset)
{
    return QStringLiteral("at byte %1").arg(offset);
}

struct Section
{
    QList<Color> colors;
    QStringList names;
    QString problem;
};

// One section from the reader's position; `version` has been read already.
Section readSection(bigendian::Reader& reader, quint16 version)
{
    Section section;
    const qsizetype countAt = reader.position();
    if (!reader.has(2)) {
        section.problem = QStringLiteral("the version %1 section ends before its colour count, "
                                         "%2")
                              .arg(version)
                              .arg(at(countAt));
        return section;
    }
    const quint16 count = reader.u16();
    const qsizetype least = version == 1 ? ColorBytes : ColorBytes + NameCountBytes;
    if (qsizetype(count) * least > reader.remaining()) {
        section.problem = QStringLiteral("the version %1 section claims %2 colours %3, more than "
                                         "the %4 bytes after it can hold")
                              .arg(version)
                              .arg(count)
                              .arg(at(countAt))
                              .arg(reader.remaining());
        return section;
    }
    section.colors.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const qsizetype entryAt = reader.position();
        if (!reader.has(ColorBytes)) {
            section.problem = QStringLiteral("the file ends inside colour %1 of %2 of the version "
                                             "%3 section, %4")
                                  .arg(i)
                                  .arg(count)
                                  .arg(version)
                                  .arg(at(entryAt));
            section.colors.clear();
            return section;
        }
        const quint16 space = reader.u16();
        quint16 values[4];
        for (quint16& value : values)
            value = reader.u16();
        const std::optional<Color> color = entryColor(space, values);
        if (!color) {
            const QString book = bookName(space);
            section.problem =
                book.isEmpty()
                    ? QStringLiteral("colour %1 %2 uses colour space %3, which Photoshop does "
                                     "not define")
                          .arg(i)
                          .arg(at(entryAt))
                          .arg(space)
                    : QStringLiteral("colour %1 %2 is a %3 colour, which the file gives only by "
                                     "its number in the colour book; convert it to RGB, CMYK or "
                                     "Lab in Photoshop first")
                          .arg(i)
                          .arg(at(entryAt))
                          .arg(book);
            section.colors.clear();
            return section;
        }
        if (version == 2) {
            const qsizetype nameAt = reader.position();
            if (!reader.has(NameCountBytes)) {
                section.problem = QStringLiteral("the file ends before the name of colour %1, %2")
                                      .arg(i)
                                      .arg(at(nameAt));
                section.colors.clear();
                return section;
            }
            const quint32 units = reader.u32();
            if (units > MaxNameUnits || !reader.has(qsizetype(units) * 2)) {
                section.problem =
                    QStringLiteral("the name of colour %1 %2 claims %3 characters, more than the "
                                   "file holds")
                        .arg(i)
                        .arg(at(nameAt))
                        .arg(units);
                section.colors.clear();
                return section;
            }
            QList<char16_t> name;
            name.reserve(qsizetype(units));
            for (quint32 u = 0; u < units; ++u)
                name.append(reader.u16());
            const std::optional<QString> read = bigendian::NameFromUnits(std::move(name));
            if (!read) {
                section.problem = QStringLiteral("the name of colour %1 %2 is not valid UTF-16")
                                      .arg(i)
                                      .arg(at(nameAt));
                section.colors.clear();
                return section;
            }
            section.names.append(exchangenames::ReadName(*read));
        }
        section.colors.append(*color);
    }
    return section;
}

} // namespace

ExchangeReading Read(QByteArrayView content)
{
    if (content.size() < 4)
        return ExchangeReading::failure(
            QStringLiteral("it is shorter than the 4-byte header of a Photoshop swatches file"));
    bigendian::Reader reader(content);
    const quint16 first = reader.u16();
    if (first != 1 && first != 2)
        return ExchangeReading::failure(
            QStringLiteral("it begins with version %1 at byte 0; Photoshop swatches are version 1 "
                           "or 2")
                .arg(first));
    Section section = readSection(reader, first);
    if (!section.problem.isEmpty())
        return ExchangeReading::failure(section.problem);
    if (first == 1 && reader.remaining() > 0) {
        const qsizetype nextAt = reader.position();
        if (!reader.has(2) || reader.u16() != 2)
            return ExchangeReading::failure(
                QStringLiteral("after the version 1 section, %1, come bytes that are not a "
                               "version 2 section")
                    .arg(at(nextAt)));
        section = readSection(reader, 2);
        if (!section.problem.isEmpty())
            return ExchangeReading::failure(section.problem);
    }
    if (reader.remaining() > 0)
        return ExchangeReading::failure(
            QStringLiteral("after the version 2 section, %1, come %2 bytes that belong to no "
                           "colour")
                .arg(at(reader.position()))
                .arg(reader.remaining()));
    ExchangeReading reading;
    reading.palette.colors = std::move(section.colors);
    reading.palette.names = std::move(section.names);
    exchangenames::SettleNames(reading.palette);
    return reading;
}

QByteArray Write(const ExchangePalette& palette)
{
    const qsizetype count = std::min(palette.colors.size(), MaxColors);
    ExchangePalette kept = palette;
    kept.colors.resize(count);
    kept.names = palette.names.mid(0, count);
    const QStringList names = exchangenames::NamesToWrite(
        kept,
        [](const QString& name) {
            return bigendian::CutName(exchangenames::ReadName(name), MaxNameUnits - 1);
        },
        exchangenames::Keys::AsGiven);
    QByteArray out;
    out.reserve(count * 60 + 8);
    for (const quint16 version : {1, 2}) {
        bigendian::AppendU16(out, version);
        bigendian::AppendU16(out, quint16(count));
        for (qsizetype i = 0; i < count; ++i) {
            const Color color = palette.colors.at(i);
            bigendian::AppendU16(out, Rgb);
            for (const int value :
                 {bascommon::GetRed(color), bascommon::GetGreen(color), bascommon::GetBlue(color)})
                bigendian::AppendU16(out, quint16(value * 257));
            bigendian::AppendU16(out, 0);
            if (version == 2) {
                const QString& name = names.at(i);
                bigendian::AppendU32(out, quint32(name.size() + 1));
                out += bigendian::UnitsWithClosingZero(name);
            }
        }
    }
    return out;
}

} // namespace photoshopswatches
