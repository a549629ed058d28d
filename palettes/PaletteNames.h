#pragma once

#include "app/FileResult.h"
#include "app/bascommon.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The names of a palette's colours. They live beside the palette "X.rgb" in
// "X.names": UTF-8 text of LF lines, one for each named record, "RRGGBB",
// a tab and the name, oldest record first. A record without a name has no
// line, and a palette without names has no names file at all, so that its
// files are byte for byte those of a palette that never had names.
//
// The lines carry no record numbers; they pair with the records in order.
// Each line pairs with the first record, after the one the line before it
// paired with, whose colour is the line's (the digits compared as a colour,
// so lower-case records match too); a line that no later record matches
// pairs with nothing and is dropped. A name therefore only ever lands on its
// own colour: a palette that another program changed, or a palette and a
// names file of two different moments (a run killed between replacing one
// and the other), lose names but never put one on another colour.
//
// Identical colours are told apart by order alone: between two named
// records, a line goes to the first copy of its colour. So that a name stays
// on the record it was given to, the unnamed copies of a named colour that
// lie between it and the named record before it share its name ("shared
// copies"); every change below keeps to that rule, and so every set of names
// written reads back exactly.
class PaletteNames
{
public:
    struct Named
    {
        Color color = 0;
        QString name;
        bool operator==(const Named&) const = default;
    };

    // Bounds of what a names file may ask of the program.
    static constexpr qsizetype MaxNameLength = 1000;
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

    // "X.names" for the palette file "X.rgb" (".rgb" in any case).
    static QString fileFor(const QString& paletteFile);
    // The names file's temporary name during a replacement.
    static QString temporaryFor(const QString& paletteFile);

    // A name as a line can hold it: tabs and line breaks become spaces,
    // other control characters go, outer spaces are trimmed, and it is cut
    // to MaxNameLength characters (never inside a surrogate pair).
    static QString cleaned(const QString& name);

    // The lines of a names file paired with `records`, the bytes of the
    // palette file (a torn last record is no record). Linear in both.
    static PaletteNames paired(QByteArrayView lines, QByteArrayView records);
    // `names` given position by position to the colours of `records` in
    // record order (a shorter list leaves the rest unnamed).
    static PaletteNames fromList(QByteArrayView records, const QStringList& names);

    // The names file's content; empty when no record is named.
    QByteArray content() const;

    bool isEmpty() const { return m_named.isEmpty(); }
    qsizetype size() const { return m_named.size(); }
    // Empty for a record without a name.
    QString nameOf(qint32 record) const;
    // The named records, by record number (from 1), oldest first.
    const QMap<qint32, Named>& named() const { return m_named; }
    // The name of every record of `count`, empty where none, in record order.
    QStringList list(qint32 count) const;

    // Gives `record` of `records` the name `name`, or takes its name away
    // when `name` is empty. False when the record is not a colour.
    bool rename(qint32 record, const QString& name, QByteArrayView records);
    // The names of `records` after record `record` is deleted from them.
    void recordDeleted(qint32 record, QByteArrayView records);
    // The names of `records` after their duplicates are cleared (the first
    // copy of every record kept, compared as exact bytes). A kept record
    // keeps its name; one without a name takes that of its first named
    // copy, so that clearing duplicates loses no name of a colour it keeps.
    void duplicatesCleared(QByteArrayView records);

    // The names of `paletteFile` in `dataFolder`, paired with its records.
    // No names file: no names, and the palette is not read.
    static FileResult read(const QString& dataFolder, const QString& paletteFile,
                           PaletteNames& names);
    // Replaces the names file crash-safely with `names`; removes it when
    // there are none.
    static FileResult write(const QString& dataFolder, const QString& paletteFile,
                            const PaletteNames& names);
    // Removes the names file; a missing one is no failure.
    static FileResult remove(const QString& dataFolder, const QString& paletteFile);

    bool operator==(const PaletteNames&) const = default;

private:
    // Gives the unnamed copies before each named record their share.
    void shareCopies(QByteArrayView records);

    QMap<qint32, Named> m_named;
};
