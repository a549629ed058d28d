// Kills each rewrite of a data file, run in a child process on large files,
// just before every file-system call it makes (and in the middle of every
// write), and at random moments. After each kill every file must hold its
// whole old or its whole new content, and the next start of the program must
// recover without a message and leave the files of one change all old or all
// new.
//
// TINTORA_CRASH_RANDOM_KILLS sets how many random kills each rewrite gets
// (4 by default); the seed of their moments is printed.
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "palettes/NamedEdits.h"
#include "palettes/PaletteNames.h"
#include "palettes/PaletteRecords.h"
#include "palettes/PaletteUndo.h"
#include "tests/scheme/SchemeWindowTest.h"
#include "scheme/SchemeFormat.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <csignal>
#include <functional>
#include <memory>

namespace {

const QString Index = QStringLiteral("colorchart.cci");
const QString Palette = QStringLiteral("mycolor.rgb");
const QString Names = QStringLiteral("set.hcs");
const QString Colors = QStringLiteral("colorset.dat");

constexpr int IndexEntries = 600;
constexpr int PaletteRecords = 200000;
constexpr int Schemes = 2000;

QByteArray largeIndex(bool withBlankLines)
{
    QByteArray content = "mycolor.rgb\r\nMy Colors\r\n0\r\nrecent.rgb\r\nRecent Colors\r\n0\r\n";
    for (int i = 1; i <= IndexEntries; ++i) {
        content += QStringLiteral("c%1.rgb\r\nPalette %1\r\n1\r\n").arg(i).toLatin1();
        if (withBlankLines && i % 3 == 0)
            content += "   \r\n\r\n";
    }
    return content;
}

// `count` records cycling through `distinct` colours, none black or white.
QByteArray largePalette(int count, int distinct)
{
    QByteArray content;
    content.reserve(qsizetype(count) * 6);
    for (int r = 0; r < count; ++r) {
        const int n = r % distinct + 1;
        content += bascommon::ColorToHtmlHex(bascommon::MakeColor(n & 255, (n >> 8) & 255, 7))
                       .mid(1)
                       .toLatin1();
    }
    return content;
}

void writeLargeSchemes(TestDataFolder& folder)
{
    QByteArray names;
    QByteArray colors;
    for (int i = 0; i < Schemes; ++i) {
        names += schemeformat::LineFromName(QStringLiteral("Scheme %1").arg(i));
        SchemeColors scheme;
        scheme.text = bascommon::MakeColor(i & 255, (i >> 8) & 255, 1);
        scheme.hoverLink = bascommon::MakeColor(i & 255, (i >> 8) & 255, 2);
        colors += schemeformat::EncodeRecord(scheme);
    }
    folder.write(Names, names);
    folder.write(Colors, colors);
}

struct Rewrite
{
    QString name;
    QString argument;
    // The files that the rewrite replaces, together.
    QStringList files;
    std::function<void(TestDataFolder&)> prepare;
};

const QList<Rewrite>& rewrites()
{
    static const QList<Rewrite> all = {
        {"repair-index", {}, {Index}, [](TestDataFolder& f) { f.write(Index, largeIndex(true)); }},
        {"delete-entry",
         QString::number(IndexEntries / 2),
         {Index},
         [](TestDataFolder& f) { f.write(Index, largeIndex(false)); }},
        {"delete-colour",
         QString::number(PaletteRecords / 2),
         {Palette},
         [](TestDataFolder& f) { f.write(Palette, largePalette(PaletteRecords, PaletteRecords)); }},
        {"clear-duplicates",
         {},
         {Palette},
         [](TestDataFolder& f) {
             f.write(Palette, largePalette(PaletteRecords, PaletteRecords / 4));
         }},
        {"delete-scheme", QString::number(Schemes / 2), {Names, Colors}, writeLargeSchemes},
    };
    return all;
}

void copyFiles(const TestDataFolder& from, const TestDataFolder& to)
{
    const QDir source(from.path());
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), to.filePath(name));
}

