#pragma once

#include <QByteArrayView>
#include <QString>

// What the help window will lay out. A help file may come from anywhere (a
// download, a damaged copy); QTextDocument lays pages out on the user-interface
// thread and takes time that grows much faster than the page with the depth of
// its markup, so pages beyond these bounds are refused before they reach it.
namespace helppage {

constexpr qsizetype MaxPageBytes = 2 * 1024 * 1024;
// Far deeper than any page written by hand (the program's own go six deep).
constexpr int MaxNesting = 64;
// A picture is decoded only when its header claims no more pixels than this
// (64 MB as 32-bit pixels).
constexpr qint64 MaxImagePixels = 16 * 1024 * 1024;

// How deep the elements of an HTML page are nested, counted as a browser
// would: void elements and self-closed tags hold nothing, a closing tag
// closes every element opened since its own, and a new paragraph, list item
// or table cell ends its open sibling. Counting stops once `limit` is passed,
// which keeps the work linear in the page.
int NestingDepth(QByteArrayView html, int limit = MaxNesting);

// Why the page is not shown; empty when it may be laid out.
QString PageProblem(QByteArrayView html);

// A short page that says why the page asked for is not shown.
QByteArray RefusalPage(const QString& problem);

} // namespace helppage
