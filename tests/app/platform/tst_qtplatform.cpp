// The platform services as Qt carries them out: one running program per data
// folder whatever the runtime folder, a second start bringing the first one's
// window forward, and message boxes that fit the screen.
#include "app/InstanceLock.h"
#include "app/InstanceMessage.h"
#include "app/platform/QtPlatform.h"
#include "tests/support/ModalScript.h"
#include "tests/support/OtherUser.h"
#include "tests/support/TestData.h"

#include <QAbstractButton>
#include <QCborMap>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocalSocket>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A runtime folder of its own, as another login session or a container has.
class RuntimeFolder
{
public:
    RuntimeFolder()
    {
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
    }

private:
    QTemporaryDir m_dir;
};

QByteArray framed(const QByteArray& payload, int version = instancemessage::Version)
{
    return "TINTORA " + QByteArray::number(version) + ' ' + QByteArray::number(payload.size()) +
           '\n' + payload;
}

QByteArray cborOf(const QCborMap& map)
{
    return map.toCborValue().toCbor();
}

instancemessage::Request pickRequest()
{
    instancemessage::Request request;
    request.kind = instancemessage::Request::Kind::Pick;
    request.format = QStringLiteral("oklch");
    request.copy = false;
    request.saveTo = QStringLiteral("Web \u00e9");
    return request;
}

instancemessage::Request openRequest()
{
    instancemessage::Request request;
    request.kind = instancemessage::Request::Kind::Open;
    request.files = {QStringLiteral("/a/b.gpl"), QStringLiteral("/c d/e.ase")};
    return request;
}

enum class Dispatch { Dropped, Front, Handled };

} // namespace

Q_DECLARE_METATYPE(Dispatch)

class tst_qtplatform : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void instanceLock_isHeldInTheDataFolder();
    void secondStart_fromAnotherRuntimeFolder_bringsTheFirstWindowForward();
    void dataFolderWithoutLock_fallsBackToTheRuntimeFolder();
    void secondStartSocket_holdsFewConnectionsBriefly();
    void secondStartSocket_dispatchesOnlyWholeFrames_data();
    void secondStartSocket_dispatchesOnlyWholeFrames();
    void secondStartSocket_refusesOtherUsers();
    void messageBox_ofADamagedIndex_fitsTheScreen();
};

void tst_qtplatform::instanceLock_isHeldInTheDataFolder()
{
    TestDataFolder data(TestDataFolder::Contents::Empty);
    {
        InstanceLock first;
        QCOMPARE(first.acquire(data.path()), InstanceLock::State::Held);
        InstanceLock second;
        QCOMPARE(second.acquire(data.path()), InstanceLock::State::HeldElsewhere);
        QVERIFY(data.exists(InstanceLock::FileName()));
    }
    // The lock goes with its holder.
    InstanceLock next;
    QCOMPARE(next.acquire(data.path()), InstanceLock::State::Held);
    InstanceLock nowhere;
    QCOMPARE(nowhere.acquire(data.filePath(QStringLiteral("missing"))),
             InstanceLock::State::Unavailable);
}

void tst_qtplatform::secondStart_fromAnotherRuntimeFolder_bringsTheFirstWindowForward()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    TestDataFolder data(TestDataFolder::Contents::Empty);
    QWidget window;
    window.showMinimized();
    {
        const RuntimeFolder sessionA;
        QtPlatform first(data.path());
        QVERIFY(!first.anotherInstanceRunning());
        first.bringToFrontOnSecondStart(&window);
        {
            const RuntimeFolder sessionB;
            QtPlatform second(data.path());
            QVERIFY(second.anotherInstanceRunning());
        }
        QTRY_VERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
    }
    // Once the first has gone, a start runs.
    const RuntimeFolder sessionC;
    QtPlatform next(data.path());
    QVERIFY(!next.anotherInstanceRunning());
    qputenv("XDG_RUNTIME_DIR", runtime);
}

void tst_qtplatform::dataFolderWithoutLock_fallsBackToTheRuntimeFolder()
{
    // A folder in the lock file's place stands for a folder that gives no
    // lock: permissions do not stop root.
    TestDataFolder data(TestDataFolder::Contents::Empty);
    QVERIFY(QDir(data.path()).mkdir(InstanceLock::FileName()));
    const RuntimeFolder session;
    QtPlatform first(data.path());
    QVERIFY(!first.anotherInstanceRunning());
    QtPlatform second(data.path());
    QVERIFY(second.anotherInstanceRunning());
}

