#pragma once

// The desktop portal's GlobalShortcuts interface as a test scripts it, on a
// bus of the test's own (PrivateBus).
#include "app/platform/GlobalShortcuts.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

namespace scriptedshortcuts {

inline const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace scriptedshortcuts

// A session object: records that the program closed it.
class ScriptedSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")
public:
    bool closed = false;
public slots:
    void Close() { closed = true; }
};

// The GlobalShortcuts interface as a test scripts it: answers each request
// with the response the test chose, on the request object the caller's
// handle_token names, and sends Activated when the test says so.
class ScriptedShortcuts : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    explicit ScriptedShortcuts(const QDBusConnection& connection) : m_connection(connection)
    {
        qDBusRegisterMetaType<BoundShortcut>();
        qDBusRegisterMetaType<QList<BoundShortcut>>();
    }
    bool publish()
    {
        return m_connection.registerObject(scriptedshortcuts::PortalPath, this,
                                           QDBusConnection::ExportAllSlots |
                                               QDBusConnection::ExportAllProperties) &&
               m_connection.registerService(scriptedshortcuts::PortalService);
    }
    uint version() const { return 1; }

    uint sessionResponse = 0;
    uint bindResponse = 0;
    QString sessionPath;
    ScriptedSession session;
    QList<BoundShortcut> bound;

    void activate(const QString& session, const QString& id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            scriptedshortcuts::PortalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
            QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1)
               << QVariantMap();
        m_connection.send(signal);
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        const QString sender = message().service().mid(1).replace('.', '_');
        sessionPath = QStringLiteral("/org/freedesktop/portal/desktop/session/") + sender + '/' +
                      options.value(QStringLiteral("session_handle_token")).toString();
        m_connection.registerObject(sessionPath, &session, QDBusConnection::ExportAllSlots);
        return respond(options, sessionResponse, {{QStringLiteral("session_handle"), sessionPath}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session,
                                  const QList<BoundShortcut>& shortcuts, const QString& parent,
                                  const QVariantMap& options)
    {
        Q_UNUSED(parent);
        if (session.path() == sessionPath)
            bound = shortcuts;
        return respond(options, bindResponse, {});
    }

private:
    QDBusObjectPath respond(const QVariantMap& options, uint response, const QVariantMap& results)
    {
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/") +
                             message().service().mid(1).replace('.', '_') + '/' +
                             options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(0, this, [this, path, response, results] {
            QDBusMessage signal = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            signal << response << results;
            m_connection.send(signal);
        });
        return QDBusObjectPath(path);
    }

    QDBusConnection m_connection;
};
