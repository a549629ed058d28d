// The "Color Info" page and its saving.
#include "models/ColorInfoPage.h"
#include "tests/models/ExpectedPage.h"

#include <QStandardPaths>
#include <QTest>

namespace {

colorinfo::PageTexts pinkTexts()
{
    return {"#FFA1CC", "255", "161", "204", "0",   "94",  "51",
            "0",       "37",  "20",  "0",   "194", "134", "172"};
}

} // namespace

class tst_colorinfopage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void page_isTheNinetyOneLines();
    void save_writesThePageWithCrLf();
    void save_replacesAnEarlierPage();
    void save_failure_data();
    void save_failure();
    void page_typedMarkup_staysText_data();
    void page_typedMarkup_staysText();
};

void tst_colorinfopage::page_isTheNinetyOneLines()
{
    const QStringList expected = expectedPinkPage();
    QCOMPARE(expected.size(), 91);
    const QStringList lines = colorinfo::PageLines(pinkTexts());
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QVERIFY2(lines[i] == expected[i],
                 qPrintable(QStringLiteral("line %1: %2").arg(i + 1).arg(lines[i])));
}

void tst_colorinfopage::save_writesThePageWithCrLf()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("#FFA1CC.htm");
    QVERIFY(colorinfo::SavePage(path, pinkTexts()).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    bool crLf = false;
    QCOMPARE(pageLinesOf(file.readAll(), &crLf), expectedPinkPage());
    QVERIFY(crLf);
    // Nothing but the page is left in the folder.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"#FFA1CC.htm"});
}

void tst_colorinfopage::save_replacesAnEarlierPage()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("page.htm");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(20000, 'x'));
    old.close();
    QVERIFY(colorinfo::SavePage(path, pinkTexts()).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expectedPinkPage().join("\r\n").toLatin1() + "\r\n");
}

void tst_colorinfopage::save_failure_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reasonPart");
    // A folder where the page should go; a folder that does not exist.
    QTest::newRow("folder in the way") << "inTheWay.htm"
                                       << "directory";
    QTest::newRow("missing folder") << "missing/page.htm"
                                    << "";
}

void tst_colorinfopage::save_failure()
{
    QFETCH(QString, target);
    QFETCH(QString, reasonPart);

    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("inTheWay.htm"));
    QFile kept(folder.filePath("inTheWay.htm/kept.txt"));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("earlier content");
    kept.close();

    const QString path = folder.filePath(target);
    const FileResult saved = colorinfo::SavePage(path, pinkTexts());
    QVERIFY(!saved.ok);
    QVERIFY2(saved.message.contains(QDir::toNativeSeparators(path)), qPrintable(saved.message));
    QVERIFY2(saved.message.contains(reasonPart, Qt::CaseInsensitive), qPrintable(saved.message));
    // What was there before is untouched and no temporary file is left.
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("earlier content"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"inTheWay.htm"});
    QCOMPARE(QDir(folder.filePath("inTheWay.htm")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"kept.txt"});
}

void tst_colorinfopage::page_typedMarkup_staysText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("asText");
    QTest::addColumn<QString>("asAttribute");
    QTest::newRow("closing the attribute")
        << "\"><script>alert(1)</script>"
        << "&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"
        << "&#34;&#62;&#60;script&#62;alert&#40;1&#41;&#60;&#47;script&#62;";
    QTest::newRow("a second attribute") << "#FFFFFF onload=x()"
                                        << "#FFFFFF onload=x()"
                                        << "#FFFFFF&#32;onload&#61;x&#40;&#41;";
    QTest::newRow("quote and ampersand") << "'&'"
                                         << "&#39;&amp;&#39;"
                                         << "&#39;&#38;&#39;";
}

void tst_colorinfopage::page_typedMarkup_staysText()
{
    // The details window's boxes can be typed in: what they hold is text in
    // the page, in every place it goes.
    QFETCH(QString, typed);
    QFETCH(QString, asText);
    QFETCH(QString, asAttribute);
    colorinfo::PageTexts texts = pinkTexts();
    texts.hex = typed;
    texts.red = typed;
    texts.redChroma = typed;
    const QStringList lines = colorinfo::PageLines(texts);
    const QStringList pink = expectedPinkPage();
    QCOMPARE(lines.size(), 91);
    QCOMPARE(lines.at(15), QStringLiteral("<p align=center><font face=Tahoma size=2><b>") + asText +
                               QStringLiteral("</b></font></td>"));
    QCOMPARE(lines.at(20), QStringLiteral("<td width=33%><font face=Tahoma size=2>") + asText +
                               QStringLiteral("</font></td>"));
    QCOMPARE(lines.at(82), QStringLiteral("<td width=33%><font face=Tahoma size=2>") + asText +
                               QStringLiteral("</font></td>"));
    QCOMPARE(lines.at(86),
             QStringLiteral("<td width=80% bgcolor=") + asAttribute + QStringLiteral("></td>"));
    // Every other line is the page as it always is.
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (i != 15 && i != 20 && i != 82 && i != 86)
            QCOMPARE(lines.at(i), pink.at(i));
}

QTEST_GUILESS_MAIN(tst_colorinfopage)
#include "tst_colorinfopage.moc"
