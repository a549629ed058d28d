#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "app/help/ChmArchive.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// A caption as the user reads it: mnemonic marks gone, "&&" an ampersand,
// a shortcut after a tab left out.
QString shownCaption(const QString& text)
{
    const QString caption = text.section(QLatin1Char('\t'), 0, 0);
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        shown += caption.at(i);
    }
    return shown.simplified();
}

// Menus whose items are made from the colour, the palettes or the notations
// chosen: their own captions are documented, their items cannot be.
const QStringList GeneratedItems = {
    QStringLiteral("mnuCopydec"),      QStringLiteral("mnuCopyhex"),
    QStringLiteral("mnuCopySpecial"),  QStringLiteral("mnuAddto"),
    QStringLiteral("mnuMoreFormats"),  QStringLiteral("mnuMoreFormats2"),
    QStringLiteral("mnuSwatchCopyAs"),
};

bool insideGeneratedMenu(const QWidget* menu)
{
    for (const QWidget* at = menu->parentWidget(); at; at = at->parentWidget())
        if (qobject_cast<const QMenu*>(at) && GeneratedItems.contains(at->objectName()))
            return true;
    return false;
}

// A page's words, without its pictures: nothing outside the help file is read.
class TextOnlyDocument : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

struct HelpPage
{
    QString path;
    QString html;
    QString text;
};

QList<HelpPage> helpPages(const QString& helpFile)
{
    ChmArchive archive;
    if (!archive.open(helpFile))
        return {};
    QList<HelpPage> pages;
    for (const QString& path : archive.files()) {
        if (!path.endsWith(QLatin1String(".html")))
            continue;
        const QString html = QString::fromUtf8(archive.read(path).value_or(QByteArray()));
        TextOnlyDocument document;
        document.setHtml(html);
        pages.append({path, html, document.toPlainText().simplified()});
    }
    return pages;
}

// Where a caption was seen, for the failure message.
struct Caption
{
    QString text;
    QString where;
};

void collectMenus(const QWidget* window, QList<Caption>& captions)
{
    const QString windowName = window->objectName();
    for (const QMenu* menu : window->findChildren<QMenu*>()) {
        if (insideGeneratedMenu(menu))
            continue;
        // A pop-up kept in the menu bar but never shown there has a title
        // that no user sees.
        const auto* mainWindow = qobject_cast<const QMainWindow*>(window);
        const bool hiddenPopup = mainWindow &&
                                 mainWindow->menuBar()->actions().contains(menu->menuAction()) &&
                                 !menu->menuAction()->isVisible();
        if (!hiddenPopup && !shownCaption(menu->title()).isEmpty())
            captions.append({shownCaption(menu->title()), windowName + " menu"});
        if (GeneratedItems.contains(menu->objectName()))
            continue;
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator() || action->menu())
                continue;
            if (const QString caption = shownCaption(action->text()); !caption.isEmpty())
                captions.append({caption, windowName + " " + menu->objectName()});
        }
    }
}

void collectWindow(const QWidget* window, QList<Caption>& captions)
{
    if (!window->windowTitle().simplified().isEmpty())
        captions.append({window->windowTitle().simplified(), window->objectName() + " title"});
    collectMenus(window, captions);
}

// "Menu > Item > Item" as the menu bar of `window` shows it now.
bool menuPathExists(const QMainWindow& window, const QString& path)
{
    const QStringList parts = path.split(QStringLiteral(" > "));
    QList<QAction*> actions = window.menuBar()->actions();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QAction* found = nullptr;
        for (const QAction* action : std::as_const(actions))
            if (action->isVisible() && !action->isSeparator() &&
                shownCaption(action->text()) == parts.at(i))
                found = action;
        if (!found)
            return false;
        if (i + 1 < parts.size()) {
            if (!found->menu())
                return false;
            actions = found->menu()->actions();
        }
    }
    return true;
}

// The menu paths a page names: each is written alone in bold or in a table
// cell. Any other ">" in the text is reported as a path of its own, so that
// none escapes the check.
QStringList menuPaths(const QString& html)
{
    static const QRegularExpression element(QStringLiteral("<(b|td)>([^<]*)</\\1>"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto decoded = [](QString text) {
        return text.replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"))
            .simplified();
    };
    QStringList paths;
    qsizetype inElements = 0;
    for (auto match = element.globalMatch(html); match.hasNext();) {
        const QString inner = match.next().captured(2);
        if (!inner.contains(QLatin1String("&gt;")))
            continue;
        inElements += inner.count(QLatin1String("&gt;"));
        paths.append(decoded(inner));
    }
    if (html.count(QLatin1String("&gt;")) != inElements)
        paths.append(QStringLiteral("(a \">\" outside a bold text or table cell of its own)"));
    return paths;
}

ScreenCapture smallScreen()
{
    QImage image(240, 200, QImage::Format_RGB32);
    image.fill(qRgb(0x33, 0x66, 0x99));
    ScreenCapture capture;
    capture.addScreen(QRect(0, 0, 240, 200), image);
    return capture;
}

} // namespace

class tst_helpcoverage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void everyCaption_appearsInATopic();
    void everyMenuPath_existsInTheMenuBar();
    void menuPath_onlyWhatTheMenuBarShows_data();
    void menuPath_onlyWhatTheMenuBarShows();

private:
    // Runs `action` and collects the captions of every window it opens,
    // modal or not, closing each afterwards.
    int collectWindowsOpenedBy(QAction* action, QList<Caption>& captions);

    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<frmshowcolor> m_window;
};