// The whole folder, the journal's folders included.
void copyTree(const TestDataFolder& from, const TestDataFolder& to)
{
    const QDir source(from.path());
    QDirIterator it(from.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to.filePath(source.relativeFilePath(path));
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(path, target);
    }
}

// The whole entries of the journal, leftovers cleared as at start.
int journalEntries(const TestDataFolder& folder)
{
    PaletteUndo(folder.path()).clearLeftovers();
    return int(QDir(folder.filePath(PaletteUndo::folderName()))
                   .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

// Delete Color with its copy for undo, as the window runs it.
FileResult deleteColourKept(const TestDataFolder& folder, qint32 record)
{
    PaletteUndo undo(folder.path());
    if (FileResult kept = undo.keep(PaletteUndo::Edit::DeleteColor,
                                    {Palette, QStringLiteral("My Colors"), QStringLiteral("0"), 1});
        !kept)
        return kept;
    if (FileResult deleted = paletterecords::DeleteRecord(folder.filePath(Palette), record);
        !deleted) {
        undo.editFailed();
        return deleted;
    }
    undo.editDone();
    return FileResult::success();
}

QList<QByteArray> contentsOf(const TestDataFolder& folder, const QStringList& files)
{
    QList<QByteArray> contents;
    for (const QString& file : files)
        contents.append(folder.read(file));
    return contents;
}

// A child running one rewrite on `folder`, stopped after "ready".
class Child
{
public:
    Child(const TestDataFolder& folder, const Rewrite& rewrite, int killAt = 0, bool tears = false,
          int diskFullAt = 0)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (diskFullAt > 0)
            environment.insert(QStringLiteral("TINTORA_DISK_FULL_AT"), QString::number(diskFullAt));
        if (killAt > 0)
            environment.insert(QStringLiteral("TINTORA_KILL_AT"), QString::number(killAt));
        if (tears)
            environment.insert(QStringLiteral("TINTORA_KILL_TEARS"), QStringLiteral("1"));
        m_process.setProcessEnvironment(environment);
        QStringList arguments = {folder.path(), rewrite.name};
        if (!rewrite.argument.isEmpty())
            arguments.append(rewrite.argument);
        m_process.start(QStringLiteral(TINTORA_REWRITE_CHILD), arguments);
    }

    bool waitUntilReady()
    {
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(30000))
                return false;
        return m_process.readLine() == "ready\n";
    }

    void go()
    {
        m_process.write("g");
        m_process.waitForBytesWritten();
    }

    void killAfter(qint64 nanoseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.nsecsElapsed() < nanoseconds) {
        }
        ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL);
    }

    bool finish() { return m_process.waitForFinished(60000); }
    bool killed() const { return m_process.exitStatus() == QProcess::CrashExit; }
    // A run to the end that nothing went wrong in, sanitizers included.
    bool succeeded() const
    {
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    QByteArray output() { return m_process.readAll(); }

private:
    QProcess m_process;
};

} // namespace

class tst_crashconsistency : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void killedRewrite_leavesWholeFilesAndStartsQuietly_data();
    void killedRewrite_leavesWholeFilesAndStartsQuietly();
    void paletteFileLeftByDeletion_newPaletteStartsEmpty();
    void killedUndoJournal_paletteAndJournalWholeAndNextEditWorks_data();
    void killedUndoJournal_paletteAndJournalWholeAndNextEditWorks();
    void diskFull_saysWhatHappenedNamingTheFile_data();
    void diskFull_saysWhatHappenedNamingTheFile();
    void killedNamedEdit_neverShowsAWrongName_data();
    void killedNamedEdit_neverShowsAWrongName();
    void cleanupTestCase();

