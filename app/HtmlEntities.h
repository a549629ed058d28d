#pragma once

#include <QString>
#include <QStringView>

// Character references of HTML text, as the help file's contents and the
// style attributes of a harvested web page hold them.
namespace htmlentities {

// The text with its character references decoded: decimal (&#233;) and
// hexadecimal (&#xE9;) ones, and the named &amp; &lt; &gt; &quot; &apos; and
// &nbsp;. A reference to no character (zero, a surrogate, beyond U+10FFFF),
// an unknown name and an ampersand without its semicolon stay as they are.
// Linear in the length of the text.
QString Decode(QStringView text);

// Whether Decode() would change the text: a reader can then go on with the
// text itself instead of a copy.
bool HasReferences(QStringView text);

} // namespace htmlentities
