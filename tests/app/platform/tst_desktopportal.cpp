#include "app/platform/DesktopPortal.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

#include "tests/support/ScriptedPortal.h"

#include <cmath>
#include <limits>
#include <memory>

using namespace bascommon;
using Status = DesktopPortal::Status;

namespace {

// The colour of a PickColor answer, as the portal marshals it: (ddd).
struct PortalRgb
{
    double red = 0;
    double green = 0;
    double blue = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalRgb& rgb)
{
    argument.beginStructure();
    argument << rgb.red << rgb.green << rgb.blue;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalRgb& rgb)
{
    argument.beginStructure();
    argument >> rgb.red >> rgb.green >> rgb.blue;
    argument.endStructure();
    return argument;
}

constexpr std::chrono::milliseconds ShortPatience{400};

} // namespace

Q_DECLARE_METATYPE(PortalRgb)
Q_DECLARE_METATYPE(DesktopPortal::Status)

class tst_desktopportal : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void screenshot_data();
    void screenshot();
    void everyCall_hasATokenOfItsOwn();
    void noPortalOnTheBus_isNoPortal();
    void version_ofTheInterface();
    void pickColor_roundsToBytes_data();
    void pickColor_roundsToBytes();
    void pickColor_withoutAColor();
    void takeScreenshotFile_data();
    void takeScreenshotFile();

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<ScriptedPortal> m_portal;
    QDBusConnection client() const { return QDBusConnection(QStringLiteral("client")); }
};

void tst_desktopportal::initTestCase()
{
    qDBusRegisterMetaType<PortalRgb>();
    m_bus = std::make_unique<PrivateBus>();
    if (m_bus->address().isEmpty())
        QSKIP(qPrintable(QStringLiteral("no private D-Bus daemon (install dbus-daemon): ") +
                         m_bus->problem()));
    QVERIFY(m_bus->connect(QStringLiteral("client")).isConnected());
    QVERIFY(m_bus->connect(QStringLiteral("portal")).isConnected());
}

void tst_desktopportal::init()
{
    m_portal = std::make_unique<ScriptedPortal>(QDBusConnection(QStringLiteral("portal")));
}

void tst_desktopportal::cleanup()
{
    m_portal.reset();
}

void tst_desktopportal::screenshot_data()
{
    QTest::addColumn<int>("response");
    QTest::addColumn<QString>("errorName");
    QTest::addColumn<bool>("ownHandle");
    QTest::addColumn<bool>("beforeReply");
    QTest::addColumn<Status>("expected");
    QTest::newRow("answered") << 0 << QString() << false << false << Status::Answered;
    // The reason for listening before calling.
    QTest::newRow("answered before the call returns")
        << 0 << QString() << false << true << Status::Answered;
    QTest::newRow("answered on the portal's own request path")
        << 0 << QString() << true << false << Status::Answered;
    QTest::newRow("cancelled") << 1 << QString() << false << false << Status::Cancelled;
    QTest::newRow("refused") << 2 << QString() << false << false << Status::Failed;
    QTest::newRow("unknown response") << 7 << QString() << false << false << Status::Failed;
    QTest::newRow("no answer") << -1 << QString() << false << false << Status::NoAnswer;
    QTest::newRow("method refused")
        << 0 << QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod") << false << false
        << Status::Unsupported;
    QTest::newRow("not supported") << 0 << QStringLiteral("org.freedesktop.DBus.Error.NotSupported")
                                   << false << false << Status::Unsupported;
    QTest::newRow("portal error") << 0 << QStringLiteral("org.freedesktop.portal.Error.Failed")
                                  << false << false << Status::Failed;
}

void tst_desktopportal::screenshot()
{
    QFETCH(int, response);
    QFETCH(QString, errorName);
    QFETCH(bool, ownHandle);
    QFETCH(bool, beforeReply);
    QFETCH(Status, expected);
    QVERIFY(m_portal->publish());
    const QVariantMap results{
        {QStringLiteral("uri"), QStringLiteral("file:///somewhere/shot.png")}};
    m_portal->answers.append({response, results, errorName, ownHandle, beforeReply});

    DesktopPortal portal(client(), ShortPatience);
    QElapsedTimer clock;
    clock.start();
    const DesktopPortal::Reply reply = portal.screenshot(QString());
    QCOMPARE(reply.status, expected);
    // However the portal behaves, the caller waits no longer than it said.
    QVERIFY(clock.elapsed() < ShortPatience.count() + 1000);

    QCOMPARE(m_portal->calls.size(), 1);
    const ScriptedPortal::Call& call = m_portal->calls.constFirst();
    QCOMPARE(call.method, QStringLiteral("Screenshot"));
    QCOMPARE(call.options.value(QStringLiteral("interactive")), QVariant(false));
    const QString token = call.options.value(QStringLiteral("handle_token")).toString();
    QVERIFY2(QRegularExpression(QStringLiteral("^[A-Za-z0-9_]+$")).match(token).hasMatch(),
             qPrintable(token));
    if (expected == Status::Answered)
        QCOMPARE(reply.results, results);
    // A request given up on is closed, so the portal can drop its dialog.
    const QStringList closed =
        expected == Status::NoAnswer ? QStringList{call.handle} : QStringList();
    QTRY_COMPARE_WITH_TIMEOUT(m_portal->closed, closed, 2000);
}

