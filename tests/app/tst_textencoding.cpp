#include "app/TextEncoding.h"

#include <QTest>

class tst_textencoding : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void latin1BytesReadAsLatin1();
    void decodeLineStart_isTheStartOfTheWholeLine_data();
    void decodeLineStart_isTheStartOfTheWholeLine();
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

void tst_textencoding::decodeLineStart_isTheStartOfTheWholeLine_data()
{
    // Lines long enough to be read a block (64 KiB) at a time; what makes a
    // line UTF-8 or not may lie far beyond the part that is kept.
    constexpr qsizetype Block = 1 << 16;
    const QByteArray e = QString(u'\u00e9').toUtf8();
    const QByteArray pair = QString::fromUcs4(U"\U0001F3A8").toUtf8();
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("short ascii") << QByteArray("Web") << 10;
    QTest::newRow("ascii, cut") << QByteArray(3 * Block, 'a') << 1000;
    QTest::newRow("utf-8, cut") << e.repeated(Block) << 1000;
    QTest::newRow("utf-8, a pair at the cut")
        << (QByteArray(999, 'a') + pair.repeated(Block)) << 1000;
    QTest::newRow("utf-8 across blocks")
        << (QByteArray(Block - 1, 'a') + e.repeated(Block)) << 1000;
    QTest::newRow("latin-1 byte far beyond the cut")
        << (e.repeated(Block) + "\xe9" + e.repeated(10)) << 1000;
    QTest::newRow("sequence cut short at the end") << (e.repeated(Block) + e.left(1)) << 1000;
    QTest::newRow("byte-order mark inside") << (e.repeated(Block) + "\xEF\xBB\xBF" + e) << 1000;
    QTest::newRow("continuation bytes alone") << QByteArray(3 * Block, '\x80') << 1000;
    QTest::newRow("nothing kept") << e.repeated(10) << 0;
}

void tst_textencoding::decodeLineStart_isTheStartOfTheWholeLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, maxLength);
    QCOMPARE(textencoding::DecodeLineStart(line, maxLength),
             textencoding::DecodeLine(line).left(maxLength));
}

QTEST_GUILESS_MAIN(tst_textencoding)
#include "tst_textencoding.moc"
