// The Edit menu's copy submenus, driven through the main window.
#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "tests/models/MainWindowFixture.h"
#include "tests/support/ModalScript.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using bascommon::MakeColor;

class tst_copymenu : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void itemsCopyTheirNotation_data();
    void itemsCopyTheirNotation();
    void captionsFollowTheCurrentColour();
    void swatchPopup_copiesTheShownColour();

private:
    QAction* item(const char* name) const
    {
        return m_main->findChild<QAction*>(QLatin1String(name));
    }

    MainWindowFixture m_fixture;
    FakePlatform& m_platform = m_fixture.platform;
    std::unique_ptr<frmshowcolor>& m_main = m_fixture.main;
};

void tst_copymenu::init()
{
    m_fixture.start(MakeColor(255, 255, 255));
}

void tst_copymenu::cleanup()
{
    const QStringList unexpected = m_fixture.finish();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join('\n')));
}

void tst_copymenu::itemsCopyTheirNotation_data()
{
    QTest::addColumn<Color>("color");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("clipboard");

    const Color black = MakeColor(0, 0, 0);
    QTest::newRow("black dec1") << black << "mnuCopydec1"
                                << "RGB(0,0,0)"
                                << "RGB(0,0,0)";
    QTest::newRow("black dec2") << black << "mnuCopydec2"
                                << "0,0,0"
                                << "0,0,0";
    QTest::newRow("black hex1") << black << "mnuCopyhex1"
                                << "#000000"
                                << "#000000";
    QTest::newRow("black hex2") << black << "mnuCopyhex2"
                                << "\"#000000\""
                                << "\"#000000\"";
    QTest::newRow("black hex3") << black << "mnuCopyhex3"
                                << "000000"
                                << "000000";
    QTest::newRow("black hex4") << black << "mnuCopyhex4"
                                << "\"000000\""
                                << "\"000000\"";
    QTest::newRow("black hex5") << black << "mnuCopyhex5"
                                << "Hex={00,00,00}"
                                << "Hex={00,00,00}";
    QTest::newRow("black C++") << black << "mnuCopyCplus"
                               << "   C++: 0x000000"
                               << "0x000000";
    QTest::newRow("black VB") << black << "mnuCopyVB"
                              << "    VB: &&H00000000&&"
                              << "&H00000000&";
    QTest::newRow("black Delphi") << black << "mnuCopyDelphi"
                                  << "Delphi: $00000000"
                                  << "$00000000";
    QTest::newRow("black Java") << black << "mnuCopyJava"
                                << "  Java: 0x000000"
                                << "0x000000";

    const Color red = MakeColor(255, 0, 0);
    QTest::newRow("red C++") << red << "mnuCopyCplus"
                             << "   C++: 0x0000FF"
                             << "0x0000FF";
    QTest::newRow("red VB") << red << "mnuCopyVB"
                            << "    VB: &&H000000FF&&"
                            << "&H000000FF&";
    QTest::newRow("red Delphi") << red << "mnuCopyDelphi"
                                << "Delphi: $000000FF"
                                << "$000000FF";
    QTest::newRow("red Java") << red << "mnuCopyJava"
                              << "  Java: 0xFF0000"
                              << "0xFF0000";

    const Color blueish = MakeColor(18, 52, 86);
    QTest::newRow("123456 dec1") << blueish << "mnuCopydec1"
                                 << "RGB(18,52,86)"
                                 << "RGB(18,52,86)";
    QTest::newRow("123456 dec2") << blueish << "mnuCopydec2"
                                 << "18,52,86"
                                 << "18,52,86";
    QTest::newRow("123456 hex2") << blueish << "mnuCopyhex2"
                                 << "\"#123456\""
                                 << "\"#123456\"";
    QTest::newRow("123456 hex4") << blueish << "mnuCopyhex4"
                                 << "\"123456\""
                                 << "\"123456\"";
    QTest::newRow("123456 hex5") << blueish << "mnuCopyhex5"
                                 << "Hex={12,34,56}"
                                 << "Hex={12,34,56}";
    QTest::newRow("123456 VB") << blueish << "mnuCopyVB"
                               << "    VB: &&H00563412&&"
                               << "&H00563412&";
    QTest::newRow("123456 Java") << blueish << "mnuCopyJava"
                                 << "  Java: 0x123456"
                                 << "0x123456";
}

void tst_copymenu::itemsCopyTheirNotation()
{
    QFETCH(Color, color);
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(QString, clipboard);

    m_main->CurrentColorChanged(color);
    QAction* action = m_main->findChild<QAction*>(item);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);

    m_platform.clipboard = QStringLiteral("something copied earlier");
    const int clears = m_platform.clipboardClears;
    const int writes = m_platform.clipboardWrites;
    action->trigger();
    // The clipboard is emptied, then holds exactly the one text.
    QCOMPARE(m_platform.clipboardClears, clears + 1);
    QCOMPARE(m_platform.clipboardWrites, writes + 1);
    QCOMPARE(m_platform.clipboard, clipboard);
}

void tst_copymenu::captionsFollowTheCurrentColour()
{
    m_main->CurrentColorChanged(MakeColor(18, 52, 86));
    QCOMPARE(item("mnuCopyhex1")->text(), QStringLiteral("#123456"));
    QCOMPARE(item("mnuCopyCplus")->text(), QStringLiteral("   C++: 0x563412"));
    m_main->CurrentColorChanged(MakeColor(10, 11, 12));
    QCOMPARE(item("mnuCopyhex1")->text(), QStringLiteral("#0A0B0C"));
    QCOMPARE(item("mnuCopyhex3")->text(), QStringLiteral("0A0B0C"));
    QCOMPARE(item("mnuCopydec1")->text(), QStringLiteral("RGB(10,11,12)"));
    QCOMPARE(item("mnuCopyDelphi")->text(), QStringLiteral("Delphi: $000C0B0A"));
    QCOMPARE(item("mnuCopyJava")->text(), QStringLiteral("  Java: 0x0A0B0C"));
    // The submenus keep their own captions.
    QCOMPARE(m_main->mnuCopySpecial->title(), QStringLiteral("Copy Special Format"));
}

void tst_copymenu::swatchPopup_copiesTheShownColour()
{
    m_main->CurrentColorChanged(MakeColor(18, 52, 86));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));

    QString shownCaption;
    bool popupSeen = false;
    whenPopupShown([&](QMenu* menu) {
        popupSeen = menu == m_main->mnuEdit;
        shownCaption = item("mnuCopyVB")->text();
        item("mnuCopyVB")->trigger();
        menu->close();
    });
    QTest::mouseClick(m_main->lblcolor, Qt::RightButton);
    QTRY_VERIFY(popupSeen);
    QCOMPARE(shownCaption, QStringLiteral("    VB: &&H00563412&&"));
    QCOMPARE(m_platform.clipboard, QStringLiteral("&H00563412&"));
}

QTEST_MAIN(tst_copymenu)
#include "tst_copymenu.moc"
