#include "tests/support/HeadlessDesktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString AccessService = QStringLiteral("org.freedesktop.impl.portal.desktop.tintoratest");
const QString AccessPath = QStringLiteral("/org/freedesktop/portal/desktop");

// Grants every Access dialog the portal would show.
class GrantingAccess : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.Access")
public slots:
    uint AccessDialog(const QDBusObjectPath&, const QString&, const QString&, const QString&,
                      const QString&, const QString&, const QVariantMap&, QVariantMap& results)
    {
        results.clear();
        return 0;
    }
};

struct Needed
{
    const char* program;
    const char* package;
};

const Needed NeededPrograms[] = {
    {"dbus-daemon", "dbus-daemon"},
    {"sway", "sway"},
    {"swaymsg", "sway"},
    {"setpriv", "util-linux"},
    {"pipewire", "pipewire"},
    {"grim", "grim"},
    {"/usr/libexec/xdg-desktop-portal", "xdg-desktop-portal"},
    {"/usr/libexec/xdg-desktop-portal-wlr", "xdg-desktop-portal-wlr"},
};

bool findable(const QString& program)
{
    if (program.startsWith(QLatin1Char('/')))
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool makePrivateFolder(const QString& path)
{
    return QDir().mkpath(path) &&
           QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
}

} // namespace

HeadlessDesktop::HeadlessDesktop() = default;

HeadlessDesktop::~HeadlessDesktop()
{
    // Off the bus while it still runs. Qt's D-Bus thread deletes a connection
    // in its own time and then touches every object still registered on it:
    // one deleted meanwhile made the test crash after its cases had passed.
    if (!m_busConnection.isEmpty()) {
        QDBusConnection bus(m_busConnection);
        bus.unregisterObject(AccessPath);
        bus.unregisterService(AccessService);
    }
    m_access.reset();
    if (!m_busConnection.isEmpty())
        QDBusConnection::disconnectFromBus(m_busConnection);
    // The last started first: the portal before its backend, sway before the bus.
    for (auto process = m_processes.rbegin(); process != m_processes.rend(); ++process) {
        if ((*process)->state() == QProcess::NotRunning)
            continue;
        (*process)->terminate();
        if (!(*process)->waitForFinished(3000)) {
            (*process)->kill();
            (*process)->waitForFinished(3000);
        }
    }
    // The bus started the document portal for the desktop portal, with its
    // file system mounted in the runtime folder; it unmounts once it sees the
    // bus gone. Until then the temporary folder cannot be removed.
    const QByteArray mount = ' ' + QFile::encodeName(m_runtime) + "/doc ";
    QElapsedTimer clock;
    clock.start();
    while (!m_runtime.isEmpty() && clock.elapsed() < 5000) {
        QFile mounts(QStringLiteral("/proc/self/mountinfo"));
        if (!mounts.open(QIODevice::ReadOnly) || !mounts.readAll().contains(mount))
            break;
        QThread::msleep(20);
    }
}

QStringList HeadlessDesktop::missingPackages()
{
    QStringList missing;
    for (const Needed& needed : NeededPrograms)
        if (!findable(QString::fromLatin1(needed.program)) &&
            !missing.contains(QLatin1String(needed.package)))
            missing.append(QString::fromLatin1(needed.package));
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    if (!QFileInfo::exists(plugins + QStringLiteral("/platforms/libqwayland-generic.so")))
        missing.append(QStringLiteral("qt6-wayland"));
    return missing;
}

QString HeadlessDesktop::logFile(const QString& name) const
{
    return m_folder.filePath(name + QStringLiteral(".log"));
}

