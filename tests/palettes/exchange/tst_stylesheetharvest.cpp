// The colours that a style sheet or a web page uses, harvested into a palette:
// where in CSS a colour counts and where the same letters are something else.
#include <QTest>

#include <QDir>
#include <QTemporaryDir>

#include "palettes/exchange/PaletteExchange.h"
#include "palettes/exchange/StyleSheetHarvest.h"

using namespace bascommon;

namespace {

QStringList hexes(const QList<Color>& colors)
{
    QStringList texts;
    for (const Color color : colors)
        texts.append(ColorToHtmlHex(color));
    return texts;
}

} // namespace

class tst_stylesheetharvest : public QObject
{
    Q_OBJECT
private slots:
    void styleSheet_data();
    void styleSheet();
    void webPage_data();
    void webPage();
    void refused_data();
    void refused();
    void importFile_makesAPaletteNamedAfterTheFile();
};

void tst_stylesheetharvest::styleSheet_data()
{
    QTest::addColumn<QByteArray>("css");
    QTest::addColumn<QStringList>("colours");
    QTest::newRow("hex forms")
        << QByteArray("a { color: #f00; background: #00FF0080; border-color: #0000ffff; "
                      "outline-color: #123456 }")
        << QStringList{"#FF0000", "#00FF00", "#0000FF", "#123456"};
    QTest::newRow("functions, legacy and modern")
        << QByteArray("p { color: rgb(255, 128, 0); background: rgba(0 0 255 / 50%); "
                      "border-color: hsl(120deg 100% 25%); fill: oklch(62.8% 0.2577 29.23); "
                      "stroke: color(srgb 0 0.5 1) }")
        << QStringList{"#FF8000", "#0000FF", "#008000", "#FF0000", "#0080FF"};
    QTest::newRow("named colours in any case")
        << QByteArray("p { color: Tomato; background: REBECCAPURPLE }")
        << QStringList{"#FF6347", "#663399"};
    QTest::newRow("first use, once")
        << QByteArray("a { color: #fff } b { color: white; background: rgb(255 255 255) }\n"
                      "c { color: black } d { color: #FFFFFF }")
        << QStringList{"#FFFFFF", "#000000"};
    QTest::newRow("custom properties and var() fallbacks")
        << QByteArray(":root { --brand: #336699; --accent: teal }\n"
                      "a { color: var(--brand); background: var(--missing, #ABCDEF) }")
        << QStringList{"#336699", "#008080", "#ABCDEF"};
    QTest::newRow("inside gradients and shadows")
        << QByteArray("div { background: linear-gradient(90deg, red 0%, rgb(0 0 255) 100%); "
                      "box-shadow: 0 1px 2px navy }")
        << QStringList{"#FF0000", "#0000FF", "#000080"};
    // Selectors, property names and at-rule preludes hold no colours.
    QTest::newRow("selectors are not colours")
        << QByteArray("#fff, .red, a:hover, tan > b { margin: 0 }\n#abc { color: gold }")
        << QStringList{"#FFD700"};
    QTest::newRow("at-rule preludes")
        << QByteArray("@media (prefers-color-scheme: dark) { body { color: silver } }\n"
                      "@import url(\"red.css\");")
        << QStringList{"#C0C0C0"};
    QTest::newRow("comments, strings and URLs")
        << QByteArray("/* color: red */ a { content: \"#fff blue\"; background: "
                      "url(#0f0) no-repeat, url(\"lime.png\"); color: /* x */ maroon }")
        << QStringList{"#800000"};
    QTest::newRow("words that name other things")
        << QByteArray("h1 { font-family: Tan, serif; animation-name: coral; grid-area: red; "
                      "font: 12px Wheat; color: orchid }")
        << QStringList{"#DA70D6"};
    QTest::newRow("parts of other words")
        << QByteArray("a { border: 1px solid; margin: -red; width: 10redpx; --x: dark-red; "
                      "color: olive }")
        << QStringList{"#808000"};
    QTest::newRow("transparent and invalid colours")
        << QByteArray("a { color: transparent; background: #0000; border-color: rgb(300 x 0); "
                      "fill: rgb(var(--r) 0 0); outline-color: rgba(0, 0, 0, 0); stroke: "
                      "#12345; caret-color: #ff00007f }")
        << QStringList{"#FF0000"};
    QTest::newRow("SCSS variables, nesting, line comments, interpolation")
        << QByteArray("$primary: #3b82f6; // brand blue: #000\n"
                      ".btn { color: $primary; &:hover { background: darken($primary, 10%); "
                      "border-color: #{$primary}; outline-color: crimson } }")
        << QStringList{"#3B82F6", "#DC143C"};
    // A statement broken up by what is left out of it reads as if it had
    // never held it, wherever the break falls.
    QTest::newRow("comments and interpolation inside a declaration")
        << QByteArray("a { col/* x */or: red; background:/**/blue/* navy */; border-color: "
                      "#{$x}abc; $c: url(x) // lime\n; outline-color: gr/* */een }")
        << QStringList{"#0000FF", "#AABBCC", "#00FF00"};
    QTest::newRow("words too long to be names")
        << QByteArray("a { ") + QByteArray(5000, 'b') + ": red; color: " + QByteArray(5000, 'X') +
               "(teal) " + QByteArray(5000, 'r') + " rgb(1 2 3) }"
        << QStringList{"#FF0000", "#008080", "#010203"};
    QTest::newRow("Less variables")
        << QByteArray("@accent: #ff8800;\n.a { color: @accent; }") << QStringList{"#FF8800"};
    QTest::newRow("declarations without a final semicolon")
        << QByteArray("a{color:red}b{color:blue") << QStringList{"#FF0000", "#0000FF"};
    QTest::newRow("functions in functions, to a depth")
        << QByteArray("a { background: f(g(h(red))); color: ") + QByteArray("f(").repeated(100000) +
               "blue" + QByteArray(100000, ')') + "; }"
        << QStringList{"#FF0000"};
    // "//" is a line comment of SCSS and Less, but not in a URL or after a colon.
    QTest::newRow("double slashes")
        << QByteArray("a { background: url(//cdn/x.png) teal; color: // x\n  lime; }")
        << QStringList{"#008080", "#00FF00"};
    QTest::newRow("CR LF and byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                             "a {\r\n  color: #010203;\r\n}\r\n")
                                               << QStringList{"#010203"};
}

void tst_stylesheetharvest::styleSheet()
{
    QFETCH(QByteArray, css);
    QFETCH(QStringList, colours);
    const ExchangeReading reading = stylesheetharvest::FromStyleSheet(css);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(hexes(reading.palette.colors), colours);
    QCOMPARE(reading.palette.name, QString());
}

void tst_stylesheetharvest::webPage_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QStringList>("colours");
    QTest::newRow("style elements and attributes in document order")
        << QByteArray("<!DOCTYPE html>\n<html><head><STYLE type=\"text/css\">body { color: "
                      "#111111 }</style></head>\n<body style=\"background: #222222; color: "
                      "#111111\"><p style='color:red'>red text</p>\n<style>p { color: blue "
                      "}</style></body></html>")
        << QStringList{"#111111", "#222222", "#FF0000", "#0000FF"};
    QTest::newRow("entities in attributes")
        << QByteArray("<div style=\"font-family: &quot;Tan&quot;; color: &#35;00ff00\">x</div>")
        << QStringList{"#00FF00"};
    QTest::newRow("unquoted attribute")
        << QByteArray("<td style=color:navy>cell</td>") << QStringList{"#000080"};
    QTest::newRow("scripts, comments and text are not style")
        << QByteArray("<script>var s = '<style>a{color:red}</style>'; el.style = \"color: "
                      "blue\";</script><!-- <p style=\"color: lime\"> -->\n<p>color: maroon</p>"
                      "<b style=\"color: gold\">x</b>")
        << QStringList{"#FFD700"};
    // Read in one pass: neither a run of "<" with no ">" after it nor one of
    // "&" with no ";" is searched again from each of its characters.
    QTest::newRow("less-than signs to the end")
        << QByteArray("<p style=\"color: red\">x</p>") + QByteArray(300'000, '<')
        << QStringList{"#FF0000"};
    QTest::newRow("ampersands in a style attribute")
        << QByteArray("<p style=\"color: red; x: ") + QByteArray(300'000, '&') +
               "; background: &#x23;0000ff\">x</p>"
        << QStringList{"#FF0000", "#0000FF"};
    QTest::newRow("long tag and attribute names")
        << QByteArray("<") + QByteArray(5000, 'q') + " style=\"color: red\" " +
               QByteArray(5000, 's') + "=\"color: blue\"><STYLE>a{color:&#35;00f}</STYLE>"
        << QStringList{"#FF0000"};
    QTest::newRow("attributes named like style")
        << QByteArray("<p data-style=\"color: red\" title=\"style=color:red\" "
                      "style=\"color: purple\">x</p>")
        << QStringList{"#800080"};
}

void tst_stylesheetharvest::webPage()
{
    QFETCH(QByteArray, html);
    QFETCH(QStringList, colours);
    const ExchangeReading reading = paletteexchange::Decode(html);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(hexes(reading.palette.colors), colours);
}

void tst_stylesheetharvest::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    QTest::newRow("comment never closed")
        << QByteArray("a { color: red }\nb {\n  color: /* blue; }\n")
        << "the comment that opens at line 3, column 10 is never closed";
    QTest::newRow("comment never closed in a page")
        << QByteArray("<html>\n<style>\na { color: red }\n/* b</style></html>")
        << "the comment that opens at line 4, column 1 is never closed";
    QTest::newRow("no colour") << QByteArray("body { margin: 0 }\n")
                               << "nor a style sheet or web page that uses a colour";
    QTest::newRow("page without colour") << QByteArray("<p>Hello</p>") << "uses a colour";
}

void tst_stylesheetharvest::refused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = paletteexchange::Decode(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    QVERIFY(reading.palette.colors.isEmpty());
}

void tst_stylesheetharvest::importFile_makesAPaletteNamedAfterTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site theme.css");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("body { color: #333; background: white }\n");
    file.close();
    ExchangePalette palette;
    QVERIFY(paletteexchange::ImportFile(path, palette).ok);
    QCOMPARE(hexes(palette.colors), (QStringList{"#333333", "#FFFFFF"}));
    QCOMPARE(paletteexchange::ImportedName(palette, path), QStringLiteral("site theme"));

    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("a { color: /* open");
    file.close();
    const FileResult refused = paletteexchange::ImportFile(path, palette);
    QVERIFY(!refused.ok);
    QVERIFY2(refused.message.contains(QDir::toNativeSeparators(path)) &&
                 refused.message.contains("line 1, column 12 is never closed"),
             qPrintable(refused.message));
}

QTEST_GUILESS_MAIN(tst_stylesheetharvest)
#include "tst_stylesheetharvest.moc"
