#include "palettes/ShippedPalettes.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/FileContents.h"

namespace {

const QByteArray FirstRelease =
    "mycolor.rgb\r\nMy Colors\r\n0\r\nc1.rgb\r\nWeb Safe Colors\r\n2\r\n";
const QByteArray PastelsEntry = "c6.rgb\r\nPastels\r\n2\r\n";

// The shipped folder of a release, and a user's folder seeded from the first one.
struct Folders
{
    QTemporaryDir shipped;
    QTemporaryDir user;

    Folders()
    {
        for (const QTemporaryDir* folder : {&shipped, &user}) {
            writeAll(folder->filePath(QStringLiteral("colorchart.cci")), FirstRelease);
            writeAll(folder->filePath(QStringLiteral("mycolor.rgb")), "");
            writeAll(folder->filePath(QStringLiteral("c1.rgb")), "003366");
        }
    }
    void nextReleaseShipsPastels() const
    {
        writeAll(shipped.filePath(QStringLiteral("colorchart.cci")), FirstRelease + PastelsEntry);
        writeAll(shipped.filePath(QStringLiteral("c6.rgb")), "FFD1DCAEC6CF");
    }
    QList<paletteindex::Entry> fresh() const
    {
        const shippedpalettes::Check check =
            shippedpalettes::NewPalettes(shipped.path(), user.path());
        [&check] { QVERIFY(check.result.ok); }();
        return check.fresh;
    }
    QByteArray userIndex() const
    {
        return readAll(user.filePath(QStringLiteral("colorchart.cci")));
    }
};

QStringList names(const QList<paletteindex::Entry>& entries)
{
    QStringList result;
    for (const paletteindex::Entry& entry : entries)
        result.append(entry.name);
    return result;
}

} // namespace

class tst_shippedpalettes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void firstStart_offersNothing();
    void newRelease_offersItsNewPalettesOnly();
    void declined_isNotOfferedAgainAndChangesNothing();
    void added_goesAfterTheUsersPalettesUnderAFreeName();
    void deletedByTheUser_isNotOfferedAgain();
    void linksInUserFolder_neverWrittenThrough();
};

void tst_shippedpalettes::firstStart_offersNothing()
{
    // A folder just seeded holds everything shipped.
    Folders f;
    QVERIFY(f.fresh().isEmpty());
    QVERIFY(QFile::exists(f.user.filePath(shippedpalettes::RecordFileName())));
    QVERIFY(f.fresh().isEmpty());
    QCOMPARE(f.userIndex(), FirstRelease);
}

void tst_shippedpalettes::newRelease_offersItsNewPalettesOnly()
{
    Folders f;
    QVERIFY(f.fresh().isEmpty());
    f.nextReleaseShipsPastels();
    QCOMPARE(names(f.fresh()), QStringList{QStringLiteral("Pastels")});
    // Asking never touches the user's index.
    QCOMPARE(f.userIndex(), FirstRelease);
}

void tst_shippedpalettes::declined_isNotOfferedAgainAndChangesNothing()
{
    Folders f;
    QVERIFY(f.fresh().isEmpty());
    f.nextReleaseShipsPastels();
    QVERIFY(shippedpalettes::Decline(f.user.path(), f.fresh()).ok);
    QVERIFY(f.fresh().isEmpty());
    QCOMPARE(f.userIndex(), FirstRelease);
    QVERIFY(!QFile::exists(f.user.filePath(QStringLiteral("c6.rgb"))));
}

void tst_shippedpalettes::added_goesAfterTheUsersPalettesUnderAFreeName()
{
    // The user made a palette of their own, which took the name c6.rgb.
    Folders f;
    QVERIFY(f.fresh().isEmpty());
    const QByteArray ownIndex = FirstRelease + "c6.rgb\r\nMine\r\n0\r\n";
    writeAll(f.user.filePath(QStringLiteral("colorchart.cci")), ownIndex);
    writeAll(f.user.filePath(QStringLiteral("c6.rgb")), "123456");
    f.nextReleaseShipsPastels();

    QVERIFY(shippedpalettes::Add(f.shipped.path(), f.user.path(), f.fresh()).ok);
    QCOMPARE(f.userIndex(), ownIndex + "c7.rgb\r\nPastels\r\n2\r\n");
    QCOMPARE(readAll(f.user.filePath(QStringLiteral("c6.rgb"))), QByteArray("123456"));
    QCOMPARE(readAll(f.user.filePath(QStringLiteral("c7.rgb"))), QByteArray("FFD1DCAEC6CF"));
    QVERIFY(f.fresh().isEmpty());
}

void tst_shippedpalettes::deletedByTheUser_isNotOfferedAgain()
{
    Folders f;
    QVERIFY(f.fresh().isEmpty());
    writeAll(f.user.filePath(QStringLiteral("colorchart.cci")),
             "mycolor.rgb\r\nMy Colors\r\n0\r\n");
    QVERIFY(QFile::remove(f.user.filePath(QStringLiteral("c1.rgb"))));
    f.nextReleaseShipsPastels();
    QCOMPARE(names(f.fresh()), QStringList{QStringLiteral("Pastels")});
}

void tst_shippedpalettes::linksInUserFolder_neverWrittenThrough()
{
    // A link that leads nowhere has the name of the new shipped palette: the
    // palette goes under a free name and nothing appears outside.
    Folders f;
    QVERIFY(f.fresh().isEmpty());
    QTemporaryDir outside;
    writeAll(outside.filePath(QStringLiteral("record")), "c1.rgb\n");
    const QMap<QString, QByteArray> before = treeSnapshot(outside.path());
    QVERIFY(QFile::link(outside.filePath(QStringLiteral("created")),
                        f.user.filePath(QStringLiteral("c6.rgb"))));
    f.nextReleaseShipsPastels();

    QVERIFY(shippedpalettes::Add(f.shipped.path(), f.user.path(), f.fresh()).ok);
    QCOMPARE(f.userIndex(), FirstRelease + "c2.rgb\r\nPastels\r\n2\r\n");
    QCOMPARE(readAll(f.user.filePath(QStringLiteral("c2.rgb"))), QByteArray("FFD1DCAEC6CF"));
    QVERIFY(QFileInfo(f.user.filePath(QStringLiteral("c6.rgb"))).isSymLink());
    QCOMPARE(treeSnapshot(outside.path()), before);

    // The record itself a link to an outside file: declining refuses to
    // replace it, naming it, and leaves the file it leads to alone.
    const QString record = f.user.filePath(shippedpalettes::RecordFileName());
    QVERIFY(QFile::remove(record));
    QVERIFY(QFile::link(outside.filePath(QStringLiteral("record")), record));
    const FileResult declined = shippedpalettes::Decline(
        f.user.path(), {{QStringLiteral("c8.rgb"), QStringLiteral("More"), QStringLiteral("2")}});
    QVERIFY(!declined);
    QVERIFY2(declined.message.contains(QStringLiteral("symbolic link")),
             qPrintable(declined.message));
    QCOMPARE(treeSnapshot(outside.path()), before);
}

QTEST_GUILESS_MAIN(tst_shippedpalettes)
#include "tst_shippedpalettes.moc"
