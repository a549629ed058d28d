// The program started on damaged data files: it starts, shows what can be
// shown, and tells the user once about what it had to leave out.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "scheme/SchemeFormat.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/scheme/SchemeWindowTest.h"

#include <functional>
#include <memory>

namespace {

const QString Index = QStringLiteral("colorchart.cci");
const QString FirstPalette = QStringLiteral("mycolor.rgb");
const QString Names = QStringLiteral("set.hcs");
const QString Colors = QStringLiteral("colorset.dat");
const QString UnreadableTip = QStringLiteral("This color record cannot be read");

Color hex(const char* rrggbb)
{
    const uint value = QByteArray(rrggbb).toUInt(nullptr, 16);
    return bascommon::MakeColor(int(value >> 16), int(value >> 8) & 255, int(value) & 255);
}

QStringList listed(const QComboBox* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->itemText(i));
    return names;
}

QStringList listed(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->item(i)->text());
    return names;
}

QStringList shippedPaletteNames()
{
    return {"My Colors",        "Recent Colors", "Web Safe Colors", "Grays",
            "CSS Named Colors", "Color Wheel",   "My Palette"};
}

// The shipped index with blank and space-only lines before, between and after
// its entries; the lines with text keep their spaces.
QByteArray indexWithBlankLines()
{
    QByteArray content = "\r\n   \r\n";
    for (const QByteArray& line : TestDataFolder::shipped(Index).split('\n')) {
        if (line.isEmpty())
            continue;
        content += line + "\n  \r\n\r\n";
    }
    return content;
}

// Scheme 1 whole, then the first 20 bytes of scheme 2.
QByteArray secondSchemeCutShort()
{
    return TestDataFolder::shipped(Colors).left(schemeformat::RecordLength + 20);
}

struct Damage
{
    std::function<void(TestDataFolder&)> prepare;
    // Fragments of each message expected at start-up, one list per message.
    QList<QStringList> told;
    // What the window must show.
    std::function<void(PaletteSession&)> shows;
};

