#pragma once

#include "app/FileResult.h"
#include "app/StringTable.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The palette index "colorchart.cci": CR LF lines of 8-bit text, three lines
// per palette (file name, display name, kind), in display order. Every routine
// takes the data folder that holds the index.
//
// Blank lines between entries are removed by the repair. A blank line inside
// an entry is removed too when the lines after it show that it was a stray
// one; when they show that it stands for the entry's empty kind (or name), it
// stays the entry's line, so that no repair or rewrite ever pairs a file with
// another entry's name and kind.
namespace paletteindex {

QString IndexFileName();     // "colorchart.cci"
QString IndexTempFileName(); // "colorchart.cct", the index during a rewrite

struct Entry
{
    QString file;
    QString name;
    QString kind;
    // 1-based place of the entry in the index file. It can differ from the
    // place in the palette list when an entry before it was left out.
    qint32 position = 0;
};

// The entries of a reading in columns, so that an index of a million
// palettes stays small in memory. Reading by place gives an Entry.
class EntryTable
{
public:
    StringTable files;
    StringTable names;
    StringTable kinds;
    QList<qint32> positions;

    qsizetype size() const { return positions.size(); }
    bool isEmpty() const { return positions.isEmpty(); }
    Entry at(qsizetype i) const;
    Entry constFirst() const { return at(0); }
    Entry constLast() const { return at(size() - 1); }
    void append(QStringView file, QStringView name, QStringView kind, qint32 position);

    class const_iterator
    {
    public:
        using value_type = Entry;
        using difference_type = qsizetype;
        const_iterator(const EntryTable* table, qsizetype i) : m_table(table), m_i(i) {}
        Entry operator*() const { return m_table->at(m_i); }
        const_iterator& operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return m_i == other.m_i; }
        bool operator!=(const const_iterator& other) const { return m_i != other.m_i; }

    private:
        const EntryTable* m_table;
        qsizetype m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
};

struct Reading
{
    // The whole entries whose file name is that of a palette file in the data
    // folder, each file listed once.
    EntryTable entries;
    // The file name that the next new palette gets.
    QString nextFileName;
    // Empty for a sound index; otherwise one message, naming the index file,
    // that describes the problems found (the first MaxListedProblems of them
    // one by one).
    QString problems;
    // The index could not be opened at all (missing, a folder, a link, not
    // readable): `problems` says why, and there are no entries.
    bool unreadable = false;
};

constexpr int MaxListedProblems = 100;
// Larger indexes are refused unread: a million palettes take about 30 MB.
constexpr qint64 MaxIndexBytes = qint64(1) << 30;

// The lines of an index, split at CR LF, CR or LF, each without its ending.
QList<QByteArray> SplitLines(const QByteArray& content);

// Every whole entry of an index's content as the repair pairs its lines, none
// left out and no name cut; `leftoverLines` receives the number of lines of
// a torn last entry.
QList<Entry> ParseEntries(QByteArrayView content, qsizetype* leftoverLines = nullptr);

// True when a line is empty or holds only spaces (other white space counts).
bool IsBlankLine(QByteArrayView line);

// Removes the blank lines between entries and the stray ones inside them,
// keeping every other line byte for byte (inner and outer spaces included)
// with a CR LF ending. The index is rewritten through "colorchart.cct" only
// when that changes its bytes, and never when it is a symbolic link.
FileResult Repair(const QString& dataFolder);

// Reads the entries as the repair leaves them. Leaves the file untouched.
Reading Read(const QString& dataFolder);

// Removes the entry at 1-based `position` (1 or less: the first entry); the
// other entries are kept as they are. Rewrites through "colorchart.cct".
FileResult DeleteEntry(const QString& dataFolder, qint32 position);

// Adds an entry after the last whole entry of the index. Line breaks in the
// name become spaces, so that the name stays on its own line.
FileResult AppendEntry(const QString& dataFolder, const QString& file, const QString& name,
                       const QString& kind);

// Adds an entry before the entry at 1-based `position` (after the last whole
// entry when there is none there), so that a palette taken out comes back to
// its place among the others. Rewrites through "colorchart.cct".
FileResult InsertEntry(const QString& dataFolder, qint32 position, const QString& file,
                       const QString& name, const QString& kind);

// Gives the entry at 1-based `position`, which must list `file`, the display
// name `name` (line breaks become spaces); its file and kind lines stay byte
// for byte. Rewrites through "colorchart.cct".
FileResult RenameEntry(const QString& dataFolder, qint32 position, const QString& file,
                       const QString& name);

// A name that addresses a file directly inside the data folder: not empty, no
// folder part, not "." or "..", and not the index itself.
bool IsPlainFileName(const QString& name);

// A name that a palette file can have: a plain file name ending in ".rgb" (in
// any case), with something before it, no space at either end and no control
// character. The program's other files ("set.hcs", "colorset.dat", the help
// file, temporary files of rewrites) never have such a name.
bool IsPaletteFileName(const QString& name);

// True for the kinds "0" and "1" (spaces around them allowed): the palettes
// that colours can be added to. Kind "2" is read-only.
bool AcceptsColors(QStringView kind);

// The files and names of the entries that colours can be added to, in index
// order. Where every entry takes colours, the tables are the entries' own,
// shared rather than copied.
void ColorTargets(const EntryTable& entries, StringTable& files, StringTable& names);

// N of a file name "c" + N + ".rgb", the form of the palettes that users
// create; nothing for any other name.
std::optional<qint64> UserPaletteNumber(const QString& file);

// The file name of the next new palette, from the file names of the index in
// order: one past the number of the last file name when that has the
// "c" + N + ".rgb" form, otherwise one past the highest such number (c1.rgb
// when there is none); a name already listed is never chosen. Linear in the
// number of names.
class NextFileNameFinder
{
public:
    void add(const QString& file);
    QString result() const;

private:
    // The numbers N of the names listed exactly as "c" + N + ".rgb" would be
    // written, which are the only ones a candidate can meet.
    QSet<qint64> m_taken;
    std::optional<qint64> m_lastNumber;
    qint64 m_highest = 0;
    bool m_any = false;
};
QString NextFileName(const QStringList& files);

} // namespace paletteindex
