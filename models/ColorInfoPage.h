#pragma once

#include "app/FileResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The "Color Info" web page that the details window saves: a table of the
// colour's RGB, CMY, CMYK and YCbCr values beside an area of the colour.
namespace colorinfo {

// The texts of the details window's boxes, as the page shows them.
struct PageTexts
{
    QString hex;
    QString red, green, blue;
    QString cyan, magenta, yellow;
    QString cmykCyan, cmykMagenta, cmykYellow, cmykBlack;
    QString luma, blueChroma, redChroma;
};

// Text as page content: "&", "<", ">" and both quotes as character
// references, everything else as it is. The details window's boxes can be
// typed in, and their text must stay text in the page.
QString HtmlText(const QString& text);

// Text as the value of an unquoted attribute: letters, digits and "#" as they
// are, every other character as a numeric reference, so that neither a space
// nor ">" can end the attribute.
QString UnquotedAttribute(const QString& text);

// The 91 lines of the page, without line ends. Every box's text is written
// through HtmlText (UnquotedAttribute in "bgcolor="), which leaves the
// numbers and #RRGGBB texts the boxes hold byte for byte.
QStringList PageLines(const PageTexts& texts);

// The page as written to disk: every line ended by CR LF.
QByteArray PageContent(const PageTexts& texts);

// Writes the page to `path` through a temporary file, so a failed save leaves
// an earlier file at that path as it was.
FileResult SavePage(const QString& path, const PageTexts& texts);

} // namespace colorinfo
