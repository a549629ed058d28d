#include "palettes/DesignTokens.h"

#include "models/ColorScience.h"
#include "palettes/ExchangeNames.h"
#include "palettes/ExchangeText.h"
#include "palettes/JsonWriting.h"

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

// sRGB to the program's colour: inside the gamut (or within half a step of it,
// which rounding takes in) directly, otherwise by CSS gamut mapping.
Color toProgramColor(const cs::Srgb& srgb)
{
    constexpr double HalfStep = 0.5 / 255.0;
    const bool inside = std::isfinite(srgb.r) && std::isfinite(srgb.g) && std::isfinite(srgb.b) &&
                        srgb.r >= -HalfStep && srgb.r <= 1 + HalfStep && srgb.g >= -HalfStep &&
                        srgb.g <= 1 + HalfStep && srgb.b >= -HalfStep && srgb.b <= 1 + HalfStep;
    if (inside)
        return cs::ToColor(srgb);
    if (!std::isfinite(srgb.r) || !std::isfinite(srgb.g) || !std::isfinite(srgb.b))
        return bascommon::Black;
    return cs::ToColor(cs::GamutMapToSrgb(cs::ToOkLch(cs::ToOkLab(srgb))));
}

// The colour of three components in a named space; nothing for a space that
// the conversions do not cover.
std::optional<Color> convert(const QString& space, const double (&c)[3])
{
    cs::Srgb srgb;
    if (space == QLatin1String("srgb"))
        srgb = {c[0], c[1], c[2]};
    else if (space == QLatin1String("srgb-linear"))
        srgb = cs::ToEncoded(cs::LinearSrgb{c[0], c[1], c[2]});
    else if (space == QLatin1String("hsl"))
        srgb = cs::ToSrgb(cs::Hsl{cs::NormalizeHue(c[0]), c[1] / 100.0, c[2] / 100.0});
    else if (space == QLatin1String("hwb"))
        srgb = cs::ToSrgb(cs::Hwb{cs::NormalizeHue(c[0]), c[1] / 100.0, c[2] / 100.0});
    else if (space == QLatin1String("lab"))
        srgb = cs::ToSrgb(cs::Lab{c[0], c[1], c[2]});
    else if (space == QLatin1String("lch"))
        srgb = cs::ToSrgb(cs::ToLab(cs::Lch{c[0], c[1], cs::NormalizeHue(c[2])}));
    else if (space == QLatin1String("oklab"))
        srgb = cs::ToSrgb(cs::OkLab{c[0], c[1], c[2]});
    else if (space == QLatin1String("oklch"))
        srgb = cs::ToSrgb(cs::ToOkLab(cs::OkLch{c[0], c[1], cs::NormalizeHue(c[2])}));
    else if (space == QLatin1String("display-p3"))
        srgb = cs::ToSrgb(cs::DisplayP3{c[0], c[1], c[2]});
    else if (space == QLatin1String("xyz-d65"))
        srgb = cs::ToEncoded(cs::ToLinearSrgb(cs::XyzD65{c[0], c[1], c[2]}));
    else if (space == QLatin1String("xyz-d50"))
        srgb = cs::ToEncoded(cs::ToLinearSrgb(cs::ToXyzD65(cs::XyzD50{c[0], c[1], c[2]})));
    else
        return std::nullopt;
    return toProgramColor(srgb);
}

const QStringList KnownSpaces = {
    QStringLiteral("srgb"),    QStringLiteral("srgb-linear"),  QStringLiteral("hsl"),
    QStringLiteral("hwb"),     QStringLiteral("lab"),          QStringLiteral("lch"),
    QStringLiteral("oklab"),   QStringLiteral("oklch"),        QStringLiteral("display-p3"),
    QStringLiteral("a98-rgb"), QStringLiteral("prophoto-rgb"), QStringLiteral("rec2020"),
    QStringLiteral("xyz-d65"), QStringLiteral("xyz-d50"),
};

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
    std::optional<Color> colorOf(const Token& token)
    {
        if (const auto found = m_done.constFind(token.path); found != m_done.constEnd())
            return *found;
        if (m_visiting.contains(token.path)) {
            fail(token.token.member(u"$value"),
                 QStringLiteral("the token \"%1\" refers to itself through its aliases")
                     .arg(exchangetext::Shown(token.path)));
            return std::nullopt;
        }
        m_visiting.insert(token.path);
        const std::optional<Color> color = computeColor(token);
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
        if (!token.type.isEmpty() || depth > 64)
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

    std::optional<Color> computeColor(const Token& token)
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
            return colorOf(*target);
        }
        if (value.isString()) {
            if (const std::optional<Color> hex =
                    exchangetext::HexColor(value.string().trimmed(), exchangetext::HexForms::Css))
                return hex;
            fail(value, QStringLiteral("the colour token \"%1\" has the value \"%2\", which is "
                                       "neither a colour object nor a hex colour")
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
        if (!space.isString() || !KnownSpaces.contains(space.string())) {
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
        if (const std::optional<Color> color = convert(space.string(), c))
            return color;
        if (fallback)
            return fallback;
        fail(space, QStringLiteral("the colour token \"%1\" is in %2, which this program cannot "
                                   "convert, and gives no hex to use instead")
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
