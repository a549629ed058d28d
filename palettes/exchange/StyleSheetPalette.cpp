#include "palettes/exchange/StyleSheetPalette.h"

#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/ExchangeText.h"

#include <QRegularExpression>
#include <QStringTokenizer>

#include <algorithm>
#include <utility>

namespace stylesheetpalette {

namespace {

// A palette name as a comment's text: line breaks and other control
// characters become spaces.
QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text;
}

// The file may end up inside a style element of a page: neither "*/" nor
// "</style>" (nor "<!--") in the title may end the comment or the element.
QString blockComment(const QString& title)
{
    // Angle brackets become CSS escapes, and so does the backslash, so that the
    // reader can tell the escapes from the name's own text.
    QString text = oneLine(title);
    text.replace(QLatin1String("*/"), QLatin1String("* /"))
        .replace(QLatin1Char('\\'), QLatin1String("\\5C "))
        .replace(QLatin1Char('<'), QLatin1String("\\3C "))
        .replace(QLatin1Char('>'), QLatin1String("\\3E "));
    return QStringLiteral("/* ") + text + QStringLiteral(" */\n");
}

// The title as blockComment() had it.
QString unescapeComment(const QString& text)
{
    static const QRegularExpression escape(QStringLiteral("\\\\(5C|3C|3E) "));
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : escape.globalMatch(text)) {
        out += QStringView(text).mid(from, m.capturedStart() - from);
        const QStringView code = m.capturedView(1);
        out += code == u"5C"   ? QLatin1Char('\\')
               : code == u"3C" ? QLatin1Char('<')
                               : QLatin1Char('>');
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

// Without the rule a style sheet is read in the encoding of the page that
// links it, which may not be UTF-8.
QByteArray withCharset(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const bool ascii =
        std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return (c & 0x80) == 0; });
    return ascii ? utf8 : QByteArrayLiteral("@charset \"UTF-8\";\n") + utf8;
}

QString declaration(const QString& lead, const QString& name, Color color)
{
    return lead + name + QStringLiteral(": ") + bascommon::ColorToHtmlHex(color) +
           QStringLiteral(";\n");
}

// What comes before every colour's name in the dialects that give the
// palette's name a part.
QString namePrefix(Dialect dialect, const QString& paletteName)
{
    QString prefix =
        exchangenames::IdentifierPart(paletteName, QStringLiteral("color")) + QLatin1Char('-');
    // A custom property's name may go on with a digit after "--"; an SCSS or
    // Less variable's may not.
    if (dialect != Dialect::CustomProperties && prefix.front().isDigit())
        prefix.prepend(QLatin1Char('_'));
    return prefix;
}

bool isCssSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

int escapeHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

struct Declared
{
    QString name; // the identifier after its lead, escapes undone
    Color color = 0;
};

// One line "--name: #RRGGBB;" (a custom property) or "$name: ..." /
// "@name: ..." (a variable, whose name does not begin with a digit), spaces
// allowed around the colon and semicolon. Escapes are undone as CSS reads them: up to six
// hexadecimal digits and one space after them, or any other character as it
// is. Read in one pass, so that any line takes time linear in its length.
std::optional<Declared> parseDeclaration(QStringView line, bool customProperty)
{
    qsizetype at = 0;
    if (customProperty) {
        if (!line.startsWith(QLatin1String("--")))
            return std::nullopt;
        at = 2;
    } else {
        if (line.size() < 2 ||
            (line.front() != QLatin1Char('$') && line.front() != QLatin1Char('@')) ||
            (line.at(1) >= QLatin1Char('0') && line.at(1) <= QLatin1Char('9')))
            return std::nullopt;
        at = 1;
    }
    Declared declared;
    while (at < line.size()) {
        const QChar c = line.at(at);
        if (isCssSpace(c) || c == QLatin1Char(':') || c == QLatin1Char(';'))
            break;
        if (c != QLatin1Char('\\')) {
            declared.name += c;
            ++at;
            continue;
        }
        if (++at >= line.size())
            return std::nullopt;
        if (escapeHexDigit(line.at(at)) < 0) {
            declared.name += line.at(at++);
            continue;
        }
        char32_t code = 0;
        for (int digits = 0; digits < 6 && at < line.size() && escapeHexDigit(line.at(at)) >= 0;
             ++digits)
            code = code * 16 + char32_t(escapeHexDigit(line.at(at++)));
        if (at < line.size() && isCssSpace(line.at(at)))
            ++at;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        declared.name += QString::fromUcs4(&code, 1);
    }
    if (declared.name.isEmpty())
        return std::nullopt;
    const auto skipSpaces = [&] {
        while (at < line.size() && isCssSpace(line.at(at)))
            ++at;
    };
    skipSpaces();
    if (at >= line.size() || line.at(at) != QLatin1Char(':'))
        return std::nullopt;
    ++at;
    skipSpaces();
    constexpr qsizetype HexLength = 7;
    const std::optional<Color> color =
        exchangetext::HexColor(line.mid(at, HexLength), exchangetext::HexForms::SixDigits);
    if (!color)
        return std::nullopt;
    at += HexLength;
    skipSpaces();
    if (at >= line.size() || line.at(at) != QLatin1Char(';'))
        return std::nullopt;
    ++at;
    skipSpaces();
    if (at != line.size())
        return std::nullopt;
    declared.color = *color;
    return declared;
}

