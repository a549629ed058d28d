#include "models/notations/ColorParser.h"

#include "models/science/ColorScience.h"
#include "models/notations/NamedColorTables.h"
#include "models/notations/NamedColors.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace colorparser {

using csscolor::CssColor;
using csscolor::Space;
using csscolor::Unit;

namespace {

using View = std::string_view;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f');
}
bool IsLetter(char c)
{
    return c >= 'a' && c <= 'z';
}
bool IsNameChar(char c)
{
    return IsLetter(c) || IsDigit(c) || c == '-' || c == '_';
}

View Trim(View text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool StartsWith(View text, View prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool AllHex(View text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), IsHexDigit);
}

std::uint32_t HexValue(View digits)
{
    std::uint32_t value = 0;
    for (const char c : digits)
        value = value * 16 + std::uint32_t(IsDigit(c) ? c - '0' : c - 'a' + 10);
    return value;
}

// A number as CSS writes it: sign, digits, an optional fraction and
// exponent. Returns the characters used, 0 when there is no number.
std::size_t ReadNumber(View text, double& value, bool& fraction)
{
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    const std::size_t whole = i - start;
    std::size_t decimals = 0;
    fraction = false;
    if (i < text.size() && text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1])) {
        fraction = true;
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++decimals;
        }
    }
    if (whole == 0 && decimals == 0)
        return 0;
    if (i + 1 < text.size() && text[i] == 'e') {
        std::size_t j = i + 1;
        if (text[j] == '+' || text[j] == '-')
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            fraction = true;
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    const char* first = text.data() + start;
    // from_chars takes no leading zero-less fraction such as ".5" with a
    // sign, so the sign is applied afterwards.
    const auto [end, error] = std::from_chars(first, text.data() + i, value);
    if (error == std::errc::result_out_of_range)
        value = HUGE_VAL;
    else if (error != std::errc() || end != text.data() + i)
        return 0;
    if (negative)
        value = -value;
    return i;
}

QString Words(int count)
{
    static const char* const words[] = {"no", "one", "two", "three", "four", "five", "six"};
    return count >= 0 && count <= 6 ? QLatin1String(words[count]) : QString::number(count);
}

// One value between a function's parentheses.
struct Arg
{
    enum class Kind { Number, None, Word, Hex, String } kind = Kind::Number;
    double value = 0;
    bool fraction = false; // written with a decimal point, an exponent or a float suffix
    View unit;             // "%", "deg", ...; empty for a plain number
    View label;            // "red" of "red: 0.2" or "red = 0.2f"
    View text;             // the value as written
    std::size_t hexDigits = 0;
};

struct Args
{
    std::array<Arg, 8> items{};
    int count = 0;
    int commas = 0;
    int slashBefore = -1; // index of the value after the "/"
};

struct Failure
{
    QString message;
};

class Reader
{
public:
    // `original` is the text as given, `text` its simplified copy, one
    // character for each: messages quote the original.
    Reader(View text, QStringView original) : m_text(text), m_original(original) {}

    ParseResult run();

private:
    ParseResult parseWhole(View text);
    ParseResult parseFunction(View name, View inside, View whole);
    ParseResult parseCss(View name, const Args& args, View whole);
    ParseResult parseCssColorFunction(const Args& args, View whole);
    ParseResult parseCode(View name, const Args& args, View whole);
    ParseResult parseHash(View digits, View whole);
    ParseResult parsePlain(View text);
    bool readArgs(View inside, bool code, Args& args, QString& error);

    ParseResult fail(const QString& message) const
    {
        ParseResult result;
        result.message = message;
        return result;
    }
    ParseResult succeed(const CssColor& css, const QString& readAs) const;
    ParseResult fromRgb(int r, int g, int b, double alpha, const QString& readAs) const
    {
        CssColor css{Space::Rgb, {double(r), double(g), double(b)}, alpha};
        return succeed(css, readAs);
    }

