// The colour parser: every CSS Color 4 form, the forms of code, plain
// channel lists, and one clear message for each text that is no colour.
#include "models/notations/ColorParser.h"

#include <QTest>

namespace {

constexpr Color Rgb(int r, int g, int b)
{
    return bascommon::MakeColor(r, g, b);
}

} // namespace

class tst_colorparser : public QObject
{
    Q_OBJECT
private slots:
    void colors_data();
    void colors();
    void notes_data();
    void notes();
    void refusals_data();
    void refusals();
    void everyNamedColor();
};

void tst_colorparser::colors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Color>("color");
    QTest::addColumn<QString>("readAs");

    const Color c = Rgb(0x33, 0x66, 0x99);
    const std::pair<const char*, const char*> sameColor[] = {
        // CSS Color 4, modern and legacy forms, units, none and case.
        {"#369", "#RGB"},
        {"#336699", "#RRGGBB"},
        {"#336699FF", "#RRGGBBAA"},
        {"rgb(51 102 153)", "rgb()"},
        {"rgb(51, 102, 153)", "rgb()"},
        {"RGB(51,102,153)", "RGB()"},
        {"rgba(51, 102, 153, 1)", "rgba()"},
        {"rgb(20% 40% 60% / 100%)", "rgb()"},
        {"rgb(51 40% 153)", "rgb()"},
        {"rgb(+51 1.02e2 153.0)", "rgb()"},
        {"hsl(210 50% 40%)", "hsl()"},
        {"hsl(210deg, 50%, 40%)", "hsl()"},
        {"hsla(210, 50%, 40%, 1)", "hsla()"},
        {"hsl(210 50 40)", "hsl()"},
        {"hsl(-150 50% 40%)", "hsl()"},
        {"hsl(570 50% 40%)", "hsl()"},
        {"hsl(233.333grad 50% 40%)", "hsl()"},
        {"hsl(3.66519rad 50% 40%)", "hsl()"},
        {"hsl(0.58333turn 50% 40%)", "hsl()"},
        {"hwb(210 20% 40%)", "hwb()"},
        {"lab(41.52% -4.57 -33.49)", "lab()"},
        {"lab(41.52 -3.656% -26.792%)", "lab()"},
        {"lch(41.52% 33.8 262.23)", "lch()"},
        {"oklab(49.93% -0.03304 -0.09297)", "oklab()"},
        {"oklab(0.4993 -8.26% -23.2425%)", "oklab()"},
        {"oklch(49.93% 0.09866 250.43)", "oklch()"},
        {"oklch(0.4993 24.665% 250.43deg / 1)", "oklch()"},
        {"color(srgb 0.2 0.4 0.6)", "color(srgb)"},
        {"color(srgb 20% 40% 60% / 1)", "color(srgb)"},
        {"color(srgb-linear 0.0331 0.1329 0.3185)", "color(srgb-linear)"},
        {"color(display-p3 0.2499 0.3952 0.584)", "color(display-p3)"},
        {"color(xyz-d65 0.1187 0.1251 0.3192)", "color(xyz-d65)"},
        // A declaration, quotes, Tailwind's brackets.
        {"color: #336699;", "#RRGGBB"},
        {"  --brand :  rgb(51 102 153) !important;", "rgb()"},
        {"\"#336699\"", "#RRGGBB"},
        {"'rgb(51 102 153)'", "rgb()"},
        {"[#336699]", "Tailwind arbitrary value with #RRGGBB"},
        {"bg-[rgb(51_102_153)]", "Tailwind arbitrary value with rgb()"},
        // Code.
        {"Color(0xFF336699)", "Flutter or Compose Color(0xAARRGGBB)"},
        {"0xFF336699", "0xAARRGGBB"},
        {"0x336699", "0xRRGGBB"},
        {"Color(red: 0.2, green: 0.4, blue: 0.6)", "Color() with channels from 0 to 1"},
        {"Color(.sRGB, red: 0.2, green: 0.4, blue: 0.6, opacity: 1)",
         "Color() with channels from 0 to 1"},
        {"UIColor(red: 51/255, green: 102/255, blue: 153/255, alpha: 1)",
         "UIColor() with channels from 0 to 1"},
        {"Color(red = 0.2f, green = 0.4f, blue = 0.6f)", "Color() with channels from 0 to 1"},
        {"QColor(51, 102, 153)", "QColor() with channels from 0 to 255"},
        {"QColor(\"#336699\")", "QColor() with #RRGGBB"},
        {"QColor::fromRgbF(0.2, 0.4, 0.6)", "QColor::fromRgbF() with channels from 0 to 1"},
        {"Color.FromArgb(51, 102, 153)", "Color.FromArgb() with channels from 0 to 255"},
        {"Color.FromArgb(255, 51, 102, 153)", "Color.FromArgb() with channels from 0 to 255"},
        {"Color.fromRGBO(51, 102, 153, 1.0)", "Color.fromRGBO() with channels from 0 to 255"},
        {"new Color(51, 102, 153)", "Color() with channels from 0 to 255"},
        {"vec3(0.2, 0.4, 0.6)", "vec3() with channels from 0 to 1"},
        {"vec4(51.0/255.0, 0.4, 0.6, 1.0)", "vec4() with channels from 0 to 1"},
        {"float3(0.2f, 0.4f, 0.6f)", "float3() with channels from 0 to 1"},
        // This program's own copy notations and plain forms.
        {"&H00996633&", "VB &H00BBGGRR&"},
        {"$00996633", "Delphi $00BBGGRR"},
        {"Hex={33,66,99}", "Hex={RR,GG,BB}"},
        {"51,102,153", "three channels from 0 to 255"},
        {"51 102 153", "three channels from 0 to 255"},
        {"0.2, 0.4, 0.6", "three channels from 0 to 1"},
        {"20% 40% 60%", "three channels from 0 to 255"},
        {"336699", "#RRGGBB"},
    };
    for (const auto& [text, readAs] : sameColor)
        QTest::newRow(text) << QString::fromUtf8(text) << c << QString::fromUtf8(readAs);

    QTest::newRow("name") << "SteelBlue" << Rgb(70, 130, 180) << "CSS named color";
    QTest::newRow("rebeccapurple") << "rebeccapurple" << Rgb(0x66, 0x33, 0x99) << "CSS named color";
    QTest::newRow("lch none chroma is grey")
        << "lch(50% none 30)" << Rgb(0x77, 0x77, 0x77) << "lch()";
    QTest::newRow("oklch none hue") << "oklch(60% 0.1 none)" << Rgb(0xb1, 0x66, 0x7e) << "oklch()";
    QTest::newRow("rgb clamps") << "rgb(300 -20 153)" << Rgb(255, 0, 153) << "rgb()";
    QTest::newRow("lab lightness clamps") << "lab(120% 0 0)" << Rgb(255, 255, 255) << "lab()";
    QTest::newRow("hsl negative saturation clamps")
        << "hsl(0 -50% 50%)" << Rgb(128, 128, 128) << "hsl()";
    QTest::newRow("swift white") << "UIColor(white: 0.5, alpha: 1)" << Rgb(128, 128, 128)
                                 << "UIColor() with channels from 0 to 1";
    QTest::newRow("swift hsb") << "Color(hue: 0.5, saturation: 1, brightness: 1)"
                               << Rgb(0, 255, 255) << "Color() with channels from 0 to 1";
}

