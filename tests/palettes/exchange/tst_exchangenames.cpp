// Colour names through the exchange formats: real palettes of other programs
// through every format that names colours and back, names a format cannot hold
// made valid for it, and names read from groups and escapes.
#include <QTest>

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/PaletteExchange.h"

using bascommon::MakeColor;
using paletteexchange::Format;

Q_DECLARE_METATYPE(paletteexchange::Format)

namespace {

const QList<Format> NamingFormats = {
    Format::Gimp,         Format::SwatchExchange, Format::Photoshop, Format::Office, Format::Sketch,
    Format::DesignTokens, Format::Tailwind,       Format::Css,       Format::Scss,   Format::Less,
};

bool keysByName(Format format)
{
    return format == Format::DesignTokens || format == Format::Tailwind || format == Format::Css ||
           format == Format::Scss || format == Format::Less;
}

// What each format's documented rule makes of a name read from a real file.
QString expectedName(Format format, const QString& name)
{
    switch (format) {
    case Format::Gimp:
        return name.trimmed();
    case Format::DesignTokens: {
        QString token = name;
        token.replace(QRegularExpression(QStringLiteral("[.{}]")), QStringLiteral("-"));
        return token.remove(QRegularExpression(QStringLiteral("^\\$+")));
    }
    case Format::Less: {
        QString variable = name;
        variable.replace(QRegularExpression(QStringLiteral("[^\\p{L}\\p{N}\\p{M}_]+")),
                         QStringLiteral("-"));
        return variable.remove(QRegularExpression(QStringLiteral("^-+|-+$")));
    }
    default:
        return name;
    }
}

// The files of a folder as rows, or one empty row when the package that
// ships them is absent, for the test to skip with the reason.
void addFileRows(const QString& folder, const QString& pattern)
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Format>("format");
    const QStringList files = QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        QTest::newRow("absent") << QString() << Format::Gimp;
        return;
    }
    for (const QString& file : files)
        for (const Format format : NamingFormats)
            QTest::addRow("%s via %s", qPrintable(file),
                          qPrintable(paletteexchange::ShortNameOf(format)))
                << QDir(folder).filePath(file) << format;
}

// The names a real file gives, found by a pattern over its lines: a GIMP
// colour line's text after the numbers, a LibreOffice colour's draw:name.
QStringList namesInFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    const bool gimp = path.endsWith(QLatin1String(".gpl"));
    static const QRegularExpression gimpLine(
        QStringLiteral("^\\s*\\d+\\s+\\d+\\s+\\d+(?:[ \\t]+(.*?))?\\s*$"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression officeColour(
        QStringLiteral("<draw:color\\b[^>]*?draw:name=\"([^\"]*)\""));
    QStringList names;
    for (const QRegularExpressionMatch& m : (gimp ? gimpLine : officeColour).globalMatch(text))
        names.append(m.captured(1));
    const bool any = std::any_of(names.cbegin(), names.cend(),
                                 [](const QString& name) { return !name.isEmpty(); });
    return any ? names : QStringList();
}

void checkRoundTrip(const QString& path, Format format)
{
    ExchangePalette original;
    const FileResult read = paletteexchange::ImportFile(path, original);
    QVERIFY2(read.ok, qPrintable(read.message));
    QCOMPARE(original.names, namesInFile(path));
    const QByteArray written = paletteexchange::Encode(format, original);
    const ExchangeReading back = paletteexchange::Decode(written);
    QVERIFY2(back.ok(), qPrintable(back.problem));
    QCOMPARE(back.palette.colors, original.colors);
    QCOMPARE(back.palette.names.size(), original.colors.size());
    QSet<QString> seen;
    for (qsizetype i = 0; i < original.colors.size(); ++i) {
        const QString name = back.palette.names.at(i);
        const QString own = expectedName(format, original.nameAt(i));
        const QString where = QStringLiteral("colour %1: \"%2\" came back as \"%3\"")
                                  .arg(i + 1)
                                  .arg(original.nameAt(i), name);
        QVERIFY2(!name.isEmpty(), qPrintable(where));
        if (!own.isEmpty()) {
            if (keysByName(format) && seen.contains(own))
                QVERIFY2(name.startsWith(own + QLatin1Char('-')), qPrintable(where));
            else
                QVERIFY2(name == own, qPrintable(where));
        }
        if (keysByName(format))
            QVERIFY2(!seen.contains(name), qPrintable(where + QStringLiteral(" twice")));
        seen.insert(name);
    }
}

ExchangePalette named(const QStringList& names)
{
    ExchangePalette palette;
    palette.name = QStringLiteral("P");
    for (qsizetype i = 0; i < names.size(); ++i)
        palette.colors.append(MakeColor(int(i) * 40, 0x80, 0xF0));
    palette.names = names;
    return palette;
}

} // namespace

