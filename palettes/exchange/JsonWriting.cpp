#include "palettes/exchange/JsonWriting.h"

#include <QLocale>

namespace jsonwriting {

QByteArray Quoted(const QString& text)
{
    QByteArray out = "\"";
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += "\\u00" +
                       QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out + '"';
}

void Writer::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    if (!level.empty)
        m_out += ',';
    level.empty = false;
    if (level.layout == Layout::Indented)
        m_out += '\n' + QByteArray(qsizetype(m_levels.size()) * 2, ' ');
    else if (m_out.back() == ',')
        m_out += ' ';
}

void Writer::close(char bracket)
{
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!level.empty && level.layout == Layout::Indented)
        m_out += '\n' + QByteArray(qsizetype(m_levels.size()) * 2, ' ');
    m_out += bracket;
}

Writer& Writer::beginObject(Layout layout)
{
    beforeValue();
    m_out += '{';
    m_levels.push_back({layout});
    return *this;
}

Writer& Writer::endObject()
{
    close('}');
    return *this;
}

Writer& Writer::beginArray(Layout layout)
{
    beforeValue();
    m_out += '[';
    m_levels.push_back({layout});
    return *this;
}

Writer& Writer::endArray()
{
    close(']');
    return *this;
}

Writer& Writer::key(const QString& name)
{
    beforeValue();
    m_out += Quoted(name) + ": ";
    m_afterKey = true;
    return *this;
}

Writer& Writer::string(const QString& text)
{
    beforeValue();
    m_out += Quoted(text);
    return *this;
}

Writer& Writer::number(double value)
{
    beforeValue();
    m_out += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    return *this;
}

} // namespace jsonwriting
