#include "app/EntryRules.h"

namespace entryrules {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

bool allowedInField(FieldKind kind, QChar c)
{
    return isDigit(c) || (kind == FieldKind::Hexadecimal && isHexLetter(c));
}

} // namespace

bool KeyPasses(FieldKind kind, QChar typed)
{
    if (typed.unicode() == EnterCode || typed.unicode() == BackspaceCode)
        return true;
    return allowedInField(kind, typed);
}

QString Repair(FieldKind kind, const QString& text)
{
    QString repaired = text.isEmpty() ? QStringLiteral("0") : text;
    for (QChar c : text) {
        if (!allowedInField(kind, c)) {
            repaired = QStringLiteral("0");
            break;
        }
    }
    if (kind == FieldKind::Decimal) {
        // Only digits remain here; a long run of them is out of range anyway.
        bool ok = false;
        const qlonglong value = repaired.toLongLong(&ok);
        if (!ok || value > 255)
            repaired = QStringLiteral("255");
    }
    return repaired;
}

int ChannelValue(FieldKind kind, const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, kind == FieldKind::Decimal ? 10 : 16);
    return ok ? qBound(0, value, 255) : 0;
}

} // namespace entryrules
