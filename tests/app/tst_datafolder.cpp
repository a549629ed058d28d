#include "app/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/FileContents.h"

namespace {

const QStringList ShippedData = {QStringLiteral("colorchart.cci"), QStringLiteral("mycolor.rgb"),
                                 QStringLiteral("c1.rgb"),         QStringLiteral("c3.rgb"),
                                 QStringLiteral("set.hcs"),        QStringLiteral("colorset.dat")};

// What an installed program ships: its data files, each with a content of its
// own, and the help, all read-only as a package installs them.
void ship(const QString& folder)
{
    for (const QString& name : ShippedData + QStringList{QStringLiteral("tintora.chm")}) {
        writeAll(QDir(folder).filePath(name), "shipped " + name.toLatin1());
        QFile::setPermissions(QDir(folder).filePath(name),
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

// A system-wide install under `root`: the program in bin, its data in share/tintora.
struct Install
{
    QTemporaryDir root;
    QString program() const { return root.filePath(QStringLiteral("bin")); }
    QString shipped() const { return root.filePath(QStringLiteral("share/tintora")); }
    QString perUser() const
    {
        return root.filePath(QStringLiteral("home/.local/share/quorvane software/Tintora"));
    }
    DataFolderLayout layout() const
    {
        QDir().mkpath(program());
        return chooseDataFolder({}, program(), shipped(), perUser());
    }
};

} // namespace

class tst_datafolder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void choose_followsTheLayout_data();
    void choose_followsTheLayout();
    void seed_newFolder_getsWritableCopiesButNotTheHelp();
    void seed_userFolder_isNeverOverwrittenNorRefilled();
    void seed_interrupted_resumesWithoutTouchingWhatIsThere();
    void seed_otherLayouts_createNothing();
    void seed_folderCannotBeMade_namesIt();
    void seed_linksInUserFolder_neverWrittenThrough();
    void helpFile_prefersTheDataFolder();
};

void tst_datafolder::choose_followsTheLayout_data()
{
    QTest::addColumn<QString>("named");
    QTest::addColumn<bool>("dataBeside");
    QTest::addColumn<bool>("dataInShare");
    QTest::addColumn<bool>("readOnlyProgramFolder");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("folder"); // "program", "peruser" or the named folder
    QTest::addColumn<QString>("shipped");

    const int named = int(DataFolderLayout::Kind::Named);
    const int beside = int(DataFolderLayout::Kind::BesideProgram);
    const int perUser = int(DataFolderLayout::Kind::PerUser);
    QTest::newRow("build or portable folder") << "" << true << false << false << beside << "program"
                                              << "program";
    // Who may write there does not matter: root can write anywhere.
    QTest::newRow("read-only folder holding the data")
        << "" << true << false << true << beside << "program"
        << "program";
    QTest::newRow("installed system-wide") << "" << false << true << true << perUser << "peruser"
                                           << "share";
    QTest::newRow("installed, writable program folder")
        << "" << false << true << false << perUser << "peruser"
        << "share";
    QTest::newRow("data beside wins over share")
        << "" << true << true << false << beside << "program"
        << "program";
    QTest::newRow("no data anywhere") << "" << false << false << false << beside << "program"
                                      << "program";
    QTest::newRow("named folder, installed")
        << "/tmp/x/../mine" << false << true << false << named << "/tmp/mine"
        << "share";
    QTest::newRow("named folder, portable")
        << "/tmp/mine/" << true << false << false << named << "/tmp/mine"
        << "program";
}

void tst_datafolder::choose_followsTheLayout()
{
    QFETCH(QString, named);
    QFETCH(bool, dataBeside);
    QFETCH(bool, dataInShare);
    QFETCH(bool, readOnlyProgramFolder);
    QFETCH(int, kind);
    QFETCH(QString, folder);
    QFETCH(QString, shipped);
    Install install;
    QDir().mkpath(install.program());
    if (dataBeside)
        ship(install.program());
    if (dataInShare)
        ship(install.shipped());
    if (readOnlyProgramFolder)
        QFile::setPermissions(install.program(), QFile::ReadOwner | QFile::ExeOwner);
    const auto place = [&install](const QString& name) {
        return name == QLatin1String("program")   ? install.program()
               : name == QLatin1String("peruser") ? install.perUser()
               : name == QLatin1String("share")   ? install.shipped()
                                                  : name;
    };

    const DataFolderLayout layout = chooseDataFolder(
        named, install.program(), install.program() + QStringLiteral("/../share/tintora"),
        install.perUser());
    QFile::setPermissions(install.program(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(int(layout.kind), kind);
    QCOMPARE(layout.folder, place(folder));
    QCOMPARE(layout.shipped, place(shipped));
}

void tst_datafolder::seed_newFolder_getsWritableCopiesButNotTheHelp()
{
    Install install;
    ship(install.shipped());
    const DataFolderLayout layout = install.layout();
    QCOMPARE(layout.kind, DataFolderLayout::Kind::PerUser);
    QVERIFY(seedDataFolder(layout).ok);

    const QDir folder(install.perUser());
    for (const QString& name : ShippedData) {
        QCOMPARE(readAll(folder.filePath(name)), "shipped " + name.toLatin1());
        QVERIFY2(QFileInfo(folder.filePath(name)).permissions().testFlag(QFile::WriteOwner),
                 qPrintable(name));
    }
    // The help is the program's: it stays with the program, always current.
    QVERIFY(!folder.exists(QStringLiteral("tintora.chm")));
    QCOMPARE(folder.entryList(QDir::Files).size(), ShippedData.size());
}

void tst_datafolder::seed_userFolder_isNeverOverwrittenNorRefilled()
{
    Install install;
    ship(install.shipped());
    const DataFolderLayout layout = install.layout();
    QVERIFY(seedDataFolder(layout).ok);
    const QDir folder(install.perUser());
    writeAll(folder.filePath(QStringLiteral("mycolor.rgb")), "12AB34");
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("c3.rgb"))));

    QVERIFY(seedDataFolder(layout).ok);
    QCOMPARE(readAll(folder.filePath(QStringLiteral("mycolor.rgb"))), QByteArray("12AB34"));
    // A palette the user deleted stays deleted.
    QVERIFY(!folder.exists(QStringLiteral("c3.rgb")));
}

void tst_datafolder::seed_interrupted_resumesWithoutTouchingWhatIsThere()
{
    // A first start that ended before the index was copied: some files are in
    // place, one copy was cut short under its temporary name.
    Install install;
    ship(install.shipped());
    const QDir folder(install.perUser());
    writeAll(folder.filePath(QStringLiteral("set.hcs")), "\"Mine\"\r\n");
    writeAll(folder.filePath(QStringLiteral("c1.rgb.seed")), "shi");

    QVERIFY(seedDataFolder(install.layout()).ok);
    QCOMPARE(readAll(folder.filePath(QStringLiteral("set.hcs"))), QByteArray("\"Mine\"\r\n"));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("c1.rgb"))), QByteArray("shipped c1.rgb"));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("colorchart.cci"))),
             QByteArray("shipped colorchart.cci"));
    QVERIFY(folder.entryList({QStringLiteral("*.seed")}, QDir::Files).isEmpty());
}

