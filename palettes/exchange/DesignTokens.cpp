#include "palettes/exchange/DesignTokens.h"

#include "models/notations/ColorParser.h"
#include "models/science/ColorScience.h"
#include "models/notations/CssColor.h"
#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/ExchangeText.h"
#include "palettes/exchange/JsonWriting.h"

#include <QHash>
#include <QMultiHash>

#include <algorithm>
#include <cmath>
#include <optional>

namespace designtokens {

namespace {

using jsontree::Value;
namespace cs = colorscience;

// The type a token has from itself or its groups, as far as reading colours
// needs it: an empty "$type" is none.
enum class Typed : quint8 { None, Color, Other };

Typed typedAs(const QString& type)
{
    if (type.isEmpty())
        return Typed::None;
    return type == QLatin1String("color") ? Typed::Color : Typed::Other;
}

struct Token
{
    Value token; // the token object; its key is the token's name
    qint32 group;
    Typed type;
};

// The tokens of a file and the groups that hold them, in a few bytes each: a
// name or a path ("brand.red") is never stored, only read from the document
// when needed. A group name can be as long as the file; a path stored per
// token would take memory growing with the square of the file, and a file
// of 64 MB holds two million tokens. Groups of the same path (a name given
// twice) are one group here, as they are to an alias.
class Tokens
{
public:
    struct Group
    {
        Value object; // invalid for the document itself
        qint32 parent = -1;
    };

    QList<Group> groups = {Group{}};
    QList<Token> tokens;

    // The group of the member `object` of the group `parent`. Its name is
    // read only when another group's has the same hash.
    qint32 groupOf(qint32 parent, const Value& object)
    {
        const quint64 key = object.keyHash(seedOf(parent));
        QString name;
        for (auto found = m_groupIds.constFind(key);
             found != m_groupIds.constEnd() && found.key() == key; ++found) {
            if (name.isNull())
                name = object.key();
            if (groups.at(*found).object.keyIs(name))
                return *found;
        }
        groups.append(Group{object, parent});
        m_groupIds.insert(key, qint32(groups.size() - 1));
        return qint32(groups.size() - 1);
    }

    void addToken(qint32 group, const Value& token, Typed type)
    {
        tokens.append(Token{token, group, type});
        m_tokenKeys.push_back(token.keyHash(seedOf(group)));
    }

    // Makes the tokens findable; call once, after the last addToken(). Each
    // path gets one place in an open-addressed table, taken by the last token
    // of that path in the file, so that an alias is found in constant time
    // however many tokens there are.
    void index()
    {
        std::size_t capacity = 16;
        while (capacity < 2 * m_tokenKeys.size())
            capacity *= 2;
        m_places.assign(capacity, Place{});
        for (qint32 i = 0; i < qint32(tokens.size()); ++i) {
            const quint64 key = m_tokenKeys[std::size_t(i)];
            QString name; // read only when another token has the same key
            for (std::size_t place = slotOf(key);; place = (place + 1) & (capacity - 1)) {
                Place& taken = m_places[place];
                if (taken.token < 0) {
                    taken = Place{checkOf(key), i};
                    break;
                }
                if (taken.check != checkOf(key) || m_tokenKeys[std::size_t(taken.token)] != key ||
                    tokens.at(taken.token).group != tokens.at(i).group)
                    continue;
                if (name.isNull())
                    name = tokens.at(i).token.key();
                if (tokens.at(taken.token).token.keyIs(name)) {
                    taken.token = i;
                    break;
                }
            }
        }
    }

    QString path(const Token& token) const
    {
        QStringList parts = {token.token.key()};
        for (qint32 group = token.group; group > 0; group = groups.at(group).parent)
            parts.prepend(groups.at(group).object.key());
        return parts.join(QLatin1Char('.'));
    }

