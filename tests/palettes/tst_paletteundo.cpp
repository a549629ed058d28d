// Edit > "Undo ..." after each of the four palette edits: the files come back
// byte for byte and the view shows the palette again.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QtTest>

#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "palettes/PaletteUndo.h"
#include "tests/palettes/PaletteTestFiles.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/support/ModalScript.h"

#include <memory>

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
    QTest::newRow("delete palette") << "mnuDelChart"
                                    << "&Undo Delete Current Palette";
    QTest::newRow("delete colour") << "mnuDelCor"
                                   << "&Undo Delete Selected Color";
    QTest::newRow("clear all") << "mnuCleanAll"
                               << "&Undo Clear All Colors";
    QTest::newRow("clear duplicates") << "mnuCleanDup"
                                      << "&Undo Clear Duplicate Colors";
}

void tst_paletteundo::undo_restoresFilesAndView()
{
    QFETCH(QString, edit);
    QFETCH(QString, caption);
    PaletteSession& s = start();
    frmshowcolor& w = *s.window;
    QVERIFY(undo());
    QVERIFY(!undo()->isEnabled());
    const QByteArray index = file(IndexName);
    runEdit(edit);
    QVERIFY(file(Palette) != Records || file(IndexName) != index);
    QVERIFY(undo()->isEnabled());
    QCOMPARE(undo()->text(), caption);

    undo()->trigger();
    QCOMPARE(file(Palette), Records);
    QCOMPARE(file(IndexName), index);
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

QTEST_MAIN(tst_paletteundo)
#include "tst_paletteundo.moc"
