#include "app/ProgramStart.h"

#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/SecondStart.h"
#include "app/basmain.h"
#include "app/platform/ClipboardKeeper.h"
#include "app/platform/QtPlatform.h"
#include "palettes/picker/PickOnce.h"

#include <QApplication>
#include <QSettings>
#include <QTextStream>

#include <cstdio>
#include <cstring>

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

// The user's own notations, which --format names besides the built-in ones.
QList<UserTemplate> storedTemplates()
{
    const QSettings settings(QStringLiteral("quorvane software"), QStringLiteral("Tintora 3.7"));
    const QVariant value = settings.value(FormatChoices::SettingKey);
    if (!value.isValid())
        return {};
    return FormatChoices::fromSetting(value.toString()).templates;
}

} // namespace

namespace programstart {

int Run(int argc, char* argv[])
{
    // What keeps a picked colour on the clipboard after the pick has ended:
    // this program started again in the background, with nothing of the
    // program's but the text.
    if (argc == 2 && std::strcmp(argv[1], "--keep-clipboard") == 0)
        return clipboardkeeper::Serve(argc, argv);

    // Read before any window object exists: help, the version and a palette
    // printed from an image need no display, and a wrong option opens none.
    const QList<UserTemplate> templates = storedTemplates();
    const commandline::Request request = commandline::Parse(argumentsOf(argc, argv), templates);
    if (!commandline::NeedsWindows(request)) {
        QCoreApplication application(argc, argv);
        setApplicationNames();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return commandline::Run(request, out, err, templates);
    }

    instancemessage::Request pick;
    pick.kind = instancemessage::Request::Kind::Pick;
    pick.format = request.format;
    pick.copy = request.copy;
    pick.save = request.save;
    pick.saveTo = request.saveTo;
    QString dataFolder;
    if (request.action == commandline::Action::Pick) {
        // A pick that the running instance carries out needs no display: it
        // is handed over before the display connection, the platform plugin
        // and the fonts, which are most of a cold start. Nothing made here
        // outlives this application object but the folder's name.
        QCoreApplication handOver(argc, argv);
        setApplicationNames();
        dataFolder = resolveDataFolder();
        if (secondstart::InstanceRunning(dataFolder)) {
            QTextStream out(stdout);
            QTextStream err(stderr);
            return pickcommand::RunHandedOver(dataFolder, pick, request.print, out, err);
        }
    }

    QApplication application(argc, argv);
    setApplicationNames();
    // The application id on Wayland, by which the compositor and the desktop
    // portals know the program: the name of its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTORA_APP_ID));
    if (dataFolder.isEmpty())
        dataFolder = resolveDataFolder();
    QtPlatform platform(dataFolder);
    if (request.action == commandline::Action::Pick) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        // An instance that started since is still found and handed the pick.
        return pickcommand::Run(platform, dataFolder, pick, request.print, templates, out, err);
    }
    return basmain::Main(platform, dataFolder, request.files);
}

} // namespace programstart