private:
    enum class Outcome { Old, New, Mixed };
    Outcome checkAfterKill(const TestDataFolder& folder, const Rewrite& rewrite,
                           const QList<QByteArray>& before, const QList<QByteArray>& after);
    int m_killPoints = 0;
};

void tst_crashconsistency::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_crashconsistency::killedRewrite_leavesWholeFilesAndStartsQuietly_data()
{
    QTest::addColumn<int>("rewrite");
    for (int i = 0; i < rewrites().size(); ++i)
        QTest::newRow(qPrintable(rewrites().at(i).name)) << i;
}

tst_crashconsistency::Outcome tst_crashconsistency::checkAfterKill(const TestDataFolder& folder,
                                                                   const Rewrite& rewrite,
                                                                   const QList<QByteArray>& before,
                                                                   const QList<QByteArray>& after)
{
    bool allOld = true;
    bool allNew = true;
    const QList<QByteArray> now = contentsOf(folder, rewrite.files);
    for (qsizetype i = 0; i < now.size(); ++i) {
        const bool old = now.at(i) == before.at(i);
        const bool fresh = now.at(i) == after.at(i);
        if (!old && !fresh)
            qWarning("%s holds neither its old nor its new content (%lld bytes)",
                     qPrintable(rewrite.files.at(i)), static_cast<long long>(now.at(i).size()));
        allOld = allOld && old;
        allNew = allNew && fresh;
    }
    if (allOld)
        return Outcome::Old;
    if (allNew)
        return Outcome::New;
    return Outcome::Mixed;
}

void tst_crashconsistency::killedRewrite_leavesWholeFilesAndStartsQuietly()
{
    QFETCH(int, rewrite);
    const Rewrite& r = rewrites().at(rewrite);

    TestDataFolder start;
    r.prepare(start);
    const QList<QByteArray> before = contentsOf(start, r.files);

    // A run to the end gives the new content, the calls and the time taken.
    TestDataFolder reference(TestDataFolder::Contents::Empty);
    copyFiles(start, reference);
    Child complete(reference, r);
    QVERIFY(complete.waitUntilReady());
    complete.go();
    QVERIFY(complete.finish());
    QVERIFY(complete.succeeded());
    const QList<QByteArray> done = complete.output().trimmed().split(' ');
    QVERIFY2(done.size() == 3 && done.at(0) == "done", qPrintable(done.join(' ')));
    const QByteArray calls = done.at(1);
    const qint64 duration = done.at(2).toLongLong();
    const QList<QByteArray> after = contentsOf(reference, r.files);
    QVERIFY(after != before);

    struct KillPoint
    {
        int call = 0; // 0: at a random moment
        bool tears = false;
        qint64 delay = 0;
    };
    QList<KillPoint> points;
    for (int n = 1; n <= calls.size(); ++n) {
        points.append({n, false, 0});
        if (calls.at(n - 1) == 'w')
            points.append({n, true, 0});
    }
    const int randomKills = qEnvironmentVariableIsSet("TINTORA_CRASH_RANDOM_KILLS")
                                ? qEnvironmentVariableIntValue("TINTORA_CRASH_RANDOM_KILLS")
                                : 4;
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    for (int i = 0; i < randomKills; ++i)
        points.append({0, false, qint64(random.bounded(1.3) * double(duration))});

    int outcomes[2] = {0, 0};
    for (const KillPoint& point : points) {
        const QString where = point.call > 0 ? QStringLiteral("before call %1 (%2)%3")
                                                   .arg(point.call)
                                                   .arg(QLatin1Char(calls.at(point.call - 1)))
                                                   .arg(point.tears ? " tearing it" : "")
                                             : QStringLiteral("after %1 ns").arg(point.delay);
        TestDataFolder folder(TestDataFolder::Contents::Empty);
        copyFiles(start, folder);
        Child child(folder, r, point.call, point.tears);
        QVERIFY(child.waitUntilReady());
        child.go();
        if (point.call == 0)
            child.killAfter(point.delay);
        QVERIFY(child.finish());
        if (point.call > 0)
            QVERIFY2(child.killed(), qPrintable(QStringLiteral("not killed ") + where));
        ++m_killPoints;

        // Each file on its own is whole even where a change of two is half done.
        const Outcome outcome = checkAfterKill(folder, r, before, after);
        if (outcome != Outcome::Mixed)
            ++outcomes[static_cast<int>(outcome)];
        for (qsizetype i = 0; i < r.files.size(); ++i) {
            const QByteArray now = folder.read(r.files.at(i));
            QVERIFY2(now == before.at(i) || now == after.at(i),
                     qPrintable(r.files.at(i) + QStringLiteral(" damaged when killed ") + where));
        }

        // The next start.
        FakePlatform platform;
        std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, folder.path()));
        QVERIFY2(platform.messages.isEmpty(), qPrintable(platform.messageTexts().join('\n') +
                                                         QStringLiteral(" after a kill ") + where));
        QVERIFY(platform.unexpected.isEmpty());
        window.reset();
        const Outcome recovered = checkAfterKill(folder, r, before, after);
        QVERIFY2(
            recovered != Outcome::Mixed,
            qPrintable(QStringLiteral("the next start left a change half done, killed ") + where));
    }
    qInfo("%s: %lld kill points (%d calls, random seed %u): %d left the old files, %d the new, "
          "%d one file of each",
          qPrintable(r.name), static_cast<long long>(points.size()), int(calls.size()), seed,
          outcomes[0], outcomes[1], int(points.size()) - outcomes[0] - outcomes[1]);
    // The kill points reach both sides of the change.
    QVERIFY(outcomes[0] > 0);
    QVERIFY(outcomes[1] > 0);
}

