#pragma once

#include "app/bascommon.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

// What the text formats of palette exchange share: decoding, and saying where
// in a file a problem lies in the words a user can follow in an editor.
namespace exchangetext {

// UTF-8, or Latin-1 when the bytes are not UTF-8: hand-made files in older
// editors often are, and any byte sequence is Latin-1, so they still read.
QString DecodeUtf8OrLatin1(QByteArrayView bytes);

// "line 3, column 14": the line of the byte at `offset` counted from 1 (LF, CR
// LF and CR each end a line) and the character in that line, counted from 1.
QString Where(QByteArrayView content, qsizetype offset);

// The byte offset of the first byte that is not UTF-8, or -1 when all are.
qsizetype FirstInvalidUtf8(QByteArrayView bytes);

// A text for a message: at most 40 characters, control characters shown as
// spaces, and "..." where it was cut.
QString Shown(const QString& text);

// "#" and six hexadecimal digits, red first, in either case; with
// `HexForms::Css` also CSS's other lengths: three digits (each doubled), and
// four or eight, whose last digits are alpha and are ignored.
enum class HexForms { SixDigits, Css };
std::optional<Color> HexColor(QStringView text, HexForms forms);

} // namespace exchangetext
