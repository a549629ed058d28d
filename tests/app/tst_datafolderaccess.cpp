// The confined way into the data folder: nothing it does reaches outside the
// folder through a link, whichever part of a name the link is, with the
// kernel's resolution and with the part-by-part one alike.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/DataFolderAccess.h"
#include "tests/support/FileContents.h"

#include <functional>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(DataFolderAccess::Resolver)

namespace {

using Access = DataFolderAccess;

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

} // namespace

class tst_datafolderaccess : public QObject
{
    Q_OBJECT
private slots:
    void linkOnTheWay_refusedAndOutsideUntouched_data();
    void linkOnTheWay_refusedAndOutsideUntouched();
    void removeAll_walksFolderWithoutEnteringLinks_data();
    void removeAll_walksFolderWithoutEnteringLinks();
    void namesOutsideTheFolder_refused_data();
    void namesOutsideTheFolder_refused();
    void copy_keepsHolesAndTime();
    void copy_keepLeavesExistingFile();
    void open_refusesPipeAndHardLinkWithoutBlocking();
    void replace_failedWriteLeavesOldFile();
    void appendRecord_writesAfterTheLastWholeRecord_data();
    void appendRecord_writesAfterTheLastWholeRecord();
    void appendRecord_refusesHardLink();

private:
    void addResolvers();
};

void tst_datafolderaccess::addResolvers()
{
    QTest::addColumn<DataFolderAccess::Resolver>("resolver");
    QTest::newRow("openat2") << DataFolderAccess::Resolver::Kernel;
    QTest::newRow("part by part") << DataFolderAccess::Resolver::PerPart;
}

void tst_datafolderaccess::linkOnTheWay_refusedAndOutsideUntouched_data()
{
    addResolvers();
}

void tst_datafolderaccess::linkOnTheWay_refusedAndOutsideUntouched()
{
    QFETCH(DataFolderAccess::Resolver, resolver);
    QTemporaryDir data;
    QTemporaryDir outside;
    writeFile(outside.filePath("secret"), "outside bytes");
    QVERIFY(QDir(outside.path()).mkdir("inner"));
    writeFile(outside.filePath("inner/deep"), "deep bytes");
    QVERIFY(QFile::link(outside.path(), data.filePath("undo")));
    QVERIFY(QFile::link(outside.filePath("secret"), data.filePath("c1.rgb")));
    QVERIFY(QFile::link(outside.filePath("made-through-link"), data.filePath("c2.rgb")));
    writeFile(data.filePath("mine.rgb"), "AABBCC");
    const QMap<QString, QByteArray> before = treeSnapshot(outside.path());

    const Access access(data.path(), resolver);
    QVERIFY(access.opened());
    const QString action = QStringLiteral("test");
    QFile file;
    const QList<std::pair<const char*, std::function<FileResult()>>> attempts = {
        {"read a linked file",
         [&] { return access.open(file, "c1.rgb", Access::Access::Read, action); }},
        {"create through a dangling link",
         [&] { return access.open(file, "c2.rgb", Access::Access::Create, action); }},
        {"create in a linked folder",
         [&] { return access.open(file, "undo/new", Access::Access::Create, action); }},
        {"read in a linked folder",
         [&] { return access.open(file, "undo/secret", Access::Access::Read, action); }},
        {"make a folder in a linked folder",
         [&] { return access.makeFolder("undo/0001", action); }},
        {"make a folder where a link is", [&] { return access.makeFolder("undo", action); }},
        {"remove a linked file", [&] { return access.removeFile("c1.rgb", action); }},
        {"remove in a linked folder", [&] { return access.removeFile("undo/secret", action); }},
        {"remove a tree in a linked folder",
         [&] { return access.removeAll("undo/inner", action); }},
        {"append to a linked file",
         [&] { return access.appendRecord("c1.rgb", "AABBCC", 6, action); }},
        {"append through a dangling link",
         [&] { return access.appendRecord("c2.rgb", "AABBCC", 6, action); }},
        {"replace a link", [&] { return access.replace("c1.rgb", "c1.rgb.tmp", "new", action); }},
        {"replace in a linked folder",
         [&] { return access.replace("undo/secret", "undo/secret.tmp", "new", action); }},
        {"rename over a link", [&] { return access.rename("mine.rgb", "c2.rgb", action); }},
        {"rename into a linked folder",
         [&] { return access.rename("mine.rgb", "undo/mine.rgb", action); }},
        {"rename out of a linked folder",
         [&] { return access.rename("undo/secret", "taken.rgb", action); }},
    };
    for (const auto& [what, attempt] : attempts) {
        const FileResult result = attempt();
        QVERIFY2(!result, what);
        QVERIFY2(result.message.contains(QStringLiteral("symbolic link")),
                 qPrintable(QString::fromLatin1(what) + QStringLiteral(": ") + result.message));
    }
    QVERIFY(access.list("undo").isEmpty());
    QCOMPARE(access.status("undo/secret").kind, Access::Kind::Missing);
    QCOMPARE(access.status("undo").kind, Access::Kind::Link);
    // The links themselves can go; what they lead to stays.
    QVERIFY(access.removeAll("undo", action));
    QVERIFY(access.removeAll("c2.rgb", action));
    QCOMPARE(treeSnapshot(outside.path()), before);
    QCOMPARE(readFile(data.filePath("mine.rgb")), QByteArray("AABBCC"));
    QVERIFY(!QFileInfo(outside.filePath("made-through-link")).exists());
}

