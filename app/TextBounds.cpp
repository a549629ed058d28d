#include "app/TextBounds.h"

#include <QStringList>

namespace textbounds {

namespace {

// Cuts `text` to at most `length` characters without splitting a surrogate pair.
QString leftWhole(const QString& text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    if (length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

// A zero-width space lets the text layout break a run that has no break of
// its own, such as a name of hundreds of letters. The layout breaks at spaces,
// after a slash and after a hyphen that no digit follows; a run broken there
// anyway keeps its text as it is, so that a message quoting a hyphenated name
// or a path says exactly what it says.
QString breakableRuns(const QString& line)
{
    constexpr qsizetype RunLength = 60;
    QString result;
    result.reserve(line.size() + line.size() / RunLength);
    qsizetype run = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            run = 0;
        } else if (++run > RunLength && !c.isLowSurrogate()) {
            result += QChar(0x200B);
            run = 1;
        }
        result += c;
        if (c == u'/' || (c == u'-' && i + 1 < line.size() && !line.at(i + 1).isDigit()))
            run = 0;
    }
    return result;
}

} // namespace

QString BoundName(const QString& name, bool* cut)
{
    const bool tooLong = name.size() > MaxNameLength;
    if (cut)
        *cut = tooLong;
    return tooLong ? leftWhole(name, MaxNameLength) : name;
}

QString ShownName(const QString& name)
{
    if (name.size() <= MaxShownNameLength)
        return name;
    return leftWhole(name, MaxShownNameLength) +
           QStringLiteral("\u2026 (%1 characters)").arg(name.size());
}

BoundedMessage BoundMessage(const QString& text)
{
    BoundedMessage message;
    bool shortened = false;
    QStringList shown;
    qsizetype start = 0;
    qsizetype lines = 0;
    qsizetype length = 0;
    // Only the lines that are shown are split off; the rest is counted.
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (shown.size() == lines && lines < MaxSummaryLines && length < MaxSummaryLength) {
            QString line = text.mid(start, end - start);
            const qsizetype room = qMin(MaxLineLength, MaxSummaryLength - length);
            if (line.size() > room) {
                line = leftWhole(line, room) + QChar(0x2026);
                shortened = true;
            }
            length += line.size();
            shown.append(breakableRuns(line));
        }
        ++lines;
        start = end + 1;
    }
    if (lines > shown.size()) {
        shortened = true;
        const qsizetype more = lines - shown.size();
        shown.append(more == 1
                         ? QStringLiteral("(1 more line under \"Show Details...\")")
                         : QStringLiteral("(%1 more lines under \"Show Details...\")").arg(more));
    } else if (shortened) {
        shown.append(QStringLiteral("(The full text is under \"Show Details...\")"));
    }
    message.summary = shown.join(QLatin1Char('\n'));
    if (shortened) {
        message.details = leftWhole(text, MaxDetailsLength);
        if (text.size() > MaxDetailsLength)
            message.details += QStringLiteral("\n\u2026 (%1 more characters)")
                                   .arg(text.size() - message.details.size());
    }
    return message;
}

} // namespace textbounds
