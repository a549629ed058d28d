#include "app/help/HelpBrowser.h"
#include "app/help/HelpOpener.h"
#include "app/basmain.h"
#include "app/help/frmHelp.h"
#include "app/frmshowcolor.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

#include <sys/stat.h>

#include <memory>

#include <malloc.h>

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
    void externalLink_goesToTheDesktop_data();
    void externalLink_goesToTheDesktop();
    void hostileArchive_showsOnlyItsOwnEntries();
    void pictures_comeFromTheHelpFile();
    void find_goesRoundThePage_data();
    void find_goesRoundThePage();
    void keys_closeTheWindow_data();
    void keys_closeTheWindow();
    void search_listsTheTopicsAndMarksThePlaces_data();
    void search_listsTheTopicsAndMarksThePlaces();
    void notFound_goesWhenThePageChanges();
    void helpTopics_withoutAViewer_showsOneHelpWindow();
    void helpTopics_opensWhereTheWindowWasLeft();
    void helpTopics_closedWindowsAreFreed();
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
    QCOMPARE(topLevelNames(m_help->tvwContents).size(), 13);
    QCOMPARE(topLevelNames(m_help->tvwContents).first(), QStringLiteral("Tintora 3.7"));
    QCOMPARE(shownPage(), QStringLiteral("/index.html"));
    QVERIFY(m_help->brwTopic->toPlainText().contains(
        QLatin1String("Tintora is a colour tool for web designers")));
    // The page is white under any desktop theme.
    QCOMPARE(m_help->brwTopic->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(m_help->brwTopic->palette().color(QPalette::Text), QColor(0x22, 0x22, 0x22));
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

void tst_helpwindow::externalLink_goesToTheDesktop_data()
{
    QTest::addColumn<bool>("open");
    QTest::newRow("answered yes") << true;
    QTest::newRow("answered no") << false;
}

void tst_helpwindow::externalLink_goesToTheDesktop()
{
    QFETCH(bool, open);
    const QString address = QStringLiteral("https://quorvane.example/tintora/");
    m_platform->answers.append(open ? Platform::Answer::Yes : Platform::Answer::No);
    // The web address is the last link of the start page.
    m_help->brwTopic->setFocus();
    QTest::keyClick(m_help->brwTopic, Qt::Key_Backtab);
    QTest::keyClick(m_help->brwTopic, Qt::Key_Return);
    // The desktop gets it only when the user, shown the address, agrees.
    QCOMPARE(m_platform->messages.size(), 1);
    QCOMPARE(m_platform->messages.first().buttons, Platform::Buttons::YesNo);
    QVERIFY(m_platform->messages.first().text.contains(address));
    QCOMPARE(m_platform->shellRequests.size(), open ? 1 : 0);
    if (open)
        QCOMPARE(m_platform->shellRequests.first().target, address);
    QCOMPARE(shownPage(), QStringLiteral("/index.html"));
}

void tst_helpwindow::hostileArchive_showsOnlyItsOwnEntries()
{
    // A help file made to read what it should not: pictures and style sheets
    // from the disk by absolute and relative names, a device that never ends,
    // a pipe that never answers, a picture claiming a huge size, pages too
    // large or too deeply nested to lay out, and a link off to the web.
    const QString chmcmd = QStandardPaths::findExecutable(QStringLiteral("chmcmd"));
    QVERIFY2(!chmcmd.isEmpty(), "chmcmd (Debian package fp-utils) builds the test's help file");
    QTemporaryDir outside;
    QVERIFY(outside.isValid());
    QImage secret(7, 5, QImage::Format_RGB32);
    secret.fill(Qt::red);
    QVERIFY(secret.save(outside.filePath(QStringLiteral("secret.png"))));
    const QString fifo = outside.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QDir(outside.path()).mkpath(QStringLiteral("work/a/b")));
    const QString secretUrl = QUrl::fromLocalFile(outside.filePath("secret.png")).toString();
    const QString fifoUrl = QUrl::fromLocalFile(fifo).toString();

    const QString source = outside.filePath(QStringLiteral("source"));
    QVERIFY(QDir().mkpath(source));
    const auto write = [&source](const QString& name, const QByteArray& content) {
        QFile file(source + QLatin1Char('/') + name);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    };
    const QByteArray images =
        QStringLiteral("<img src=\"%1\"><img src=\"../../secret.png\"><img src=\"secret.png\">"
                       "<img src=\"file:///dev/zero\"><img src=\"%2\"><img src=\"huge.ppm\">")
            .arg(secretUrl, fifoUrl)
            .toUtf8();
    QVERIFY(write("index.html",
                  "<html><head><link rel=\"stylesheet\" href=\"" + fifoUrl.toUtf8() +
                      "\"><link rel=\"stylesheet\" href=\"file:///dev/zero\"></head><body>"
                      "<p>Start</p>" +
                      images +
                      "<p><a href=\"https://example.invalid/x\">web</a></p></body></html>"));
    // Left open: chmcmd itself crashes on as many closing tags.
    QVERIFY(write("nested.html", "<html><body>" + QByteArray("<div>").repeated(100'000) +
                                     "innermost</body></html>"));
    QVERIFY(write("large.html", "<html><body><p>" + QByteArray("large ").repeated(500'000) +
                                    "</p></body></html>"));
    // The header of a 6000 x 5000 picture, which the file does not hold.
    QVERIFY(write("huge.ppm", "P6\n6000 5000\n255\n" + QByteArray(64, '\x7f')));
    QVERIFY(write("hostile.hhp", "[OPTIONS]\nCompiled file=hostile.chm\nDefault topic=index.html\n"
                                 "Title=Hostile\n\n[FILES]\nindex.html\nnested.html\nlarge.html\n"
                                 "huge.ppm\n"));
    QProcess compile;
    compile.setWorkingDirectory(source);
    compile.start(chmcmd, {QStringLiteral("hostile.hhp")});
    QVERIFY(compile.waitForFinished(60'000));
    QVERIFY2(compile.exitStatus() == QProcess::NormalExit && compile.exitCode() == 0,
             compile.readAllStandardError().constData());

    // A relative name that the picture handler would take from the working folder.
    const QString workingFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(outside.filePath(QStringLiteral("work/a/b"))));
    QVERIFY(QFile::copy(outside.filePath("secret.png"), outside.filePath("work/secret.png")));
    m_help = std::make_unique<frmHelp>(*m_platform);
    const bool opened = m_help->open(source + QStringLiteral("/hostile.chm")).ok;
    m_help->show();
    m_help->brwTopic->document()->documentLayout()->documentSize();
    QVERIFY(QDir::setCurrent(workingFolder));
    QVERIFY(opened);
    QCOMPARE(shownPage(), QStringLiteral("/index.html"));
    QVERIFY(m_help->brwTopic->toPlainText().contains(QLatin1String("Start")));

    // Every picture laid out is the blank one: nothing came from outside the
    // archive, and the huge one was never decoded.
    QStringList pictures;
    for (QTextBlock block = m_help->brwTopic->document()->begin(); block.isValid();
         block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().isImageFormat())
                pictures.append(fragment.fragment().charFormat().toImageFormat().name());
        }
    }
    QCOMPARE(pictures.size(), 6);
    for (const QString& picture : pictures) {
        const QImage shown = m_help->brwTopic->document()
                                 ->resource(QTextDocument::ImageResource, QUrl(picture))
                                 .value<QImage>();
        QVERIFY2(shown.size() == QSize(1, 1), qPrintable(picture));
    }
    QVERIFY(m_help->brwTopic->loadResource(QTextDocument::StyleSheetResource, QUrl(fifoUrl))
                .toByteArray()
                .isEmpty());

    // Pages beyond the bounds say why instead of blocking the window.
    m_help->showTopic(QStringLiteral("/nested.html"));
    QVERIFY(!m_help->brwTopic->toPlainText().contains(QLatin1String("innermost")));
    QVERIFY(m_help->brwTopic->toPlainText().contains(QLatin1String("is not shown")));
    m_help->showTopic(QStringLiteral("/large.html"));
    QVERIFY(m_help->brwTopic->toPlainText().contains(QLatin1String("larger than")));

    // The web link is asked about, with its address, and refused here.
    m_help->showTopic(QStringLiteral("/index.html"));
    m_platform->answers.append(Platform::Answer::No);
    emit m_help->brwTopic->anchorClicked(QUrl(QStringLiteral("https://example.invalid/x")));
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY(m_platform->messages.first().text.contains(QLatin1String("https://example.invalid/x")));
    QVERIFY(m_platform->shellRequests.isEmpty());
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
    // Nothing outside the help file is read, whatever a page asks for: a
    // blank picture stands in.
    QCOMPARE(m_help->brwTopic
                 ->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(helpFile()))
                 .value<QImage>()
                 .size(),
             QSize(1, 1));
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

void tst_helpwindow::keys_closeTheWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("control");
    QTest::addColumn<QString>("focus");
    QTest::newRow("Escape in the page") << int(Qt::Key_Escape) << false << "brwTopic";
    QTest::newRow("Escape in the contents") << int(Qt::Key_Escape) << false << "tvwContents";
    QTest::newRow("Escape in Find in page") << int(Qt::Key_Escape) << false << "txtFind";
    QTest::newRow("Ctrl+W in the page") << int(Qt::Key_W) << true << "brwTopic";
    QTest::newRow("Ctrl+W in the search") << int(Qt::Key_W) << true << "txtSearch";
}