    // The token at a dotted path, the last of that path in the file; null
    // when the file holds none there.
    const Token* find(QStringView path) const
    {
        qint32 group = 0;
        qsizetype dot = path.indexOf(QLatin1Char('.'));
        while (dot >= 0) {
            const QStringView part = path.first(dot);
            const quint64 key = keyOf(group, part);
            qint32 next = -1;
            for (auto found = m_groupIds.constFind(key);
                 found != m_groupIds.constEnd() && found.key() == key && next < 0; ++found)
                if (groups.at(*found).object.keyIs(part))
                    next = *found;
            if (next < 0)
                return nullptr;
            group = next;
            path = path.sliced(dot + 1);
            dot = path.indexOf(QLatin1Char('.'));
        }
        const quint64 key = keyOf(group, path);
        for (std::size_t place = slotOf(key);; place = (place + 1) & (m_places.size() - 1)) {
            const Place taken = m_places[place];
            if (taken.token < 0)
                return nullptr;
            if (taken.check != checkOf(key) || m_tokenKeys[std::size_t(taken.token)] != key)
                continue;
            const Token& token = tokens.at(taken.token);
            if (token.group == group && token.token.keyIs(path))
                return &token;
        }
    }

private:
    QMultiHash<quint64, qint32> m_groupIds;
    // The key of each token, and the table of index().
    std::vector<quint64> m_tokenKeys;
    // A place holds part of its token's key as well, so that probing past
    // other tokens' places reads nothing else.
    struct Place
    {
        quint32 check = 0;
        qint32 token = -1;
    };
    std::vector<Place> m_places;

    static quint32 checkOf(quint64 key) { return quint32(key >> 32); }

    // The hash of a name within its group, for the group's own seed.
    static quint64 seedOf(qint32 group)
    {
        return 14695981039346656037ull ^ (quint64(quint32(group)) * 0x9E3779B97F4A7C15ull);
    }
    static quint64 keyOf(qint32 group, QStringView name)
    {
        return jsontree::HashOf(name, seedOf(group));
    }

