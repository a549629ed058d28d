#include "palettes/exchange/JsonTree.h"

#include "palettes/exchange/ExchangeText.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>
#include <cmath>

namespace jsontree {

namespace {

// FNV-1a over UTF-16 units.
quint64 HashStep(quint64 hash, char16_t unit)
{
    return (hash ^ unit) * 1099511628211ull;
}

} // namespace

class Parser
{
public:
    Parser(QByteArrayView content, Document& document, ReadingProgress* progress = nullptr)
        : m_in(content), m_doc(document), m_progress(progress)
    {
    }

    // The string whose opening quote is at `offset`, which parsing found sound.
    static QString StringAt(QByteArrayView content, qsizetype offset)
    {
        Document scratch;
        Parser parser(content, scratch);
        parser.m_at = offset;
        QString text;
        parser.string(&text);
        return text;
    }

    // Hands each UTF-16 unit of the string whose opening quote is at
    // `offset`, which parsing found sound, to `visit` until it returns false.
    // Decoded a unit at a time: comparing or hashing a name of many megabytes
    // copies nothing, and a comparison stops at the first difference.
    template <typename Visit>
    static void VisitString(QByteArrayView content, qsizetype offset, Visit visit)
    {
        qsizetype at = offset + 1;
        char16_t units[2];
        while (at < content.size()) {
            const auto byte = static_cast<unsigned char>(content.at(at));
            int count = 1;
            if (byte == '"') {
                break;
            } else if (byte == '\\' && at + 1 < content.size()) {
                const char escaped = content.at(at + 1);
                at += 2;
                switch (escaped) {
                case 'b':
                    units[0] = u'\b';
                    break;
                case 'f':
                    units[0] = u'\f';
                    break;
                case 'n':
                    units[0] = u'\n';
                    break;
                case 'r':
                    units[0] = u'\r';
                    break;
                case 't':
                    units[0] = u'\t';
                    break;
                case 'u': {
                    units[0] = 0;
                    for (int i = 0; i < 4 && at < content.size(); ++i, ++at) {
                        const char c = content.at(at);
                        const int digit = c >= '0' && c <= '9'   ? c - '0'
                                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                                 : c - 'A' + 10;
                        units[0] = char16_t(units[0] * 16 + digit);
                    }
                    break;
                }
                default:
                    units[0] = char16_t(escaped);
                    break;
                }
            } else if (byte < 0x80) {
                units[0] = byte;
                ++at;
            } else {
                // Sound UTF-8: the lead byte tells the length.
                const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
                char32_t code = byte & (0x7F >> length);
                for (int i = 1; i < length && at + i < content.size(); ++i)
                    code = (code << 6) | (static_cast<unsigned char>(content.at(at + i)) & 0x3F);
                at += length;
                if (code >= 0x10000) {
                    units[0] = QChar::highSurrogate(code);
                    units[1] = QChar::lowSurrogate(code);
                    count = 2;
                } else {
                    units[0] = char16_t(code);
                }
            }
            for (int i = 0; i < count; ++i)
                if (!visit(units[i]))
                    return;
        }
    }

    // Whether that string is `name` (or, with `prefix`, begins with it).
    static bool StringIs(QByteArrayView content, qsizetype offset, QStringView name, bool prefix)
    {
        qsizetype matched = 0;
        bool differs = false;
        bool longer = false;
        VisitString(content, offset, [&](char16_t unit) {
            if (matched == name.size()) {
                longer = true;
                return false;
            }
            differs = name.at(matched++).unicode() != unit;
            return !differs;
        });
        return !differs && matched == name.size() && (prefix || !longer);
    }

    void run()
    {
        if (m_in.size() >= qsizetype(Document::NoKey)) {
            fail(QStringLiteral("it is larger than a JSON file of a palette can be"));
            return;
        }
        // A value takes at least two bytes with its separator: room for all
        // of them is set aside at once (and only used as they come), so that
        // the tree is never copied as it grows.
        m_doc.m_nodes.reserve(std::size_t(std::min(MaxValues, m_in.size() / 2 + 1)));
        if (m_in.startsWith("\xEF\xBB\xBF"))
            m_at = 3;
        skipSpace();
        if (!value(-1, 0))
            return;
        skipSpace();
        if (m_at < m_in.size())
            fail(QStringLiteral("after the JSON value there is more that is not JSON"));
    }

private:
    QByteArrayView m_in;
    Document& m_doc;
    ReadingProgress* m_progress;
    qsizetype m_at = 0;
    // The last child so far of each array or object being read, innermost last.
    std::vector<qint32> m_lastChild;

