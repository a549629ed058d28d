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

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

QtMessageHandler g_handlerBeforeStart = nullptr;

QString displayDescription(const char* name)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QStringLiteral("%1 not set").arg(QLatin1String(name))
                           : QStringLiteral("%1=\"%2\"")
                                 .arg(QLatin1String(name), QString::fromLocal8Bit(value));
}

// Qt ends a start that reaches no window system with a fatal message (advice
// to reinstall) and an abort that leaves a core file; the user needs to hear
// which display was missing, and a script an ordinary failure.
void windowSystemFailure(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        g_handlerBeforeStart(type, context, message);
        return;
    }
    const QString text =
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
            ? QStringLiteral("tintora: there is no display to open a window on: neither DISPLAY "
                             "nor WAYLAND_DISPLAY is set.\n")
            : QStringLiteral("tintora: no window could be opened (%1, %2): Qt could not start "
                             "its connection to the window system (the lines above say why).\n")
                  .arg(displayDescription("DISPLAY"), displayDescription("WAYLAND_DISPLAY"));
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

// `code`, or a failure when what went to standard output did not all arrive
// (a full disk behind "> colors.txt"): a script must not take a cut list for
// the whole one.
int withOutputDelivered(int code, QTextStream& out)
{
    errno = 0;
    out.flush();
    const bool lost =
        out.status() != QTextStream::Ok || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (!lost)
        return code;
    const int error = errno;
    std::fprintf(stderr, "tintora: could not write to the standard output%s%s.\n",
                 error != 0 ? ": " : "", error != 0 ? std::strerror(error) : "");
    return code == 0 ? 1 : code;
}

} // namespace

namespace programstart {

int Run(int argc, char* argv[])
{
    // What keeps a picked colour on the clipboard after the pick has ended:
    // this program started again in the background, with nothing of the
    // program's but the text.
    // Its X server can be gone by the time it starts (or a user typed it with
    // none): an exit, not Qt's abort and core file.
    if (argc == 2 && std::strcmp(argv[1], "--keep-clipboard") == 0) {
        g_handlerBeforeStart = qInstallMessageHandler(windowSystemFailure);
        return clipboardkeeper::Serve(argc, argv);
    }

    // Read before any window object exists: help, the version and a palette
    // printed from an image need no display, and a wrong option opens none.
    const QList<UserTemplate> templates = StoredTemplates();
    const commandline::Request request = commandline::Parse(ArgumentsOf(argc, argv), templates);
    if (!commandline::NeedsWindows(request)) {
        QCoreApplication application(argc, argv);
        SetApplicationNames();
        QTextStream out(stdout);
        QTextStream err(stderr);
        const int code = commandline::Run(request, out, err, templates);
        err.flush();
        return withOutputDelivered(code, out);
    }

    // The frozen screen of a pick shows no text before its first click.
    std::optional<FontWarmUp> fonts;
    if (request.action != commandline::Action::Pick)
        fonts.emplace();
    g_handlerBeforeStart = qInstallMessageHandler(windowSystemFailure);
    QApplication application(argc, argv);
    qInstallMessageHandler(g_handlerBeforeStart);
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
