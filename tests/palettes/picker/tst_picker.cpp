#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include "app/ClickableLabel.h"
#include "models/notations/FormatChoices.h"
#include "app/frmshowcolor.h"
#include "models/FormatNames.h"
#include "palettes/PaletteIndex.h"
#include "palettes/picker/FrozenScreen.h"
#include "palettes/picker/PickOnce.h"
#include "palettes/picker/PickLoupe.h"
#include "palettes/picker/frmGetColor.h"
#include "palettes/picker/frmpick.h"
#include "tests/palettes/PaletteTestSession.h"

#include <memory>

using namespace bascommon;

Q_DECLARE_METATYPE(instancemessage::Reply)
Q_DECLARE_METATYPE(instancemessage::Reply::Status)

namespace {

// Every device pixel names its place: red = x, green = y (both below 256 in
// the tests), blue = the screen's mark. Never black or white.
QImage positionImage(QSize size, int mark)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, mark));
    return image;
}

// One screen of 240 x 200 pixels at ratio 1 with a black and a white pixel.
ScreenCapture oneScreen()
{
    QImage image = positionImage(QSize(240, 200), 7);
    image.setPixel(1, 1, qRgb(0, 0, 0));
    image.setPixel(2, 2, qRgb(255, 255, 255));
    ScreenCapture capture;
    capture.addScreen(QRect(0, 0, 240, 200), image);
    return capture;
}

const QPoint OffThePicture(5000, 5000);

const QList<IndexLine> MixedKinds = {
    {"mycolor.rgb", "My Colors", "0"}, {"recent.rgb", "Recent Colors", "0"},
    {"c1.rgb", "Read Only", "2"},      {"c4.rgb", "Spaced Kind", " 1 "},
    {"c5.rgb", "Fixed", "0"},          {"c6.rgb", "Last & Mine", "1"},
};

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->itemText(i));
    return items;
}

} // namespace

class tst_picker : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void start_data();
    void start();
    void move_showsTheFrozenPixel();
    void pixelUnderCursor_data();
    void pixelUnderCursor();
    void swatch_hiddenOverPickWindow();
    void singleClick_savesAndReturnsToMyColors();
    void clickWithoutMove_picksUnderCursor();
    void restingPointer_readAtOnce_data();
    void restingPointer_readAtOnce();
    void severalRuns_focusStaysAndEachPickIsRecordedOnce_data();
    void severalRuns_focusStaysAndEachPickIsRecordedOnce();
    void continuous_threeClicksThenEnding_data();
    void continuous_threeClicksThenEnding();
    void blackAndWhite_savedButNotRecent_data();
    void blackAndWhite_savedButNotRecent();
    void saveTo_offersKindsZeroAndOne();
    void autostop_data();
    void autostop();
    void nullCapture_saysSoAndReturns();
    void saveFailure_data();
    void saveFailure();
    void indexProblems_reportedOnce();

    void loupe_magnifiesTheFrozenPicture();
    void loupe_atScreenEdgesAndGaps();
    void keys_moveByDevicePixels_data();
    void keys_moveByDevicePixels();
    void keys_fromPickSaveColor();
    void keyedCursor_clickPicksWhatTheKeysChose();
    void average_data();
    void average();
    void average_choicePersistsAndAppliesAtOnce();
    void wholePicker_highDpi_data();
    void wholePicker_highDpi();

    void portalWithoutPicture_data();
    void portalWithoutPicture();
    void screenByScreen_picksAcrossWindows();
    void pickerOnly_picksOneColourThroughTheDesktop();
    void pickerOnly_failingPicker_saysSoAndEnds();

    void withoutMainWindow_data();
    void withoutMainWindow();
    void copyAs_data();
    void copyAs();
    void pickOnce_data();
    void pickOnce();
    void requestFromAnotherStart_data();
    void requestFromAnotherStart();
    void inputBeforePickWindow_data();
    void inputBeforePickWindow();

private:
    PaletteSession& begin(const std::function<void(TestDataFolder&)>& prepare = {});
    frmGetColor* startPicking(bool fromToolbar = false);
    frmGetColor* picker() const;
    void verifyPickingEnded();
    std::unique_ptr<PaletteSession> m_session;
};

PaletteSession& tst_picker::begin(const std::function<void(TestDataFolder&)>& prepare)
{
    // The pointer rests off every picture unless a test puts it there, so that
    // nothing is read before the test's own moves.
    QCursor::setPos(OffThePicture);
    m_session = std::make_unique<PaletteSession>(prepare);
    m_session->platform.screen = oneScreen();
    return *m_session;
}

frmGetColor* tst_picker::picker() const
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<frmGetColor*>(window); found && !found->finished())
            return found;
    return nullptr;
}

frmGetColor* tst_picker::startPicking(bool fromToolbar)
{
    if (fromToolbar)
        m_session->tool("pickcolor")->trigger();
    else
        m_session->action("mnustartpick")->trigger();
    return picker();
}

void tst_picker::verifyPickingEnded()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY2(!qobject_cast<frmGetColor*>(window) && !qobject_cast<frmpick*>(window),
                 "a picker window outlived its run");
    // The main window returns showing page 1 of the first palette.
    frmshowcolor& w = *m_session->window;
    QVERIFY(w.isVisible());
    QCOMPARE(w.cmbChart->currentIndex(), 0);
    QCOMPARE(w.CurPage, 1);
    const QByteArray newest = m_session->folder.read("mycolor.rgb").right(6);
    auto channel = [&newest](int at) { return newest.mid(at, 2).toInt(nullptr, 16); };
    QCOMPARE(m_session->cellColour(0),
             newest.isEmpty() ? White : MakeColor(channel(0), channel(2), channel(4)));
}

void tst_picker::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void tst_picker::start_data()
{
    QTest::addColumn<bool>("fromToolbar");
    QTest::newRow("Screen Color Picker") << false;
    QTest::newRow("pickcolor button") << true;
}