void tst_desktopportal::everyCall_hasATokenOfItsOwn()
{
    QVERIFY(m_portal->publish());
    m_portal->answers = {{2, {}, {}, false, false}, {1, {}, {}, false, false}};
    DesktopPortal portal(client(), ShortPatience);
    // The second call must not take the first one's late answer for its own.
    QCOMPARE(portal.screenshot(QString()).status, Status::Failed);
    QCOMPARE(portal.screenshot(QString()).status, Status::Cancelled);
    QCOMPARE(m_portal->calls.size(), 2);
    QVERIFY(m_portal->calls.at(0).handle != m_portal->calls.at(1).handle);
}

void tst_desktopportal::noPortalOnTheBus_isNoPortal()
{
    DesktopPortal portal(client(), ShortPatience);
    QCOMPARE(portal.screenshot(QString()).status, Status::NoPortal);
    QCOMPARE(portal.pickColor(QString()).status, Status::NoPortal);
    QVERIFY(!portal.screenshotVersion());
}

void tst_desktopportal::version_ofTheInterface()
{
    m_portal->portalVersion = 1;
    QVERIFY(m_portal->publish());
    DesktopPortal portal(client(), ShortPatience);
    QCOMPARE(portal.screenshotVersion(), std::optional<uint>(1));
}

void tst_desktopportal::pickColor_roundsToBytes_data()
{
    QTest::addColumn<double>("red");
    QTest::addColumn<double>("green");
    QTest::addColumn<double>("blue");
    QTest::addColumn<Color>("expected");
    QTest::newRow("black") << 0.0 << 0.0 << 0.0 << Black;
    QTest::newRow("white") << 1.0 << 1.0 << 1.0 << White;
    QTest::newRow("exact bytes") << 51 / 255.0 << 102 / 255.0 << 204 / 255.0
                                 << MakeColor(51, 102, 204);
    // 127.5 lies halfway: to the even 128.
    QTest::newRow("half way") << 0.5 << 0.25 << 0.75 << MakeColor(128, 64, 191);
    QTest::newRow("out of range") << 1.2 << -0.1 << 2.0 << MakeColor(255, 0, 255);
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1.0 << 0.0
                                  << MakeColor(0, 255, 0);
}

void tst_desktopportal::pickColor_roundsToBytes()
{
    QFETCH(double, red);
    QFETCH(double, green);
    QFETCH(double, blue);
    QFETCH(Color, expected);
    QVERIFY(m_portal->publish());
    m_portal->answers.append(
        {0,
         {{QStringLiteral("color"), QVariant::fromValue(PortalRgb{red, green, blue})}},
         {},
         false,
         false});
    DesktopPortal portal(client(), ShortPatience);
    const DesktopPortal::Reply reply = portal.pickColor(QString());
    QCOMPARE(reply.status, Status::Answered);
    QCOMPARE(m_portal->calls.constFirst().method, QStringLiteral("PickColor"));
    QCOMPARE(desktopportal::PickedColor(reply.results), std::optional<Color>(expected));
}

void tst_desktopportal::pickColor_withoutAColor()
{
    QVERIFY(!desktopportal::PickedColor({}));
    QVERIFY(!desktopportal::PickedColor({{QStringLiteral("color"), QStringLiteral("#FF0000")}}));
}

void tst_desktopportal::takeScreenshotFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("removed");
    QTest::newRow("written for this request") << "fresh" << true << true;
    // Written before the request: the portal did not make it for this call.
    QTest::newRow("older file") << "old" << true << false;
    QTest::newRow("reached through a link") << "link" << true << false;
    QTest::newRow("missing file") << "missing" << false << false;
    QTest::newRow("not a local file") << "remote" << false << false;
}

void tst_desktopportal::takeScreenshotFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, readable);
    QFETCH(bool, removed);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QDateTime requestedAt = QDateTime::currentDateTimeUtc();
    const QString target = folder.filePath(QStringLiteral("shot.png"));
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("picture bytes");
    file.close();
    QString named = target;
    if (kind == QLatin1String("old")) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(requestedAt.addSecs(-3600), QFileDevice::FileModificationTime));
        file.close();
    } else if (kind == QLatin1String("link")) {
        named = folder.filePath(QStringLiteral("link.png"));
        QVERIFY(QFile::link(target, named));
    } else if (kind == QLatin1String("missing")) {
        named = folder.filePath(QStringLiteral("none.png"));
    }
    const QString uri = kind == QLatin1String("remote")
                            ? QStringLiteral("https://example.org/shot.png")
                            : QUrl::fromLocalFile(named).toString();

    const desktopportal::ScreenshotFile taken = desktopportal::TakeScreenshotFile(uri, requestedAt);
    QCOMPARE(taken.data, readable ? QByteArray("picture bytes") : QByteArray());
    QCOMPARE(taken.error.isEmpty(), readable);
    QCOMPARE(taken.removed, removed);
    QCOMPARE(QFileInfo::exists(named), !removed && kind != QLatin1String("missing"));
    // Nothing but the portal's own file ever goes.
    QCOMPARE(QFileInfo::exists(target), !removed);
}

QTEST_GUILESS_MAIN(tst_desktopportal)
#include "tst_desktopportal.moc"
