#include "tests/support/HeadlessDesktop.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

// Text copied by a command stays on the desktop's clipboard after the command
// has ended, until another program takes the clipboard over; checked on a real
// X server with xclip and on a headless Wayland desktop with wl-paste, as a
// user's paste would see it.
class tst_clipboardkeeper : public QObject
{
    Q_OBJECT

private:
    QProcess m_server;
    QString m_display;
    QList<qint64> m_started;

    QProcessEnvironment desktop() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return environment;
    }

    QString clipboardText()
    {
        QProcess xclip;
        xclip.setProcessEnvironment(desktop());
        xclip.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                              QStringLiteral("clipboard")});
        if (!xclip.waitForFinished(5000)) {
            xclip.kill();
            xclip.waitForFinished();
            return QStringLiteral("<xclip did not answer>");
        }
        return QString::fromUtf8(xclip.readAllStandardOutput());
    }

    static bool running(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0; }

private slots:
    void initTestCase()
    {
        for (const char* tool : {"Xvfb", "xclip"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (packages xvfb, xclip)")
                                     .arg(QString::fromLatin1(tool))));
        // The server picks a free display itself and tells its number.
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("640x480x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        QVERIFY(m_server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_server.canReadLine(), 10000);
        m_display = QStringLiteral(":") + QString::fromLatin1(m_server.readLine().trimmed());
    }

    void cleanupTestCase()
    {
        for (const qint64 pid : std::as_const(m_started))
            if (running(pid))
                ::kill(static_cast<pid_t>(pid), SIGTERM);
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
            m_server.waitForFinished();
        }
    }

    void copiedText_outlivesTheCommand_untilTakenOver()
    {
        const QString text = QStringLiteral("oklch(62.8% 0.2577 29.23) \u00e9");
        // Through a pipe, as `tintora --pick --print | …` runs: the pipe must
        // end with the command, not with the keeper it leaves behind.
        QProcess command;
        command.setProcessEnvironment(desktop());
        command.start(QStringLiteral("sh"),
                      {QStringLiteral("-c"), QStringLiteral("\"$0\" \"$1\" | cat"),
                       QStringLiteral(TINTORA_CLIPBOARD_DRIVER), text});
        QVERIFY2(command.waitForFinished(15000),
                 "the command did not end: its output pipe stayed open");
        QCOMPARE(command.exitCode(), 0);
        const qint64 keeper = command.readAllStandardOutput().trimmed().toLongLong();
        m_started.append(keeper);
        QVERIFY(running(keeper));

        QTest::qWait(2000);
        QCOMPARE(clipboardText(), text);

        // Another program copies: the keeper lets go and ends.
        QProcess other;
        other.setProcessEnvironment(desktop());
        other.start(QStringLiteral("xclip"),
                    {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                     QStringLiteral("clipboard"), QStringLiteral("-i")});
        QVERIFY(other.waitForStarted());
        other.write("taken over");
        other.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(!running(keeper), 10000);
        QCOMPARE(clipboardText(), QStringLiteral("taken over"));
        other.kill();
        other.waitForFinished();
    }

    void wayland_copiedText_outlivesTheCommand()
    {
        QStringList missing = HeadlessDesktop::missingPackages();
        if (QStandardPaths::findExecutable(QStringLiteral("wl-paste")).isEmpty())
            missing.append(QStringLiteral("wl-clipboard"));
        if (!missing.isEmpty())
            QSKIP(qPrintable(
                QStringLiteral("a headless Wayland desktop needs these packages, which are not "
                               "installed: %1")
                    .arg(missing.join(QStringLiteral(", ")))));
        // The desktop ends every process it started when it goes; the keeper
        // (wl-copy) ends with the Wayland display it served.
        HeadlessDesktop desktop;
        QVERIFY2(desktop.start({{{QSize(640, 480), 1, QPoint()}}, {}}),
                 qPrintable(desktop.problem() + '\n' + desktop.logs()));
        QProcessEnvironment environment = desktop.clientEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));

        const QString text = QStringLiteral("#3A6EA5");
        QProcess command;
        command.setProcessEnvironment(environment);
        command.start(QStringLiteral("sh"),
                      {QStringLiteral("-c"), QStringLiteral("\"$0\" \"$1\" | cat"),
                       QStringLiteral(TINTORA_CLIPBOARD_DRIVER), text});
        QVERIFY2(command.waitForFinished(15000),
                 "the command did not end: its output pipe stayed open");
        QVERIFY2(command.exitCode() == 0, command.readAllStandardError().constData());

        QTest::qWait(2000);
        QProcess paste;
        paste.setProcessEnvironment(environment);
        paste.start(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")});
        QVERIFY(paste.waitForFinished(5000));
        QCOMPARE(QString::fromUtf8(paste.readAllStandardOutput()), text);
    }
};

QTEST_GUILESS_MAIN(tst_clipboardkeeper)
#include "tst_clipboardkeeper.moc"
