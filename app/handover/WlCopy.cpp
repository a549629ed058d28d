#include "app/handover/WlCopy.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace clipboardkeeper {

bool WriteTextFile(QTemporaryFile& file, const QString& text)
{
    if (!file.open())
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

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

QString KeepForHandedOverPick(const QString& text)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    return KeepWithWlCopy(text);
}

} // namespace clipboardkeeper