void tst_helpwindow::keys_closeTheWindow()
{
    QFETCH(int, key);
    QFETCH(bool, control);
    QFETCH(QString, focus);
    auto* widget = m_help->findChild<QWidget*>(focus);
    QVERIFY(widget);
    if (focus == QLatin1String("txtSearch"))
        m_help->tabHelp->setCurrentIndex(1);
    m_help->activateWindow();
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key(key), control ? Qt::ControlModifier : Qt::NoModifier);
    QVERIFY(!m_help->isVisible());
}

void tst_helpwindow::search_listsTheTopicsAndMarksThePlaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("firstTopic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("status");
    QTest::newRow("one word") << "undo"
                              << "Colour palettes"
                              << "/palettes.html"
                              << "";
    QTest::newRow("words across a line break") << "data   folder"
                                               << "Files and settings"
                                               << "/files.html"
                                               << "";
    QTest::newRow("in one topic only") << "tritanopia"
                                       << "Web colour schemes"
                                       << "/scheme.html"
                                       << "1 topic";
    QTest::newRow("in no topic") << "chartreuse"
                                 << ""
                                 << "/index.html"
                                 << "Not found in any topic";
    QTest::newRow("nothing typed") << "   "
                                   << ""
                                   << "/index.html"
                                   << "";
}

