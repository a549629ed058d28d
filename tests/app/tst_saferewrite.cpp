#include "app/SafeRewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/FileContents.h"

namespace {

// A file with `content` in a folder other than the data folder.
struct Elsewhere
{
    explicit Elsewhere(const QByteArray& content) { writeAll(file, content); }
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("elsewhere"));
};

} // namespace

class tst_saferewrite : public QObject
{
    Q_OBJECT
private slots:
    void replace_putsNewContentInPlace();
    void replace_emptiesALeftoverTemporaryFile();
    void replace_targetTakenByFolder_keepsEverything();
    void replace_temporaryTakenByFolder_keepsOldFile();
    void replace_missingFolder_reportsTheFile();
    void replace_targetThatIsALink_isRefused();
    void replace_leftoverTemporaryLink_isNotWrittenThrough();
};

void tst_saferewrite::replace_putsNewContentInPlace()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("c1.rgb"));
    writeAll(target, "AAAAAABBBBBB");
    QVERIFY(replaceFileContents(target, target + QStringLiteral(".tmp"), "CCCCCC").ok);
    QCOMPARE(readAll(target), QByteArray("CCCCCC"));
    QVERIFY(!QFile::exists(target + QStringLiteral(".tmp")));
}

void tst_saferewrite::replace_emptiesALeftoverTemporaryFile()
{
    // An interrupted run may leave its temporary file behind; its old content
    // must never end up in the new file.
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("c1.rgb"));
    writeAll(target, "AAAAAA");
    writeAll(target + QStringLiteral(".ctm"), "DDDDDDEEEEEEFFFFFF");
    QVERIFY(replaceFileContents(target, target + QStringLiteral(".ctm"), "BBBBBB").ok);
    QCOMPARE(readAll(target), QByteArray("BBBBBB"));
}

void tst_saferewrite::replace_targetTakenByFolder_keepsEverything()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("set.hcs"));
    QVERIFY(QDir().mkdir(target));
    const FileResult result =
        replaceFileContents(target, dir.filePath(QStringLiteral("set.hct")), "x");
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QStringLiteral("set.hcs")), qPrintable(result.message));
    QVERIFY(QFileInfo(target).isDir());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("set.hct"))));
}

void tst_saferewrite::replace_temporaryTakenByFolder_keepsOldFile()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("colorchart.cci"));
    writeAll(target, "old\r\n");
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("colorchart.cct"))));
    const FileResult result =
        replaceFileContents(target, dir.filePath(QStringLiteral("colorchart.cct")), "new\r\n");
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QStringLiteral("colorchart.cct")), qPrintable(result.message));
    QCOMPARE(readAll(target), QByteArray("old\r\n"));
}

void tst_saferewrite::replace_missingFolder_reportsTheFile()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("gone/colorset.dat"));
    const FileResult result = replaceFileContents(target, target + QStringLiteral(".dam"), "x");
    QVERIFY(!result.ok);
    QVERIFY(!result.message.isEmpty());
}

void tst_saferewrite::replace_targetThatIsALink_isRefused()
{
    // Renaming over a link would turn it into a plain file behind the
    // user's back; a file of another folder it leads to stays as it is too.
    QTemporaryDir dir;
    const Elsewhere outside("AAAAAA");
    const QString& elsewhere = outside.file;
    const QString target = dir.filePath(QStringLiteral("c1.rgb"));
    QVERIFY(QFile::link(elsewhere, target));
    const FileResult result =
        replaceFileContents(target, target + QStringLiteral(".ctm"), "BBBBBB");
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QStringLiteral("symbolic link")), qPrintable(result.message));
    QCOMPARE(QFileInfo(target).symLinkTarget(), elsewhere);
    QCOMPARE(readAll(elsewhere), QByteArray("AAAAAA"));
    QVERIFY(!QFile::exists(target + QStringLiteral(".ctm")));
}

void tst_saferewrite::replace_leftoverTemporaryLink_isNotWrittenThrough()
{
    QTemporaryDir dir;
    const Elsewhere outside("keep me");
    const QString& elsewhere = outside.file;
    const QString dangling = outside.dir.filePath(QStringLiteral("never created"));
    const QString target = dir.filePath(QStringLiteral("c1.rgb"));
    writeAll(target, "AAAAAA");
    for (const QString& leadsTo : {elsewhere, dangling}) {
        QVERIFY(QFile::link(leadsTo, target + QStringLiteral(".tmp")));
        QVERIFY(replaceFileContents(target, target + QStringLiteral(".tmp"), "BBBBBB").ok);
        QCOMPARE(readAll(target), QByteArray("BBBBBB"));
        QVERIFY(!QFileInfo(target).isSymLink());
    }
    QCOMPARE(readAll(elsewhere), QByteArray("keep me"));
    QVERIFY(!QFile::exists(dangling));
}

QTEST_GUILESS_MAIN(tst_saferewrite)
#include "tst_saferewrite.moc"
