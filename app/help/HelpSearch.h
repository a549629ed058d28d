#pragma once

#include <QList>
#include <QString>

// Searching the text of all help topics at once.
namespace helpsearch {

struct Hit
{
    qsizetype page = 0;  // index into the texts searched
    qsizetype count = 0; // places the text holds the query
};

// The pages among `texts` that hold `query`, ignoring case and with any run
// of white space matching any other, in the order given. A query of white
// space only finds nothing.
QList<Hit> Find(const QList<QString>& texts, const QString& query);

} // namespace helpsearch
