// The eleven copy notations: captions and clipboard texts built from the
// main window's notation fields.
#include "models/CopyNotations.h"

#include <QTest>

using copynotations::FieldTexts;
using copynotations::Notation;

Q_DECLARE_METATYPE(Notation)
Q_DECLARE_METATYPE(FieldTexts)

namespace {

FieldTexts fieldsOf(int r, int g, int b)
{
    const auto hex = [](int value) {
        return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
    };
    return {QLatin1Char('#') + hex(r) + hex(g) + hex(b),
            QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b), hex(r), hex(g), hex(b)};
}

} // namespace

class tst_copynotations : public QObject
{
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void fieldsAreTakenAsTheyRead();
};

void tst_copynotations::texts_data()
{
    QTest::addColumn<FieldTexts>("fields");
    QTest::addColumn<Notation>("notation");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("clipboard");

    const FieldTexts black = fieldsOf(0, 0, 0);
    QTest::newRow("black dec1") << black << Notation::DecFunction << "RGB(0,0,0)"
                                << "RGB(0,0,0)";
    QTest::newRow("black dec2") << black << Notation::DecList << "0,0,0"
                                << "0,0,0";
    QTest::newRow("black hex1") << black << Notation::HtmlHex << "#000000"
                                << "#000000";
    QTest::newRow("black hex2") << black << Notation::QuotedHtmlHex << "\"#000000\""
                                << "\"#000000\"";
    QTest::newRow("black hex3") << black << Notation::BareHex << "000000"
                                << "000000";
    QTest::newRow("black hex4") << black << Notation::QuotedBareHex << "\"000000\""
                                << "\"000000\"";
    QTest::newRow("black hex5") << black << Notation::HexBraces << "Hex={00,00,00}"
                                << "Hex={00,00,00}";
    QTest::newRow("black C++") << black << Notation::CPlusPlus << "   C++: 0x000000"
                               << "0x000000";
    QTest::newRow("black VB") << black << Notation::VisualBasic << "    VB: &&H00000000&&"
                              << "&H00000000&";
    QTest::newRow("black Delphi") << black << Notation::Delphi << "Delphi: $00000000"
                                  << "$00000000";
    QTest::newRow("black Java") << black << Notation::Java << "  Java: 0x000000"
                                << "0x000000";

    // Source-code notations write the colour value blue first; Java red first.
    const FieldTexts red = fieldsOf(255, 0, 0);
    QTest::newRow("red dec1") << red << Notation::DecFunction << "RGB(255,0,0)"
                              << "RGB(255,0,0)";
    QTest::newRow("red hex5") << red << Notation::HexBraces << "Hex={FF,00,00}"
                              << "Hex={FF,00,00}";
    QTest::newRow("red C++") << red << Notation::CPlusPlus << "   C++: 0x0000FF"
                             << "0x0000FF";
    QTest::newRow("red VB") << red << Notation::VisualBasic << "    VB: &&H000000FF&&"
                            << "&H000000FF&";
    QTest::newRow("red Delphi") << red << Notation::Delphi << "Delphi: $000000FF"
                                << "$000000FF";
    QTest::newRow("red Java") << red << Notation::Java << "  Java: 0xFF0000"
                              << "0xFF0000";

    const FieldTexts blueish = fieldsOf(18, 52, 86);
    QTest::newRow("123456 dec1") << blueish << Notation::DecFunction << "RGB(18,52,86)"
                                 << "RGB(18,52,86)";
    QTest::newRow("123456 dec2") << blueish << Notation::DecList << "18,52,86"
                                 << "18,52,86";
    QTest::newRow("123456 hex1") << blueish << Notation::HtmlHex << "#123456"
                                 << "#123456";
    QTest::newRow("123456 hex2") << blueish << Notation::QuotedHtmlHex << "\"#123456\""
                                 << "\"#123456\"";
    QTest::newRow("123456 hex3") << blueish << Notation::BareHex << "123456"
                                 << "123456";
    QTest::newRow("123456 hex4") << blueish << Notation::QuotedBareHex << "\"123456\""
                                 << "\"123456\"";
    QTest::newRow("123456 hex5") << blueish << Notation::HexBraces << "Hex={12,34,56}"
                                 << "Hex={12,34,56}";
    QTest::newRow("123456 C++") << blueish << Notation::CPlusPlus << "   C++: 0x563412"
                                << "0x563412";
    QTest::newRow("123456 VB") << blueish << Notation::VisualBasic << "    VB: &&H00563412&&"
                               << "&H00563412&";
    QTest::newRow("123456 Delphi") << blueish << Notation::Delphi << "Delphi: $00563412"
                                   << "$00563412";
    QTest::newRow("123456 Java") << blueish << Notation::Java << "  Java: 0x123456"
                                 << "0x123456";
}

void tst_copynotations::texts()
{
    QFETCH(FieldTexts, fields);
    QFETCH(Notation, notation);
    QFETCH(QString, caption);
    QFETCH(QString, clipboard);

    QCOMPARE(copynotations::Caption(notation, fields), caption);
    QCOMPARE(copynotations::ClipboardText(notation, fields), clipboard);
}

void tst_copynotations::fieldsAreTakenAsTheyRead()
{
    // The source-code notations use the channel fields, the others the #RRGGBB
    // and R,G,B fields; nothing is recomputed from a colour value.
    const FieldTexts fields{QStringLiteral("#ABCDEF"), QStringLiteral("1,2,3"),
                            QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("33")};
    QCOMPARE(copynotations::ClipboardText(Notation::HexBraces, fields),
             QStringLiteral("Hex={AB,CD,EF}"));
    QCOMPARE(copynotations::ClipboardText(Notation::DecFunction, fields),
             QStringLiteral("RGB(1,2,3)"));
    QCOMPARE(copynotations::ClipboardText(Notation::CPlusPlus, fields), QStringLiteral("0x332211"));
    QCOMPARE(copynotations::ClipboardText(Notation::Java, fields), QStringLiteral("0x112233"));
    // Every notation has its own text.
    QSet<QString> texts;
    for (Notation notation : copynotations::AllNotations)
        texts.insert(copynotations::ClipboardText(notation, fieldsOf(18, 52, 86)));
    QCOMPARE(texts.size(), 11);
}

QTEST_GUILESS_MAIN(tst_copynotations)
#include "tst_copynotations.moc"
