#include "app/bascommon.h"

#include "app/DataFolderAccess.h"

namespace bascommon {

namespace {

// The channel's upper-case hex text without leading zeros, prefixed by "0",
// keeping the rightmost two characters: the two digits of its low byte. Written
// digit by digit, since the screen picker formats a colour on every mouse move.
void putTwoHexDigits(QChar* out, int channel)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    out[0] = QLatin1Char(Digits[(channel >> 4) & 15]);
    out[1] = QLatin1Char(Digits[channel & 15]);
}

QString twoHexDigits(int channel)
{
    QString digits(2, Qt::Uninitialized);
    putTwoHexDigits(digits.data(), channel);
    return digits;
}

// Decimal digits of a channel (0 to 255) at `out`; returns the end.
QChar* putDecimal(QChar* out, int channel)
{
    if (channel >= 100)
        *out++ = QLatin1Char(char('0' + channel / 100));
    if (channel >= 10)
        *out++ = QLatin1Char(char('0' + channel / 10 % 10));
    *out++ = QLatin1Char(char('0' + channel % 10));
    return out;
}

bool multipleOf51(int channel)
{
    return channel % 51 == 0;
}

int roundChannelToWebSafe(int channel)
{
    const int remainder = channel % 51;
    return remainder > 25 ? channel - remainder + 51 : channel - remainder;
}

} // namespace

QString RedHex(Color value)
{
    return twoHexDigits(GetRed(value));
}
QString GreenHex(Color value)
{
    return twoHexDigits(GetGreen(value));
}
QString BlueHex(Color value)
{
    return twoHexDigits(GetBlue(value));
}

QString ColorToHtmlHex(Color value)
{
    QString text(7, Qt::Uninitialized);
    QChar* out = text.data();
    out[0] = QLatin1Char('#');
    putTwoHexDigits(out + 1, GetRed(value));
    putTwoHexDigits(out + 3, GetGreen(value));
    putTwoHexDigits(out + 5, GetBlue(value));
    return text;
}

QString ColorToBgrHex(Color value)
{
    return BlueHex(value) + GreenHex(value) + RedHex(value);
}

QString ColorToDecList(Color value)
{
    QChar buffer[11];
    QChar* end = putDecimal(buffer, GetRed(value));
    *end++ = QLatin1Char(',');
    end = putDecimal(end, GetGreen(value));
    *end++ = QLatin1Char(',');
    end = putDecimal(end, GetBlue(value));
    return QString(buffer, end - buffer);
}

bool IsWebSafe(Color value)
{
    return multipleOf51(GetRed(value)) && multipleOf51(GetGreen(value)) &&
           multipleOf51(GetBlue(value));
}

Color RoundToWebSafe(Color value)
{
    return MakeColor(roundChannelToWebSafe(GetRed(value)), roundChannelToWebSafe(GetGreen(value)),
                     roundChannelToWebSafe(GetBlue(value)));
}

QString TrimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString DataFilePath(const QString& dataFolder, const QString& fileName)
{
    return dataFolder + QLatin1Char('/') + fileName;
}

FileResult AppendColorToFile(const QString& dataFolder, const QString& fileName,
                             const QString& colorText)
{
    constexpr qint64 RecordLength = 6;
    QByteArray record = colorText.mid(1, 6).toLatin1();
    // A field that receives fewer than two characters is padded with spaces.
    QByteArray padded;
    for (int field = 0; field < 3; ++field) {
        QByteArray part = record.mid(field * 2, 2);
        part.append(QByteArray(2 - part.size(), ' '));
        padded += part;
    }

    return DataFolderAccess(dataFolder)
        .appendRecord(fileName, padded, RecordLength, QStringLiteral("add a colour to"));
}

} // namespace bascommon
