// The user's template language, the kept choices of More Formats, and the
// scheme as modern CSS.
#include "models/notations/FormatChoices.h"
#include "models/notations/FormatTemplate.h"
#include "scheme/ModernCss.h"

#include <QTest>

using bascommon::MakeColor;

class tst_formattemplate : public QObject
{
    Q_OBJECT
private slots:
    void expands_data();
    void expands();
    void everyPlaceholderExpands();
    void refuses_data();
    void refuses();
    void choicesRoundTrip();
    void damagedChoicesGiveDefaults_data();
    void damagedChoicesGiveDefaults();
    void choicesSetting_boundedInTemplatesAndLength();
    void schemeCss();
};

void tst_formattemplate::expands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Color>("color");
    QTest::addColumn<QString>("expected");

    const Color c = MakeColor(0x33, 0x66, 0x99);
    QTest::newRow("rgb") << "rgb({r}, {g}, {b})" << c << "rgb(51, 102, 153)";
    QTest::newRow("hex") << "#{hex} #{hex:X}" << c << "#336699 #336699";
    QTest::newRow("byte hex") << "0x{r:X}{g:x}{b:X}" << MakeColor(0xab, 0xcd, 0xef) << "0xABcdEF";
    QTest::newRow("own precision")
        << "{oklch.l} {oklch.c} {oklch.h}" << c << "0.4993 0.09866 250.43";
    QTest::newRow("fixed decimals keep zeros")
        << "{srgb.r:4} {hsl.h:0} {oklch.h:1}" << c << "0.2000 210 250.4";
    QTest::newRow("percent channels")
        << "hsl({hsl.h} {hsl.s}% {hsl.l}%)" << c << "hsl(210 50% 40%)";
    QTest::newRow("braces") << "{{{r}}}" << c << "{51}";
    QTest::newRow("no placeholder") << "plain" << c << "plain";
    QTest::newRow("grey hue is 0") << "{oklch.h} {lch.h}" << MakeColor(128, 128, 128) << "0 0";
    QTest::newRow("program models") << "{cmyk.c} {cmyk.m} {cmyk.y} {cmyk.k} {hls.h} {ycbcr.y}"
                                    << MakeColor(255, 161, 204) << "0 37 20 0 33 194";
    QTest::newRow("no negative zero") << "{lab.a:0}" << MakeColor(128, 128, 128) << "0";
}

void tst_formattemplate::expands()
{
    QFETCH(QString, text);
    QFETCH(Color, color);
    QFETCH(QString, expected);
    const formattemplate::Compiled compiled = formattemplate::Compile(text);
    QVERIFY2(compiled.ok, qPrintable(compiled.message));
    QCOMPARE(compiled.result.expand(color), expected);
}

void tst_formattemplate::everyPlaceholderExpands()
{
    // Each placeholder gives a number (or hex digits) for a colour of every
    // kind, never an empty text or a leftover brace.
    const QStringList names = formattemplate::PlaceholderNames();
    QCOMPARE(names.size(), 44);
    for (const Color color :
         {bascommon::Black, bascommon::White, MakeColor(255, 0, 0), MakeColor(12, 200, 99)})
        for (const QString& name : names) {
            const auto compiled =
                formattemplate::Compile(QLatin1Char('{') + name + QLatin1Char('}'));
            QVERIFY2(compiled.ok, qPrintable(name));
            const QString text = compiled.result.expand(color);
            QVERIFY2(!text.isEmpty() && !text.contains(QLatin1Char('{')),
                     qPrintable(name + ' ' + text));
            bool number = false;
            text.toDouble(&number);
            QVERIFY2(number || name == QLatin1String("hex"), qPrintable(name + ' ' + text));
        }
}

void tst_formattemplate::refuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "The template is empty.";
    QTest::newRow("unknown channel") << "{oklch.q}"
                                     << "Unknown placeholder \"{oklch.q}\": oklch has l, c and h.";
    QTest::newRow("unknown model")
        << "x {foo} y"
        << "Unknown placeholder \"{foo}\". Placeholders are {r}, {g}, {b}, {hex} and a "
           "model's channel such as {oklch.h}.";
    QTest::newRow("not closed")
        << "rgb({r, {g})"
        << "The \"{\" at character 5 is not closed; write \"{{\" for a brace itself.";
    QTest::newRow("end not closed")
        << "{r"
        << "The \"{\" at character 1 is not closed; write \"{{\" for a brace itself.";
    QTest::newRow("lone close")
        << "a}"
        << "The \"}\" at character 2 has no \"{\" before it; write \"}}\" for a brace itself.";
    QTest::newRow("bad precision") << "{r:z}"
                                   << "\"{r:z}\": after \":\" comes a number of decimals from 0 to "
                                      "10, or x or X for hexadecimal.";
    QTest::newRow("too many decimals") << "{r:11}"
                                       << "\"{r:11}\": after \":\" comes a number of decimals from "
                                          "0 to 10, or x or X for hexadecimal.";
    QTest::newRow("hex of a fraction") << "{oklch.l:x}"
                                       << "\"{oklch.l:x}\": only the channels from 0 to 255 and "
                                          "hex can be written in hexadecimal.";
}

