// The colour conversion window, opened from the main window.
#include "app/ClickableLabel.h"
#include "app/EntryField.h"
#include "app/frmshowcolor.h"
#include "tests/models/MainWindowFixture.h"
#include "models/frmConversion.h"
#include "tests/support/ModalScript.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>

#include <memory>

using bascommon::MakeColor;

namespace {

const Color Red = MakeColor(255, 0, 0);

QList<int> sliderValues(const frmConversion& window, int count)
{
    QList<int> values;
    for (int i = 0; i < count; ++i)
        values.append(window.sldVal[i]->value());
    return values;
}

void selectTab(frmConversion& window, const QString& caption)
{
    for (int i = 0; i < window.tabModels->count(); ++i)
        if (window.tabModels->tabText(i) == caption)
            window.tabModels->setCurrentIndex(i);
    QCOMPARE(window.tabModels->tabText(window.tabModels->currentIndex()), caption);
}

} // namespace

class tst_conversion : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void namedControls_data();
    void namedControls();
    void opensOnTheCurrentColour();
    void tabs_data();
    void tabs();
    void tabSwitches_neverChangeTheColour();
    void hueSweep_cyclesThroughTheColourWheel();
    void sliderMove_showsValueSwatchAndHex();
    void startsFromTheDecimalFields_data();
    void startsFromTheDecimalFields();
    void okCancelAndCloseBox_data();
    void okCancelAndCloseBox();
    void swatchMenuItem_opensTheWindow();

private:
    MainWindowFixture m_fixture;
    FakePlatform& m_platform = m_fixture.platform;
    std::unique_ptr<frmshowcolor>& m_main = m_fixture.main;
};

void tst_conversion::init()
{
    m_fixture.start(Red);
}

void tst_conversion::cleanup()
{
    const QStringList unexpected = m_fixture.finish();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join('\n')));
}

void tst_conversion::namedControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("fraCtls") << "fraCtls"
                             << "QFrame";
    QTest::newRow("tabModels") << "tabModels"
                               << "QTabBar";
    for (int i = 0; i < 4; ++i) {
        QTest::addRow("lblCp_%d", i) << QStringLiteral("lblCp_%1").arg(i) << "QLabel";
        QTest::addRow("sldVal_%d", i) << QStringLiteral("sldVal_%1").arg(i) << "QSlider";
        QTest::addRow("txtval_%d", i) << QStringLiteral("txtval_%1").arg(i) << "QLineEdit";
    }
    QTest::newRow("picClr") << "picClr"
                            << "QLabel";
    QTest::newRow("txtHEX") << "txtHEX"
                            << "QLineEdit";
    QTest::newRow("Command2") << "Command2"
                              << "QPushButton";
    QTest::newRow("Command1") << "Command1"
                              << "QPushButton";
}

void tst_conversion::namedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    frmConversion window(m_main->platform(), m_main->colorFields(), m_main.get());
    QCOMPARE(window.objectName(), QStringLiteral("frmConversion"));
    QWidget* control = window.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->inherits(kind.toLatin1()));
    // Every control sits in the frame.
    QVERIFY(window.fraCtls->isAncestorOf(control) || control == window.fraCtls);
}

