#include "app/help/HelpPage.h"

#include <QByteArray>
#include <QList>

#include <algorithm>

namespace helppage {

namespace {

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == ':';
}

// The element name at `at`, read in place: names are ASCII and compared
// without regard to case, so no copy of a name is made per tag.
QByteArrayView elementName(QByteArrayView html, qsizetype& at)
{
    const qsizetype start = at;
    if (at >= html.size() ||
        !((html.at(at) >= 'a' && html.at(at) <= 'z') || (html.at(at) >= 'A' && html.at(at) <= 'Z')))
        return {};
    while (at < html.size() && isNameChar(html.at(at)))
        ++at;
    return html.sliced(start, at - start);
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), b.data(), std::size_t(a.size())) == 0;
}

bool oneOf(QByteArrayView name, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&name](const char* candidate) {
        return sameName(name, QByteArrayView(candidate));
    });
}

bool isVoid(QByteArrayView name)
{
    return oneOf(name, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                        "param", "source", "track", "wbr"});
}

// Elements that end an open element of their own name.
bool closesSibling(QByteArrayView name)
{
    return oneOf(name, {"p", "li", "dt", "dd", "tr", "td", "th", "option"});
}

// Past the end of a tag, quoted attribute values and all; whether it ended
// with "/>".
bool skipTag(QByteArrayView html, qsizetype& at)
{
    char quote = 0;
    for (; at < html.size(); ++at) {
        const char c = html.at(at);
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            ++at;
            return at >= 2 && html.at(at - 2) == '/';
        }
    }
    return false;
}

void skipPast(QByteArrayView html, qsizetype& at, QByteArrayView end)
{
    const qsizetype found = QByteArrayView(html).indexOf(end, at);
    at = found < 0 ? html.size() : found + end.size();
}

} // namespace

int NestingDepth(QByteArrayView html, int limit)
{
    QList<QByteArrayView> open;
    int deepest = 0;
    qsizetype at = 0;
    while (at < html.size() && deepest <= limit) {
        const qsizetype tag = html.indexOf('<', at);
        if (tag < 0)
            break;
        at = tag + 1;
        if (at >= html.size())
            break;
        if (html.sliced(at).startsWith("!--")) {
            skipPast(html, at, "-->");
            continue;
        }
        if (html.at(at) == '!' || html.at(at) == '?') {
            skipPast(html, at, ">");
            continue;
        }
        if (html.at(at) == '/') {
            ++at;
            const QByteArrayView name = elementName(html, at);
            skipTag(html, at);
            // The stack never holds more than `limit` + 1 names, so this
            // search keeps the whole count linear.
            qsizetype match = open.size() - 1;
            while (match >= 0 && !sameName(open.at(match), name))
                --match;
            if (match >= 0)
                open.resize(match);
            continue;
        }
        const QByteArrayView name = elementName(html, at);
        if (name.isEmpty())
            continue; // a "<" in text
        // Style and script text is counted as markup too: it can only make the
        // count deeper, never hide a nested page from it.
        const bool selfClosed = skipTag(html, at);
        if (selfClosed || isVoid(name))
            continue;
        if (closesSibling(name) && !open.isEmpty() && sameName(open.constLast(), name))
            open.removeLast();
        open.append(name);
        deepest = std::max(deepest, int(open.size()));
    }
    return deepest;
}

QString PageProblem(QByteArrayView html)
{
    if (html.size() > MaxPageBytes)
        return QStringLiteral("the page is larger than %1 MB").arg(MaxPageBytes / (1024 * 1024));
    if (NestingDepth(html, MaxNesting) > MaxNesting)
        return QStringLiteral("its markup is nested more than %1 deep").arg(MaxNesting);
    return {};
}

QByteArray RefusalPage(const QString& problem)
{
    const QString text =
        QStringLiteral("This page of the help file is not shown: %1.").arg(problem).toHtmlEscaped();
    return QStringLiteral("<html><body><p>%1</p></body></html>").arg(text).toUtf8();
}

} // namespace helppage
