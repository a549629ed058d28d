// Edit > "Undo ..." after each of the four palette edits: the files come back
// byte for byte and the view shows the palette again.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/ClickableLabel.h"
#include "app/frmInput.h"
#include "app/frmshowcolor.h"
#include "palettes/PaletteUndo.h"
#include "tests/palettes/PaletteTestFiles.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/support/FileContents.h"
#include "tests/support/ModalScript.h"

#include <memory>

#include <sys/stat.h>

using namespace palettetest;

namespace {

const QString IndexName = QStringLiteral("colorchart.cci");
const QString Palette = QStringLiteral("c3.rgb");
// Oldest first: FF0000, 00FF00, FF0000, 0000FF, 00FF00, 112233.
const QByteArray Records = "FF000000FF00FF00000000FF00FF00112233";

std::function<void(TestDataFolder&)> withUserPalette()
{
    return [](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c3.rgb", "Under Test", "1"},
                            {"c4.rgb", "After It", "1"}});
        folder.write(QStringLiteral("c3.rgb"), Records);
        folder.write(QStringLiteral("c4.rgb"), "ABCDEF");
    };
}

} // namespace

class tst_paletteundo : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void undo_restoresFilesAndView_data();
    void undo_restoresFilesAndView();
    void keptCopyFails_editRefusedAndNothingChanged_data();
    void keptCopyFails_editRefusedAndNothingChanged();
    void lastTenKept_oldestRemovedFirst();
    void changedSince_asksBeforeUndoing();
    void ctrlZ_undoes();
    void swatchMenu_leavesUndoOut();
    void deletedPaletteFileTaken_undoLeavesNewerPaletteAlone();
    void linksInJournal_neverFollowed_data();
    void linksInJournal_neverFollowed();
    void leftoversAtStart_clearedAndEditsWork_data();
    void leftoversAtStart_clearedAndEditsWork();
    void keptCopy_streamedWithHolesAndCaptionFromDescription();

private:
    PaletteSession& start();
    // Runs the edit named `edit` on the palette under test, answering Yes
    // where it asks.
    void runEdit(const QString& edit);
    QByteArray file(const QString& name) const { return m_session->folder.read(name); }
    QAction* undo() const { return m_session->action(QStringLiteral("mnuUndo")); }
    std::unique_ptr<PaletteSession> m_session;
};

PaletteSession& tst_paletteundo::start()
{
    m_session = std::make_unique<PaletteSession>(withUserPalette());
    m_session->choosePalette(2);
    return *m_session;
}

void tst_paletteundo::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_paletteundo::runEdit(const QString& edit)
{
    PaletteSession& s = *m_session;
    if (edit == QLatin1String("mnuDelCor"))
        s.clickCell(2); // record 4, 0000FF
    if (edit == QLatin1String("mnuDelChart") || edit == QLatin1String("mnuCleanAll"))
        s.platform.answers.append(Platform::Answer::Yes);
    s.action(edit)->trigger();
}

void tst_paletteundo::undo_restoresFilesAndView_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("caption");
    // The names file of the palette, empty for none.
    QTest::addColumn<QByteArray>("names");
    const QList<std::pair<const char*, const char*>> edits = {
        {"mnuDelChart", "&Undo Delete Current Palette"},
        {"mnuDelCor", "&Undo Delete Selected Color"},
        {"mnuCleanAll", "&Undo Clear All Colors"},
        {"mnuCleanDup", "&Undo Clear Duplicate Colors"},
    };
    for (const auto& [edit, caption] : edits) {
        QTest::addRow("%s", edit) << edit << caption << QByteArray();
        // Records 1, 4 (the colour deleted) and 6 named, and one a copy
        // that clearing duplicates drops.
        QTest::addRow("%s, named colours", edit)
            << edit << caption
            << QByteArray("FF0000\tred\n00FF00\tgreen\nFF0000\tred again\n0000FF\tblue\n"
                          "112233\tink\n");
    }
}

