#pragma once

#include "palettes/exchange/ExchangePalette.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <vector>

// JSON (RFC 8259) read into a tree that keeps what Qt's own JSON classes drop:
// the order of an object's members, which is the order of a palette's colours
// in design-token files, and the byte offset of every value, so that a
// message can say where in the file a value is wrong. Objects keep duplicate
// member names; member() gives the last, as JavaScript does.
//
// Bounds: nesting deeper than MaxDepth or more than MaxValues values is
// refused, so that a hostile file can exhaust neither the stack nor memory.
// A value costs 20 bytes: strings and numbers stay in the content and are
// read from it when asked for, so a document never holds the content twice
// (a file of 64 MB takes at most 160 MB as a tree).
//
// A document refers to the content it was parsed from, which must outlive it.
namespace jsontree {

constexpr int MaxDepth = 200;
// A million colours in any JSON palette this program writes (a Sketch
// palette takes six values a colour), with room to spare.
constexpr qsizetype MaxValues = 8'000'000;

enum class Kind : quint8 { Null, Boolean, Number, String, Array, Object };

class Document;

// A value in a document; valid while the document lives.
class Value
{
public:
    Value() = default;

    bool isValid() const { return m_document != nullptr; }
    Kind kind() const;
    bool isObject() const { return isValid() && kind() == Kind::Object; }
    bool isArray() const { return isValid() && kind() == Kind::Array; }
    bool isString() const { return isValid() && kind() == Kind::String; }
    bool isNumber() const { return isValid() && kind() == Kind::Number; }

    bool boolean() const;
    double number() const;
    QString string() const;
    // Where the value begins in the content.
    qsizetype offset() const;

    // An array's items or an object's member values, in file order.
    QList<Value> children() const;
    // The name of this value in its object; empty for an array item or the root.
    QString key() const;
    // Whether key() is `name`, or begins with `prefix`, found without copying
    // the key: a name can be as long as the file.
    bool keyIs(QStringView name) const;
    bool keyStartsWith(QStringView prefix) const;
    // HashOf(key(), seed), found without copying the key.
    quint64 keyHash(quint64 seed) const;
    // The last member of an object with that name; invalid when there is none.
    Value member(QStringView name) const;

private:
    friend class Document;
    Value(const Document* document, qint32 index) : m_document(document), m_index(index) {}

    const Document* m_document = nullptr;
    qint32 m_index = -1;
};

class Document
{
public:
    // Empty when the content is JSON; otherwise what is wrong at errorOffset().
    const QString& problem() const { return m_problem; }
    bool ok() const { return m_problem.isEmpty(); }
    bool stopped() const { return m_stopped; }
    qsizetype errorOffset() const { return m_errorOffset; }
    Value root() const;

private:
    friend class Value;
    friend class Parser;
    static constexpr quint32 NoKey = 0xFFFFFFFF;
    struct Node
    {
        quint32 offset = 0; // where the value begins in the content
        qint32 firstChild = -1;
        qint32 nextSibling = -1;
        quint32 key = NoKey; // where the member's quoted name begins
        Kind kind = Kind::Null;
    };
    QByteArrayView m_content;
    std::vector<Node> m_nodes;
    QString m_problem;
    qsizetype m_errorOffset = 0;

    bool m_stopped = false;

    friend Document Parse(QByteArrayView content, ReadingProgress* progress);
};

// A hash of the text's UTF-16 units, started from `seed`; Value::keyHash()
// gives the same for a key, so that names can be matched with keys unread.
quint64 HashOf(QStringView text, quint64 seed);

// A UTF-8 byte order mark at the start is skipped.
// `progress`, when given, is told how far the parse is and may stop it, which
// leaves the document not ok() and stopped().
Document Parse(QByteArrayView content, ReadingProgress* progress = nullptr);

// Why the document cannot be `what` ("a Sketch palette"): it is not JSON (and
// where it stops being JSON), or its JSON is not an object. Empty when the
// document is an object.
QString ObjectProblem(QByteArrayView content, const Document& document, const QString& what);

} // namespace jsontree