void tst_crashconsistency::paletteFileLeftByDeletion_newPaletteStartsEmpty()
{
    // Deleting the last palette, c6.rgb, removed its entry; the run ended
    // before its file was deleted. The next new palette gets that name again.
    TestDataFolder folder;
    folder.write(Index, TestDataFolder::shipped(Index));
    folder.write(QStringLiteral("c6.rgb"), "123456ABCDEF");
    FakePlatform platform;
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, folder.path()));
    QCOMPARE(window->NewChartFile, QStringLiteral("c6.rgb"));
    schemetest::answerNameDialog(QStringLiteral("Fresh"));
    window->mnuNew->trigger();

    QCOMPARE(window->ChartFile.constLast(), QStringLiteral("c6.rgb"));
    QCOMPARE(window->cmbChart->currentText(), QStringLiteral("Fresh"));
    QCOMPARE(window->ColorCount, 0);
    QCOMPARE(folder.read(QStringLiteral("c6.rgb")), QByteArray());
    QVERIFY(platform.messages.isEmpty());
}

void tst_crashconsistency::killedUndoJournal_paletteAndJournalWholeAndNextEditWorks_data()
{
    QTest::addColumn<QString>("rewrite");
    QTest::newRow("keep a copy and delete a colour") << "undo-delete-colour";
    QTest::newRow("undo") << "undo-last";
}