    // Keeps an entry in m_lastChild while an array or object is read.
    struct OpenContainer
    {
        explicit OpenContainer(std::vector<qint32>& open) : m_open(open) { m_open.push_back(-1); }
        ~OpenContainer() { m_open.pop_back(); }
        OpenContainer(const OpenContainer&) = delete;
        OpenContainer& operator=(const OpenContainer&) = delete;
        std::vector<qint32>& m_open;
    };

    bool fail(const QString& why)
    {
        if (m_doc.m_problem.isEmpty()) {
            m_doc.m_problem = why;
            m_doc.m_errorOffset = m_at;
        }
        return false;
    }

    void skipSpace()
    {
        while (m_at < m_in.size()) {
            const char c = m_in.at(m_at);
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_at;
        }
    }

    bool expect(char c, const char* what)
    {
        skipSpace();
        if (m_at >= m_in.size() || m_in.at(m_at) != c)
            return fail(
                m_at >= m_in.size()
                    ? QStringLiteral("the file ends where %1 was expected").arg(QLatin1String(what))
                    : QStringLiteral("%1 was expected here").arg(QLatin1String(what)));
        ++m_at;
        return true;
    }

    qint32 newNode(Kind kind, qint32 parent, quint32 key)
    {
        if (m_progress && !m_progress->step(m_at)) {
            m_doc.m_stopped = true;
            fail(QStringLiteral("the reading was stopped"));
            return -1;
        }
        if (qsizetype(m_doc.m_nodes.size()) >= MaxValues) {
            fail(QStringLiteral("it holds more than %1 values, more than a palette file needs")
                     .arg(MaxValues));
            return -1;
        }
        Document::Node node;
        node.kind = kind;
        node.key = key;
        node.offset = quint32(m_at);
        const qint32 index = qint32(m_doc.m_nodes.size());
        m_doc.m_nodes.push_back(node);
        if (parent >= 0) {
            qint32& last = m_lastChild.back();
            if (last >= 0)
                m_doc.m_nodes[std::size_t(last)].nextSibling = index;
            else
                m_doc.m_nodes[std::size_t(parent)].firstChild = index;
            last = index;
        }
        return index;
    }

    bool value(qint32 parent, int depth, quint32 key = Document::NoKey)
    {
        skipSpace();
        if (m_at >= m_in.size())
            return fail(QStringLiteral("the file ends where a value was expected"));
        if (depth > MaxDepth)
            return fail(QStringLiteral("values are nested more than %1 deep").arg(MaxDepth));
        const char c = m_in.at(m_at);
        if (c == '{')
            return object(parent, depth, key);
        if (c == '[')
            return array(parent, depth, key);
        if (c == '"') {
            const qint32 index = newNode(Kind::String, parent, key);
            if (index < 0)
                return false;
            // Only checked; Value::string() reads it when asked.
            return string(nullptr);
        }
        if (c == '-' || (c >= '0' && c <= '9'))
            return number(parent, key);
        for (const auto& [word, kind] :
             {std::pair{"true", Kind::Boolean}, std::pair{"false", Kind::Boolean},
              std::pair{"null", Kind::Null}}) {
            if (m_in.sliced(m_at).startsWith(word)) {
                if (newNode(kind, parent, key) < 0)
                    return false;
                m_at += qsizetype(std::strlen(word));
                return true;
            }
        }
        return fail(QStringLiteral("this is not a JSON value"));
    }

    bool object(qint32 parent, int depth, quint32 key)
    {
        const qint32 index = newNode(Kind::Object, parent, key);
        if (index < 0)
            return false;
        const OpenContainer open(m_lastChild);
        ++m_at;
        skipSpace();
        if (m_at < m_in.size() && m_in.at(m_at) == '}') {
            ++m_at;
            return true;
        }
        while (true) {
            skipSpace();
            if (m_at >= m_in.size() || m_in.at(m_at) != '"')
                return fail(m_at >= m_in.size()
                                ? QStringLiteral("the file ends inside an object")
                                : QStringLiteral("a member name in double quotes was expected"));
            const quint32 nameAt = quint32(m_at);
            if (!string(nullptr))
                return false;
            if (!expect(':', "a colon after the member name"))
                return false;
            if (!value(index, depth + 1, nameAt))
                return false;
            skipSpace();
            if (m_at < m_in.size() && m_in.at(m_at) == ',') {
                ++m_at;
                continue;
            }
            return expect('}', "a comma or the closing brace of the object");
        }
    }