    QString shown(View part) const
    {
        const auto offset = qsizetype(part.data() - m_text.data());
        if (offset < 0 || offset + qsizetype(part.size()) > m_original.size())
            return QString::fromLatin1(part.data(), qsizetype(part.size()));
        return m_original.mid(offset, qsizetype(part.size())).toString();
    }
    QString quoted(View part) const
    {
        constexpr std::size_t Longest = 60;
        QString text = shown(part.substr(0, Longest));
        if (part.size() > Longest)
            text += QChar(0x2026);
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    // A reader for a part of the text that is read again on its own (a
    // quoted colour inside code, the inside of Tailwind's brackets).
    ParseResult readPart(View part, bool underscoresAreSpaces) const
    {
        std::string lower(part);
        QString original = shown(part);
        if (underscoresAreSpaces) {
            std::replace(lower.begin(), lower.end(), '_', ' ');
            original.replace(QLatin1Char('_'), QLatin1Char(' '));
        }
        Reader reader(lower, original);
        return reader.parseWhole(Trim(lower));
    }

    View m_text;
    QStringView m_original;
};

ParseResult Reader::succeed(const CssColor& css, const QString& readAs) const
{
    ParseResult result;
    result.ok = true;
    result.css = css;
    result.alpha = std::clamp(std::isnan(css.alpha) ? 0.0 : css.alpha, 0.0, 1.0);
    result.readAs = readAs;
    result.color = csscolor::ToColor(css, &result.gamutMapped);
    if (result.alpha < 1)
        result.message = QStringLiteral("Its alpha of %1% is ignored: colors here are opaque.")
                             .arg(QString::number(result.alpha * 100, 'g', 4));
    if (result.gamutMapped) {
        if (!result.message.isEmpty())
            result.message += QLatin1Char(' ');
        result.message +=
            QStringLiteral("It lies outside sRGB and was brought inside by CSS gamut mapping.");
    }
    return result;
}

ParseResult Reader::run()
{
    View text = Trim(m_text);
    if (text.empty())
        return fail(QStringLiteral("There is no text to read a color from."));
    if (text.size() > std::size_t(MaximumLength))
        return fail(QStringLiteral("The text is %1 characters long, too long to be one color.")
                        .arg(text.size()));
    // A CSS declaration: the value after its property, without the closing
    // semicolon or !important.
    if (!text.empty() && text.back() == ';')
        text = Trim(text.substr(0, text.size() - 1));
    if (text.size() > 10 && text.substr(text.size() - 10) == "!important")
        text = Trim(text.substr(0, text.size() - 10));
    std::size_t nameEnd = 0;
    while (nameEnd < text.size() && IsNameChar(text[nameEnd]))
        ++nameEnd;
    if (nameEnd > 0 && nameEnd < text.size()) {
        std::size_t colon = nameEnd;
        while (colon < text.size() && IsSpace(text[colon]))
            ++colon;
        if (colon < text.size() && text[colon] == ':' &&
            (colon + 1 == text.size() || text[colon + 1] != ':'))
            text = Trim(text.substr(colon + 1));
    }
    return parseWhole(text);
}

ParseResult Reader::parseWhole(View text)
{
    // Quotes around the colour, as source code and two of the copy
    // notations write it.
    while (text.size() >= 2 &&
           (text.front() == '"' || text.front() == '\'' || text.front() == '`') &&
           text.back() == text.front())
        text = Trim(text.substr(1, text.size() - 2));
    if (text.empty())
        return fail(QStringLiteral("There is only a pair of quote marks, with no color in it."));

    // Tailwind's arbitrary value: bg-[#336699], [rgb(51_102_153)].
    const std::size_t open = text.find('[');
    if (open != View::npos && text.back() == ']') {
        const View prefix = text.substr(0, open);
        if (std::all_of(prefix.begin(), prefix.end(),
                        [](char c) { return IsNameChar(c) || c == ':'; })) {
            ParseResult result = readPart(text.substr(open + 1, text.size() - open - 2), true);
            if (result.ok)
                result.readAs = QStringLiteral("Tailwind arbitrary value with ") + result.readAs;
            return result;
        }
    }

    if (text.front() == '#')
        return parseHash(text.substr(1), text);
    if (StartsWith(text, "0x")) {
        const View digits = text.substr(2);
        if (AllHex(digits) && digits.size() == 6) {
            const std::uint32_t v = HexValue(digits);
            return fromRgb(int(v >> 16), int((v >> 8) & 255), int(v & 255), 1,
                           QStringLiteral("0xRRGGBB"));
        }
        if (AllHex(digits) && digits.size() == 8) {
            const std::uint32_t v = HexValue(digits);
            return fromRgb(int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255),
                           (v >> 24) / 255.0, QStringLiteral("0xAARRGGBB"));
        }
        return fail(QStringLiteral("%1 is read as a hexadecimal number, but a color takes six "
                                   "digits (0xRRGGBB) or eight (0xAARRGGBB).")
                        .arg(quoted(text)));
    }
    if (StartsWith(text, "&h") || text.front() == '$') {
        // VB's &H00BBGGRR& and Delphi's $00BBGGRR: the platform's colour
        // value, blue first.
        View digits = text.substr(text.front() == '$' ? 1 : 2);
        if (!digits.empty() && digits.back() == '&' && text.front() == '&')
            digits.remove_suffix(1);
        if (AllHex(digits) && digits.size() <= 8 && HexValue(digits) <= 0xFFFFFFu) {
            const std::uint32_t v = HexValue(digits);
            return fromRgb(int(v & 255), int((v >> 8) & 255), int(v >> 16), 1,
                           text.front() == '$' ? QStringLiteral("Delphi $00BBGGRR")
                                               : QStringLiteral("VB &H00BBGGRR&"));
        }
        return fail(QStringLiteral("%1 is read as a blue-first color value (&H00BBGGRR& or "
                                   "$00BBGGRR), but its digits do not make one.")
                        .arg(quoted(text)));
    }
    if (StartsWith(text, "hex={") && text.back() == '}') {
        const View inside = text.substr(5, text.size() - 6);
        const std::size_t c1 = inside.find(',');
        const std::size_t c2 = c1 == View::npos ? View::npos : inside.find(',', c1 + 1);
        if (c2 != View::npos) {
            const View parts[3] = {Trim(inside.substr(0, c1)),
                                   Trim(inside.substr(c1 + 1, c2 - c1 - 1)),
                                   Trim(inside.substr(c2 + 1))};
            if (std::all_of(std::begin(parts), std::end(parts),
                            [](View p) { return p.size() == 2 && AllHex(p); }))
                return fromRgb(int(HexValue(parts[0])), int(HexValue(parts[1])),
                               int(HexValue(parts[2])), 1, QStringLiteral("Hex={RR,GG,BB}"));
        }
        return fail(QStringLiteral("%1 is read as Hex={RR,GG,BB}, which takes three pairs of "
                                   "hexadecimal digits.")
                        .arg(quoted(text)));
    }

