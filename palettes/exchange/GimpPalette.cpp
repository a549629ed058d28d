#include "palettes/exchange/GimpPalette.h"

#include "palettes/exchange/ExchangeNames.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace gimppalette {

namespace {

const QByteArray Magic = QByteArrayLiteral("GIMP Palette");
const QByteArray NameKey = QByteArrayLiteral("Name:");
const QByteArray ColumnsKey = QByteArrayLiteral("Columns:");
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// GIMP writes UTF-8; older files made by hand are often Latin-1, which any
// byte sequence is, so they are still read rather than refused.
QString decodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// The line that begins at `at`, without its ending (CR LF, CR or LF); `at`
// moves on to the next. Lines are looked at in place: a file of nothing but
// line breaks must not become millions of arrays.
QByteArrayView nextLine(QByteArrayView text, qsizetype& at)
{
    const qsizetype start = at;
    while (at < text.size() && text.at(at) != '\n' && text.at(at) != '\r')
        ++at;
    const QByteArrayView line = text.sliced(start, at - start);
    if (at < text.size() && text.at(at) == '\r')
        ++at;
    if (at < text.size() && text.at(at) == '\n')
        ++at;
    return line;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// One channel: 1 to 3 decimal digits worth at most 255.
std::optional<int> channelValue(QByteArrayView token)
{
    if (token.isEmpty() || token.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : token) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value <= 255 ? std::optional<int>(value) : std::nullopt;
}

// Red, green and blue from the start of a trimmed line; whatever follows
// the third number, after spaces or tabs, is the colour's name.
std::optional<Color> colourLine(QByteArrayView line, QByteArrayView& name)
{
    std::array<int, 3> channels{};
    qsizetype at = 0;
    for (int& channel : channels) {
        while (at < line.size() && isBlank(line.at(at)))
            ++at;
        const qsizetype start = at;
        while (at < line.size() && !isBlank(line.at(at)))
            ++at;
        const std::optional<int> value = channelValue(line.sliced(start, at - start));
        if (!value)
            return std::nullopt;
        channel = *value;
    }
    name = line.sliced(at).trimmed();
    return bascommon::MakeColor(channels[0], channels[1], channels[2]);
}

QString shownLine(QByteArrayView line)
{
    constexpr qsizetype Shown = 40;
    const QString text = decodeText(line.first(std::min(Shown, line.size())));
    return line.size() > Shown ? text + QStringLiteral("...") : text;
}

} // namespace

ExchangeReading Read(QByteArrayView content, ReadingProgress* progress)
{
    QByteArrayView bytes = content;
    if (bytes.startsWith(Utf8Bom))
        bytes = bytes.sliced(Utf8Bom.size());
    qsizetype at = 0;
    if (bytes.isEmpty() || nextLine(bytes, at).trimmed() != Magic)
        return ExchangeReading::failure(
            QStringLiteral("it does not begin with the line \"GIMP Palette\""));

    ExchangeReading reading;
    for (qsizetype i = 1; at < bytes.size(); ++i) {
        if (progress && !progress->step(at))
            return ExchangeReading::stoppedByUser();
        const QByteArrayView line = nextLine(bytes, at).trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith(ColumnsKey))
            continue;
        if (line.startsWith(NameKey)) {
            reading.palette.name = decodeText(line.sliced(NameKey.size()).trimmed());
            continue;
        }
        QByteArrayView name;
        const std::optional<Color> colour = colourLine(line, name);
        if (!colour)
            return ExchangeReading::failure(
                QStringLiteral("line %1, \"%2\", is not a colour: a colour line holds three "
                               "whole numbers from 0 to 255 and then, optionally, a name")
                    .arg(i + 1)
                    .arg(shownLine(line)));
        if (reading.palette.colors.size() == paletteexchange::MaxColors)
            return ExchangeReading::failure(paletteexchange::TooManyColors());
        reading.palette.colors.append(*colour);
        reading.palette.names.append(exchangenames::ReadName(decodeText(name)));
    }
    exchangenames::SettleNames(reading.palette);
    return reading;
}

QByteArray Write(const ExchangePalette& palette)
{
    QString name = palette.name;
    name.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QByteArray out = Magic + "\nName: " + name.toUtf8() + "\nColumns: 0\n#\n";
    out.reserve(out.size() + palette.colors.size() * 24);
    // A name ends with its line, and GIMP trims it when reading.
    const QStringList names = exchangenames::NamesToWrite(
        palette,
        [](const QString& name) { return bascommon::TrimSpaces(exchangenames::ReadName(name)); },
        exchangenames::Keys::AsGiven);
    for (qsizetype i = 0; i < palette.colors.size(); ++i) {
        const Color colour = palette.colors.at(i);
        out += QByteArray::number(bascommon::GetRed(colour)).rightJustified(3, ' ') + ' ' +
               QByteArray::number(bascommon::GetGreen(colour)).rightJustified(3, ' ') + ' ' +
               QByteArray::number(bascommon::GetBlue(colour)).rightJustified(3, ' ') + '\t' +
               names.at(i).toUtf8() + '\n';
    }
    return out;
}

} // namespace gimppalette
