#include "app/ProgramStart.h"

#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/FontWarmUp.h"
#include "app/handover/PickHandOver.h"
#include "app/basmain.h"
#include "app/platform/ClipboardKeeper.h"
#include "app/platform/QtPlatform.h"
#include "palettes/picker/PickOnce.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTextStream>

#include <cstring>
#include <optional>

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
    const QList<UserTemplate> templates = StoredTemplates();
    const commandline::Request request = commandline::Parse(ArgumentsOf(argc, argv), templates);
    if (!commandline::NeedsWindows(request)) {
        QCoreApplication application(argc, argv);
        SetApplicationNames();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return commandline::Run(request, out, err, templates);
    }

    // The frozen screen of a pick shows no text before its first click.
    std::optional<FontWarmUp> fonts;
    if (request.action != commandline::Action::Pick)
        fonts.emplace();
    QApplication application(argc, argv);
    // Done before the application object goes, whichever way the start ends.
    const auto finishFonts = qScopeGuard([&fonts] {
        if (fonts)
            fonts->finish();
    });
    if (fonts)
        fonts->applicationReady();
    SetApplicationNames();
    // The application id on Wayland, by which the compositor and the desktop
    // portals know the program: the name of its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTORA_APP_ID));
    const QString dataFolder = resolveDataFolder();
    QtPlatform platform(dataFolder);
    if (request.action == commandline::Action::Pick) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        // An instance that started since is still found and handed the pick.
        return pickcommand::Run(platform, dataFolder, PickRequest(request), request.print,
                                templates, out, err);
    }
    return basmain::Main(platform, dataFolder, request.files);
}

} // namespace programstart