    // A function: the name runs up to the opening parenthesis.
    std::size_t nameEnd = 0;
    if (StartsWith(text, "new "))
        text = Trim(text.substr(4));
    while (nameEnd < text.size() &&
           (IsNameChar(text[nameEnd]) || text[nameEnd] == '.' || text[nameEnd] == ':'))
        ++nameEnd;
    std::size_t paren = nameEnd;
    while (paren < text.size() && IsSpace(text[paren]))
        ++paren;
    if (nameEnd > 0 && paren < text.size() && text[paren] == '(' && !IsDigit(text.front())) {
        if (text.back() != ')')
            return fail(QStringLiteral("%1 opens %2() but does not close it with \")\".")
                            .arg(quoted(text), shown(text.substr(0, nameEnd))));
        return parseFunction(text.substr(0, nameEnd),
                             text.substr(paren + 1, text.size() - paren - 2), text);
    }

    if (IsLetter(text.front()) && nameEnd == text.size()) {
        if (const auto named = namedcolors::CssNamedColor(text))
            return fromRgb(bascommon::GetRed(*named), bascommon::GetGreen(*named),
                           bascommon::GetBlue(*named), 1, QStringLiteral("CSS named color"));
        if (text == "transparent")
            return fromRgb(0, 0, 0, 0, QStringLiteral("CSS transparent (black with no alpha)"));
        if (text == "currentcolor")
            return fail(QStringLiteral("\"currentcolor\" is the color of the surrounding text, "
                                       "which only a page knows."));
        // Tailwind's palette, with or without a utility in front: sky-500,
        // bg-sky-500.
        for (const namedcolors::TailwindEntry& entry : namedcolors::TailwindPalette) {
            const View name(entry.name);
            if (text == name ||
                (text.size() > name.size() && text.substr(text.size() - name.size()) == name &&
                 text[text.size() - name.size() - 1] == '-')) {
                CssColor css{
                    Space::OkLch, {entry.lightnessPercent / 100, entry.chroma, entry.hue}, 1};
                return succeed(css, QStringLiteral("Tailwind color ") + QLatin1String(entry.name));
            }
        }
        if (text.size() == 6 && AllHex(text))
            return parseHash(text, text);
        return fail(QStringLiteral("%1 is no CSS color name (there are 148, from \"aliceblue\" to "
                                   "\"yellowgreen\") and no Tailwind color.")
                        .arg(quoted(text)));
    }
    return parsePlain(text);
}

ParseResult Reader::parseHash(View digits, View whole)
{
    if (!AllHex(digits))
        return fail(
            QStringLiteral("%1 is read as a hex color, but %2 is not a hexadecimal digit.")
                .arg(
                    quoted(whole),
                    quoted(View(&*std::find_if_not(digits.begin(), digits.end(), IsHexDigit), 1))));
    const std::uint32_t v = HexValue(digits);
    switch (digits.size()) {
    case 3:
    case 4: {
        const auto nibble = [&](int i) {
            return int(HexValue(digits.substr(std::size_t(i), 1))) * 17;
        };
        return fromRgb(nibble(0), nibble(1), nibble(2), digits.size() == 4 ? nibble(3) / 255.0 : 1,
                       digits.size() == 4 ? QStringLiteral("#RGBA") : QStringLiteral("#RGB"));
    }
    case 6:
        return fromRgb(int(v >> 16), int((v >> 8) & 255), int(v & 255), 1,
                       QStringLiteral("#RRGGBB"));
    case 8:
        return fromRgb(int(v >> 24), int((v >> 16) & 255), int((v >> 8) & 255), (v & 255) / 255.0,
                       QStringLiteral("#RRGGBBAA"));
    default:
        return fail(QStringLiteral("%1 is read as a hex color, but it has %2 digits; a color has "
                                   "3, 4, 6 or 8.")
                        .arg(quoted(whole))
                        .arg(digits.size()));
    }
}

