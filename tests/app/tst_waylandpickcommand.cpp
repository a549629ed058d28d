// `tintora --pick` as a shell runs it on a Wayland desktop: headless sway,
// its output painted one known colour, the screen read through the desktop
// portal, the keys typed by a virtual keyboard (wtype) and clicks made by a
// virtual pointer (the headless seat has neither of its own), the clipboard
// read by wl-paste after the command has ended. Cold, and handed over to a running Tintora.
#include "palettes/PaletteIndex.h"
#include "tests/support/HeadlessDesktop.h"
#include "tests/support/TestData.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <memory>
#include <optional>

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
// Where sway shows a window of that title, and whether it has the focus;
// nothing when it shows none.
struct ShownWindow
{
    QRect area;
    bool focused = false;
    bool operator==(const ShownWindow&) const = default;
};

std::optional<ShownWindow> shownInTree(const QJsonObject& node, const QString& title)
{
    if (node.value(QStringLiteral("name")).toString() == title &&
        node.value(QStringLiteral("visible")).toBool()) {
        const QJsonObject rect = node.value(QStringLiteral("rect")).toObject();
        return ShownWindow{QRect(rect.value(QStringLiteral("x")).toInt(),
                                 rect.value(QStringLiteral("y")).toInt(),
                                 rect.value(QStringLiteral("width")).toInt(),
                                 rect.value(QStringLiteral("height")).toInt()),
                           node.value(QStringLiteral("focused")).toBool()};
    }
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray())
            if (std::optional<ShownWindow> found = shownInTree(child.toObject(), title))
                return found;
    return std::nullopt;
}

// A pointer for the headless seat, which has none of its own: a client of
// the compositor's virtual pointer protocol, spoken on the Wayland socket
// directly (no tool in Debian does it). Enough of the wire format for a
// move and a click of the left button.
class WaylandVirtualPointer
{
public:
    // False when the compositor offers no virtual pointers; problem() says why.
    bool connect(const QString& socket)
    {
        m_socket.connectToServer(socket);
        if (!m_socket.waitForConnected(5000)) {
            m_problem = m_socket.errorString();
            return false;
        }
        // A client numbers its objects in order, without gaps.
        m_registry = m_nextId++;
        send(Display, 1, {m_registry}); // get_registry
        if (!roundTrip())
            return false;
        if (m_global == 0) {
            m_problem = QStringLiteral("the compositor offers no virtual pointer");
            return false;
        }
        const quint32 manager = m_nextId++;
        // bind(name, interface, version, new id)
        sendRaw(m_registry, 0, word(m_global) + text(ManagerInterface) + word(1) + word(manager));
        m_pointer = m_nextId++;
        send(manager, 0, {0, m_pointer}); // create_virtual_pointer(the default seat, new id)
        return roundTrip();
    }

    // To (x, y) of a desktop of `extent`, then a click there. The client
    // under it hears of the new pointer first and needs a moment for it.
    bool click(QPoint at, QSize extent)
    {
        QTest::qWait(300);
        send(m_pointer, 1,
             {now(), quint32(at.x()), quint32(at.y()), quint32(extent.width()),
              quint32(extent.height())}); // motion_absolute
        send(m_pointer, 4, {});           // frame
        if (!roundTrip())
            return false;
        QTest::qWait(300);
        for (const quint32 state : {1u, 0u}) {
            send(m_pointer, 2, {now(), LeftButton, state}); // button
            send(m_pointer, 4, {});
        }
        return roundTrip();
    }

    QString problem() const { return m_problem; }

    ~WaylandVirtualPointer()
    {
        if (m_socket.state() == QLocalSocket::ConnectedState) {
            send(m_pointer, 8, {}); // destroy
            m_socket.waitForBytesWritten(1000);
            m_socket.disconnectFromServer();
        }
    }

private:
    static constexpr quint32 Display = 1;
    static constexpr quint32 LeftButton = 0x110;
    static constexpr char ManagerInterface[] = "zwlr_virtual_pointer_manager_v1";

    static QByteArray word(quint32 value)
    {
        return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
    }
    static QByteArray text(const char* value)
    {
        const QByteArray bytes = QByteArray(value) + '\0';
        QByteArray padded = word(quint32(bytes.size())) + bytes;
        padded.append((4 - bytes.size() % 4) % 4, '\0');
        return padded;
    }
    static quint32 now() { return quint32(QDateTime::currentMSecsSinceEpoch()); }