// An @theme block of colours whose names are identifier parts already.
QByteArray themeText(const QList<NamedColor>& colors, const QString& title)
{
    QString text = title.isEmpty() ? QString() : blockComment(title);
    text += QStringLiteral("@theme {\n");
    for (const NamedColor& named : colors)
        text += declaration(QStringLiteral("  --color-"), named.name, named.color);
    text += QStringLiteral("}\n");
    return withCharset(text);
}

} // namespace

QByteArray TailwindTheme(const QList<NamedColor>& colors, const QString& title)
{
    QList<NamedColor> parts;
    parts.reserve(colors.size());
    for (const NamedColor& named : colors)
        parts.append(
            {exchangenames::IdentifierPart(named.name, QStringLiteral("color")), named.color});
    return themeText(parts, title);
}

QString EscapedName(const QString& name)
{
    QString escaped;
    for (const QChar c : exchangenames::ReadName(name)) {
        const char16_t u = c.unicode();
        const bool plain = u >= 0x80 || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                           (u >= u'0' && u <= u'9') || u == u'-' || u == u'_';
        if (!plain)
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

QString LessName(const QString& name)
{
    QString part;
    for (const char32_t u : exchangenames::ReadName(name).toUcs4()) {
        const bool keep = u < 0x80 ? ((u >= U'a' && u <= U'z') || (u >= U'A' && u <= U'Z') ||
                                      (u >= U'0' && u <= U'9') || u == U'_')
                                   : (QChar::isLetterOrNumber(u) || QChar::isMark(u));
        if (keep)
            part += QString::fromUcs4(&u, 1);
        else if (!part.isEmpty() && !part.endsWith(QLatin1Char('-')))
            part += QLatin1Char('-');
    }
    while (part.endsWith(QLatin1Char('-')))
        part.chop(1);
    return part;
}

QByteArray Write(Dialect dialect, const ExchangePalette& palette)
{
    // Sass holds "_" and "-" in a variable's name as the same character:
    // "$p-light_blue" and "$p-light-blue" would be one variable, the later
    // colour hiding the earlier.
    const exchangenames::NameRule sassKey = [](const QString& name) {
        return QString(name).replace(QLatin1Char('_'), QLatin1Char('-'));
    };
    const QStringList names = exchangenames::NamesToWrite(
        palette, dialect == Dialect::Less ? &LessName : &EscapedName, exchangenames::Keys::Unique,
        dialect == Dialect::Scss ? sassKey : exchangenames::NameRule{});
    // Names made from colours are identifier parts as they always were; a
    // colour's own name is kept as the dialect can hold it.
    const auto part = [&](qsizetype i) {
        return palette.nameAt(i).isEmpty()
                   ? exchangenames::IdentifierPart(names.at(i), QStringLiteral("color"))
                   : names.at(i);
    };
    if (dialect == Dialect::TailwindTheme) {
        QList<NamedColor> named;
        named.reserve(palette.colors.size());
        for (qsizetype i = 0; i < palette.colors.size(); ++i)
            named.append({part(i), palette.colors.at(i)});
        return themeText(named, palette.name);
    }
    const QString prefix = namePrefix(dialect, palette.name);
    QString text;
    QString lead;
    switch (dialect) {
    case Dialect::CustomProperties:
        text = blockComment(palette.name) + QStringLiteral(":root {\n");
        lead = QStringLiteral("  --");
        break;
    case Dialect::Scss:
        text = QStringLiteral("// ") + oneLine(palette.name) + QLatin1Char('\n');
        lead = QStringLiteral("$");
        break;
    default:
        text = QStringLiteral("// ") + oneLine(palette.name) + QLatin1Char('\n');
        lead = QStringLiteral("@");
        break;
    }
    for (qsizetype i = 0; i < palette.colors.size(); ++i)
        text += declaration(lead, prefix + part(i), palette.colors.at(i));
    if (dialect == Dialect::CustomProperties) {
        text += QStringLiteral("}\n");
        return withCharset(text);
    }
    return text.toUtf8();
}

std::optional<ExchangePalette> ReadWritten(QByteArrayView content)
{
    static const QRegularExpression blockTitle(QStringLiteral("^/\\*\\s?(.*?)\\s?\\*/$"),
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression lineTitle(QStringLiteral("^//\\s?(.*)$"),
                                              QRegularExpression::DotMatchesEverythingOption);

    const QString text = exchangetext::DecodeUtf8OrLatin1(content);
    ExchangePalette palette;
    bool titled = false;
    bool hasTitle = false;
    enum class Shape { Unknown, Block, Variables } shape = Shape::Unknown;
    bool blockOpen = false;
    bool blockClosed = false;
    bool first = true;
    // The part before every colour's name, as the writer made it.
    QString prefix;
    // Lines are looked at in place: a file of nothing but line breaks must not
    // become millions of strings.
    for (QStringView line : qTokenize(text, u'\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (std::exchange(first, false) && line == QLatin1String("@charset \"UTF-8\";"))
            continue;
        if (!titled && shape == Shape::Unknown && palette.colors.isEmpty()) {
            titled = true;
            const QRegularExpressionMatch block = blockTitle.match(line);
            const QRegularExpressionMatch title = block.hasMatch() ? block : lineTitle.match(line);
            if (title.hasMatch()) {
                palette.name =
                    block.hasMatch() ? unescapeComment(title.captured(1)) : title.captured(1);
                hasTitle = true;
                continue;
            }
        }
        if (shape != Shape::Variables && !blockOpen && !blockClosed &&
            (line == QLatin1String(":root {") || line == QLatin1String("@theme {"))) {
            shape = Shape::Block;
            blockOpen = true;
            if (line.startsWith(QLatin1Char('@')))
                prefix = QStringLiteral("color-");
            else if (hasTitle)
                prefix = namePrefix(Dialect::CustomProperties, palette.name);
            continue;
        }
        if (blockOpen && line == QLatin1String("}")) {
            blockOpen = false;
            blockClosed = true;
            continue;
        }
        if (!blockOpen && shape == Shape::Block)
            return std::nullopt;
        const std::optional<Declared> declared = parseDeclaration(line, blockOpen);
        if (!declared)
            return std::nullopt;
        if (!blockOpen && shape == Shape::Unknown && hasTitle)
            prefix = namePrefix(line.startsWith(QLatin1Char('$')) ? Dialect::Scss : Dialect::Less,
                                palette.name);
        if (!blockOpen)
            shape = Shape::Variables;
        if (palette.colors.size() == paletteexchange::MaxColors)
            return std::nullopt;
        palette.colors.append(declared->color);
        const QStringView name = QStringView(declared->name);
        palette.names.append(exchangenames::ReadName(
            !prefix.isEmpty() && name.startsWith(prefix) ? name.sliced(prefix.size()) : name));
    }
    // A title alone is what SCSS and Less give an empty palette.
    if ((shape == Shape::Unknown && !hasTitle) || blockOpen)
        return std::nullopt;
    exchangenames::SettleNames(palette);
    return palette;
}

} // namespace stylesheetpalette