bool Reader::readArgs(View inside, bool code, Args& args, QString& error)
{
    std::size_t i = 0;
    bool expectValue = true;
    while (true) {
        while (i < inside.size() && IsSpace(inside[i]))
            ++i;
        if (i >= inside.size())
            break;
        const char c = inside[i];
        if (c == ',') {
            ++args.commas;
            ++i;
            expectValue = true;
            continue;
        }
        if (c == '/' && !code) {
            if (args.slashBefore >= 0) {
                error = QStringLiteral("there is more than one \"/\".");
                return false;
            }
            args.slashBefore = args.count;
            ++i;
            continue;
        }
        if (args.count == int(args.items.size())) {
            error = QStringLiteral("there are too many values.");
            return false;
        }
        Arg& arg = args.items[std::size_t(args.count)];
        const std::size_t start = i;
        // A label: "red:" (Swift) or "red =" (Kotlin).
        std::size_t j = i;
        while (j < inside.size() && IsNameChar(inside[j]))
            ++j;
        if (code && j > i && IsLetter(inside[i])) {
            std::size_t k = j;
            while (k < inside.size() && IsSpace(inside[k]))
                ++k;
            if (k < inside.size() && (inside[k] == ':' || inside[k] == '=')) {
                arg.label = inside.substr(i, j - i);
                i = k + 1;
                while (i < inside.size() && IsSpace(inside[i]))
                    ++i;
            }
        }
        if (i < inside.size() && (inside[i] == '"' || inside[i] == '\'')) {
            const std::size_t close = inside.find(inside[i], i + 1);
            if (close == View::npos) {
                error = QStringLiteral("a quoted text is not closed.");
                return false;
            }
            arg.kind = Arg::Kind::String;
            arg.text = inside.substr(i + 1, close - i - 1);
            i = close + 1;
        } else if (StartsWith(inside.substr(i), "0x")) {
            std::size_t k = i + 2;
            while (k < inside.size() && IsHexDigit(inside[k]))
                ++k;
            arg.kind = Arg::Kind::Hex;
            arg.hexDigits = k - i - 2;
            arg.value =
                arg.hexDigits <= 8 ? double(HexValue(inside.substr(i + 2, arg.hexDigits))) : -1;
            arg.text = inside.substr(i, k - i);
            i = k;
        } else if (const std::size_t used = ReadNumber(inside.substr(i), arg.value, arg.fraction)) {
            arg.kind = Arg::Kind::Number;
            i += used;
            std::size_t k = i;
            if (k < inside.size() && inside[k] == '%')
                ++k;
            else
                while (k < inside.size() && IsLetter(inside[k]))
                    ++k;
            arg.unit = inside.substr(i, k - i);
            i = k;
            if (code && (arg.unit == "f" || arg.unit == "d")) {
                arg.fraction = true;
                arg.unit = {};
            }
            // 51/255 or 51.0 / 255.0, as code writes a channel.
            std::size_t k2 = i;
            while (k2 < inside.size() && IsSpace(inside[k2]))
                ++k2;
            if (code && arg.unit.empty() && k2 < inside.size() && inside[k2] == '/') {
                ++k2;
                while (k2 < inside.size() && IsSpace(inside[k2]))
                    ++k2;
                double divisor = 0;
                bool ignored = false;
                const std::size_t used2 = ReadNumber(inside.substr(k2), divisor, ignored);
                if (used2 == 0 || divisor == 0) {
                    error = QStringLiteral("a \"/\" is not followed by a number to divide by.");
                    return false;
                }
                k2 += used2;
                if (k2 < inside.size() && (inside[k2] == 'f' || inside[k2] == 'd'))
                    ++k2;
                arg.value /= divisor;
                arg.fraction = true;
                i = k2;
            }
        } else if (j > i && (IsLetter(inside[i]) || inside[i] == '-')) {
            arg.text = inside.substr(i, j - i);
            arg.kind = arg.text == "none" ? Arg::Kind::None : Arg::Kind::Word;
            i = j;
        } else if (code && inside[i] == '.' && i + 1 < inside.size() && IsLetter(inside[i + 1])) {
            // Swift's .sRGB or .displayP3 argument.
            std::size_t k = i + 1;
            while (k < inside.size() && IsNameChar(inside[k]))
                ++k;
            arg.kind = Arg::Kind::Word;
            arg.text = inside.substr(i, k - i);
            i = k;
        } else {
            error = QStringLiteral("%1 is not a value.").arg(quoted(inside.substr(i, 1)));
            return false;
        }
        if (arg.text.empty())
            arg.text = inside.substr(start, i - start);
        if (!expectValue && args.commas > 0) {
            error = QStringLiteral("a comma is missing before %1.").arg(quoted(arg.text));
            return false;
        }
        ++args.count;
        expectValue = args.commas == 0;
    }
    return true;
}

