// Every command that writes, with its target made impossible: a folder where
// the file or its temporary file should be, or no data folder at all. Each
// must give one clear message naming the file, change no file, and leave the
// program working: once the obstacle is gone the same command succeeds.
//
// Folders stand in for unwritable files because permissions do not stop
// root. The subsystem tests already cover these obstacles: a folder in place
// of a palette's temporary file (deleting a colour, clearing duplicates), of
// the temporary index (deleting a palette), of the palette added to, of the
// colour file (saving a scheme), of the temporary colour file (deleting a
// scheme) and of the details page. This test covers the rest.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/frmshowcolor.h"
#include "models/frmpreview.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/scheme/SchemeWindowTest.h"
#include "tests/support/ModalScript.h"

#include <functional>
#include <memory>

namespace {

// Two fixed palettes, a read-only one and two of the user's; the fourth
// (list position 3) is the one the commands work on.
const QList<IndexLine> Palettes = {
    {"mycolor.rgb", "My Colors", "0"},
    {"recent.rgb", "Recent Colors", "0"},
    {"c1.rgb", "Web Safe Colors", "2"},
    {"c4.rgb", "Mine", "1"},
    {"c7.rgb", "Last", "1"},
};
const QByteArray WorkPalette = "AAAAAAAAAAAABBBBBB";

// Every file and folder below `root`, with the content of each file.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(root).relativeFilePath(path);
        QFile file(path);
        files.insert(name, it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly)
                               ? QByteArray("<folder>")
                               : file.readAll());
    }
    return files;
}

struct Command
{
    // Brings the window to where the command is offered.
    std::function<void(PaletteSession&)> prepare;
    // Scripts the questions and runs the command.
    std::function<void(PaletteSession&)> run;
    // The data file that a successful run changes.
    QString changes;
};

const QMap<QString, Command>& commands()
{
    static const QMap<QString, Command> all = {
        {"append recent colour",
         {[](PaletteSession&) {},
          [](PaletteSession& s) { s.window->CurrentColorChanged(bascommon::MakeColor(1, 2, 3)); },
          "recent.rgb"}},
        {"append recent colour on display",
         {[](PaletteSession& s) { s.choosePalette(1); },
          [](PaletteSession& s) { s.window->CurrentColorChanged(bascommon::MakeColor(1, 2, 3)); },
          "recent.rgb"}},
        {"add to palette",
         {[](PaletteSession& s) {
              s.choosePalette(3);
              s.clickCell(0);
          },
          [](PaletteSession& s) { s.action("mnuAddChart_2")->trigger(); }, "c4.rgb"}},
        {"new palette",
         {[](PaletteSession&) {},
          [](PaletteSession& s) {
              schemetest::answerNameDialog(QStringLiteral("Fresh"));
              s.action("mnuNew")->trigger();
          },
          "colorchart.cci"}},
        {"delete palette",
         {[](PaletteSession& s) { s.choosePalette(3); },
          [](PaletteSession& s) {
              s.platform.answers.append(Platform::Answer::Yes);
              s.action("mnuDelChart")->trigger();
          },
          "colorchart.cci"}},
        {"delete colour",
         {[](PaletteSession& s) {
              s.choosePalette(3);
              s.clickCell(0);
          },
          [](PaletteSession& s) { s.action("mnuDelCor")->trigger(); }, "c4.rgb"}},
        {"clear all",
         {[](PaletteSession& s) { s.choosePalette(3); },
          [](PaletteSession& s) {
              s.platform.answers.append(Platform::Answer::Yes);
              s.action("mnuCleanAll")->trigger();
          },
          "c4.rgb"}},
        {"clear duplicates",
         {[](PaletteSession& s) { s.choosePalette(3); },
          [](PaletteSession& s) { s.action("mnuCleanDup")->trigger(); }, "c4.rgb"}},
        {"save scheme",
         {[](PaletteSession&) {},
          [](PaletteSession& s) {
              schemetest::answerNameDialog(QStringLiteral("Kept"));
              s.action("mnuSaveScheme")->trigger();
          },
          "set.hcs"}},
        {"delete scheme",
         {[](PaletteSession& s) { s.window->lstCorset->setCurrentRow(1); },
          [](PaletteSession& s) {
              s.platform.answers.append(Platform::Answer::Yes);
              QTest::mouseClick(s.window->cmdDelItem, Qt::LeftButton);
          },
          "set.hcs"}},
    };
    return all;
}

} // namespace

class tst_writefailures : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void impossibleWrite_data();
    void impossibleWrite();
    void detailsPage_missingFolder();

private:
    std::unique_ptr<PaletteSession> m_session;
};

