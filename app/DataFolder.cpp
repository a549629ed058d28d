#include "app/DataFolder.h"

#include <QCoreApplication>
#include <QDir>

QString resolveDataFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("TINTORA_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(QDir(fromEnvironment).absolutePath());
    return QCoreApplication::applicationDirPath();
}
