#include "palettes/exchange/DesignTokens.h"

#include "models/notations/ColorParser.h"
#include "models/science/ColorScience.h"
#include "models/notations/CssColor.h"
#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/ExchangeText.h"
#include "palettes/exchange/JsonWriting.h"

#include <QHash>
#include <QSet>

#include <cmath>
#include <optional>

namespace designtokens {

namespace {

using jsontree::Value;
namespace cs = colorscience;

struct Token
{
    QString path;
    Value token;  // the token object
    QString type; // own or inherited; empty when none is given
};

// Tokens in document order with the type each has from itself or its groups.
void collect(const Value& object, const QString& prefix, const QString& inheritedType,
             QList<Token>& tokens)
{
    QString type = inheritedType;
    if (const Value own = object.member(u"$type"); own.isString())
        type = own.string();
    for (const Value& child : object.children()) {
        const QString name = child.key();
        if (name.startsWith(QLatin1Char('$')) || !child.isObject())
            continue;
        const QString path = prefix.isEmpty() ? name : prefix + QLatin1Char('.') + name;
        if (child.member(u"$value").isValid()) {
            QString tokenType = type;
            if (const Value own = child.member(u"$type"); own.isString())
                tokenType = own.string();
            tokens.append({path, child, tokenType});
        } else {
            collect(child, path, type, tokens);
        }
    }
}

std::optional<QString> aliasPath(const Value& value)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.string().trimmed();
    if (text.size() < 3 || !text.startsWith(QLatin1Char('{')) || !text.endsWith(QLatin1Char('}')))
        return std::nullopt;
    return text.mid(1, text.size() - 2).trimmed();
}

bool looksLikeColourValue(const Value& value)
{
    return value.isObject() && value.member(u"colorSpace").isValid() &&
           value.member(u"components").isValid();
}

// The CSS colour space of each colorSpace name; the design-token names are
// CSS's own, and so are the units of the components.
std::optional<csscolor::Space> cssSpace(const QString& name)
{
    using csscolor::Space;
    static const QHash<QString, Space> spaces = {
        {QStringLiteral("srgb"), Space::Srgb},
        {QStringLiteral("srgb-linear"), Space::SrgbLinear},
        {QStringLiteral("hsl"), Space::Hsl},
        {QStringLiteral("hwb"), Space::Hwb},
        {QStringLiteral("lab"), Space::Lab},
        {QStringLiteral("lch"), Space::Lch},
        {QStringLiteral("oklab"), Space::OkLab},
        {QStringLiteral("oklch"), Space::OkLch},
        {QStringLiteral("display-p3"), Space::DisplayP3},
        {QStringLiteral("a98-rgb"), Space::A98Rgb},
        {QStringLiteral("prophoto-rgb"), Space::ProPhotoRgb},
        {QStringLiteral("rec2020"), Space::Rec2020},
        {QStringLiteral("xyz-d65"), Space::XyzD65},
        {QStringLiteral("xyz-d50"), Space::XyzD50},
    };
    const auto found = spaces.constFind(name);
    return found == spaces.constEnd() ? std::nullopt : std::optional<Space>(*found);
}

// Three components in a named space, converted and, outside sRGB, gamut mapped
// as CSS does; nothing for a value that converts to no number.
std::optional<Color> convert(csscolor::Space space, const double (&c)[3])
{
    csscolor::CssColor color;
    color.space = space;
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(c[i]))
            return std::nullopt;
        // As CSS reads a written number: lightness into its range, negative
        // chroma and saturation to 0.
        color.components[std::size_t(i)] =
            csscolor::ResolveComponent(space, i, c[i], csscolor::Unit::Number);
    }
    // Hues are angles: a turn and a half is half a turn.
    if (space == csscolor::Space::Hsl || space == csscolor::Space::Hwb)
        color.components[0] = cs::NormalizeHue(c[0]);
    else if (space == csscolor::Space::Lch || space == csscolor::Space::OkLch)
        color.components[2] = cs::NormalizeHue(c[2]);
    return csscolor::ToColor(color);
}

// Aliases of aliases are followed this far; a longer chain is refused rather
// than followed down the stack.
constexpr int MaxAliasChain = 1000;

