#pragma once

#include "app/FileResult.h"
#include "scheme/SchemeColors.h"

#include <QString>
#include <QStringList>

// The saved schemes of one data folder: the name list "set.hcs" and the colour
// file "colorset.dat" (formats in SchemeFormat.h). List position i is line
// i + 1 of the name list and record i + 1 of the colour file.
//
// Every operation opens and closes its files within the call. A failure leaves
// both files as they were and returns a message naming the file and the reason.
class SchemeStore
{
public:
    static const QString NamesFile;      // "set.hcs"
    static const QString ColorsFile;     // "colorset.dat"
    static const QString NamesTempFile;  // "set.hct"
    static const QString ColorsTempFile; // "colorset.dam"

    explicit SchemeStore(QString dataFolder);

    QString filePath(const QString& fileName) const;

    // The names in file order. A missing or unreadable list yields no names and
    // a failure; an empty one yields no names and success. Names longer than
    // textbounds::MaxNameLength characters are cut to that length; `notice`,
    // when given, then receives a sentence saying so (and is emptied otherwise).
    FileResult readNames(QStringList& names, QString* notice = nullptr) const;

    // The colours of the scheme at list position `index`. `colors` is always
    // filled: when the record is missing, cut short or holds a field that is
    // not six hexadecimal digits, the readable fields are used and the rest are
    // black text and links on white, and the failure says what was wrong.
    FileResult readColors(int index, SchemeColors& colors) const;

    // Neither file is ever written through a symbolic link, nor replaced
    // when it is one: the command is refused, naming the file.
    //
    // Appends `name` to the name list and `colors` as the record whose number
    // is the list's line count afterwards. The list is read first, so a list
    // whose last line lacks its line break gets one before the new name
    // instead of having the name glued to its last line.
    FileResult save(const QString& name, const SchemeColors& colors) const;

    // Removes the name and the record at list position `index`; later schemes
    // move down by one in both files. Both new files are written completely
    // (and synced) under their temporary names before either replaces its
    // original, each by one atomic rename: the name list first.
    FileResult remove(int index) const;

    // Completes a removal that a run ended between its two renames: the name
    // list is the new one, so the new colour file, still under its temporary
    // name, takes the old one's place; otherwise each name would be shown
    // with the colours of the scheme after it. Temporary files of a removal
    // that never reached its first rename are deleted. To be run before the
    // names are read at start-up.
    FileResult finishInterruptedRemove() const;

private:
    QString m_dataFolder;
};