const QMap<QString, Damage>& damages()
{
    static const QMap<QString, Damage> all = {
        {"empty index",
         {[](TestDataFolder& f) { f.write(Index, ""); },
          {{"colorchart.cci", "lists no palette"}},
          [](PaletteSession& s) {
              QCOMPARE(s.window->cmbChart->count(), 0);
              for (int i : {0, 100, 215})
                  QCOMPARE(s.cellColour(i), bascommon::White);
              QCOMPARE(s.window->currentColor(), bascommon::White);
              QVERIFY(!s.window->mnuDelChart->isEnabled());
              QVERIFY(!s.window->mnuCleanAll->isEnabled());
              QCOMPARE(s.window->lstCorset->count(), 6);
          }}},
        {"index with blank and space-only lines",
         {[](TestDataFolder& f) { f.write(Index, indexWithBlankLines()); },
          {},
          [](PaletteSession& s) {
              QCOMPARE(listed(s.window->cmbChart), shippedPaletteNames());
              QCOMPARE(s.folder.read(Index), TestDataFolder::shipped(Index));
          }}},
        {"partial trailing record",
         {[](TestDataFolder& f) { f.write(FirstPalette, "FF000000FF00ABCD"); },
          {{"mycolor.rgb", "4 bytes"}},
          [](PaletteSession& s) {
              QCOMPARE(s.window->ColorCount, 2);
              QCOMPARE(s.cellColour(0), hex("00FF00"));
              QCOMPARE(s.cellColour(1), hex("FF0000"));
              QCOMPARE(s.cellColour(2), bascommon::White);
              // Shown again, the palette is not reported again.
              s.choosePalette(2);
              s.choosePalette(0);
              QCOMPARE(s.cellColour(0), hex("00FF00"));
          }}},
        {"lower-case records",
         {[](TestDataFolder& f) { f.write(FirstPalette, "ff88000a0b0cFFffAa"); },
          {},
          [](PaletteSession& s) {
              QCOMPARE(s.cellColour(0), hex("FFFFAA"));
              QCOMPARE(s.cellColour(1), hex("0A0B0C"));
              QCOMPARE(s.cellColour(2), hex("FF8800"));
              QCOMPARE(s.window->txtrgb->text(), QStringLiteral("#FFFFAA"));
          }}},
        {"non-hex records",
         {[](TestDataFolder& f) { f.write(FirstPalette, "FF000012 3 4-1+2+3GG0000"); },
          {},
          [](PaletteSession& s) {
              // Shown as records that cannot be read, where they stand.
              for (int cell : {0, 1, 2}) {
                  QCOMPARE(s.cellColour(cell), bascommon::White);
                  QVERIFY(!s.cell(cell)->pixmap().isNull());
                  QVERIFY(s.cell(cell)->toolTip().startsWith(UnreadableTip));
              }
              QCOMPARE(s.cellColour(3), hex("FF0000"));
              QVERIFY(s.cell(3)->pixmap().isNull());
          }}},
        {"names with markup and ampersands",
         {[](TestDataFolder& f) {
              writeIndex(f, {{"mycolor.rgb", "My <b>Colors</b>", "0"},
                             {"recent.rgb", "Recent & Used", "0"},
                             {"c5.rgb", "R&D &amp; <i>more</i>", "1"}});
              f.write(Names, "\"<h1>Big</h1>\"\r\n\"Salt & Pepper\"\r\n");
              f.write(Colors, TestDataFolder::shipped(Colors).left(2 * schemeformat::RecordLength));
          },
          {},
          [](PaletteSession& s) {
              QCOMPARE(listed(s.window->cmbChart),
                       (QStringList{"My <b>Colors</b>", "Recent & Used", "R&D &amp; <i>more</i>"}));
              QCOMPARE(s.action("mnuAddChart_1")->text(), QStringLiteral("Recent && Used"));
              QCOMPARE(s.action("mnuAddChart_2")->text(),
                       QStringLiteral("R&&D &&amp; <i>more</i>"));
              QCOMPARE(listed(s.window->lstCorset), (QStringList{"<h1>Big</h1>", "Salt & Pepper"}));
              s.choosePalette(2);
              s.platform.answers.append(Platform::Answer::No);
              s.window->mnuDelChart->trigger();
              QCOMPARE(s.platform.messages.constLast().text,
                       QStringLiteral("Are you sure you want to delete \"R&D &amp; <i>more</i>\" "
                                      "palette?"));
          }}},
        {"name list without a final line break",
         {[](TestDataFolder& f) { f.write(Names, TestDataFolder::shipped(Names).chopped(2)); },
          {},
          [](PaletteSession& s) {
              QCOMPARE(s.window->lstCorset->count(), 6);
              QCOMPARE(s.window->lstCorset->item(5)->text(), QStringLiteral("Sand and Slate"));
              s.window->lstCorset->setCurrentRow(5);
              QCOMPARE(s.platform.messages.size(), 0);
          }}},
        {"first scheme record cut short",
         {[](TestDataFolder& f) { f.write(Colors, TestDataFolder::shipped(Colors).left(20)); },
          {{"colorset.dat", "scheme 1", "cut short"}},
          [](PaletteSession& s) {
              const QByteArray shipped = TestDataFolder::shipped(Colors);
              const SchemeColors whole = schemeformat::DecodeRecord(shipped.left(36)).colors;
              const SchemeColors& shown = s.window->schemeColors();
              // Three whole fields are shown; the rest are black on white.
              QCOMPARE(shown.text, whole.text);
              QCOMPARE(shown.background, whole.background);
              QCOMPARE(shown.normalLink, whole.normalLink);
              QCOMPARE(shown.visitedLink, bascommon::Black);
              QCOMPARE(shown.hoverLink, bascommon::Black);
          }}},
        {"later scheme record cut short",
         {[](TestDataFolder& f) { f.write(Colors, secondSchemeCutShort()); },
          {},
          [](PaletteSession& s) {
              QCOMPARE(s.window->lstCorset->count(), 6);
              // Told when that scheme is chosen.
              s.window->lstCorset->setCurrentRow(1);
              QCOMPARE(s.platform.messages.size(), 1);
              QVERIFY(s.platform.messages.constLast().text.contains("scheme 2"));
          }}},
        {"all at once",
         {[](TestDataFolder& f) {
              f.write(Index, indexWithBlankLines());
              f.write(FirstPalette, "ff0000GG000000FF00ABC");
              f.write(Names, TestDataFolder::shipped(Names).chopped(2));
              f.write(Colors, secondSchemeCutShort());
          },
          {{"mycolor.rgb", "3 bytes"}},
          [](PaletteSession& s) {
              QCOMPARE(listed(s.window->cmbChart), shippedPaletteNames());
              QCOMPARE(s.cellColour(0), hex("00FF00"));
              QVERIFY(s.cell(1)->toolTip().startsWith(UnreadableTip));
              QCOMPARE(s.cellColour(2), hex("FF0000"));
              QCOMPARE(s.window->lstCorset->count(), 6);
          }}},
    };
    return all;
}

} // namespace

