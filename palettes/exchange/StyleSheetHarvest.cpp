#include "palettes/exchange/StyleSheetHarvest.h"

#include "app/HtmlEntities.h"
#include "models/notations/ColorParser.h"
#include "models/notations/NamedColors.h"
#include "palettes/exchange/ExchangeText.h"

#include <QSet>

#include <optional>

namespace stylesheetharvest {

namespace {

// Properties whose words name fonts, animations, grid areas, counters and
// the like: "tan" or "coral" there is a name, not a colour.
const QSet<QString> WordsAreNames = {
    QStringLiteral("font"),
    QStringLiteral("font-family"),
    QStringLiteral("font-feature-settings"),
    QStringLiteral("animation"),
    QStringLiteral("animation-name"),
    QStringLiteral("grid"),
    QStringLiteral("grid-area"),
    QStringLiteral("grid-template"),
    QStringLiteral("grid-template-areas"),
    QStringLiteral("grid-row"),
    QStringLiteral("grid-column"),
    QStringLiteral("grid-row-start"),
    QStringLiteral("grid-row-end"),
    QStringLiteral("grid-column-start"),
    QStringLiteral("grid-column-end"),
    QStringLiteral("content"),
    QStringLiteral("quotes"),
    QStringLiteral("counter-reset"),
    QStringLiteral("counter-increment"),
    QStringLiteral("counter-set"),
    QStringLiteral("transition"),
    QStringLiteral("transition-property"),
    QStringLiteral("will-change"),
    QStringLiteral("list-style"),
    QStringLiteral("list-style-type"),
    QStringLiteral("container"),
    QStringLiteral("container-name"),
    QStringLiteral("view-transition-name"),
    QStringLiteral("src"),
};

const QSet<QString> ColorFunctions = {
    QStringLiteral("rgb"),   QStringLiteral("rgba"),  QStringLiteral("hsl"),
    QStringLiteral("hsla"),  QStringLiteral("hwb"),   QStringLiteral("lab"),
    QStringLiteral("lch"),   QStringLiteral("oklab"), QStringLiteral("oklch"),
    QStringLiteral("color"),
};

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || c.isDigit() || c == QLatin1Char('-');
}

// The longest property, function or colour name the harvest looks up, with
// room to spare for lower-casing that changes the length; a longer word is
// none of them, and is never copied.
constexpr qsizetype LongestLookedUpName = 64;

// `word` in lower case, or a null string when it is too long to be looked up.
QString lookedUp(QStringView word)
{
    return word.size() <= LongestLookedUpName ? word.toString().toLower() : QString();
}

// Whether `c` only joins the statement it is in, changing nothing else.
bool plainInStatement(QChar c)
{
    switch (c.unicode()) {
    case u'/':
    case u'"':
    case u'\'':
    case u'{':
    case u'}':
    case u';':
    case u'(':
        return false;
    default:
        return true;
    }
}

QString whereIn(QStringView text, qsizetype index)
{
    qsizetype line = 1;
    qsizetype column = 1;
    for (qsizetype i = 0; i < index && i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

// Gathers the colours of one document, each once, in order.
class Harvest
{
public:
    explicit Harvest(ReadingProgress* progress) : m_progress(progress) {}

    QList<Color> colors;
    QString problem;
    bool stopped = false;

    // Whether to go on at `at` in the document.
    bool goOn(qsizetype at)
    {
        if (m_progress && !m_progress->step(at))
            stopped = true;
        return !stopped;
    }

    void add(const colorparser::ParseResult& parsed)
    {
        if (!parsed.ok || parsed.alpha <= 0 || !problem.isEmpty())
            return;
        if (m_seen.contains(parsed.color))
            return;
        if (colors.size() == paletteexchange::MaxColors) {
            problem = paletteexchange::TooManyColors();
            return;
        }
        m_seen.insert(parsed.color);
        colors.append(parsed.color);
    }

    // A declaration's value; `wordsAreColours` unless its property names
    // other things. Functions inside functions are looked into down to
    // MaxNesting levels.
    void value(QStringView text, bool wordsAreColours, int nesting = 0)
    {
        constexpr int MaxNesting = 16;
        qsizetype i = 0;
        while (i < text.size()) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                i = skipString(text, i);
            } else if (c == QLatin1Char('#')) {
                qsizetype end = i + 1;
                while (end < text.size() && isNameChar(text.at(end)))
                    ++end;
                const QStringView hash = text.sliced(i, end - i);
                if (exchangetext::HexColor(hash, exchangetext::HexForms::Css))
                    add(colorparser::Parse(hash));
                i = end;
            } else if (isNameStart(c) || (c == QLatin1Char('-') && i + 1 < text.size() &&
                                          isNameStart(text.at(i + 1)))) {
                qsizetype end = i + 1;
                while (end < text.size() && isNameChar(text.at(end)))
                    ++end;
                const QString name = lookedUp(text.sliced(i, end - i));
                if (end < text.size() && text.at(end) == QLatin1Char('(')) {
                    const qsizetype close = matchingParen(text, end);
                    if (ColorFunctions.contains(name))
                        add(colorparser::Parse(text.sliced(i, close - i)));
                    else if (name != QLatin1String("url") && nesting < MaxNesting)
                        value(text.sliced(end + 1, std::max<qsizetype>(0, close - end - 2)),
                              wordsAreColours, nesting + 1);
                    i = close;
                    continue;
                }
                // A word just after a hyphen or a digit belongs to something else
                // (a unit, a longer name).
                const bool standsAlone =
                    i == 0 ||
                    !(text.at(i - 1).isDigit() || text.at(i - 1) == QLatin1Char('-') ||
                      text.at(i - 1) == QLatin1Char('.') || text.at(i - 1) == QLatin1Char('$') ||
                      text.at(i - 1) == QLatin1Char('@'));
                if (wordsAreColours && standsAlone &&
                    namedcolors::CssNamedColor(name.toLatin1().toStdString()))
                    add(colorparser::Parse(name));
                i = end;
            } else {
                ++i;
            }
        }
    }

    // A whole style sheet, or (`inBlock`) the declarations of a style
    // attribute. `base` is where the text starts in the document, for messages.
    void styleSheet(QStringView text, bool inBlock, QStringView document, qsizetype base)
    {
        int depth = inBlock ? 1 : 0;
        // The statement so far: the text from `from` to the place read, as
        // long as nothing in between was left out; a copy only once a comment
        // or an interpolation breaks it up, so that a statement as long as
        // the file costs no memory of its own.
        qsizetype from = 0;
        bool contiguous = true;
        QString copied;
        // What "//" needs to know of the statement so far, kept as it grows
        // so that no search of it is repeated.
        QChar lastNonSpace;
        bool hasUrl = false;
        qsizetype i = 0;
        const auto statement = [&]() -> QStringView {
            return contiguous ? text.sliced(from, i - from) : QStringView(copied);
        };
        // `c` joins the statement; `atI` when it is the character at i, which
        // the view takes in by growing.
        const auto append = [&](QChar c, bool atI) {
            if (contiguous && !atI) {
                copied = statement().toString();
                contiguous = false;
            }
            if (!contiguous)
                copied += c;
            if (!c.isSpace())
                lastNonSpace = c;
            if (c == QLatin1Char('(')) {
                const QStringView so = contiguous ? text.sliced(from, i + 1 - from) : copied;
                if (so.size() >= 4 && so.right(4).compare(u"url(", Qt::CaseInsensitive) == 0)
                    hasUrl = true;
            }
        };
        // The statement ends before i; the next starts at `next`.
        const auto clear = [&](qsizetype next) {
            from = next;
            contiguous = true;
            copied.clear();
            lastNonSpace = QChar();
            hasUrl = false;
        };
        // Characters up to `to` are left out of the statement.
        const auto leaveOut = [&](qsizetype to) {
            if (contiguous) {
                copied = statement().toString();
                contiguous = false;
            }
            i = to;
        };
        while (i < text.size() && problem.isEmpty() && goOn(base + i)) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('/') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('*')) {
                const qsizetype close = text.indexOf(QLatin1String("*/"), i + 2);
                if (close < 0) {
                    problem = QStringLiteral("the comment that opens at %1 is never closed")
                                  .arg(whereIn(document, base + i));
                    return;
                }
                append(QLatin1Char(' '), false);
                leaveOut(close + 2);
                continue;
            }
            // SCSS and Less line comments; "//" never begins anything else in
            // a declaration but a URL, and URLs are in url() or strings.
            if (c == QLatin1Char('/') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('/') && lastNonSpace != QLatin1Char(':') && !hasUrl) {
                const qsizetype end = text.indexOf(QLatin1Char('\n'), i);
                leaveOut(end < 0 ? text.size() : end);
                continue;
            }
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                const qsizetype end = skipString(text, i);
                for (; i < end; ++i)
                    append(text.at(i), true);
                continue;
            }
            if (c == QLatin1Char('{')) {
                // A selector, a nested rule or an at-rule's prelude; SCSS's
                // #{...} interpolation stays part of the statement.
                if (i > 0 && text.at(i - 1) == QLatin1Char('#')) {
                    const qsizetype close = text.indexOf(QLatin1Char('}'), i);
                    leaveOut(close < 0 ? text.size() : close + 1);
                    continue;
                }
                ++depth;
                ++i;
                clear(i);
                continue;
            }
            if (c == QLatin1Char(';') || c == QLatin1Char('}')) {
                declaration(statement(), depth);
                if (c == QLatin1Char('}') && depth > 0)
                    --depth;
                ++i;
                clear(i);
                continue;
            }
            if (c == QLatin1Char('(')) {
                append(c, true);
                ++i;
                continue;
            }
            // Characters that mean nothing here join the statement a run at
            // a time.
            qsizetype end = i + 1;
            while (end < text.size() && plainInStatement(text.at(end)))
                ++end;
            const QStringView run = text.sliced(i, end - i);
            if (!contiguous)
                copied += run;
            for (qsizetype k = run.size() - 1; k >= 0; --k) {
                if (!run.at(k).isSpace()) {
                    lastNonSpace = run.at(k);
                    break;
                }
            }
            i = end;
        }
        if (problem.isEmpty() && !stopped)
            declaration(statement(), depth);
    }