void tst_conversion::opensOnTheCurrentColour()
{
    frmConversion window(m_main->platform(), m_main->colorFields(), m_main.get());
    QCOMPARE(window.windowTitle(), QStringLiteral("Color Conversion"));
    QCOMPARE(window.tabModels->count(), 5);
    const QStringList captions{"RGB", "HLS", "CMY", "CMYK", "YCbCr"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(window.tabModels->tabText(i), captions[i]);
    QCOMPARE(window.tabModels->currentIndex(), 0);
    QCOMPARE(sliderValues(window, 3), (QList<int>{255, 0, 0}));
    QCOMPARE(window.txtval[0]->text(), QStringLiteral("255"));
    QCOMPARE(window.txtval[1]->text(), QStringLiteral("0"));
    QCOMPARE(window.picClr->backColor(), Red);
    QCOMPARE(window.txtHEX->text(), QStringLiteral("#FF0000"));
    QCOMPARE(window.Command2->text(), QStringLiteral("OK"));
    QCOMPARE(window.Command1->text(), QStringLiteral("Cancel"));
    // The window puts itself on top before it is first shown.
    QVERIFY(!m_platform.topmostRequests.isEmpty());
    QCOMPARE(m_platform.topmostRequests.last().first.data(), &window);
    QVERIFY(m_platform.topmostRequests.last().second);
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void tst_conversion::tabs_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<int>>("maxima");
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("RGB") << "RGB" << QStringList{"R", "G", "B"} << QList<int>{255, 255, 255}
                         << QList<int>{255, 0, 0};
    QTest::newRow("HLS") << "HLS" << QStringList{"H", "L", "S"} << QList<int>{360, 100, 100}
                         << QList<int>{60, 50, 100};
    QTest::newRow("CMY") << "CMY" << QStringList{"C", "M", "Y"} << QList<int>{255, 255, 255}
                         << QList<int>{0, 255, 255};
    QTest::newRow("CMYK") << "CMYK" << QStringList{"C", "M", "Y", "K"}
                          << QList<int>{100, 100, 100, 100} << QList<int>{0, 100, 100, 0};
    QTest::newRow("YCbCr") << "YCbCr" << QStringList{"Y", "Cb", "Cr"} << QList<int>{255, 255, 255}
                           << QList<int>{76, 85, 255};
}

void tst_conversion::tabs()
{
    QFETCH(QString, tab);
    QFETCH(QStringList, labels);
    QFETCH(QList<int>, maxima);
    QFETCH(QList<int>, values);

    frmConversion window(m_main->platform(), m_main->colorFields(), m_main.get());
    // Come from the four-slider tab, so that hiding the fourth row is seen.
    selectTab(window, "CMYK");
    selectTab(window, tab);
    const int count = int(labels.size());
    for (int i = 0; i < count; ++i) {
        QCOMPARE(window.lblCp[i]->text(), labels[i]);
        QCOMPARE(window.sldVal[i]->minimum(), 0);
        QCOMPARE(window.sldVal[i]->maximum(), maxima[i]);
        QCOMPARE(window.sldVal[i]->orientation(), Qt::Horizontal);
        QCOMPARE(window.txtval[i]->text(), QString::number(values[i]));
    }
    QCOMPARE(sliderValues(window, count), values);
    const bool fourth = count == 4;
    QCOMPARE(!window.lblCp[3]->isHidden(), fourth);
    QCOMPARE(!window.sldVal[3]->isHidden(), fourth);
    QCOMPARE(!window.txtval[3]->isHidden(), fourth);
    // Re-expressing the colour changes nothing.
    QCOMPARE(window.picClr->backColor(), Red);
    QCOMPARE(window.txtHEX->text(), QStringLiteral("#FF0000"));
    QVERIFY(window.updatesEnabled());
}

void tst_conversion::tabSwitches_neverChangeTheColour()
{
    QRandomGenerator random(20240607);
    for (int sample = 0; sample < 200; ++sample) {
        const Color color =
            MakeColor(random.bounded(256), random.bounded(256), random.bounded(256));
        m_main->CurrentColorChanged(color);
        frmConversion window(m_main->platform(), m_main->colorFields(), m_main.get());
        for (const char* tab : {"HLS", "CMYK", "YCbCr", "CMY", "RGB", "CMYK", "HLS"}) {
            selectTab(window, tab);
            QCOMPARE(window.picClr->backColor(), color);
            QCOMPARE(bascommon::MakeColor(window.models().rgbR(), window.models().rgbG(),
                                          window.models().rgbB()),
                     color);
        }
    }
}

void tst_conversion::hueSweep_cyclesThroughTheColourWheel()
{
    frmConversion window(m_main->platform(), m_main->colorFields(), m_main.get());
    selectTab(window, "HLS");
    const QMap<int, Color> wheel{
        {0, MakeColor(255, 0, 255)},   {60, MakeColor(255, 0, 0)},    {120, MakeColor(255, 255, 0)},
        {180, MakeColor(0, 255, 0)},   {240, MakeColor(0, 255, 255)}, {300, MakeColor(0, 0, 255)},
        {360, MakeColor(255, 0, 255)},
    };
    // Dragging moves the value through every step and the display follows.
    QSlider* hue = window.sldVal[0];
    hue->setSliderDown(true);
    for (int h = 0; h <= 360; ++h) {
        hue->setSliderPosition(h);
        QCOMPARE(window.txtval[0]->text(), QString::number(h));
        if (wheel.contains(h)) {
            QCOMPARE(window.picClr->backColor(), wheel[h]);
            QCOMPARE(window.txtHEX->text(), bascommon::ColorToHtmlHex(wheel[h]));
        }
    }
    hue->setSliderDown(false);
    // The other sliders of the tab keep their positions.
    QCOMPARE(window.sldVal[1]->value(), 50);
    QCOMPARE(window.sldVal[2]->value(), 100);
}

void tst_conversion::sliderMove_showsValueSwatchAndHex()
{
    frmConversion window(m_main->platform(), m_main->colorFields(), m_main.get());
    window.sldVal[1]->setValue(128);
    QCOMPARE(window.txtval[1]->text(), QStringLiteral("128"));
    QCOMPARE(window.picClr->backColor(), MakeColor(255, 128, 0));
    QCOMPARE(window.txtHEX->text(), QStringLiteral("#FF8000"));

    selectTab(window, "CMYK");
    window.sldVal[3]->setValue(50);
    QCOMPARE(window.txtval[3]->text(), QStringLiteral("50"));
    // C 0, M 50, Y 100 with K 50: 255 * 0.5, 255 * 0.25, 0.
    QCOMPARE(window.picClr->backColor(), MakeColor(128, 64, 0));
    QCOMPARE(window.txtHEX->text(), QStringLiteral("#804000"));
    // The main window's colour is untouched until OK.
    QCOMPARE(m_main->currentColor(), Red);
}

void tst_conversion::startsFromTheDecimalFields_data()
{
    QTest::addColumn<QString>("redText");
    QTest::addColumn<Color>("start");
    // A typed but not yet applied value is what the user sees, so it is taken.
    QTest::newRow("unapplied edit") << "12" << MakeColor(12, 0, 0);
    QTest::newRow("leading zeros") << "007" << MakeColor(7, 0, 0);
    // A field caught empty or holding no channel value gives way to the
    // current colour.
    QTest::newRow("empty") << "" << Red;
    QTest::newRow("out of range") << "300" << Red;
    QTest::newRow("not a number") << "1a" << Red;
}

void tst_conversion::startsFromTheDecimalFields()
{
    QFETCH(QString, redText);
    QFETCH(Color, start);
    {
        // Bypasses the field's own repair to reach states it normally fixes at once.
        const QSignalBlocker blocker(m_main->txtr);
        m_main->txtr->setText(redText);
    }
    frmConversion window(m_main->platform(), m_main->colorFields(), m_main.get());
    QCOMPARE(window.picClr->backColor(), start);
    QCOMPARE(window.sldVal[0]->value(), bascommon::GetRed(start));
}

void tst_conversion::okCancelAndCloseBox_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("moveSlider");
    QTest::addColumn<Color>("after");
    QTest::newRow("OK after a move") << "Command2" << true << MakeColor(255, 0, 128);
    QTest::newRow("OK without a move") << "Command2" << false << Red;
    QTest::newRow("Cancel after a move") << "Command1" << true << Red;
    QTest::newRow("close box after a move") << "close" << true << Red;
}