void tst_writefailures::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_writefailures::impossibleWrite_data()
{
    QTest::addColumn<QString>("command");
    // The file that a folder takes the place of; empty: the data folder is gone.
    QTest::addColumn<QString>("blocked");
    // An index with a stray line at its end, which adding a palette rewrites.
    QTest::addColumn<bool>("strayIndexLine");

    for (const QString& command : commands().keys())
        QTest::addRow("%s: no data folder", qPrintable(command)) << command << QString() << false;

    QTest::newRow("append recent colour: recent.rgb") << "append recent colour"
                                                      << "recent.rgb" << false;
    QTest::newRow("append recent colour on display: recent.rgb")
        << "append recent colour on display"
        << "recent.rgb" << false;
    QTest::newRow("new palette: colorchart.cci") << "new palette"
                                                 << "colorchart.cci" << false;
    QTest::newRow("new palette after a stray line: colorchart.cct") << "new palette"
                                                                    << "colorchart.cct" << true;
    QTest::newRow("delete palette: c4.rgb") << "delete palette"
                                            << "c4.rgb" << false;
    QTest::newRow("delete colour: c4.rgb") << "delete colour"
                                           << "c4.rgb" << false;
    QTest::newRow("clear all: c4.rgb") << "clear all"
                                       << "c4.rgb" << false;
    QTest::newRow("clear duplicates: c4.rgb") << "clear duplicates"
                                              << "c4.rgb" << false;
    QTest::newRow("save scheme: set.hcs") << "save scheme"
                                          << "set.hcs" << false;
    QTest::newRow("delete scheme: set.hct") << "delete scheme"
                                            << "set.hct" << false;
    QTest::newRow("delete scheme: set.hcs") << "delete scheme"
                                            << "set.hcs" << false;
}

void tst_writefailures::impossibleWrite()
{
    QFETCH(QString, command);
    QFETCH(QString, blocked);
    QFETCH(bool, strayIndexLine);
    const Command& c = commands().value(command);

    m_session = std::make_unique<PaletteSession>([strayIndexLine](TestDataFolder& folder) {
        writeIndex(folder, Palettes);
        if (strayIndexLine)
            folder.write(QStringLiteral("colorchart.cci"), indexBytes(Palettes) + "stray\r\n");
        folder.write(QStringLiteral("c4.rgb"), WorkPalette);
        folder.write(QStringLiteral("c7.rgb"), "C7C7C7");
    });
    PaletteSession& s = *m_session;
    c.prepare(s);

    // The obstacle appears after the window has shown what it shows.
    const QString root = s.folder.path();
    const QString away = root + QStringLiteral(".away");
    QByteArray replaced;
    if (blocked.isEmpty()) {
        QVERIFY(QDir().rename(root, away));
    } else {
        replaced = s.folder.read(blocked);
        s.folder.remove(blocked);
        QVERIFY(QDir(root).mkdir(blocked));
    }
    const auto before = snapshot(root);
    const qsizetype messagesBefore = s.platform.messages.size();

    c.run(s);

    QList<FakePlatform::Message> reports = s.platform.messages.mid(messagesBefore);
    reports.removeIf(
        [](const FakePlatform::Message& m) { return m.buttons == Platform::Buttons::YesNo; });
    QCOMPARE(reports.size(), 1);
    const QString named = QDir::toNativeSeparators(blocked.isEmpty() ? root : root + '/' + blocked);
    QVERIFY2(reports.first().text.contains(named), qPrintable(reports.first().text));
    QVERIFY(reports.first().icon == Platform::Icon::Critical ||
            reports.first().icon == Platform::Icon::Warning);
    QCOMPARE(snapshot(root), before);
    QVERIFY(!QFileInfo::exists(root) == blocked.isEmpty());
    QVERIFY(s.window->isVisible());

    // With the obstacle gone, the same command goes through.
    if (blocked.isEmpty()) {
        QVERIFY(QDir().rename(away, root));
    } else {
        QVERIFY(QDir(root).rmdir(blocked));
        if (!replaced.isNull())
            s.folder.write(blocked, replaced);
    }
    c.prepare(s);
    const QByteArray unchanged = s.folder.read(c.changes);
    const qsizetype messagesAfter = s.platform.messages.size();
    c.run(s);
    QStringList later;
    for (const FakePlatform::Message& m : s.platform.messages.mid(messagesAfter))
        if (m.buttons == Platform::Buttons::Ok)
            later.append(m.text);
    QVERIFY2(later.isEmpty(), qPrintable(later.join('\n')));
    QVERIFY(s.folder.read(c.changes) != unchanged);
}

void tst_writefailures::detailsPage_missingFolder()
{
    m_session = std::make_unique<PaletteSession>();
    PaletteSession& s = *m_session;
    QTemporaryDir elsewhere;
    const QString path = elsewhere.filePath(QStringLiteral("gone/page.htm"));
    s.platform.saveAnswers << path;
    bool stillOpen = false;
    whenModalShown([&stillOpen](QWidget* window) {
        auto* details = qobject_cast<frmpreview*>(window);
        if (!details) {
            window->close();
            return;
        }
        details->mnusave->trigger();
        stillOpen = details->isVisible();
        details->mnuexit->trigger();
    });
    s.action("mnuViewColor")->trigger();

    QVERIFY(stillOpen);
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY2(s.platform.messages.first().text.contains(QDir::toNativeSeparators(path)),
             qPrintable(s.platform.messages.first().text));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

QTEST_MAIN(tst_writefailures)
#include "tst_writefailures.moc"