void tst_colorparser::colors()
{
    QFETCH(QString, text);
    QFETCH(Color, color);
    QFETCH(QString, readAs);
    const colorparser::ParseResult result = colorparser::Parse(text);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.color, color);
    QCOMPARE(result.readAs, readAs);
    QCOMPARE(result.message, QString());
}

void tst_colorparser::notes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Color>("color");
    QTest::addColumn<QString>("message");

    const QString alphaHalf =
        QStringLiteral("Its alpha of 50% is ignored: colors here are opaque.");
    const QString mapped =
        QStringLiteral("It lies outside sRGB and was brought inside by CSS gamut mapping.");
    QTest::newRow("#rrggbbaa") << "#33669980" << Rgb(0x33, 0x66, 0x99)
                               << "Its alpha of 50.2% is ignored: colors here are opaque.";
    QTest::newRow("#rgba") << "#3698" << Rgb(0x33, 0x66, 0x99)
                           << "Its alpha of 53.33% is ignored: colors here are opaque.";
    QTest::newRow("slash alpha") << "rgb(51 102 153 / 50%)" << Rgb(0x33, 0x66, 0x99) << alphaHalf;
    QTest::newRow("legacy alpha") << "rgba(51, 102, 153, 0.5)" << Rgb(0x33, 0x66, 0x99)
                                  << alphaHalf;
    QTest::newRow("alpha none") << "hwb(210 20% 40% / none)" << Rgb(0x33, 0x66, 0x99)
                                << "Its alpha of 0% is ignored: colors here are opaque.";
    QTest::newRow("transparent") << "transparent" << Rgb(0, 0, 0)
                                 << "Its alpha of 0% is ignored: colors here are opaque.";
    // Android's #AARRGGBB is read as CSS reads eight digits.
    QTest::newRow("android form") << "#FF336699" << Rgb(0xff, 0x33, 0x66)
                                  << "Its alpha of 60% is ignored: colors here are opaque.";
    QTest::newRow("flutter six digits") << "Color(0x336699)" << Rgb(0x33, 0x66, 0x99)
                                        << "Its alpha of 0% is ignored: colors here are opaque.";
    QTest::newRow("oklch outside") << "oklch(0.7 0.4 30)" << Rgb(0xff, 0x58, 0x43) << mapped;
    QTest::newRow("p3 red") << "color(display-p3 1 0 0)" << Rgb(0xff, 0x0b, 0x0c) << mapped;
    QTest::newRow("p3 in swift") << "UIColor(displayP3Red: 1, green: 0, blue: 0, alpha: 1)"
                                 << Rgb(0xff, 0x0b, 0x0c) << mapped;
    QTest::newRow("tailwind") << "bg-sky-500" << Rgb(0x00, 0xa6, 0xf4) << mapped;
    QTest::newRow("both") << "oklch(0.7 0.4 30 / 0.5)" << Rgb(0xff, 0x58, 0x43)
                          << alphaHalf + QLatin1Char(' ') + mapped;
}

