#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One entry of a compiled help file's table of contents.
struct HelpTopic
{
    QString name;
    // The page inside the help file, an absolute path ("/palettes.html"),
    // possibly with a fragment; empty for a heading without a page.
    QString local;
    QList<HelpTopic> children;
};

namespace helpcontents {

// The topics of a contents (.hhc) file: an HTML page of nested lists whose
// items are objects of type "text/sitemap" carrying "Name" and "Local"
// parameters. Whatever else the page holds is ignored, and a damaged page
// yields the topics that can be made out.
QList<HelpTopic> Parse(const QByteArray& sitemap);

} // namespace helpcontents