ParseResult Reader::parseFunction(View name, View inside, View whole)
{
    static constexpr View CssFunctions[] = {"rgb", "rgba", "hsl",   "hsla", "hwb",
                                            "lab", "lch",  "oklab", "oklch"};
    const bool css =
        std::find(std::begin(CssFunctions), std::end(CssFunctions), name) != std::end(CssFunctions);
    bool code = !css;
    if (name == "color") {
        // color(srgb ...) is CSS; Color(0xFF...), Color(red: ...) and
        // Color(51, 102, 153) are code.
        const View first = Trim(inside);
        code = first.empty() || !IsLetter(first.front()) || first.find_first_of(":=") != View::npos;
    }
    Args args;
    QString error;
    if (!readArgs(inside, code, args, error))
        return fail(
            QStringLiteral("%1 is read as %2(), but %3").arg(quoted(whole), shown(name), error));
    if (name == "color" && !code)
        return parseCssColorFunction(args, whole);
    if (css)
        return parseCss(name, args, whole);
    return parseCode(name, args, whole);
}

// The shape CSS Color 4 gives its functions: three values separated by
// spaces, an optional "/" alpha; or, for rgb() and hsl() only, the legacy
// form with commas and no "none".
ParseResult Reader::parseCss(View name, const Args& args, View whole)
{
    const QString function = shown(name) + QStringLiteral("()");
    // Built only for a refusal: most texts are colours.
    const auto prefix = [&] {
        return QStringLiteral("%1 is read as %2, but ").arg(quoted(whole), function);
    };
    const bool legacyAllowed = name == "rgb" || name == "rgba" || name == "hsl" || name == "hsla";
    const bool legacy = args.commas > 0;
    Space space = Space::Rgb;
    if (name == "hsl" || name == "hsla")
        space = Space::Hsl;
    else if (name == "hwb")
        space = Space::Hwb;
    else if (name == "lab")
        space = Space::Lab;
    else if (name == "lch")
        space = Space::Lch;
    else if (name == "oklab")
        space = Space::OkLab;
    else if (name == "oklch")
        space = Space::OkLch;

    int channels = args.count;
    bool hasAlpha = false;
    if (legacy) {
        if (!legacyAllowed)
            return fail(
                prefix() +
                QStringLiteral("%1 separates its values with spaces, not commas.").arg(function));
        if (args.slashBefore >= 0)
            return fail(
                prefix() +
                QStringLiteral(
                    "the comma form takes its alpha after a fourth comma, not after \"/\"."));
        if (args.commas != args.count - 1 || (args.count != 3 && args.count != 4))
            return fail(prefix() +
                        QStringLiteral("the comma form takes three values and an optional "
                                       "alpha, each after a comma; it has %1 values and %2 commas.")
                            .arg(args.count)
                            .arg(args.commas));
        hasAlpha = args.count == 4;
        channels = 3;
    } else {
        if (args.slashBefore >= 0) {
            channels = args.slashBefore;
            if (args.count - args.slashBefore != 1)
                return fail(prefix() +
                            QStringLiteral("\"/\" must be followed by exactly one alpha value."));
            hasAlpha = true;
        }
        if (channels != 3)
            return fail(prefix() + QStringLiteral("%1 takes three values and it has %2.")
                                       .arg(function, Words(channels)));
    }

    CssColor css{space, {}, 1};
    bool percentSeen = false;
    bool numberSeen = false;
    for (int i = 0; i < 3; ++i) {
        const Arg& arg = args.items[std::size_t(i)];
        const bool hue = (space == Space::Hsl && i == 0) || (space == Space::Hwb && i == 0) ||
                         ((space == Space::Lch || space == Space::OkLch) && i == 2);
        if (arg.kind == Arg::Kind::None) {
            if (legacy)
                return fail(prefix() +
                            QStringLiteral("\"none\" is not allowed in the comma form."));
            continue; // a missing component is 0
        }
        if (arg.kind != Arg::Kind::Number)
            return fail(prefix() + QStringLiteral("%1 is not a number.").arg(quoted(arg.text)));
        Unit unit = Unit::Number;
        if (hue) {
            if (arg.unit == "%")
                return fail(prefix() +
                            QStringLiteral("its hue %1 is a percentage; a hue is a number "
                                           "of degrees or an angle (deg, grad, rad, turn).")
                                .arg(quoted(arg.text)));
            if (arg.unit == "deg")
                unit = Unit::Degrees;
            else if (arg.unit == "grad")
                unit = Unit::Gradians;
            else if (arg.unit == "rad")
                unit = Unit::Radians;
            else if (arg.unit == "turn")
                unit = Unit::Turns;
            else if (!arg.unit.empty())
                return fail(prefix() +
                            QStringLiteral("%1 has a unit that no angle has; a hue takes "
                                           "deg, grad, rad or turn.")
                                .arg(quoted(arg.text)));
        } else if (arg.unit == "%") {
            unit = Unit::Percent;
            percentSeen = true;
        } else if (!arg.unit.empty()) {
            return fail(prefix() +
                        QStringLiteral("%1 has a unit; this value takes a number or a percentage.")
                            .arg(quoted(arg.text)));
        } else {
            numberSeen = true;
            if (legacy && space == Space::Hsl)
                return fail(prefix() +
                            QStringLiteral("the comma form writes saturation and "
                                           "lightness as percentages, and %1 is not one.")
                                .arg(quoted(arg.text)));
        }
        if (!std::isfinite(arg.value))
            return fail(prefix() + QStringLiteral("%1 is too large.").arg(quoted(arg.text)));
        css.components[std::size_t(i)] = csscolor::ResolveComponent(space, i, arg.value, unit);
    }
    if (legacy && space == Space::Rgb && percentSeen && numberSeen)
        return fail(prefix() + QStringLiteral("the comma form writes all three channels as numbers "
                                              "or all three as percentages, not both."));
    if (hasAlpha) {
        const Arg& alpha = args.items[3];
        if (alpha.kind == Arg::Kind::None && !legacy) {
            css.alpha = 0;
        } else if (alpha.kind != Arg::Kind::Number || (!alpha.unit.empty() && alpha.unit != "%")) {
            return fail(prefix() +
                        QStringLiteral("its alpha %1 is neither a number nor a percentage.")
                            .arg(quoted(alpha.text)));
        } else {
            css.alpha = std::clamp(alpha.unit == "%" ? alpha.value / 100 : alpha.value, 0.0, 1.0);
        }
    }
    return succeed(css, function);
}