void tst_crashconsistency::killedUndoJournal_paletteAndJournalWholeAndNextEditWorks()
{
    QFETCH(QString, rewrite);
    const Rewrite r{rewrite,
                    rewrite == QLatin1String("undo-last") ? QString()
                                                          : QString::number(PaletteRecords / 2),
                    {Palette},
                    {}};
    TestDataFolder start(TestDataFolder::Contents::Empty);
    start.write(Index, "mycolor.rgb\r\nMy Colors\r\n0\r\n");
    start.write(Palette, largePalette(PaletteRecords, PaletteRecords));
    if (rewrite == QLatin1String("undo-last")) {
        const FileResult deleted = deleteColourKept(start, 7);
        QVERIFY2(deleted, qPrintable(deleted.message));
    }
    const QByteArray before = start.read(Palette);
    const int entriesBefore = journalEntries(start);

    TestDataFolder reference(TestDataFolder::Contents::Empty);
    copyTree(start, reference);
    Child complete(reference, r);
    QVERIFY(complete.waitUntilReady());
    complete.go();
    QVERIFY(complete.finish());
    const QList<QByteArray> done = complete.output().trimmed().split(' ');
    QVERIFY2(complete.succeeded() && done.size() == 3 && done.at(0) == "done",
             qPrintable(done.join(' ')));
    const QByteArray calls = done.at(1);
    const QByteArray after = reference.read(Palette);
    const int entriesAfter = journalEntries(reference);
    QVERIFY(after != before);
    QVERIFY(entriesAfter != entriesBefore);

    int outcomes[2] = {0, 0};
    for (int call = 1; call <= calls.size(); ++call) {
        for (const bool tears : {false, true}) {
            if (tears && calls.at(call - 1) != 'w')
                continue;
            const QString where = QStringLiteral("before call %1 (%2)%3")
                                      .arg(call)
                                      .arg(QLatin1Char(calls.at(call - 1)))
                                      .arg(tears ? " tearing it" : "");
            TestDataFolder folder(TestDataFolder::Contents::Empty);
            copyTree(start, folder);
            Child child(folder, r, call, tears);
            QVERIFY(child.waitUntilReady());
            child.go();
            QVERIFY(child.finish());
            QVERIFY2(child.killed(), qPrintable(QStringLiteral("not killed ") + where));
            ++m_killPoints;

            const QByteArray now = folder.read(Palette);
            QVERIFY2(now == before || now == after,
                     qPrintable(QStringLiteral("palette damaged when killed ") + where));
            ++outcomes[now == before ? 0 : 1];
            const int entries = journalEntries(folder);
            QVERIFY2(
                entries == entriesBefore || entries == entriesAfter,
                qPrintable(QStringLiteral("%1 entries in the journal when killed ").arg(entries) +
                           where));

            // The next edit, and undoing it, work.
            const FileResult next = deleteColourKept(folder, 1);
            QVERIFY2(next, qPrintable(next.message + QStringLiteral(" after a kill ") + where));
            const FileResult undone = PaletteUndo(folder.path()).undoLast();
            QVERIFY2(undone, qPrintable(undone.message + QStringLiteral(" after a kill ") + where));
            QVERIFY2(
                folder.read(Palette) == now,
                qPrintable(QStringLiteral("undo did not restore the palette, killed ") + where));
        }
    }
    QVERIFY(outcomes[0] > 0);
    QVERIFY(outcomes[1] > 0);
}

void tst_crashconsistency::diskFull_saysWhatHappenedNamingTheFile_data()
{
    QTest::addColumn<QString>("rewrite");
    QTest::addColumn<QString>("named");
    QTest::newRow("delete colour") << "delete-colour" << Palette;
    QTest::newRow("copy for undo") << "undo-delete-colour" << PaletteUndo::folderName();
}

void tst_crashconsistency::diskFull_saysWhatHappenedNamingTheFile()
{
    QFETCH(QString, rewrite);
    QFETCH(QString, named);
    TestDataFolder folder(TestDataFolder::Contents::Empty);
    const QByteArray palette = largePalette(20000, 20000);
    folder.write(Palette, palette);
    const Rewrite r{rewrite, QStringLiteral("5"), {Palette}, {}};
    Child child(folder, r, 0, false, 1);
    QVERIFY(child.waitUntilReady());
    child.go();
    QVERIFY(child.finish());
    const QString output = QString::fromLocal8Bit(child.output());
    QVERIFY2(output.startsWith(QStringLiteral("failed ")), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("No space left on device")) &&
                 output.contains(QDir::toNativeSeparators(folder.filePath(named))),
             qPrintable(output));
    QCOMPARE(folder.read(Palette), palette);
    // Nothing is left behind: no temporary file, no half entry.
    QCOMPARE(QDir(folder.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{Palette});
}

