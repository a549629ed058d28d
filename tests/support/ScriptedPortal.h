#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

// A D-Bus daemon of the test's own, with no service activation, so that
// nothing but what the test puts there answers on it. Ended by its process
// id when the object goes.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when the daemon could not be started; `problem` says why.
    QString address() const { return m_address; }
    QString problem() const { return m_problem; }
    // A new connection of its own to the bus.
    QDBusConnection connect(const QString& name) const;

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QString m_problem;
    QStringList m_connections;
};

// The desktop portal's Screenshot interface as a test scripts it: each
// call takes the next answer, records what it was asked, and answers with a
// Response on the request object named by the caller's handle_token.
class ScriptedPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
    Q_PROPERTY(uint version READ version)
public:
    struct Answer
    {
        // -1: never answers.
        int response = 0;
        QVariantMap results;
        // A D-Bus error instead of a request handle (the method is refused).
        QString errorName;
        // Answers on a request path of its own choosing, as older portals did.
        bool ownHandle = false;
        // Sends the Response before the call's own reply.
        bool beforeReply = false;
    };
    struct Call
    {
        QString method;
        QString parentWindow;
        QVariantMap options;
        QString handle;
    };

    explicit ScriptedPortal(const QDBusConnection& connection);
    ~ScriptedPortal() override;

    // Takes the portal's name on the bus; false when it could not.
    bool publish();

    QList<Answer> answers;
    QList<Call> calls;
    // Request objects the caller closed.
    QStringList closed;
    uint portalVersion = 2;

    uint version() const { return portalVersion; }

public slots:
    QDBusObjectPath Screenshot(const QString& parentWindow, const QVariantMap& options);
    QDBusObjectPath PickColor(const QString& parentWindow, const QVariantMap& options);

private:
    QDBusObjectPath answer(const QString& method, const QString& parentWindow,
                           const QVariantMap& options);
    void respond(const QString& path, const Answer& answer);

    QDBusConnection m_connection;
    QList<std::shared_ptr<QObject>> m_requests;
};
