#include "app/help/ChmArchive.h"
#include "app/help/HelpContents.h"
#include "app/help/HelpPlacement.h"
#include "app/help/HelpSearch.h"
#include "app/help/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString ProgramHelp = QStringLiteral(TINTORA_SOURCE_DATA_DIR "/tintora.chm");

QStringList names(const QList<HelpTopic>& topics)
{
    QStringList result;
    for (const HelpTopic& topic : topics)
        result.append(topic.name);
    return result;
}

QString sitemapItem(const QString& name, const QString& local)
{
    return QStringLiteral("<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">"
                          "<param name=\"Local\" value=\"%2\"></OBJECT>\n")
        .arg(name, local);
}

} // namespace

class tst_helpfile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void programsHelp_givesItsPagesAndPictures();
    void programsHelp_contentsAsWritten();
    void badFile_namesItAndWhy_data();
    void badFile_namesItAndWhy();
    void contents_readsWhatCanBeMadeOut_data();
    void contents_readsWhatCanBeMadeOut();
    void contents_deepNesting_isFlattened();

    void placement_besideTheOwner_data();
    void placement_besideTheOwner();
    void placement_settingReadsOnlyWhatItWrites_data();
    void placement_settingReadsOnlyWhatItWrites();
    void placement_rememberedPlaceOnTodaysScreens_data();
    void placement_rememberedPlaceOnTodaysScreens();
    void search_findsTheTopicsThatHoldTheText_data();
    void search_findsTheTopicsThatHoldTheText();
    void pageNesting_countedAsABrowserNestsIt_data();
    void pageNesting_countedAsABrowserNestsIt();
    void pageProblem_refusesLargeAndDeepPages();
};

void tst_helpfile::programsHelp_givesItsPagesAndPictures()
{
    ChmArchive archive;
    QVERIFY(archive.open(ProgramHelp).ok);
    QCOMPARE(archive.title(), QStringLiteral("Tintora Help"));
    QCOMPARE(archive.defaultTopic(), QStringLiteral("/index.html"));
    QVERIFY(archive.contentsFile().endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive));
    QVERIFY(archive.files().contains(QStringLiteral("/files.html")));

    const std::optional<QByteArray> page = archive.read(QStringLiteral("/index.html"));
    QVERIFY(page);
    QVERIFY(page->contains("<h1>Tintora 3.7</h1>"));
    QCOMPARE(archive.read(QStringLiteral("index.html")), page);
    const std::optional<QByteArray> picture =
        archive.read(QStringLiteral("/conversion-window.png"));
    QVERIFY(picture);
    QVERIFY(picture->startsWith("\x89PNG\r\n"));
    QVERIFY(!archive.read(QStringLiteral("/missing.html")));
}

void tst_helpfile::programsHelp_contentsAsWritten()
{
    ChmArchive archive;
    QVERIFY(archive.open(ProgramHelp).ok);
    const QList<HelpTopic> topics =
        helpcontents::Parse(archive.read(archive.contentsFile()).value_or(""));
    QCOMPARE(
        names(topics),
        (QStringList{"Tintora 3.7", "The current colour", "Colour palettes", "Colour generator",
                     "Picking colours from the screen", "Pick from anywhere", "Colours from images",
                     "Web colour schemes", "Conversion and colour details", "Copying a colour",
                     "Files and settings", "Menus and windows", "Using the help"}));
    for (const HelpTopic& topic : topics)
        QVERIFY2(archive.read(topic.local), qPrintable(topic.local));
    const HelpTopic& files = topics.at(10);
    QCOMPARE(files.local, QStringLiteral("/files.html"));
    QCOMPARE(files.children.size(), 1);
    QCOMPARE(files.children.first().local, QStringLiteral("/files.html#where"));
}

void tst_helpfile::badFile_namesItAndWhy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "it does not exist";
    QTest::newRow("a folder") << "folder"
                              << "it cannot be read";
    QTest::newRow("empty") << "empty"
                           << "it is not a compiled help file";
    QTest::newRow("a web page") << "page"
                                << "it is not a compiled help file";
}

