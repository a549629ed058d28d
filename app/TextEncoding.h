#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The text data files (palette index, scheme names) are 8-bit files of single
// byte characters. Names that fit in Latin-1 are stored as such, byte for byte;
// a name with characters beyond it is stored as UTF-8 rather than lost, and is
// recognised again when read back. So is a name whose Latin-1 bytes would be
// taken for UTF-8, so that every name reads back as it was written.
namespace textencoding {

QString DecodeLine(QByteArrayView bytes);
// DecodeLine(bytes), or its first `length` characters when it is longer, in
// memory bounded by `length` however long the line: a damaged file can hold a
// line of gigabytes. For textbounds::BoundName to cut, with one character
// more than it keeps (the end may be half a surrogate pair).
QString DecodeLineStart(QByteArrayView bytes, qsizetype length);
QByteArray EncodeLine(const QString& text);

} // namespace textencoding
