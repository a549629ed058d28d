// Data folders that hold files from elsewhere (downloaded, synced, restored):
// links that lead out of the folder, index entries that name the program's
// own files, an index whose second entry is another palette, an empty kind
// line, leftovers of interrupted rewrites and a folder that is gone. Nothing
// outside the folder may change, and no palette may be paired with another's
// name, kind or colours, on screen or on disk.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>

#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "palettes/PaletteIndex.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/scheme/SchemeWindowTest.h"

#include <functional>
#include <memory>

namespace {

const QList<IndexLine> Palettes = {
    {"mycolor.rgb", "My Colors", "0"},
    {"recent.rgb", "Recent Colors", "0"},
    {"c1.rgb", "Web", "2"},
    {"c4.rgb", "Mine", "1"},
    {"c7.rgb", "Last", "1"},
};
const QByteArray MinePalette = "AAAAAABBBBBBAAAAAA";

// Every file below `root`: its content, or where it leads for a link.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QFile file(path);
        QByteArray content = "<folder>";
        if (info.isSymLink())
            content = "-> " + QFile::encodeName(info.symLinkTarget());
        else if (!info.isDir() && file.open(QIODevice::ReadOnly))
            content = file.readAll();
        files.insert(QDir(root).relativeFilePath(path), content);
    }
    return files;
}

// Moves the data file `name` out of the folder and puts a link in its place;
// with `dangling` the link leads to a file that does not exist.
void linkOut(TestDataFolder& folder, const QTemporaryDir& outside, const QString& name,
             bool dangling)
{
    const QString target = QDir(outside.path()).filePath(QStringLiteral("elsewhere-") + name);
    if (!dangling)
        QVERIFY(QFile::rename(folder.filePath(name), target));
    else
        folder.remove(name);
    QVERIFY(QFile::link(target, folder.filePath(name)));
}

struct LinkCase
{
    QString linked;
    bool dangling = false;
    // Runs the commands that would write to the linked file.
    std::function<void(PaletteSession&)> run;
};

void changeColourThreeTimes(PaletteSession& s)
{
    for (int i = 1; i <= 3; ++i)
        s.window->CurrentColorChanged(bascommon::MakeColor(i, 2, 3));
    s.window->close();
}

void choosePaletteAndCell(PaletteSession& s)
{
    s.choosePalette(3);
    s.clickCell(0);
}

} // namespace

Q_DECLARE_METATYPE(LinkCase)

class tst_hostilefolder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { QVERIFY(m_unexpected.isEmpty()); }
    void linkedDataFile_isLeftAlone_data();
    void linkedDataFile_isLeftAlone();
    void indexEntriesOfOtherFiles_areNotPalettes();
    void recentColours_areFoundByTheirFileName();
    void emptyKindLine_keepsEveryPaletteWithItsName();
    void leftoverTemporaryFiles_goAtStart();
    void missingDataFolder_isOneMessage();
    void longAddToMenu_comesInGroups_thatAddToTheChosenPalette();

private:
    QStringList m_unexpected;
};

