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

} // namespace

QByteArray TailwindTheme(const QList<NamedColor>& colors, const QString& title)
{
    QString text = title.isEmpty() ? QString() : blockComment(title);
    text += QStringLiteral("@theme {\n");
    for (const NamedColor& named : colors)
        text += declaration(QStringLiteral("  --color-"),
                            exchangenames::IdentifierPart(named.name, QStringLiteral("color")),
                            named.color);
    text += QStringLiteral("}\n");
    return withCharset(text);
}

QByteArray Write(Dialect dialect, const ExchangePalette& palette)
{
    const QStringList names = exchangenames::ColorNames(palette.colors);
    if (dialect == Dialect::TailwindTheme) {
        QList<NamedColor> named;
        named.reserve(palette.colors.size());
        for (qsizetype i = 0; i < palette.colors.size(); ++i)
            named.append({names.at(i), palette.colors.at(i)});
        return TailwindTheme(named, palette.name);
    }
    QString prefix =
        exchangenames::IdentifierPart(palette.name, QStringLiteral("color")) + QLatin1Char('-');
    // A custom property's name may go on with a digit after "--"; an SCSS or
    // Less variable's may not.
    if (dialect != Dialect::CustomProperties && prefix.front().isDigit())
        prefix.prepend(QLatin1Char('_'));
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
        text += declaration(
            lead, prefix + exchangenames::IdentifierPart(names.at(i), QStringLiteral("color")),
            palette.colors.at(i));
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
    static const QRegularExpression property(
        QStringLiteral("^--[^\\s:;]+\\s*:\\s*(#[0-9A-Fa-f]{6})\\s*;$"));
    static const QRegularExpression variable(
        QStringLiteral("^[$@][^\\s:;0-9][^\\s:;]*\\s*:\\s*(#[0-9A-Fa-f]{6})\\s*;$"));

    const QString text = exchangetext::DecodeUtf8OrLatin1(content);
    ExchangePalette palette;
    bool titled = false;
    bool hasTitle = false;
    enum class Shape { Unknown, Block, Variables } shape = Shape::Unknown;
    bool blockOpen = false;
    bool blockClosed = false;
    bool first = true;
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
            continue;
        }
        if (blockOpen && line == QLatin1String("}")) {
            blockOpen = false;
            blockClosed = true;
            continue;
        }
        const QRegularExpressionMatch declared =
            blockOpen ? property.match(line)
                      : (shape != Shape::Block ? variable.match(line) : QRegularExpressionMatch());
        if (!declared.hasMatch())
            return std::nullopt;
        if (!blockOpen)
            shape = Shape::Variables;
        if (palette.colors.size() == paletteexchange::MaxColors)
            return std::nullopt;
        palette.colors.append(
            *exchangetext::HexColor(declared.captured(1), exchangetext::HexForms::SixDigits));
    }
    // A title alone is what SCSS and Less give an empty palette.
    if ((shape == Shape::Unknown && !hasTitle) || blockOpen)
        return std::nullopt;
    return palette;
}

} // namespace stylesheetpalette