private:
    ReadingProgress* m_progress;
    QSet<Color> m_seen;

    static qsizetype skipString(QStringView text, qsizetype i)
    {
        const QChar quote = text.at(i);
        ++i;
        while (i < text.size() && text.at(i) != quote && text.at(i) != QLatin1Char('\n')) {
            if (text.at(i) == QLatin1Char('\\'))
                ++i;
            ++i;
        }
        return std::min(i + 1, text.size());
    }

    // The index after the parenthesis that closes the one at `open`.
    static qsizetype matchingParen(QStringView text, qsizetype open)
    {
        int depth = 0;
        qsizetype i = open;
        while (i < text.size()) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                i = skipString(text, i);
                continue;
            }
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')') && --depth == 0)
                return i + 1;
            ++i;
        }
        return text.size();
    }

    void declaration(QStringView statement, int depth)
    {
        const qsizetype colon = statement.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            return;
        const QStringView property = statement.first(colon).trimmed();
        if (property.isEmpty())
            return;
        // Outside a block only variables are declarations: the rest are
        // at-rules (@import, @media ...) whose preludes hold no colours.
        const bool variable = property.startsWith(QLatin1String("--")) ||
                              property.startsWith(QLatin1Char('$')) ||
                              (property.startsWith(QLatin1Char('@')) && !property.contains(' '));
        if (depth == 0 && !variable)
            return;
        for (const QChar c : property)
            if (c.isSpace() || c == QLatin1Char('(') || c == QLatin1Char(','))
                return; // a selector such as "a:hover" before its block was cut short
        const QString lowered = lookedUp(property);
        value(statement.sliced(colon + 1), lowered.isNull() || !WordsAreNames.contains(lowered));
    }
};

