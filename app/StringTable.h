#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A read-mostly table of strings kept in one block of characters: a palette
// index of a million entries fits in tens of megabytes, where a QStringList
// would spend a separate allocation and header on every string. Copies share
// the block until one of them changes. Reading by position returns a new
// QString; the interface follows QStringList where it can.
class StringTable
{
public:
    StringTable() = default;
    StringTable(const QStringList& strings);

    qsizetype size() const { return m_ends.size(); }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return m_ends.isEmpty(); }

    QString at(qsizetype i) const;
    // The string at `i`, or `fallback` outside the table.
    QString value(qsizetype i, const QString& fallback = QString()) const;
    QString constFirst() const { return at(0); }
    QString constLast() const { return at(size() - 1); }
    // The string at `i` without a copy, valid while the table is unchanged.
    QStringView view(qsizetype i) const;

    qsizetype indexOf(QStringView text, qsizetype from = 0) const;
    bool contains(QStringView text) const { return indexOf(text) >= 0; }

    void append(QStringView text);
    void clear();
    void reserve(qsizetype strings, qsizetype characters);
    void squeeze();

    QStringList toList() const;

    friend bool operator==(const StringTable& a, const StringTable& b);
    friend bool operator==(const StringTable& a, const QStringList& b);
    friend bool operator!=(const StringTable& a, const QStringList& b) { return !(a == b); }

private:
    qsizetype startOf(qsizetype i) const { return i == 0 ? 0 : m_ends.at(i - 1); }

    QString m_characters;
    // End of string i in m_characters; string i starts where i - 1 ends.
    QList<qsizetype> m_ends;
};

// For test failures, found by argument-dependent lookup.
char* toString(const StringTable& table);