class tst_badfiles : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void startup_showsWhatItCanAndTellsOnce_data();
    void startup_showsWhatItCanAndTellsOnce();
    void damagedIndex_notToldAgainWhenTheListIsRebuilt();

private:
    std::unique_ptr<PaletteSession> m_session;
};

void tst_badfiles::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_badfiles::startup_showsWhatItCanAndTellsOnce_data()
{
    QTest::addColumn<QString>("damage");
    for (const QString& damage : damages().keys())
        QTest::newRow(qPrintable(damage)) << damage;
}

void tst_badfiles::startup_showsWhatItCanAndTellsOnce()
{
    QFETCH(QString, damage);
    const Damage& d = damages().value(damage);
    m_session = std::make_unique<PaletteSession>(d.prepare);
    PaletteSession& s = *m_session;
    QVERIFY(s.window->isVisible());

    const QStringList told = s.platform.messageTexts();
    QCOMPARE(told.size(), d.told.size());
    for (qsizetype i = 0; i < told.size(); ++i) {
        QCOMPARE(s.platform.messages.at(i).buttons, Platform::Buttons::Ok);
        for (const QString& fragment : d.told.at(i))
            QVERIFY2(told.at(i).contains(fragment), qPrintable(told.at(i)));
    }
    const qsizetype atStart = s.platform.messages.size();
    d.shows(s);
    // Nothing said at start-up is said again while showing.
    for (const QString& text : s.platform.messageTexts().mid(atStart))
        QVERIFY2(!told.contains(text), qPrintable(text));
}

void tst_badfiles::damagedIndex_notToldAgainWhenTheListIsRebuilt()
{
    // A stray line at the end of the index: reported at start-up, not again
    // when a new palette rebuilds the list.
    m_session = std::make_unique<PaletteSession>(
        [](TestDataFolder& f) { f.write(Index, TestDataFolder::shipped(Index) + "stray\r\n"); });
    PaletteSession& s = *m_session;
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY(s.platform.messages.first().text.contains("whole entry"));

    schemetest::answerNameDialog(QStringLiteral("Fresh"));
    s.action("mnuNew")->trigger();
    QCOMPARE(s.window->cmbChart->currentText(), QStringLiteral("Fresh"));
    s.platform.answers.append(Platform::Answer::Yes);
    s.action("mnuDelChart")->trigger();
    QCOMPARE(listed(s.window->cmbChart), shippedPaletteNames());
    // The start-up report and the question about deleting "Fresh".
    QCOMPARE(s.platform.messages.size(), 2);
    QCOMPARE(s.platform.messages.last().buttons, Platform::Buttons::YesNo);
}

QTEST_MAIN(tst_badfiles)
#include "tst_badfiles.moc"