void tst_picker::start()
{
    QFETCH(bool, fromToolbar);
    PaletteSession& s = begin();
    s.platform.clipboard = QStringLiteral("kept until picking");
    frmGetColor* p = startPicking(fromToolbar);
    QVERIFY(p);
    QVERIFY(!s.window->isVisible());
    QVERIFY(p->isVisible());
    QVERIFY(p->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(p->geometry(), QRect(0, 0, 240, 200));
    QVERIFY(p->hasMouseTracking());
    QVERIFY(!p->shpshow->isVisible());
    QCOMPARE(s.platform.captureCount, 1);
    QCOMPARE(s.platform.clipboardClears, 1);

    const QCursor cursor = p->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(11, 20));
    QCOMPARE(cursor.bitmap().size(), QSize(32, 32));
    QCOMPARE(cursor.mask().size(), QSize(32, 32));
    // The tip is drawn: the hot spot is an opaque pixel of the cursor.
    QCOMPARE(cursor.mask().toImage().pixel(11, 20), QColor(Qt::color1).rgb());

    frmpick* pick = p->pickWindow();
    QVERIFY(pick && pick->isVisible());
    QCOMPARE(pick->objectName(), QStringLiteral("frmpick"));
    QCOMPARE(pick->windowTitle(), QStringLiteral("Pick&Save Color"));
    QVERIFY(pick->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(s.platform.topmostRequests.last().first.data(), pick);
    QCOMPARE(pick->minimumSize(), pick->maximumSize());
    const QPoint offCentre =
        pick->frameGeometry().center() - s.window->screen()->geometry().center();
    QVERIFY(offCentre.manhattanLength() <= 1);
    QCOMPARE(pick->Label1->text(), QStringLiteral("Save To:"));
    QCOMPARE(pick->Check1->text(), QStringLiteral("pick color continuously"));
    QCOMPARE(pick->cmdStop->text(), QStringLiteral("&Stop"));
    for (const char* name :
         {"lblcor", "txthex", "txtRgb", "Label1", "cmbSaveTo", "Check1", "cmdStop"})
        QVERIFY2(pick->findChild<QWidget*>(QLatin1String(name)), name);
    QCOMPARE(p->findChild<QFrame*>("shpshow"), p->shpshow);

    QTest::mouseClick(pick->cmdStop, Qt::LeftButton);
    verifyPickingEnded();
}

void tst_picker::move_showsTheFrozenPixel()
{
    PaletteSession& s = begin();
    frmGetColor* p = startPicking();
    frmpick* pick = p->pickWindow();
    // Whatever the screen shows now, the picture taken at the start counts.
    s.platform.screen = ScreenCapture();
    for (const QPoint at : {QPoint(100, 120), QPoint(30, 45), QPoint(200, 10)}) {
        QTest::mouseMove(p, at);
        const Color expected = MakeColor(at.x(), at.y(), 7);
        QCOMPARE(p->PickedColor, expected);
        QVERIFY(p->shpshow->isVisible());
        QCOMPARE(p->shpshow->pos(), at + QPoint(15, -40));
        QCOMPARE(p->shpshow->size(), QSize(30, 30));
        QCOMPARE(p->shpshow->palette().color(QPalette::Window), toQColor(expected));
        QCOMPARE(pick->lblcor->backColor(), expected);
        QCOMPARE(pick->txthex->text(), ColorToHtmlHex(expected));
        QCOMPARE(pick->txtRgb->text(), ColorToDecList(expected));
    }
    QCOMPARE(s.platform.captureCount, 1);

    // The window shows the picture exactly as captured.
    const QImage shown = p->grab().toImage();
    for (const QPoint at : {QPoint(0, 0), QPoint(37, 150), QPoint(239, 199)})
        QCOMPARE(QColor(shown.pixel(at)), QColor(oneScreen().screens().at(0).image.pixel(at)));
    QTest::mouseClick(pick->cmdStop, Qt::LeftButton);
}

void tst_picker::pixelUnderCursor_data()
{
    QTest::addColumn<QList<QRect>>("geometries");
    QTest::addColumn<QList<qreal>>("ratios");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<Color>("expected");
    const QRect left(0, 0, 200, 150);
    const QRect right(200, 0, 100, 100);
    QTest::newRow("ratio 2, whole pixel")
        << QList<QRect>{left} << QList<qreal>{2} << QPointF(10, 20) << left << MakeColor(20, 40, 1);
    QTest::newRow("ratio 2, hot spot in the second device pixel")
        << QList<QRect>{left} << QList<qreal>{2} << QPointF(10.5, 20.5) << left
        << MakeColor(21, 41, 1);
    QTest::newRow("two screens, second at ratio 2")
        << QList<QRect>{left, right} << QList<qreal>{1, 2} << QPointF(210, 30)
        << QRect(0, 0, 300, 150) << MakeColor(20, 60, 2);
    QTest::newRow("two screens, gap reads black")
        << QList<QRect>{left, right} << QList<qreal>{1, 2} << QPointF(250, 120)
        << QRect(0, 0, 300, 150) << Black;
    QTest::newRow("screen left of the primary")
        << QList<QRect>{QRect(-100, 0, 100, 150), left} << QList<qreal>{1, 1} << QPointF(30, 5)
        << QRect(-100, 0, 300, 150) << MakeColor(30, 5, 1);
}

void tst_picker::pixelUnderCursor()
{
    QFETCH(QList<QRect>, geometries);
    QFETCH(QList<qreal>, ratios);
    QFETCH(QPointF, at);
    QFETCH(QRect, window);
    QFETCH(Color, expected);
    PaletteSession& s = begin();
    s.platform.screen = ScreenCapture();
    for (qsizetype i = 0; i < geometries.size(); ++i)
        s.platform.screen.addScreen(
            geometries.at(i), positionImage(geometries.at(i).size() * ratios.at(i), int(i) + 1));
    frmGetColor* p = startPicking();
    QCOMPARE(p->geometry(), window);
    // As the window system delivers it: the local position rounded to whole
    // logical pixels, the window position exact.
    QMouseEvent move(QEvent::MouseMove, at.toPoint(), at, p->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(p, &move);
    QCOMPARE(p->PickedColor, expected);
    QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, at.toPoint());
    verifyPickingEnded();
}

void tst_picker::swatch_hiddenOverPickWindow()
{
    begin();
    frmGetColor* p = startPicking();
    QTest::mouseMove(p, QPoint(50, 60));
    QVERIFY(p->shpshow->isVisible());
    QTest::mouseMove(p->pickWindow(), QPoint(1, 1));
    QVERIFY(!p->shpshow->isVisible());
    QTest::mouseMove(p, QPoint(70, 90));
    QVERIFY(p->shpshow->isVisible());
    QCOMPARE(p->shpshow->pos(), QPoint(85, 50));
    QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, QPoint(70, 90));
}

void tst_picker::singleClick_savesAndReturnsToMyColors()
{
    PaletteSession& s = begin();
    s.choosePalette(3);
    const QByteArray before = s.folder.read("mycolor.rgb");
    frmGetColor* p = startPicking();
    QTest::mouseMove(p, QPoint(18, 52));
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(18, 52));
    QCOMPARE(s.folder.read("mycolor.rgb"), before + "123407");
    QCOMPARE(s.window->currentColor(), MakeColor(0x12, 0x34, 7));
    QVERIFY(s.folder.read("recent.rgb").endsWith("123407"));
    verifyPickingEnded();
    QCOMPARE(s.platform.captureCount, 1);
}

void tst_picker::clickWithoutMove_picksUnderCursor()
{
    PaletteSession& s = begin();
    frmGetColor* p = startPicking();
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(33, 44));
    QVERIFY(s.folder.read("mycolor.rgb").endsWith("212C07"));
    verifyPickingEnded();
}

void tst_picker::continuous_threeClicksThenEnding_data()
{
    QTest::addColumn<QString>("ending");
    for (const char* ending : {"Stop", "right button", "middle button", "Escape on the picture",
                               "Escape on Pick&Save Color", "close box"})
        QTest::newRow(ending) << QString::fromLatin1(ending);
}

void tst_picker::continuous_threeClicksThenEnding()
{
    QFETCH(QString, ending);
    PaletteSession& s = begin([](TestDataFolder& folder) { writeIndex(folder, MixedKinds); });
    s.platform.settings.insert("autostop", "1");
    frmGetColor* p = startPicking();
    frmpick* pick = p->pickWindow();
    QVERIFY(pick->Check1->isChecked());
    pick->cmbSaveTo->setCurrentIndex(4);
    for (const QPoint at : {QPoint(10, 11), QPoint(20, 22), QPoint(30, 33)}) {
        QTest::mouseMove(p, at);
        QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(p->isVisible());
    }
    QCOMPARE(s.folder.read("c6.rgb"), QByteArray("0A0B071416071E2107"));
    QCOMPARE(s.window->currentColor(), MakeColor(30, 33, 7));

    QTest::mouseMove(p, QPoint(40, 44));
    if (ending == "Stop")
        QTest::mouseClick(pick->cmdStop, Qt::LeftButton);
    else if (ending == "right button")
        QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, QPoint(40, 44));
    else if (ending == "middle button")
        QTest::mouseClick(p, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 44));
    else if (ending == "Escape on the picture")
        QTest::keyClick(p, Qt::Key_Escape);
    else if (ending == "Escape on Pick&Save Color")
        QTest::keyClick(pick->cmbSaveTo, Qt::Key_Escape);
    else
        pick->close();
    QCOMPARE(s.folder.read("c6.rgb").size(), 18);
    QCOMPARE(s.window->currentColor(), MakeColor(30, 33, 7));
    verifyPickingEnded();
}

void tst_picker::blackAndWhite_savedButNotRecent_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<bool>("recent");
    QTest::newRow("black") << QPoint(1, 1) << QByteArray("000000") << false;
    QTest::newRow("white") << QPoint(2, 2) << QByteArray("FFFFFF") << false;
    QTest::newRow("almost black") << QPoint(0, 1) << QByteArray("000107") << true;
}

void tst_picker::blackAndWhite_savedButNotRecent()
{
    QFETCH(QPoint, at);
    QFETCH(QByteArray, record);
    QFETCH(bool, recent);
    PaletteSession& s = begin();
    const QByteArray recentBefore = s.folder.read("recent.rgb");
    frmGetColor* p = startPicking();
    QTest::mouseMove(p, at);
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(s.folder.read("mycolor.rgb").endsWith(record));
    QCOMPARE(s.folder.read("recent.rgb"), recent ? recentBefore + record : recentBefore);
    QCOMPARE(ColorToHtmlHex(s.window->currentColor()), "#" + QString::fromLatin1(record));
}

void tst_picker::saveTo_offersKindsZeroAndOne()
{
    PaletteSession& s = begin([](TestDataFolder& folder) { writeIndex(folder, MixedKinds); });
    const QByteArray mine = s.folder.read("mycolor.rgb");
    const QByteArray fixed = s.folder.read("c5.rgb");
    frmGetColor* p = startPicking();
    frmpick* pick = p->pickWindow();
    QCOMPARE(itemsOf(pick->cmbSaveTo),
             QStringList({"My Colors", "Recent Colors", "Spaced Kind", "Fixed", "Last & Mine"}));
    QCOMPARE(pick->SaveToFiles,
             QStringList({"mycolor.rgb", "recent.rgb", "c4.rgb", "c5.rgb", "c6.rgb"}));
    QCOMPARE(pick->cmbSaveTo->currentIndex(), 0);
    QCOMPARE(pick->SaveToFile, QStringLiteral("mycolor.rgb"));

    // Chosen the way a user does, with the keyboard.
    pick->cmbSaveTo->setFocus();
    QTest::keyClick(pick->cmbSaveTo, Qt::Key_Down);
    QTest::keyClick(pick->cmbSaveTo, Qt::Key_Down);
    QTest::keyClick(pick->cmbSaveTo, Qt::Key_Down);
    QCOMPARE(pick->SaveToFile, QStringLiteral("c5.rgb"));
    QTest::mouseMove(p, QPoint(5, 6));
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    QCOMPARE(s.folder.read("c5.rgb"), fixed + "050607");
    QCOMPARE(s.folder.read("mycolor.rgb"), mine);
    verifyPickingEnded();

    // Each run builds the list anew and starts at the first palette.
    p = startPicking();
    QCOMPARE(p->pickWindow()->cmbSaveTo->currentIndex(), 0);
    QCOMPARE(p->pickWindow()->SaveToFile, QStringLiteral("mycolor.rgb"));
    QCOMPARE(s.platform.captureCount, 2);
    QTest::mouseClick(p->pickWindow()->cmdStop, Qt::LeftButton);
}

