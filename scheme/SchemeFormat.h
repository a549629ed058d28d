#pragma once

#include "scheme/SchemeColors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The two saved-scheme formats.
//
// "set.hcs": one 8-bit line per scheme, the name between double quotes, CR LF
// after each. Names are stored unescaped, so a quote inside a name is simply
// one more character; reading drops the first and the last character of the
// line, whatever they are.
//
// "colorset.dat": headerless 36-byte records, one per name line, each six
// BBGGRR fields (text, background, normal, visited, active, hover link).
namespace schemeformat {

inline constexpr int RecordLength = 36;
inline constexpr int FieldLength = 6;
inline constexpr int FieldCount = RecordLength / FieldLength;

// The name a save stores for what the user typed: empty when nothing was typed
// (the save is cancelled), "no name" for an answer of spaces only, otherwise
// the text exactly as typed, outer spaces included (line breaks, which a name
// line cannot hold, become spaces).
QString NameFromAnswer(const QString& typed);

// The lines of a name list that hold a name, in file order. Lines end at CR
// LF, LF or a lone CR, and a UTF-8 byte-order mark before the first line is
// not part of it. A line shorter than two bytes cannot hold the quotes and is
// passed over, so list entry i always belongs to the i-th line returned here
// and to record i + 1. A last line without a line break still counts. The
// lines are views of `fileContent`.
QList<QByteArrayView> NameLines(QByteArrayView fileContent);

// The name held by one line (of two bytes or more): the line without its
// first and last byte, cut to textbounds::MaxNameLength characters; `cut`
// tells whether it was. Only the kept part is decoded.
QString NameFromLine(QByteArrayView line, bool* cut = nullptr);

// The bytes that store `name`: quote, name, quote, CR LF. A line break inside
// the name would split it over two lines and put every later name out of step
// with its record, so each CR or LF is stored as a space.
QByteArray LineFromName(const QString& name);

QByteArray EncodeRecord(const SchemeColors& colors);

struct DecodedRecord
{
    // Fields that could not be read keep the defaults of SchemeColors: black
    // text and links on a white background.
    SchemeColors colors;
    int unreadableFields = 0;
};

// Reads up to six fields; a field that is missing (short record) or not six
// hexadecimal digits (either case) is unreadable.
DecodedRecord DecodeRecord(QByteArrayView record);

} // namespace schemeformat