void tst_datafolderaccess::removeAll_walksFolderWithoutEnteringLinks_data()
{
    addResolvers();
}

void tst_datafolderaccess::removeAll_walksFolderWithoutEnteringLinks()
{
    QFETCH(DataFolderAccess::Resolver, resolver);
    QTemporaryDir data;
    QTemporaryDir outside;
    writeFile(outside.filePath("keep"), "outside");
    QVERIFY(QDir(outside.path()).mkpath("sub/folder"));
    writeFile(outside.filePath("sub/folder/also"), "also outside");
    const QMap<QString, QByteArray> before = treeSnapshot(outside.path());
    QVERIFY(QDir(data.path()).mkpath("undo/0000000001/nested"));
    writeFile(data.filePath("undo/0000000001/palette"), "AABBCC");
    writeFile(data.filePath("undo/0000000001/nested/x"), "x");
    QVERIFY(QFile::link(outside.path(), data.filePath("undo/0000000001/out")));
    QVERIFY(QFile::link(outside.filePath("sub"), data.filePath("undo/0000000001/nested/sub")));
    QVERIFY(QFile::link(outside.filePath("keep"), data.filePath("undo/0000000002")));

    const Access access(data.path(), resolver);
    QVERIFY(access.removeAll("undo/0000000001", QStringLiteral("remove")));
    QVERIFY(access.removeAll("undo/0000000002", QStringLiteral("remove")));
    QVERIFY(QDir(data.filePath("undo")).isEmpty());
    QCOMPARE(treeSnapshot(outside.path()), before);
    // Missing is no failure.
    QVERIFY(access.removeAll("undo/0000000003", QStringLiteral("remove")));
}

void tst_datafolderaccess::namesOutsideTheFolder_refused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "../escaped";
    QTest::newRow("absolute") << "/tmp/escaped";
    QTest::newRow("parent inside") << "undo/../../escaped";
    QTest::newRow("dot") << ".";
    QTest::newRow("empty part") << "undo//x";
}

void tst_datafolderaccess::namesOutsideTheFolder_refused()
{
    QFETCH(QString, name);
    QTemporaryDir parent;
    QVERIFY(QDir(parent.path()).mkpath("data/undo"));
    const QMap<QString, QByteArray> before = treeSnapshot(parent.path());
    const Access access(parent.filePath("data"));
    QFile file;
    QVERIFY(!access.open(file, name, Access::Access::Create, "create"));
    QVERIFY(!access.makeFolder(name, "create"));
    QVERIFY(!access.replace(name, name + ".tmp", "x", "write"));
    QVERIFY(!access.removeAll(name, "remove"));
    QCOMPARE(treeSnapshot(parent.path()), before);
}

