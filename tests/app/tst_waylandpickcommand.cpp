// `tintora --pick` as a shell runs it on a Wayland desktop: headless sway,
// its output painted one known colour, the screen read through the desktop
// portal, the keys typed by a virtual keyboard (wtype; the headless seat
// has no keyboard of its own), the clipboard read by wl-paste after the
// command has ended. Cold, and handed over to a running Tintora.
#include "palettes/PaletteIndex.h"
#include "tests/support/HeadlessDesktop.h"
#include "tests/support/TestData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString WaylandPainted = QStringLiteral("#3A6EA5");
const QByteArray WaylandPaintedRecord = QByteArrayLiteral("3A6EA5");
const QString WaylandPickWindow = QStringLiteral("Pick&Save Color");
const QString WaylandMainWindow = QStringLiteral("Tintora 3.7");

struct WaylandFinished
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Whether sway shows a window of that title anywhere in its tree.
bool shownInTree(const QJsonObject& node, const QString& title)
{
    if (node.value(QStringLiteral("name")).toString() == title &&
        node.value(QStringLiteral("visible")).toBool())
        return true;
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray())
            if (shownInTree(child.toObject(), title))
                return true;
    return false;
}

} // namespace

class tst_waylandpickcommand : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<HeadlessDesktop> m_desktop;
    // Started by a case and ended by it; listed so that a failed case's
    // leftovers end with the test.
    QList<QProcess*> m_running;

    QProcessEnvironment desktop(const TestDataFolder& data, const QTemporaryDir& home) const
    {
        QProcessEnvironment environment = m_desktop->clientEnvironment();
        environment.insert(QStringLiteral("TINTORA_DATA_DIR"), data.path());
        // Never the user's own settings.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        return environment;
    }

    // Runs a tool of the desktop to its end; its output. The event loop runs
    // meanwhile: the portal's access question is answered by this process.
    QByteArray runTool(const QString& program, const QStringList& arguments)
    {
        QProcess tool;
        tool.setProcessEnvironment(m_desktop->clientEnvironment());
        tool.start(program, arguments);
        QElapsedTimer clock;
        clock.start();
        while (tool.state() != QProcess::NotRunning && clock.elapsed() < 10000)
            QTest::qWait(10);
        if (tool.state() != QProcess::NotRunning) {
            tool.kill();
            tool.waitForFinished();
            return "<" + program.toUtf8() + " did not end>";
        }
        return tool.readAllStandardOutput();
    }

    QString clipboardText()
    {
        return QString::fromUtf8(runTool(QStringLiteral("wl-paste"), {QStringLiteral("-n")}));
    }

    // Another program's text on the clipboard: wl-copy in the foreground
    // owns it until a copy takes it over.
    void setClipboardText(const QString& text)
    {
        auto* owner = new QProcess(this);
        owner->setProcessEnvironment(m_desktop->clientEnvironment());
        owner->start(QStringLiteral("wl-copy"), {QStringLiteral("--foreground"), text});
        m_running.append(owner);
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), text, 5000);
    }

    bool windowShown(const QString& title)
    {
        const QJsonObject tree =
            QJsonDocument::fromJson(
                m_desktop->swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")}))
                .object();
        return shownInTree(tree, title);
    }

    QProcess* startTintora(const QStringList& arguments, const QProcessEnvironment& environment)
    {
        auto* process = new QProcess(this);
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(TINTORA_EXECUTABLE), arguments);
        m_running.append(process);
        return process;
    }

    WaylandFinished finish(QProcess* process, int milliseconds = 20000)
    {
        WaylandFinished finished;
        QElapsedTimer clock;
        clock.start();
        while (process->state() != QProcess::NotRunning && clock.elapsed() < milliseconds)
            QTest::qWait(20);
        if (process->state() == QProcess::NotRunning &&
            process->exitStatus() == QProcess::NormalExit)
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

    // The keys go to the frozen picture or to "Pick&Save Color", whichever
    // sway focused: both act on the picture.
    void type(const QStringList& keys)
    {
        // A new keyboard's first key can arrive before the focused client
        // has its keymap and is lost: wtype waits a moment first.
        QStringList arguments{QStringLiteral("-s"), QStringLiteral("300")};
        for (const QString& key : keys)
            arguments << QStringLiteral("-k") << key;
        runTool(QStringLiteral("wtype"), arguments);
    }

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

    // Until a screenshot of the desktop shows the painted background.
    bool backgroundShown()
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 15000) {
            QImage shot;
            shot.loadFromData(
                runTool(QStringLiteral("grim"),
                        {QStringLiteral("-t"), QStringLiteral("ppm"), QStringLiteral("-")}),
                "PPM");
            if (!shot.isNull() &&
                shot.pixelColor(shot.width() / 2, shot.height() / 2) == QColor(WaylandPainted))
                return true;
            QTest::qWait(100);
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        QStringList missing = HeadlessDesktop::missingPackages();
        for (const auto& [program, package] :
             {std::pair{"wl-paste", "wl-clipboard"}, std::pair{"wtype", "wtype"},
              std::pair{"swaybg", "swaybg"}})
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty() &&
                !missing.contains(QLatin1String(package)))
                missing.append(QString::fromLatin1(package));
        if (!missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("a headless Wayland desktop with a virtual keyboard "
                                            "needs these packages, which are not installed: %1 "
                                            "(scripts/install-deps.sh test)")
                                 .arg(missing.join(QStringLiteral(", ")))));
        m_desktop = std::make_unique<HeadlessDesktop>();
        QVERIFY2(m_desktop->start({{{QSize(1024, 768), 1, QPoint()}}, {}}),
                 qPrintable(m_desktop->problem() + '\n' + m_desktop->logs()));
        // sway paints through swaybg, which it starts and ends itself.
        m_desktop->swaymsg({QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"),
                            WaylandPainted, QStringLiteral("solid_color")});
        QVERIFY2(backgroundShown(), qPrintable(m_desktop->logs()));
    }

    void cleanup()
    {
        for (QProcess* process : QList<QProcess*>(m_running))
            end(process);
    }

    void cleanupTestCase()
    {
        cleanup();
        m_desktop.reset();
    }

    void coldPick_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("printed");
        // Empty: the clipboard holds what it held before.
        QTest::addColumn<QString>("copied");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Enter, printed")
            << QStringList{"--print"} << QStringList{"Return"} << 0 << "#3A6EA5\n"
            << "#3A6EA5" << true;
        QTest::newRow("arrows and Enter, oklch")
            << QStringList{"--print", "--format", "oklch"} << QStringList{"Right", "Down", "Return"}
            << 0 << "oklch(52.8% 0.10358 251.54)\n"
            << "oklch(52.8% 0.10358 251.54)" << true;
        QTest::newRow("quiet, a copy item, saved nowhere")
            << QStringList{"--format", "cpp", "--no-save"} << QStringList{"Return"} << 0 << ""
            << "0xA56E3A" << false;
        QTest::newRow("Escape") << QStringList{"--print"} << QStringList{"Escape"} << 1 << ""
                                << "" << false;
    }

    void coldPick()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, keys);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);
        QFETCH(QString, copied);
        QFETCH(bool, saved);
        const TestDataFolder data;
        const QTemporaryDir home;
        const QString firstFile = targets(data).constFirst().second;
        const QByteArray before = data.read(firstFile);
        const QString earlier = QStringLiteral("copied earlier");
        setClipboardText(earlier);

        QProcess* pick =
            startTintora(QStringList{QStringLiteral("--pick")} + options, desktop(data, home));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(WaylandPickWindow), 15000);
        type(keys);
        const WaylandFinished finished = finish(pick);
        QCOMPARE(finished.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(finished.out), printed);
        QCOMPARE(finished.err, QByteArray());

        // The clipboard as a paste sees it once the command has gone.
        QTest::qWait(2000);
        QCOMPARE(clipboardText(), copied.isEmpty() ? earlier : copied);
        QCOMPARE(data.read(firstFile), saved ? before + WaylandPaintedRecord : before);
    }

    void forwardedPick_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("printed");
        // Empty: the clipboard holds what it held before.
        QTest::addColumn<QString>("copied");
        QTest::newRow("Enter, hsl") << QStringList{"--print", "--format", "hsl"}
                                    << QStringList{"Return"} << 0 << "hsl(210.8 48% 43.7%)\n"
                                    << "hsl(210.8 48% 43.7%)";
        QTest::newRow("printed, not copied") << QStringList{"--print", "--no-copy"}
                                             << QStringList{"Left", "Return"} << 0 << "#3A6EA5\n"
                                             << "";
        QTest::newRow("Escape") << QStringList{"--print"} << QStringList{"Escape"} << 1 << ""
                                << "";
    }

    void forwardedPick()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, keys);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);
        QFETCH(QString, copied);
        const TestDataFolder data;
        const QTemporaryDir home;
        const QProcessEnvironment environment = desktop(data, home);
        const QString firstFile = targets(data).constFirst().second;
        const QByteArray before = data.read(firstFile);
        const QString earlier = QStringLiteral("copied earlier");
        setClipboardText(earlier);
        QProcess* running = startTintora({}, environment);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(WaylandMainWindow), 15000);

        QProcess* pick = startTintora(QStringList{QStringLiteral("--pick")} + options, environment);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(WaylandPickWindow), 15000);
        // Out of the way of the picture while it is picked from.
        QVERIFY(!windowShown(WaylandMainWindow));
        type(keys);
        const WaylandFinished picked = finish(pick);
        QCOMPARE(picked.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(picked.out), printed);
        QCOMPARE(picked.err, QByteArray());
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(WaylandMainWindow), 5000);
        QTest::qWait(2000);
        const QString expected = copied.isEmpty() ? earlier : copied;
        QCOMPARE(clipboardText(), expected);
        QCOMPARE(data.read(firstFile), exitCode == 0 ? before + WaylandPaintedRecord : before);

        // The text is kept apart from the instance that picked it (a
        // compositor hands the selection only to a client with the keyboard
        // focus, which that instance need not have): it stays when that ends.
        end(running);
        QTest::qWait(500);
        QCOMPARE(clipboardText(), expected);
    }
};

QTEST_GUILESS_MAIN(tst_waylandpickcommand)
#include "tst_waylandpickcommand.moc"
