#include "app/FileResult.h"

#include <QDir>

QString describeFileError(const QString& action, const QString& path, const QString& reason)
{
    QString sentence =
        QStringLiteral("Could not %1 \"%2\"").arg(action, QDir::toNativeSeparators(path));
    if (!reason.isEmpty())
        sentence += QStringLiteral(": ") + reason;
    if (!sentence.endsWith(QLatin1Char('.')))
        sentence += QLatin1Char('.');
    return sentence;
}
