#include "app/TextEncoding.h"

#include <QTest>

class tst_textencoding : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void latin1BytesReadAsLatin1();
};

void tst_textencoding::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "Web Safe Colors" << QByteArray("Web Safe Colors");
    QTest::newRow("quote and ampersand") << "\"R&D\"" << QByteArray("\"R&D\"");
    QTest::newRow("latin-1 stays single byte") << "Caf\u00e9" << QByteArray("Caf\xe9");
    QTest::newRow("beyond latin-1 as utf-8")
        << "Farben \u2013 \u8272" << QString("Farben \u2013 \u8272").toUtf8();
    // In Latin-1 these would be the UTF-8 bytes of "\u00e9", and read back as that.
    QTest::newRow("latin-1 that looks like utf-8")
        << "\u00c3\u00a9t" << QString("\u00c3\u00a9t").toUtf8();
}

void tst_textencoding::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(textencoding::EncodeLine(text), bytes);
    QCOMPARE(textencoding::DecodeLine(bytes), text);
}

void tst_textencoding::latin1BytesReadAsLatin1()
{
    // A byte sequence that is not valid UTF-8 is an 8-bit name.
    QCOMPARE(textencoding::DecodeLine(QByteArray("\xc9t\xe9")), QString("\u00c9t\u00e9"));
}

QTEST_GUILESS_MAIN(tst_textencoding)
#include "tst_textencoding.moc"