void tst_qtplatform::secondStartSocket_holdsFewConnectionsBriefly()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    TestDataFolder data(TestDataFolder::Contents::Empty);
    QWidget window;
    window.showMinimized();
    {
        const RuntimeFolder session;
        QtPlatform first(data.path());
        QVERIFY(!first.anotherInstanceRunning());
        first.bringToFrontOnSecondStart(&window);
        const QString address =
            QDir(data.path()).absoluteFilePath(QStringLiteral(".tintora.socket"));
        QVERIFY(QFileInfo::exists(address));
        // Only its owner may connect: the replies carry picked colours.
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(address) & others, QFileDevice::Permissions());

        // Any program of the user can connect: one that says something else,
        // then many that say nothing and stay.
        std::vector<std::unique_ptr<QLocalSocket>> clients;
        clients.push_back(std::make_unique<QLocalSocket>());
        clients.back()->connectToServer(address);
        QVERIFY(clients.back()->waitForConnected(5000));
        clients.back()->write("not what a start says\n");
        constexpr int Idle = 40;
        for (int i = 0; i < Idle; ++i) {
            clients.push_back(std::make_unique<QLocalSocket>());
            clients.back()->connectToServer(address);
        }
        const auto count = [&clients](QLocalSocket::LocalSocketState state) {
            return qsizetype(
                std::count_if(clients.begin(), clients.end(),
                              [state](const auto& client) { return client->state() == state; }));
        };
        // A few are held, the rest closed at once ...
        QTRY_VERIFY(count(QLocalSocket::UnconnectedState) >= qsizetype(clients.size()) - 4);
        QVERIFY(count(QLocalSocket::ConnectedState) <= 4);
        // ... and those few when they have said nothing for a while.
        QTRY_COMPARE_WITH_TIMEOUT(count(QLocalSocket::UnconnectedState), qsizetype(clients.size()),
                                  10000);
        QVERIFY(window.isMinimized());

        // A real second start is still heard.
        const RuntimeFolder other;
        QtPlatform second(data.path());
        QVERIFY(second.anotherInstanceRunning());
        QTRY_VERIFY(!window.isMinimized());
    }
    qputenv("XDG_RUNTIME_DIR", runtime);
}

void tst_qtplatform::secondStartSocket_dispatchesOnlyWholeFrames_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<Dispatch>("dispatch");
    QTest::addColumn<int>("kind");
    using Kind = instancemessage::Request::Kind;
    QTest::newRow("a line of garbage") << QByteArray("hello\n") << Dispatch::Dropped << 0;
    QTest::newRow("another magic") << QByteArray("TINTORB 1 1\n\xa0") << Dispatch::Dropped << 0;
    QTest::newRow("another version")
        << framed(cborOf({{QStringLiteral("kind"), QStringLiteral("front")}}), 2)
        << Dispatch::Dropped << 0;
    QTest::newRow("announced beyond the bound")
        << QByteArray("TINTORA 1 ") + QByteArray::number(instancemessage::MaxPayloadBytes + 1) +
               "\n"
        << Dispatch::Dropped << 0;
    QTest::newRow("a header that never ends") << QByteArray(4096, 'A') << Dispatch::Dropped << 0;
    QTest::newRow("a payload that is no map") << framed("abc") << Dispatch::Dropped << 0;
    QTest::newRow("an unknown kind")
        << framed(cborOf({{QStringLiteral("kind"), QStringLiteral("explode")}}))
        << Dispatch::Dropped << 0;
    QTest::newRow("more than announced")
        << instancemessage::Encode(pickRequest()) + "trailing" << Dispatch::Dropped << 0;
    QTest::newRow("half a frame, then silence")
        << instancemessage::Encode(pickRequest()).chopped(3) << Dispatch::Dropped << 0;
    QTest::newRow("the bare line of older versions")
        << QByteArray("front\n") << Dispatch::Front << 0;
    QTest::newRow("a framed front")
        << instancemessage::Encode(instancemessage::Request()) << Dispatch::Front << 0;
    QTest::newRow("a pick") << instancemessage::Encode(pickRequest()) << Dispatch::Handled
                            << int(Kind::Pick);
    QTest::newRow("an opening") << instancemessage::Encode(openRequest()) << Dispatch::Handled
                                << int(Kind::Open);
}

void tst_qtplatform::secondStartSocket_dispatchesOnlyWholeFrames()
{
    QFETCH(QByteArray, sent);
    QFETCH(Dispatch, dispatch);
    QFETCH(int, kind);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    TestDataFolder data(TestDataFolder::Contents::Empty);
    QWidget window;
    window.showMinimized();
    {
        const RuntimeFolder session;
        QtPlatform first(data.path());
        QVERIFY(!first.anotherInstanceRunning());
        first.bringToFrontOnSecondStart(&window);
        QList<instancemessage::Request> handled;
        instancemessage::Reply answer;
        answer.text = QStringLiteral("oklch(52.8% 0.10358 251.54)");
        // The answer comes later than the deadline of a request that is
        // still arriving: a pick takes as long as the user does.
        first.handleSecondStartRequests([&handled, answer](const instancemessage::Request& request,
                                                           Platform::SecondStartAnswer reply) {
            handled.append(request);
            QTimer::singleShot(3000, [reply, answer] { reply(answer); });
        });

        QLocalSocket client;
        client.connectToServer(
            QDir(data.path()).absoluteFilePath(QStringLiteral(".tintora.socket")));
        QVERIFY(client.waitForConnected(5000));
        client.write(sent);
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QLocalSocket::UnconnectedState, 10000);

        QCOMPARE(window.isMinimized(), dispatch != Dispatch::Front);
        QCOMPARE(handled.size(), dispatch == Dispatch::Handled ? 1 : 0);
        instancemessage::Decoder decoder;
        decoder.feed(client.readAll());
        if (dispatch != Dispatch::Handled) {
            QCOMPARE(decoder.state(), instancemessage::Decoder::State::NeedMore);
        } else {
            QCOMPARE(int(handled.constFirst().kind), kind);
            QCOMPARE(handled.constFirst(), kind == int(instancemessage::Request::Kind::Pick)
                                               ? pickRequest()
                                               : openRequest());
            QCOMPARE(decoder.reply(), std::optional<instancemessage::Reply>(answer));
        }
    }
    qputenv("XDG_RUNTIME_DIR", runtime);
}

