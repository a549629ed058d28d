// The colour details window and its "Color Info" page.
#include "app/ClickableLabel.h"
#include "app/EntryField.h"
#include "app/frmshowcolor.h"
#include "tests/models/MainWindowFixture.h"
#include "models/frmpreview.h"
#include "tests/models/ExpectedPage.h"
#include "tests/support/ModalScript.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using bascommon::MakeColor;

namespace {

const Color Pink = MakeColor(255, 161, 204);

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_preview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void panel_data();
    void panel();
    void windowShowsTheColour();
    void startsFromTheDecimalFields();
    void save_writesThePage();
    void save_cancelled_writesNothing();
    void save_failure_keepsWindowAndEarlierContent();
    void rightClick_offersTheActionMenu_data();
    void rightClick_offersTheActionMenu();
    void leftClick_doesNothing();
    void exit_closesAndReturnsToTheMainWindow();
    void swatchDoubleClickAndMenu_openTheWindow();

private:
    MainWindowFixture m_fixture;
    FakePlatform& m_platform = m_fixture.platform;
    std::unique_ptr<frmshowcolor>& m_main = m_fixture.main;
};

void tst_preview::init()
{
    m_fixture.start(Pink);
}

void tst_preview::cleanup()
{
    const QStringList unexpected = m_fixture.finish();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join('\n')));
}

void tst_preview::panel_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    const QList<std::pair<const char*, const char*>> boxes{
        {"txtHex", "#FFA1CC"}, {"txtr", "255"},  {"txtg", "161"}, {"txtb", "204"}, {"txth", "33"},
        {"txtl", "82"},        {"txts", "100"},  {"txtc", "0"},   {"txtm", "94"},  {"txtY", "51"},
        {"txtc1", "0"},        {"txtm1", "37"},  {"txtY1", "20"}, {"txtK", "0"},   {"txtY2", "194"},
        {"txtCb", "134"},      {"txtCr", "172"},
    };
    for (const auto& [box, text] : boxes)
        QTest::newRow(box) << box << text;
}

void tst_preview::panel()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    frmpreview window(m_main->platform(), m_main->colorFields(), m_main.get());
    auto* field = window.PicInfo->findChild<QLineEdit*>(box);
    QVERIFY2(field, qPrintable(box));
    QCOMPARE(field->text(), text);
}

void tst_preview::windowShowsTheColour()
{
    frmpreview window(m_main->platform(), m_main->colorFields(), m_main.get());
    QCOMPARE(window.objectName(), QStringLiteral("frmpreview"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Color Preview"));
    QCOMPARE(fromQColor(window.palette().color(QPalette::Window)), Pink);
    QCOMPARE(window.PicInfo->objectName(), QStringLiteral("PicInfo"));
    QCOMPARE(window.PicInfo->pos(), QPoint(0, 0));
    QCOMPARE(window.PicInfo->height(), m_main->screen()->geometry().height());
    // The panel's headings.
    QStringList headings;
    for (const QLabel* label : window.PicInfo->findChildren<QLabel*>())
        headings << label->text();
    for (const char* heading :
         {"Color Info", "RGB", "HLS", "CMY", "CMYK", "YCbCr", "R:", "Cb:", "K:"})
        QVERIFY2(headings.contains(heading), heading);
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(m_platform.topmostRequests.last().first.data(), &window);
}

void tst_preview::startsFromTheDecimalFields()
{
    {
        // Bypasses the field's own repair to reach a state it normally fixes at once.
        const QSignalBlocker blocker(m_main->txtg);
        m_main->txtg->setText(QString());
    }
    frmpreview window(m_main->platform(), m_main->colorFields(), m_main.get());
    QCOMPARE(window.txtg->text(), QStringLiteral("161"));
    QCOMPARE(window.txth->text(), QStringLiteral("33"));
    QCOMPARE(window.txtm->text(), QStringLiteral("94"));

    m_main->txtg->setText(QStringLiteral("0"));
    frmpreview typed(m_main->platform(), m_main->colorFields(), m_main.get());
    QCOMPARE(typed.txtg->text(), QStringLiteral("0"));
    QCOMPARE(typed.txtm->text(), QStringLiteral("255"));
}

void tst_preview::save_writesThePage()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("#FFA1CC.htm");
    m_platform.saveAnswers << path;
    frmpreview window(m_main->platform(), m_main->colorFields(), m_main.get());
    window.mnusave->trigger();

    QCOMPARE(m_platform.saveRequests.size(), 1);
    QCOMPARE(m_platform.saveRequests[0].proposedName, QStringLiteral("#FFA1CC"));
    QCOMPARE(m_platform.saveRequests[0].defaultSuffix, QStringLiteral("htm"));
    QCOMPARE(m_platform.saveRequests[0].filter, QStringLiteral("web page(*.htm)"));
    QVERIFY(m_platform.messages.isEmpty());

    bool crLf = false;
    const QStringList lines = pageLinesOf(readFile(path), &crLf);
    const QStringList expected = expectedPinkPage();
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QVERIFY2(lines[i] == expected[i],
                 qPrintable(QStringLiteral("line %1: %2").arg(i + 1).arg(lines[i])));
    QVERIFY(crLf);
    QCOMPARE(lines[86], QStringLiteral("<td width=80% bgcolor=#FFA1CC></td>"));
}

void tst_preview::save_cancelled_writesNothing()
{
    QTemporaryDir folder;
    m_platform.saveAnswers << QString();
    frmpreview window(m_main->platform(), m_main->colorFields(), m_main.get());
    window.mnusave->trigger();
    QCOMPARE(m_platform.saveRequests.size(), 1);
    QVERIFY(m_platform.messages.isEmpty());
    QVERIFY(QDir(folder.path()).isEmpty());
}

void tst_preview::save_failure_keepsWindowAndEarlierContent()
{
    // A folder stands where the page should go; what it holds stays as it was.
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("#FFA1CC.htm"));
    const QString kept = folder.filePath("#FFA1CC.htm/kept.htm");
    QFile earlier(kept);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier page");
    earlier.close();
    const QString path = folder.filePath("#FFA1CC.htm");
    m_platform.saveAnswers << path;

    m_main->show();
    bool stillOpen = false;
    whenModalShown([&](QWidget* window) {
        auto* details = qobject_cast<frmpreview*>(window);
        if (!details) {
            window->close();
            return;
        }
        details->mnusave->trigger();
        stillOpen = details->isVisible();
        details->mnuexit->trigger();
    });
    m_main->findChild<QAction*>("mnuViewColor")->trigger();

    QVERIFY(stillOpen);
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].buttons, FakePlatform::Buttons::Ok);
    QVERIFY2(m_platform.messages[0].text.contains(QDir::toNativeSeparators(path)),
             qPrintable(m_platform.messages[0].text));
    QCOMPARE(readFile(kept), QByteArray("earlier page"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"#FFA1CC.htm"});
}

