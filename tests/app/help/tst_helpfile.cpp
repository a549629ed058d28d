#include "app/help/ChmArchive.h"
#include "app/help/HelpContents.h"
#include "app/help/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

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
    QCOMPARE(names(topics),
             (QStringList{"Tintora 3.7", "The current colour", "Colour palettes",
                          "Colour generator", "Picking colours from the screen",
                          "Web colour schemes", "Conversion and colour details", "Copying a colour",
                          "Files and settings", "Using the help"}));
    for (const HelpTopic& topic : topics)
        QVERIFY2(archive.read(topic.local), qPrintable(topic.local));
    const HelpTopic& files = topics.at(8);
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
