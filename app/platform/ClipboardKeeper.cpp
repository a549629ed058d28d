#include "app/platform/ClipboardKeeper.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>

#include <csignal>

namespace clipboardkeeper {

namespace {

constexpr int TakeOverWaitMs = 3000;

// The text reaches the keeper on its standard input from a file that is gone
// from the file system as soon as the keeper has opened it: neither the
// process list nor a file left behind shows what was copied.
bool WriteTextFile(QTemporaryFile& file, const QString& text)
{
    if (!file.open())
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

// Where the keeper's output goes: never the caller's own, so that a pipe
// such as `tintora --pick --print | wc` ends when the command does.
void Silence(QProcess& process)
{
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
}

QString KeepWithWlCopy(const QString& text)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("wl-copy"));
    if (program.isEmpty())
        return QStringLiteral("wl-copy (package wl-clipboard) is needed to keep the text on the "
                              "clipboard after the command ends");
    QTemporaryFile file;
    if (!WriteTextFile(file, text))
        return QStringLiteral("the text could not be handed to wl-copy: %1")
            .arg(file.errorString());
    // wl-copy puts itself in the background once it has read the text and
    // serves the selection from there; the process started here ends then.
    QProcess process;
    process.setProgram(program);
    process.setArguments({QStringLiteral("--type"), QStringLiteral("text/plain;charset=utf-8")});
    process.setStandardInputFile(file.fileName());
    Silence(process);
    process.start();
    if (!process.waitForFinished(TakeOverWaitMs)) {
        process.kill();
        process.waitForFinished(1000);
        return QStringLiteral("wl-copy did not take the text");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("wl-copy could not take the text (exit code %1)")
            .arg(process.exitCode());
    return {};
}

QString KeepWithSelf(const QString& text, qint64* keeperPid)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Ours until the keeper has it, so that a paste in between works too; the
    // keeper's taking it is how this process learns that it is ready.
    clipboard->setText(text, QClipboard::Clipboard);
    QTemporaryFile file;
    if (!WriteTextFile(file, text))
        return QStringLiteral("the text could not be handed on: %1").arg(file.errorString());
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments({QStringLiteral("--") + QLatin1String(Option)});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(file.fileName());
    Silence(process);
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return QStringLiteral("the clipboard keeper could not be started: %1")
            .arg(process.errorString());
    if (keeperPid)
        *keeperPid = pid;
    const QDeadlineTimer deadline(TakeOverWaitMs);
    while (clipboard->ownsClipboard() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    if (clipboard->ownsClipboard())
        return QStringLiteral("the clipboard keeper did not take the text");
    return {};
}

} // namespace

QString KeepForHandedOverPick(const QString& text)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    return KeepWithWlCopy(text);
}

QString KeepAfterExit(const QString& text, qint64* keeperPid)
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return KeepWithWlCopy(text);
    if (platform == QLatin1String("xcb"))
        return KeepWithSelf(text, keeperPid);
    return QStringLiteral("the clipboard cannot be kept on the platform \"%1\"").arg(platform);
}

int Serve(int argc, char* argv[])
{
    // Started from a terminal, the keeper outlives it like any copied text.
    std::signal(SIGHUP, SIG_IGN);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return 2;
    const QByteArray bytes = input.read(MaxTextBytes + 1);
    if (bytes.size() > MaxTextBytes)
        return 2;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    QClipboard* clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::changed, &application,
                     [clipboard](QClipboard::Mode mode) {
                         if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
                             QCoreApplication::quit();
                     });
    clipboard->setText(QString::fromUtf8(bytes), QClipboard::Clipboard);
    if (!clipboard->ownsClipboard())
        return 1;
    return QGuiApplication::exec();
}

} // namespace clipboardkeeper