namespace {

const QString PaletteNamesFile = QStringLiteral("mycolor.names");
// The colour deleted by the named rewrites, itself named.
constexpr qint32 DeletedRecord = PaletteRecords / 2;

// Every third record named after its number, the deleted one among them.
QByteArray namesEveryThird(const QByteArray& palette)
{
    QByteArray lines;
    for (qint64 r = 1; r * 6 <= palette.size(); r += 3)
        lines += palette.mid((r - 1) * 6, 6) + "\tcolour " + QByteArray::number(r) + '\n';
    return lines;
}

// Where record `record` of one side of a change stands on the other side; 0
// where it has no place there.
qint32 afterDeleting(qint32 record)
{
    return record < DeletedRecord ? record : record == DeletedRecord ? 0 : record - 1;
}

qint32 beforeDeleting(qint32 record)
{
    return record < DeletedRecord ? record : record + 1;
}

} // namespace

void tst_crashconsistency::killedNamedEdit_neverShowsAWrongName_data()
{
    QTest::addColumn<QString>("rewrite");
    QTest::newRow("delete a named colour") << "delete-named-colour";
    QTest::newRow("clear duplicates of named colours") << "clear-named-duplicates";
    QTest::newRow("clear all named colours") << "clear-all-named";
    QTest::newRow("undo deleting a named colour") << "undo-last";
    QTest::newRow("add a palette of named colours") << "add-named-palette";
}