ParseResult Reader::parseCssColorFunction(const Args& args, View whole)
{
    const auto prefix = [&] {
        return QStringLiteral("%1 is read as color(), but ").arg(quoted(whole));
    };
    if (args.commas > 0)
        return fail(prefix() +
                    QStringLiteral("color() separates its values with spaces, not commas."));
    const Arg& first = args.items[0];
    struct Named
    {
        View name;
        Space space;
    };
    static constexpr Named Spaces[] = {
        {"srgb", Space::Srgb},
        {"srgb-linear", Space::SrgbLinear},
        {"display-p3", Space::DisplayP3},
        {"a98-rgb", Space::A98Rgb},
        {"prophoto-rgb", Space::ProPhotoRgb},
        {"rec2020", Space::Rec2020},
        {"xyz", Space::XyzD65},
        {"xyz-d50", Space::XyzD50},
        {"xyz-d65", Space::XyzD65},
    };
    const auto found = std::find_if(std::begin(Spaces), std::end(Spaces),
                                    [&](const Named& n) { return n.name == first.text; });
    if (args.count == 0 || first.kind != Arg::Kind::Word || found == std::end(Spaces))
        return fail(prefix() + QStringLiteral("%1 is no color space of color(); it takes srgb, "
                                              "srgb-linear, display-p3, a98-rgb, prophoto-rgb, "
                                              "rec2020, xyz, xyz-d50 or xyz-d65.")
                                   .arg(quoted(args.count ? first.text : View(""))));
    const int channels = (args.slashBefore >= 0 ? args.slashBefore : args.count) - 1;
    if (channels != 3)
        return fail(prefix() + QStringLiteral("color(%1 ...) takes three values and it has %2.")
                                   .arg(shown(first.text), Words(channels)));
    if (args.slashBefore >= 0 && args.count - args.slashBefore != 1)
        return fail(prefix() +
                    QStringLiteral("\"/\" must be followed by exactly one alpha value."));
    CssColor css{found->space, {}, 1};
    for (int i = 0; i < 3; ++i) {
        const Arg& arg = args.items[std::size_t(i + 1)];
        if (arg.kind == Arg::Kind::None)
            continue;
        if (arg.kind != Arg::Kind::Number || (!arg.unit.empty() && arg.unit != "%"))
            return fail(
                prefix() +
                QStringLiteral("%1 is neither a number nor a percentage.").arg(quoted(arg.text)));
        css.components[std::size_t(i)] = csscolor::ResolveComponent(
            css.space, i, arg.value, arg.unit == "%" ? Unit::Percent : Unit::Number);
    }
    if (args.slashBefore >= 0) {
        const Arg& alpha = args.items[std::size_t(args.count - 1)];
        if (alpha.kind == Arg::Kind::None)
            css.alpha = 0;
        else if (alpha.kind != Arg::Kind::Number || (!alpha.unit.empty() && alpha.unit != "%"))
            return fail(prefix() +
                        QStringLiteral("its alpha %1 is neither a number nor a percentage.")
                            .arg(quoted(alpha.text)));
        else
            css.alpha = std::clamp(alpha.unit == "%" ? alpha.value / 100 : alpha.value, 0.0, 1.0);
    }
    return succeed(css, QStringLiteral("color(") + shown(first.text) + QStringLiteral(")"));
}

