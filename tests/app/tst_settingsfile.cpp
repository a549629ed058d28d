#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

enum class Kind { Missing, Content, Pipe, Folder, Sparse, LockFolder, LockFile };

// A list holding a list holding a list... as QSettings reads a variant:
// every level one more call deep.
QByteArray nestedVariant(int depth)
{
    return "[General]\nz=@Variant(" + QByteArray("\0\0\0\t\0\0\0\x01", 8).repeated(depth) + ")\n";
}

} // namespace

class tst_settingsfile : public QObject
{
    Q_OBJECT
private slots:
    void problem_data();
    void problem();
    void hostileFile_readAsDefaults_data();
    void hostileFile_readAsDefaults();
    void storedByTheEarlierWay_readBack();
};

void tst_settingsfile::problem_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing") << Kind::Missing << QByteArray() << "";
    QTest::newRow("as written") << Kind::Content
                                << QByteArray("[General]\nautostop=1\nhelpwindow=\"1,2,3,4\"\n")
                                << "";
    QTest::newRow("stale lock file") << Kind::LockFile << QByteArray("[General]\n") << "";
    // Opening it would wait for a writer for ever.
    QTest::newRow("named pipe") << Kind::Pipe << QByteArray() << "it is not a plain file";
    QTest::newRow("folder") << Kind::Folder << QByteArray() << "it is not a plain file";
    // Every write would wait for the lock for ever.
    QTest::newRow("folder in the lock's place")
        << Kind::LockFolder << QByteArray("[General]\n") << "in the place of its lock";
    QTest::newRow("nested variants")
        << Kind::Content << nestedVariant(3) << "a kind of value that Tintora does not write";
    QByteArray straddling = "[General]\nx=" + QByteArray((1 << 20) - 16, 'a') + "\ny=@Variant(\0)";
    QTest::newRow("variant across a block boundary")
        << Kind::Content << straddling << "a kind of value that Tintora does not write";
    QTest::newRow("too many lines")
        << Kind::Content << "[General]\n" + QByteArray("k=1\n").repeated(settingsfile::MaxLines)
        << "more than 100000 lines";
    QTest::newRow("largest allowed lines")
        << Kind::Content << "[General]" + QByteArray("\nk=1").repeated(settingsfile::MaxLines - 1)
        << "";
    QTest::newRow("too large") << Kind::Sparse << QByteArray() << "larger than settings can be";
}

void tst_settingsfile::problem()
{
    QFETCH(Kind, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tintora 3.7.conf"));
    if (kind == Kind::Pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == Kind::Folder)
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Tintora 3.7.conf")));
    if (kind == Kind::LockFolder)
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Tintora 3.7.conf.lock")));
    if (kind == Kind::LockFile) {
        QFile lock(path + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
    }
    if (kind == Kind::Content || kind == Kind::LockFolder || kind == Kind::LockFile ||
        kind == Kind::Sparse) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        if (kind == Kind::Sparse)
            QVERIFY(file.resize(settingsfile::MaxFileBytes + 1));
    }
    const QString found = settingsfile::Problem(path);
    if (problem.isEmpty())
        QVERIFY2(found.isEmpty(), qPrintable(found));
    else
        QVERIFY2(found.contains(problem), qPrintable(found));
}

void tst_settingsfile::hostileFile_readAsDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    // Deep enough to overflow the stack of a reader that follows it.
    QTest::newRow("nested variants") << nestedVariant(40000);
    QTest::newRow("nested variants among the program's own")
        << "[General]\nautostop=1\n" + nestedVariant(40000).mid(10);
}

// Neither read nor written: the file stays for the user to look at.
void tst_settingsfile::hostileFile_readAsDefaults()
{
    QFETCH(QByteArray, content);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    QVERIFY(settingsfile::Path().startsWith(home.path()));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("quorvane software")));
    QFile file(settingsfile::Path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("settings in .* are not used")));
    QVERIFY(!settingsfile::Value(QStringLiteral("autostop")).isValid());
    QVERIFY(!settingsfile::SetValue(QStringLiteral("autostop"), QStringLiteral("0")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    qunsetenv("TINTORA_SETTINGS_NOT_USED");
}

// Settings a user has from before are where they were.
void tst_settingsfile::storedByTheEarlierWay_readBack()
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    {
        QSettings earlier(QStringLiteral("quorvane software"), QStringLiteral("Tintora 3.7"));
        earlier.setValue(QStringLiteral("copyformat"), QStringLiteral("oklch"));
    }
    QCOMPARE(settingsfile::Value(QStringLiteral("copyformat")).toString(), QStringLiteral("oklch"));
    QVERIFY(settingsfile::SetValue(QStringLiteral("copyformat"), QStringLiteral("hsl")));
    const QSettings later(QStringLiteral("quorvane software"), QStringLiteral("Tintora 3.7"));
    QCOMPARE(later.value(QStringLiteral("copyformat")).toString(), QStringLiteral("hsl"));
}

QTEST_GUILESS_MAIN(tst_settingsfile)
#include "tst_settingsfile.moc"