void tst_conversion::okCancelAndCloseBox()
{
    QFETCH(QString, ending);
    QFETCH(bool, moveSlider);
    QFETCH(Color, after);

    m_main->show();
    bool shown = false;
    whenModalShown([&](QWidget* window) {
        auto* conversion = qobject_cast<frmConversion*>(window);
        shown = conversion != nullptr;
        if (!conversion) {
            window->close();
            return;
        }
        if (moveSlider)
            conversion->sldVal[2]->setValue(128);
        if (ending == "close")
            conversion->close();
        else
            QTest::mouseClick(conversion->findChild<QPushButton*>(ending), Qt::LeftButton);
    });
    m_main->findChild<QAction*>("mnucon")->trigger();
    QVERIFY(shown);
    QCOMPARE(m_main->currentColor(), after);
    QCOMPARE(m_main->txtrgb->text(), bascommon::ColorToHtmlHex(after));
    QVERIFY(!m_main->findChild<frmConversion*>());
}

void tst_conversion::swatchMenuItem_opensTheWindow()
{
    m_main->show();
    QString opened;
    whenModalShown([&](QWidget* window) {
        opened = window->objectName();
        window->close();
    });
    m_main->findChild<QAction*>("mnuconv")->trigger();
    QCOMPARE(opened, QStringLiteral("frmConversion"));
}

QTEST_MAIN(tst_conversion)
#include "tst_conversion.moc"