    std::size_t slotOf(quint64 key) const
    {
        // The high bits mixed in: the table's mask keeps only low ones.
        return std::size_t(key ^ (key >> 29) ^ (key >> 41)) & (m_places.size() - 1);
    }
};

// Tokens in document order with the type each has from itself or its groups.
void collect(const Value& object, qint32 group, Typed inheritedType, Tokens& tokens)
{
    Typed type = inheritedType;
    if (const Value own = object.member(u"$type"); own.isString())
        type = typedAs(own.string());
    for (const Value& child : object.children()) {
        if (!child.isObject() || child.keyStartsWith(u"$"))
            continue;
        if (child.member(u"$value").isValid()) {
            Typed tokenType = type;
            if (const Value own = child.member(u"$type"); own.isString())
                tokenType = typedAs(own.string());
            tokens.addToken(group, child, tokenType);
        } else {
            collect(child, tokens.groupOf(group, child), type, tokens);
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
    Resolver(QByteArrayView content, const Tokens& tokens)
        : m_content(content), m_tokens(tokens), m_state(tokens.tokens.size(), State::Unknown),
          m_resolving(tokens.tokens.size(), false), m_colors(tokens.tokens.size())
    {
    }

    QString problem;

    // The colour of a colour token (or of one that an alias made colour).
    // `chain` counts the aliases followed to reach it.
    std::optional<Color> colorOf(const Token& token, int chain = 0)
    {
        const qsizetype index = indexOf(token);
        if (chain > MaxAliasChain) {
            fail(token.token.member(u"$value"),
                 QStringLiteral("the token \"%1\" is reached through more than %2 aliases")
                     .arg(shownPath(token))
                     .arg(MaxAliasChain));
            return std::nullopt;
        }
        if (m_colors.at(index))
            return m_colors.at(index);
        if (m_resolving.at(index)) {
            fail(token.token.member(u"$value"),
                 QStringLiteral("the token \"%1\" refers to itself through its aliases")
                     .arg(shownPath(token)));
            return std::nullopt;
        }
        m_resolving[index] = true;
        const std::optional<Color> color = computeColor(token, chain);
        m_resolving[index] = false;
        if (color)
            m_colors[index] = color;
        return color;
    }

    // Whether the token is a colour: typed so, or an untyped alias (through
    // any number of untyped aliases) to a colour. Each token is decided once.
    bool isColor(const Token& token)
    {
        QList<qsizetype> chain;
        const Token* at = &token;
        bool color = false;
        while (true) {
            const qsizetype index = indexOf(*at);
            if (m_state.at(index) == State::Color || m_state.at(index) == State::NotColor) {
                color = m_state.at(index) == State::Color;
                break;
            }
            if (m_state.at(index) == State::Visiting)
                break; // a loop of aliases: no colour
            chain.append(index);
            m_state[index] = State::Visiting;
            if (at->type == Typed::Color) {
                color = true;
                break;
            }
            if (at->type != Typed::None)
                break;
            const Value value = at->token.member(u"$value");
            if (looksLikeColourValue(value)) {
                color = true;
                break;
            }
            const std::optional<QString> alias = aliasPath(value);
            at = alias ? m_tokens.find(*alias) : nullptr;
            if (!at)
                break;
        }
        for (const qsizetype index : chain)
            m_state[index] = color ? State::Color : State::NotColor;
        return color;
    }

private:
    enum class State : quint8 { Unknown, Visiting, Color, NotColor };

    QByteArrayView m_content;
    const Tokens& m_tokens;
    // isColor's answers, and the tokens colorOf is resolving.
    QList<State> m_state;
    QList<bool> m_resolving;
    QList<std::optional<Color>> m_colors;

    qsizetype indexOf(const Token& token) const { return &token - m_tokens.tokens.constData(); }

    QString shownPath(const Token& token) const
    {
        return exchangetext::Shown(m_tokens.path(token));
    }

    void fail(const Value& at, const QString& what)
    {
        if (problem.isEmpty())
            problem =
                QStringLiteral("at %1 %2").arg(exchangetext::Where(m_content, at.offset()), what);
    }

    std::optional<Color> computeColor(const Token& token, int chain)
    {
        const Value value = token.token.member(u"$value");
        if (const std::optional<QString> alias = aliasPath(value)) {
            const Token* target = m_tokens.find(*alias);
            if (!target) {
                fail(value, QStringLiteral("the token \"%1\" refers to \"%2\", which the file "
                                           "does not hold")
                                .arg(shownPath(token), exchangetext::Shown(*alias)));
                return std::nullopt;
            }
            if (!isColor(*target)) {
                fail(value, QStringLiteral("the colour token \"%1\" refers to \"%2\", which is "
                                           "not a colour")
                                .arg(shownPath(token), exchangetext::Shown(*alias)));
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
                            .arg(shownPath(token), exchangetext::Shown(value.string())));
            return std::nullopt;
        }
        if (!value.isObject()) {
            fail(value, QStringLiteral("the colour token \"%1\" has a value that is not a colour "
                                       "object")
                            .arg(shownPath(token)));
            return std::nullopt;
        }
        return colourObject(value, token);
    }

    std::optional<Color> colourObject(const Value& value, const Token& token)
    {
        // Built only for a message: a path can be as long as the file.
        const auto name = [&] { return shownPath(token); };
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
                              .arg(name()));
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
                           .arg(name(), exchangetext::Shown(space.string()))
                     : QStringLiteral("the colour token \"%1\" gives no colorSpace").arg(name()));
            return std::nullopt;
        }
        const QList<Value> items = components.children();
        if (!components.isArray() || items.size() != 3) {
            fail(components.isValid() ? components : value,
                 QStringLiteral("the colour token \"%1\" needs three components").arg(name()));
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
                               .arg(name()));
                return std::nullopt;
            }
        }
        if (const std::optional<Color> color = convert(*known, c))
            return color;
        if (fallback)
            return fallback;
        fail(components, QStringLiteral("the colour token \"%1\" has components that give no "
                                        "colour in %2, and no hex to use instead")
                             .arg(name(), space.string()));
        return std::nullopt;
    }
};

// The names of colour tokens: the names of their groups and their own,
// joined with "-", without the group that names the palette. A group's name
// may be as long as the file and hold millions of tokens, so the joined names
// are bounded as a whole: past `budget` characters a token gets its own name
// alone, which the file holds once for each.
class TokenNames
{
public:
    TokenNames(const Tokens& tokens, bool paletteGroup, qsizetype budget)
        : m_tokens(tokens), m_prefixes(tokens.groups.size()), m_paletteGroup(paletteGroup),
          m_budget(budget)
    {
    }