void tst_hostilefolder::linkedDataFile_isLeftAlone_data()
{
    QTest::addColumn<LinkCase>("link");
    const auto answerYes = [](PaletteSession& s) {
        s.platform.answers.append(Platform::Answer::Yes);
    };
    QTest::newRow("recent colours") << LinkCase{"recent.rgb", false, changeColourThreeTimes};
    QTest::newRow("recent colours, dangling")
        << LinkCase{"recent.rgb", true, changeColourThreeTimes};
    QTest::newRow("add to a palette") << LinkCase{"c4.rgb", false, [](PaletteSession& s) {
                                                      s.clickCell(0);
                                                      s.action("mnuAddChart_2")->trigger();
                                                  }};
    QTest::newRow("add to a palette, dangling")
        << LinkCase{"c4.rgb", true, [](PaletteSession& s) {
                        s.clickCell(0);
                        s.action("mnuAddChart_2")->trigger();
                    }};
    QTest::newRow("show a palette, dangling") << LinkCase{"c4.rgb", true, [](PaletteSession& s) {
                                                              s.choosePalette(3);
                                                              s.choosePalette(0);
                                                              s.choosePalette(3);
                                                          }};
    QTest::newRow("delete a colour") << LinkCase{"c4.rgb", false, [](PaletteSession& s) {
                                                     choosePaletteAndCell(s);
                                                     s.action("mnuDelCor")->trigger();
                                                 }};
    QTest::newRow("clear duplicates") << LinkCase{"c4.rgb", false, [](PaletteSession& s) {
                                                      s.choosePalette(3);
                                                      s.action("mnuCleanDup")->trigger();
                                                  }};
    QTest::newRow("clear all colours") << LinkCase{"c4.rgb", false, [answerYes](PaletteSession& s) {
                                                       s.choosePalette(3);
                                                       answerYes(s);
                                                       s.action("mnuCleanAll")->trigger();
                                                   }};
    QTest::newRow("delete the palette")
        << LinkCase{"c4.rgb", false, [answerYes](PaletteSession& s) {
                        s.choosePalette(3);
                        answerYes(s);
                        s.action("mnuDelChart")->trigger();
                    }};
    QTest::newRow("index repaired at start")
        << LinkCase{"colorchart.cci", false, [](PaletteSession&) {}};
    QTest::newRow("index of a new palette")
        << LinkCase{"colorchart.cci", false, [](PaletteSession& s) {
                        // Unread, the index leaves the new palette a name
                        // that may be a listed palette's: that one stays.
                        s.folder.write(QStringLiteral("c1.rgb"), MinePalette);
                        schemetest::answerNameDialog(QStringLiteral("Fresh"));
                        s.action("mnuNew")->trigger();
                        QCOMPARE(s.folder.read(QStringLiteral("c1.rgb")), MinePalette);
                    }};
    QTest::newRow("saved scheme names read at start")
        << LinkCase{"set.hcs", false, [](PaletteSession&) {}};
    QTest::newRow("saved scheme names")
        << LinkCase{"set.hcs", false, [](PaletteSession& s) {
                        schemetest::answerNameDialog(QStringLiteral("Kept"));
                        s.action("mnuSaveScheme")->trigger();
                    }};
}

void tst_hostilefolder::linkedDataFile_isLeftAlone()
{
    QFETCH(LinkCase, link);
    QTemporaryDir outside;
    QMap<QString, QByteArray> outsideBefore;
    PaletteSession s([&](TestDataFolder& folder) {
        QByteArray index = indexBytes(Palettes);
        // A blank line that the start-up repair would remove.
        if (link.linked == QLatin1String("colorchart.cci") && link.run)
            index.insert(0, "\r\n");
        folder.write(QStringLiteral("colorchart.cci"), index);
        folder.write(QStringLiteral("c4.rgb"), MinePalette);
        // A record cut short, which an append would overwrite.
        folder.write(QStringLiteral("recent.rgb"), "123456789");
        linkOut(folder, outside, link.linked, link.dangling);
        outsideBefore = snapshot(outside.path());
    });
    const QString linkTarget = QFileInfo(s.folder.filePath(link.linked)).symLinkTarget();
    link.run(s);
    s.window.reset();

    QCOMPARE(snapshot(outside.path()), outsideBefore);
    QVERIFY2(QFileInfo(s.folder.filePath(link.linked)).isSymLink(), "the link is still there");
    QCOMPARE(QFileInfo(s.folder.filePath(link.linked)).symLinkTarget(), linkTarget);
    // The user is told, once, which file was left alone.
    const QStringList texts = s.platform.messageTexts();
    const QStringList aboutLink = texts.filter(QStringLiteral("symbolic link"));
    QVERIFY2(!aboutLink.isEmpty() && aboutLink.first().contains(link.linked),
             qPrintable(texts.join('\n')));
    QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), texts.size());
    m_unexpected = s.platform.unexpected;
}