void tst_picker::autostop_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("absent") << QString() << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("other number") << "7" << true;
    QTest::newRow("negative") << "-1" << true;
    QTest::newRow("spaces") << " 1 " << true;
    QTest::newRow("not a number") << "yes" << false;
}

void tst_picker::autostop()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    PaletteSession& s = begin();
    if (!stored.isNull())
        s.platform.settings.insert("autostop", stored);
    frmGetColor* p = startPicking();
    QCheckBox* box = p->pickWindow()->Check1;
    QCOMPARE(box->isChecked(), checked);

    // The box's state is kept for the next run.
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(s.platform.settings.value("autostop"), checked ? "0" : "1");
    QTest::keyClick(p, Qt::Key_Escape);
    verifyPickingEnded();
    p = startPicking();
    QCOMPARE(p->pickWindow()->Check1->isChecked(), !checked);
    QTest::keyClick(p, Qt::Key_Escape);
}

void tst_picker::nullCapture_saysSoAndReturns()
{
    PaletteSession& s = begin();
    s.choosePalette(2);
    s.platform.screen = ScreenCapture();
    const QByteArray mine = s.folder.read("mycolor.rgb");
    const qsizetype before = s.platform.messages.size();
    QVERIFY(!startPicking());
    QCOMPARE(s.platform.captureCount, 1);
    QCOMPARE(s.platform.messages.size(), before + 1);
    QVERIFY(s.platform.messages.last().text.contains("could not be captured"));
    QCOMPARE(s.folder.read("mycolor.rgb"), mine);
    verifyPickingEnded();
}

void tst_picker::saveFailure_data()
{
    QTest::addColumn<QList<IndexLine>>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("target cannot be written") << MixedKinds << "c6.rgb";
    QTest::newRow("no palette takes colours") << QList<IndexLine>{{"mycolor.rgb", "My Colors", "2"},
                                                                  {"recent.rgb", "Recent", "2"},
                                                                  {"c1.rgb", "Read Only", "2"}}
                                              << "no palette";
}

void tst_picker::saveFailure()
{
    QFETCH(QList<IndexLine>, index);
    QFETCH(QString, expected);
    PaletteSession& s = begin([index](TestDataFolder& folder) {
        writeIndex(folder, index);
        // A folder in the way fails the write for root as well.
        QVERIFY(QDir(folder.path()).mkdir("c6.rgb"));
    });
    s.platform.settings.insert("autostop", "1");
    const Color current = s.window->currentColor();
    const QByteArray mine = s.folder.read("mycolor.rgb");
    frmGetColor* p = startPicking();
    p->pickWindow()->cmbSaveTo->setCurrentIndex(p->pickWindow()->cmbSaveTo->count() - 1);
    const qsizetype before = s.platform.messages.size();
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    QCOMPARE(s.platform.messages.size(), before + 1);
    const QString shown =
        expected == "c6.rgb" ? QDir::toNativeSeparators(s.folder.filePath(expected)) : expected;
    QVERIFY2(s.platform.messages.last().text.contains(shown),
             qPrintable(s.platform.messages.last().text));
    QCOMPARE(s.window->currentColor(), current);
    QCOMPARE(s.folder.read("mycolor.rgb"), mine);
    verifyPickingEnded();
}

void tst_picker::indexProblems_reportedOnce()
{
    PaletteSession& s = begin([](TestDataFolder& folder) {
        folder.write("colorchart.cci", indexBytes(MixedKinds) + "stray.rgb\r\n");
    });
    QCOMPARE(s.platform.messages.size(), 1);
    // The same damage, read again for "Save To:", is not told a second time.
    frmGetColor* p = startPicking();
    QCOMPARE(s.platform.messages.size(), 1);
    QCOMPARE(p->pickWindow()->cmbSaveTo->count(), 5);
    QTest::mouseClick(p, Qt::MiddleButton);
    verifyPickingEnded();
}

// ---------------------------------------------------------------------------
// Loupe, keys, averaging and high-DPI screens

namespace {

// Sends what the window system sends for a pointer at a window position that
// keeps its fraction of a logical pixel.
void sendMouse(QWidget* window, QEvent::Type type, const QPointF& at,
               Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, at.toPoint(), at, window->mapToGlobal(at), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

// Keys pressed in turn: the key, and whether Shift is held.
using KeyPresses = QList<QPair<int, bool>>;

ScreenCapture screensAt(const QList<QRect>& geometries, const QList<qreal>& ratios)
{
    ScreenCapture capture;
    for (qsizetype i = 0; i < geometries.size(); ++i)
        capture.addScreen(geometries.at(i),
                          positionImage(geometries.at(i).size() * ratios.at(i), int(i) + 1));
    return capture;
}

} // namespace

void tst_picker::loupe_magnifiesTheFrozenPicture()
{
    PaletteSession& s = begin();
    frmGetColor* p = startPicking();
    PickLoupe* loupe = p->pickWindow()->findChild<PickLoupe*>("picLoupe");
    QVERIFY(loupe && loupe->isVisible());
    QCOMPARE(loupe, p->pickWindow()->picLoupe);
    QCOMPARE(loupe->size(), QSize(89, 89));
    // Nothing to show before the cursor has been over the picture.
    QVERIFY(!loupe->shownPixel(0, 0));

    for (const QPoint at : {QPoint(100, 120), QPoint(37, 150)}) {
        sendMouse(p, QEvent::MouseMove, at);
        for (int dy = -5; dy <= 5; ++dy)
            for (int dx = -5; dx <= 5; ++dx)
                QCOMPARE(loupe->shownPixel(dx, dy), MakeColor(at.x() + dx, at.y() + dy, 7));
    }
    QVERIFY(!loupe->shownPixel(6, 0));
    QCOMPARE(s.platform.captureCount, 1);

    // Each device pixel is 8 x 8 screen pixels; the centre one is framed
    // black inside white, its middle in its own colour.
    const QImage shown = loupe->grab().toImage();
    QCOMPARE(QColor(shown.pixel(44, 44)), toQColor(MakeColor(37, 150, 7)));
    QCOMPARE(QColor(shown.pixel(40, 44)), QColor(Qt::black));
    QCOMPARE(QColor(shown.pixel(39, 44)), QColor(Qt::white));
    QCOMPARE(QColor(shown.pixel(4 + 8, 4)), toQColor(MakeColor(33, 145, 7)));
    QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, QPoint(37, 150));
}

void tst_picker::loupe_atScreenEdgesAndGaps()
{
    PaletteSession& s = begin();
    s.platform.screen = screensAt({QRect(0, 0, 200, 150), QRect(200, 0, 100, 100)}, {1, 2});
    frmGetColor* p = startPicking();
    PickLoupe* loupe = p->pickWindow()->picLoupe;
    // The corner of the first screen: what lies beyond it is shown as nothing.
    sendMouse(p, QEvent::MouseMove, QPoint(0, 0));
    QCOMPARE(loupe->shownPixel(0, 0), MakeColor(0, 0, 1));
    QCOMPARE(loupe->shownPixel(5, 5), MakeColor(5, 5, 1));
    QVERIFY(!loupe->shownPixel(-1, 0));
    QVERIFY(!loupe->shownPixel(0, -1));
    // A screen at ratio 2: the loupe shows its device pixels, one by one.
    sendMouse(p, QEvent::MouseMove, QPointF(250.5, 30));
    QCOMPARE(loupe->shownPixel(0, 0), MakeColor(101, 60, 2));
    QCOMPARE(loupe->shownPixel(-1, 0), MakeColor(100, 60, 2));
    QCOMPARE(loupe->shownPixel(1, 1), MakeColor(102, 61, 2));
    // The gap below the smaller screen belongs to no screen.
    sendMouse(p, QEvent::MouseMove, QPoint(250, 120));
    for (int d = -5; d <= 5; ++d)
        QVERIFY(!loupe->shownPixel(d, d));
    QCOMPARE(p->PickedColor, Black);
    QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, QPoint(250, 120));
}