void tst_paletteundo::undo_restoresFilesAndView()
{
    QFETCH(QString, edit);
    QFETCH(QString, caption);
    QFETCH(QByteArray, names);
    const QString namesFile = QStringLiteral("c3.names");
    m_session = std::make_unique<PaletteSession>([&names, &namesFile](TestDataFolder& folder) {
        withUserPalette()(folder);
        if (!names.isEmpty())
            folder.write(namesFile, names);
    });
    PaletteSession& s = *m_session;
    s.choosePalette(2);
    frmshowcolor& w = *s.window;
    QVERIFY(undo());
    QVERIFY(!undo()->isEnabled());
    const QByteArray index = file(IndexName);
    runEdit(edit);
    QVERIFY(file(Palette) != Records || file(IndexName) != index);
    if (!names.isEmpty())
        QVERIFY(file(namesFile) != names);
    QVERIFY(undo()->isEnabled());
    QCOMPARE(undo()->text(), caption);

    undo()->trigger();
    QCOMPARE(file(Palette), Records);
    QCOMPARE(file(IndexName), index);
    QCOMPARE(s.folder.exists(namesFile), !names.isEmpty());
    QCOMPARE(file(namesFile), names);
    QCOMPARE(s.cell(0)->accessibleName(), names.isEmpty()
                                              ? QStringLiteral("#112233, colour 1 of 6")
                                              : QStringLiteral("#112233 ink, colour 1 of 6"));
    QCOMPARE(w.cmbChart->currentIndex(), 2);
    QCOMPARE(w.cmbChart->currentText(), QStringLiteral("Under Test"));
    QCOMPARE(w.ColorCount, 6);
    QCOMPARE(s.cellColour(0), bascommon::MakeColor(0x11, 0x22, 0x33));
    QCOMPARE(w.CurPage, 1);
    QVERIFY(w.mnuDelChart->isEnabled());
    // The copy is used up.
    QVERIFY(!undo()->isEnabled());
    QCOMPARE(undo()->text(), QStringLiteral("&Undo"));
    QVERIFY(QDir(s.folder.path() + QStringLiteral("/undo")).isEmpty());
}

void tst_paletteundo::keptCopyFails_editRefusedAndNothingChanged_data()
{
    undo_restoresFilesAndView_data();
}

void tst_paletteundo::keptCopyFails_editRefusedAndNothingChanged()
{
    QFETCH(QString, edit);
    PaletteSession& s = start();
    // A file where the folder of kept copies should go: no copy can be kept.
    s.folder.write(QStringLiteral("undo"), "in the way");
    const QByteArray index = file(IndexName);
    const int messagesBefore = int(s.platform.messages.size());
    runEdit(edit);
    QCOMPARE(file(Palette), Records);
    QCOMPARE(file(IndexName), index);
    QCOMPARE(file(QStringLiteral("undo")), QByteArray("in the way"));
    QCOMPARE(s.platform.messages.size(),
             messagesBefore + (edit == "mnuDelChart" || edit == "mnuCleanAll" ? 2 : 1));
    const FakePlatform::Message& told = s.platform.messages.constLast();
    QCOMPARE(told.icon, Platform::Icon::Critical);
    QVERIFY2(told.text.contains(QStringLiteral("undo")) &&
                 told.text.contains(QStringLiteral("not carried out")),
             qPrintable(told.text));
    QVERIFY(!undo()->isEnabled());
    QCOMPARE(s.window->cmbChart->currentIndex(), 2);
}

void tst_paletteundo::lastTenKept_oldestRemovedFirst()
{
    m_session = std::make_unique<PaletteSession>([](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c3.rgb", "Numbered", "1"}});
        folder.write(QStringLiteral("c3.rgb"), numberedPalette(15));
    });
    PaletteSession& s = *m_session;
    s.choosePalette(2);
    QList<QByteArray> before;
    for (int edit = 0; edit < 12; ++edit) {
        before.append(file(Palette));
        s.clickCell(0);
        s.action(QStringLiteral("mnuDelCor"))->trigger();
    }
    QCOMPARE(file(Palette), numberedPalette(3));
    QCOMPARE(QDir(s.folder.path() + QStringLiteral("/undo"))
                 .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                 .size(),
             PaletteUndo::Depth);
    // Newest first, back to the state before the third edit; the first two
    // copies are gone.
    for (int edit = 11; edit >= 2; --edit) {
        QVERIFY(undo()->isEnabled());
        undo()->trigger();
        QCOMPARE(file(Palette), before.at(edit));
    }
    QVERIFY(!undo()->isEnabled());
    QCOMPARE(file(Palette), numberedPalette(13));
}