QProcess* HeadlessDesktop::launch(const QString& name, const QString& program,
                                  const QStringList& arguments,
                                  const QProcessEnvironment& environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    if (name == QLatin1String("dbus")) {
        // Its first line on standard output is the bus address.
        process->setStandardErrorFile(logFile(name));
    } else {
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(logFile(name));
    }
    process->start(program, arguments);
    if (!process->waitForStarted(5000)) {
        m_problem = QStringLiteral("%1 does not start: %2").arg(name, process->errorString());
        return nullptr;
    }
    m_names.append(name);
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

bool HeadlessDesktop::waitForBusName(const QString& name, int milliseconds)
{
    QDBusConnection bus(m_busConnection);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        if (bus.interface()->isServiceRegistered(name))
            return true;
        QTest::qWait(20);
    }
    m_problem = QStringLiteral("%1 did not appear on the bus").arg(name);
    return false;
}

bool HeadlessDesktop::start(const Options& options)
{
    if (!m_folder.isValid()) {
        m_problem = QStringLiteral("no temporary folder");
        return false;
    }
    const bool root = geteuid() == 0;
    m_runtime = m_folder.filePath(QStringLiteral("runtime"));
    m_swayRuntime = m_folder.filePath(QStringLiteral("sway-runtime"));
    if (!makePrivateFolder(m_runtime) || !makePrivateFolder(m_swayRuntime)) {
        m_problem = QStringLiteral("no runtime folders");
        return false;
    }
    // sway refuses to run as root: it runs as nobody, in a folder of its own.
    constexpr int Nobody = 65534;
    if (root && (::chown(QFile::encodeName(m_swayRuntime).constData(), Nobody, Nobody) != 0 ||
                 ::chmod(QFile::encodeName(m_folder.path()).constData(), 0755) != 0)) {
        m_problem = QStringLiteral("the sway runtime folder cannot be handed over");
        return false;
    }

    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "SWAYSOCK",
                             "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        base.remove(QString::fromLatin1(name));
    base.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
    base.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("sway"));

    QProcess* bus = launch(QStringLiteral("dbus"), QStringLiteral("dbus-daemon"),
                           {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address")},
                           base);
    if (!bus)
        return false;
    while (!bus->canReadLine() && bus->waitForReadyRead(5000)) {
    }
    m_busAddress = QString::fromUtf8(bus->readLine()).trimmed();
    if (m_busAddress.isEmpty()) {
        m_problem = QStringLiteral("dbus-daemon gave no address");
        return false;
    }
    m_busConnection = QStringLiteral("headless-desktop-%1").arg(quintptr(this));
    QDBusConnection connection = QDBusConnection::connectToBus(m_busAddress, m_busConnection);
    if (!connection.isConnected()) {
        m_problem = QStringLiteral("the private bus refuses connections");
        return false;
    }
    base.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);

    QString config = QStringLiteral("xwayland disable\ndefault_border none\n");
    for (qsizetype i = 0; i < options.outputs.size(); ++i) {
        const Output& output = options.outputs.at(i);
        config += QStringLiteral("output HEADLESS-%1 mode %2x%3 scale %4 position %5 %6\n")
                      .arg(i + 1)
                      .arg(output.mode.width())
                      .arg(output.mode.height())
                      .arg(output.scale)
                      .arg(output.position.x())
                      .arg(output.position.y());
    }
    const QString configPath = m_folder.filePath(QStringLiteral("sway.conf"));
    QFile configFile(configPath);
    if (!configFile.open(QIODevice::WriteOnly)) {
        m_problem = configFile.errorString();
        return false;
    }
    configFile.write(config.toUtf8());
    configFile.close();
    configFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadOther | QFileDevice::ReadGroup);

    QProcessEnvironment swayEnvironment = base;
    swayEnvironment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    swayEnvironment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_swayRuntime);
    swayEnvironment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    swayEnvironment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    swayEnvironment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    swayEnvironment.insert(QStringLiteral("WLR_HEADLESS_OUTPUTS"),
                           QString::number(qMax<qsizetype>(1, options.outputs.size())));
    QStringList swayCommand{QStringLiteral("sway"), QStringLiteral("-c"), configPath};
    if (root)
        swayCommand = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")} +
                      swayCommand;
    if (!launch(QStringLiteral("sway"), root ? QStringLiteral("setpriv") : QStringLiteral("sway"),
                root ? swayCommand : swayCommand.mid(1), swayEnvironment))
        return false;
    m_waylandSocket = m_swayRuntime + QStringLiteral("/wayland-1");
    QElapsedTimer clock;
    clock.start();
    while (m_swaySocket.isEmpty() && clock.elapsed() < 10000) {
        const QStringList ipc =
            QDir(m_swayRuntime).entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        if (QFileInfo::exists(m_waylandSocket) && !ipc.isEmpty())
            m_swaySocket = m_swayRuntime + QLatin1Char('/') + ipc.constFirst();
        else
            QThread::msleep(20);
    }
    if (m_swaySocket.isEmpty()) {
        m_problem = QStringLiteral("sway did not come up");
        return false;
    }
    base.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandSocket);

    // The wlroots backend quits without PipeWire.
    if (!launch(QStringLiteral("pipewire"), QStringLiteral("pipewire"), {}, base))
        return false;
    const QString pipewireSocket = m_runtime + QStringLiteral("/pipewire-0");
    clock.restart();
    while (!QFileInfo::exists(pipewireSocket) && clock.elapsed() < 10000)
        QThread::msleep(10);
    if (!QFileInfo::exists(pipewireSocket)) {
        m_problem = QStringLiteral("PipeWire did not come up");
        return false;
    }
    QProcessEnvironment backend = base;
    if (!options.backendTools.isEmpty())
        backend.insert(QStringLiteral("PATH"), options.backendTools + QLatin1Char(':') +
                                                   base.value(QStringLiteral("PATH")));
    if (!launch(QStringLiteral("xdg-desktop-portal-wlr"),
                QStringLiteral("/usr/libexec/xdg-desktop-portal-wlr"), {}, backend) ||
        !waitForBusName(QStringLiteral("org.freedesktop.impl.portal.desktop.wlr"), 10000))
        return false;

    m_access = std::make_unique<GrantingAccess>();
    if (!connection.registerObject(AccessPath, m_access.get(), QDBusConnection::ExportAllSlots) ||
        !connection.registerService(AccessService)) {
        m_problem = QStringLiteral("the Access service cannot be put on the bus");
        return false;
    }
    const QString portals = m_folder.filePath(QStringLiteral("portals"));
    QDir().mkpath(portals);
    QFile::copy(QStringLiteral("/usr/share/xdg-desktop-portal/portals/wlr.portal"),
                portals + QStringLiteral("/wlr.portal"));
    QFile access(portals + QStringLiteral("/tintoratest.portal"));
    if (!access.open(QIODevice::WriteOnly)) {
        m_problem = access.errorString();
        return false;
    }
    access.write("[portal]\nDBusName=" + AccessService.toLatin1() +
                 "\nInterfaces=org.freedesktop.impl.portal.Access;\nUseIn=sway;\n");
    access.close();
    QProcessEnvironment frontend = base;
    frontend.insert(QStringLiteral("XDG_DESKTOP_PORTAL_DIR"), portals);
    if (!launch(QStringLiteral("xdg-desktop-portal"),
                QStringLiteral("/usr/libexec/xdg-desktop-portal"), {}, frontend) ||
        !waitForBusName(QStringLiteral("org.freedesktop.portal.Desktop"), 10000))
        return false;
    return true;
}

QProcessEnvironment HeadlessDesktop::clientEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("QT_WAYLAND_DISABLE_WINDOWDECORATION"), QStringLiteral("1"));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandSocket);
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("sway"));
    return environment;
}

QByteArray HeadlessDesktop::swaymsg(const QStringList& arguments) const
{
    QProcess process;
    process.start(QStringLiteral("swaymsg"),
                  QStringList{QStringLiteral("-s"), m_swaySocket} + arguments);
    process.waitForFinished(5000);
    return process.readAllStandardOutput();
}

QString HeadlessDesktop::logs() const
{
    QString all;
    for (const QString& name : m_names) {
        QFile file(logFile(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        all += QStringLiteral("--- %1\n").arg(name) + QString::fromUtf8(file.readAll().right(3000));
    }
    return all;
}

#include "HeadlessDesktop.moc"
