#include "app/DataFolder.h"
#include "app/platform/QtPlatform.h"
#include "app/basmain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintora"));
    QApplication::setApplicationVersion(QStringLiteral("3.7"));
    QApplication::setOrganizationName(QStringLiteral("quorvane software"));
    // The application id on Wayland, by which the compositor and the desktop
    // portals know the program: the name of its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTORA_APP_ID));
    const QString dataFolder = resolveDataFolder();
    QtPlatform platform(dataFolder);
    return basmain::Main(platform, dataFolder);
}
