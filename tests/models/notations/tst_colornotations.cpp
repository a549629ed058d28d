// Today's notations: their texts, and the promise that every 8-bit colour
// written in a CSS notation reads back as itself, with no decimal to spare.
#include "models/notations/ColorNotations.h"
#include "models/notations/ColorParser.h"

#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

using notations::Notation;

Q_DECLARE_METATYPE(Notation)

namespace {

constexpr Color Rgb(int r, int g, int b)
{
    return bascommon::MakeColor(r, g, b);
}

// Runs `check` over every colour, on two threads, and gives the first
// colour (in a thread's order) for which it fails, or -1.
template <typename Check> qint64 FirstFailure(Check check)
{
    std::atomic<qint64> failure{-1};
    const auto run = [&](Color from, Color to) {
        for (Color c = from; c < to; ++c) {
            if (!check(c)) {
                qint64 expected = -1;
                failure.compare_exchange_strong(expected, qint64(c));
                return;
            }
            if ((c & 0xFFFF) == 0 && failure.load() >= 0)
                return;
        }
    };
    std::thread second(run, Color(1u << 23), Color(1u << 24));
    run(0, Color(1u << 23));
    second.join();
    return failure.load();
}

bool ReadsBack(Notation notation, Color color, const std::array<int, 3>& decimals)
{
    const auto written = notations::Write(notation, color, decimals);
    return csscolor::ToColor(notations::ReadBack(notation, written)) == color;
}

} // namespace

class tst_colornotations : public QObject
{
    Q_OBJECT
private slots:
    void formats_data();
    void formats();
    void shortNamesAreUniqueAndFound();
    void everyColorReadsBack_data();
    void everyColorReadsBack();
    void textReadsAsTheWrittenNumbers_data();
    void textReadsAsTheWrittenNumbers();
    void oneDecimalFewerFails_data();
    void oneDecimalFewerFails();
};

void tst_colornotations::formats_data()
{
    QTest::addColumn<Color>("color");
    QTest::addColumn<Notation>("notation");
    QTest::addColumn<QString>("text");

    const Color c = Rgb(0x33, 0x66, 0x99);
    const std::pair<Notation, const char*> expected[] = {
        {Notation::Hex, "#369"},
        {Notation::RgbSpace, "rgb(51 102 153)"},
        {Notation::Hsl, "hsl(210 50% 40%)"},
        {Notation::Hwb, "hwb(210 20% 40%)"},
        {Notation::Lab, "lab(41.52% -4.57 -33.49)"},
        {Notation::Lch, "lch(41.52% 33.8 262.23)"},
        {Notation::Oklab, "oklab(49.93% -0.03304 -0.09297)"},
        {Notation::Oklch, "oklch(49.93% 0.09866 250.43)"},
        {Notation::Srgb, "color(srgb 0.2 0.4 0.6)"},
        {Notation::DisplayP3, "color(display-p3 0.2499 0.3952 0.584)"},
        {Notation::Flutter, "Color(0xFF336699)"},
        {Notation::Compose, "Color(0xFF336699)"},
        {Notation::Android, "#FF336699"},
        {Notation::SwiftUI, "Color(red: 0.2, green: 0.4, blue: 0.6)"},
        {Notation::UIKit, "UIColor(red: 0.2, green: 0.4, blue: 0.6, alpha: 1)"},
        {Notation::Qt, "QColor(51, 102, 153)"},
        {Notation::DotNet, "Color.FromArgb(51, 102, 153)"},
        {Notation::Glsl, "vec3(0.2, 0.4, 0.6)"},
        {Notation::Hlsl, "float3(0.2, 0.4, 0.6)"},
        {Notation::Tailwind, "[#336699]"},
    };
    for (const auto& [notation, text] : expected)
        QTest::addRow("#336699 %s", qPrintable(notations::ShortName(notation)))
            << c << notation << QString::fromUtf8(text);

    // The short hex form only where every channel has two equal digits.
    QTest::newRow("hex long") << Rgb(0x12, 0x34, 0x56) << Notation::Hex << "#123456";
    QTest::newRow("hex almost short") << Rgb(0x33, 0x66, 0x98) << Notation::Hex << "#336698";
    // Greys have no hue: it is written 0, never noise.
    QTest::newRow("grey hsl") << Rgb(128, 128, 128) << Notation::Hsl << "hsl(0 0% 50.2%)";
    QTest::newRow("grey oklch") << Rgb(128, 128, 128) << Notation::Oklch << "oklch(59.99% 0 0)";
    QTest::newRow("white lch") << bascommon::White << Notation::Lch << "lch(100% 0 0)";
    QTest::newRow("black oklab") << bascommon::Black << Notation::Oklab << "oklab(0% 0 0)";
    QTest::newRow("white p3") << bascommon::White << Notation::DisplayP3
                              << "color(display-p3 1 1 1)";
    // Shader languages get float literals.
    QTest::newRow("glsl whole") << Rgb(255, 0, 255) << Notation::Glsl << "vec3(1.0, 0.0, 1.0)";
    QTest::newRow("red oklch") << Rgb(255, 0, 0) << Notation::Oklch << "oklch(62.8% 0.25768 29.23)";
}

