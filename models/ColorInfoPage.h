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

// The 91 lines of the page, without line ends.
QStringList PageLines(const PageTexts& texts);

// The page as written to disk: every line ended by CR LF.
QByteArray PageContent(const PageTexts& texts);

// Writes the page to `path` through a temporary file, so a failed save leaves
// an earlier file at that path as it was.
FileResult SavePage(const QString& path, const PageTexts& texts);

} // namespace colorinfo