void tst_datafolderaccess::copy_keepsHolesAndTime()
{
    QTemporaryDir data;
    QTemporaryDir outside;
    const qint64 size = qint64(64) << 20;
    {
        QFile sparse(outside.filePath("sparse"));
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.write("AABBCC") == 6);
        QVERIFY(sparse.resize(size));
        QVERIFY(sparse.seek(size - 6));
        QVERIFY(sparse.write("DDEEFF") == 6);
    }
    struct stat original;
    QCOMPARE(::stat(QFile::encodeName(outside.filePath("sparse")).constData(), &original), 0);
    const Access access(data.path());
    QVERIFY(access.makeFolder("undo", "make"));
    QFile source(outside.filePath("sparse"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const FileResult copied = access.copy(source, "undo/palette", "undo/palette.new", "copy");
    QVERIFY2(copied, qPrintable(copied.message));
    struct stat copy;
    QCOMPARE(::stat(QFile::encodeName(data.filePath("undo/palette")).constData(), &copy), 0);
    QCOMPARE(qint64(copy.st_size), size);
    // A file system with holes keeps them; the copy takes no more room than the original.
    QVERIFY(copy.st_blocks <= original.st_blocks + 16);
    QCOMPARE(copy.st_mtim.tv_sec, original.st_mtim.tv_sec);
    QCOMPARE(copy.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
    QCOMPARE(access.status("undo/palette").modified,
             qint64(original.st_mtim.tv_sec) * 1000000000 + original.st_mtim.tv_nsec);
    QFile back;
    QVERIFY(access.open(back, "undo/palette", Access::Access::Read, "read"));
    QCOMPARE(back.read(6), QByteArray("AABBCC"));
    QVERIFY(back.seek(size - 6));
    QCOMPARE(back.read(6), QByteArray("DDEEFF"));
    QVERIFY(!QFileInfo::exists(data.filePath("undo/palette.new")));
}

void tst_datafolderaccess::copy_keepLeavesExistingFile()
{
    QTemporaryDir data;
    QTemporaryDir outside;
    writeFile(outside.filePath("shipped"), "112233");
    writeFile(data.filePath("c1.rgb"), "user's own");
    QVERIFY(QFile::link(outside.filePath("nowhere"), data.filePath("c2.rgb")));
    const Access access(data.path());
    for (const char* name : {"c1.rgb", "c2.rgb"}) {
        QFile source(outside.filePath("shipped"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        bool taken = false;
        QVERIFY(access.copy(source, name, QString(name) + ".seed", "copy", Access::Existing::Keep,
                            &taken));
        QVERIFY(taken);
    }
    QCOMPARE(readFile(data.filePath("c1.rgb")), QByteArray("user's own"));
    QVERIFY(QFileInfo(data.filePath("c2.rgb")).isSymLink());
    QVERIFY(!QFileInfo::exists(outside.filePath("nowhere")));
    QCOMPARE(
        QDir(data.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
        2);
}

void tst_datafolderaccess::open_refusesPipeAndHardLinkWithoutBlocking()
{
    QTemporaryDir data;
    QCOMPARE(::mkfifo(QFile::encodeName(data.filePath("pipe.rgb")).constData(), 0600), 0);
    writeFile(data.filePath("shared.rgb"), "AABBCC");
    QCOMPARE(::link(QFile::encodeName(data.filePath("shared.rgb")).constData(),
                    QFile::encodeName(data.filePath("other")).constData()),
             0);
    const Access access(data.path());
    QFile file;
    const FileResult pipe = access.open(file, "pipe.rgb", Access::Access::Read, "read");
    QVERIFY(!pipe);
    QVERIFY(pipe.message.contains("not a plain file"));
    QVERIFY(access.open(file, "shared.rgb", Access::Access::Read, "read"));
    const FileResult shared = access.open(file, "shared.rgb", Access::Access::ReadWrite, "write");
    QVERIFY(!shared);
    QVERIFY(shared.message.contains("hard links"));
}

void tst_datafolderaccess::replace_failedWriteLeavesOldFile()
{
    QTemporaryDir data;
    writeFile(data.filePath("set.hcs"), "old names");
    QVERIFY(QDir(data.path()).mkdir("set.hcs.tmp"));
    const Access access(data.path());
    // A folder where the temporary file goes: the write cannot start.
    QVERIFY(!access.replace("set.hcs", "set.hcs.tmp", "new names", "save"));
    QCOMPARE(readFile(data.filePath("set.hcs")), QByteArray("old names"));
    QVERIFY(QDir(data.path()).rmdir("set.hcs.tmp"));
    writeFile(data.filePath("set.hcs.tmp"), "leftover");
    QVERIFY(access.replace("set.hcs", "set.hcs.tmp", "new names", "save"));
    QCOMPARE(readFile(data.filePath("set.hcs")), QByteArray("new names"));
    QVERIFY(!QFileInfo::exists(data.filePath("set.hcs.tmp")));
}

void tst_datafolderaccess::appendRecord_writesAfterTheLastWholeRecord_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<qint64>("recordLength");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("missing") << QByteArray("missing") << qint64(6) << QByteArray("ABCDEF");
    QTest::newRow("empty") << QByteArray() << qint64(6) << QByteArray("ABCDEF");
    QTest::newRow("whole records")
        << QByteArray("112233445566") << qint64(6) << QByteArray("112233445566ABCDEF");
    QTest::newRow("torn tail written over")
        << QByteArray("1122334") << qint64(6) << QByteArray("112233ABCDEF");
    QTest::newRow("bytes") << QByteArray("1122334") << qint64(1) << QByteArray("1122334ABCDEF");
}

void tst_datafolderaccess::appendRecord_writesAfterTheLastWholeRecord()
{
    QFETCH(QByteArray, before);
    QFETCH(qint64, recordLength);
    QFETCH(QByteArray, after);
    QTemporaryDir data;
    if (before != "missing")
        writeFile(data.filePath("c1.rgb"), before);
    QVERIFY(Access(data.path()).appendRecord("c1.rgb", "ABCDEF", recordLength, "add"));
    QCOMPARE(readFile(data.filePath("c1.rgb")), after);
}

void tst_datafolderaccess::appendRecord_refusesHardLink()
{
    QTemporaryDir data;
    writeFile(data.filePath("c1.rgb"), "AABBCC");
    QCOMPARE(::link(QFile::encodeName(data.filePath("c1.rgb")).constData(),
                    QFile::encodeName(data.filePath("other")).constData()),
             0);
    const FileResult shared = Access(data.path()).appendRecord("c1.rgb", "DDEEFF", 6, "add");
    QVERIFY(!shared);
    QVERIFY(shared.message.contains("hard links"));
    QCOMPARE(readFile(data.filePath("other")), QByteArray("AABBCC"));
}

QTEST_GUILESS_MAIN(tst_datafolderaccess)
#include "tst_datafolderaccess.moc"