void tst_paletteundo::changedSince_asksBeforeUndoing()
{
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    runEdit(QStringLiteral("mnuCleanAll"));
    // A colour added afterwards would be lost by undoing.
    w.CurrentColorChanged(bascommon::MakeColor(1, 2, 3));
    const int target = int(w.AddToFile.indexOf(Palette));
    w.mnuAddChart.at(target)->trigger();
    QCOMPARE(file(Palette), QByteArray("010203"));

    s.platform.answers.append(Platform::Answer::No);
    undo()->trigger();
    QCOMPARE(file(Palette), QByteArray("010203"));
    QCOMPARE(s.platform.messages.constLast().buttons, Platform::Buttons::YesNo);
    QVERIFY(s.platform.messages.constLast().text.contains(QStringLiteral("Clear All Colors")));
    QVERIFY(undo()->isEnabled());

    s.platform.answers.append(Platform::Answer::Yes);
    undo()->trigger();
    QCOMPARE(file(Palette), Records);
}

void tst_paletteundo::ctrlZ_undoes()
{
    PaletteSession& s = start();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    runEdit(QStringLiteral("mnuCleanDup"));
    QCOMPARE(file(Palette), QByteArray("FF000000FF000000FF112233"));
    QCOMPARE(undo()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    s.window->cmbChart->setFocus();
    QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(file(Palette), Records);
}

void tst_paletteundo::swatchMenu_leavesUndoOut()
{
    PaletteSession& s = start();
    runEdit(QStringLiteral("mnuCleanDup"));
    for (const bool swatch : {true, false}) {
        bool undoShown = !swatch;
        whenPopupShown([&undoShown](QMenu* menu) {
            for (QAction* item : menu->actions())
                if (item->objectName() == QLatin1String("mnuUndo"))
                    undoShown = item->isVisible();
            menu->close();
        });
        if (swatch)
            QTest::mouseClick(s.window->lblcolor, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        else
            s.clickCell(1, Qt::RightButton);
        QCOMPARE(undoShown, !swatch);
    }
    // Afterwards the shortcut still works.
    QVERIFY(undo()->isVisible());
}

void tst_paletteundo::deletedPaletteFileTaken_undoLeavesNewerPaletteAlone()
{
    // The last palette is deleted; a new palette gets its freed file name and
    // a colour. Undoing the deletion must bring the old palette back without
    // touching the new one, and say which is which.
    m_session = std::make_unique<PaletteSession>([](TestDataFolder& folder) {
        withUserPalette()(folder);
        folder.remove(QStringLiteral("c5.rgb"));
    });
    PaletteSession& s = *m_session;
    frmshowcolor& w = *s.window;
    s.choosePalette(3);
    QCOMPARE(w.cmbChart->currentText(), QStringLiteral("After It"));
    runEdit(QStringLiteral("mnuDelChart"));
    QVERIFY(!s.folder.exists(QStringLiteral("c4.rgb")));
    QCOMPARE(w.NewChartFile, QStringLiteral("c4.rgb"));
    whenModalShown([](QWidget* dialog) {
        auto* input = qobject_cast<frmInput*>(dialog);
        QVERIFY(input);
        input->txtResult->setText(QStringLiteral("Newer"));
        QTest::mouseClick(input->cmdOk, Qt::LeftButton);
    });
    w.mnuNew->trigger();
    w.CurrentColorChanged(bascommon::MakeColor(1, 2, 3));
    w.mnuAddChart.at(int(w.AddToFile.indexOf(QStringLiteral("c4.rgb"))))->trigger();
    QCOMPARE(file("c4.rgb"), QByteArray("010203"));
    const QByteArray indexWithNewer = file(IndexName);
    QCOMPARE(undo()->text(), QStringLiteral("&Undo Delete Current Palette"));

    s.platform.answers.append(Platform::Answer::No);
    undo()->trigger();
    const QString asked = s.platform.messages.constLast().text;
    QVERIFY2(asked.contains(QStringLiteral("\"After It\"")) &&
                 asked.contains(QStringLiteral("\"Newer\"")) &&
                 asked.contains(QStringLiteral("c5.rgb")),
             qPrintable(asked));
    QCOMPARE(file(IndexName), indexWithNewer);

    s.platform.answers.append(Platform::Answer::Yes);
    undo()->trigger();
    QCOMPARE(file("c4.rgb"), QByteArray("010203"));
    QCOMPARE(file("c5.rgb"), QByteArray("ABCDEF"));
    QCOMPARE(file(IndexName), indexBytes({{"mycolor.rgb", "My Colors", "0"},
                                          {"recent.rgb", "Recent Colors", "0"},
                                          {"c3.rgb", "Under Test", "1"},
                                          {"c5.rgb", "After It", "1"},
                                          {"c4.rgb", "Newer", "1"}}));
    QCOMPARE(w.cmbChart->currentText(), QStringLiteral("After It"));
    QCOMPARE(w.ColorCount, 1);
    QVERIFY(!undo()->isEnabled());
}

void tst_paletteundo::linksInJournal_neverFollowed_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    // The journal's folder itself leads out of the data folder.
    QTest::newRow("journal folder") << "undo"
                                    << "";
    // An entry leads to a folder that looks like a whole entry, subfolder included.
    QTest::newRow("entry") << "undo/0000000001"
                           << "entry";
    // A whole entry whose kept copy is an outside file.
    QTest::newRow("kept copy") << "undo/0000000001/palette"
                               << "entry/palette";
}

void tst_paletteundo::linksInJournal_neverFollowed()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QTemporaryDir outside;
    ::writeAll(outside.filePath("entry/edit"),
               "tintora undo 1\nclear-all\nc3.rgb\nUnder Test\n1\n3\n6\n");
    ::writeAll(outside.filePath("entry/palette"), "0A0B0C");
    ::writeAll(outside.filePath("entry/sub/keep"), "outside");
    const QMap<QString, QByteArray> before = treeSnapshot(outside.path());
    const QByteArray start = numberedPalette(20);
    m_session = std::make_unique<PaletteSession>([&](TestDataFolder& folder) {
        withUserPalette()(folder);
        folder.write(Palette, start);
        if (link.endsWith(QLatin1String("/palette")))
            ::writeAll(folder.filePath("undo/0000000001/edit"),
                       "tintora undo 1\nclear-all\nc3.rgb\nUnder Test\n1\n3\n6\n");
        QVERIFY(QDir().mkpath(QFileInfo(folder.filePath(link)).path()));
        QVERIFY(QFile::link(outside.filePath(target), folder.filePath(link)));
    });
    PaletteSession& s = *m_session;
    s.choosePalette(2);
    // Nothing outside is offered for undoing.
    QVERIFY(!undo()->isEnabled());

    runEdit(QStringLiteral("mnuDelCor"));
    if (link == QLatin1String("undo")) {
        // No copy can be kept through the link: the edit is refused and says why.
        QCOMPARE(file(Palette), start);
        QVERIFY2(s.platform.messages.constLast().text.contains(QStringLiteral("symbolic link")),
                 qPrintable(s.platform.messages.constLast().text));
        QVERIFY(!undo()->isEnabled());
    } else {
        QVERIFY(file(Palette) != start);
        // A link put among the entries while the program runs: pruning the
        // oldest entries passes it by.
        QVERIFY(QFile::link(outside.filePath("entry"), s.folder.filePath("undo/0000000000")));
        for (int edit = 0; edit < PaletteUndo::Depth + 2; ++edit) {
            s.clickCell(0);
            s.action(QStringLiteral("mnuDelCor"))->trigger();
        }
        QCOMPARE(file(Palette), numberedPalette(7));
        for (int i = 0; i < PaletteUndo::Depth && undo()->isEnabled(); ++i)
            undo()->trigger();
        QVERIFY(!undo()->isEnabled());
        QCOMPARE(file(Palette), numberedPalette(17));
    }
    QCOMPARE(treeSnapshot(outside.path()), before);
}

