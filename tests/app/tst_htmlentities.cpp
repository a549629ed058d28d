#include "app/HtmlEntities.h"

#include <QTest>

class tst_htmlentities : public QObject
{
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
};

void tst_htmlentities::decode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("plain text") << "Tints and shades"
                                << "Tints and shades";
    QTest::newRow("named") << "&lt;a&gt; &amp; &quot;b&quot; &apos;c&apos;"
                           << "<a> & \"b\" 'c'";
    // The help's contents writes spaces that must not break as &nbsp;, and so
    // may a web page's style attribute.
    QTest::newRow("no-break space") << "Color&nbsp;Info"
                                    << "Color\u00a0Info";
    QTest::newRow("decimal and hexadecimal") << "&#233;&#x263A;&#X263a;&#128512;"
                                             << "\u00e9\u263a\u263a\U0001F600";
    QTest::newRow("leading zeros") << "&#0000000000035;00ff00"
                                   << "#00ff00";
    QTest::newRow("unknown name kept") << "&copy; &nbspx;"
                                       << "&copy; &nbspx;";
    QTest::newRow("no semicolon kept") << "R&D &amp &#35"
                                       << "R&D &amp &#35";
    QTest::newRow("empty references kept") << "&; &#; &#x;"
                                           << "&; &#; &#x;";
    QTest::newRow("nothing after the ampersand") << "a &"
                                                 << "a &";
    QTest::newRow("ampersands in a row") << "&&&amp;;"
                                         << "&&&;";
    // References to no character stay text rather than becoming one.
    QTest::newRow("zero kept") << "&#0;"
                               << "&#0;";
    QTest::newRow("surrogate kept") << "&#xD800;&#57343;"
                                    << "&#xD800;&#57343;";
    QTest::newRow("beyond Unicode kept") << "&#x110000;"
                                         << "&#x110000;";
    QTest::newRow("overflowing digits kept") << "&#99999999999999999999;"
                                             << "&#99999999999999999999;";
}

void tst_htmlentities::decode()
{
    QFETCH(QString, text);
    QFETCH(QString, decoded);
    QCOMPARE(htmlentities::Decode(text), decoded);
}

QTEST_GUILESS_MAIN(tst_htmlentities)
#include "tst_htmlentities.moc"
