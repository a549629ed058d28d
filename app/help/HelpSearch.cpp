#include "app/help/HelpSearch.h"

namespace helpsearch {

namespace {

// Pages wrap their lines where the writer pleased, so any run of white space
// stands for one space on both sides.
QString collapsed(const QString& text)
{
    return text.simplified();
}

} // namespace

QList<Hit> Find(const QList<QString>& texts, const QString& query)
{
    const QString wanted = collapsed(query);
    if (wanted.isEmpty())
        return {};
    QList<Hit> hits;
    for (qsizetype page = 0; page < texts.size(); ++page) {
        const QString text = collapsed(texts.at(page));
        const qsizetype count = text.count(wanted, Qt::CaseInsensitive);
        if (count > 0)
            hits.append({page, count});
    }
    return hits;
}

} // namespace helpsearch
