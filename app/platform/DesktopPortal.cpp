#include "app/platform/DesktopPortal.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <cmath>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// Catches the one Response of a request object.
class ResponseCatcher : public QObject
{
    Q_OBJECT
public:
    bool answered = false;
    uint response = 2;
    QVariantMap results;

signals:
    void arrived();

public slots:
    void onResponse(uint code, const QVariantMap& values)
    {
        if (answered)
            return;
        answered = true;
        response = code;
        results = values;
        emit arrived();
    }
};

// Unique within the process and valid as a path element: letters, digits
// and underscores only.
QString nextToken()
{
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("tintora_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

DesktopPortal::Status statusOfError(const QDBusError& error)
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoServer:
    case QDBusError::Disconnected:
        return DesktopPortal::Status::NoPortal;
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
    case QDBusError::NotSupported:
        return DesktopPortal::Status::Unsupported;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return DesktopPortal::Status::NoAnswer;
    default:
        return DesktopPortal::Status::Failed;
    }
}

// Waits in a local loop until `done` holds or `deadline` passes; user input
// stays queued, so no window acts while the portal decides.
template <typename Done>
bool waitFor(QObject* signaller, const char* signal, const QDeadlineTimer& deadline, Done done)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(signaller, signal, &loop, SLOT(quit()));
    while (!done() && !deadline.hasExpired()) {
        timer.start(int(qMax<qint64>(1, deadline.remainingTime())));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return done();
}

} // namespace

DesktopPortal::DesktopPortal(const QDBusConnection& bus, std::chrono::milliseconds patience)
    : m_bus(bus), m_patience(patience)
{
}

DesktopPortal::Reply DesktopPortal::screenshot(const QString& parentWindow)
{
    QVariantMap options;
    options.insert(QStringLiteral("interactive"), false);
    options.insert(QStringLiteral("modal"), false);
    return request(QStringLiteral("Screenshot"), parentWindow, options);
}

DesktopPortal::Reply DesktopPortal::pickColor(const QString& parentWindow)
{
    return request(QStringLiteral("PickColor"), parentWindow, {});
}

std::optional<uint> DesktopPortal::screenshotVersion()
{
    if (!m_bus.isConnected())
        return std::nullopt;
    QDBusMessage get = QDBusMessage::createMethodCall(
        PortalService, PortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << ScreenshotInterface << QStringLiteral("version");
    const QDeadlineTimer deadline(m_patience);
    QDBusPendingCallWatcher watcher(m_bus.asyncCall(get, int(m_patience.count())));
    waitFor(&watcher, SIGNAL(finished(QDBusPendingCallWatcher*)), deadline,
            [&] { return watcher.isFinished(); });
    if (!watcher.isFinished())
        return std::nullopt;
    const QDBusMessage reply = watcher.reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    bool ok = false;
    const uint version = value.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return version;
}

DesktopPortal::Reply DesktopPortal::request(const QString& method, const QString& parentWindow,
                                            QVariantMap options)
{
    if (!m_bus.isConnected())
        return {Status::NoPortal, {}, m_bus.lastError().message()};
    const QDeadlineTimer deadline(m_patience);
    const QString token = nextToken();
    options.insert(QStringLiteral("handle_token"), token);

    // Listening before the call: the portal may answer before the call's own
    // reply arrives.
    ResponseCatcher catcher;
    QString listening = desktopportal::RequestPath(m_bus.baseService(), token);
    auto listen = [&](const QString& path, bool on) {
        if (on)
            m_bus.connect(PortalService, path, RequestInterface, QStringLiteral("Response"),
                          &catcher, SLOT(onResponse(uint, QVariantMap)));
        else
            m_bus.disconnect(PortalService, path, RequestInterface, QStringLiteral("Response"),
                             &catcher, SLOT(onResponse(uint, QVariantMap)));
    };
    listen(listening, true);

    QDBusMessage call =
        QDBusMessage::createMethodCall(PortalService, PortalPath, ScreenshotInterface, method);
    call << parentWindow << options;
    QDBusPendingCallWatcher watcher(
        m_bus.asyncCall(call, int(qMax<qint64>(1, deadline.remainingTime()))));
    waitFor(&watcher, SIGNAL(finished(QDBusPendingCallWatcher*)), deadline,
            [&] { return watcher.isFinished(); });
    if (!watcher.isFinished()) {
        listen(listening, false);
        return {Status::NoAnswer, {}, QStringLiteral("the portal did not answer the call")};
    }
    const QDBusMessage reply = watcher.reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        listen(listening, false);
        const QDBusError error(reply);
        return {statusOfError(error), {}, error.name() + QStringLiteral(": ") + error.message()};
    }

    // Older portals chose the request path themselves.
    const QString handle = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != listening && !catcher.answered) {
        listen(listening, false);
        listening = handle;
        listen(listening, true);
    }
    waitFor(&catcher, SIGNAL(arrived()), deadline, [&] { return catcher.answered; });
    listen(listening, false);
    if (!catcher.answered) {
        // Let the portal drop its dialog: nobody waits for it any more.
        m_bus.asyncCall(QDBusMessage::createMethodCall(PortalService, listening, RequestInterface,
                                                       QStringLiteral("Close")));
        return {Status::NoAnswer, {}, QStringLiteral("the portal sent no response")};
    }
    switch (catcher.response) {
    case 0:
        return {Status::Answered, catcher.results, {}};
    case 1:
        return {Status::Cancelled, catcher.results, {}};
    default:
        return {Status::Failed, catcher.results,
                QStringLiteral("the portal responded %1").arg(catcher.response)};
    }
}

namespace desktopportal {

QString RequestPath(const QString& uniqueName, const QString& token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') +
           token;
}

ScreenshotFile TakeScreenshotFile(const QString& uri, const QDateTime& requestedAt)
{
    ScreenshotFile taken;
    const QUrl url(uri);
    if (!url.isValid() || !url.isLocalFile()) {
        taken.error = QStringLiteral("the portal named no local file: %1").arg(uri);
        return taken;
    }
    const QString path = url.toLocalFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        taken.error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return taken;
    }
    taken.data = file.readAll();
    file.close();

    const QFileInfo info(path);
    // File times may be kept to the whole second only.
    const QDateTime since = requestedAt.addMSecs(-(requestedAt.toMSecsSinceEpoch() % 1000));
    if (!info.isSymLink() && info.isFile() && info.lastModified() >= since)
        taken.removed = QFile::remove(path);
    return taken;
}

std::optional<Color> PickedColor(const QVariantMap& results)
{
    const auto found = results.constFind(QStringLiteral("color"));
    if (found == results.constEnd() || !found->canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument argument = found->value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(ddd)"))
        return std::nullopt;
    double channels[3] = {0, 0, 0};
    argument.beginStructure();
    argument >> channels[0] >> channels[1] >> channels[2];
    argument.endStructure();
    int bytes[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const double scaled = channels[i] * 255.0;
        // The default rounding mode rounds ties to even; NaN counts as 0.
        bytes[i] = std::isnan(scaled) ? 0 : int(std::nearbyint(qBound(0.0, scaled, 255.0)));
    }
    return bascommon::MakeColor(bytes[0], bytes[1], bytes[2]);
}

} // namespace desktopportal

#include "DesktopPortal.moc"