void tst_hostilefolder::indexEntriesOfOtherFiles_areNotPalettes()
{
    const QString longName = QString(5000, QLatin1Char('x')) + QStringLiteral(".dat");
    QMap<QString, QByteArray> before;
    PaletteSession s([&](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"colorset.dat", "Schemes", "1"},
                            {"set.hcs", "Names", "1"},
                            {"tintora.chm", "Help", "1"},
                            {"recent.rgb", "Recent again", "1"},
                            {"c4.rgb.ctm", "Deletion", "1"},
                            {"c5.rgb ", "Spaced", "1"},
                            {longName, "Long", "1"},
                            {"c7.rgb", "Last", "1"}});
        folder.write(QStringLiteral("c7.rgb"), MinePalette);
        before = snapshot(folder.path());
    });
    frmshowcolor& w = *s.window;
    QCOMPARE(w.ChartName, (QStringList{"My Colors", "Recent Colors", "Last"}));
    QCOMPARE(w.ChartFile, (QStringList{"mycolor.rgb", "recent.rgb", "c7.rgb"}));
    QCOMPARE(s.platform.messages.size(), 1);
    const QString message = s.platform.messages.at(0).text;
    for (const char* refused :
         {"Entry 3 (\"Schemes\")", "Entry 4 (\"Names\")", "Entry 5 (\"Help\")",
          "Entry 6 (\"Recent again\")", "Entry 7 (\"Deletion\")", "Entry 8 (\"Spaced\")",
          "Entry 9 (\"Long\")"})
        QVERIFY2(message.contains(QLatin1String(refused)), qPrintable(message));
    // A name is quoted in part: the message stays readable.
    QVERIFY2(message.size() < 3000, qPrintable(QString::number(message.size())));

    // The one user palette listed can go; nothing else can be reached.
    s.choosePalette(2);
    s.platform.answers.append(Platform::Answer::Yes);
    s.action("mnuDelChart")->trigger();
    QMap<QString, QByteArray> after = snapshot(s.folder.path());
    for (const char* kept : {"colorset.dat", "set.hcs", "tintora.chm", "mycolor.rgb"})
        QCOMPARE(after.value(QLatin1String(kept)), before.value(QLatin1String(kept)));
    QVERIFY(!after.contains(QStringLiteral("c7.rgb")));
    QVERIFY(!after.contains(QStringLiteral("c5.rgb ")));
    QCOMPARE(paletteindex::ParseEntries(s.folder.read(QStringLiteral("colorchart.cci"))).size(), 9);
    QVERIFY(s.platform.unexpected.isEmpty());
}

void tst_hostilefolder::recentColours_areFoundByTheirFileName()
{
    // The second entry is not the recent colours; those come third.
    PaletteSession s([](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"c4.rgb", "Mine", "1"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c7.rgb", "Last", "1"}});
        folder.write(QStringLiteral("c4.rgb"), MinePalette);
    });
    frmshowcolor& w = *s.window;
    s.choosePalette(1);
    const QByteArray recentBefore = s.folder.read(QStringLiteral("recent.rgb"));
    w.CurrentColorChanged(bascommon::MakeColor(1, 2, 3));
    // Recorded in the recent colours, while "Mine" stays on display.
    QCOMPARE(s.folder.read(QStringLiteral("recent.rgb")), recentBefore + "010203");
    QCOMPARE(s.folder.read(QStringLiteral("c4.rgb")), MinePalette);
    QCOMPARE(w.ColorCount, 3);
    QCOMPARE(s.cellColour(0), bascommon::MakeColor(0xAA, 0xAA, 0xAA));

    // The colour deleted is the one the user sees and clicked, in "Mine".
    s.clickCell(1);
    s.action("mnuDelCor")->trigger();
    QCOMPARE(s.folder.read(QStringLiteral("c4.rgb")), QByteArray("AAAAAAAAAAAA"));

    // Shown, the recent colours follow each change.
    s.choosePalette(2);
    w.CurrentColorChanged(bascommon::MakeColor(4, 5, 6));
    QCOMPARE(s.cellColour(0), bascommon::MakeColor(4, 5, 6));
    QVERIFY(s.platform.unexpected.isEmpty());
}

void tst_hostilefolder::emptyKindLine_keepsEveryPaletteWithItsName()
{
    const QByteArray index =
        "mycolor.rgb\r\nMy Colors\r\n0\r\nrecent.rgb\r\nRecent Colors\r\n0\r\n"
        "c4.rgb\r\nMine\r\n\r\nc5.rgb\r\nFifth\r\n1\r\nc7.rgb\r\nLast\r\n1\r\n";
    PaletteSession s([&](TestDataFolder& folder) {
        folder.write(QStringLiteral("colorchart.cci"), index);
        folder.write(QStringLiteral("c5.rgb"), MinePalette);
    });
    frmshowcolor& w = *s.window;
    QCOMPARE(w.ChartName, (QStringList{"My Colors", "Recent Colors", "Mine", "Fifth", "Last"}));
    QCOMPARE(w.ChartFile, (QStringList{"mycolor.rgb", "recent.rgb", "c4.rgb", "c5.rgb", "c7.rgb"}));
    QCOMPARE(w.ChartKind, (QStringList{"0", "0", "", "1", "1"}));
    QCOMPARE(s.folder.read(QStringLiteral("colorchart.cci")), index);
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY2(s.platform.messages.at(0).text.contains(QStringLiteral("empty kind")),
             qPrintable(s.platform.messages.at(0).text));

    // Deleting a later palette keeps the pairs on disk.
    s.choosePalette(4);
    s.platform.answers.append(Platform::Answer::Yes);
    s.action("mnuDelChart")->trigger();
    QStringList onDisk;
    for (const paletteindex::Entry& entry :
         paletteindex::ParseEntries(s.folder.read(QStringLiteral("colorchart.cci"))))
        onDisk.append(entry.file + '|' + entry.name + '|' + entry.kind);
    QCOMPARE(onDisk, (QStringList{"mycolor.rgb|My Colors|0", "recent.rgb|Recent Colors|0",
                                  "c4.rgb|Mine|", "c5.rgb|Fifth|1"}));
    QCOMPARE(s.folder.read(QStringLiteral("c5.rgb")), MinePalette);
    QVERIFY(s.platform.unexpected.isEmpty());
}

