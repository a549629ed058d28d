// `tintora --pick` and `tintora FILE` as a user's shell or desktop runs them,
// on a real X server: the root window painted one known colour, the pointer
// and keys driven by xdotool, the clipboard read by xclip after the command
// has ended. Cold (no Tintora running) and handed over to a running one.
#include "palettes/PaletteIndex.h"
#include "tests/support/TestData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

namespace {

const QString Painted = QStringLiteral("#3A6EA5");
const QByteArray PaintedRecord = QByteArrayLiteral("3A6EA5");
const QString PickWindow = QStringLiteral("Pick&Save Color");
const QString MainWindow = QStringLiteral("Tintora 3.7");

struct Finished
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A GIMP palette as a file manager would hand it over.
const QByteArray BrandPalette = QByteArrayLiteral("GIMP Palette\n"
                                                  "Name: Brand Test\n"
                                                  "#\n"
                                                  " 10  20  30\tInk\n"
                                                  "200 100  50\tRust\n");

} // namespace

class tst_pickcommand : public QObject
{
    Q_OBJECT

private:
    QProcess m_server;
    QString m_display;
    // Started by a case and ended by it; listed so that a failed case's
    // leftovers end with the test.
    QList<QProcess*> m_running;

    QProcessEnvironment desktop(const TestDataFolder& data, const QTemporaryDir& home) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("TINTORA_DATA_DIR"), data.path());
        // Never the user's own settings.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        return environment;
    }

    QProcessEnvironment plainDesktop() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        return environment;
    }

    QByteArray runTool(const QString& program, const QStringList& arguments,
                       const QByteArray& input = {})
    {
        QProcess tool;
        tool.setProcessEnvironment(plainDesktop());
        tool.start(program, arguments);
        if (!input.isEmpty()) {
            tool.write(input);
            tool.closeWriteChannel();
        }
        if (!tool.waitForFinished(10000)) {
            tool.kill();
            tool.waitForFinished();
            return "<" + program.toUtf8() + " did not end>";
        }
        return tool.readAllStandardOutput();
    }

    QString clipboardText()
    {
        return QString::fromUtf8(
            runTool(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                              QStringLiteral("clipboard")}));
    }

    // Another program's text on the clipboard: xclip in the foreground owns
    // it until a copy takes it over.
    void setClipboardText(const QString& text)
    {
        auto* owner = new QProcess(this);
        owner->setProcessEnvironment(plainDesktop());
        owner->start(
            QStringLiteral("xclip"),
            {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
        m_running.append(owner);
        owner->write(text.toUtf8());
        owner->closeWriteChannel();
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), text, 5000);
    }

    bool windowShown(const QString& title)
    {
        return !runTool(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--name"), title})
                    .trimmed()
                    .isEmpty();
    }

    QProcess* startTintora(const QStringList& arguments, const QProcessEnvironment& environment)
    {
        auto* process = new QProcess(this);
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(TINTORA_EXECUTABLE), arguments);
        m_running.append(process);
        return process;
    }

    Finished finish(QProcess* process, int milliseconds = 20000)
    {
        Finished finished;
        if (process->waitForFinished(milliseconds) && process->exitStatus() == QProcess::NormalExit)
            finished.exitCode = process->exitCode();
        finished.out = process->readAllStandardOutput();
        finished.err = process->readAllStandardError();
        end(process);
        return finished;
    }

    void end(QProcess* process)
    {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            process->waitForFinished();
        }
        m_running.removeAll(process);
        process->deleteLater();
    }

    void act(const QString& action)
    {
        if (action == QLatin1String("click")) {
            runTool(QStringLiteral("xdotool"),
                    {QStringLiteral("mousemove"), QStringLiteral("200"), QStringLiteral("600"),
                     QStringLiteral("click"), QStringLiteral("1")});
            return;
        }
        // The keys go to the frozen picture, which has the focus.
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QStringLiteral("200"), QStringLiteral("600")});
        const QStringList keys = action == QLatin1String("escape")
                                     ? QStringList{QStringLiteral("Escape")}
                                     : QStringList{QStringLiteral("Right"), QStringLiteral("Down"),
                                                   QStringLiteral("Return")};
        runTool(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys);
    }

    // The shown names and files of the palettes that take colours.
    static QList<QPair<QString, QString>> targets(const TestDataFolder& data)
    {
        StringTable files;
        StringTable names;
        paletteindex::ColorTargets(paletteindex::Read(data.path()).entries, files, names);
        QList<QPair<QString, QString>> list;
        for (qsizetype i = 0; i < files.size(); ++i)
            list.append({names.at(i), files.at(i)});
        return list;
    }