class Resolver
{
public:
    Resolver(QByteArrayView content, const QList<Token>& tokens) : m_content(content)
    {
        for (const Token& token : tokens)
            m_byPath.insert(token.path, &token);
    }

    QString problem;

    // The colour of a colour token (or of one that an alias made colour).
    // `chain` counts the aliases followed to reach it.
    std::optional<Color> colorOf(const Token& token, int chain = 0)
    {
        if (chain > MaxAliasChain) {
            fail(token.token.member(u"$value"),
                 QStringLiteral("the token \"%1\" is reached through more than %2 aliases")
                     .arg(exchangetext::Shown(token.path))
                     .arg(MaxAliasChain));
            return std::nullopt;
        }
        if (const auto found = m_done.constFind(token.path); found != m_done.constEnd())
            return *found;
        if (m_visiting.contains(token.path)) {
            fail(token.token.member(u"$value"),
                 QStringLiteral("the token \"%1\" refers to itself through its aliases")
                     .arg(exchangetext::Shown(token.path)));
            return std::nullopt;
        }
        m_visiting.insert(token.path);
        const std::optional<Color> color = computeColor(token, chain);
        m_visiting.remove(token.path);
        if (color)
            m_done.insert(token.path, *color);
        return color;
    }

    // Whether the token is a colour: typed so, or an untyped alias to a colour.
    bool isColor(const Token& token, int depth = 0)
    {
        if (token.type == QLatin1String("color"))
            return true;
        if (!token.type.isEmpty() || depth > MaxAliasChain)
            return false;
        const Value value = token.token.member(u"$value");
        if (looksLikeColourValue(value))
            return true;
        const std::optional<QString> alias = aliasPath(value);
        const Token* target = alias ? m_byPath.value(*alias) : nullptr;
        return target && isColor(*target, depth + 1);
    }

private:
    QByteArrayView m_content;
    QHash<QString, const Token*> m_byPath;
    QHash<QString, Color> m_done;
    QSet<QString> m_visiting;

    void fail(const Value& at, const QString& what)
    {
        if (problem.isEmpty())
            problem =
                QStringLiteral("at %1 %2").arg(exchangetext::Where(m_content, at.offset()), what);
    }

    std::optional<Color> computeColor(const Token& token, int chain)
    {
        const Value value = token.token.member(u"$value");
        const QString name = exchangetext::Shown(token.path);
        if (const std::optional<QString> alias = aliasPath(value)) {
            const Token* target = m_byPath.value(*alias);
            if (!target) {
                fail(value, QStringLiteral("the token \"%1\" refers to \"%2\", which the file "
                                           "does not hold")
                                .arg(name, exchangetext::Shown(*alias)));
                return std::nullopt;
            }
            if (!isColor(*target)) {
                fail(value, QStringLiteral("the colour token \"%1\" refers to \"%2\", which is "
                                           "not a colour")
                                .arg(name, exchangetext::Shown(*alias)));
                return std::nullopt;
            }
            return colorOf(*target, chain + 1);
        }
        if (value.isString()) {
            // Earlier drafts, and many files still, give a CSS colour text.
            const colorparser::ParseResult parsed = colorparser::Parse(value.string());
            if (parsed.ok)
                return parsed.color;
            fail(value, QStringLiteral("the colour token \"%1\" has the value \"%2\", which is "
                                       "neither a colour object nor a CSS colour")
                            .arg(name, exchangetext::Shown(value.string())));
            return std::nullopt;
        }
        if (!value.isObject()) {
            fail(value, QStringLiteral("the colour token \"%1\" has a value that is not a colour "
                                       "object")
                            .arg(name));
            return std::nullopt;
        }
        return colourObject(value, name);
    }