QString noColour()
{
    return QStringLiteral(
        "it is not a palette file of a known format (GIMP, Adobe swatch exchange, Photoshop "
        "swatches, LibreOffice, Sketch, design tokens, JSON), nor a style sheet or web page that "
        "uses a colour");
}

ExchangeReading result(Harvest& harvest)
{
    if (harvest.stopped)
        return ExchangeReading::stoppedByUser();
    if (!harvest.problem.isEmpty())
        return ExchangeReading::failure(harvest.problem);
    if (harvest.colors.isEmpty())
        return ExchangeReading::failure(noColour());
    ExchangeReading reading;
    reading.palette.colors = std::move(harvest.colors);
    return reading;
}

QString text(QByteArrayView content)
{
    QString decoded = exchangetext::DecodeUtf8OrLatin1(content);
    if (decoded.startsWith(QChar(0xFEFF)))
        decoded.remove(0, 1);
    // Offsets count lines by LF alone.
    decoded.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return decoded;
}

} // namespace

bool LooksLikeMarkup(QByteArrayView content)
{
    QByteArrayView start = content;
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.sliced(3);
    return start.trimmed().startsWith('<');
}

ExchangeReading FromStyleSheet(QByteArrayView content, ReadingProgress* progress)
{
    const QString sheet = text(content);
    Harvest harvest(progress);
    harvest.styleSheet(sheet, false, sheet, 0);
    return result(harvest);
}