class tst_exchangenames : public QObject
{
    Q_OBJECT
private slots:
    void gimpPalettes_keepNamesThroughEveryFormat_data();
    void gimpPalettes_keepNamesThroughEveryFormat();
    void officePalettes_keepNamesThroughEveryFormat_data();
    void officePalettes_keepNamesThroughEveryFormat();
    void names_madeValidForEachFormat_data();
    void names_madeValidForEachFormat();
    void tokenGroups_joinedIntoNames_data();
    void tokenGroups_joinedIntoNames();
    void styleSheetNames_escapesUndone_data();
    void styleSheetNames_escapesUndone();
    void tokenNames_boundedByTheFile();
};

void tst_exchangenames::gimpPalettes_keepNamesThroughEveryFormat_data()
{
    addFileRows(QStringLiteral("/usr/share/gimp/2.0/palettes"), QStringLiteral("*.gpl"));
}

void tst_exchangenames::gimpPalettes_keepNamesThroughEveryFormat()
{
    QFETCH(QString, path);
    QFETCH(Format, format);
    if (path.isEmpty())
        QSKIP("GIMP's palettes are missing: install gimp-data (scripts/install-deps.sh test)");
    checkRoundTrip(path, format);
}

void tst_exchangenames::officePalettes_keepNamesThroughEveryFormat_data()
{
    addFileRows(QStringLiteral("/usr/lib/libreoffice/share/palette"), QStringLiteral("*.soc"));
}

void tst_exchangenames::officePalettes_keepNamesThroughEveryFormat()
{
    QFETCH(QString, path);
    QFETCH(Format, format);
    if (path.isEmpty())
        QSKIP("LibreOffice's palettes are missing: install libreoffice-common "
              "(scripts/install-deps.sh test)");
    checkRoundTrip(path, format);
}

