// The colour that the model windows start from.
#include "models/DecimalFieldColor.h"

#include <QTest>

class tst_decimalfieldcolor : public QObject
{
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
};

void tst_decimalfieldcolor::texts_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Color>("color");

    QTest::newRow("channel values")
        << QStringList{"255", "161", "204"} << true << bascommon::MakeColor(255, 161, 204);
    QTest::newRow("zeros") << QStringList{"0", "0", "0"} << true << bascommon::Black;
    QTest::newRow("leading zeros")
        << QStringList{"007", "010", "000"} << true << bascommon::MakeColor(7, 10, 0);
    QTest::newRow("empty") << QStringList{"12", "", "3"} << false << Color{};
    QTest::newRow("above 255") << QStringList{"256", "0", "0"} << false << Color{};
    QTest::newRow("far above 255") << QStringList{"0", "0", "99999999999"} << false << Color{};
    QTest::newRow("sign") << QStringList{"-1", "0", "0"} << false << Color{};
    QTest::newRow("space") << QStringList{"1 ", "0", "0"} << false << Color{};
    QTest::newRow("hex digit") << QStringList{"0", "1a", "0"} << false << Color{};
    QTest::newRow("other digits") << QStringList{"0", "0", QString::fromUtf8("١٢")} << false
                                  << Color{};
}

void tst_decimalfieldcolor::texts()
{
    QFETCH(QStringList, fields);
    QFETCH(bool, valid);
    QFETCH(Color, color);
    const std::optional<Color> result = DecimalFieldColor(fields[0], fields[1], fields[2]);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, color);
}

QTEST_GUILESS_MAIN(tst_decimalfieldcolor)
#include "tst_decimalfieldcolor.moc"