void tst_helpcoverage::init()
{
    m_data = std::make_unique<TestDataFolder>();
    m_platform = std::make_unique<FakePlatform>();
    m_platform->desktopOpensFiles = false;
    m_platform->screen = smallScreen();
    m_window.reset(basmain::CreateMainWindow(*m_platform, m_data->path()));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_helpcoverage::cleanup()
{
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(m_platform->unexpected.isEmpty(),
             qPrintable(m_platform->unexpected.join(QLatin1Char('\n'))));
    m_platform.reset();
    m_data.reset();
}

int tst_helpcoverage::collectWindowsOpenedBy(QAction* action, QList<Caption>& captions)
{
    QSet<QWidget*> before;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            before.insert(window);
    int opened = 0;
    bool running = true;
    std::function<void()> closeModal = [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && !before.contains(modal)) {
            collectWindow(modal, captions);
            ++opened;
            modal->close();
        }
        if (running)
            QTimer::singleShot(10, closeModal);
    };
    QTimer::singleShot(0, closeModal);
    action->trigger();
    running = false;
    QList<QPointer<QWidget>> opening;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && !before.contains(window) && !qobject_cast<QMenu*>(window))
            opening.append(window);
    for (const QPointer<QWidget>& window : std::as_const(opening)) {
        collectWindow(window, captions);
        ++opened;
    }
    for (const QPointer<QWidget>& window : std::as_const(opening))
        if (window)
            window->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!m_window->isVisible())
        m_window->show();
    return opened;
}

void tst_helpcoverage::everyCaption_appearsInATopic()
{
    const QList<HelpPage> pages = helpPages(m_data->filePath(QStringLiteral("tintora.chm")));
    QVERIFY(pages.size() >= 10);
    QString allText;
    for (const HelpPage& page : pages)
        allText += page.text + QLatin1Char('\n');

    QList<Caption> captions;
    collectWindow(m_window.get(), captions);
    // The windows the program opens, each by the command that opens it.
    for (const char* name :
         {"mnucon", "mnuViewColor", "mnuabout", "mnuGenerator", "mnuFormats", "mnuViewContrast",
          "mnuShowweb", "mnuViewCode", "mnustartpick", "mnucontents"}) {
        QAction* action = m_window->findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        QVERIFY2(collectWindowsOpenedBy(action, captions) > 0, name);
    }
    QVERIFY(captions.size() > 50);

    QStringList missing;
    for (const Caption& caption : std::as_const(captions))
        if (!allText.contains(caption.text))
            missing.append(QStringLiteral("\"%1\" (%2)").arg(caption.text, caption.where));
    missing.removeDuplicates();
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("in no help topic: ") + missing.join(QStringLiteral(", "))));
}

void tst_helpcoverage::everyMenuPath_existsInTheMenuBar()
{
    const QList<HelpPage> pages = helpPages(m_data->filePath(QStringLiteral("tintora.chm")));
    QVERIFY(!pages.isEmpty());
    int checked = 0;
    QStringList wrong;
    for (const HelpPage& page : pages) {
        for (const QString& path : menuPaths(page.html)) {
            ++checked;
            if (!menuPathExists(*m_window, path))
                wrong.append(page.path + QStringLiteral(": ") + path);
        }
    }
    QVERIFY(checked > 20);
    QVERIFY2(wrong.isEmpty(),
             qPrintable(QStringLiteral("no such menu item: ") + wrong.join(QStringLiteral("; "))));
}

void tst_helpcoverage::menuPath_onlyWhatTheMenuBarShows_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");
    QTest::newRow("menu item") << "File > New Color Palette..." << true;
    QTest::newRow("added to a menu") << "Edit > Undo" << true;
    QTest::newRow("submenu") << "Edit > Copy HEX Format of Color" << true;
    QTest::newRow("swatch pop-up only") << "Edit > Add This Color To" << false;
    QTest::newRow("swatch pop-up only, too") << "Edit > Color Conversion" << false;
    QTest::newRow("other menu") << "Tool > Undo" << false;
    QTest::newRow("no such menu") << "Tools > Make Web Safe" << false;
    QTest::newRow("item is no submenu") << "Tool > Make Web Safe > Red" << false;
    QTest::newRow("never in the bar") << "HtmlPop1 > Preview" << false;
    QTest::newRow("mnemonic left in") << "&File > New Color Palette..." << false;
}

void tst_helpcoverage::menuPath_onlyWhatTheMenuBarShows()
{
    QFETCH(QString, path);
    QFETCH(bool, exists);
    QCOMPARE(menuPathExists(*m_window, path), exists);
    // The paths the help is read for are found the same way in its pages.
    const QString html = QStringLiteral("<p>Choose <b>%1</b> or press a key &gt; twice.</p>")
                             .arg(QString(path).replace(QLatin1String(">"), QLatin1String("&gt;")));
    const QStringList found = menuPaths(html);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found.first(), path);
}

QTEST_MAIN(tst_helpcoverage)
#include "tst_helpcoverage.moc"