    bool array(qint32 parent, int depth, quint32 key)
    {
        const qint32 index = newNode(Kind::Array, parent, key);
        if (index < 0)
            return false;
        const OpenContainer open(m_lastChild);
        ++m_at;
        skipSpace();
        if (m_at < m_in.size() && m_in.at(m_at) == ']') {
            ++m_at;
            return true;
        }
        while (true) {
            if (!value(index, depth + 1))
                return false;
            skipSpace();
            if (m_at < m_in.size() && m_in.at(m_at) == ',') {
                ++m_at;
                continue;
            }
            return expect(']', "a comma or the closing bracket of the array");
        }
    }

    bool hex4(char16_t& unit)
    {
        if (m_at + 4 > m_in.size())
            return fail(QStringLiteral("the file ends inside a \\u escape"));
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_in.at(m_at + i);
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return fail(QStringLiteral("a \\u escape needs four hexadecimal digits"));
            unit = char16_t(unit * 16 + digit);
        }
        m_at += 4;
        return true;
    }

    // Reads the string at m_at into `text`, or only checks it when `text` is
    // null: a member name or a value as long as the file is then never copied.
    bool string(QString* text)
    {
        ++m_at; // the opening quote
        qsizetype runStart = m_at;
        const auto flushRun = [&]() -> bool {
            const QByteArrayView run = m_in.sliced(runStart, m_at - runStart);
            const qsizetype bad = exchangetext::FirstInvalidUtf8(run);
            if (bad >= 0) {
                m_at = runStart + bad;
                return fail(QStringLiteral("a string holds bytes that are not UTF-8"));
            }
            if (text)
                *text += QString::fromUtf8(run);
            return true;
        };
        const auto add = [&](QChar unit) {
            if (text)
                *text += unit;
        };
        while (true) {
            if (m_at >= m_in.size())
                return fail(QStringLiteral("the file ends inside a string"));
            const char c = m_in.at(m_at);
            if (c == '"') {
                if (!flushRun())
                    return false;
                ++m_at;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return fail(QStringLiteral("a string holds a control character; JSON writes "
                                           "them as escapes"));
            if (c != '\\') {
                ++m_at;
                continue;
            }
            if (!flushRun())
                return false;
            ++m_at;
            if (m_at >= m_in.size())
                return fail(QStringLiteral("the file ends inside a string"));
            const char escaped = m_in.at(m_at++);
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                add(QLatin1Char(escaped));
                break;
            case 'b':
                add(QLatin1Char('\b'));
                break;
            case 'f':
                add(QLatin1Char('\f'));
                break;
            case 'n':
                add(QLatin1Char('\n'));
                break;
            case 'r':
                add(QLatin1Char('\r'));
                break;
            case 't':
                add(QLatin1Char('\t'));
                break;
            case 'u': {
                char16_t unit = 0;
                if (!hex4(unit))
                    return false;
                add(QChar(unit));
                break;
            }
            default:
                --m_at;
                return fail(QStringLiteral("\\%1 is not an escape of JSON")
                                .arg(QChar::fromLatin1(escaped)));
            }
            runStart = m_at;
        }
    }

    bool number(qint32 parent, quint32 key)
    {
        const qsizetype start = m_at;
        const auto digits = [&]() {
            const qsizetype from = m_at;
            while (m_at < m_in.size() && m_in.at(m_at) >= '0' && m_in.at(m_at) <= '9')
                ++m_at;
            return m_at - from;
        };
        if (m_in.at(m_at) == '-')
            ++m_at;
        const qsizetype intStart = m_at;
        const qsizetype intDigits = digits();
        if (intDigits == 0 || (intDigits > 1 && m_in.at(intStart) == '0')) {
            m_at = start;
            return fail(QStringLiteral("this is not a JSON number"));
        }
        if (m_at < m_in.size() && m_in.at(m_at) == '.') {
            ++m_at;
            if (digits() == 0)
                return fail(QStringLiteral("a number needs digits after its decimal point"));
        }
        if (m_at < m_in.size() && (m_in.at(m_at) == 'e' || m_in.at(m_at) == 'E')) {
            ++m_at;
            if (m_at < m_in.size() && (m_in.at(m_at) == '+' || m_in.at(m_at) == '-'))
                ++m_at;
            if (digits() == 0)
                return fail(QStringLiteral("a number needs digits in its exponent"));
        }
        double parsed = 0;
        const char* first = m_in.data() + start;
        const char* last = m_in.data() + m_at;
        const std::from_chars_result result = std::from_chars(first, last, parsed);
        if (result.ec != std::errc() || !std::isfinite(parsed)) {
            m_at = start;
            return fail(QStringLiteral("this number is too large or too small for a double"));
        }
        m_at = start;
        const qint32 index = newNode(Kind::Number, parent, key);
        m_at = last - m_in.data();
        return index >= 0;
    }
};