ExchangeReading FromWebPage(QByteArrayView content, ReadingProgress* progress)
{
    const QString page = text(content);
    Harvest harvest(progress);
    // The next ">" after a place, kept between searches (the places only
    // grow): a page full of "<" that are not tags would otherwise search the
    // rest of it once for each.
    qsizetype nextClose = -2; // not searched for yet
    const auto closeAfter = [&](qsizetype from) {
        if (nextClose == -2 || (nextClose >= 0 && nextClose < from))
            nextClose = page.indexOf(QLatin1Char('>'), from);
        return nextClose;
    };
    qsizetype i = 0;
    while (i < page.size() && harvest.problem.isEmpty() && harvest.goOn(i)) {
        // Most often where the last tag or lone "<" ended.
        const qsizetype open =
            page.at(i) == QLatin1Char('<') ? i : page.indexOf(QLatin1Char('<'), i);
        if (open < 0)
            break;
        if (open + 3 < page.size() && page.at(open + 1) == QLatin1Char('!') &&
            page.at(open + 2) == QLatin1Char('-') && page.at(open + 3) == QLatin1Char('-')) {
            const qsizetype close = page.indexOf(QLatin1String("-->"), open + 4);
            i = close < 0 ? page.size() : close + 3;
            continue;
        }
        qsizetype at = open + 1;
        if (at >= page.size() || !page.at(at).isLetter()) {
            // An end tag, a declaration, a processing instruction or a lone "<".
            const qsizetype close = closeAfter(at);
            i = (close < 0 || page.at(at) == QLatin1Char(' ')) ? at : close + 1;
            continue;
        }
        while (at < page.size() &&
               (page.at(at).isLetterOrNumber() || page.at(at) == QLatin1Char('-') ||
                page.at(at) == QLatin1Char(':')))
            ++at;
        const QString tag = lookedUp(QStringView(page).sliced(open + 1, at - open - 1));
        // The attributes, up to the end of the tag.
        while (at < page.size() && page.at(at) != QLatin1Char('>')) {
            if (page.at(at).isSpace() || page.at(at) == QLatin1Char('/')) {
                ++at;
                continue;
            }
            const qsizetype nameStart = at;
            while (at < page.size() && !page.at(at).isSpace() && page.at(at) != QLatin1Char('=') &&
                   page.at(at) != QLatin1Char('>') && page.at(at) != QLatin1Char('/'))
                ++at;
            const QString attribute = lookedUp(QStringView(page).sliced(nameStart, at - nameStart));
            while (at < page.size() && page.at(at).isSpace())
                ++at;
            if (at >= page.size() || page.at(at) != QLatin1Char('=')) {
                if (at == nameStart)
                    ++at;
                continue;
            }
            ++at;
            while (at < page.size() && page.at(at).isSpace())
                ++at;
            qsizetype valueStart = at;
            qsizetype valueEnd = at;
            if (at < page.size() &&
                (page.at(at) == QLatin1Char('"') || page.at(at) == QLatin1Char('\''))) {
                const QChar quote = page.at(at);
                valueStart = at + 1;
                valueEnd = page.indexOf(quote, valueStart);
                if (valueEnd < 0)
                    valueEnd = page.size();
                at = std::min(valueEnd + 1, page.size());
            } else {
                while (at < page.size() && !page.at(at).isSpace() &&
                       page.at(at) != QLatin1Char('>'))
                    ++at;
                valueEnd = at;
            }
            if (attribute == QLatin1String("style")) {
                // Decoded only when a reference is there to decode: a copy of
                // a long attribute would double the memory the page takes.
                const QStringView declarations =
                    QStringView(page).sliced(valueStart, valueEnd - valueStart);
                if (htmlentities::HasReferences(declarations))
                    harvest.styleSheet(htmlentities::Decode(declarations), true, page, valueStart);
                else
                    harvest.styleSheet(declarations, true, page, valueStart);
            }
        }
        i = std::min(at + 1, page.size());
        if (tag == QLatin1String("style") || tag == QLatin1String("script")) {
            const qsizetype close = page.indexOf(QLatin1String("</") + tag, i, Qt::CaseInsensitive);
            const qsizetype end = close < 0 ? page.size() : close;
            if (tag == QLatin1String("style"))
                harvest.styleSheet(QStringView(page).sliced(i, end - i), false, page, i);
            i = end;
        }
    }
    return result(harvest);
}

} // namespace stylesheetharvest