    std::optional<Color> colourObject(const Value& value, const QString& name)
    {
        const Value space = value.member(u"colorSpace");
        const Value components = value.member(u"components");
        const Value hex = value.member(u"hex");
        std::optional<Color> fallback;
        if (hex.isValid()) {
            fallback = hex.isString() ? exchangetext::HexColor(hex.string().trimmed(),
                                                               exchangetext::HexForms::SixDigits)
                                      : std::nullopt;
            if (!fallback) {
                fail(hex, QStringLiteral("the colour token \"%1\" has a hex that is not # and six "
                                         "hexadecimal digits")
                              .arg(name));
                return std::nullopt;
            }
        }
        const std::optional<csscolor::Space> known =
            space.isString() ? cssSpace(space.string()) : std::nullopt;
        if (!known) {
            fail(space.isValid() ? space : value,
                 space.isString()
                     ? QStringLiteral("the colour token \"%1\" names the colour space \"%2\", "
                                      "which the format does not define")
                           .arg(name, exchangetext::Shown(space.string()))
                     : QStringLiteral("the colour token \"%1\" gives no colorSpace").arg(name));
            return std::nullopt;
        }
        const QList<Value> items = components.children();
        if (!components.isArray() || items.size() != 3) {
            fail(components.isValid() ? components : value,
                 QStringLiteral("the colour token \"%1\" needs three components").arg(name));
            return std::nullopt;
        }
        double c[3] = {};
        for (int i = 0; i < 3; ++i) {
            const Value item = items.at(i);
            if (item.isNumber())
                c[i] = item.number();
            else if (!(item.isString() && item.string() == QLatin1String("none"))) {
                fail(item, QStringLiteral("component %1 of the colour token \"%2\" is neither a "
                                          "number nor \"none\"")
                               .arg(i + 1)
                               .arg(name));
                return std::nullopt;
            }
        }
        if (const std::optional<Color> color = convert(*known, c))
            return color;
        if (fallback)
            return fallback;
        fail(components, QStringLiteral("the colour token \"%1\" has components that give no "
                                        "colour in %2, and no hex to use instead")
                             .arg(name, space.string()));
        return std::nullopt;
    }
};

} // namespace

ExchangeReading Read(QByteArrayView content)
{
    return FromJson(content, jsontree::Parse(content));
}

ExchangeReading FromJson(QByteArrayView content, const jsontree::Document& document)
{
    if (const QString problem =
            jsontree::ObjectProblem(content, document, QStringLiteral("a design-token file"));
        !problem.isEmpty())
        return ExchangeReading::failure(problem);
    const Value root = document.root();

    QList<Token> tokens;
    collect(root, {}, {}, tokens);
    Resolver resolver(content, tokens);
    ExchangeReading reading;
    for (const Token& token : tokens) {
        if (!resolver.isColor(token))
            continue;
        const std::optional<Color> color = resolver.colorOf(token);
        if (!color)
            return ExchangeReading::failure(resolver.problem);
        if (reading.palette.colors.size() == paletteexchange::MaxColors)
            return ExchangeReading::failure(paletteexchange::TooManyColors());
        reading.palette.colors.append(*color);
    }
    QStringList children;
    for (const Value& child : root.children())
        if (!child.key().startsWith(QLatin1Char('$')))
            children.append(child.key());
    if (children.size() == 1 && root.member(children.first()).isObject() &&
        !root.member(children.first()).member(u"$value").isValid())
        reading.palette.name = children.first();
    return reading;
}

QString GroupName(const QString& paletteName)
{
    QString name = paletteName;
    name.replace(QLatin1Char('.'), QLatin1Char('-'))
        .replace(QLatin1Char('{'), QLatin1Char('-'))
        .replace(QLatin1Char('}'), QLatin1Char('-'));
    while (name.startsWith(QLatin1Char('$')))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("palette") : name;
}

QByteArray Write(const ExchangePalette& palette)
{
    const QStringList names = exchangenames::ColorNames(palette.colors);
    jsonwriting::Writer json;
    json.beginObject();
    json.key(GroupName(palette.name)).beginObject();
    json.key("$type").string(QStringLiteral("color"));
    for (qsizetype i = 0; i < palette.colors.size(); ++i) {
        const Color color = palette.colors.at(i);
        json.key(exchangenames::IdentifierPart(names.at(i), QStringLiteral("color"))).beginObject();
        json.key("$value").beginObject();
        json.key("colorSpace").string(QStringLiteral("srgb"));
        json.key("components").beginArray(jsonwriting::Writer::Layout::OneLine);
        for (const int channel :
             {bascommon::GetRed(color), bascommon::GetGreen(color), bascommon::GetBlue(color)})
            json.number(channel / 255.0);
        json.endArray();
        json.key("hex").string(bascommon::ColorToHtmlHex(color).toLower());
        json.endObject();
        json.endObject();
    }
    json.endObject();
    json.endObject();
    return json.text();
}

} // namespace designtokens
