#include "models/CopyNotations.h"

namespace copynotations {

namespace {

const QChar Quote = QLatin1Char('"');

// The source-code notations carry a label in their captions, padded to eight
// characters so that the values line up in the menu.
QString captionLabel(Notation notation)
{
    switch (notation) {
    case Notation::CPlusPlus:
        return QStringLiteral("   C++: ");
    case Notation::VisualBasic:
        return QStringLiteral("    VB: ");
    case Notation::Delphi:
        return QStringLiteral("Delphi: ");
    case Notation::Java:
        return QStringLiteral("  Java: ");
    default:
        return {};
    }
}

} // namespace

QString ClipboardText(Notation notation, const FieldTexts& fields)
{
    const QString bareHex = fields.htmlHex.mid(1);
    const QString blueFirst = fields.blueHex + fields.greenHex + fields.redHex;
    switch (notation) {
    case Notation::DecFunction:
        return QStringLiteral("RGB(") + fields.decList + QLatin1Char(')');
    case Notation::DecList:
        return fields.decList;
    case Notation::HtmlHex:
        return fields.htmlHex;
    case Notation::QuotedHtmlHex:
        return Quote + fields.htmlHex + Quote;
    case Notation::BareHex:
        return bareHex;
    case Notation::QuotedBareHex:
        return Quote + bareHex + Quote;
    case Notation::HexBraces:
        return QStringLiteral("Hex={") + fields.htmlHex.mid(1, 2) + QLatin1Char(',') +
               fields.htmlHex.mid(3, 2) + QLatin1Char(',') + fields.htmlHex.mid(5, 2) +
               QLatin1Char('}');
    case Notation::CPlusPlus:
        return QStringLiteral("0x") + blueFirst;
    case Notation::VisualBasic:
        return QStringLiteral("&H00") + blueFirst + QLatin1Char('&');
    case Notation::Delphi:
        return QStringLiteral("$00") + blueFirst;
    case Notation::Java:
        return QStringLiteral("0x") + fields.redHex + fields.greenHex + fields.blueHex;
    }
    return {};
}

QString Caption(Notation notation, const FieldTexts& fields)
{
    QString text = ClipboardText(notation, fields);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return captionLabel(notation) + text;
}

} // namespace copynotations
