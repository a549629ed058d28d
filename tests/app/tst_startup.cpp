// Starts the real program: one instance per data folder, and a lock left by a
// killed run does not block the next start.
#include "tests/support/TestData.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

void startProgram(QProcess& process, const QString& dataFolder,
                  const QString& runtimeFolder = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TINTORA_DATA_DIR"), dataFolder);
    if (!runtimeFolder.isEmpty())
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
    process.setProcessEnvironment(environment);
    process.setProgram(QStringLiteral(TINTORA_EXECUTABLE));
    process.start();
}

// The colour that start-up makes current, and so records as its last write.
const QByteArray FirstCellColour = QByteArrayLiteral("123456");

// Gives the first palette one colour, which start-up records in "recent.rgb".
void prepareFirstPalette(const TestDataFolder& data)
{
    data.remove(QStringLiteral("recent.rgb"));
    data.write(QStringLiteral("mycolor.rgb"), FirstCellColour);
}

// The program is up once start-up has recorded the first cell's colour: the
// recent-colours file appears earlier in start-up, before that last write.
bool waitUntilRunning(QProcess& process, const TestDataFolder& data)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        if (data.read(QStringLiteral("recent.rgb")) == FirstCellColour)
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(20);
    }
    return false;
}

// A second launch on the data of the running `first` ends at once with
// success, touching no file, and then `first` is ended.
void secondLaunchEndsAtOnce(QProcess& first, const TestDataFolder& data,
                            const QString& runtimeFolder = QString())
{
    data.write(QStringLiteral("recent.rgb"), "ABCDEF");
    QProcess second;
    startProgram(second, data.path(), runtimeFolder);
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(data.read(QStringLiteral("recent.rgb")), QByteArray("ABCDEF"));
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
}

} // namespace

class tst_startup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void secondLaunch_exitsAtOnceAndTouchesNothing();
    void lockOfAKilledRun_doesNotBlockTheNextStart();
    void secondLaunch_ofAnotherSession_exitsAtOnceToo();
    void firstWindow_loadsNoImagePluginNorHelpReader();
};

void tst_startup::secondLaunch_exitsAtOnceAndTouchesNothing()
{
    TestDataFolder data;
    prepareFirstPalette(data);
    QProcess first;
    startProgram(first, data.path());
    QVERIFY(waitUntilRunning(first, data));

    secondLaunchEndsAtOnce(first, data);
}

void tst_startup::lockOfAKilledRun_doesNotBlockTheNextStart()
{
    TestDataFolder data;
    prepareFirstPalette(data);
    QProcess crashed;
    startProgram(crashed, data.path());
    QVERIFY(waitUntilRunning(crashed, data));
    crashed.kill();
    QVERIFY(crashed.waitForFinished());

    data.remove(QStringLiteral("recent.rgb"));
    QProcess next;
    startProgram(next, data.path());
    QVERIFY2(waitUntilRunning(next, data), "the next start was blocked by the old lock");
    next.terminate();
    next.waitForFinished();
}

void tst_startup::secondLaunch_ofAnotherSession_exitsAtOnceToo()
{
    // Another login session or a container has a runtime folder of its own;
    // the data folder is the same, and so is the lock held in it.
    QTemporaryDir sessionA;
    QTemporaryDir sessionB;
    for (const QTemporaryDir* session : {&sessionA, &sessionB})
        QFile::setPermissions(session->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TestDataFolder data;
    prepareFirstPalette(data);
    QProcess first;
    startProgram(first, data.path(), sessionA.path());
    QVERIFY(waitUntilRunning(first, data));

    secondLaunchEndsAtOnce(first, data, sessionB.path());
}

void tst_startup::firstWindow_loadsNoImagePluginNorHelpReader()
{
    // Qt loads every image plugin of the system to read one picture of no
    // named format, a good part of the start's time and memory; the help's
    // reader is needed only once the help is shown. The first window, shown
    // and painted, must need neither.
    TestDataFolder data;
    prepareFirstPalette(data);
    QProcess program;
    startProgram(program, data.path());
    QVERIFY(waitUntilRunning(program, data));
    // Recorded before the window is shown: let it appear and paint.
    QTest::qWait(1000);
    QFile maps(QStringLiteral("/proc/%1/maps").arg(program.processId()));
    if (!maps.open(QIODevice::ReadOnly))
        QSKIP("this system shows no process's mapped files");
    const QByteArray mapped = maps.readAll();
    program.terminate();
    program.waitForFinished();
    QVERIFY(mapped.contains("libQt6Widgets"));
    for (const char* unwanted : {"/imageformats/", "/libchm.so"}) {
        const qsizetype at = mapped.indexOf(unwanted);
        QVERIFY2(at < 0, mapped.mid(at, 80).constData());
    }
}

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
