#include "app/platform/ClipboardKeeper.h"

#include "app/handover/WlCopy.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryFile>
#include <QThread>

#include <csignal>

namespace clipboardkeeper {

namespace {

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