void tst_paletteundo::leftoversAtStart_clearedAndEditsWork_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("description");
    // Killed while copying: the entry has no description yet.
    QTest::newRow("entry without description") << "undo/0000000001/palette" << QByteArray();
    QTest::newRow("plain file as entry") << "undo/0000000001" << QByteArray();
    QTest::newRow("unfinished entry") << "undo/0000000003.new/palette" << QByteArray("x");
    QTest::newRow("foreign file") << "undo/notes.txt" << QByteArray();
    // A description whose copy is shorter than it says.
    QTest::newRow("torn copy") << "undo/0000000002/palette"
                               << QByteArray("tintora undo 1\nclear-all\nc3.rgb\nUnder "
                                             "Test\n1\n3\n600\n");
    QTest::newRow("unknown edit") << "undo/0000000002/palette"
                                  << QByteArray("tintora undo 1\nrepaint\nc3.rgb\nUnder "
                                                "Test\n1\n3\n6\n");
}

void tst_paletteundo::leftoversAtStart_clearedAndEditsWork()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, description);
    m_session = std::make_unique<PaletteSession>([&](TestDataFolder& folder) {
        withUserPalette()(folder);
        ::writeAll(folder.filePath(name), "0A0B0C");
        if (!description.isEmpty())
            ::writeAll(QFileInfo(folder.filePath(name)).dir().filePath(QStringLiteral("edit")),
                       description);
    });
    PaletteSession& s = *m_session;
    s.choosePalette(2);
    QVERIFY(!undo()->isEnabled());
    QVERIFY(QDir(s.folder.filePath(QStringLiteral("undo"))).isEmpty());
    for (const QString& edit : {QStringLiteral("mnuDelCor"), QStringLiteral("mnuCleanDup"),
                                QStringLiteral("mnuCleanAll")}) {
        const QByteArray before = file(Palette);
        runEdit(edit);
        QVERIFY2(file(Palette) != before, qPrintable(edit));
    }
    QCOMPARE(s.platform.messages.size(), 1); // the question of Clear All
    undo()->trigger();
    undo()->trigger();
    undo()->trigger();
    QCOMPARE(file(Palette), Records);
    QVERIFY(!undo()->isEnabled());
}