// The forms of code: a list of channels, labelled or not, or one packed
// number, or a quoted CSS colour.
ParseResult Reader::parseCode(View name, const Args& args, View whole)
{
    const QString function = shown(name) + QStringLiteral("()");
    // Built only for a refusal: most texts are colours.
    const auto prefix = [&] {
        return QStringLiteral("%1 is read as %2, but ").arg(quoted(whole), function);
    };
    const auto isOneOf = [&](std::initializer_list<View> names) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    const bool knownName = isOneOf({"color",
                                    "uicolor",
                                    "nscolor",
                                    "qcolor",
                                    "qcolor::fromrgb",
                                    "qcolor::fromrgbf",
                                    "qcolor::fromstring",
                                    "color.fromargb",
                                    "color.fromrgbo",
                                    "color.rgb",
                                    "color.argb",
                                    "color.parsecolor",
                                    "color.valueof",
                                    "vec3",
                                    "vec4",
                                    "float3",
                                    "float4",
                                    "half3",
                                    "half4",
                                    "colorf",
                                    "color.fromhex"});
    if (!knownName)
        return fail(QStringLiteral("%1 is read as a call of %2, which is no color function this "
                                   "program knows.")
                        .arg(quoted(whole), function));

    if (args.count == 1 && args.items[0].kind == Arg::Kind::String) {
        ParseResult result = readPart(args.items[0].text, false);
        if (result.ok)
            result.readAs = function + QStringLiteral(" with ") + result.readAs;
        return result;
    }
    if (args.count == 1 && args.items[0].kind == Arg::Kind::Hex) {
        const Arg& hex = args.items[0];
        // More than eight digits leave no value to unpack.
        const bool packed = hex.hexDigits == 6 || hex.hexDigits == 8;
        const std::uint32_t v = packed ? std::uint32_t(hex.value) : 0;
        if (hex.hexDigits == 6 && name != "color")
            return fromRgb(int(v >> 16), int((v >> 8) & 255), int(v & 255), 1,
                           function + QStringLiteral(" with 0xRRGGBB"));
        // Flutter and Compose pack the alpha first; six digits there mean
        // an alpha of 0.
        if (hex.hexDigits == 8 || hex.hexDigits == 6)
            return fromRgb(int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255),
                           (v >> 24) / 255.0,
                           QStringLiteral("Flutter or Compose Color(0xAARRGGBB)"));
        return fail(prefix() + QStringLiteral("%1 has %2 hexadecimal digits; 0xAARRGGBB has eight.")
                                   .arg(quoted(hex.text))
                                   .arg(hex.hexDigits));
    }

    // Labelled channels: SwiftUI, UIKit, Compose's named arguments.
    double channels[3] = {0, 0, 0};
    double alpha = 1;
    bool labelled = false;
    bool p3 = false;
    enum class Model { Rgb, Hsb, White } model = Model::Rgb;
    int found = 0;
    for (int i = 0; i < args.count; ++i) {
        const Arg& arg = args.items[std::size_t(i)];
        if (arg.label.empty())
            continue;
        labelled = true;
        if (arg.kind != Arg::Kind::Number || !arg.unit.empty())
            return fail(prefix() + QStringLiteral("%1 of %2 is not a number.")
                                       .arg(quoted(arg.text), shown(arg.label)));
        const View label = arg.label;
        if (label == "red" || label == "displayp3red" || label == "hue" || label == "white") {
            channels[0] = arg.value;
            p3 = p3 || label == "displayp3red";
            model = label == "hue" ? Model::Hsb : label == "white" ? Model::White : model;
            ++found;
        } else if (label == "green" || label == "saturation") {
            channels[1] = arg.value;
            ++found;
        } else if (label == "blue" || label == "brightness") {
            channels[2] = arg.value;
            ++found;
        } else if (label == "alpha" || label == "opacity") {
            alpha = arg.value;
        } else {
            return fail(prefix() + QStringLiteral("it has a value labelled %1; a color takes red, "
                                                  "green, blue and alpha or opacity.")
                                       .arg(quoted(label)));
        }
    }
    for (int i = 0; i < args.count; ++i)
        if (args.items[std::size_t(i)].kind == Arg::Kind::Word &&
            args.items[std::size_t(i)].text == ".displayp3")
            p3 = true;
    if (labelled) {
        if (model == Model::White && found == 1) {
            channels[1] = channels[2] = channels[0];
            found = 3;
        }
        if (found != 3)
            return fail(prefix() +
                        QStringLiteral("it labels %1 of the three channels.").arg(Words(found)));
        CssColor css{
            p3 ? Space::DisplayP3 : Space::Srgb, {channels[0], channels[1], channels[2]}, alpha};
        if (model == Model::Hsb) {
            const colorscience::Srgb rgb = colorscience::ToSrgb(
                colorscience::Hsv{channels[0] * 360, channels[1], channels[2]});
            css.components = {rgb.r, rgb.g, rgb.b};
        }
        return succeed(css, function + QStringLiteral(" with channels from 0 to 1"));
    }

    // Positional channels.
    int positional = 0;
    double values[4] = {0, 0, 0, 1};
    bool anyFraction = false;
    for (int i = 0; i < args.count; ++i) {
        const Arg& arg = args.items[std::size_t(i)];
        if (arg.kind == Arg::Kind::Word && arg.text.front() == '.')
            continue;
        if (arg.kind != Arg::Kind::Number || !arg.unit.empty() || positional == 4)
            return fail(prefix() +
                        QStringLiteral("%1 is not a channel value.").arg(quoted(arg.text)));
        values[positional++] = arg.value;
        anyFraction = anyFraction || arg.fraction;
    }
    if (positional != 3 && positional != 4)
        return fail(prefix() +
                    QStringLiteral("it has %1 values; a color takes three channels and an "
                                   "optional alpha.")
                        .arg(Words(positional)));
    const bool alphaFirst = positional == 4 && isOneOf({"color.fromargb", "color.argb"});
    if (alphaFirst)
        std::rotate(values, values + 1, values + 4);
    const bool fractions = isOneOf({"vec3", "vec4", "float3", "float4", "half3", "half4",
                                    "qcolor::fromrgbf", "colorf"}) ||
                           (name == "color" && anyFraction);
    const bool alphaFraction = fractions || name == "color.fromrgbo";
    const double alphaValue = positional == 4 ? (alphaFraction ? values[3] : values[3] / 255) : 1;
    if (fractions) {
        CssColor css{Space::Srgb, {values[0], values[1], values[2]}, alphaValue};
        return succeed(css, function + QStringLiteral(" with channels from 0 to 1"));
    }
    for (int i = 0; i < 3; ++i)
        if (values[i] < 0 || values[i] > 255 || values[i] != std::floor(values[i]))
            return fail(prefix() +
                        QStringLiteral("its channel %1 is not a whole number from 0 to 255.")
                            .arg(QString::number(values[i])));
    CssColor css{Space::Rgb, {values[0], values[1], values[2]}, alphaValue};
    return succeed(css, function + QStringLiteral(" with channels from 0 to 255"));
}

