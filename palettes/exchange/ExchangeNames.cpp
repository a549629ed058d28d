#include "palettes/exchange/ExchangeNames.h"

#include "models/notations/NamedColors.h"

#include <QHash>

#include <algorithm>

namespace exchangenames {

QString ColorName(Color color)
{
    const std::vector<namedcolors::Match> nearest =
        namedcolors::Nearest(color, namedcolors::Palette::Css, 1);
    return nearest.empty() ? bascommon::ColorToHtmlHex(color) : nearest.front().name;
}

QStringList ColorNames(const QList<Color>& colors)
{
    ExchangePalette palette;
    palette.colors = colors;
    return NamesToWrite(palette, {}, Keys::Unique);
}

QStringList NamesToWrite(const ExchangePalette& palette, const NameRule& rule, Keys keys,
                         const NameRule& sameKey)
{
    const auto key = [&](const QString& name) { return sameKey ? sameKey(name) : name; };
    QStringList names;
    names.reserve(palette.colors.size());
    QHash<QString, int> seen;
    QHash<Color, QString> known;
    for (qsizetype i = 0; i < palette.colors.size(); ++i) {
        QString name = palette.nameAt(i);
        if (!name.isEmpty() && rule)
            name = rule(name);
        const bool own = !name.isEmpty();
        if (!own) {
            const Color color = palette.colors.at(i);
            auto found = known.constFind(color);
            if (found == known.constEnd())
                found = known.insert(color, ColorName(color));
            name = *found;
        }
        int& count = seen[key(name)];
        ++count;
        if (own && keys == Keys::AsGiven) {
            names.append(name);
            continue;
        }
        QString unique = count == 1 ? name : name + QLatin1Char('-') + QString::number(count);
        // "red-2" may itself be a colour's name in a later version of the
        // table, or have been made already: count on until it is free.
        while (count > 1 && seen.contains(key(unique)))
            unique = name + QLatin1Char('-') + QString::number(++count);
        if (count > 1)
            seen.insert(key(unique), 1);
        names.append(unique);
    }
    return names;
}

QString ReadName(QStringView name)
{
    QString read;
    read.reserve(std::min(name.size(), MaxNameLength + 1));
    for (qsizetype i = 0; i < name.size() && read.size() < MaxNameLength; ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            if (read.size() + 2 > MaxNameLength)
                break;
            read += c;
            read += name.at(++i);
        } else if (c.isSurrogate()) {
            read += QChar::ReplacementCharacter;
        } else {
            const char16_t u = c.unicode();
            // C0 and C1 controls and the Unicode line and paragraph separators
            // would break a name's line in some program or other.
            const bool breaking =
                u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029;
            read += breaking ? QChar(u' ') : c;
        }
    }
    return read;
}

void SettleNames(ExchangePalette& palette)
{
    const bool any = std::any_of(palette.names.cbegin(), palette.names.cend(),
                                 [](const QString& name) { return !name.isEmpty(); });
    if (!any)
        palette.names.clear();
    else
        palette.names.resize(palette.colors.size());
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
