#include "app/platform/GlobalShortcuts.h"
#include "tests/support/ScriptedPortal.h"

#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace

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
        return m_connection.registerObject(PortalPath, this,
                                           QDBusConnection::ExportAllSlots |
                                               QDBusConnection::ExportAllProperties) &&
               m_connection.registerService(PortalService);
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
            PortalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
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

// The "Pick a colour" shortcut through the desktop portal, against a scripted
// portal on a bus of the test's own.
class tst_globalshortcuts : public QObject
{
    Q_OBJECT

private slots:
    void bind_thenActivate_data()
    {
        QTest::addColumn<uint>("sessionResponse");
        QTest::addColumn<uint>("bindResponse");
        QTest::addColumn<GlobalShortcuts::State>("state");
        QTest::newRow("bound") << 0u << 0u << GlobalShortcuts::State::Bound;
        QTest::newRow("user cancels the desktop's dialog")
            << 0u << 1u << GlobalShortcuts::State::Failed;
        QTest::newRow("desktop refuses the session") << 2u << 0u << GlobalShortcuts::State::Failed;
    }
    void bind_thenActivate()
    {
        QFETCH(uint, sessionResponse);
        QFETCH(uint, bindResponse);
        QFETCH(GlobalShortcuts::State, state);
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), qPrintable(bus.problem()));
        ScriptedShortcuts portal(bus.connect(QStringLiteral("portal")));
        portal.sessionResponse = sessionResponse;
        portal.bindResponse = bindResponse;
        QVERIFY(portal.publish());

        GlobalShortcuts shortcuts(bus.connect(QStringLiteral("program")));
        QVERIFY(shortcuts.available());
        QSignalSpy activations(&shortcuts, &GlobalShortcuts::activated);
        shortcuts.enable({QStringLiteral("pick"), QStringLiteral("Pick a colour"),
                          QStringLiteral("CTRL+ALT+c")});
        QCOMPARE(shortcuts.state(), GlobalShortcuts::State::Binding);
        QTRY_VERIFY2(shortcuts.state() != GlobalShortcuts::State::Binding,
                     "the portal's answers never arrived");
        QVERIFY2(shortcuts.state() == state, qPrintable(shortcuts.detail()));

        if (sessionResponse == 0) {
            QCOMPARE(portal.bound.size(), 1);
            QCOMPARE(portal.bound.first().id, QStringLiteral("pick"));
            QCOMPARE(portal.bound.first().properties.value(QStringLiteral("description")),
                     QVariant(QStringLiteral("Pick a colour")));
        }
        // Another program's session, then ours.
        portal.activate(QStringLiteral("/org/freedesktop/portal/desktop/session/other/x"),
                        QStringLiteral("pick"));
        portal.activate(portal.sessionPath, QStringLiteral("pick"));
        QTest::qWait(200);
        QCOMPARE(activations.size(), state == GlobalShortcuts::State::Bound ? 1 : 0);
        if (!activations.isEmpty())
            QCOMPARE(activations.first().first().toString(), QStringLiteral("pick"));

        // Turning it off closes the session and no activation arrives after.
        shortcuts.disable();
        QCOMPARE(shortcuts.state(), GlobalShortcuts::State::Off);
        if (sessionResponse == 0)
            QTRY_VERIFY(portal.session.closed);
        portal.activate(portal.sessionPath, QStringLiteral("pick"));
        QTest::qWait(100);
        QCOMPARE(activations.size(), state == GlobalShortcuts::State::Bound ? 1 : 0);
    }

    void noPortal_fails_withoutWaiting()
    {
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), qPrintable(bus.problem()));
        GlobalShortcuts shortcuts(bus.connect(QStringLiteral("program")));
        QVERIFY(!shortcuts.available());
        shortcuts.enable({QStringLiteral("pick"), QStringLiteral("Pick a colour"), {}});
        QTRY_COMPARE(shortcuts.state(), GlobalShortcuts::State::Failed);
        QVERIFY(!shortcuts.detail().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_globalshortcuts)
#include "tst_globalshortcuts.moc"
