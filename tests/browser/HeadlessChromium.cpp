#include "HeadlessChromium.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace headlesschromium {

namespace {

// A page of tens of thousands of colours takes seconds; a busy machine may
// take many times that.
constexpr int TimeoutMs = 180000;

QString fromMarkup(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral("\u00a0"));
    return text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// Ends whatever is left of the run: the browser's process group, and the
// crash handlers Chromium starts in sessions of their own, which are known
// by the run's folder in their command lines.
void endLeftovers(qint64 browser, const QString& folder)
{
    ::kill(-pid_t(browser), SIGKILL);
    const QByteArray mark = folder.toLocal8Bit();
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& process : processes) {
        bool number = false;
        const pid_t pid = pid_t(process.toInt(&number));
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(process));
        if (number && pid != ::getpid() && commandLine.open(QIODevice::ReadOnly) &&
            commandLine.readAll().contains(mark))
            ::kill(pid, SIGKILL);
    }
}

} // namespace

QString Program()
{
    return QStandardPaths::findExecutable(QStringLiteral("chromium"));
}

Result Run(const QString& html)
{
    Result result;
    QTemporaryDir folder;
    const QString page = folder.filePath(QStringLiteral("page.html"));
    QFile file(page);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0) {
        result.error = QStringLiteral("cannot write the page in a temporary folder");
        return result;
    }
    file.close();

    QProcess chromium;
    // A session of its own, so that the renderer, GPU and zygote processes
    // it forks share the browser's process group and end with it.
    chromium.setChildProcessModifier([] { ::setsid(); });
    chromium.setProgram(Program());
    // Chromium keeps crash reports and caches under the home folder whatever
    // the profile: here that is the run's folder too.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        environment.insert(QLatin1String(variable), folder.path());
    chromium.setProcessEnvironment(environment);
    // Canvas pixels are sRGB 8-bit only with the colour profile forced;
    // the other switches keep the browser off the network and first-run work.
    chromium.setArguments({
        QStringLiteral("--headless=new"),
        QStringLiteral("--disable-gpu"),
        QStringLiteral("--no-sandbox"),
        QStringLiteral("--force-color-profile=srgb"),
        QStringLiteral("--user-data-dir=") + folder.filePath(QStringLiteral("profile")),
        QStringLiteral("--no-first-run"),
        QStringLiteral("--disable-extensions"),
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"),
        QStringLiteral("--disable-crash-reporter"),
        QStringLiteral("--no-proxy-server"),
        QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
        QStringLiteral("--dump-dom"),
        QUrl::fromLocalFile(page).toString(),
    });
    chromium.start();
    if (!chromium.waitForStarted()) {
        result.error = QStringLiteral("chromium did not start: ") + chromium.errorString();
        return result;
    }
    const qint64 pid = chromium.processId();
    const bool finished = chromium.waitForFinished(TimeoutMs);
    // A hung browser included.
    endLeftovers(pid, folder.path());
    if (!finished)
        chromium.waitForFinished(10000);

    const QString dom = QString::fromUtf8(chromium.readAllStandardOutput());
    static const QRegularExpression out(QStringLiteral("<pre id=\"out\">(.*)</pre>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = out.match(dom);
    if (!finished || chromium.exitStatus() != QProcess::NormalExit || chromium.exitCode() != 0 ||
        !match.hasMatch()) {
        result.error =
            QStringLiteral("chromium %1 (exit code %2) without the page's output; it said:\n%3")
                .arg(finished ? QStringLiteral("ended") : QStringLiteral("timed out"))
                .arg(chromium.exitCode())
                .arg(QString::fromLocal8Bit(chromium.readAllStandardError()).right(3000));
        return result;
    }
    result.ok = true;
    result.out = fromMarkup(match.captured(1));
    return result;
}

} // namespace headlesschromium