void tst_formattemplate::refuses()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    const formattemplate::Compiled compiled = formattemplate::Compile(text);
    QVERIFY(!compiled.ok);
    QCOMPARE(compiled.message, message);
}

void tst_formattemplate::choicesRoundTrip()
{
    FormatChoices choices = FormatChoices::Defaults();
    QCOMPARE(choices.shownNotations.size(), notations::NotationCount);
    choices.setShown(notations::Notation::Hex, false);
    choices.setShown(notations::Notation::Hex, true); // back in its built-in place
    QCOMPARE(choices.shownNotations.first(), notations::Notation::Hex);
    choices.setShown(notations::Notation::Glsl, false);
    choices.templates << UserTemplate{QStringLiteral("Ünïcode & co"), QStringLiteral("{r} \"q\""),
                                      false};
    QCOMPARE(FormatChoices::fromSetting(choices.toSetting()), choices);
}

void tst_formattemplate::damagedChoicesGiveDefaults_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "";
    QTest::newRow("not json") << "{notations:";
    QTest::newRow("array") << "[1,2]";
    QTest::newRow("no notations") << "{\"templates\":[]}";
}

void tst_formattemplate::damagedChoicesGiveDefaults()
{
    QFETCH(QString, value);
    QCOMPARE(FormatChoices::fromSetting(value), FormatChoices::Defaults());
    // Names of notations a later version adds are passed over.
    const FormatChoices known = FormatChoices::fromSetting(
        QStringLiteral("{\"notations\":[\"Oklch\",\"Future\"],\"templates\":[{\"name\":1}]}"));
    QCOMPARE(known.shownNotations, QList<notations::Notation>({notations::Notation::Oklch}));
    QVERIFY(known.templates.isEmpty());
}

void tst_formattemplate::choicesSetting_boundedInTemplatesAndLength()
{
    // Every template becomes a menu item at start: a setting of 100,000 keeps
    // the first MaxTemplates, in order.
    FormatChoices many = FormatChoices::Defaults();
    for (int i = 0; i < 100'000; ++i)
        many.templates << UserTemplate{QString::number(i), QStringLiteral("{r}"), true};
    const FormatChoices read = FormatChoices::fromSetting(many.toSetting());
    QCOMPARE(read.templates.size(), FormatChoices::MaxTemplates);
    QCOMPARE(read.templates.constLast().name, QString::number(FormatChoices::MaxTemplates - 1));
    QCOMPARE(read.shownNotations, many.shownNotations);
    // A setting longer than any the program writes is damaged: the defaults.
    FormatChoices longText = FormatChoices::Defaults();
    longText.templates << UserTemplate{QString(), QString(FormatChoices::MaxSettingLength, 'x')};
    QCOMPARE(FormatChoices::fromSetting(longText.toSetting()), FormatChoices::Defaults());
}

void tst_formattemplate::schemeCss()
{
    SchemeColors light;
    light.background = bascommon::White;
    light.text = MakeColor(0x33, 0x33, 0x33);
    light.normalLink = MakeColor(0, 0, 0xee);
    light.visitedLink = MakeColor(0x55, 0x1a, 0x8b);
    light.hoverLink = MakeColor(0xff, 0, 0);
    light.activeLink = MakeColor(0xff, 0x88, 0);
    QCOMPARE(moderncss::CustomProperties(light),
             QStringLiteral(":root {\n"
                            "  --page-background: #fff;\n"
                            "  --text: #333;\n"
                            "  --link: #00e;\n"
                            "  --visited: #551a8b;\n"
                            "  --hover: #f00;\n"
                            "  --active: #f80;\n"
                            "}\n\n"
                            "body {\n"
                            "  background-color: var(--page-background);\n"
                            "  color: var(--text);\n"
                            "}\n\n"
                            "a:link { color: var(--link); }\n"
                            "a:visited { color: var(--visited); }\n"
                            "a:hover { color: var(--hover); }\n"
                            "a:active { color: var(--active); }"));
    SchemeColors dark;
    dark.background = MakeColor(0x12, 0x12, 0x12);
    dark.text = bascommon::White;
    const QString both = moderncss::LightDark(light, dark);
    QVERIFY(both.startsWith(QStringLiteral(":root {\n  color-scheme: light dark;\n"
                                           "  --page-background: light-dark(#fff, #121212);\n"
                                           "  --text: light-dark(#333, #fff);\n")));
    QVERIFY(both.endsWith(QStringLiteral("a:active { color: var(--active); }")));
}

QTEST_GUILESS_MAIN(tst_formattemplate)
#include "tst_formattemplate.moc"