void tst_helpwindow::search_listsTheTopicsAndMarksThePlaces()
{
    QFETCH(QString, text);
    QFETCH(QString, firstTopic);
    QFETCH(QString, page);
    QFETCH(QString, status);
    m_help->tabHelp->setCurrentIndex(1);
    QTest::keyClicks(m_help->txtSearch, text);
    QListWidget* list = m_help->lstSearch;
    QCOMPARE(list->count() > 0, !firstTopic.isEmpty());
    if (!status.isEmpty())
        QCOMPARE(m_help->lblSearchStatus->text(), status);
    if (firstTopic.isEmpty()) {
        QTest::keyClick(m_help->txtSearch, Qt::Key_Return);
        QCOMPARE(shownPage(), page);
        QVERIFY(m_help->brwTopic->extraSelections().isEmpty());
        return;
    }
    QCOMPARE(list->item(0)->text(), firstTopic);
    QCOMPARE(m_help->lblSearchStatus->text(), list->count() == 1
                                                  ? QStringLiteral("1 topic")
                                                  : QStringLiteral("%1 topics").arg(list->count()));
    // Every topic listed holds the text, and the first holds it most often.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(shownPage(), page);
    const QString wanted = text.simplified();
    const QList<QTextEdit::ExtraSelection> marks = m_help->brwTopic->extraSelections();
    QVERIFY(!marks.isEmpty());
    QCOMPARE(marks.size(),
             m_help->brwTopic->toPlainText().simplified().count(wanted, Qt::CaseInsensitive));
    for (const QTextEdit::ExtraSelection& mark : marks)
        QCOMPARE(mark.cursor.selectedText().simplified().compare(wanted, Qt::CaseInsensitive), 0);
    QCOMPARE(m_help->brwTopic->textCursor().selectionStart(),
             marks.first().cursor.selectionStart());
    for (int i = 1; i < list->count(); ++i) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(i)).center());
        QVERIFY(m_help->brwTopic->extraSelections().size() <= marks.size());
        QVERIFY(!m_help->brwTopic->extraSelections().isEmpty());
    }
    // Another page by the contents shows no marks of the search.
    m_help->showTopic(QStringLiteral("/index.html"));
    QVERIFY(m_help->brwTopic->extraSelections().isEmpty());
}

