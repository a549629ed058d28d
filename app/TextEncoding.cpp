#include "app/TextEncoding.h"

#include <QStringDecoder>

#include <algorithm>

namespace textencoding {

namespace {

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

QString DecodeLine(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    // A U+FEFF at the start of a line is a character of the name; the mark of a
    // whole file is taken off by the readers before the lines are split.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return decoded;
    return QString::fromLatin1(bytes);
}

QString DecodeLineStart(QByteArrayView bytes, qsizetype length)
{
    // Whether the line is UTF-8 depends on all of it, so all of it is
    // checked, a block at a time; only the start is kept. Four bytes per
    // character always cover what is kept.
    const qsizetype kept = length < bytes.size() / 4 ? 4 * length : bytes.size();
    if (kept == bytes.size() || isAscii(bytes))
        return DecodeLine(bytes.first(kept)).left(length);
    constexpr qsizetype Block = 1 << 16;
    QString start;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = std::min(bytes.size(), at + Block);
        // Blocks end before a character's continuation bytes, so that each
        // block decodes on its own.
        while (end < bytes.size() && end > at &&
               (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
        if (end == at) // no character starts within a block: not UTF-8
            return QString::fromLatin1(bytes.first(length));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
        const QString decoded = utf8.decode(bytes.sliced(at, end - at));
        if (utf8.hasError())
            return QString::fromLatin1(bytes.first(length));
        if (start.size() < length)
            start += QStringView(decoded).first(std::min(decoded.size(), length - start.size()));
        at = end;
    }
    return start;
}

QByteArray EncodeLine(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return text.toUtf8();
    const QByteArray latin1 = text.toLatin1();
    // Latin-1 bytes that happen to form UTF-8 ("Ã©" is C3 A9) would be read
    // back as other characters ("é"); the UTF-8 form of such a name is read
    // back as it was.
    if (!isAscii(latin1) && DecodeLine(latin1) != text)
        return text.toUtf8();
    return latin1;
}

} // namespace textencoding