private slots:
    void initTestCase()
    {
        for (const char* tool : {"Xvfb", "xclip", "xdotool"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (packages xvfb, xclip, "
                                                "xdotool; scripts/install-deps.sh test)")
                                     .arg(QString::fromLatin1(tool))));
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"),
                        // The painted root must outlast the clients that come and go.
                        QStringLiteral("-noreset")});
        QVERIFY(m_server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_server.canReadLine(), 10000);
        m_display = QStringLiteral(":") + QString::fromLatin1(m_server.readLine().trimmed());

        // The root window in one known colour: xsetroot where it is installed,
        // ImageMagick's display otherwise (it paints the root and leaves).
        if (!QStandardPaths::findExecutable(QStringLiteral("xsetroot")).isEmpty()) {
            runTool(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), Painted});
        } else if (!QStandardPaths::findExecutable(QStringLiteral("display")).isEmpty()) {
            qInfo("xsetroot is not installed (package x11-xserver-utils); painting the root "
                  "with ImageMagick's display");
            runTool(QStringLiteral("display"),
                    {QStringLiteral("-size"), QStringLiteral("8x8"), QStringLiteral("-window"),
                     QStringLiteral("root"), QStringLiteral("xc:") + Painted});
        } else {
            QSKIP("Neither xsetroot (package x11-xserver-utils) nor ImageMagick is installed");
        }
    }

    void cleanup()
    {
        for (QProcess* process : QList<QProcess*>(m_running))
            end(process);
    }

    void cleanupTestCase()
    {
        cleanup();
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
            m_server.waitForFinished();
        }
    }

    void coldPick_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("printed");
        // Empty: the clipboard holds what it held before.
        QTest::addColumn<QString>("copied");
        // Which offered palette gains the colour: -1 none.
        QTest::addColumn<int>("savedTo");
        QTest::newRow("a click, printed") << QStringList{"--print"} << "click" << 0 << "#3A6EA5\n"
                                          << "#3A6EA5" << 0;
        QTest::newRow("arrows and Enter, oklch") << QStringList{"--print", "--format", "oklch"}
                                                 << "keys" << 0 << "oklch(52.8% 0.10358 251.54)\n"
                                                 << "oklch(52.8% 0.10358 251.54)" << 0;
        QTest::newRow("quiet, a copy item") << QStringList{"--format", "cpp"} << "click" << 0 << ""
                                            << "0xA56E3A" << 0;
        QTest::newRow("to another palette, not copied")
            << QStringList{"--print", "--no-copy", "--save-to", "<second>"} << "click" << 0
            << "#3A6EA5\n"
            << "" << 1;
        QTest::newRow("saved nowhere") << QStringList{"--print", "--no-save", "--format", "rgb"}
                                       << "click" << 0 << "rgb(58 110 165)\n"
                                       << "rgb(58 110 165)" << -1;
        QTest::newRow("Escape") << QStringList{"--print"} << "escape" << 1 << ""
                                << "" << -1;
    }

    void coldPick()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, action);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);
        QFETCH(QString, copied);
        QFETCH(int, savedTo);
        const TestDataFolder data;
        const QTemporaryDir home;
        const QList<QPair<QString, QString>> offered = targets(data);
        QVERIFY(offered.size() >= 2);
        options.replaceInStrings(QStringLiteral("<second>"), offered.at(1).first);
        QList<QByteArray> before;
        for (const auto& target : offered)
            before.append(data.read(target.second));
        const QString earlier = QStringLiteral("copied earlier");
        setClipboardText(earlier);

        QProcess* pick =
            startTintora(QStringList{QStringLiteral("--pick")} + options, desktop(data, home));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(PickWindow), 15000);
        act(action);
        const Finished finished = finish(pick);
        QCOMPARE(finished.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(finished.out), printed);
        QCOMPARE(finished.err, QByteArray());

        // The clipboard as a paste sees it once the command has gone.
        QTest::qWait(2000);
        QCOMPARE(clipboardText(), copied.isEmpty() ? earlier : copied);

        for (qsizetype i = 0; i < offered.size(); ++i)
            QCOMPARE(data.read(offered.at(i).second),
                     i == savedTo ? before.at(i) + PaintedRecord : before.at(i));
    }

    void unknownPalette_exitsTwo_beforeAnyWindow()
    {
        const TestDataFolder data;
        const QTemporaryDir home;
        QProcess* pick = startTintora({QStringLiteral("--pick"), QStringLiteral("--save-to"),
                                       QStringLiteral("No Such Palette")},
                                      desktop(data, home));
        const Finished finished = finish(pick);
        QCOMPARE(finished.exitCode, 2);
        QCOMPARE(finished.out, QByteArray());
        QVERIFY2(finished.err.contains("\"No Such Palette\""), finished.err.constData());
        QVERIFY(!windowShown(PickWindow));
    }

    void runningInstance_picksAndOpens()
    {
        const TestDataFolder data;
        const QTemporaryDir home;
        const QProcessEnvironment environment = desktop(data, home);
        const QString firstFile = targets(data).constFirst().second;
        const QByteArray before = data.read(firstFile);
        QProcess* running = startTintora({}, environment);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(MainWindow), 15000);

        QProcess* pick = startTintora({QStringLiteral("--pick"), QStringLiteral("--print"),
                                       QStringLiteral("--format"), QStringLiteral("hsl")},
                                      environment);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(PickWindow), 15000);
        // Out of the way of the picture while it is picked from.
        QVERIFY(!windowShown(MainWindow));
        act(QStringLiteral("click"));
        const Finished picked = finish(pick);
        QCOMPARE(picked.exitCode, 0);
        QCOMPARE(picked.out, QByteArray("hsl(210.8 48% 43.7%)\n"));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(MainWindow), 5000);
        QTest::qWait(2000);
        QCOMPARE(clipboardText(), QStringLiteral("hsl(210.8 48% 43.7%)"));
        QCOMPARE(data.read(firstFile), before + PaintedRecord);

        // Escape there ends the command as here.
        pick = startTintora({QStringLiteral("--pick")}, environment);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(PickWindow), 15000);
        act(QStringLiteral("escape"));
        QCOMPARE(finish(pick).exitCode, 1);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(MainWindow), 5000);

        // A palette file from the file manager becomes a palette there.
        QFile file(home.filePath(QStringLiteral("Brand.gpl")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(BrandPalette);
        file.close();
        QProcess* open = startTintora({file.fileName()}, environment);
        QCOMPARE(finish(open).exitCode, 0);
        QCOMPARE(targets(data).constLast().first, QStringLiteral("Brand Test"));
        const QByteArray imported = data.read(targets(data).constLast().second);
        QCOMPARE(imported.size(), 12);
        QVERIFY(imported.contains("0A141E") && imported.contains("C86432"));
        end(running);
    }

    void files_openedAtAColdStart()
    {
        const TestDataFolder data;
        const QTemporaryDir home;
        QFile file(home.filePath(QStringLiteral("Brand.gpl")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(BrandPalette);
        file.close();
        QProcess* running = startTintora({file.fileName()}, desktop(data, home));
        QTRY_VERIFY_WITH_TIMEOUT(targets(data).constLast().first == QStringLiteral("Brand Test"),
                                 15000);
        QVERIFY(windowShown(MainWindow));
        end(running);
    }
};

QTEST_GUILESS_MAIN(tst_pickcommand)
#include "tst_pickcommand.moc"