Kind Value::kind() const
{
    return m_document->m_nodes[std::size_t(m_index)].kind;
}

bool Value::boolean() const
{
    return isValid() && kind() == Kind::Boolean &&
           m_document->m_content.at(m_document->m_nodes[std::size_t(m_index)].offset) == 't';
}

double Value::number() const
{
    if (!isValid() || kind() != Kind::Number)
        return 0.0;
    const QByteArrayView content = m_document->m_content;
    const qsizetype start = m_document->m_nodes[std::size_t(m_index)].offset;
    qsizetype end = start;
    const auto inNumber = [](char c) {
        return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
    };
    while (end < content.size() && inNumber(content.at(end)))
        ++end;
    double parsed = 0;
    std::from_chars(content.data() + start, content.data() + end, parsed);
    return parsed;
}

QString Value::string() const
{
    if (!isValid() || kind() != Kind::String)
        return {};
    return Parser::StringAt(m_document->m_content,
                            m_document->m_nodes[std::size_t(m_index)].offset);
}

qsizetype Value::offset() const
{
    return isValid() ? m_document->m_nodes[std::size_t(m_index)].offset : 0;
}

QList<Value> Value::children() const
{
    QList<Value> values;
    if (!isValid())
        return values;
    for (qint32 child = m_document->m_nodes[std::size_t(m_index)].firstChild; child >= 0;
         child = m_document->m_nodes[std::size_t(child)].nextSibling)
        values.append(Value(m_document, child));
    return values;
}

QString Value::key() const
{
    if (!isValid())
        return {};
    const quint32 key = m_document->m_nodes[std::size_t(m_index)].key;
    return key == Document::NoKey ? QString() : Parser::StringAt(m_document->m_content, key);
}

bool Value::keyIs(QStringView name) const
{
    if (!isValid())
        return false;
    const quint32 key = m_document->m_nodes[std::size_t(m_index)].key;
    return key == Document::NoKey ? name.isEmpty()
                                  : Parser::StringIs(m_document->m_content, key, name, false);
}

bool Value::keyStartsWith(QStringView prefix) const
{
    if (!isValid())
        return false;
    const quint32 key = m_document->m_nodes[std::size_t(m_index)].key;
    return key == Document::NoKey ? prefix.isEmpty()
                                  : Parser::StringIs(m_document->m_content, key, prefix, true);
}

quint64 Value::keyHash(quint64 seed) const
{
    quint64 hash = seed;
    const quint32 key = isValid() ? m_document->m_nodes[std::size_t(m_index)].key : Document::NoKey;
    if (key != Document::NoKey)
        Parser::VisitString(m_document->m_content, key, [&hash](char16_t unit) {
            hash = HashStep(hash, unit);
            return true;
        });
    return hash;
}

quint64 HashOf(QStringView text, quint64 seed)
{
    quint64 hash = seed;
    for (const QChar c : text)
        hash = HashStep(hash, c.unicode());
    return hash;
}

Value Value::member(QStringView name) const
{
    Value found;
    if (!isObject())
        return found;
    for (qint32 child = m_document->m_nodes[std::size_t(m_index)].firstChild; child >= 0;
         child = m_document->m_nodes[std::size_t(child)].nextSibling)
        if (Value(m_document, child).keyIs(name))
            found = Value(m_document, child);
    return found;
}

Value Document::root() const
{
    return m_nodes.empty() ? Value() : Value(this, 0);
}

Document Parse(QByteArrayView content, ReadingProgress* progress)
{
    Document document;
    document.m_content = content;
    Parser parser(content, document, progress);
    parser.run();
    if (!document.ok()) {
        document.m_nodes.clear();
        document.m_nodes.shrink_to_fit();
    }
    return document;
}

QString ObjectProblem(QByteArrayView content, const Document& document, const QString& what)
{
    if (!document.ok())
        return QStringLiteral("at %1 it is not JSON: %2")
            .arg(exchangetext::Where(content, document.errorOffset()), document.problem());
    if (!document.root().isObject())
        return QStringLiteral("it is not %1: the JSON is not an object").arg(what);
    return {};
}

} // namespace jsontree