void tst_exchangenames::names_madeValidForEachFormat_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QStringList>("readBack");

    const QString lone = QStringLiteral("a") + QChar(0xD800);
    const QString replaced = QStringLiteral("a") + QChar(QChar::ReplacementCharacter);
    QTest::newRow("css: spaces and punctuation escaped")
        << Format::Css << QStringList{"primary 500", "a.b{c}"}
        << QByteArray("  --p-primary\\ 500: #0080F0;\n  --p-a\\.b\\{c\\}: #2880F0;\n")
        << QStringList{"primary 500", "a.b{c}"};
    QTest::newRow("css: a name cannot end the style element or comment")
        << Format::Css << QStringList{"</style><!--*/"}
        << QByteArray("--p-\\<\\/style\\>\\<\\!--\\*\\/: #0080F0;")
        << QStringList{"</style><!--*/"};
    QTest::newRow("css: letters of any script kept")
        << Format::Css << QStringList{QString::fromUtf8("日本 色")}
        << QByteArray("--p-\xE6\x97\xA5\xE6\x9C\xAC\\ \xE8\x89\xB2: #0080F0;")
        << QStringList{QString::fromUtf8("日本 色")};
    QTest::newRow("css: repeated names made unique")
        << Format::Css << QStringList{"a", "a", ""}
        << QByteArray("  --p-a: #0080F0;\n  --p-a-2: #2880F0;\n")
        << QStringList{"a", "a-2", "dodgerblue"};
    QTest::newRow("css: an own name before a made one keeps it")
        << Format::Css << QStringList{"dodgerblue", ""} << QByteArray("--p-dodgerblue-2: #2880F0;")
        << QStringList{"dodgerblue", "dodgerblue-2"};
    QTest::newRow("tailwind: escaped after --color-")
        << Format::Tailwind << QStringList{"Brand blue"}
        << QByteArray("  --color-Brand\\ blue: #0080F0;\n") << QStringList{"Brand blue"};
    QTest::newRow("scss: escaped")
        << Format::Scss << QStringList{"50% gray"} << QByteArray("$p-50\\%\\ gray: #0080F0;\n")
        << QStringList{"50% gray"};
    QTest::newRow("scss: names Sass holds as one made unique")
        << Format::Scss << QStringList{"light_blue", "light-blue", "a-b", "a_b-2", "a_b"}
        << QByteArray("$p-light_blue: #0080F0;\n$p-light-blue-2: #2880F0;\n$p-a-b: #5080F0;\n"
                      "$p-a_b-2: #7880F0;\n$p-a_b-3: #A080F0;\n")
        << QStringList{"light_blue", "light-blue-2", "a-b", "a_b-2", "a_b-3"};
    QTest::newRow("less: reduced to what a variable holds")
        << Format::Less << QStringList{"50% Gray", "50 gray!"}
        << QByteArray("@p-50-Gray: #0080F0;\n@p-50-gray: #2880F0;\n")
        << QStringList{"50-Gray", "50-gray"};
    QTest::newRow("less: repeated after reducing made unique")
        << Format::Less << QStringList{"a b", "a+b"} << QByteArray("@p-a-b-2: #2880F0;\n")
        << QStringList{"a-b", "a-b-2"};
    QTest::newRow("tokens: dots and braces replaced")
        << Format::DesignTokens << QStringList{"brand.primary{x}", "$secret"}
        << QByteArray("\"brand-primary-x-\": {") << QStringList{"brand-primary-x-", "secret"};
    QTest::newRow("tokens: repeated keys made unique")
        << Format::DesignTokens << QStringList{"a.b", "a-b"} << QByteArray("\"a-b-2\": {")
        << QStringList{"a-b", "a-b-2"};
    QTest::newRow("gimp: trimmed, tabs as spaces")
        << Format::Gimp << QStringList{"  spaced\tname ", "x"}
        << QByteArray("  0 128 240\tspaced name\n") << QStringList{"spaced name", "x"};
    QTest::newRow("sketch: line separators and C1 controls as spaces")
        << Format::Sketch << QStringList{QStringLiteral("a\u2028b\u0085c\u2029d")}
        << QByteArray("\"name\": \"a b c d\"") << QStringList{"a b c d"};
    QTest::newRow("gimp: repeated names kept")
        << Format::Gimp << QStringList{"a", "a"} << QByteArray(" 40 128 240\ta\n")
        << QStringList{"a", "a"};
    QTest::newRow("soc: characters XML cannot hold replaced")
        << Format::Office << QStringList{QStringLiteral("a") + QChar(0xFFFE) + "&<\""}
        << QByteArray("draw:name=\"a\xEF\xBF\xBD&amp;&lt;&quot;\"")
        << QStringList{QStringLiteral("a") + QChar(QChar::ReplacementCharacter) + "&<\""};
    QTest::newRow("ase: lone surrogate replaced")
        << Format::SwatchExchange << QStringList{lone} << QByteArray("\x00\x61\xFF\xFD\x00\x00", 6)
        << QStringList{replaced};
    QTest::newRow("aco: lone surrogate replaced")
        << Format::Photoshop << QStringList{lone} << QByteArray("\x00\x61\xFF\xFD\x00\x00", 6)
        << QStringList{replaced};
    QTest::newRow("sketch: lone surrogate replaced")
        << Format::Sketch << QStringList{lone, "b"} << QByteArray("\"name\": \"a\xEF\xBF\xBD\"")
        << QStringList{replaced, "b"};
}

void tst_exchangenames::names_madeValidForEachFormat()
{
    QFETCH(Format, format);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, written);
    QFETCH(QStringList, readBack);
    const ExchangePalette palette = named(names);
    const QByteArray text = paletteexchange::Encode(format, palette);
    QVERIFY2(text.contains(written), text.constData());
    const ExchangeReading back = paletteexchange::Decode(text);
    QVERIFY2(back.ok(), qPrintable(back.problem));
    QCOMPARE(back.palette.colors, palette.colors);
    QCOMPARE(back.palette.names, readBack);
}

