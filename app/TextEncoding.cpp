#include "app/TextEncoding.h"

#include <QStringDecoder>

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
