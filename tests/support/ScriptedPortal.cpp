#include "tests/support/ScriptedPortal.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QFile>
#include <QTimer>

#include "app/platform/DesktopPortal.h"

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The request object, for the Close a caller may send it.
class ScriptedRequest : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    ScriptedRequest(ScriptedPortal& portal, const QString& path) : m_portal(portal), m_path(path) {}
public slots:
    void Close() { m_portal.closed.append(m_path); }

private:
    ScriptedPortal& m_portal;
    QString m_path;
};

} // namespace

PrivateBus::PrivateBus()
{
    if (!m_folder.isValid()) {
        m_problem = QStringLiteral("no temporary folder");
        return;
    }
    const QString config = m_folder.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_problem = file.errorString();
        return;
    }
    file.write(
        QStringLiteral(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
            "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:path=%1</listen>"
            "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
            "<allow receive_sender=\"*\"/>"
            "<allow own=\"*\"/></policy></busconfig>\n")
            .arg(m_folder.filePath(QStringLiteral("bus")))
            .toUtf8());
    file.close();
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address")});
    if (!m_daemon.waitForStarted(5000)) {
        m_problem = QStringLiteral("dbus-daemon cannot be started: ") + m_daemon.errorString();
        return;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty())
        m_problem = QStringLiteral("dbus-daemon gave no address");
}

PrivateBus::~PrivateBus()
{
    for (const QString& name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(3000))
            m_daemon.kill();
        m_daemon.waitForFinished(3000);
    }
}

QDBusConnection PrivateBus::connect(const QString& name) const
{
    const_cast<QStringList&>(m_connections).append(name);
    return QDBusConnection::connectToBus(m_address, name);
}

ScriptedPortal::ScriptedPortal(const QDBusConnection& connection) : m_connection(connection) {}

ScriptedPortal::~ScriptedPortal()
{
    m_connection.unregisterObject(PortalPath);
    m_connection.unregisterService(PortalService);
}

bool ScriptedPortal::publish()
{
    return m_connection.registerObject(PortalPath, this,
                                       QDBusConnection::ExportAllSlots |
                                           QDBusConnection::ExportAllProperties) &&
           m_connection.registerService(PortalService);
}

QDBusObjectPath ScriptedPortal::Screenshot(const QString& parentWindow, const QVariantMap& options)
{
    return answer(QStringLiteral("Screenshot"), parentWindow, options);
}

QDBusObjectPath ScriptedPortal::PickColor(const QString& parentWindow, const QVariantMap& options)
{
    return answer(QStringLiteral("PickColor"), parentWindow, options);
}

QDBusObjectPath ScriptedPortal::answer(const QString& method, const QString& parentWindow,
                                       const QVariantMap& options)
{
    const Answer next = answers.isEmpty() ? Answer{-1, {}, {}, false, false} : answers.takeFirst();
    QString path = desktopportal::RequestPath(
        message().service(), options.value(QStringLiteral("handle_token")).toString());
    if (next.ownHandle)
        path = QStringLiteral("/org/freedesktop/portal/desktop/request/elsewhere/r%1")
                   .arg(calls.size());
    calls.append({method, parentWindow, options, path});
    if (!next.errorName.isEmpty()) {
        sendErrorReply(next.errorName, QStringLiteral("refused by the script"));
        return {};
    }
    auto request = std::make_shared<ScriptedRequest>(*this, path);
    m_connection.registerObject(path, request.get(), QDBusConnection::ExportAllSlots);
    m_requests.append(request);
    if (next.response >= 0) {
        if (next.beforeReply)
            respond(path, next);
        else
            QTimer::singleShot(20, this, [this, path, next] { respond(path, next); });
    }
    return QDBusObjectPath(path);
}

void ScriptedPortal::respond(const QString& path, const Answer& answer)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    signal << uint(answer.response) << answer.results;
    m_connection.send(signal);
    m_connection.unregisterObject(path);
}

#include "ScriptedPortal.moc"