void tst_exchangenames::tokenGroups_joinedIntoNames_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("paletteName");
    QTest::addColumn<QStringList>("names");

    const QByteArray red = R"({"$type": "color", "$value": "#FF0000"})";
    QTest::newRow("one group names the palette")
        << QByteArray(R"({"brand": {"primary": {"500": )" + red + R"(}, "accent": )" + red + "}}")
        << "brand" << QStringList{"primary-500", "accent"};
    QTest::newRow("two groups: whole paths")
        << QByteArray(R"({"a": {"x": )" + red + R"(}, "b": {"y": {"z": )" + red + "}}}") << ""
        << QStringList{"a-x", "b-y-z"};
    QTest::newRow("tokens at the top")
        << QByteArray(R"({"red": )" + red + R"(, "g": {"dark": )" + red + "}}") << ""
        << QStringList{"red", "g-dark"};
    QTest::newRow("an alias has its own name")
        << QByteArray(R"({"c": {"base": )" + red +
                      R"(, "link": {"$type": "color", "$value": "{c.base}"}}})")
        << "c" << QStringList{"base", "link"};
    QTest::newRow("control characters in a key as spaces")
        << QByteArray(R"({"g": {"a\nb": )" + red + "}}") << "g" << QStringList{"a b"};
}

void tst_exchangenames::tokenGroups_joinedIntoNames()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, paletteName);
    QFETCH(QStringList, names);
    const ExchangeReading reading = paletteexchange::Decode(json);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, paletteName);
    QCOMPARE(reading.palette.names, names);
}

void tst_exchangenames::styleSheetNames_escapesUndone_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("hex escape and the space after it")
        << QByteArray("/* P */\n:root {\n  --p-a\\20 b: #000000;\n  --p-\\31 0: #FFFFFF;\n}\n")
        << QStringList{"a b", "10"};
    QTest::newRow("six hex digits end an escape")
        << QByteArray("/* P */\n:root {\n  --p-\\00004Fk: #000000;\n}\n") << QStringList{"Ok"};
    QTest::newRow("a zero or surrogate escape is U+FFFD")
        << QByteArray("/* P */\n:root {\n  --p-\\0 \\D800 x: #000000;\n}\n")
        << QStringList{QString(2, QChar(QChar::ReplacementCharacter)) + "x"};
    QTest::newRow("no title: the whole name")
        << QByteArray(":root {\n  --brand-red: #FF0000;\n}\n") << QStringList{"brand-red"};
    QTest::newRow("another prefix kept")
        << QByteArray("/* P */\n:root {\n  --q-red: #FF0000;\n}\n") << QStringList{"q-red"};
    QTest::newRow("tailwind's namespace taken away")
        << QByteArray("@theme {\n  --color-sky\\ 500: #0EA5E9;\n}\n") << QStringList{"sky 500"};
    QTest::newRow("scss after a digit prefix")
        << QByteArray("// 2024 brand\n$_2024-brand-red\\!: #FF0000;\n") << QStringList{"red!"};
    QTest::newRow("less") << QByteArray("// P\n@p-red: #FF0000;\n@p-blue: #0000FF;\n")
                          << QStringList{"red", "blue"};
}

void tst_exchangenames::styleSheetNames_escapesUndone()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, names);
    const ExchangeReading reading = paletteexchange::Decode(text);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.names, names);
}

void tst_exchangenames::tokenNames_boundedByTheFile()
{
    // A long group name over many tokens would make names far longer than the
    // file; past the file's size in characters, tokens keep their own names.
    const QByteArray group(3000, 'g');
    QByteArray json = R"({"p": {")" + group + R"(": {)";
    constexpr int Tokens = 20;
    for (int i = 0; i < Tokens; ++i)
        json += (i ? "," : "") + QByteArray(R"("t)") + QByteArray::number(i) +
                R"(": {"$type": "color", "$value": "#FF0000"})";
    json += "}}}";
    const ExchangeReading reading = paletteexchange::Decode(json);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.names.size(), Tokens);
    qsizetype total = 0;
    for (const QString& name : reading.palette.names) {
        QVERIFY(name.size() <= exchangenames::MaxNameLength);
        total += name.size();
    }
    QVERIFY(total <= 2 * json.size());
    QVERIFY(reading.palette.names.constFirst().startsWith(QStringLiteral("ggg")));
    QCOMPARE(reading.palette.names.constLast(), QStringLiteral("t%1").arg(Tokens - 1));
}

QTEST_GUILESS_MAIN(tst_exchangenames)
#include "tst_exchangenames.moc"