void tst_picker::keys_moveByDevicePixels_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<KeyPresses>("keys");
    QTest::addColumn<QPoint>("devicePixel");
    QTest::addColumn<QPoint>("cursor");
    using K = KeyPresses;
    QTest::newRow("ratio 1, right") << 1.0 << QPoint(100, 120) << K{{Qt::Key_Right, false}}
                                    << QPoint(101, 120) << QPoint(101, 120);
    QTest::newRow("ratio 1, each way")
        << 1.0 << QPoint(100, 120)
        << K{{Qt::Key_Left, false}, {Qt::Key_Up, false}, {Qt::Key_Up, false}, {Qt::Key_Down, false}}
        << QPoint(99, 119) << QPoint(99, 119);
    QTest::newRow("ratio 1, Shift moves ten")
        << 1.0 << QPoint(100, 120)
        << K{{Qt::Key_Right, true}, {Qt::Key_Down, true}, {Qt::Key_Up, false}} << QPoint(110, 129)
        << QPoint(110, 129);
    QTest::newRow("ratio 1, stops at the edge")
        << 1.0 << QPoint(3, 195) << K{{Qt::Key_Left, true}, {Qt::Key_Down, true}} << QPoint(0, 199)
        << QPoint(0, 199);
    QTest::newRow("ratio 2, one device pixel")
        << 2.0 << QPoint(10, 20) << K{{Qt::Key_Right, false}} << QPoint(21, 40) << QPoint(10, 20);
    QTest::newRow("ratio 2, two device pixels")
        << 2.0 << QPoint(10, 20) << K{{Qt::Key_Right, false}, {Qt::Key_Right, false}}
        << QPoint(22, 40) << QPoint(11, 20);
    QTest::newRow("ratio 1.5") << 1.5 << QPoint(10, 20)
                               << K{{Qt::Key_Right, false}, {Qt::Key_Down, true}} << QPoint(16, 40)
                               << QPoint(11, 27);
}

