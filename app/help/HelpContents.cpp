#include "app/help/HelpContents.h"

#include "app/HtmlEntities.h"
#include "app/TextEncoding.h"

#include <QRegularExpression>

namespace helpcontents {

namespace {

// Deeper nesting than this is flattened: no real contents comes near it, and
// a hostile file must not exhaust the stack.
constexpr int DeepestLevel = 32;

struct Tag
{
    QString name; // lower case, "/ul" for a closing tag
    QString attributes;
};

QList<Tag> tags(const QString& html)
{
    // The attributes stop at the next "<" too: a tag that is never closed
    // would otherwise be searched to the end of the file from each "<ul".
    static const QRegularExpression pattern(
        QStringLiteral(R"(<\s*(/?)\s*(ul|object|param)\b([^<>]*)>)"),
        QRegularExpression::CaseInsensitiveOption);
    QList<Tag> found;
    for (auto match = pattern.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch tag = match.next();
        found.append({tag.captured(1) + tag.captured(2).toLower(), tag.captured(3)});
    }
    return found;
}

QString attribute(const QString& attributes, const QString& name)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"re((\w+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"));
    for (auto match = pattern.globalMatch(attributes); match.hasNext();) {
        const QRegularExpressionMatch pair = match.next();
        if (pair.captured(1).compare(name, Qt::CaseInsensitive) == 0)
            return htmlentities::Decode(pair.captured(2) + pair.captured(3) + pair.captured(4));
    }
    return {};
}

// "Local" is a path relative to the help file's root, or names the help file
// itself before "::" ("tintora.chm::/index.html").
QString localPath(QString local)
{
    if (const qsizetype separator = local.indexOf(QLatin1String("::")); separator >= 0)
        local = local.mid(separator + 2);
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (local.isEmpty() || local.startsWith(QLatin1Char('/')))
        return local;
    return QLatin1Char('/') + local;
}

// Reads topics from `at` until the list's closing tag (or the end), which it
// consumes.
QList<HelpTopic> readList(const QList<Tag>& found, qsizetype& at, int level)
{
    QList<HelpTopic> topics;
    int flattened = 0; // lists opened below the deepest level, read into this one
    while (at < found.size()) {
        const Tag& tag = found.at(at++);
        if (tag.name == QLatin1String("/ul")) {
            if (flattened > 0)
                --flattened;
            else if (level > 0)
                return topics;
        } else if (tag.name == QLatin1String("ul")) {
            if (level >= DeepestLevel) {
                ++flattened;
                continue;
            }
            QList<HelpTopic> nested = readList(found, at, level + 1);
            if (topics.isEmpty())
                topics.append(nested);
            else
                topics.last().children.append(nested);
        } else if (tag.name == QLatin1String("object") &&
                   attribute(tag.attributes, QStringLiteral("type"))
                           .compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0) {
            HelpTopic topic;
            for (; at < found.size() && found.at(at).name == QLatin1String("param"); ++at) {
                const QString name = attribute(found.at(at).attributes, QStringLiteral("name"));
                const QString value = attribute(found.at(at).attributes, QStringLiteral("value"));
                if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 &&
                    topic.name.isEmpty())
                    topic.name = value;
                else if (name.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0 &&
                         topic.local.isEmpty())
                    topic.local = localPath(value);
            }
            if (!topic.name.isEmpty() || !topic.local.isEmpty())
                topics.append(topic);
        }
    }
    return topics;
}

} // namespace

QList<HelpTopic> Parse(const QByteArray& sitemap)
{
    const QList<Tag> found = tags(textencoding::DecodeLine(sitemap));
    qsizetype at = 0;
    QList<HelpTopic> topics;
    while (at < found.size())
        topics.append(readList(found, at, 0));
    return topics;
}

} // namespace helpcontents
