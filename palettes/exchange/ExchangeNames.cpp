#include "palettes/exchange/ExchangeNames.h"

#include "models/notations/NamedColors.h"

#include <QHash>

namespace exchangenames {

QString ColorName(Color color)
{
    const std::vector<namedcolors::Match> nearest =
        namedcolors::Nearest(color, namedcolors::Palette::Css, 1);
    return nearest.empty() ? bascommon::ColorToHtmlHex(color) : nearest.front().name;
}

QStringList ColorNames(const QList<Color>& colors)
{
    QStringList names;
    names.reserve(colors.size());
    QHash<QString, int> seen;
    QHash<Color, QString> known;
    for (const Color color : colors) {
        auto found = known.constFind(color);
        if (found == known.constEnd())
            found = known.insert(color, ColorName(color));
        const QString& name = *found;
        int& count = seen[name];
        ++count;
        QString unique = count == 1 ? name : name + QLatin1Char('-') + QString::number(count);
        // "red-2" may itself be a colour's name in a later version of the
        // table, or have been made already: count on until it is free.
        while (count > 1 && seen.contains(unique))
            unique = name + QLatin1Char('-') + QString::number(++count);
        if (count > 1)
            seen.insert(unique, 1);
        names.append(unique);
    }
    return names;
}

QString IdentifierPart(const QString& text, const QString& fallback)
{
    QString part;
    for (const char32_t u : text.toUcs4()) {
        const bool keep = u < 0x80 ? ((u >= U'a' && u <= U'z') || (u >= U'A' && u <= U'Z') ||
                                      (u >= U'0' && u <= U'9'))
                                   : (QChar::isLetterOrNumber(u) || QChar::isMark(u));
        if (keep) {
            const char32_t lower = QChar::toLower(u);
            part += QString::fromUcs4(&lower, 1);
        } else if (!part.isEmpty() && !part.endsWith(QLatin1Char('-'))) {
            part += QLatin1Char('-');
        }
    }
    while (part.endsWith(QLatin1Char('-')))
        part.chop(1);
    return part.isEmpty() ? fallback : part;
}

} // namespace exchangenames