void tst_picker::keys_moveByDevicePixels()
{
    QFETCH(qreal, ratio);
    QFETCH(QPoint, start);
    QFETCH(KeyPresses, keys);
    QFETCH(QPoint, devicePixel);
    QFETCH(QPoint, cursor);
    PaletteSession& s = begin();
    s.platform.screen = screensAt({QRect(0, 0, 240, 200)}, {ratio});
    const QByteArray mine = s.folder.read("mycolor.rgb");
    frmGetColor* p = startPicking();
    sendMouse(p, QEvent::MouseMove, start);
    for (const auto& [key, shift] : keys)
        QTest::keyClick(p, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    const Color expected = MakeColor(devicePixel.x(), devicePixel.y(), 1);
    QCOMPARE(p->PickedColor, expected);
    QCOMPARE(p->pickWindow()->txthex->text(), ColorToHtmlHex(expected));
    QCOMPARE(p->pickWindow()->picLoupe->shownPixel(0, 0), expected);
    QCOMPARE(s.platform.cursorMoves.size(), keys.size());
    QCOMPARE(s.platform.cursorMoves.last(), cursor);
    QVERIFY(p->shpshow->isVisible());

    // Enter picks as a left click does.
    QTest::keyClick(p, Qt::Key_Return);
    QCOMPARE(s.folder.read("mycolor.rgb"), mine + ColorToHtmlHex(expected).mid(1).toLatin1());
    QCOMPARE(s.window->currentColor(), expected);
    verifyPickingEnded();
}

void tst_picker::keys_fromPickSaveColor()
{
    PaletteSession& s = begin();
    s.platform.settings.insert("autostop", "1");
    frmGetColor* p = startPicking();
    frmpick* pick = p->pickWindow();
    sendMouse(p, QEvent::MouseMove, QPoint(50, 60));
    // Keys that no control of "Pick&Save Color" uses still pick.
    QTest::keyClick(pick, Qt::Key_Right);
    QCOMPARE(p->PickedColor, MakeColor(51, 60, 7));
    QTest::keyClick(pick->Check1, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(s.folder.read("mycolor.rgb").endsWith("333C07"));
    QVERIFY(p->isVisible());
    // The list's arrows choose in the list and leave the hot spot alone.
    pick->cmbSaveTo->setFocus();
    QTest::keyClick(pick->cmbSaveTo, Qt::Key_Down);
    QCOMPARE(pick->cmbSaveTo->currentIndex(), 1);
    QCOMPARE(p->PickedColor, MakeColor(51, 60, 7));
    // Modifiers other than Shift are not picking keys.
    QTest::keyClick(p, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(p->PickedColor, MakeColor(51, 60, 7));
    QCOMPARE(s.platform.cursorMoves.size(), 1);
    // Enter on "&Stop" stops, without picking.
    const QByteArray saved = s.folder.read("mycolor.rgb");
    QTest::keyClick(pick->cmdStop, Qt::Key_Return);
    QCOMPARE(s.folder.read("mycolor.rgb"), saved);
    verifyPickingEnded();
}

void tst_picker::keyedCursor_clickPicksWhatTheKeysChose()
{
    PaletteSession& s = begin();
    s.platform.screen = screensAt({QRect(0, 0, 240, 200)}, {2});
    frmGetColor* p = startPicking();
    sendMouse(p, QEvent::MouseMove, QPoint(10, 20));
    QTest::keyClick(p, Qt::Key_Right);
    const Color keyed = MakeColor(21, 40, 1);
    QCOMPARE(p->PickedColor, keyed);
    // The window system reports the cursor where the keys put it, at a whole
    // logical pixel, whose first device pixel is another one.
    const QPoint cursor = s.platform.cursorMoves.last();
    QCOMPARE(cursor, QPoint(10, 20));
    sendMouse(p, QEvent::MouseMove, cursor);
    QCOMPARE(p->PickedColor, keyed);
    sendMouse(p, QEvent::MouseButtonPress, cursor, Qt::LeftButton);
    sendMouse(p, QEvent::MouseButtonRelease, cursor, Qt::LeftButton);
    QVERIFY(s.folder.read("mycolor.rgb").endsWith("152801"));

    // Once the mouse itself moves, it counts again.
    p = startPicking();
    sendMouse(p, QEvent::MouseMove, QPoint(10, 20));
    QTest::keyClick(p, Qt::Key_Right);
    sendMouse(p, QEvent::MouseMove, QPointF(12, 20));
    sendMouse(p, QEvent::MouseMove, QPointF(10, 20));
    QCOMPARE(p->PickedColor, MakeColor(20, 40, 1));
    QTest::keyClick(p, Qt::Key_Escape);
}

void tst_picker::average_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Color>("expected");
    // Black picture, one white pixel above and left of (50, 50); around the
    // corner red = x, green = x + 1, blue = x + 2.
    QTest::newRow("single pixel") << "1" << 0 << QPoint(50, 50) << Black;
    QTest::newRow("3 x 3: 255 / 9 rounds to 28")
        << "3" << 1 << QPoint(50, 50) << MakeColor(28, 28, 28);
    QTest::newRow("5 x 5: 255 / 25 rounds to 10")
        << "5" << 2 << QPoint(50, 50) << MakeColor(10, 10, 10);
    QTest::newRow("3 x 3 at the corner: four pixels, ties to even")
        << "3" << 1 << QPoint(0, 0) << MakeColor(0, 2, 2);
    QTest::newRow("5 x 5 at the corner: nine pixels")
        << "5" << 2 << QPoint(0, 0) << MakeColor(1, 2, 3);
    QTest::newRow("stored with spaces") << " 5 " << 2 << QPoint(50, 50) << MakeColor(10, 10, 10);
    QTest::newRow("unknown size is a single pixel") << "7" << 0 << QPoint(50, 50) << Black;
    QTest::newRow("not a number") << "many" << 0 << QPoint(49, 49) << White;
}

void tst_picker::average()
{
    QFETCH(QString, stored);
    QFETCH(int, index);
    QFETCH(QPoint, at);
    QFETCH(Color, expected);
    PaletteSession& s = begin();
    QImage picture(QSize(120, 100), QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(49, 49, qRgb(255, 255, 255));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, qRgb(x, x + 1, x + 2));
    s.platform.screen = ScreenCapture();
    s.platform.screen.addScreen(QRect(0, 0, 120, 100), picture);
    s.platform.settings.insert("pickaverage", stored);
    const QByteArray mine = s.folder.read("mycolor.rgb");

    frmGetColor* p = startPicking();
    frmpick* pick = p->pickWindow();
    QCOMPARE(pick->cmbAverage->currentIndex(), index);
    QCOMPARE(pick->cmbAverage->itemText(index),
             QStringList({"Single pixel", "3 x 3 average", "5 x 5 average"}).at(index));
    QCOMPARE(pick->picLoupe->averageSize(), 2 * index + 1);
    sendMouse(p, QEvent::MouseMove, at);
    QCOMPARE(p->PickedColor, expected);
    QCOMPARE(pick->lblcor->backColor(), expected);
    QCOMPARE(pick->txtRgb->text(), ColorToDecList(expected));
    QCOMPARE(p->shpshow->palette().color(QPalette::Window), toQColor(expected));
    // The loupe still shows the pixels themselves.
    QCOMPARE(pick->picLoupe->shownPixel(0, 0),
             std::optional<Color>(fromQColor(QColor(picture.pixel(at)))));
    sendMouse(p, QEvent::MouseButtonPress, at, Qt::LeftButton);
    sendMouse(p, QEvent::MouseButtonRelease, at, Qt::LeftButton);
    QCOMPARE(s.folder.read("mycolor.rgb"), mine + ColorToHtmlHex(expected).mid(1).toLatin1());
    // Reading the setting writes nothing back.
    QCOMPARE(s.platform.settings.value("pickaverage"), stored);
}

void tst_picker::average_choicePersistsAndAppliesAtOnce()
{
    PaletteSession& s = begin();
    frmGetColor* p = startPicking();
    frmpick* pick = p->pickWindow();
    QCOMPARE(pick->cmbAverage->currentIndex(), 0);
    QCOMPARE(pick->lblAverage->text(), QStringLiteral("Sample:"));
    // The left edge of the position picture, where red = x.
    sendMouse(p, QEvent::MouseMove, QPoint(0, 100));
    QCOMPARE(p->PickedColor, MakeColor(0, 100, 7));
    pick->cmbAverage->setFocus();
    QTest::keyClick(pick->cmbAverage, Qt::Key_Down);
    QCOMPARE(s.platform.settings.value("pickaverage"), QStringLiteral("3"));
    // Red 0 and 1 three times each: 0.5 rounds to the even 0.
    QCOMPARE(p->PickedColor, MakeColor(0, 100, 7));
    QTest::keyClick(pick->cmbAverage, Qt::Key_Down);
    QCOMPARE(s.platform.settings.value("pickaverage"), QStringLiteral("5"));
    QCOMPARE(p->PickedColor, MakeColor(1, 100, 7));
    QCOMPARE(pick->txthex->text(), QStringLiteral("#016407"));
    QCOMPARE(pick->picLoupe->averageSize(), 5);
    QTest::keyClick(p, Qt::Key_Escape);
    verifyPickingEnded();
    p = startPicking();
    QCOMPARE(p->pickWindow()->cmbAverage->currentIndex(), 2);
    QTest::keyClick(p, Qt::Key_Escape);
}

void tst_picker::wholePicker_highDpi_data()
{
    QTest::addColumn<QList<QRect>>("geometries");
    QTest::addColumn<QList<qreal>>("ratios");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<Color>("expected");
    const QRect one(0, 0, 200, 150);
    QTest::newRow("ratio 1") << QList<QRect>{one} << QList<qreal>{1} << QPointF(37.6, 45.2)
                             << MakeColor(37, 45, 1);
    QTest::newRow("ratio 1.5, whole point")
        << QList<QRect>{one} << QList<qreal>{1.5} << QPointF(10, 20) << MakeColor(15, 30, 1);
    QTest::newRow("ratio 1.5, second third")
        << QList<QRect>{one} << QList<qreal>{1.5} << QPointF(10.7, 20.7) << MakeColor(16, 31, 1);
    QTest::newRow("ratio 2, second device pixel")
        << QList<QRect>{one} << QList<qreal>{2} << QPointF(10.5, 20.5) << MakeColor(21, 41, 1);
    // Three screens side by side at ratios 1, 1.5 and 2, the last one lower
    // and the second one left of the primary.
    const QList<QRect> mixed = {one, QRect(-100, 0, 100, 100), QRect(200, 50, 60, 50)};
    const QList<qreal> mixedRatios = {1, 1.5, 2};
    QTest::newRow("mixed, ratio 1 screen")
        << mixed << mixedRatios << QPointF(199.5, 149.5) << MakeColor(199, 149, 1);
    QTest::newRow("mixed, ratio 1.5 screen")
        << mixed << mixedRatios << QPointF(-0.5, 99.5) << MakeColor(149, 149, 2);
    QTest::newRow("mixed, ratio 1.5 screen origin")
        << mixed << mixedRatios << QPointF(-100, 0) << MakeColor(0, 0, 2);
    QTest::newRow("mixed, ratio 2 screen")
        << mixed << mixedRatios << QPointF(230.25, 75.75) << MakeColor(60, 51, 3);
    QTest::newRow("mixed, gap above the ratio 2 screen")
        << mixed << mixedRatios << QPointF(230, 20) << Black;
}

void tst_picker::wholePicker_highDpi()
{
    QFETCH(QList<QRect>, geometries);
    QFETCH(QList<qreal>, ratios);
    QFETCH(QPointF, at);
    QFETCH(Color, expected);
    PaletteSession& s = begin();
    s.platform.screen = screensAt(geometries, ratios);
    const QByteArray mine = s.folder.read("mycolor.rgb");
    frmGetColor* p = startPicking();
    const QPointF local = at - QPointF(p->geometry().topLeft());
    sendMouse(p, QEvent::MouseMove, local);
    sendMouse(p, QEvent::MouseButtonPress, local, Qt::LeftButton);
    sendMouse(p, QEvent::MouseButtonRelease, local, Qt::LeftButton);
    QCOMPARE(s.folder.read("mycolor.rgb"), mine + ColorToHtmlHex(expected).mid(1).toLatin1());
    QCOMPARE(s.window->currentColor(), expected);
    verifyPickingEnded();
}

// ---------------------------------------------------------------------------
// Desktops that give no window positions, or no picture at all (Wayland)

Q_DECLARE_METATYPE(ScreenCapture::Outcome)

void tst_picker::portalWithoutPicture_data()
{
    QTest::addColumn<ScreenCapture::Outcome>("outcome");
    QTest::addColumn<QString>("message");
    // Dismissed in the desktop's own dialog: the user knows why.
    QTest::newRow("cancelled") << ScreenCapture::Outcome::Cancelled << QString();
    QTest::newRow("refused") << ScreenCapture::Outcome::Refused
                             << "needs the desktop's screenshot permission or portal";
}

void tst_picker::portalWithoutPicture()
{
    QFETCH(ScreenCapture::Outcome, outcome);
    QFETCH(QString, message);
    PaletteSession& s = begin();
    s.platform.screen = ScreenCapture::without(outcome);
    const QByteArray mine = s.folder.read("mycolor.rgb");
    const qsizetype before = s.platform.messages.size();
    QVERIFY(!startPicking());
    QCOMPARE(s.platform.captureCount, 1);
    QCOMPARE(s.platform.messages.size(), before + (message.isEmpty() ? 0 : 1));
    if (!message.isEmpty())
        QVERIFY2(s.platform.messages.last().text.contains(message),
                 qPrintable(s.platform.messages.last().text));
    QCOMPARE(s.folder.read("mycolor.rgb"), mine);
    verifyPickingEnded();
}

void tst_picker::screenByScreen_picksAcrossWindows()
{
    PaletteSession& s = begin();
    s.platform.placesWindows = false;
    s.platform.settings.insert("autostop", "1");
    // The offscreen screen, and one at ratio 2 right of it that Qt does not know.
    s.platform.screen = screensAt({QRect(0, 0, 800, 600), QRect(800, 100, 100, 80)}, {1, 2});
    const QByteArray mine = s.folder.read("mycolor.rgb");
    frmGetColor* p = startPicking();
    QVERIFY(p->isFullScreen());
    QCOMPARE(p->geometry(), QRect(0, 0, 800, 600));
    QCOMPARE(p->frozenScreens().size(), 1);
    QPointer<FrozenScreen> second = p->frozenScreens().constFirst();
    QVERIFY(second->isVisible());
    QCOMPARE(second->desktopArea(), QRect(800, 100, 100, 80));
    QCOMPARE(second->cursor().hotSpot(), QPoint(11, 20));

    // Each window hands its own positions on: the device pixel under them on
    // their own screen, and the swatch beside the cursor in that window.
    sendMouse(second, QEvent::MouseMove, QPointF(10.5, 20.25));
    QCOMPARE(p->PickedColor, MakeColor(21, 40, 2));
    QCOMPARE(p->shpshow->parentWidget(), second.data());
    QCOMPARE(p->shpshow->pos(), QPoint(11 + 15, 20 - 40));
    sendMouse(second, QEvent::MouseButtonPress, QPointF(10.5, 20.25), Qt::LeftButton);
    sendMouse(second, QEvent::MouseButtonRelease, QPointF(10.5, 20.25), Qt::LeftButton);
    sendMouse(p, QEvent::MouseMove, QPointF(30, 40));
    QCOMPARE(p->PickedColor, MakeColor(30, 40, 1));
    QCOMPARE(p->shpshow->parentWidget(), p);
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    // The keys work in every window: one device pixel to the right, then away.
    sendMouse(second, QEvent::MouseMove, QPointF(10.5, 20.25));
    QTest::keyClick(second, Qt::Key_Right);
    QCOMPARE(p->PickedColor, MakeColor(22, 40, 2));
    QTest::keyClick(second, Qt::Key_Escape);
    QCOMPARE(s.folder.read("mycolor.rgb"), mine + "152802" + "1E2801");
    verifyPickingEnded();
    QVERIFY(!second);
}

void tst_picker::pickerOnly_picksOneColourThroughTheDesktop()
{
    PaletteSession& s = begin([](TestDataFolder& folder) { writeIndex(folder, MixedKinds); });
    s.platform.screen = ScreenCapture::without(ScreenCapture::Outcome::ColorPickerOnly);
    // Continuous picking stays chosen for the desktops that hand out a picture.
    s.platform.settings.insert("autostop", "1");
    s.platform.colorPicks = {{ScreenColorPick::Outcome::Cancelled, Black},
                             {ScreenColorPick::Outcome::Picked, MakeColor(18, 52, 86)}};
    const QByteArray mine = s.folder.read("mycolor.rgb");
    frmGetColor* p = startPicking();
    QVERIFY(p);
    QVERIFY(!p->isVisible());
    frmpick* pick = p->pickWindow();
    QVERIFY(pick->isVisible());
    QVERIFY(pick->pickerOnly());
    QVERIFY(pick->lblPickerOnly->isVisible());
    QVERIFY(pick->lblPickerOnly->text().contains(
        "Continuous picking and the magnifier are not available"));
    QVERIFY(!pick->Check1->isEnabled() && !pick->Check1->isChecked());
    QVERIFY(!pick->cmbAverage->isEnabled());
    QVERIFY(!pick->picLoupe->isVisible());
    QVERIFY(pick->cmdPick->isVisible());
    QCOMPARE(s.platform.settings.value("autostop"), QStringLiteral("1"));
    // The arrows have no picture to move over.
    QTest::keyClick(pick, Qt::Key_Left);
    QCOMPARE(s.platform.cursorMoves.size(), 0);

    pick->cmbSaveTo->setCurrentIndex(4);
    QCOMPARE(pick->SaveToFile, QStringLiteral("c6.rgb"));
    // Dismissing the desktop's picker leaves "Pick&Save Color" up.
    QTest::mouseClick(pick->cmdPick, Qt::LeftButton);
    QCOMPARE(s.platform.colorPickCount, 1);
    QVERIFY(pick->isVisible() && !p->finished());
    QTest::mouseClick(pick->cmdPick, Qt::LeftButton);
    QCOMPARE(s.platform.colorPickCount, 2);
    QCOMPARE(s.folder.read("c6.rgb"), QByteArray("123456"));
    QCOMPARE(s.window->currentColor(), MakeColor(18, 52, 86));
    QCOMPARE(s.folder.read("mycolor.rgb"), mine);
    verifyPickingEnded();
}

void tst_picker::pickerOnly_failingPicker_saysSoAndEnds()
{
    PaletteSession& s = begin();
    s.platform.screen = ScreenCapture::without(ScreenCapture::Outcome::ColorPickerOnly);
    s.platform.colorPicks = {{ScreenColorPick::Outcome::Failed, Black}};
    const QByteArray mine = s.folder.read("mycolor.rgb");
    const qsizetype before = s.platform.messages.size();
    frmGetColor* p = startPicking();
    QTest::mouseClick(p->pickWindow()->cmdPick, Qt::LeftButton);
    QCOMPARE(s.platform.messages.size(), before + 1);
    QVERIFY(s.platform.messages.last().text.contains("screenshot permission or portal"));
    QCOMPARE(s.folder.read("mycolor.rgb"), mine);
    verifyPickingEnded();
}

// ---------------------------------------------------------------------------
// Starting to pick: the pointer read at once, and the main window's focus

void tst_picker::restingPointer_readAtOnce_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("over the picture") << "picture";
    QTest::newRow("over Pick&Save Color") << "pick window";
    QTest::newRow("off the picture") << "off";
}

void tst_picker::restingPointer_readAtOnce()
{
    QFETCH(QString, where);
    PaletteSession& s = begin();
    // A picture of the whole screen, so that "Pick&Save Color" lies over it.
    const QRect screen = s.window->screen()->geometry();
    s.platform.screen = screensAt({screen}, {1});
    const QPoint pointer = where == QLatin1String("picture")       ? QPoint(100, 120)
                           : where == QLatin1String("pick window") ? screen.center()
                                                                   : OffThePicture;
    QCursor::setPos(pointer);
    const QByteArray mine = s.folder.read("mycolor.rgb");
    frmGetColor* p = startPicking();
    frmpick* pick = p->pickWindow();
    if (where == QLatin1String("off")) {
        QVERIFY(!p->shpshow->isVisible());
        QVERIFY(!pick->picLoupe->shownPixel(0, 0));
        QTest::keyClick(p, Qt::Key_Escape);
        verifyPickingEnded();
        return;
    }
    QVERIFY(pick->frameGeometry().contains(screen.center()));
    // Without a single move: what Enter would pick, everywhere it shows.
    const Color under = MakeColor(pointer.x() & 255, pointer.y() & 255, 1);
    QCOMPARE(p->PickedColor, under);
    QCOMPARE(pick->lblcor->backColor(), under);
    QCOMPARE(pick->txthex->text(), ColorToHtmlHex(under));
    QCOMPARE(pick->txtRgb->text(), ColorToDecList(under));
    QCOMPARE(pick->picLoupe->shownPixel(0, 0), under);
    QCOMPARE(pick->picLoupe->shownPixel(-1, 1),
             MakeColor((pointer.x() - 1) & 255, (pointer.y() + 1) & 255, 1));
    QCOMPARE(p->shpshow->palette().color(QPalette::Window), toQColor(under));
    // The swatch beside the pointer, except over "Pick&Save Color".
    QCOMPARE(p->shpshow->isVisible(), where == QLatin1String("picture"));
    if (p->shpshow->isVisible())
        QCOMPARE(p->shpshow->pos(), pointer + QPoint(15, -40));

    QTest::keyClick(p, Qt::Key_Return);
    QCOMPARE(s.folder.read("mycolor.rgb"), mine + ColorToHtmlHex(under).mid(1).toLatin1());
    verifyPickingEnded();
}

void tst_picker::severalRuns_focusStaysAndEachPickIsRecordedOnce_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("byKeyboard");
    // Whether the window manager activates the hidden main window once while
    // the picker runs, as openbox does after a menu command.
    QTest::addColumn<bool>("activatedWhileHidden");
    for (const bool byKeyboard : {true, false}) {
        for (const bool activated : {true, false}) {
            const QByteArray how = QByteArray(byKeyboard ? ", Alt+T P" : ", Screen Color Picker") +
                                   (activated ? ", activated while hidden" : "");
            QTest::addRow("red, decimal%s", how.constData()) << "txtr" << byKeyboard << activated;
            QTest::addRow("green, decimal%s", how.constData()) << "txtg" << byKeyboard << activated;
            QTest::addRow("blue, hexadecimal%s", how.constData())
                << "txtbh" << byKeyboard << activated;
            QTest::addRow("HEX:%s", how.constData()) << "txtrgb" << byKeyboard << activated;
            QTest::addRow("palette list%s", how.constData())
                << "cmbChart" << byKeyboard << activated;
        }
    }
}