// The socket file is the user's alone; were it opened to all (a careless
// umask, a copied folder), a process of another user would still be turned
// away by its credentials before it could ask for a pick.
void tst_qtplatform::secondStartSocket_refusesOtherUsers()
{
    if (::geteuid() != 0)
        QSKIP("connecting as another user needs root");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    TestDataFolder data(TestDataFolder::Contents::Empty);
    {
        const RuntimeFolder session;
        QtPlatform first(data.path());
        QVERIFY(!first.anotherInstanceRunning());
        int handled = 0;
        first.handleSecondStartRequests(
            [&handled](const instancemessage::Request&, Platform::SecondStartAnswer reply) {
                ++handled;
                reply(instancemessage::Reply());
            });
        const QByteArray address = QFile::encodeName(
            QDir(data.path()).absoluteFilePath(QStringLiteral(".tintora.socket")));
        QVERIFY(QFile::setPermissions(data.path(), QFileDevice::Permissions(0x7711)));
        QVERIFY(::chmod(address.constData(), 0666) == 0);
        const QByteArray request = instancemessage::Encode(pickRequest());

        // 0: connected, asked and was closed without an answer; 1: could
        // not connect; 2: was answered.
        const pid_t child = ::fork();
        if (child == 0) {
            sockaddr_un where{};
            const int fd = otheruser::SocketAsNobody(address, where);
            if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof(where)) != 0)
                ::_exit(1);
            ::send(fd, request.constData(), std::size_t(request.size()), MSG_NOSIGNAL);
            char answer[64];
            ::_exit(::recv(fd, answer, sizeof(answer), 0) > 0 ? 2 : 0);
        }
        QVERIFY(child > 0);
        int status = 0;
        // The instance answers from this event loop while the child waits.
        pid_t ended = 0;
        for (QDeadlineTimer deadline(10000); ended == 0 && !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            ended = ::waitpid(child, &status, WNOHANG);
        }
        QCOMPARE(ended, child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(handled, 0);
    }
    qputenv("XDG_RUNTIME_DIR", runtime);
}

void tst_qtplatform::messageBox_ofADamagedIndex_fitsTheScreen()
{
    // What a damaged index of 500 KB gives: a hundred problems, one of them
    // about a name of a hundred thousand characters without a space.
    QStringList problems{QStringLiteral("The palette index \"colorchart.cci\" is damaged:")};
    problems.append(QStringLiteral("Entry 1 names the file \"%1\".").arg(QString(100000, 'x')));
    for (int i = 2; i <= 100; ++i)
        problems.append(
            QStringLiteral("Entry %1 (\"Name %1\") names the file \"x%1.dat\", which is "
                           "not a palette file of the data folder; that palette is left "
                           "out.")
                .arg(i));
    problems.append(QString(400000, 'y'));
    const QString text = problems.join('\n');

    TestDataFolder data(TestDataFolder::Contents::Empty);
    QtPlatform platform(data.path());
    QWidget owner;
    owner.show();
    bool checked = false;
    whenModalShown([&](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        QVERIFY(box);
        const QRect screen = box->screen()->availableGeometry();
        QVERIFY2(box->frameGeometry().height() <= screen.height() &&
                     box->frameGeometry().width() <= screen.width(),
                 qPrintable(QStringLiteral("%1 x %2").arg(box->width()).arg(box->height())));
        QVERIFY(box->text().size() < 1200);
        QVERIFY(box->detailedText().startsWith(text.left(1000)));
        QVERIFY(box->button(QMessageBox::Ok)->isVisible());
        checked = true;
        box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(platform.showMessage(&owner, text, Platform::Buttons::Ok, Platform::Icon::Warning,
                                  QStringLiteral("Tintora")),
             Platform::Answer::Ok);
    QVERIFY(checked);
}

QTEST_MAIN(tst_qtplatform)
#include "tst_qtplatform.moc"