void tst_helpfile::badFile_namesItAndWhy()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tintora.chm"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    if (kind == QLatin1String("empty") || kind == QLatin1String("page")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("page"))
            file.write("<html><body>ITSF</body></html>");
    }
    ChmArchive archive;
    QVERIFY(archive.open(ProgramHelp).ok);
    const FileResult opened = archive.open(path);
    QVERIFY(!opened.ok);
    QVERIFY(!archive.isOpen());
    QCOMPARE(opened.message, QStringLiteral("Could not open the help file \"%1\": %2.")
                                 .arg(QDir::toNativeSeparators(path), reason));
}

void tst_helpfile::contents_readsWhatCanBeMadeOut_data()
{
    QTest::addColumn<QString>("sitemap");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("local");
    QTest::addColumn<int>("children");

    QTest::newRow("entities") << "<ul>" +
                                     sitemapItem("Tints &amp; shades &#233;&#x263A;", "a.html") +
                                     "</ul>"
                              << QString::fromUtf8("Tints & shades é☺") << "/a.html" << 0;
    QTest::newRow("help file before the page")
        << "<UL>" + sitemapItem("A", "tintora.chm::/sub/a.html#top") + "</UL>"
        << "A"
        << "/sub/a.html#top" << 0;
    QTest::newRow("back slashes") << "<UL>" + sitemapItem("A", "sub\\a.html") + "</UL>"
                                  << "A"
                                  << "/sub/a.html" << 0;
    QTest::newRow("lower case, single quotes, unquoted")
        << "<ul><li><object type='text/sitemap'><param name=name value='A b'><param name=local "
           "value=a.html>"
           "</object></ul>"
        << "A b"
        << "/a.html" << 0;
    QTest::newRow("properties object left out") << "<OBJECT type=\"text/site properties\"><param "
                                                   "name=\"Name\" value=\"Props\"></OBJECT><UL>" +
                                                       sitemapItem("A", "a.html") + "</UL>"
                                                << "A"
                                                << "/a.html" << 0;
    QTest::newRow("nested, lists left open")
        << "<UL>" + sitemapItem("A", "a.html") + "<UL>" + sitemapItem("B", "b.html") +
               sitemapItem("C", "c.html")
        << "A"
        << "/a.html" << 2;
    QTest::newRow("heading without a page") << "<UL>" + sitemapItem("A", "") + "</UL>"
                                            << "A"
                                            << "" << 0;
    // Tags never closed are passed over in one pass, not searched to the end
    // from each of them.
    QTest::newRow("unclosed tags before the list")
        << QString("<ul").repeated(100'000) + "<UL>" + sitemapItem("A", "a.html") + "</UL>"
        << "A"
        << "/a.html" << 0;
}

void tst_helpfile::contents_readsWhatCanBeMadeOut()
{
    QFETCH(QString, sitemap);
    QFETCH(QString, name);
    QFETCH(QString, local);
    QFETCH(int, children);
    const QList<HelpTopic> topics = helpcontents::Parse(sitemap.toUtf8());
    QCOMPARE(topics.size(), 1);
    QCOMPARE(topics.first().name, name);
    QCOMPARE(topics.first().local, local);
    QCOMPARE(topics.first().children.size(), children);
}

void tst_helpfile::contents_deepNesting_isFlattened()
{
    // A damaged or hostile contents file must not exhaust the stack.
    QByteArray sitemap;
    for (int i = 0; i < 20000; ++i)
        sitemap += "<UL>" + sitemapItem(QString::number(i), "p.html").toUtf8();
    QList<HelpTopic> level = helpcontents::Parse(sitemap);
    int topics = 0;
    while (!level.isEmpty()) {
        topics += level.size();
        const QList<HelpTopic> next = level.last().children;
        level = next;
    }
    QCOMPARE(topics, 20000);
}

void tst_helpfile::placement_besideTheOwner_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("preferred");
    QTest::addColumn<QRect>("expected");
    const QRect wide(0, 0, 1280, 800);
    const QRect small(0, 0, 1024, 768);
    QTest::newRow("room on the right")
        << QRect(0, 0, 490, 460) << wide << QSize(700, 640) << QRect(498, 0, 700, 640);
    QTest::newRow("room on the left only")
        << QRect(700, 100, 490, 460) << wide << QSize(600, 640) << QRect(92, 100, 600, 640);
    QTest::newRow("no room, more on the left")
        << QRect(300, 0, 490, 460) << small << QSize(700, 640) << QRect(0, 0, 700, 640);
    QTest::newRow("no room, more on the right")
        << QRect(100, 50, 490, 460) << small << QSize(700, 640) << QRect(324, 50, 700, 640);
    QTest::newRow("screen smaller than the window")
        << QRect(0, 0, 490, 460) << QRect(0, 0, 640, 480) << QSize(700, 640)
        << QRect(0, 0, 640, 480);
    QTest::newRow("owner low on the screen")
        << QRect(0, 600, 490, 460) << wide << QSize(700, 640) << QRect(498, 160, 700, 640);
    QTest::newRow("second screen") << QRect(1300, 100, 490, 460) << QRect(1280, 0, 1920, 1080)
                                   << QSize(700, 640) << QRect(1798, 100, 700, 640);
}

