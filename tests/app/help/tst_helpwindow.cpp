#include "app/help/HelpBrowser.h"
#include "app/help/HelpOpener.h"
#include "app/basmain.h"
#include "app/help/frmHelp.h"
#include "app/frmshowcolor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

QStringList topLevelNames(const QTreeWidget* tree)
{
    QStringList names;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        names.append(tree->topLevelItem(i)->text(0));
    return names;
}

QTreeWidgetItem* contentsItem(QTreeWidget* tree, const QString& name)
{
    const QList<QTreeWidgetItem*> found =
        tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QList<frmHelp*> helpWindows()
{
    QList<frmHelp*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<frmHelp*>(widget); help && help->isVisible())
            windows.append(help);
    }
    return windows;
}

} // namespace

class tst_helpwindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void open_showsTheContentsAndTheFirstTopic();
    void contents_showTheirPageAndFollowIt();
    void links_followedWithBackAndForward();
    void externalLink_goesToTheDesktop();
    void pictures_comeFromTheHelpFile();
    void find_goesRoundThePage_data();
    void find_goesRoundThePage();
    void helpTopics_withoutAViewer_showsOneHelpWindow();
    void helpTopics_badHelpFile_oneMessageNamingIt_data();
    void helpTopics_badHelpFile_oneMessageNamingIt();

private:
    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<frmHelp> m_help;

    QString helpFile() const { return m_data->filePath(QStringLiteral("tintora.chm")); }
    QString shownPage() const { return m_help->brwTopic->source().path(); }
    QString markedTopic() const
    {
        const QTreeWidgetItem* item = m_help->tvwContents->currentItem();
        return item ? item->text(0) : QString();
    }
};

void tst_helpwindow::init()
{
    m_data = std::make_unique<TestDataFolder>();
    m_platform = std::make_unique<FakePlatform>();
    m_help = std::make_unique<frmHelp>(*m_platform);
    QVERIFY(m_help->open(helpFile()).ok);
    m_help->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_help.get()));
}

void tst_helpwindow::cleanup()
{
    m_help.reset();
    QVERIFY2(m_platform->unexpected.isEmpty(),
             qPrintable(m_platform->unexpected.join(QLatin1Char('\n'))));
}

void tst_helpwindow::open_showsTheContentsAndTheFirstTopic()
{
    QCOMPARE(m_help->objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(m_help->windowTitle(), QStringLiteral("Tintora Help"));
    QCOMPARE(topLevelNames(m_help->tvwContents).size(), 11);
    QCOMPARE(topLevelNames(m_help->tvwContents).first(), QStringLiteral("Tintora 3.7"));
    QCOMPARE(shownPage(), QStringLiteral("/index.html"));
    QVERIFY(m_help->brwTopic->toPlainText().contains(
        QLatin1String("Tintora is a colour tool for web designers")));
    QCOMPARE(markedTopic(), QStringLiteral("Tintora 3.7"));
    QVERIFY(!m_help->mnuBack->isEnabled());
    QVERIFY(!m_help->mnuForward->isEnabled());
}

void tst_helpwindow::contents_showTheirPageAndFollowIt()
{
    QTreeWidget* tree = m_help->tvwContents;
    QTreeWidgetItem* palettes = contentsItem(tree, QStringLiteral("Colour palettes"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(palettes).center());
    QCOMPARE(shownPage(), QStringLiteral("/palettes.html"));

    // A nested entry that shows a place inside a page.
    QTreeWidgetItem* where = contentsItem(tree, QStringLiteral("Where the data folder is"));
    QVERIFY(where);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(where).center());
    QCOMPARE(shownPage(), QStringLiteral("/files.html"));
    QVERIFY(m_help->brwTopic->toPlainText().contains(QLatin1String("/usr/share/tintora")));

    m_help->mnuBack->trigger();
    QCOMPARE(shownPage(), QStringLiteral("/palettes.html"));
    QCOMPARE(tree->currentItem(), palettes);
}

void tst_helpwindow::links_followedWithBackAndForward()
{
    // Tab to the first link of the start page and follow it, as a keyboard user does.
    m_help->brwTopic->setFocus();
    QTest::keyClick(m_help->brwTopic, Qt::Key_Tab);
    QTest::keyClick(m_help->brwTopic, Qt::Key_Return);
    QCOMPARE(shownPage(), QStringLiteral("/current.html"));
    QCOMPARE(markedTopic(), QStringLiteral("The current colour"));
    QVERIFY(m_help->mnuBack->isEnabled());

    m_help->mnuBack->trigger();
    QCOMPARE(shownPage(), QStringLiteral("/index.html"));
    QVERIFY(m_help->mnuForward->isEnabled());
    m_help->mnuForward->trigger();
    QCOMPARE(shownPage(), QStringLiteral("/current.html"));
    QVERIFY(!m_help->mnuForward->isEnabled());
    QVERIFY(m_platform->shellRequests.isEmpty());
}

void tst_helpwindow::externalLink_goesToTheDesktop()
{
    // The web address is the last link of the start page.
    m_help->brwTopic->setFocus();
    QTest::keyClick(m_help->brwTopic, Qt::Key_Backtab);
    QTest::keyClick(m_help->brwTopic, Qt::Key_Return);
    QCOMPARE(m_platform->shellRequests.size(), 1);
    QCOMPARE(m_platform->shellRequests.first().target,
             QStringLiteral("https://quorvane.example/tintora/"));
    QCOMPARE(shownPage(), QStringLiteral("/index.html"));
}

void tst_helpwindow::pictures_comeFromTheHelpFile()
{
    m_help->showTopic(QStringLiteral("/models.html"));
    QString picture;
    for (QTextBlock block = m_help->brwTopic->document()->begin(); block.isValid();
         block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().isImageFormat())
                picture = fragment.fragment().charFormat().toImageFormat().name();
        }
    }
    QCOMPARE(picture, QStringLiteral("conversion-window.png"));
    const QVariant image =
        m_help->brwTopic->loadResource(QTextDocument::ImageResource, QUrl(picture));
    QCOMPARE(image.value<QImage>().size(), QSize(340, 270));
    // Nothing outside the help file is read, whatever a page asks for.
    QVERIFY(m_help->brwTopic
                ->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(helpFile()))
                .isNull());
}