void tst_colorparser::notes()
{
    QFETCH(QString, text);
    QFETCH(Color, color);
    QFETCH(QString, message);
    const colorparser::ParseResult result = colorparser::Parse(text);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.color, color);
    QCOMPARE(result.message, message);
}

void tst_colorparser::refusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    const std::pair<const char*, const char*> rows[] = {
        {"", "There is no text to read a color from."},
        {"   ", "There is no text to read a color from."},
        {"\"\"", "There is only a pair of quote marks, with no color in it."},
        {"rgb(51 102)",
         "\"rgb(51 102)\" is read as rgb(), but rgb() takes three values and it has two."},
        {"rgb(51 102 153 0.5)",
         "\"rgb(51 102 153 0.5)\" is read as rgb(), but rgb() takes three values and it has four."},
        {"rgb(51 102 153", "\"rgb(51 102 153\" opens rgb() but does not close it with \")\"."},
        {"rgb(51, 102, 153 / 0.5)",
         "\"rgb(51, 102, 153 / 0.5)\" is read as rgb(), but a comma is missing before \"0.5\"."},
        {"rgb(51, 20%, 153)",
         "\"rgb(51, 20%, 153)\" is read as rgb(), but the comma form writes all three channels as "
         "numbers or all three as percentages, not both."},
        {"rgb(none, 1, 2)",
         "\"rgb(none, 1, 2)\" is read as rgb(), but \"none\" is not allowed in the comma form."},
        {"rgb(1,,2,3)", "\"rgb(1,,2,3)\" is read as rgb(), but the comma form takes three values "
                        "and an optional alpha, each after a comma; it has 3 values and 3 commas."},
        {"rgb(12px 1 2)", "\"rgb(12px 1 2)\" is read as rgb(), but \"12px\" has a unit; this value "
                          "takes a number or a percentage."},
        {"rgb(--5 1 2)", "\"rgb(--5 1 2)\" is read as rgb(), but \"--5\" is not a number."},
        {"rgb(1 2 3 / x)", "\"rgb(1 2 3 / x)\" is read as rgb(), but its alpha \"x\" is neither a "
                           "number nor a percentage."},
        {"hsl(210, 50, 40)", "\"hsl(210, 50, 40)\" is read as hsl(), but the comma form writes "
                             "saturation and lightness as percentages, and \"50\" is not one."},
        {"hsl(50% 50% 50%)",
         "\"hsl(50% 50% 50%)\" is read as hsl(), but its hue \"50%\" is a percentage; a hue is a "
         "number of degrees or an angle (deg, grad, rad, turn)."},
        {"hsl(1e999 50% 50%)",
         "\"hsl(1e999 50% 50%)\" is read as hsl(), but \"1e999\" is too large."},
        {"lab(50%, 20, 30)", "\"lab(50%, 20, 30)\" is read as lab(), but lab() separates its "
                             "values with spaces, not commas."},
        {"oklch(50% 0.1 20 / 1 / 2)",
         "\"oklch(50% 0.1 20 / 1 / 2)\" is read as oklch(), but there is more than one \"/\"."},
        {"color(foo 1 2 3)", "\"color(foo 1 2 3)\" is read as color(), but \"foo\" is no color "
                             "space of color(); it takes srgb, srgb-linear, display-p3, a98-rgb, "
                             "prophoto-rgb, rec2020, xyz, xyz-d50 or xyz-d65."},
        {"color(srgb 1 2)", "\"color(srgb 1 2)\" is read as color(), but color(srgb ...) takes "
                            "three values and it has two."},
        {"rgbx(1 2 3)", "\"rgbx(1 2 3)\" is read as a call of rgbx(), which is no color function "
                        "this program knows."},
        {"#12345",
         "\"#12345\" is read as a hex color, but it has 5 digits; a color has 3, 4, 6 or 8."},
        {"#12g456", "\"#12g456\" is read as a hex color, but \"g\" is not a hexadecimal digit."},
        {"0x12345", "\"0x12345\" is read as a hexadecimal number, but a color takes six digits "
                    "(0xRRGGBB) or eight (0xAARRGGBB)."},
        {"bluish", "\"bluish\" is no CSS color name (there are 148, from \"aliceblue\" to "
                   "\"yellowgreen\") and no Tailwind color."},
        {"currentColor",
         "\"currentcolor\" is the color of the surrounding text, which only a page knows."},
        {"Color(red: 0.2, green: 0.4)", "\"Color(red: 0.2, green: 0.4)\" is read as Color(), but "
                                        "it labels two of the three channels."},
        {"UIColor(red: 1, grün: 2)",
         "\"UIColor(red: 1, grün: 2)\" is read as UIColor(), but \"ü\" is not a value."},
        {"QColor(300, 1, 2)", "\"QColor(300, 1, 2)\" is read as QColor(), but its channel 300 is "
                              "not a whole number from 0 to 255."},
        {"Text-[RGB(51_102)]",
         "\"RGB(51 102)\" is read as RGB(), but RGB() takes three values and it has two."},
        {"51, 102", "\"51, 102\" is read as a list of channel values, but a color takes three "
                    "numbers and it has two values."},
        {"256 1 2", "\"256 1 2\" is read as three channel values, but \"256\" is not a whole "
                    "number from 0 to 255."},
        {"hello world", "\"hello world\" is neither a CSS color, nor a color as code writes it, "
                        "nor three channel values."},
    };
    for (const auto& [text, message] : rows)
        QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(message);
    QTest::newRow("too long") << QString(301, QLatin1Char('x'))
                              << "The text is 301 characters long, too long to be one color.";
}

void tst_colorparser::refusals()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    const colorparser::ParseResult result = colorparser::Parse(text);
    QVERIFY(!result.ok);
    QCOMPARE(result.message, message);
}

void tst_colorparser::everyNamedColor()
{
    // Spot checks across the list, grey spelt both ways.
    const std::pair<const char*, Color> names[] = {
        {"aliceblue", Rgb(0xf0, 0xf8, 0xff)},   {"gray", Rgb(128, 128, 128)},
        {"grey", Rgb(128, 128, 128)},           {"lightgoldenrodyellow", Rgb(0xfa, 0xfa, 0xd2)},
        {"yellowgreen", Rgb(0x9a, 0xcd, 0x32)},
    };
    for (const auto& [name, color] : names)
        QCOMPARE(colorparser::Parse(QString::fromLatin1(name)).color, color);
}

QTEST_GUILESS_MAIN(tst_colorparser)
#include "tst_colorparser.moc"
