#include "models/FormatNames.h"

#include "models/CopyNotations.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/FormatTemplate.h"

#include <utility>

namespace formatnames {

namespace {

// The copy items carry the names a developer would type for them.
constexpr std::pair<const char*, copynotations::Notation> CopyItems[] = {
    {"rgb-function", copynotations::Notation::DecFunction},
    {"rgb-list", copynotations::Notation::DecList},
    {"html-hex", copynotations::Notation::HtmlHex},
    {"quoted-html-hex", copynotations::Notation::QuotedHtmlHex},
    {"bare-hex", copynotations::Notation::BareHex},
    {"quoted-bare-hex", copynotations::Notation::QuotedBareHex},
    {"hex-braces", copynotations::Notation::HexBraces},
    {"cpp", copynotations::Notation::CPlusPlus},
    {"vb", copynotations::Notation::VisualBasic},
    {"delphi", copynotations::Notation::Delphi},
    {"java", copynotations::Notation::Java},
};

constexpr char CopyItemLabels[][24] = {
    "RGB(R,G,B)",    "R,G,B",          "#RRGGBB",      "\"#RRGGBB\"",    "RRGGBB",
    "\"RRGGBB\"",    "Hex={RR,GG,BB}", "C++ 0xBBGGRR", "VB &H00BBGGRR&", "Delphi $00BBGGRR",
    "Java 0xRRGGBB",
};

// The notations of the Color Formats window by their command-line names:
// the CSS ones as CSS writes them, the code forms in lower case. The window's
// own hex form (lower case, shortened where it can be) is "css-hex", since
// "hex" is the program's web notation.
QString NameOf(notations::Notation notation)
{
    switch (notation) {
    case notations::Notation::Hex:
        return QStringLiteral("css-hex");
    case notations::Notation::RgbSpace:
        return QStringLiteral("rgb");
    case notations::Notation::DisplayP3:
        return QStringLiteral("display-p3");
    default:
        return notations::ShortName(notation).toLower();
    }
}

copynotations::FieldTexts FieldsOf(Color color)
{
    return {bascommon::ColorToHtmlHex(color), bascommon::ColorToDecList(color),
            bascommon::RedHex(color), bascommon::GreenHex(color), bascommon::BlueHex(color)};
}

std::optional<QString> BuiltIn(const QString& name, Color color)
{
    if (name.compare(QLatin1String("hex"), Qt::CaseInsensitive) == 0)
        return bascommon::ColorToHtmlHex(color);
    for (const notations::Notation notation : notations::AllNotations)
        if (name.compare(NameOf(notation), Qt::CaseInsensitive) == 0)
            return notations::Format(notation, color);
    for (const auto& [itemName, notation] : CopyItems)
        if (name.compare(QLatin1String(itemName), Qt::CaseInsensitive) == 0)
            return copynotations::ClipboardText(notation, FieldsOf(color));
    return std::nullopt;
}

std::optional<QString> FromTemplate(const UserTemplate& userTemplate, Color color)
{
    const formattemplate::Compiled compiled = formattemplate::Compile(userTemplate.text);
    if (!compiled.ok)
        return std::nullopt;
    return compiled.result.expand(color);
}

} // namespace

QList<Entry> Catalog(const QList<UserTemplate>& templates)
{
    QList<Entry> entries;
    entries.append({QStringLiteral("hex"), QStringLiteral("#RRGGBB"), false});
    for (const notations::Notation notation : notations::AllNotations)
        entries.append({NameOf(notation), notations::Label(notation), false});
    for (std::size_t i = 0; i < std::size(CopyItems); ++i)
        entries.append(
            {QLatin1String(CopyItems[i].first), QString::fromUtf8(CopyItemLabels[i]), false});
    for (const UserTemplate& userTemplate : templates) {
        if (BuiltIn(userTemplate.name, 0) || !formattemplate::Compile(userTemplate.text).ok)
            continue;
        entries.append({userTemplate.name, userTemplate.text, true});
    }
    return entries;
}

std::optional<QString> Format(const QString& name, Color color,
                              const QList<UserTemplate>& templates)
{
    if (std::optional<QString> text = BuiltIn(name, color))
        return text;
    for (const UserTemplate& userTemplate : templates)
        if (userTemplate.name == name)
            return FromTemplate(userTemplate, color);
    for (const UserTemplate& userTemplate : templates)
        if (userTemplate.name.compare(name, Qt::CaseInsensitive) == 0)
            return FromTemplate(userTemplate, color);
    return std::nullopt;
}

} // namespace formatnames
