#include "scheme/SchemeFormat.h"

#include "app/TextBounds.h"
#include "app/TextEncoding.h"

#include <array>

namespace schemeformat {

namespace {

const QString NoName = QStringLiteral("no name");

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return c - 'a' + 10;
}

// The field as a colour value, or false when it is not six hexadecimal digits.
bool decodeField(QByteArrayView field, Color& value)
{
    if (field.size() != FieldLength)
        return false;
    Color result = 0;
    for (char c : field) {
        if (!isHexDigit(c))
            return false;
        result = result * 16 + static_cast<Color>(hexValue(c));
    }
    value = result;
    return true;
}

// The record's fields in stored order, for filling them in.
std::array<Color*, FieldCount> fieldsOf(SchemeColors& colors)
{
    return {&colors.text,        &colors.background, &colors.normalLink,
            &colors.visitedLink, &colors.activeLink, &colors.hoverLink};
}

QString withoutLineBreaks(QString name)
{
    name.replace(QLatin1Char('\r'), QLatin1Char(' '));
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return name;
}

} // namespace

QString NameFromAnswer(const QString& typed)
{
    if (typed.isEmpty())
        return {};
    for (QChar c : typed)
        if (c != QLatin1Char(' '))
            return withoutLineBreaks(typed);
    return NoName;
}

QList<QByteArrayView> NameLines(QByteArrayView fileContent)
{
    static const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
    QList<QByteArrayView> lines;
    qsizetype start = fileContent.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
    const qsizetype size = fileContent.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && fileContent.at(end) != '\n' && fileContent.at(end) != '\r')
            ++end;
        if (end - start >= 2)
            lines.append(fileContent.sliced(start, end - start));
        // CR LF, a lone LF and a lone CR each end a line.
        start = end +
                ((end + 1 < size && fileContent.at(end) == '\r' && fileContent.at(end + 1) == '\n')
                     ? 2
                     : 1);
    }
    return lines;
}

QString NameFromLine(QByteArrayView line, bool* cut)
{
    if (cut)
        *cut = false;
    if (line.size() < 2)
        return {};
    return textbounds::BoundName(textencoding::DecodeLineStart(line.sliced(1, line.size() - 2),
                                                               textbounds::MaxNameLength + 1),
                                 cut);
}

QByteArray LineFromName(const QString& name)
{
    return '"' + textencoding::EncodeLine(withoutLineBreaks(name)) + "\"\r\n";
}

QByteArray EncodeRecord(const SchemeColors& colors)
{
    QByteArray record;
    record.reserve(RecordLength);
    for (Color field : {colors.text, colors.background, colors.normalLink, colors.visitedLink,
                        colors.activeLink, colors.hoverLink})
        record += bascommon::ColorToBgrHex(field).toLatin1();
    return record;
}

DecodedRecord DecodeRecord(QByteArrayView record)
{
    DecodedRecord decoded;
    qsizetype offset = 0;
    for (Color* field : fieldsOf(decoded.colors)) {
        const qsizetype available =
            qBound<qsizetype>(0, record.size() - offset, qsizetype(FieldLength));
        const QByteArrayView text =
            available > 0 ? record.sliced(offset, available) : QByteArrayView();
        if (!decodeField(text, *field))
            ++decoded.unreadableFields;
        offset += FieldLength;
    }
    return decoded;
}

} // namespace schemeformat