void tst_picker::severalRuns_focusStaysAndEachPickIsRecordedOnce()
{
    QFETCH(QString, focus);
    QFETCH(bool, byKeyboard);
    QFETCH(bool, activatedWhileHidden);
    PaletteSession& s = begin();
    s.window->show();
    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    auto* focused = s.window->findChild<QWidget*>(focus);
    QVERIFY(focused);
    focused->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), focused);
    const QByteArray recentBefore = s.folder.read("recent.rgb");

    QByteArray picked;
    for (int run = 0; run < 4; ++run) {
        if (byKeyboard) {
            // Alt+T opens the Tool menu from the menu bar, P its picker item.
            QTest::keyClick(s.window.get(), Qt::Key_T, Qt::AltModifier);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QTest::keyClick(menu, Qt::Key_P);
        } else {
            s.action("mnustartpick")->trigger();
        }
        frmGetColor* p = picker();
        QVERIFY(p);
        if (activatedWhileHidden) {
            QVERIFY(!s.window->isVisible());
            QApplication::setActiveWindow(s.window.get());
            QApplication::setActiveWindow(p);
        }
        const QPoint at(10 + run, 20);
        sendMouse(p, QEvent::MouseMove, at);
        sendMouse(p, QEvent::MouseButtonPress, at, Qt::LeftButton);
        sendMouse(p, QEvent::MouseButtonRelease, at, Qt::LeftButton);
        picked += ColorToHtmlHex(MakeColor(at.x(), at.y(), 7)).mid(1).toLatin1();
        verifyPickingEnded();
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), focused);
        QCOMPARE(s.window->focusWidget(), focused);
    }
    QCOMPARE(s.folder.read("recent.rgb"), recentBefore + picked);
}

// ---------------------------------------------------------------------------
// The picker on its own, as a command that picks without the main window
// runs it

void tst_picker::withoutMainWindow_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QByteArray>("appended");
    QTest::newRow("left click saves and ends") << Qt::LeftButton << QByteArray("050607");
    QTest::newRow("right click ends without saving") << Qt::RightButton << QByteArray();
}