void tst_preview::rightClick_offersTheActionMenu_data()
{
    QTest::addColumn<bool>("onPanel");
    QTest::newRow("window") << false;
    QTest::newRow("panel") << true;
}

void tst_preview::rightClick_offersTheActionMenu()
{
    QFETCH(bool, onPanel);
    frmpreview window(m_main->platform(), m_main->colorFields(), m_main.get());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QStringList items;
    whenPopupShown([&](QMenu* menu) {
        for (const QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        items << menu->objectName();
        menu->close();
    });
    if (onPanel)
        QTest::mouseClick(window.PicInfo, Qt::RightButton, {}, QPoint(80, 300));
    else
        QTest::mouseClick(&window, Qt::RightButton, {},
                          QPoint(window.width() - 20, window.height() - 20));
    QTRY_VERIFY(!items.isEmpty());
    QCOMPARE(items, (QStringList{"Save as Html...", "-", "Exit", "mnufile"}));
    QCOMPARE(window.mnufile->title(), QStringLiteral("Action"));
}

void tst_preview::leftClick_doesNothing()
{
    frmpreview window(m_main->platform(), m_main->colorFields(), m_main.get());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bool popup = false;
    whenPopupShown(
        [&](QMenu* menu) {
            popup = true;
            menu->close();
        },
        300);
    QTest::mouseClick(&window, Qt::LeftButton, {},
                      QPoint(window.width() - 20, window.height() - 20));
    QTest::mouseClick(window.PicInfo, Qt::LeftButton, {}, QPoint(80, 300));
    QTest::qWait(400);
    QVERIFY(!popup);
    QVERIFY(window.isVisible());
}

void tst_preview::exit_closesAndReturnsToTheMainWindow()
{
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    bool shown = false;
    whenModalShown([&](QWidget* window) {
        auto* details = qobject_cast<frmpreview*>(window);
        shown = details != nullptr;
        if (details)
            details->mnuexit->trigger();
        else
            window->close();
    });
    m_main->findChild<QAction*>("mnuViewColor")->trigger();
    QVERIFY(shown);
    QVERIFY(!m_main->findChild<frmpreview*>());
    QTRY_COMPARE(QApplication::activeWindow(), m_main.get());
    // Nothing was saved and the colour is unchanged.
    QVERIFY(m_platform.saveRequests.isEmpty());
    QCOMPARE(m_main->currentColor(), Pink);
}

void tst_preview::swatchDoubleClickAndMenu_openTheWindow()
{
    m_main->show();
    QStringList opened;
    const auto record = [&opened](QWidget* window) {
        opened << window->objectName();
        window->close();
    };
    whenModalShown(record);
    QTest::mouseDClick(m_main->lblcolor, Qt::LeftButton);
    QTRY_COMPARE(opened.size(), 1);
    whenModalShown(record);
    m_main->findChild<QAction*>("mnuViewColor")->trigger();
    QCOMPARE(opened, (QStringList{"frmpreview", "frmpreview"}));
}

QTEST_MAIN(tst_preview)
#include "tst_preview.moc"
