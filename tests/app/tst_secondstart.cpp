// A later start on the same data folder: whether an instance runs, and
// `tintora --pick` handed to it with no display at all (DISPLAY,
// WAYLAND_DISPLAY and the platform plugin unset), this test process being
// the running instance through the program's own single-instance code.
#include "app/InstanceLock.h"
#include "app/handover/SecondStart.h"
#include "app/platform/QtPlatform.h"
#include "palettes/PaletteIndex.h"
#include "tests/support/OtherUser.h"
#include "tests/support/TestData.h"

#include <QLocalServer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(instancemessage::Reply::Status)

namespace {

void startPickWithoutDisplay(QProcess& pick, const QString& dataFolder, const QTemporaryDir& home,
                             const QStringList& options)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("TINTORA_DATA_DIR"), dataFolder);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("c")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("d")));
    pick.setProcessEnvironment(environment);
    pick.start(QStringLiteral(TINTORA_EXECUTABLE), QStringList{"--pick"} + options);
}

} // namespace

class tst_secondstart : public QObject
{
    Q_OBJECT

private slots:
    // The address in the temporary folder is open to every user: a socket
    // that another user put at an address first is not taken for the
    // instance, so that its answer is neither printed nor copied. The data
    // folder, opened to all, stands for the temporary folder here.
    void ask_turnsAwayAnotherUsersSocket()
    {
        if (::geteuid() != 0)
            QSKIP("serving as another user needs root");
        const TestDataFolder data(TestDataFolder::Contents::Empty);
        QVERIFY(QFile::setPermissions(data.path(), QFileDevice::Permissions(0x7777)));
        const QByteArray address =
            QFile::encodeName(secondstart::Addresses(data.path()).constFirst());
        const QByteArray forged = instancemessage::Encode(
            instancemessage::Reply{instancemessage::Reply::Status::Done, "#BADBAD", {}});
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            sockaddr_un where{};
            const int fd = otheruser::SocketAsNobody(address, where);
            if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof(where)) != 0 ||
                ::listen(fd, 1) != 0 || ::write(ready[1], "r", 1) != 1)
                ::_exit(1);
            const int asked = ::accept(fd, nullptr, nullptr);
            ::send(asked, forged.constData(), std::size_t(forged.size()), MSG_NOSIGNAL);
            ::_exit(0);
        }
        QVERIFY(child > 0);
        ::close(ready[1]);
        char byte = 0;
        const bool listening = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
        instancemessage::Request pick;
        pick.kind = instancemessage::Request::Kind::Pick;
        const std::optional<instancemessage::Reply> reply =
            listening ? secondstart::Ask(data.path(), pick) : std::nullopt;
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY(listening);
        QCOMPARE(reply, std::nullopt);
    }

    void instanceRunning_data()
    {
        QTest::addColumn<bool>("held");
        QTest::newRow("no instance") << false;
        QTest::newRow("an instance holds the lock") << true;
    }

    void instanceRunning()
    {
        QFETCH(bool, held);
        const TestDataFolder data;
        InstanceLock running;
        if (held)
            QCOMPARE(running.acquire(data.path()), InstanceLock::State::Held);
        QCOMPARE(secondstart::InstanceRunning(data.path()), held);
        QCOMPARE(secondstart::InstanceRunning(data.path()), held);
        // The test leaves the lock as it found it: the start that asked can
        // take it when nobody else has.
        InstanceLock later;
        QCOMPARE(later.acquire(data.path()),
                 held ? InstanceLock::State::HeldElsewhere : InstanceLock::State::Held);
    }

    void pickHandedOverWithoutDisplay_data()
    {
        using Status = instancemessage::Reply::Status;
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<Status>("status");
        // The instance's text, or its message when it failed.
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("told");
        // What the instance was asked, "format copy save saveTo"; empty when
        // the command ended before asking.
        QTest::addColumn<QString>("asked");
        QTest::newRow("picked, printed") << QStringList{"--print", "--format", "rgb"}
                                         << Status::Done << "rgb(1 2 3)" << 0 << "rgb(1 2 3)\n"
                                         << ""
                                         << "rgb 1 1 ";
        QTest::newRow("picked, quiet, not copied, not saved")
            << QStringList{"--no-copy", "--no-save"} << Status::Done << "#010203" << 0 << ""
            << ""
            << "hex 0 0 ";
        QTest::newRow("to a palette by its name") << QStringList{"--print", "--save-to", "<first>"}
                                                  << Status::Done << "#010203" << 0 << "#010203\n"
                                                  << ""
                                                  << "hex 1 1 <first>";
        QTest::newRow("cancelled") << QStringList{"--print"} << Status::Cancelled << "" << 1 << ""
                                   << ""
                                   << "hex 1 1 ";
        QTest::newRow("failed there")
            << QStringList{"--print"} << Status::Failed << "picking for another command" << 1 << ""
            << "picking for another command"
            << "hex 1 1 ";
        QTest::newRow("no such palette, told before asking")
            << QStringList{"--save-to", "No Such Palette"} << Status::Done << "#010203" << 2 << ""
            << "\"No Such Palette\""
            << "";
    }

    void pickHandedOverWithoutDisplay()
    {
        QFETCH(QStringList, options);
        QFETCH(instancemessage::Reply::Status, status);
        QFETCH(QString, answer);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);
        QFETCH(QString, told);
        QFETCH(QString, asked);
        const TestDataFolder data;
        const QTemporaryDir home;
        StringTable files;
        StringTable names;
        paletteindex::ColorTargets(paletteindex::Read(data.path()).entries, files, names);
        QVERIFY(!names.isEmpty());
        const QString first = names.at(0);
        options.replaceInStrings(QStringLiteral("<first>"), first);
        asked.replace(QStringLiteral("<first>"), first);

        QtPlatform instance(data.path());
        QVERIFY(!instance.anotherInstanceRunning());
        QStringList requests;
        instance.handleSecondStartRequests(
            [&](const instancemessage::Request& request, Platform::SecondStartAnswer reply) {
                requests.append(QStringLiteral("%1 %2 %3 %4")
                                    .arg(request.format)
                                    .arg(int(request.copy))
                                    .arg(int(request.save))
                                    .arg(request.saveTo));
                instancemessage::Reply given;
                given.status = status;
                (status == instancemessage::Reply::Status::Failed ? given.message : given.text) =
                    answer;
                reply(given);
            });

        QProcess pick;
        startPickWithoutDisplay(pick, data.path(), home, options);
        // The instance answers from this event loop.
        QTRY_VERIFY_WITH_TIMEOUT(pick.state() == QProcess::NotRunning, 20000);
        const QString err = QString::fromUtf8(pick.readAllStandardError());
        QCOMPARE(pick.exitStatus(), QProcess::NormalExit);
        QVERIFY2(pick.exitCode() == exitCode, qPrintable(err));
        QCOMPARE(QString::fromUtf8(pick.readAllStandardOutput()), printed);
        if (told.isEmpty())
            QCOMPARE(err, QString());
        else
            QVERIFY2(err.contains(told), qPrintable(err));
        QCOMPARE(requests, asked.isEmpty() ? QStringList() : QStringList{asked});
    }

    // Whatever already has the socket's name in the data folder (planted,
    // synced or restored) is left alone by the instance, and a later start
    // neither follows a link there to another program's socket nor fails
    // to reach the instance.
    void socketNameTakenInTheFolder_data()
    {
        QTest::addColumn<QString>("taken");
        QTest::newRow("a link to another program's socket") << "link";
        QTest::newRow("a plain file") << "file";
    }

    void socketNameTakenInTheFolder()
    {
        QFETCH(QString, taken);
        const TestDataFolder data;
        const QTemporaryDir home;
        const QTemporaryDir elsewhere;
        QLocalServer decoy;
        QVERIFY(decoy.listen(elsewhere.filePath(QStringLiteral("decoy"))));
        const QString inFolder = data.path() + QStringLiteral("/.tintora.socket");
        if (taken == QLatin1String("link")) {
            QVERIFY(QFile::link(decoy.fullServerName(), inFolder));
        } else {
            QFile file(inFolder);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("mine");
        }
        QVERIFY(!secondstart::Addresses(data.path()).contains(inFolder));

        QtPlatform instance(data.path());
        QVERIFY(!instance.anotherInstanceRunning());
        int requests = 0;
        instance.handleSecondStartRequests(
            [&](const instancemessage::Request&, Platform::SecondStartAnswer reply) {
                ++requests;
                instancemessage::Reply given;
                given.text = QStringLiteral("#010203");
                reply(given);
            });
        QProcess pick;
        startPickWithoutDisplay(pick, data.path(), home, {"--print", "--no-save"});
        QTRY_VERIFY_WITH_TIMEOUT(pick.state() == QProcess::NotRunning, 20000);
        QVERIFY2(pick.exitCode() == 0, pick.readAllStandardError().constData());
        QCOMPARE(pick.readAllStandardOutput(), QByteArray("#010203\n"));
        QCOMPARE(requests, 1);
        QVERIFY(!decoy.hasPendingConnections());
        const QFileInfo left(inFolder);
        QCOMPARE(left.isSymLink(), taken == QLatin1String("link"));
        QVERIFY(taken == QLatin1String("link") || left.size() == 4);
    }
};

QTEST_GUILESS_MAIN(tst_secondstart)
#include "tst_secondstart.moc"