void tst_helpfile::placement_besideTheOwner()
{
    QFETCH(QRect, owner);
    QFETCH(QRect, screen);
    QFETCH(QSize, preferred);
    QFETCH(QRect, expected);
    const QRect place = helpplacement::BesideOwner(owner, screen, preferred);
    QCOMPARE(place, expected);
    QVERIFY(screen.contains(place));
}

void tst_helpfile::placement_settingReadsOnlyWhatItWrites_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QRect>("expected"); // null: nothing
    QTest::newRow("as written") << "30,40,500,380" << QRect(30, 40, 500, 380);
    QTest::newRow("left of the first screen") << "-900,-20,500,380" << QRect(-900, -20, 500, 380);
    QTest::newRow("spaces") << " 30, 40 ,500,380" << QRect(30, 40, 500, 380);
    QTest::newRow("empty") << "" << QRect();
    QTest::newRow("three numbers") << "30,40,500" << QRect();
    QTest::newRow("five numbers") << "30,40,500,380,1" << QRect();
    QTest::newRow("not numbers") << "a,b,c,d" << QRect();
    QTest::newRow("too narrow") << "30,40,50,380" << QRect();
    QTest::newRow("absurd") << "200000,0,500,380" << QRect();
    QTest::newRow("overflowing") << "99999999999,0,500,380" << QRect();
    QTest::newRow("long") << QString(200, QLatin1Char('1')) + ",0,500,380" << QRect();
}

void tst_helpfile::placement_settingReadsOnlyWhatItWrites()
{
    QFETCH(QString, setting);
    QFETCH(QRect, expected);
    const std::optional<QRect> read = helpplacement::FromSetting(setting);
    QCOMPARE(read.value_or(QRect()), expected);
    if (read)
        QCOMPARE(helpplacement::FromSetting(helpplacement::ToSetting(*read)), read);
}

void tst_helpfile::placement_rememberedPlaceOnTodaysScreens_data()
{
    QTest::addColumn<QRect>("remembered");
    QTest::addColumn<bool>("usable");
    QTest::newRow("on the first screen") << QRect(30, 40, 500, 380) << true;
    QTest::newRow("on the second screen") << QRect(1500, 40, 500, 380) << true;
    QTest::newRow("partly off the right edge") << QRect(2900, 40, 500, 380) << true;
    QTest::newRow("title bar above the screens") << QRect(30, -100, 500, 380) << false;
    QTest::newRow("only a sliver on the screen") << QRect(3180, 40, 500, 380) << false;
    QTest::newRow("a screen that is gone") << QRect(4000, 40, 500, 380) << false;
    QTest::newRow("larger than any screen") << QRect(0, 0, 2000, 700) << false;
}

void tst_helpfile::placement_rememberedPlaceOnTodaysScreens()
{
    QFETCH(QRect, remembered);
    QFETCH(bool, usable);
    const QList<QRect> screens = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)};
    QCOMPARE(helpplacement::Usable(remembered, screens).has_value(), usable);
}