void tst_picker::withoutMainWindow()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QByteArray, appended);
    TestDataFolder folder;
    FakePlatform platform;
    platform.screen = oneScreen();
    const QByteArray mine = folder.read("mycolor.rgb");
    int indexReadings = 0;
    QPointer<frmGetColor> p = new frmGetColor(platform, folder.path(), [&] {
        ++indexReadings;
        return paletteindex::Read(folder.path());
    });
    // A failed check must not leave a picker running into the next case.
    const auto removePicker = qScopeGuard([&p] { delete p.data(); });
    QSignalSpy picked(p.data(), &frmGetColor::colorPicked);
    QSignalSpy ended(p.data(), &frmGetColor::pickingFinished);
    p->Form_Load();
    QVERIFY(p->isVisible());
    QCOMPARE(platform.captureCount, 1);
    QCOMPARE(indexReadings, 1);
    // The palette offered first is the target.
    frmpick* pick = p->pickWindow();
    QVERIFY(pick && pick->isVisible());
    QCOMPARE(pick->SaveToFile, QStringLiteral("mycolor.rgb"));

    QTest::mouseMove(p, QPoint(5, 6));
    QTest::mouseClick(p, button, Qt::NoModifier, QPoint(5, 6));
    QCOMPARE(folder.read("mycolor.rgb"), mine + appended);
    QCOMPARE(picked.size(), appended.isEmpty() ? 0 : 1);
    if (!picked.isEmpty())
        QCOMPARE(picked.first().first().value<Color>(), MakeColor(5, 6, 7));
    QCOMPARE(ended.size(), 1);
    QVERIFY(p->finished());
    QVERIFY(!p->isVisible() && !pick->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!p);
    QVERIFY2(platform.unexpected.isEmpty(), qPrintable(platform.unexpected.join('\n')));
}

void tst_picker::copyAs_data()
{
    QTest::addColumn<QString>("storedOn");
    QTest::addColumn<QString>("storedFormat");
    // Typed into the window with the keyboard before the pick: a format to
    // choose, the box first ticked when it is not.
    QTest::addColumn<QString>("chosen");
    // What the pick leaves on the clipboard; null when it writes nothing.
    QTest::addColumn<QString>("copied");

    const QString none;
    QTest::newRow("off before any choice") << none << none << none << none;
    QTest::newRow("off with a notation kept") << "0"
                                              << "oklch" << none << none;
    QTest::newRow("hex when none was chosen") << "1" << none << none << "#3A6E07";
    QTest::newRow("css rgb") << "1"
                             << "rgb" << none << "rgb(58 110 7)";
    QTest::newRow("code form, red first") << "1"
                                          << "java" << none << "0x3A6E07";
    QTest::newRow("a template by its name") << "1"
                                            << "Dash" << none << "58-110-7";
    QTest::newRow("a template gone since: hex") << "1"
                                                << "Gone" << none << "#3A6E07";
    QTest::newRow("turned on in the window") << none << none << "rgb-list"
                                             << "58,110,7";
    QTest::newRow("another notation chosen") << "1"
                                             << "rgb"
                                             << "vb"
                                             << "&H00076E3A&";
}

void tst_picker::copyAs()
{
    QFETCH(QString, storedOn);
    QFETCH(QString, storedFormat);
    QFETCH(QString, chosen);
    QFETCH(QString, copied);
    TestDataFolder folder;
    FakePlatform platform;
    platform.screen = oneScreen();
    FormatChoices choices = FormatChoices::Defaults();
    choices.templates = {{QStringLiteral("Dash"), QStringLiteral("{r}-{g}-{b}"), true}};
    platform.settings.insert(FormatChoices::SettingKey, choices.toSetting());
    if (!storedOn.isNull())
        platform.settings.insert(QStringLiteral("copypick"), storedOn);
    if (!storedFormat.isNull())
        platform.settings.insert(QStringLiteral("copyformat"), storedFormat);

    auto run = [&] {
        auto* p = new frmGetColor(platform, folder.path(),
                                  [&folder] { return paletteindex::Read(folder.path()); });
        p->Form_Load();
        return QPointer<frmGetColor>(p);
    };
    QPointer<frmGetColor> p = run();
    const auto removePicker = qScopeGuard([&p] { delete p.data(); });
    frmpick* pick = p->pickWindow();
    QVERIFY(pick);
    QCheckBox* box = pick->chkCopyPick;
    QComboBox* formats = pick->cmbCopyFormat;
    QCOMPARE(box->text().remove('&'), QStringLiteral("Copy as"));
    QCOMPARE(formats->isEnabled(), box->isChecked());
    // The list offers what the command line takes, the user's templates too.
    QCOMPARE(formats->itemData(0).toString(), QStringLiteral("hex"));
    QVERIFY(formats->findData(QStringLiteral("oklch")) >= 0);
    QVERIFY(formats->findData(QStringLiteral("Dash")) >= 0);

    if (!chosen.isNull()) {
        // By keyboard, as a user without a mouse reaches them.
        box->setFocus();
        if (!box->isChecked())
            QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(formats->isEnabled());
        QWidget* next = box->nextInFocusChain();
        QCOMPARE(next, formats);
        const int at = formats->findData(chosen);
        QVERIFY(at >= 0);
        formats->setFocus();
        while (formats->currentIndex() != at)
            QTest::keyClick(formats, formats->currentIndex() < at ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(platform.settings.value(QStringLiteral("copypick")), QStringLiteral("1"));
        QCOMPARE(platform.settings.value(QStringLiteral("copyformat")), chosen);
    }

    platform.clipboard = QStringLiteral("left by another program");
    const int writesBefore = platform.clipboardWrites;
    QTest::mouseMove(p, QPoint(58, 110));
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(58, 110));
    QVERIFY(p->finished());
    if (copied.isNull()) {
        QCOMPARE(platform.clipboardWrites, writesBefore);
        QCOMPARE(platform.clipboard, QStringLiteral("left by another program"));
    } else {
        QCOMPARE(platform.clipboardWrites, writesBefore + 1);
        QCOMPARE(platform.clipboard, copied);
    }
    // The pick is saved as ever, whatever the clipboard got.
    QVERIFY(folder.read("mycolor.rgb").endsWith("3A6E07"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!p);

    // The next run opens as this one was left.
    QPointer<frmGetColor> again = run();
    const auto removeAgain = qScopeGuard([&again] { delete again.data(); });
    QCOMPARE(again->pickWindow()->chkCopyPick->isChecked(), !copied.isNull());
    const QString shown = again->pickWindow()->cmbCopyFormat->currentData().toString();
    if (!chosen.isNull())
        QCOMPARE(shown, chosen);
    else if (storedFormat == QLatin1String("Gone") || storedFormat.isNull())
        QCOMPARE(shown, QStringLiteral("hex"));
    else
        QCOMPARE(shown, storedFormat);
    QTest::keyClick(again, Qt::Key_Escape);
    QVERIFY2(platform.unexpected.isEmpty(), qPrintable(platform.unexpected.join('\n')));
}

void tst_picker::pickOnce_data()
{
    using Status = instancemessage::Reply::Status;
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("save");
    // "<second>": the second palette that "Save To:" offers.
    QTest::addColumn<QString>("saveTo");
    // 0: a left click.
    QTest::addColumn<int>("key");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("text");
    // Which offered palette gains the colour: -1 none.
    QTest::addColumn<int>("savedTo");
    QTest::newRow("a click, hex, the first palette")
        << "hex" << true << "" << 0 << Status::Done << "#050607" << 0;
    QTest::newRow("Enter, oklch, a palette by name")
        << "OKLCH" << true << "<second>" << int(Qt::Key_Return) << Status::Done
        << formatnames::Format(QStringLiteral("oklch"), MakeColor(5, 6, 7), {}).value() << 1;
    QTest::newRow("a template, saved nowhere")
        << "Dash" << false << "" << 0 << Status::Done << "5-6-7" << -1;
    QTest::newRow("Escape") << "hex" << true << "" << int(Qt::Key_Escape) << Status::Cancelled << ""
                            << -1;
    QTest::newRow("a right click")
        << "hex" << true << "" << int(Qt::Key_unknown) << Status::Cancelled << "" << -1;
    QTest::newRow("no palette of that name")
        << "hex" << true << "Nowhere" << 0 << Status::Failed << "" << -1;
    // "<none>": an index that lists no palette at all.
    QTest::newRow("no palette to save to")
        << "hex" << true << "<none>" << 0 << Status::Failed << "" << -1;
    QTest::newRow("no palette, saved nowhere")
        << "hex" << false << "<none>" << 0 << Status::Done << "#050607" << -1;
}

void tst_picker::pickOnce()
{
    QFETCH(QString, format);
    QFETCH(bool, save);
    QFETCH(QString, saveTo);
    QFETCH(int, key);
    QFETCH(instancemessage::Reply::Status, status);
    QFETCH(QString, text);
    QFETCH(int, savedTo);
    TestDataFolder folder;
    FakePlatform platform;
    platform.screen = oneScreen();
    // Continuous picking and "Copy as" stay the Pick&Save window's own choice.
    platform.settings.insert(QStringLiteral("autostop"), QStringLiteral("1"));
    platform.settings.insert(QStringLiteral("copypick"), QStringLiteral("1"));
    platform.clipboard = QStringLiteral("copied earlier");
    QCursor::setPos(OffThePicture);
    StringTable files;
    StringTable names;
    paletteindex::ColorTargets(paletteindex::Read(folder.path()).entries, files, names);
    QVERIFY(files.size() >= 2);
    if (saveTo == QLatin1String("<second>"))
        saveTo = names.at(1);
    QList<QByteArray> before;
    for (qsizetype i = 0; i < files.size(); ++i)
        before.append(folder.read(files.at(i)));
    const bool noPalette = saveTo == QLatin1String("<none>");
    if (noPalette) {
        folder.write(paletteindex::IndexFileName(), {});
        saveTo.clear();
    }

    PickOnce::Options options;
    options.format = format;
    options.save = save;
    options.saveTo = saveTo;
    options.templates = {{QStringLiteral("Dash"), QStringLiteral("{r}-{g}-{b}")}};
    int reads = 0;
    PickOnce once(
        platform, folder.path(),
        [&folder, &reads] {
            ++reads;
            return paletteindex::Read(folder.path());
        },
        options);
    QSignalSpy finished(&once, &PickOnce::finished);
    once.start();
    frmGetColor* p = picker();
    const auto removePicker = qScopeGuard([p] { delete p; });
    if (status == instancemessage::Reply::Status::Failed) {
        // Told before any window opens.
        QVERIFY(!p);
        QTRY_COMPARE(finished.size(), 1);
        const auto reply = finished.first().first().value<instancemessage::Reply>();
        QCOMPARE(reply.status, status);
        QVERIFY2(reply.message.contains(noPalette ? QLatin1String("--no-save")
                                                  : QLatin1String("\"Nowhere\"")),
                 qPrintable(reply.message));
        QCOMPARE(platform.captureCount, 0);
        return;
    }
    QVERIFY(p);
    QTRY_VERIFY(p->pickWindow());
    // The window lists the palettes of the pick's one reading: a large index
    // takes seconds to read.
    QCOMPARE(reads, 1);
    QVERIFY(!p->pickWindow()->Check1->isChecked());
    QVERIFY(!p->pickWindow()->chkCopyPick->isEnabled() &&
            !p->pickWindow()->chkCopyPick->isChecked());
    QVERIFY(!p->pickWindow()->cmbCopyFormat->isEnabled());
    QTest::mouseMove(p, QPoint(5, 6));
    if (key == 0)
        QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    else if (key == Qt::Key_unknown)
        QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, QPoint(5, 6));
    else
        QTest::keyClick(p, Qt::Key(key));
    // One colour and the end, whatever the stored choice of continuous picking.
    QCOMPARE(finished.size(), 1);
    QVERIFY(p->finished());
    const auto reply = finished.first().first().value<instancemessage::Reply>();
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.text, text);
    // Whoever asked copies; the picker leaves the clipboard alone.
    QCOMPARE(platform.clipboard, QStringLiteral("copied earlier"));
    QCOMPARE(platform.clipboardClears, 0);
    QCOMPARE(platform.settings.value(QStringLiteral("autostop")), QStringLiteral("1"));
    QCOMPARE(platform.settings.value(QStringLiteral("copypick")), QStringLiteral("1"));
    for (qsizetype i = 0; i < files.size(); ++i)
        QCOMPARE(folder.read(files.at(i)),
                 i == savedTo ? before.at(i) + QByteArray("050607") : before.at(i));
    QVERIFY2(platform.unexpected.isEmpty(), qPrintable(platform.unexpected.join('\n')));
}