void tst_paletteundo::keptCopy_streamedWithHolesAndCaptionFromDescription()
{
    TestDataFolder folder(TestDataFolder::Contents::Empty);
    const qint64 size = qint64(512) << 20;
    {
        QFile palette(folder.filePath(Palette));
        QVERIFY(palette.open(QIODevice::WriteOnly));
        QCOMPARE(palette.write(Records), Records.size());
        QVERIFY(palette.resize(size));
    }
    struct stat original;
    QCOMPARE(::stat(QFile::encodeName(folder.filePath(Palette)).constData(), &original), 0);
    PaletteUndo journal(folder.path());
    const FileResult kept =
        journal.keep(PaletteUndo::Edit::DeleteColor,
                     {Palette, QStringLiteral("Under Test"), QStringLiteral("1"), 3});
    QVERIFY2(kept, qPrintable(kept.message));
    journal.editDone();
    struct stat copy;
    QCOMPARE(
        ::stat(QFile::encodeName(folder.filePath("undo/0000000001/palette")).constData(), &copy),
        0);
    QCOMPARE(qint64(copy.st_size), size);
    QVERIFY(copy.st_blocks <= original.st_blocks + 16);

    // A palette that would block any reader: the caption and the plan come
    // from the journal's description and the file's size and time alone.
    QVERIFY(QFile::remove(folder.filePath(Palette)));
    QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath(Palette)).constData(), 0600), 0);
    const std::optional<PaletteUndo::Entry> last = PaletteUndo(folder.path()).last();
    QVERIFY(last);
    QCOMPARE(last->edit, PaletteUndo::Edit::DeleteColor);
    QCOMPARE(last->palette.name, QStringLiteral("Under Test"));
    const std::optional<PaletteUndo::Plan> plan = journal.plan();
    QVERIFY(plan);
    QVERIFY(plan->addsEntry); // no index lists it
    QCOMPARE(plan->file, QStringLiteral("c4.rgb"));
}

QTEST_MAIN(tst_paletteundo)
#include "tst_paletteundo.moc"
