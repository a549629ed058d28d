#include "scheme/SchemeCode.h"

#include <QTest>

Q_DECLARE_METATYPE(SchemeColors)

using namespace bascommon;
using namespace schemecode;

namespace {

// Text black on white, links blue, purple, red, and an orange hover colour.
SchemeColors classicScheme()
{
    return {MakeColor(0, 0, 0),     MakeColor(255, 255, 255), MakeColor(0, 0, 255),
            MakeColor(128, 0, 128), MakeColor(255, 0, 0),     MakeColor(255, 102, 0)};
}

} // namespace

class tst_schemecode : public QObject
{
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void allBlack_countsEveryColourField();
    void hoverColour_onlyInTheStyleSheets();
    void inlineCss_wrapsTheExternalText();
};

void tst_schemecode::texts_data()
{
    QTest::addColumn<SchemeColors>("colors");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("external");

    QTest::newRow("classic")
        << classicScheme()
        << "<body BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#800080\" "
           "ALINK=\"#FF0000\">"
        << "a:link {color:#0000FF;}\r\n"
           "a:visited {color:#800080;}\r\n"
           "a:active {color:#FF0000;}\r\n"
           "a:hover {color:#FF6600;}\r\n"
           "body {background-color:#FFFFFF; color:#000000;}";
    // Each role distinct, with digits that need their leading zero.
    const SchemeColors mixed{MakeColor(1, 2, 3),      MakeColor(250, 240, 230),
                             MakeColor(10, 128, 255), MakeColor(0x56, 0x34, 0x12),
                             MakeColor(15, 16, 17),   MakeColor(0xAB, 0xCD, 0xEF)};
    QTest::newRow("every role distinct") << mixed
                                         << "<body BGCOLOR=\"#FAF0E6\" TEXT=\"#010203\" "
                                            "LINK=\"#0A80FF\" VLINK=\"#563412\" ALINK=\"#0F1011\">"
                                         << "a:link {color:#0A80FF;}\r\n"
                                            "a:visited {color:#563412;}\r\n"
                                            "a:active {color:#0F1011;}\r\n"
                                            "a:hover {color:#ABCDEF;}\r\n"
                                            "body {background-color:#FAF0E6; color:#010203;}";
}

void tst_schemecode::texts()
{
    QFETCH(SchemeColors, colors);
    QFETCH(QString, html);
    QFETCH(QString, external);
    QCOMPARE(HtmlText(colors), html);
    QCOMPARE(ExternalCssText(colors), external);
    const QString inlineCss = QStringLiteral("<style type=\"text/css\">\r\n<!--\r\n") + external +
                              QStringLiteral("\r\n-->\r\n</style>");
    QCOMPARE(InlineCssText(ExternalCssText(colors)), inlineCss);
}

void tst_schemecode::allBlack_countsEveryColourField()
{
    const SchemeColors black{Black, Black, Black, Black, Black, Black};
    QCOMPARE(HtmlText(black).count(QStringLiteral("#000000")), 5);
    QCOMPARE(ExternalCssText(black).count(QStringLiteral("#000000")), 6);
    QCOMPARE(InlineCssText(ExternalCssText(black)).count(QStringLiteral("#000000")), 6);
}

void tst_schemecode::hoverColour_onlyInTheStyleSheets()
{
    SchemeColors colors = classicScheme();
    colors.hoverLink = MakeColor(0x12, 0x34, 0x56);
    QVERIFY(!HtmlText(colors).contains(QStringLiteral("#123456")));
    const QStringList lines = ExternalCssText(colors).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 5);
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines.at(i).contains(QStringLiteral("#123456")), i == 3);
    QCOMPARE(InlineCssText(ExternalCssText(colors)).count(QStringLiteral("#123456")), 1);
}

void tst_schemecode::inlineCss_wrapsTheExternalText()
{
    // Lines are joined by CR LF only: no bare line feed, no final line break.
    for (const QString& text : {HtmlText(classicScheme()), ExternalCssText(classicScheme()),
                                InlineCssText(ExternalCssText(classicScheme()))}) {
        QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
        QCOMPARE(text.count(QLatin1Char('\r')), text.count(QStringLiteral("\r\n")));
        QVERIFY(!text.endsWith(QLatin1Char('\n')));
    }
    const QStringList lines =
        InlineCssText(ExternalCssText(classicScheme())).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines.first(), QStringLiteral("<style type=\"text/css\">"));
    QCOMPARE(lines.at(1), QStringLiteral("<!--"));
    QCOMPARE(lines.at(7), QStringLiteral("-->"));
    QCOMPARE(lines.last(), QStringLiteral("</style>"));
}

QTEST_GUILESS_MAIN(tst_schemecode)
#include "tst_schemecode.moc"