void tst_picker::requestFromAnotherStart_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("copy");
    QTest::newRow("shown, copied") << "shown" << true;
    QTest::newRow("minimised stays so") << "minimised" << false;
    QTest::newRow("hidden stays so") << "hidden" << true;
}

void tst_picker::requestFromAnotherStart()
{
    QFETCH(QString, state);
    QFETCH(bool, copy);
    PaletteSession& session = begin();
    frmshowcolor& w = *session.window;
    session.platform.clipboard = QStringLiteral("copied earlier");
    if (state == QLatin1String("minimised"))
        w.showMinimized();
    else if (state == QLatin1String("hidden"))
        w.hide();
    // A tool window beside it steps aside and comes back too.
    QWidget tool(&w, Qt::Tool);
    tool.show();

    instancemessage::Request request;
    request.kind = instancemessage::Request::Kind::Pick;
    request.format = QStringLiteral("rgb");
    request.copy = copy;
    std::optional<instancemessage::Reply> answer;
    w.answerSecondStart(request,
                        [&answer](const instancemessage::Reply& reply) { answer = reply; });
    frmGetColor* p = picker();
    QVERIFY(p);
    QVERIFY(!w.isVisible() && !tool.isVisible());
    // One frozen screen at a time.
    std::optional<instancemessage::Reply> second;
    w.answerSecondStart(request,
                        [&second](const instancemessage::Reply& reply) { second = reply; });
    QVERIFY(second && second->status == instancemessage::Reply::Status::Failed);
    QVERIFY(!answer);

    QTest::mouseMove(p, QPoint(5, 6));
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    QTRY_VERIFY(answer);
    QCOMPARE(answer->status, instancemessage::Reply::Status::Done);
    QCOMPARE(answer->text, QStringLiteral("rgb(5 6 7)"));
    // As a palette click makes a colour current: the recent colours have it.
    QCOMPARE(w.currentColor(), MakeColor(5, 6, 7));
    QVERIFY(session.folder.read("recent.rgb").contains("050607"));
    QCOMPARE(session.platform.clipboard,
             copy ? QStringLiteral("rgb(5 6 7)") : QStringLiteral("copied earlier"));
    QVERIFY(tool.isVisible());
    QCOMPARE(w.isVisible(), state != QLatin1String("hidden"));
    QCOMPARE(w.isMinimized(), state == QLatin1String("minimised"));
}

void tst_picker::inputBeforePickWindow_data()
{
    using Status = instancemessage::Reply::Status;
    // What the user does before "Pick&Save Color" has been built ("move X Y",
    // "click X Y", "right-click X Y", or a key), the stored average, and what
    // the pick then gives.
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QString>("average");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("appended");
    QTest::newRow("a click") << QStringList{"move 5 6", "click 5 6"} << "1" << Status::Done
                             << "#050607" << QByteArray("050607");
    // The window's average, not the single pixel read while it was missing
    // (white here).
    QTest::newRow("a click, 3 x 3 average") << QStringList{"move 2 2", "click 2 2"} << "3"
                                            << Status::Done << "#1E1E22" << QByteArray("1E1E22");
    QTest::newRow("a click without a move, 5 x 5 average")
        << QStringList{"click 2 2"} << "5" << Status::Done << "#0C0C11" << QByteArray("0C0C11");
    QTest::newRow("arrows and Enter") << QStringList{"move 5 6", "Right", "Down", "Return"} << "1"
                                      << Status::Done << "#060707" << QByteArray("060707");
    QTest::newRow("a second click after the first")
        << QStringList{"move 5 6", "click 5 6", "click 9 9"} << "1" << Status::Done << "#050607"
        << QByteArray("050607");
    QTest::newRow("right button") << QStringList{"move 5 6", "right-click 5 6"} << "1"
                                  << Status::Cancelled << "" << QByteArray();
    QTest::newRow("Escape, then a click") << QStringList{"move 5 6", "Escape", "click 5 6"} << "1"
                                          << Status::Cancelled << "" << QByteArray();
}

void tst_picker::inputBeforePickWindow()
{
    QFETCH(QStringList, input);
    QFETCH(QString, average);
    QFETCH(instancemessage::Reply::Status, status);
    QFETCH(QString, text);
    QFETCH(QByteArray, appended);
    TestDataFolder folder;
    FakePlatform platform;
    platform.screen = oneScreen();
    platform.settings.insert(QStringLiteral("pickaverage"), average);
    QCursor::setPos(OffThePicture);
    const QByteArray mine = folder.read("mycolor.rgb");
    PickOnce once(platform, folder.path(), [&folder] { return paletteindex::Read(folder.path()); },
                  {});
    QSignalSpy finished(&once, &PickOnce::finished);
    once.start();
    frmGetColor* p = picker();
    QVERIFY(p);
    const QPointer<frmGetColor> alive(p);
    const auto removePicker = qScopeGuard([&alive] { delete alive.data(); });
    // All of it arrives before the window does.
    QVERIFY(!p->pickWindow());
    for (const QString& step : input) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QPoint at =
            words.size() == 3 ? QPoint(words.at(1).toInt(), words.at(2).toInt()) : QPoint();
        if (words.first() == QLatin1String("move"))
            QTest::mouseMove(p, at);
        else if (words.first() == QLatin1String("click"))
            QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, at);
        else if (words.first() == QLatin1String("right-click"))
            QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, at);
        else
            QTest::keyClick(p, Qt::Key(QKeySequence::fromString(step)[0].key()));
        QVERIFY(!p->pickWindow());
    }
    QTRY_COMPARE(finished.size(), 1);
    const auto reply = finished.first().first().value<instancemessage::Reply>();
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.text, text);
    QCOMPARE(folder.read("mycolor.rgb"), mine + appended);
    QVERIFY2(platform.unexpected.isEmpty(), qPrintable(platform.unexpected.join('\n')));
}

QTEST_MAIN(tst_picker)
#include "tst_picker.moc"
