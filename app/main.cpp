#include "app/DataFolder.h"
#include "app/QtPlatform.h"
#include "app/basmain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintora"));
    QApplication::setApplicationVersion(QStringLiteral("3.7"));
    QApplication::setOrganizationName(QStringLiteral("quorvane software"));
    const QString dataFolder = resolveDataFolder();
    QtPlatform platform(dataFolder);
    return basmain::Main(platform, dataFolder);
}
