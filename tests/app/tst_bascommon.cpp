#include "app/bascommon.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace bascommon;

class tst_bascommon : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void notations_data();
    void notations();
    void channelsOfAColourValue();
    void notations_everyChannelValue();
    void roundToWebSafe_data();
    void roundToWebSafe();
    void isWebSafe_data();
    void isWebSafe();
    void webSafeRoundingIsIdempotentForEveryChannel();
    void trimSpaces_keepsOtherWhiteSpace();
    void appendColorToFile_data();
    void appendColorToFile();
    void appendColorToFile_readsBackAsTheColour();
    void appendColorToFile_folderInTheWay_reportsAndLeavesNoFile();
};

void tst_bascommon::notations_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("bgr");
    QTest::addColumn<QString>("dec");
    QTest::newRow("black") << 0 << 0 << 0 << "#000000"
                           << "000000"
                           << "0,0,0";
    QTest::newRow("white") << 255 << 255 << 255 << "#FFFFFF"
                           << "FFFFFF"
                           << "255,255,255";
    QTest::newRow("orange") << 255 << 128 << 10 << "#FF800A"
                            << "0A80FF"
                            << "255,128,10";
    QTest::newRow("brown") << 86 << 52 << 18 << "#563412"
                           << "123456"
                           << "86,52,18";
    QTest::newRow("single digits") << 15 << 16 << 1 << "#0F1001"
                                   << "01100F"
                                   << "15,16,1";
}

void tst_bascommon::notations()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QString, html);
    QFETCH(QString, bgr);
    QFETCH(QString, dec);
    const Color color = MakeColor(red, green, blue);
    QCOMPARE(ColorToHtmlHex(color), html);
    QCOMPARE(ColorToBgrHex(color), bgr);
    QCOMPARE(ColorToDecList(color), dec);
    QCOMPARE(RedHex(color), html.mid(1, 2));
    QCOMPARE(GreenHex(color), html.mid(3, 2));
    QCOMPARE(BlueHex(color), html.mid(5, 2));
}

void tst_bascommon::channelsOfAColourValue()
{
    // Red sits in the low byte of the colour value.
    const Color color = 0x00123456;
    QCOMPARE(GetRed(color), 0x56);
    QCOMPARE(GetGreen(color), 0x34);
    QCOMPARE(GetBlue(color), 0x12);
    QCOMPARE(MakeColor(0x56, 0x34, 0x12), color);
}

void tst_bascommon::roundToWebSafe_data()
{
    QTest::addColumn<Color>("input");
    QTest::addColumn<Color>("expected");
    QTest::newRow("25 down, 26 up, 230 up") << MakeColor(25, 26, 230) << MakeColor(0, 51, 255);
    QTest::newRow("76, 77, 128") << MakeColor(76, 77, 128) << MakeColor(51, 102, 153);
    QTest::newRow("229 down, 255 stays") << MakeColor(229, 255, 0) << MakeColor(204, 255, 0);
    QTest::newRow("already web safe") << MakeColor(51, 153, 204) << MakeColor(51, 153, 204);
    QTest::newRow("#1A80E6") << MakeColor(0x1A, 0x80, 0xE6) << MakeColor(0x33, 0x99, 0xFF);
}

void tst_bascommon::roundToWebSafe()
{
    QFETCH(Color, input);
    QFETCH(Color, expected);
    QCOMPARE(RoundToWebSafe(input), expected);
}

void tst_bascommon::isWebSafe_data()
{
    QTest::addColumn<Color>("color");
    QTest::addColumn<bool>("webSafe");
    QTest::newRow("0,51,255") << MakeColor(0, 51, 255) << true;
    QTest::newRow("0,51,254") << MakeColor(0, 51, 254) << false;
    QTest::newRow("#336699") << MakeColor(0x33, 0x66, 0x99) << true;
    QTest::newRow("#336698") << MakeColor(0x33, 0x66, 0x98) << false;
}

void tst_bascommon::isWebSafe()
{
    QFETCH(Color, color);
    QFETCH(bool, webSafe);
    QCOMPARE(IsWebSafe(color), webSafe);
}

