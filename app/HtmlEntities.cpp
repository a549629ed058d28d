#include "app/HtmlEntities.h"

namespace htmlentities {

namespace {

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isDecimalDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char32_t named(QStringView name)
{
    if (name == u"amp")
        return '&';
    if (name == u"lt")
        return '<';
    if (name == u"gt")
        return '>';
    if (name == u"quot")
        return '"';
    if (name == u"apos")
        return '\'';
    if (name == u"nbsp")
        return 0xA0;
    return 0;
}

// The character a reference between its ampersand and semicolon names
// ("amp", "#233", "#xE9"); 0 for none, also for digits that overflow.
char32_t referenced(QStringView name)
{
    if (!name.startsWith(u'#'))
        return named(name);
    bool ok = false;
    const bool hex = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X');
    const uint code = hex ? name.sliced(2).toUInt(&ok, 16) : name.sliced(1).toUInt(&ok, 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return code;
}

} // namespace

QString Decode(QStringView text)
{
    QString decoded;
    decoded.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i) != u'&') {
            decoded += text.at(i++);
            continue;
        }
        // The longest run that can form a reference: every character scanned
        // here lies before the next ampersand, so no character is scanned
        // more than twice.
        qsizetype end = i + 1;
        if (end < text.size() && text.at(end) == u'#') {
            ++end;
            const bool hex = end < text.size() && (text.at(end) == u'x' || text.at(end) == u'X');
            if (hex)
                ++end;
            const qsizetype digits = end;
            while (end < text.size() &&
                   (hex ? isHexDigit(text.at(end)) : isDecimalDigit(text.at(end))))
                ++end;
            if (end == digits)
                end = -1;
        } else {
            const qsizetype letters = end;
            while (end < text.size() && isAsciiLetter(text.at(end)))
                ++end;
            if (end == letters)
                end = -1;
        }
        const char32_t character = end > 0 && end < text.size() && text.at(end) == u';'
                                       ? referenced(text.sliced(i + 1, end - i - 1))
                                       : 0;
        if (character == 0) {
            decoded += text.at(i++);
            continue;
        }
        decoded += QString::fromUcs4(&character, 1);
        i = end + 1;
    }
    return decoded;
}

} // namespace htmlentities