    QString nameOf(const Token& token)
    {
        const QString own = token.token.key();
        const std::optional<QString> prefix = prefixOf(token.group);
        if (!prefix)
            return exchangenames::ReadName(own);
        const QString name =
            exchangenames::ReadName(prefix->isEmpty() ? own
                                                      : *prefix + QLatin1Char('-') +
                                                            own.left(exchangenames::MaxNameLength));
        return spend(name.size()) ? name : exchangenames::ReadName(own);
    }

private:
    const Tokens& m_tokens;
    // Each group's joined name once known, cut as names are.
    QList<std::optional<QString>> m_prefixes;
    bool m_paletteGroup;
    qsizetype m_budget;

    bool m_spent = false;

    // Once the budget is spent it stays spent, so that no group's name (which
    // may be long) is read again for every token below it.
    bool spend(qsizetype characters)
    {
        if (m_spent || characters > m_budget) {
            m_spent = true;
            return false;
        }
        m_budget -= characters;
        return true;
    }

    // Nothing once the budget is spent.
    std::optional<QString> prefixOf(qint32 group)
    {
        if (group <= 0)
            return QString();
        if (m_spent)
            return std::nullopt;
        const Tokens::Group& at = m_tokens.groups.at(group);
        if (m_paletteGroup && at.parent == 0)
            return QString();
        if (m_prefixes.at(group))
            return m_prefixes.at(group);
        // Groups nest at most jsontree::MaxDepth deep.
        const std::optional<QString> parent = prefixOf(at.parent);
        if (!parent)
            return std::nullopt;
        const QString key = at.object.key();
        const QString joined = (parent->isEmpty() ? key : *parent + QLatin1Char('-') + key)
                                   .left(exchangenames::MaxNameLength);
        if (!spend(joined.size()))
            return std::nullopt;
        m_prefixes[group] = joined;
        return joined;
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

    Tokens tokens;
    collect(root, 0, Typed::None, tokens);
    tokens.index();
    Resolver resolver(content, tokens);
    ExchangeReading reading;
    // One group and nothing else names the palette. Its name, which can be as
    // long as the file, is read once, and only then.
    qsizetype groups = 0;
    Value group;
    for (const Value& child : root.children()) {
        if (!child.keyStartsWith(u"$")) {
            ++groups;
            group = child;
        }
    }
    const bool paletteGroup = groups == 1 && group.isObject() && !group.member(u"$value").isValid();
    if (paletteGroup)
        reading.palette.name = group.key();
    TokenNames names(tokens, paletteGroup, content.size());
    for (const Token& token : tokens.tokens) {
        if (!resolver.isColor(token))
            continue;
        const std::optional<Color> color = resolver.colorOf(token);
        if (!color)
            return ExchangeReading::failure(resolver.problem);
        if (reading.palette.colors.size() == paletteexchange::MaxColors)
            return ExchangeReading::failure(paletteexchange::TooManyColors());
        reading.palette.colors.append(*color);
        reading.palette.names.append(names.nameOf(token));
    }
    exchangenames::SettleNames(reading.palette);
    return reading;
}

QString TokenName(const QString& colorName)
{
    QString name = exchangenames::ReadName(colorName);
    name.replace(QLatin1Char('.'), QLatin1Char('-'))
        .replace(QLatin1Char('{'), QLatin1Char('-'))
        .replace(QLatin1Char('}'), QLatin1Char('-'));
    while (name.startsWith(QLatin1Char('$')))
        name.remove(0, 1);
    return name;
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
    const QStringList names =
        exchangenames::NamesToWrite(palette, &TokenName, exchangenames::Keys::Unique);
    jsonwriting::Writer json;
    json.beginObject();
    json.key(GroupName(palette.name)).beginObject();
    json.key("$type").string(QStringLiteral("color"));
    for (qsizetype i = 0; i < palette.colors.size(); ++i) {
        const Color color = palette.colors.at(i);
        json.key(palette.nameAt(i).isEmpty()
                     ? exchangenames::IdentifierPart(names.at(i), QStringLiteral("color"))
                     : names.at(i))
            .beginObject();
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