void tst_bascommon::notations_everyChannelValue()
{
    // Each value in each channel, against Qt's own formatting of numbers.
    for (int v = 0; v < 256; ++v) {
        const int other = 255 - v;
        const Color color = MakeColor(v, other, (v * 7) & 255);
        const QString hex = QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
        const QString otherHex = QStringLiteral("%1").arg(other, 2, 16, QLatin1Char('0')).toUpper();
        const QString thirdHex =
            QStringLiteral("%1").arg((v * 7) & 255, 2, 16, QLatin1Char('0')).toUpper();
        QCOMPARE(ColorToHtmlHex(color), "#" + hex + otherHex + thirdHex);
        QCOMPARE(ColorToBgrHex(color), thirdHex + otherHex + hex);
        QCOMPARE(ColorToDecList(color), QString::number(v) + "," + QString::number(other) + "," +
                                            QString::number((v * 7) & 255));
        QCOMPARE(RedHex(color), hex);
        QCOMPARE(GreenHex(color), otherHex);
        QCOMPARE(BlueHex(color), thirdHex);
    }
}

void tst_bascommon::webSafeRoundingIsIdempotentForEveryChannel()
{
    // Every channel value rounds to the nearest multiple of 51, a remainder of
    // 25 rounding down; the result is always web safe and never above 255.
    for (int c = 0; c < 256; ++c) {
        const Color rounded = RoundToWebSafe(MakeColor(c, c, c));
        QVERIFY(IsWebSafe(rounded));
        const int r = GetRed(rounded);
        QVERIFY(qAbs(r - c) <= 25 || (c % 51 == 26 && r - c == 25));
        QCOMPARE(RoundToWebSafe(rounded), rounded);
    }
}

void tst_bascommon::trimSpaces_keepsOtherWhiteSpace()
{
    QCOMPARE(TrimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    QCOMPARE(TrimSpaces(QStringLiteral("   ")), QString());
    QCOMPARE(TrimSpaces(QStringLiteral("\tx ")), QStringLiteral("\tx"));
}

void tst_bascommon::appendColorToFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("missing file") << QByteArray() << QByteArray("0A0B0C");
    QTest::newRow("whole records")
        << QByteArray("FF0000ffffff") << QByteArray("FF0000ffffff0A0B0C");
    QTest::newRow("torn last record") << QByteArray("FF0000AB") << QByteArray("FF00000A0B0C");
}

void tst_bascommon::appendColorToFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    if (!before.isEmpty()) {
        QFile file(dir.filePath(QStringLiteral("c1.rgb")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    QVERIFY(AppendColorToFile(dir.path(), QStringLiteral("c1.rgb"), QStringLiteral("#0A0B0C")).ok);
    QFile file(dir.filePath(QStringLiteral("c1.rgb")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
}

void tst_bascommon::appendColorToFile_readsBackAsTheColour()
{
    QTemporaryDir dir;
    const Color color = MakeColor(10, 11, 12);
    QVERIFY(AppendColorToFile(dir.path(), QStringLiteral("x.rgb"), ColorToHtmlHex(color)).ok);
    QFile file(dir.filePath(QStringLiteral("x.rgb")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray record = file.readAll();
    QCOMPARE(record.size(), 6);
    // A record reads as blue, green, red hex digits forming 0x00BBGGRR.
    const Color readBack =
        (record.mid(4, 2) + record.mid(2, 2) + record.mid(0, 2)).toUInt(nullptr, 16);
    QCOMPARE(readBack, color);
}

void tst_bascommon::appendColorToFile_folderInTheWay_reportsAndLeavesNoFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("c2.rgb")));
    const FileResult result =
        AppendColorToFile(dir.path(), QStringLiteral("c2.rgb"), QStringLiteral("#123456"));
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QStringLiteral("c2.rgb")), qPrintable(result.message));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("c2.rgb"))).isDir());
}

QTEST_GUILESS_MAIN(tst_bascommon)
#include "tst_bascommon.moc"