void tst_helpfile::search_findsTheTopicsThatHoldTheText_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<qsizetype>>("pages");
    QTest::addColumn<QList<qsizetype>>("counts");
    QTest::newRow("in two pages") << "colour" << QList<qsizetype>{0, 2} << QList<qsizetype>{2, 1};
    QTest::newRow("any case") << "COLOUR" << QList<qsizetype>{0, 2} << QList<qsizetype>{2, 1};
    QTest::newRow("across a line break")
        << "data folder" << QList<qsizetype>{1} << QList<qsizetype>{1};
    QTest::newRow("white space typed")
        << "  data \t folder " << QList<qsizetype>{1} << QList<qsizetype>{1};
    QTest::newRow("nowhere") << "chartreuse" << QList<qsizetype>{} << QList<qsizetype>{};
    QTest::newRow("nothing") << "   " << QList<qsizetype>{} << QList<qsizetype>{};
}

void tst_helpfile::search_findsTheTopicsThatHoldTheText()
{
    QFETCH(QString, query);
    QFETCH(QList<qsizetype>, pages);
    QFETCH(QList<qsizetype>, counts);
    const QList<QString> texts = {QStringLiteral("The current colour, a Colour of its own."),
                                  QStringLiteral("Files live in the data\n   folder."),
                                  QStringLiteral("Colour palettes")};
    const QList<helpsearch::Hit> hits = helpsearch::Find(texts, query);
    QList<qsizetype> foundPages;
    QList<qsizetype> foundCounts;
    for (const helpsearch::Hit& hit : hits) {
        foundPages.append(hit.page);
        foundCounts.append(hit.count);
    }
    QCOMPARE(foundPages, pages);
    QCOMPARE(foundCounts, counts);
}

void tst_helpfile::pageNesting_countedAsABrowserNestsIt_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<int>("depth");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("plain text with a less-than") << QByteArray("a < b and 1<2") << 0;
    QTest::newRow("page") << QByteArray("<!DOCTYPE html><html><body><p>x</p></body></html>") << 3;
    QTest::newRow("void and self-closed elements hold nothing")
        << QByteArray("<div><br><img src=a.png><hr/><span/><input></div>") << 1;
    QTest::newRow("upper case closes lower case") << QByteArray("<DIV><div></Div></div><div>") << 2;
    QTest::newRow("a closing tag closes what was opened since")
        << QByteArray("<div><b><i><u></div><div>") << 4;
    QTest::newRow("a stray closing tag closes nothing") << QByteArray("<p></table><b>") << 2;
    QTest::newRow("paragraphs and items end their open sibling")
        << QByteArray("<ul><li>a<li>b<li>c</ul><p>1<p>2<p>3") << 2;
    QTest::newRow("quoted > inside an attribute")
        << QByteArray("<a title=\"x>y\" href='a>b'><b>") << 2;
    QTest::newRow("comments hide tags") << QByteArray("<!-- <div><div> --><b>") << 1;
    QTest::newRow("deep") << QByteArray("<div>").repeated(10'000) << helppage::MaxNesting + 1;
    QTest::newRow("deep, closed at once") << QByteArray("<div></div>").repeated(10'000) << 1;
    QTest::newRow("deep with unclosed inline tags")
        << QByteArray("<b>").repeated(100) << helppage::MaxNesting + 1;
}

void tst_helpfile::pageNesting_countedAsABrowserNestsIt()
{
    QFETCH(QByteArray, html);
    QFETCH(int, depth);
    QCOMPARE(helppage::NestingDepth(html, helppage::MaxNesting), depth);
}

void tst_helpfile::pageProblem_refusesLargeAndDeepPages()
{
    const QByteArray program = QByteArray("<html><body>") +
                               QByteArray("<div><p>text</p></div>").repeated(1000) +
                               "</body></html>";
    QVERIFY(helppage::PageProblem(program).isEmpty());
    QVERIFY(helppage::PageProblem(QByteArray(helppage::MaxPageBytes + 1, 'x'))
                .contains(QLatin1String("larger than 2 MB")));
    QVERIFY(helppage::PageProblem(QByteArray("<div>").repeated(100'000))
                .contains(QLatin1String("nested more than 64 deep")));
    // The explanation shows a problem as text, never as markup.
    const QByteArray refusal = helppage::RefusalPage(QStringLiteral("<b>&"));
    QVERIFY(refusal.contains("&lt;b&gt;&amp;"));
}

QTEST_GUILESS_MAIN(tst_helpfile)
#include "tst_helpfile.moc"
