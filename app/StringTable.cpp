#include "app/StringTable.h"

#include <QByteArray>

#include <cstring>

StringTable::StringTable(const QStringList& strings)
{
    qsizetype characters = 0;
    for (const QString& s : strings)
        characters += s.size();
    reserve(strings.size(), characters);
    for (const QString& s : strings)
        append(s);
}

QString StringTable::at(qsizetype i) const
{
    return view(i).toString();
}

QString StringTable::value(qsizetype i, const QString& fallback) const
{
    if (i < 0 || i >= size())
        return fallback;
    return at(i);
}

QStringView StringTable::view(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < size());
    const qsizetype start = startOf(i);
    return QStringView(m_characters).sliced(start, m_ends.at(i) - start);
}

qsizetype StringTable::indexOf(QStringView text, qsizetype from) const
{
    for (qsizetype i = qMax<qsizetype>(from, 0); i < size(); ++i)
        if (view(i) == text)
            return i;
    return -1;
}

void StringTable::append(QStringView text)
{
    m_characters.append(text);
    m_ends.append(m_characters.size());
}

void StringTable::clear()
{
    m_characters.clear();
    m_ends.clear();
}

void StringTable::reserve(qsizetype strings, qsizetype characters)
{
    m_ends.reserve(strings);
    m_characters.reserve(characters);
}

void StringTable::squeeze()
{
    m_ends.squeeze();
    m_characters.squeeze();
}

QStringList StringTable::toList() const
{
    QStringList list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        list.append(at(i));
    return list;
}

bool operator==(const StringTable& a, const StringTable& b)
{
    return a.m_ends == b.m_ends && a.m_characters == b.m_characters;
}

bool operator==(const StringTable& a, const QStringList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.view(i) != b.at(i))
            return false;
    return true;
}

char* toString(const StringTable& table)
{
    const QByteArray text = '(' + table.toList().join(QStringLiteral(", ")).toUtf8() + ')';
    char* copy = new char[static_cast<std::size_t>(text.size()) + 1];
    std::memcpy(copy, text.constData(), static_cast<std::size_t>(text.size()) + 1);
    return copy;
}