// "51, 102, 153", "51 102 153", "20% 40% 60%", "0.2, 0.4, 0.6" or "336699".
ParseResult Reader::parsePlain(View text)
{
    if (text.size() == 6 && AllHex(text))
        return parseHash(text, text);
    Args args;
    QString error;
    const bool understood = readArgs(text, false, args, error) && args.slashBefore < 0;
    const bool threeNumbers =
        understood && args.count == 3 && (args.commas == 0 || args.commas == 2) &&
        std::all_of(args.items.begin(), args.items.begin() + 3, [](const Arg& a) {
            return a.kind == Arg::Kind::Number && (a.unit.empty() || a.unit == "%");
        });
    if (!threeNumbers) {
        if (understood && args.count > 0 && args.items[0].kind == Arg::Kind::Number)
            return fail(QStringLiteral("%1 is read as a list of channel values, but a color takes "
                                       "three numbers and it has %2 values.")
                            .arg(quoted(text), Words(args.count)));
        return fail(QStringLiteral("%1 is neither a CSS color, nor a color as code writes it, nor "
                                   "three channel values.")
                        .arg(quoted(text)));
    }
    const bool fractions =
        std::all_of(args.items.begin(), args.items.begin() + 3,
                    [](const Arg& a) { return a.unit.empty() && a.value <= 1; }) &&
        std::any_of(args.items.begin(), args.items.begin() + 3,
                    [](const Arg& a) { return a.fraction; });
    CssColor css{fractions ? Space::Srgb : Space::Rgb, {}, 1};
    for (int i = 0; i < 3; ++i) {
        const Arg& a = args.items[std::size_t(i)];
        if (!fractions && a.unit.empty() && (a.value < 0 || a.value > 255 || a.fraction))
            return fail(QStringLiteral("%1 is read as three channel values, but %2 is not a whole "
                                       "number from 0 to 255.")
                            .arg(quoted(text), quoted(a.text)));
        css.components[std::size_t(i)] = csscolor::ResolveComponent(
            css.space, i, a.value, a.unit == "%" ? Unit::Percent : Unit::Number);
    }
    return succeed(css, fractions ? QStringLiteral("three channels from 0 to 1")
                                  : QStringLiteral("three channels from 0 to 255"));
}

// The text in lower case and in Latin-1, typographic quotes and spaces
// made plain; anything else beyond ASCII becomes a character no colour
// contains.
struct SimpleText
{
    std::array<char, MaximumLength> characters;
    std::size_t length = 0;
    void operator+=(char c) { characters[length++] = c; }
    View view() const { return View(characters.data(), length); }
};

// `text` is at most MaximumLength characters long.
SimpleText Simplified(QStringView text)
{
    SimpleText result;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 128)
            result += char(u >= 'A' && u <= 'Z' ? u + 32 : u);
        else if (u == 0x201C || u == 0x201D)
            result += '"';
        else if (u == 0x2018 || u == 0x2019)
            result += '\'';
        else if (u == 0xA0 || u == 0x2009 || u == 0x202F)
            result += ' ';
        else
            result += '\x7f';
    }
    return result;
}

} // namespace

ParseResult Parse(QStringView text)
{
    if (text.size() > MaximumLength) {
        ParseResult result;
        result.message = QStringLiteral("The text is %1 characters long, too long to be one color.")
                             .arg(text.size());
        return result;
    }
    const SimpleText simple = Simplified(text);
    return Reader(simple.view(), text).run();
}

} // namespace colorparser
