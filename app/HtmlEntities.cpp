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

// The character of the reference whose ampersand is at `i`, and in `end`
// where the reference ends; 0 when no reference starts there. Every
// character scanned lies before the next ampersand, so that no character is
// scanned more than twice.
char32_t referenceAt(QStringView text, qsizetype i, qsizetype& end)
{
    end = i + 1;
    if (end < text.size() && text.at(end) == u'#') {
        ++end;
        const bool hex = end < text.size() && (text.at(end) == u'x' || text.at(end) == u'X');
        if (hex)
            ++end;
        const qsizetype digits = end;
        while (end < text.size() && (hex ? isHexDigit(text.at(end)) : isDecimalDigit(text.at(end))))
            ++end;
        if (end == digits)
            return 0;
    } else {
        const qsizetype letters = end;
        while (end < text.size() && isAsciiLetter(text.at(end)))
            ++end;
        if (end == letters)
            return 0;
    }
    if (end >= text.size() || text.at(end) != u';')
        return 0;
    const char32_t character = referenced(text.sliced(i + 1, end - i - 1));
    ++end;
    return character;
}

} // namespace

QString Decode(QStringView text)
{
    QString decoded;
    decoded.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype ampersand = text.indexOf(u'&', i);
        decoded += text.sliced(i, (ampersand < 0 ? text.size() : ampersand) - i);
        if (ampersand < 0)
            break;
        qsizetype end = 0;
        const char32_t character = referenceAt(text, ampersand, end);
        if (character == 0) {
            decoded += u'&';
            i = ampersand + 1;
            continue;
        }
        decoded += QString::fromUcs4(&character, 1);
        i = end;
    }
    return decoded;
}

bool HasReferences(QStringView text)
{
    // Looked at character by character: a search from every one of a run of
    // ampersands would cost more than the look.
    qsizetype end = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == u'&' && referenceAt(text, i, end) != 0)
            return true;
    return false;
}

} // namespace htmlentities