void tst_hostilefolder::leftoverTemporaryFiles_goAtStart()
{
    QMap<QString, QByteArray> before;
    PaletteSession s([&](TestDataFolder& folder) {
        before = snapshot(folder.path());
        folder.write(QStringLiteral("mycolor.rgb.ctm"), QByteArray(3 << 20, 'A'));
        folder.write(QStringLiteral("c4.rgb.tmp"), "BBBBBB");
        folder.write(QStringLiteral("colorchart.cct"), "stale\r\n");
    });
    s.window->close();
    QMap<QString, QByteArray> after = snapshot(s.folder.path());
    // Start-up made "recent.rgb" and closing removed it again.
    QCOMPARE(after, before);
    QVERIFY(s.platform.messages.isEmpty());
}

void tst_hostilefolder::missingDataFolder_isOneMessage()
{
    QTemporaryDir parent;
    const QString gone = QDir(parent.path()).filePath(QStringLiteral("tintora-data"));
    FakePlatform platform;
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, gone));
    QCOMPARE(platform.messages.size(), 1);
    QVERIFY2(platform.messages.at(0).text.contains(QStringLiteral("does not exist")) &&
                 platform.messages.at(0).text.contains(QDir::toNativeSeparators(gone)),
             qPrintable(platform.messages.at(0).text));
    QCOMPARE(window->cmbChart->count(), 0);
    window.reset();
    QVERIFY(!QFileInfo::exists(gone));
    QVERIFY(platform.unexpected.isEmpty());
}

void tst_hostilefolder::longAddToMenu_comesInGroups_thatAddToTheChosenPalette()
{
    // 1,500 palettes: the first one stays an item, the others come in groups
    // of at most 32 that are filled when opened.
    PaletteSession s([](TestDataFolder& folder) {
        QList<IndexLine> entries = {{"mycolor.rgb", "My Colors", "0"}};
        for (int n = 1; n <= 1500; ++n)
            entries.append(
                {QStringLiteral("c%1.rgb").arg(n), QStringLiteral("Palette %1").arg(n), "1"});
        writeIndex(folder, entries);
    });
    frmshowcolor& w = *s.window;
    QCOMPARE(w.AddToCount, 1500);
    QCOMPARE(w.mnuAddChart.size(), 1);
    QCOMPARE(w.mnuAddChart.at(0)->text(), QStringLiteral("My Colors"));
    QList<QMenu*> groups;
    for (QAction* item : w.mnuAddto->actions())
        if (item->menu())
            groups.append(item->menu());
    QVERIFY(groups.size() > 1 && groups.size() <= 32);
    QVERIFY(groups.constFirst()->actions().isEmpty());
    QVERIFY(!s.action(QStringLiteral("mnuAddChart_1400")));

    // Down the groups that hold palette 1400, to its item.
    QMenu* menu = w.mnuAddto;
    QAction* target = nullptr;
    while (!target && menu) {
        if (menu != w.mnuAddto)
            emit menu->aboutToShow();
        QVERIFY(menu->actions().size() <= 34);
        QMenu* next = nullptr;
        for (QAction* item : menu->actions()) {
            if (item->objectName() == QLatin1String("mnuAddChart_1400"))
                target = item;
            else if (item->menu() && item->text().startsWith(QStringLiteral("Palette ")) &&
                     item->text().section(QChar(0x2013), 0, 0).mid(8).trimmed().toInt() <= 1400)
                next = item->menu();
        }
        menu = next;
    }
    QVERIFY(target);
    QCOMPARE(target->text(), QStringLiteral("Palette 1400"));
    s.clickCell(0);
    target->trigger();
    QCOMPARE(s.folder.read(QStringLiteral("c1400.rgb")).size(), 6);
    QVERIFY(s.platform.unexpected.isEmpty());
}

QTEST_MAIN(tst_hostilefolder)
#include "tst_hostilefolder.moc"
