#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/platform/QtPlatform.h"
#include "app/basmain.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

void setApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tintora"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.7"));
    QCoreApplication::setOrganizationName(QStringLiteral("quorvane software"));
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // Read before any window object exists: help, the version and a palette
    // printed from an image need no display, and a wrong option opens none.
    const commandline::Request request = commandline::Parse(argumentsOf(argc, argv));
    if (!commandline::NeedsWindows(request)) {
        QCoreApplication application(argc, argv);
        setApplicationNames();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return commandline::Run(request, out, err);
    }

    QApplication application(argc, argv);
    setApplicationNames();
    // The application id on Wayland, by which the compositor and the desktop
    // portals know the program: the name of its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTORA_APP_ID));
    const QString dataFolder = resolveDataFolder();
    QtPlatform platform(dataFolder);
    return basmain::Main(platform, dataFolder);
}