void tst_helpwindow::notFound_goesWhenThePageChanges()
{
    m_help->txtFind->setText(QStringLiteral("chartreuse"));
    QTest::keyClick(m_help->txtFind, Qt::Key_Return);
    QCOMPARE(m_help->lblFindStatus->text(), QStringLiteral("Not found"));
    m_help->showTopic(QStringLiteral("/palettes.html"));
    QCOMPARE(m_help->lblFindStatus->text(), QString());

    QTest::keyClick(m_help->txtFind, Qt::Key_Return);
    QCOMPARE(m_help->lblFindStatus->text(), QStringLiteral("Not found"));
    m_help->mnuBack->trigger();
    QCOMPARE(shownPage(), QStringLiteral("/index.html"));
    QCOMPARE(m_help->lblFindStatus->text(), QString());
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

void tst_helpwindow::helpTopics_opensWhereTheWindowWasLeft()
{
    m_help.reset();
    m_platform->desktopOpensFiles = false;
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(*m_platform, m_data->path()));
    window->show();
    window->mnucontents->trigger();
    QPointer<frmHelp> help = helpWindows().value(0);
    QVERIFY(help);
    // Beside the main window, not over the whole screen.
    QVERIFY(!help->isMaximized());
    const QRect screen = help->screen()->availableGeometry();
    QVERIFY(screen.contains(help->frameGeometry()));

    const QRect left(30, 40, 500, 380);
    help->move(left.topLeft());
    help->resize(left.size());
    QVERIFY(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help->brwTopic, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(help.isNull());
    QCOMPARE(m_platform->settings.value(QStringLiteral("helpwindow")),
             QStringLiteral("30,40,500,380"));

    window->mnucontents->trigger();
    help = helpWindows().value(0);
    QVERIFY(help);
    QCOMPARE(QRect(help->pos(), help->size()), left);
    help->close();

    // A place that no screen shows any more is not taken.
    m_platform->settings.insert(QStringLiteral("helpwindow"), QStringLiteral("9000,9000,500,380"));
    window->mnucontents->trigger();
    help = helpWindows().value(0);
    QVERIFY(help);
    QVERIFY(screen.contains(help->frameGeometry()));
}

void tst_helpwindow::helpTopics_closedWindowsAreFreed()
{
    m_help.reset();
    m_platform->desktopOpensFiles = false;
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(*m_platform, m_data->path()));
    window->show();
    const auto openAndClose = [&window] {
        window->mnucontents->trigger();
        QPointer<frmHelp> help = helpWindows().value(0);
        QVERIFY(help);
        help->showTopic(QStringLiteral("/models.html"));
        help->txtSearch->setText(QStringLiteral("colour"));
        QCoreApplication::processEvents();
        help->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(help.isNull());
    };
    // The first windows fill the caches that every later one shares.
    for (int i = 0; i < 10; ++i)
        openAndClose();
    const qsizetype widgets = QApplication::allWidgets().size();
    const size_t before = mallinfo2().uordblks;
    constexpr int Cycles = 40;
    for (int i = 0; i < Cycles; ++i)
        openAndClose();
    QCOMPARE(QApplication::allWidgets().size(), widgets);
    // A closed window gives back what it took: what stays is the test's own
    // record of each request (some 200 bytes), not the 6 to 10 KB of pixmaps
    // that each window's own arrow icons and page palette used to leave in
    // the pixmap cache.
    const double kept = (double(mallinfo2().uordblks) - double(before)) / Cycles;
    QVERIFY2(kept < 1024, qPrintable(QStringLiteral("%1 bytes kept per window").arg(kept)));
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
