#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// JSON written in the order it is given (Qt's own JSON classes sort an
// object's members, and in design tokens the order of the members is the
// order of the colours), two spaces a level, numbers in the shortest form that
// reads back as the same double.
namespace jsonwriting {

class Writer
{
public:
    enum class Layout { Indented, OneLine };

    Writer& beginObject(Layout layout = Layout::Indented);
    Writer& endObject();
    Writer& beginArray(Layout layout = Layout::Indented);
    Writer& endArray();
    Writer& key(const QString& name);
    Writer& key(const char* name) { return key(QString::fromLatin1(name)); }
    Writer& string(const QString& text);
    Writer& number(double value);

    // The document, ending in a line break.
    QByteArray text() const { return m_out + '\n'; }

private:
    struct Level
    {
        Layout layout;
        bool empty = true;
    };
    void beforeValue();
    void close(char bracket);

    QByteArray m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

// The text as a JSON string, quotes included.
QByteArray Quoted(const QString& text);

} // namespace jsonwriting
