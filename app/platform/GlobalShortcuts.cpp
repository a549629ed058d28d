#include "app/platform/GlobalShortcuts.h"

#include "app/platform/DesktopPortal.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

#include <atomic>

namespace {

const QString ShortcutsPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString ShortcutsPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString ShortcutsRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString SessionInterface = QStringLiteral("org.freedesktop.portal.Session");
constexpr int AvailableWaitMs = 1000;

// Valid as an object path element: letters, digits and underscores.
QString nextShortcutsToken()
{
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("tintora_shortcuts_%1_%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const BoundShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, BoundShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

GlobalShortcuts::GlobalShortcuts(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{
    qDBusRegisterMetaType<BoundShortcut>();
    qDBusRegisterMetaType<QList<BoundShortcut>>();
}

GlobalShortcuts::~GlobalShortcuts()
{
    disable();
}

bool GlobalShortcuts::available()
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        ShortcutsPortalService, ShortcutsPortalPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << ShortcutsInterface << QStringLiteral("version");
    // A local loop rather than a blocking call: the portal may live on this
    // thread (a test's), and user input stays queued meanwhile.
    QDBusPendingCallWatcher watcher(m_bus.asyncCall(get, AvailableWaitMs));
    QEventLoop loop;
    QTimer::singleShot(AvailableWaitMs, &loop, &QEventLoop::quit);
    connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!watcher.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const QDBusMessage reply = watcher.reply();
    return watcher.isFinished() && reply.type() == QDBusMessage::ReplyMessage &&
           !reply.arguments().isEmpty();
}

void GlobalShortcuts::setState(State state, const QString& detail)
{
    m_detail = detail;
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void GlobalShortcuts::enable(const Shortcut& shortcut)
{
    if (m_state == State::Binding || m_state == State::Bound)
        return;
    m_shortcut = shortcut;
    QVariantMap options;
    options.insert(QStringLiteral("session_handle_token"), nextShortcutsToken());
    setState(State::Binding);
    request(QStringLiteral("CreateSession"), {}, options,
            SLOT(onSessionResponse(uint, QVariantMap)));
}

void GlobalShortcuts::disable()
{
    stopListening();
    if (!m_session.isEmpty()) {
        m_bus.disconnect(ShortcutsPortalService, ShortcutsPortalPath, ShortcutsInterface,
                         QStringLiteral("Activated"), this,
                         SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        m_bus.asyncCall(QDBusMessage::createMethodCall(ShortcutsPortalService, m_session,
                                                       SessionInterface, QStringLiteral("Close")));
        m_session.clear();
    }
    setState(State::Off);
}

bool GlobalShortcuts::request(const QString& method, const QVariantList& arguments,
                              QVariantMap options, const char* slot)
{
    if (!m_bus.isConnected()) {
        setState(State::Failed, QStringLiteral("there is no session bus"));
        return false;
    }
    stopListening();
    const QString token = nextShortcutsToken();
    options.insert(QStringLiteral("handle_token"), token);
    // Listening before the call: the portal may answer before the call's own
    // reply arrives.
    m_requestPath = desktopportal::RequestPath(m_bus.baseService(), token);
    m_requestSlot = slot;
    m_bus.connect(ShortcutsPortalService, m_requestPath, ShortcutsRequestInterface,
                  QStringLiteral("Response"), this, slot);

    QDBusMessage call = QDBusMessage::createMethodCall(ShortcutsPortalService, ShortcutsPortalPath,
                                                       ShortcutsInterface, method);
    QVariantList all = arguments;
    all.append(options);
    call.setArguments(all);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, expected = m_requestPath] {
                watcher->deleteLater();
                if (m_requestPath != expected)
                    return;
                const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                if (reply.isError()) {
                    stopListening();
                    setState(State::Failed,
                             reply.error().name() + QStringLiteral(": ") + reply.error().message());
                    return;
                }
                // Older portals chose the request path themselves.
                const QString handle = reply.value().path();
                if (!handle.isEmpty() && handle != m_requestPath) {
                    const char* slot = m_requestSlot;
                    stopListening();
                    m_requestPath = handle;
                    m_requestSlot = slot;
                    m_bus.connect(ShortcutsPortalService, m_requestPath, ShortcutsRequestInterface,
                                  QStringLiteral("Response"), this, slot);
                }
            });
    return true;
}

void GlobalShortcuts::stopListening()
{
    if (m_requestPath.isEmpty())
        return;
    m_bus.disconnect(ShortcutsPortalService, m_requestPath, ShortcutsRequestInterface,
                     QStringLiteral("Response"), this, m_requestSlot);
    m_requestPath.clear();
    m_requestSlot = nullptr;
}

void GlobalShortcuts::onSessionResponse(uint response, const QVariantMap& results)
{
    stopListening();
    if (m_state != State::Binding)
        return;
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    m_session = handle.canConvert<QDBusObjectPath>() && handle.userType() != QMetaType::QString
                    ? handle.value<QDBusObjectPath>().path()
                    : handle.toString();
    if (response != 0 || m_session.isEmpty()) {
        m_session.clear();
        setState(State::Failed, response == 1
                                    ? QStringLiteral("the desktop's dialog was cancelled")
                                    : QStringLiteral("the desktop made no shortcut session"));
        return;
    }
    // Activations name their session; listening from now on catches them all.
    m_bus.connect(ShortcutsPortalService, ShortcutsPortalPath, ShortcutsInterface,
                  QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    QVariantMap properties;
    properties.insert(QStringLiteral("description"), m_shortcut.description);
    if (!m_shortcut.preferredTrigger.isEmpty())
        properties.insert(QStringLiteral("preferred_trigger"), m_shortcut.preferredTrigger);
    const QList<BoundShortcut> shortcuts{{m_shortcut.id, properties}};
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString()},
            {}, SLOT(onBindResponse(uint, QVariantMap)));
}

void GlobalShortcuts::onBindResponse(uint response, const QVariantMap& results)
{
    Q_UNUSED(results);
    stopListening();
    if (m_state != State::Binding)
        return;
    if (response != 0) {
        disable();
        setState(State::Failed, response == 1 ? QStringLiteral("the desktop's dialog was cancelled")
                                              : QStringLiteral("the desktop refused the shortcut"));
        return;
    }
    setState(State::Bound);
}

void GlobalShortcuts::onActivated(const QDBusObjectPath& session, const QString& id,
                                  qulonglong timestamp, const QVariantMap& options)
{
    Q_UNUSED(timestamp);
    Q_UNUSED(options);
    if (m_state == State::Bound && session.path() == m_session)
        emit activated(id);
}
