#include "palettes/exchange/SwatchExchange.h"

#include "palettes/exchange/BigEndianFields.h"
#include "palettes/exchange/ExchangeNames.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

namespace swatchexchange {

namespace {

using BigEndianReader = bigendian::Reader;
using bigendian::AppendU16;
using bigendian::AppendU32;

constexpr qsizetype HeaderBytes = 12;
constexpr qsizetype BlockHeadBytes = 6;
const QByteArray Magic = QByteArrayLiteral("ASEF");
constexpr quint16 NormalColorType = 2;
// The name's count is 16 bits and includes the closing 0.
constexpr qsizetype MaxNameUnits = 0xFFFF - 1;

enum class NameRead { Ok, TooShort, Invalid };

// A counted UTF-16BE name. Closing zeros are dropped; an unpaired surrogate
// makes the name invalid.
NameRead readName(BigEndianReader& reader, QString& name)
{
    if (!reader.has(2))
        return NameRead::TooShort;
    const quint16 count = reader.u16();
    if (!reader.has(qsizetype(count) * 2))
        return NameRead::TooShort;
    QList<char16_t> units;
    units.reserve(count);
    for (quint16 i = 0; i < count; ++i)
        units.append(reader.u16());
    const std::optional<QString> read = bigendian::NameFromUnits(std::move(units));
    if (!read)
        return NameRead::Invalid;
    name = *read;
    return NameRead::Ok;
}

QString nameProblem(NameRead read, const QString& what, qsizetype block)
{
    return read == NameRead::Invalid
               ? QStringLiteral("the name of the %1 in block %2 is not valid UTF-16")
                     .arg(what)
                     .arg(block)
               : QStringLiteral("block %1 is too short for the name of its %2")
                     .arg(block)
                     .arg(what);
}

QString shownModel(QByteArrayView model)
{
    QString shown;
    for (char c : model)
        shown += (c >= 0x20 && c < 0x7F) ? QChar::fromLatin1(c) : QChar(u'?');
    return shown;
}

struct Model
{
    const char* tag;
    int values;
};
constexpr Model Models[] = {{"RGB ", 3}, {"CMYK", 4}, {"LAB ", 3}, {"Gray", 1}};

// The colour of one entry and its name; `problem` says what is wrong otherwise.
std::optional<Color> readColorEntry(QByteArrayView data, qsizetype block, QString& name,
                                    QString& problem)
{
    BigEndianReader reader(data);
    if (const NameRead read = readName(reader, name); read != NameRead::Ok) {
        problem = nameProblem(read, QStringLiteral("color"), block);
        return std::nullopt;
    }
    if (!reader.has(4)) {
        problem = QStringLiteral("block %1 ends before its color model").arg(block);
        return std::nullopt;
    }
    const QByteArrayView tag = reader.take(4);
    const Model* model = std::find_if(std::begin(Models), std::end(Models),
                                      [&tag](const Model& m) { return tag == m.tag; });
    if (model == std::end(Models)) {
        problem = QStringLiteral("block %1 uses the color model \"%2\"; only RGB, CMYK, LAB "
                                 "and Gray can be read")
                      .arg(block)
                      .arg(shownModel(tag));
        return std::nullopt;
    }
    if (!reader.has(qsizetype(model->values) * 4)) {
        problem = QStringLiteral("block %1 ends inside its color values").arg(block);
        return std::nullopt;
    }
    double v[4] = {};
    for (int i = 0; i < model->values; ++i) {
        v[i] = reader.f32();
        if (!std::isfinite(v[i])) {
            problem =
                QStringLiteral("block %1 holds a color value that is not a number").arg(block);
            return std::nullopt;
        }
    }
    // The colour type that follows (global, spot or normal) changes nothing here.
    switch (model - std::begin(Models)) {
    case 0:
        return FromRgb(v[0], v[1], v[2]);
    case 1:
        return FromCmyk(v[0], v[1], v[2], v[3]);
    case 2:
        return FromLab(v[0], v[1], v[2]);
    default:
        return FromGray(v[0]);
    }
}

QByteArray nameData(const QString& name)
{
    const QString kept = bigendian::CutName(name, MaxNameUnits);
    QByteArray data;
    AppendU16(data, quint16(kept.size() + 1));
    return data + bigendian::UnitsWithClosingZero(kept);
}

void appendBlock(QByteArray& out, quint16 type, const QByteArray& data)
{
    AppendU16(out, type);
    AppendU32(out, quint32(data.size()));
    out += data;
}

} // namespace

ExchangeReading Read(QByteArrayView content)
{
    if (content.size() < HeaderBytes)
        return ExchangeReading::failure(QStringLiteral(
            "it is shorter than the 12-byte header of an Adobe swatch exchange file"));
    BigEndianReader reader(content);
    if (reader.take(4) != Magic)
        return ExchangeReading::failure(QStringLiteral(
            "it does not begin with \"ASEF\", the mark of an Adobe swatch exchange file"));
    const quint16 major = reader.u16();
    const quint16 minor = reader.u16();
    if (major != 1)
        return ExchangeReading::failure(
            QStringLiteral("it is a swatch exchange file of version %1.%2; only version 1 "
                           "can be read")
                .arg(major)
                .arg(minor));
    const quint32 blocks = reader.u32();
    // Every block takes at least its 6-byte head, so a count beyond that is
    // a lie that must not be believed.
    if (blocks > quint64(reader.remaining()) / BlockHeadBytes)
        return ExchangeReading::failure(
            QStringLiteral("it claims %1 blocks at byte 8, more than its %2 bytes can hold")
                .arg(blocks)
                .arg(content.size()));

    ExchangeReading reading;
    bool named = false;
    for (quint32 i = 1; i <= blocks; ++i) {
        // Where the block begins, for a user who looks at the bytes.
        const qsizetype blockAt = reader.position();
        const auto failure = [blockAt](const QString& problem) {
            return ExchangeReading::failure(
                problem + QStringLiteral(" (the block begins at byte %1)").arg(blockAt));
        };
        if (!reader.has(BlockHeadBytes))
            return failure(QStringLiteral("it ends inside block %1 of %2").arg(i).arg(blocks));
        const quint16 type = reader.u16();
        const quint32 length = reader.u32();
        if (!reader.has(qsizetype(length)))
            return failure(QStringLiteral("block %1 runs past the end of the file").arg(i));
        const QByteArrayView data = reader.take(qsizetype(length));
        if (type == ColorEntry) {
            QString problem;
            QString name;
            const std::optional<Color> colour = readColorEntry(data, i, name, problem);
            if (!colour)
                return failure(problem);
            if (reading.palette.colors.size() == paletteexchange::MaxColors)
                return ExchangeReading::failure(paletteexchange::TooManyColors());
            reading.palette.colors.append(*colour);
            reading.palette.names.append(exchangenames::ReadName(name));
        } else if (type == GroupStart) {
            BigEndianReader groupReader(data);
            QString name;
            if (const NameRead read = readName(groupReader, name); read != NameRead::Ok)
                return failure(nameProblem(read, QStringLiteral("group"), i));
            if (!named) {
                reading.palette.name = name;
                named = true;
            }
        }
    }
    exchangenames::SettleNames(reading.palette);
    return reading;
}

QByteArray Write(const ExchangePalette& palette)
{
    QByteArray out = Magic;
    AppendU16(out, 1);
    AppendU16(out, 0);
    AppendU32(out, quint32(palette.colors.size() + 2));
    appendBlock(out, GroupStart, nameData(palette.name));
    const QStringList names = exchangenames::NamesToWrite(
        palette,
        [](const QString& name) {
            return bigendian::CutName(exchangenames::ReadName(name), MaxNameUnits);
        },
        exchangenames::Keys::AsGiven);
    for (qsizetype i = 0; i < palette.colors.size(); ++i) {
        const Color colour = palette.colors.at(i);
        QByteArray data = nameData(names.at(i));
        data += "RGB ";
        for (const int value :
             {bascommon::GetRed(colour), bascommon::GetGreen(colour), bascommon::GetBlue(colour)})
            AppendU32(data, std::bit_cast<quint32>(float(value) / 255.0f));
        AppendU16(data, NormalColorType);
        appendBlock(out, ColorEntry, data);
    }
    appendBlock(out, GroupEnd, {});
    return out;
}

} // namespace swatchexchange