void tst_datafolder::seed_otherLayouts_createNothing()
{
    QTemporaryDir root;
    const QString missing = root.filePath(QStringLiteral("missing"));
    for (const DataFolderLayout::Kind kind :
         {DataFolderLayout::Kind::Named, DataFolderLayout::Kind::BesideProgram}) {
        QVERIFY(seedDataFolder({kind, missing, root.path()}).ok);
        QVERIFY(!QFileInfo::exists(missing));
    }
}

void tst_datafolder::seed_folderCannotBeMade_namesIt()
{
    Install install;
    ship(install.shipped());
    writeAll(install.root.filePath(QStringLiteral("home/.local/share")), "a file, not a folder");
    const FileResult seeded = seedDataFolder(install.layout());
    QVERIFY(!seeded.ok);
    QVERIFY2(seeded.message.contains(QDir::toNativeSeparators(install.perUser())),
             qPrintable(seeded.message));
}

void tst_datafolder::seed_linksInUserFolder_neverWrittenThrough()
{
    // A dangling link and a link to an outside file under the names of
    // shipped files: seeding leaves both links as they are and creates or
    // changes nothing outside.
    Install install;
    ship(install.shipped());
    QTemporaryDir outside;
    writeAll(outside.filePath(QStringLiteral("existing")), "outside bytes");
    const QMap<QString, QByteArray> before = treeSnapshot(outside.path());
    const QDir folder(install.perUser());
    QVERIFY(QDir().mkpath(folder.path()));
    QVERIFY(QFile::link(outside.filePath(QStringLiteral("created")),
                        folder.filePath(QStringLiteral("c1.rgb"))));
    QVERIFY(QFile::link(outside.filePath(QStringLiteral("existing")),
                        folder.filePath(QStringLiteral("c3.rgb"))));

    QVERIFY(seedDataFolder(install.layout()).ok);
    QCOMPARE(treeSnapshot(outside.path()), before);
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("c1.rgb"))).isSymLink());
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("c3.rgb"))).isSymLink());
    QCOMPARE(readAll(folder.filePath(QStringLiteral("mycolor.rgb"))),
             QByteArray("shipped mycolor.rgb"));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("colorchart.cci"))),
             QByteArray("shipped colorchart.cci"));
    QVERIFY(folder.entryList({QStringLiteral("*.seed")}, QDir::Files | QDir::System).isEmpty());
}

void tst_datafolder::helpFile_prefersTheDataFolder()
{
    QTemporaryDir data;
    // This test program ships nothing, so the data folder is the only place.
    const QString inData = data.filePath(QStringLiteral("tintora.chm"));
    QCOMPARE(helpFilePath(data.path()), inData);
    writeAll(inData, "help");
    QCOMPARE(helpFilePath(data.path()), inData);
}

QTEST_GUILESS_MAIN(tst_datafolder)
#include "tst_datafolder.moc"
