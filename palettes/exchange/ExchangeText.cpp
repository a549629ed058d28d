#include "palettes/exchange/ExchangeText.h"

#include <QStringDecoder>

namespace exchangetext {

QString DecodeUtf8OrLatin1(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString Where(QByteArrayView content, qsizetype offset)
{
    offset = qBound<qsizetype>(0, offset, content.size());
    qsizetype line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        const char c = content.at(i);
        if (c == '\n' || (c == '\r' && (i + 1 >= content.size() || content.at(i + 1) != '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    // Columns count characters, not bytes: a UTF-8 continuation byte adds none.
    qsizetype column = 1;
    for (qsizetype i = lineStart; i < offset; ++i)
        if ((static_cast<unsigned char>(content.at(i)) & 0xC0) != 0x80)
            ++column;
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

qsizetype FirstInvalidUtf8(QByteArrayView bytes)
{
    const auto byte = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    qsizetype i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = byte(i);
        int length = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            minimum = 0x10000;
        } else {
            return i;
        }
        if (i + length > bytes.size())
            return i;
        char32_t code = lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (byte(i + k) & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return -1;
}

QString Shown(const QString& text)
{
    constexpr qsizetype Kept = 40;
    QString shown = text.left(Kept);
    for (QChar& c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text.size() > Kept ? shown + QStringLiteral("...") : shown;
}

std::optional<Color> HexColor(QStringView text, HexForms forms)
{
    if (text.isEmpty() || text.front() != QLatin1Char('#'))
        return std::nullopt;
    const QStringView digits = text.mid(1);
    const qsizetype length = digits.size();
    if (length != 6 &&
        (forms == HexForms::SixDigits || (length != 3 && length != 4 && length != 8)))
        return std::nullopt;
    int values[8] = {};
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = digits.at(i).unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            return std::nullopt;
        values[i] = digit;
    }
    if (length <= 4)
        return bascommon::MakeColor(values[0] * 17, values[1] * 17, values[2] * 17);
    return bascommon::MakeColor(values[0] * 16 + values[1], values[2] * 16 + values[3],
                                values[4] * 16 + values[5]);
}

} // namespace exchangetext