    void sendRaw(quint32 object, quint32 opcode, const QByteArray& arguments)
    {
        m_socket.write(word(object) + word(quint32(8 + arguments.size()) << 16 | opcode) +
                       arguments);
    }
    void send(quint32 object, quint32 opcode, std::initializer_list<quint32> arguments)
    {
        QByteArray bytes;
        for (const quint32 argument : arguments)
            bytes += word(argument);
        sendRaw(object, opcode, bytes);
    }

    // Sends wl_display.sync and reads events until its answer: globals on
    // the way, and any protocol error as a failure.
    bool roundTrip()
    {
        const quint32 callback = m_nextId++;
        send(Display, 0, {callback});
        QByteArray& buffer = m_events;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            while (buffer.size() >= 8) {
                quint32 object;
                quint32 sizeAndOpcode;
                std::memcpy(&object, buffer.constData(), 4);
                std::memcpy(&sizeAndOpcode, buffer.constData() + 4, 4);
                const qsizetype size = sizeAndOpcode >> 16;
                const quint32 opcode = sizeAndOpcode & 0xffff;
                if (size < 8 || buffer.size() < size)
                    break;
                const QByteArray body = buffer.mid(8, size - 8);
                buffer.remove(0, size);
                if (object == Display && opcode == 0) {
                    // error(object, code, message)
                    m_problem = QString::fromUtf8(body.mid(12)).trimmed();
                    return false;
                }
                if (object == callback && opcode == 0)
                    return true; // done
                if (object == m_registry && opcode == 0 && body.size() >= 8) {
                    // global(name, interface, version)
                    quint32 name;
                    std::memcpy(&name, body.constData(), 4);
                    if (body.mid(8).startsWith(QByteArray(ManagerInterface) + '\0'))
                        m_global = name;
                }
            }
            if (!m_socket.waitForReadyRead(100) &&
                m_socket.state() != QLocalSocket::ConnectedState) {
                m_problem = QStringLiteral("the compositor closed the connection");
                return false;
            }
            buffer += m_socket.readAll();
        }
        m_problem = QStringLiteral("the compositor did not answer");
        return false;
    }

    QLocalSocket m_socket;
    // Read and not yet handled: the rest of a read may hold part of an event.
    QByteArray m_events;
    QString m_problem;
    quint32 m_nextId = 2;
    quint32 m_registry = 0;
    quint32 m_global = 0;
    quint32 m_pointer = 0;
};

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

    std::optional<ShownWindow> shownWindow(const QString& title)
    {
        const QJsonObject tree =
            QJsonDocument::fromJson(
                m_desktop->swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")}))
                .object();
        return shownInTree(tree, title);
    }
    bool windowShown(const QString& title) { return shownWindow(title).has_value(); }

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

    // A left click on the picture, or keys typed. The keys go to the frozen
    // picture or to "Pick&Save Color", whichever sway focused: both act on
    // the picture.
    void act(const QStringList& keys)
    {
        if (keys == QStringList{QStringLiteral("click")}) {
            WaylandVirtualPointer pointer;
            QVERIFY2(pointer.connect(
                         m_desktop->clientEnvironment().value(QStringLiteral("WAYLAND_DISPLAY"))),
                     qPrintable(pointer.problem()));
            QVERIFY2(pointer.click(QPoint(200, 600), QSize(1024, 768)),
                     qPrintable(pointer.problem()));
            return;
        }
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
        QTest::newRow("a click") << QStringList{"--print"} << QStringList{"click"} << 0
                                 << "#3A6EA5\n"
                                 << "#3A6EA5" << true;
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
        act(keys);
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
        QTest::newRow("a click, hsl") << QStringList{"--print", "--format", "hsl"}
                                      << QStringList{"click"} << 0 << "hsl(210.8 48% 43.7%)\n"
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
        QTRY_VERIFY_WITH_TIMEOUT(shownWindow(WaylandMainWindow)->focused, 5000);
        const ShownWindow main = *shownWindow(WaylandMainWindow);

        QProcess* pick = startTintora(QStringList{QStringLiteral("--pick")} + options, environment);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(WaylandPickWindow), 15000);
        // Out of the way of the picture while it is picked from.
        QVERIFY(!windowShown(WaylandMainWindow));
        act(keys);
        const WaylandFinished picked = finish(pick);
        QCOMPARE(picked.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(picked.out), printed);
        QCOMPARE(picked.err, QByteArray());
        // Back as it was: where it was, its size, and the keyboard focus.
        QTRY_VERIFY_WITH_TIMEOUT(shownWindow(WaylandMainWindow) == main, 5000);
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