void tst_crashconsistency::killedNamedEdit_neverShowsAWrongName()
{
    QFETCH(QString, rewrite);
    const bool adds = rewrite == QLatin1String("add-named-palette");
    const bool undoes = rewrite == QLatin1String("undo-last");
    const QString paletteFile = adds ? QStringLiteral("c6.rgb") : Palette;
    const QString namesFile = PaletteNames::fileFor(paletteFile);
    QString argument;
    if (rewrite == QLatin1String("delete-named-colour"))
        argument = QString::number(DeletedRecord);
    else if (adds)
        argument = QString::number(60000);
    const Rewrite r{rewrite, argument, {paletteFile, namesFile}, {}};

    // The shipped data, so that the next start has all it needs.
    TestDataFolder start;
    QVERIFY(!start.exists(paletteFile) || !adds);
    if (!adds) {
        const QByteArray palette = largePalette(
            PaletteRecords, rewrite == QLatin1String("clear-named-duplicates") ? PaletteRecords / 4
                                                                               : PaletteRecords);
        start.write(Palette, palette);
        start.write(PaletteNamesFile, namesEveryThird(palette));
    }
    if (undoes) {
        PaletteUndo undo(start.path());
        QVERIFY(undo.keep(PaletteUndo::Edit::DeleteColor,
                          {Palette, QStringLiteral("My Colors"), QStringLiteral("0"), 1}));
        QVERIFY(namededits::DeleteColor(start.path(), Palette, DeletedRecord));
        undo.editDone();
    }
    const QList<QByteArray> before = contentsOf(start, r.files);
    PaletteNames namesBefore;
    QVERIFY(PaletteNames::read(start.path(), paletteFile, namesBefore));

    TestDataFolder reference(TestDataFolder::Contents::Empty);
    copyTree(start, reference);
    Child complete(reference, r);
    QVERIFY(complete.waitUntilReady());
    complete.go();
    QVERIFY(complete.finish());
    const QList<QByteArray> done = complete.output().trimmed().split(' ');
    QVERIFY2(complete.succeeded() && done.size() == 3 && done.at(0) == "done",
             qPrintable(done.join(' ')));
    const QByteArray calls = done.at(1);
    const QList<QByteArray> after = contentsOf(reference, r.files);
    PaletteNames namesAfter;
    QVERIFY(PaletteNames::read(reference.path(), paletteFile, namesAfter));
    QVERIFY(after.at(0) != before.at(0));
    QVERIFY(after.at(1) != before.at(1));

    // Where a record of the palette before the change stands after it, and
    // the other way round.
    const auto toAfter = [&](qint32 record) -> qint32 {
        if (rewrite == QLatin1String("delete-named-colour"))
            return afterDeleting(record);
        if (undoes)
            return beforeDeleting(record);
        if (rewrite == QLatin1String("clear-named-duplicates"))
            return record <= PaletteRecords / 4 ? record : 0;
        return 0;
    };
    const auto toBefore = [&](qint32 record) -> qint32 {
        if (rewrite == QLatin1String("delete-named-colour"))
            return beforeDeleting(record);
        if (undoes)
            return afterDeleting(record);
        if (rewrite == QLatin1String("clear-named-duplicates"))
            return record;
        return 0;
    };

    int outcomes[2] = {0, 0};
    for (int call = 1; call <= calls.size(); ++call) {
        for (const bool tears : {false, true}) {
            if (tears && calls.at(call - 1) != 'w')
                continue;
            const QString where = QStringLiteral("before call %1 (%2)%3")
                                      .arg(call)
                                      .arg(QLatin1Char(calls.at(call - 1)))
                                      .arg(tears ? " tearing it" : "");
            TestDataFolder folder(TestDataFolder::Contents::Empty);
            copyTree(start, folder);
            Child child(folder, r, call, tears);
            QVERIFY(child.waitUntilReady());
            child.go();
            QVERIFY(child.finish());
            QVERIFY2(child.killed(), qPrintable(QStringLiteral("not killed ") + where));
            ++m_killPoints;

            // Each file whole, old or new.
            const QList<QByteArray> now = contentsOf(folder, r.files);
            for (qsizetype i = 0; i < now.size(); ++i)
                QVERIFY2(
                    now.at(i) == before.at(i) || now.at(i) == after.at(i),
                    qPrintable(r.files.at(i) + QStringLiteral(" damaged when killed ") + where));
            const bool paletteIsOld = now.at(0) == before.at(0);
            ++outcomes[now == before ? 0 : 1];

            // Every name shown is one that record had before or has after.
            PaletteNames shown;
            QVERIFY(PaletteNames::read(folder.path(), paletteFile, shown));
            for (auto it = shown.named().cbegin(); it != shown.named().cend(); ++it) {
                const qint32 old = paletteIsOld ? it.key() : toBefore(it.key());
                const qint32 fresh = paletteIsOld ? toAfter(it.key()) : it.key();
                QVERIFY2((old > 0 && it->name == namesBefore.nameOf(old)) ||
                             (fresh > 0 && it->name == namesAfter.nameOf(fresh)),
                         qPrintable(QStringLiteral("record %1 shows \"%2\" when killed ")
                                        .arg(it.key())
                                        .arg(it->name) +
                                    where));
            }

            // The next start says nothing. Adding a palette appends its entry
            // to the index, and an append torn short is told at start as a
            // damaged index (the index's own tests cover that).
            if (adds && tears)
                continue;
            FakePlatform platform;
            std::unique_ptr<frmshowcolor> window(
                basmain::CreateMainWindow(platform, folder.path()));
            QVERIFY2(platform.messages.isEmpty(),
                     qPrintable(platform.messageTexts().join('\n') +
                                QStringLiteral(" after a kill ") + where));
            QVERIFY(platform.unexpected.isEmpty());
        }
    }
    QVERIFY(outcomes[0] > 0);
    QVERIFY(outcomes[1] > 0);
}

void tst_crashconsistency::cleanupTestCase()
{
    qInfo("%d kill points in all", m_killPoints);
}

QTEST_MAIN(tst_crashconsistency)
#include "tst_crashconsistency.moc"