void tst_colornotations::formats()
{
    QFETCH(Color, color);
    QFETCH(Notation, notation);
    QFETCH(QString, text);
    QCOMPARE(notations::Format(notation, color), text);
}

void tst_colornotations::shortNamesAreUniqueAndFound()
{
    QSet<QString> names;
    for (const Notation notation : notations::AllNotations) {
        const QString name = notations::ShortName(notation);
        QVERIFY(!names.contains(name));
        names.insert(name);
        QCOMPARE(notations::FromShortName(name), std::optional<Notation>(notation));
    }
    QVERIFY(!notations::FromShortName(u"oklch").has_value());
}

void tst_colornotations::everyColorReadsBack_data()
{
    QTest::addColumn<Notation>("notation");
    for (const Notation notation : notations::AllNotations)
        if (notations::IsCss(notation))
            QTest::newRow(qPrintable(notations::ShortName(notation))) << notation;
}

void tst_colornotations::everyColorReadsBack()
{
    QFETCH(Notation, notation);
    const std::array<int, 3> decimals = notations::Decimals(notation);
    const qint64 failure = FirstFailure([&](Color c) { return ReadsBack(notation, c, decimals); });
    QVERIFY2(failure < 0, qPrintable(notations::Format(notation, Color(failure))));
}

void tst_colornotations::textReadsAsTheWrittenNumbers_data()
{
    everyColorReadsBack_data();
}

void tst_colornotations::textReadsAsTheWrittenNumbers()
{
    // The exhaustive test above reads the written numbers back directly; here
    // the texts themselves go through the parser, over a sample spread through
    // the whole cube, and must give exactly those numbers.
    QFETCH(Notation, notation);
    for (Color c = 0; c < (1u << 24); c += 251) {
        const QString text = notations::Format(notation, c);
        const colorparser::ParseResult parsed = colorparser::Parse(text);
        QVERIFY2(parsed.ok, qPrintable(text + QLatin1Char(' ') + parsed.message));
        const csscolor::CssColor expected =
            notations::ReadBack(notation, notations::Write(notation, c));
        if (notation != Notation::Hex) {
            QCOMPARE(parsed.css.space, expected.space);
            if (parsed.css.components != expected.components)
                QFAIL(qPrintable(text));
        }
        QCOMPARE(parsed.color, c);
        QVERIFY2(parsed.message.isEmpty(), qPrintable(text));
    }
}

void tst_colornotations::oneDecimalFewerFails_data()
{
    QTest::addColumn<Notation>("notation");
    QTest::addColumn<int>("component");
    QTest::addColumn<Color>("witness");

    // For each component, one colour (0x00BBGGRR) that needs every decimal
    // it is given: with one fewer it reads back as another colour.
    const std::tuple<Notation, int, Color> witnesses[] = {
        {Notation::Hsl, 0, Color(0x3779b1)},       {Notation::Hsl, 1, Color(0x3779b1)},
        {Notation::Hsl, 2, Color(0x3779b1)},       {Notation::Hwb, 0, Color(0x3779b1)},
        {Notation::Hwb, 1, Color(0x3779b1)},       {Notation::Hwb, 2, Color(0x3779b1)},
        {Notation::Lab, 0, Color(0xeb2507)},       {Notation::Lab, 1, Color(0x779b10)},
        {Notation::Lab, 2, Color(0xd64a0e)},       {Notation::Lch, 0, Color(0xd64a0e)},
        {Notation::Lch, 1, Color(0x19f70a)},       {Notation::Lch, 2, Color(0xef3620)},
        {Notation::Oklab, 0, Color(0x48c90d)},     {Notation::Oklab, 1, Color(0xeceb09)},
        {Notation::Oklab, 2, Color(0x03f6b9)},     {Notation::Oklch, 0, Color(0x19f70a)},
        {Notation::Oklch, 1, Color(0xe3d90d)},     {Notation::Oklch, 2, Color(0x4cda26)},
        {Notation::Srgb, 0, Color(0x3779b1)},      {Notation::Srgb, 1, Color(0x3779b1)},
        {Notation::Srgb, 2, Color(0x3779b1)},      {Notation::DisplayP3, 0, Color(0x48c90d)},
        {Notation::DisplayP3, 1, Color(0x19f70a)}, {Notation::DisplayP3, 2, Color(0x09b2a6)},
    };
    for (const auto& [notation, component, witness] : witnesses)
        QTest::addRow("%s %d", qPrintable(notations::ShortName(notation)), component)
            << notation << component << witness;
}

void tst_colornotations::oneDecimalFewerFails()
{
    QFETCH(Notation, notation);
    QFETCH(int, component);
    QFETCH(Color, witness);
    std::array<int, 3> decimals = notations::Decimals(notation);
    QVERIFY(ReadsBack(notation, witness, decimals));
    --decimals[std::size_t(component)];
    QVERIFY(!ReadsBack(notation, witness, decimals));
}

QTEST_GUILESS_MAIN(tst_colornotations)
#include "tst_colornotations.moc"