void tst_helpwindow::find_goesRoundThePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("backward");
    QTest::addColumn<QString>("status");
    QTest::newRow("found") << "Data folder" << false << "";
    QTest::newRow("found backward") << "data folder" << true << "";
    QTest::newRow("not in the page") << "chartreuse" << false << "Not found";
}

void tst_helpwindow::find_goesRoundThePage()
{
    QFETCH(QString, text);
    QFETCH(bool, backward);
    QFETCH(QString, status);
    m_help->showTopic(QStringLiteral("/files.html"));
    const int places = m_help->brwTopic->toPlainText().count(text, Qt::CaseInsensitive);
    m_help->txtFind->setText(text);

    QList<int> found;
    for (int i = 0; i <= places; ++i) {
        if (backward)
            QTest::mouseClick(m_help->cmdFindPrevious, Qt::LeftButton);
        else
            QTest::keyClick(m_help->txtFind, Qt::Key_Return);
        found.append(m_help->brwTopic->textCursor().selectionStart());
    }
    QCOMPARE(m_help->lblFindStatus->text(), status);
    if (places == 0) {
        QVERIFY(!m_help->brwTopic->textCursor().hasSelection());
        return;
    }
    QCOMPARE(m_help->brwTopic->textCursor().selectedText().compare(text, Qt::CaseInsensitive), 0);
    // Each place once, in page order, and round to the first again.
    QCOMPARE(QSet<int>(found.begin(), found.end()).size(), places);
    QCOMPARE(found.last(), found.first());
    for (int i = 1; i < places; ++i)
        QVERIFY(backward ? found.at(i) < found.at(i - 1) : found.at(i) > found.at(i - 1));
}

void tst_helpwindow::helpTopics_withoutAViewer_showsOneHelpWindow()
{
    m_help.reset();
    m_platform->desktopOpensFiles = false;
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(*m_platform, m_data->path()));
    window->show();
    window->mnucontents->trigger();
    window->mnucontents->trigger();
    // The desktop is asked each time; the program's window opens once.
    QCOMPARE(m_platform->shellRequests.size(), 2);
    QCOMPARE(helpWindows().size(), 1);
    QPointer<frmHelp> help = helpWindows().first();
    QCOMPARE(help->helpFile(), helpFile());
    QCOMPARE(help->brwTopic->source().path(), QStringLiteral("/index.html"));
    QVERIFY(m_platform->messages.isEmpty());
    // It never outlives the main window, which ends the program.
    QVERIFY(!help->testAttribute(Qt::WA_QuitOnClose));
    window.reset();
    QVERIFY(help.isNull());
}

void tst_helpwindow::helpTopics_badHelpFile_oneMessageNamingIt_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no help file at all
    QTest::addColumn<bool>("viewer");
    QTest::addColumn<int>("shellRequests");
    QTest::newRow("missing, with a viewer") << QByteArray() << true << 0;
    QTest::newRow("missing, no viewer") << QByteArray() << false << 0;
    QTest::newRow("damaged, no viewer") << QByteArray("ITSF but not really") << false << 1;
}

void tst_helpwindow::helpTopics_badHelpFile_oneMessageNamingIt()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, viewer);
    QFETCH(int, shellRequests);
    m_help.reset();
    m_data->remove(QStringLiteral("tintora.chm"));
    if (!content.isEmpty())
        m_data->write(QStringLiteral("tintora.chm"), content);
    m_platform->desktopOpensFiles = viewer;
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(*m_platform, m_data->path()));
    window->mnucontents->trigger();
    QCOMPARE(m_platform->shellRequests.size(), shellRequests);
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY2(m_platform->messages.first().text.contains(QDir::toNativeSeparators(helpFile())),
             qPrintable(m_platform->messages.first().text));
    QVERIFY(helpWindows().isEmpty());
}

QTEST_MAIN(tst_helpwindow)
#include "tst_helpwindow.moc"
