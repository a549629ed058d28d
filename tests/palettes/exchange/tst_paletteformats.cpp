// The exchange formats added to GIMP palettes and swatch exchange files:
// Photoshop swatches, LibreOffice palettes, Sketch palettes, design tokens and
// the style-sheet variables, read from real or byte-built files, refused when
// malformed with a message that says where, and round-tripped.
#include <QTest>

#include <QFile>
#include <QXmlStreamReader>

#include "palettes/exchange/DesignTokens.h"
#include "palettes/exchange/JsonTree.h"
#include "palettes/exchange/OfficePalette.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/exchange/PhotoshopSwatches.h"
#include "palettes/exchange/SketchPalette.h"
#include "palettes/exchange/StyleSheetPalette.h"

using namespace bascommon;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read test file %s", qPrintable(path));
    return file.readAll();
}

QString testDataPath(const QString& name)
{
    return QStringLiteral(TINTORA_TEST_DATA_DIR "/") + name;
}

QStringList hexes(const QList<Color>& colors)
{
    QStringList texts;
    for (const Color color : colors)
        texts.append(ColorToHtmlHex(color));
    return texts;
}

// Photoshop swatches laid out by hand from the published layout.
class AcoBuilder
{
public:
    struct Entry
    {
        quint16 space;
        std::array<quint16, 4> values;
        QString name;
    };
    AcoBuilder& add(quint16 space, std::array<quint16, 4> values, const QString& name = {})
    {
        m_entries.append({space, values, name});
        return *this;
    }
    QByteArray section(quint16 version) const
    {
        QByteArray out = be16(version) + be16(quint16(m_entries.size()));
        for (const Entry& entry : m_entries) {
            out += be16(entry.space);
            for (const quint16 value : entry.values)
                out += be16(value);
            if (version == 2) {
                out += be32(quint32(entry.name.size() + 1));
                for (const QChar c : entry.name)
                    out += be16(c.unicode());
                out += be16(0);
            }
        }
        return out;
    }
    QByteArray both() const { return section(1) + section(2); }

    static QByteArray be16(quint16 v)
    {
        QByteArray out;
        out.append(char(v >> 8)).append(char(v & 255));
        return out;
    }
    static QByteArray be32(quint32 v) { return be16(quint16(v >> 16)) + be16(quint16(v)); }

private:
    QList<Entry> m_entries;
};

// Black, white, the steps next to them, every channel at its extremes and a
// colour twice: what a palette of this program may hold.
ExchangePalette edgePalette(const QString& name)
{
    ExchangePalette palette;
    palette.name = name;
    palette.colors = {Black,
                      White,
                      MakeColor(1, 1, 1),
                      MakeColor(254, 254, 254),
                      MakeColor(255, 0, 0),
                      MakeColor(0, 255, 0),
                      MakeColor(0, 0, 255),
                      MakeColor(255, 0, 0),
                      MakeColor(128, 127, 129),
                      Black};
    for (int v = 0; v < 256; v += 5)
        palette.colors.append(MakeColor(v, 255 - v, (v * 7 + 3) & 255));
    return palette;
}

} // namespace

class tst_paletteformats : public QObject
{
    Q_OBJECT
private slots:
    void acoSpaces_data();
    void acoSpaces();
    void acoSections();
    void acoMalformed_data();
    void acoMalformed();
    void acoEveryTruncation_refused();
    void acoWrite_layout();

    void socShippedPalettes_data();
    void socShippedPalettes();
    void socMalformed_data();
    void socMalformed();
    void socWrite_asLibreOfficeWritesIt();

    void sketchForms();
    void sketchMalformed_data();
    void sketchMalformed();

    void tokensSpaces_data();
    void tokensSpaces();
    void tokensStructure();
    void tokensMalformed_data();
    void tokensMalformed();
    void tokensWrite_layout();

    void jsonTree_keepsOrderAndPlaces();
    void jsonTooManyColours_refused();
    void jsonTree_tooManyValues_refused();
    void tokensLargeShapes_readAsWritten_data();
    void tokensLargeShapes_readAsWritten();

    void styleSheetWriters();
    void tailwindTheme_forAnyNamedColours();
    void styleSheetReadWritten_onlyThatForm_data();
    void styleSheetReadWritten_onlyThatForm();

    void roundTrip_data();
    void roundTrip();
    void decode_tellsNewFormatsApart_data();
    void decode_tellsNewFormatsApart();
    void photoshopLimit_refusedBeforeWriting();
};

void tst_paletteformats::acoSpaces_data()
{
    QTest::addColumn<quint16>("space");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* tag, quint16 space, QList<int> values, const char* expected) {
        QTest::newRow(tag) << space << values << QString::fromLatin1(expected);
    };
    row("RGB", 0, {65535, 32896, 0, 0}, "#FF8000");
    row("RGB between two levels", 0, {32767, 32768, 0, 0}, "#7F8000");
    row("HSB red", 1, {0, 65535, 65535, 0}, "#FF0000");
    row("HSB green, 120 degrees", 1, {21845, 65535, 65535, 0}, "#00FF00");
    row("HSB half bright grey", 1, {0, 0, 32768, 0}, "#808080");
    // CMYK holds 0 for full ink.
    row("CMYK paper", 2, {65535, 65535, 65535, 65535}, "#FFFFFF");
    row("CMYK cyan", 2, {0, 65535, 65535, 65535}, "#00FFFF");
    row("CMYK black ink", 2, {65535, 65535, 65535, 0}, "#000000");
    row("Lab white", 7, {10000, 0, 0, 0}, "#FFFFFF");
    row("Lab L* 50 grey", 7, {5000, 0, 0, 0}, "#777777");
    row("Lab sRGB red", 7, {5429, 8081, 6989, 0}, "#FF0000");
    row("Lab negative a* b*", 7, {8782, quint16(-7929), 8099, 0}, "#00FF00");
    row("Lab beyond range clamped", 7, {20000, 0, 0, 0}, "#FFFFFF");
    row("Grayscale white", 8, {0, 0, 0, 0}, "#FFFFFF");
    row("Grayscale 75% Gray", 8, {7500, 0, 0, 0}, "#404040");
    row("Grayscale black", 8, {10000, 0, 0, 0}, "#000000");
    row("Grayscale past black", 8, {60000, 0, 0, 0}, "#000000");
}

void tst_paletteformats::acoSpaces()
{
    QFETCH(quint16, space);
    QFETCH(QList<int>, values);
    QFETCH(QString, expected);
    AcoBuilder file;
    file.add(space,
             {quint16(values[0]), quint16(values[1]), quint16(values[2]), quint16(values[3])});
    for (const QByteArray& content : {file.section(1), file.section(2), file.both()}) {
        const ExchangeReading reading = photoshopswatches::Read(content);
        QVERIFY2(reading.ok(), qPrintable(reading.problem));
        QCOMPARE(hexes(reading.palette.colors), QStringList{expected});
    }
}

void tst_paletteformats::acoSections()
{
    // Photoshop reads the named section where there is one; an older writer's
    // first section may differ from it.
    AcoBuilder older;
    older.add(0, {65535, 0, 0, 0});
    AcoBuilder named;
    named.add(0, {0, 65535, 0, 0}, QString::fromUtf8("Gr\xC3\xBCn \xF0\x9F\x8C\xBF"))
        .add(8, {5000, 0, 0, 0}, QString());
    const ExchangeReading reading = photoshopswatches::Read(older.section(1) + named.section(2));
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(hexes(reading.palette.colors), (QStringList{"#00FF00", "#808080"}));
    QCOMPARE(reading.palette.name, QString());

    const ExchangeReading none = photoshopswatches::Read(AcoBuilder().both());
    QVERIFY2(none.ok(), qPrintable(none.problem));
    QVERIFY(none.palette.colors.isEmpty());
}

void tst_paletteformats::acoMalformed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    AcoBuilder one;
    one.add(0, {1, 2, 3, 0}, "a");
    const QByteArray good = one.both();
    QTest::newRow("shorter than a header") << QByteArray("\0\1\0", 3) << "shorter than the 4-byte";
    QTest::newRow("version 3") << AcoBuilder::be16(3) + AcoBuilder::be16(0)
                               << "begins with version 3 at byte 0";
    QTest::newRow("count past the end")
        << AcoBuilder::be16(1) + AcoBuilder::be16(40) + QByteArray(30, '\0')
        << "the version 1 section claims 40 colours at byte 2, more than the 30 bytes";
    QTest::newRow("colour cut off")
        << one.section(1).chopped(3)
        << "the version 1 section claims 1 colours at byte 2, more than the 7 bytes";
    QTest::newRow("Pantone") << AcoBuilder().add(3, {12, 0, 0, 0}).section(1)
                             << "colour 1 at byte 4 is a Pantone colour";
    QTest::newRow("unknown space") << AcoBuilder().add(1, {0, 0, 0, 0}).add(42, {}).section(1)
                                   << "colour 2 at byte 14 uses colour space 42";
    QTest::newRow("name count absurd")
        << one.section(1) + AcoBuilder::be16(2) + AcoBuilder::be16(1) + QByteArray(10, '\0') +
               AcoBuilder::be32(0x7FFFFFFF) + QByteArray(4, '\0')
        << "the name of colour 1 at byte 28 claims 2147483647 characters";
    QTest::newRow("name not UTF-16")
        << AcoBuilder::be16(2) + AcoBuilder::be16(1) + QByteArray(10, '\0') + AcoBuilder::be32(2) +
               AcoBuilder::be16(0xDC00) + AcoBuilder::be16(0)
        << "the name of colour 1 at byte 14 is not valid UTF-16";
    QTest::newRow("garbage after version 1")
        << one.section(1) + QByteArray("junk") << "after the version 1 section, at byte 14";
    QTest::newRow("bytes after version 2")
        << good + QByteArray(3, '\0') << "come 3 bytes that belong to no colour";
}

void tst_paletteformats::acoMalformed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = photoshopswatches::Read(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    QVERIFY(reading.palette.colors.isEmpty());
}

void tst_paletteformats::acoEveryTruncation_refused()
{
    AcoBuilder file;
    file.add(0, {1, 2, 3, 0}, "one").add(2, {0, 0, 0, 0}, "").add(7, {5000, 1, 2, 0}, "three");
    const QByteArray whole = file.both();
    QVERIFY(photoshopswatches::Read(whole).ok());
    // Cutting the file right after its first section leaves a sound version 1 file.
    const qsizetype firstSection = file.section(1).size();
    for (qsizetype size = 0; size < whole.size(); ++size)
        if (size != firstSection)
            QVERIFY2(!photoshopswatches::Read(whole.left(size)).ok(),
                     qPrintable(QString::number(size)));
}

void tst_paletteformats::acoWrite_layout()
{
    const ExchangePalette palette{
        QStringLiteral("P"), {MakeColor(255, 0, 51), MakeColor(255, 0, 51)}, {}};
    AcoBuilder expected;
    // Each colour named by its nearest CSS colour, made unique.
    expected.add(0, {65535, 0, 51 * 257, 0}, "red").add(0, {65535, 0, 51 * 257, 0}, "red-2");
    QCOMPARE(photoshopswatches::Write(palette).toHex(' '), expected.both().toHex(' '));
}

void tst_paletteformats::socShippedPalettes_data()
{
    QTest::addColumn<QString>("file");
    // The 2000 namespaces of OpenOffice.org 1 with office:color-table, names
    // with parentheses, comments between colours.
    QTest::newRow("chart palettes") << "chart-palettes";
    QTest::newRow("LibreOffice") << "libreoffice";
    QTest::newRow("HTML colours") << "html";
    // OpenDocument namespaces with ooo:color-table, over a thousand colours.
    QTest::newRow("freecolour HLC") << "freecolour-hlc";
}

void tst_paletteformats::socShippedPalettes()
{
    QFETCH(QString, file);
    const ExchangeReading reading =
        paletteexchange::Decode(readFile(testDataPath("soc/" + file + ".soc")));
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, QString());
    QStringList expected;
    for (const QString& line :
         QString::fromLatin1(readFile(testDataPath("soc/" + file + ".colors")))
             .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        expected.append(QLatin1Char('#') + line);
    QCOMPARE(hexes(reading.palette.colors), expected);
}

void tst_paletteformats::socMalformed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    const QByteArray head = "<?xml version=\"1.0\"?>\n<office:color-table "
                            "xmlns:office=\"http://openoffice.org/2000/office\" "
                            "xmlns:draw=\"http://openoffice.org/2000/drawing\">\n";
    QTest::newRow("not closed")
        << head + "  <draw:color draw:name=\"a\" draw:color=\"#000000\"/>\n"
        << "at line 4, column 1 it is not well-formed XML: Premature end of document";
    QTest::newRow("bad tag")
        << head + "  <draw:color draw:name=\"a\" draw:color=\"#000000\">\n"
                  "</office:color-table>\n"
        << "at line 4, column 22 it is not well-formed XML: Opening and ending tag mismatch";
    QTest::newRow("other root") << QByteArray("<?xml version=\"1.0\"?>\n<html><body/></html>")
                                << "its root element is <html>, not the color-table";
    QTest::newRow("no value") << head + "  <draw:color draw:name=\"a\"/>\n</office:color-table>\n"
                              << "at line 3, column 30 a colour has no draw:color value";
    QTest::newRow("short value")
        << head + "  <draw:color draw:name=\"a\" draw:color=\"#fff\"/>\n</office:color-table>\n"
        << "the colour value \"#fff\" is not # and six hexadecimal digits";
    QTest::newRow("signed value")
        << head + "  <draw:color draw:name=\"a\" draw:color=\"#+fffff\"/>\n</office:color-table>\n"
        << "\"#+fffff\"";
    QTest::newRow("document type")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE x [<!ENTITY a \"aaaa\">]>\n"
                      "<office:color-table/>")
        << "declares a document type";
    QTest::newRow("empty") << QByteArray() << "at line 1, column 1 it is not well-formed XML";
}

void tst_paletteformats::socMalformed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = officepalette::Read(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    QVERIFY(reading.palette.colors.isEmpty());
}

void tst_paletteformats::socWrite_asLibreOfficeWritesIt()
{
    const ExchangePalette palette{QStringLiteral("P"), {MakeColor(0, 69, 134), White}, {}};
    const QByteArray written = officepalette::Write(palette);
    QVERIFY2(written.contains("<draw:color draw:name=\"darkslateblue\" draw:color=\"#004586\"/>"),
             written.constData());
    QXmlStreamReader xml(written);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QStringLiteral("color-table"));
    QCOMPARE(xml.namespaceUri(), QStringLiteral("http://openoffice.org/2004/office"));
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.namespaceUri(),
             QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"));
}

void tst_paletteformats::sketchForms()
{
    // The plugin's own files: objects of channels from 1.4 on, alpha ignored;
    // hex strings before.
    const QByteArray objects =
        "{\"compatibleVersion\":\"1.4\",\"pluginVersion\":\"1.4\",\"colors\":["
        "{\"red\":0.8156862745098039,\"green\":0.00784313725490196,\"blue\":0.10588235294117647,"
        "\"alpha\":1},{\"red\":0,\"green\":0.5,\"blue\":1,\"alpha\":0.2}]}";
    ExchangeReading reading = sketchpalette::Read(objects);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(hexes(reading.palette.colors), (QStringList{"#D0021B", "#0080FF"}));
    const QByteArray strings = "{\"pluginVersion\":\"1.1\",\"colors\":[\"#D0021B\",\" #abc \"]}";
    reading = sketchpalette::Read(strings);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(hexes(reading.palette.colors), (QStringList{"#D0021B", "#AABBCC"}));
}

void tst_paletteformats::sketchMalformed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    QTest::newRow("not JSON") << QByteArray("{\"colors\": [\n  {\"red\": 1,}\n]}")
                              << "at line 2, column 13 it is not JSON";
    QTest::newRow("not an object") << QByteArray("[1, 2]") << "the JSON is not an object";
    QTest::newRow("no colours") << QByteArray("{\"pluginVersion\": \"2.0\"}")
                                << "it has no \"colors\"";
    QTest::newRow("colours not a list")
        << QByteArray("{\"colors\": {}}") << "at line 1, column 12 \"colors\" is not a list";
    QTest::newRow("channel missing") << QByteArray("{\"colors\": [{\"red\": 1, \"blue\": 0}]}")
                                     << "at line 1, column 13 colour 1 has no number for green";
    QTest::newRow("channel out of range")
        << QByteArray("{\"colors\": [{\"red\": 0, \"green\": 0, \"blue\": 0},\n"
                      " {\"red\": 1.5, \"green\": 0, \"blue\": 0}]}")
        << "at line 2, column 10 colour 2 has red 1.5, outside 0 to 1";
    QTest::newRow("bad hex") << QByteArray("{\"colors\": [\"#12345\"]}")
                             << "colour 1, \"#12345\", is not a hex colour";
    QTest::newRow("number") << QByteArray("{\"colors\": [7]}")
                            << "colour 1 is neither a hex string nor an object";
}

void tst_paletteformats::sketchMalformed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = sketchpalette::Read(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    QVERIFY(reading.palette.colors.isEmpty());
}

void tst_paletteformats::tokensSpaces_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* tag, const char* value, const char* expected) {
        QTest::newRow(tag) << QString::fromLatin1(value) << QString::fromLatin1(expected);
    };
    row("srgb", R"({"colorSpace": "srgb", "components": [1, 0.5, 0]})", "#FF8000");
    row("srgb none", R"({"colorSpace": "srgb", "components": ["none", 1, "none"]})", "#00FF00");
    row("srgb-linear", R"({"colorSpace": "srgb-linear", "components": [0.21586, 0, 1]})",
        "#8000FF");
    row("hsl", R"({"colorSpace": "hsl", "components": [210, 50, 40]})", "#336699");
    row("hsl hue past a turn", R"({"colorSpace": "hsl", "components": [570, 50, 40]})", "#336699");
    row("hwb", R"({"colorSpace": "hwb", "components": [0, 20, 20]})", "#CC3333");
    row("lab", R"({"colorSpace": "lab", "components": [54.29, 80.8, 69.89]})", "#FF0000");
    row("lch", R"({"colorSpace": "lch", "components": [100, 0, 0]})", "#FFFFFF");
    row("oklab", R"({"colorSpace": "oklab", "components": [0.627955, 0.224863, 0.125846]})",
        "#FF0000");
    row("oklch", R"({"colorSpace": "oklch", "components": [0.5, 0, 120]})", "#636363");
    row("display-p3 inside sRGB",
        R"({"colorSpace": "display-p3", "components": [0.917488, 0.200287, 0.138561]})", "#FF0000");
    row("xyz-d65", R"({"colorSpace": "xyz-d65", "components": [0.95047, 1, 1.08883]})", "#FFFFFF");
    row("xyz-d50", R"({"colorSpace": "xyz-d50", "components": [0.96422, 1, 0.82521]})", "#FFFFFF");
    // Outside sRGB: CSS gamut mapping keeps lightness and hue and gives up
    // chroma, so pure P3 red does not clip to #FF0000.
    row("display-p3 red mapped", R"({"colorSpace": "display-p3", "components": [1, 0, 0]})",
        "#FF0B0C");
    row("oklch vivid mapped", R"({"colorSpace": "oklch", "components": [0.7, 0.4, 150]})",
        "#00C248");
    row("rec2020 mapped", R"({"colorSpace": "rec2020", "components": [1, 0, 0]})", "#FF494F");
    row("a98-rgb inside sRGB", R"({"colorSpace": "a98-rgb", "components": [0.858456, 0, 0]})",
        "#FF0000");
    row("prophoto-rgb white", R"({"colorSpace": "prophoto-rgb", "components": [1, 1, 1]})",
        "#FFFFFF");
    row("hex alone is a fallback only",
        R"({"colorSpace": "srgb", "components": [0, 0, 1], "hex": "#FF0000"})", "#0000FF");
    row("earlier drafts' hex string", R"("#abc")", "#AABBCC");
    row("a CSS colour text", R"x("oklch(62.8% 0.2577 29.23)")x", "#FF0000");
}

void tst_paletteformats::tokensSpaces()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    const QByteArray content =
        QStringLiteral("{\"c\": {\"$type\": \"color\", \"$value\": %1}}").arg(value).toUtf8();
    const ExchangeReading reading = designtokens::Read(content);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(hexes(reading.palette.colors), QStringList{expected});
}

void tst_paletteformats::tokensStructure()
{
    // Document order, not alphabetical; types inherited from groups; aliases
    // resolved, also to tokens further down; other types passed over.
    const QByteArray content = R"({
      "brand": {
        "$type": "color",
        "$description": "Brand colours",
        "zeta": {"$value": {"colorSpace": "srgb", "components": [1, 0, 0]}},
        "alpha": {"$value": "{brand.nested.deep}"},
        "nested": {"deep": {"$value": {"colorSpace": "srgb", "components": [0, 0, 1]}}},
        "size": {"$type": "dimension", "$value": {"value": 4, "unit": "px"}}
      },
      "untyped": {"$value": {"colorSpace": "srgb", "components": [0, 1, 0]}},
      "untyped-alias": {"$value": "{brand.zeta}"},
      "font": {"$type": "fontFamily", "$value": "Inter"}
    })";
    const ExchangeReading reading = designtokens::Read(content);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(hexes(reading.palette.colors),
             (QStringList{"#FF0000", "#0000FF", "#0000FF", "#00FF00", "#FF0000"}));
    // Numbers far beyond any colour still give one colour, and at once.
    const ExchangeReading huge = designtokens::Read(
        R"({"h": {"$type": "color", "$value": {"colorSpace": "lab", "components": [1e300, -1e300, 1e300]}}})");
    QVERIFY2(huge.ok(), qPrintable(huge.problem));
    QCOMPARE(huge.palette.colors.size(), 1);
    // Several groups name no palette; one alone does.
    QCOMPARE(reading.palette.name, QString());
    const ExchangeReading one = designtokens::Read(
        R"({"$description": "x", "Brand v2": {"$type": "color", "a": {"$value": "#000"}}})");
    QVERIFY2(one.ok(), qPrintable(one.problem));
    QCOMPARE(one.palette.name, QStringLiteral("Brand v2"));
}

void tst_paletteformats::tokensMalformed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    QTest::newRow("not JSON") << QByteArray("{\n  \"a\": {\"$value\": 'x'}\n}")
                              << "at line 2, column 19 it is not JSON: this is not a JSON value";
    QTest::newRow("trailing text") << QByteArray("{} {}") << "at line 1, column 4 it is not JSON";
    QTest::newRow("alias to nothing")
        << QByteArray("{\"a\": {\"$type\": \"color\",\n \"$value\": \"{b.c}\"}}")
        << "at line 2, column 12 the token \"a\" refers to \"b.c\", which the file does not hold";
    QTest::newRow("alias loop")
        << QByteArray("{\"g\": {\"$type\": \"color\", \"a\": {\"$value\": \"{g.b}\"}, "
                      "\"b\": {\"$value\": \"{g.a}\"}}}")
        << "refers to itself through its aliases";
    QTest::newRow("alias to another type")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": \"{b}\"}, "
                      "\"b\": {\"$type\": \"number\", \"$value\": 3}}")
        << "the colour token \"a\" refers to \"b\", which is not a colour";
    QTest::newRow("two components")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": "
                      "{\"colorSpace\": \"srgb\", \"components\": [1, 0]}}}")
        << "at line 1, column 73 the colour token \"a\" needs three components";
    QTest::newRow("unknown space")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": "
                      "{\"colorSpace\": \"cmyk\", \"components\": [1, 0, 0]}}}")
        << "names the colour space \"cmyk\", which the format does not define";
    QTest::newRow("no space")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": {\"components\": [1, 0, 0]}}}")
        << "gives no colorSpace";
    QTest::newRow("text component")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": "
                      "{\"colorSpace\": \"srgb\", \"components\": [1, \"0\", 0]}}}")
        << "component 2 of the colour token \"a\" is neither a number nor \"none\"";
    QTest::newRow("bad hex")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": "
                      "{\"colorSpace\": \"srgb\", \"components\": [1, 0, 0], \"hex\": \"red\"}}}")
        << "has a hex that is not # and six hexadecimal digits";
    QTest::newRow("value of another kind")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": 12}}")
        << "has a value that is not a colour object";
    QTest::newRow("string that is no colour")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": \"bright\"}}")
        << "the value \"bright\", which is neither a colour object nor a CSS colour";
    QTest::newRow("nested too deep")
        << QByteArray(300, '[') + QByteArray(300, ']') << "values are nested more than 200 deep";
    // Each token an alias of the next: the first is reached through them all.
    QByteArray chain = "{";
    for (int i = 0; i < 1002; ++i)
        chain += "\"t" + QByteArray::number(i) + "\": {\"$value\": \"{t" +
                 QByteArray::number(i + 1) + "}\", \"$type\": \"color\"}, ";
    chain += "\"t1002\": {\"$type\": \"color\", \"$value\": \"#fff\"}";
    QTest::newRow("alias chain too long") << chain + "}"
                                          << "is reached through more than 1000 aliases";
    QTest::newRow("not UTF-8") << QByteArray("{\"a\xFF\": 1}") << "at line 1, column 4";
}

void tst_paletteformats::tokensMalformed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = designtokens::Read(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    QVERIFY(reading.palette.colors.isEmpty());
}

void tst_paletteformats::tokensWrite_layout()
{
    const ExchangePalette palette{QStringLiteral("$Brand.v2 {x}"), {MakeColor(255, 0, 51)}, {}};
    QCOMPARE(designtokens::Write(palette), QByteArray(R"({
  "Brand-v2 -x-": {
    "$type": "color",
    "red": {
      "$value": {
        "colorSpace": "srgb",
        "components": [1, 0, 0.2],
        "hex": "#ff0033"
      }
    }
  }
}
)"));
}

void tst_paletteformats::jsonTree_keepsOrderAndPlaces()
{
    const jsontree::Document document = jsontree::Parse(
        "\xEF\xBB\xBF{\"b\": 1, \"a\": [true, null, \"\\u00e9\\n\"], \"b\": -2.5e1}");
    QVERIFY2(document.ok(), qPrintable(document.problem()));
    const jsontree::Value root = document.root();
    QStringList keys;
    for (const jsontree::Value& child : root.children())
        keys.append(child.key());
    QCOMPARE(keys, (QStringList{"b", "a", "b"}));
    QCOMPARE(root.member(u"b").number(), -25.0);
    QCOMPARE(root.member(u"a").offset(), 17);
    const QList<jsontree::Value> items = root.member(u"a").children();
    QCOMPARE(items.size(), 3);
    QVERIFY(items.at(0).boolean());
    QCOMPARE(items.at(1).kind(), jsontree::Kind::Null);
    QCOMPARE(items.at(2).string(), QString::fromUtf8("\xC3\xA9\n"));
    for (const char* bad :
         {"01", "1.", "-", "1e", "\"\t\"", "\"\\x\"", "[1,]", "{\"a\" 1}", "1e999", "\"\\ud8\""})
        QVERIFY2(!jsontree::Parse(bad).ok(), bad);
}

void tst_paletteformats::jsonTree_tooManyValues_refused()
{
    // Each value costs memory however small it is written; the array is one.
    QByteArray values = "[" + QByteArray("0,").repeated(jsontree::MaxValues - 2) + "1]";
    const jsontree::Document full = jsontree::Parse(values);
    QVERIFY2(full.ok(), qPrintable(full.problem()));
    const QList<jsontree::Value> items = full.root().children();
    QCOMPARE(items.size(), jsontree::MaxValues - 1);
    QCOMPARE(items.constLast().number(), 1.0);
    values.insert(1, "0,");
    const jsontree::Document over = jsontree::Parse(values);
    QVERIFY(!over.ok());
    QVERIFY2(over.problem().contains("more than 8000000 values"), qPrintable(over.problem()));
}

void tst_paletteformats::tokensLargeShapes_readAsWritten_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QString>("problem");
    // A group name as long as the file, with many tokens below it: no path is
    // built per token.
    const QByteArray longName(1'000'000, 'g');
    QByteArray many;
    QStringList manyColours;
    for (int i = 0; i < 300; ++i) {
        many += "\"t" + QByteArray::number(i) + "\": {\"$value\": \"#0000" +
                QByteArray::number(i % 100).rightJustified(2, '0') + "\"}, ";
        manyColours << "#0000" + QString::number(i % 100).rightJustified(2, '0');
    }
    QTest::newRow("long group name")
        << "{\"" + longName + "\": {\"$type\": \"color\", " + many.chopped(2) + "}}"
        << QString::fromLatin1(longName) << manyColours << "";
    // Untyped aliases, each of the next: every one is decided once.
    QByteArray chain = "{";
    for (int i = 0; i < 900; ++i)
        chain += "\"t" + QByteArray::number(i) + "\": {\"$value\": \"{t" +
                 QByteArray::number(i + 1) + "}\"}, ";
    chain += "\"t900\": {\"$type\": \"color\", \"$value\": \"#123456\"}}";
    QTest::newRow("untyped alias chain")
        << chain << "" << QStringList(901, QStringLiteral("#123456")) << "";
    QTest::newRow("a group given twice is one group to an alias")
        << QByteArray("{\"a\": {\"x\": {\"$type\": \"color\", \"$value\": \"#010203\"}}, "
                      "\"a\": {\"y\": {\"$type\": \"color\", \"$value\": \"#040506\"}}, "
                      "\"b\": {\"$type\": \"color\", \"$value\": \"{a.x}\"}, "
                      "\"c\": {\"$type\": \"color\", \"$value\": \"{a.y}\"}}")
        << "" << QStringList{"#010203", "#040506", "#010203", "#040506"} << "";
    // Names are compared and hashed as the text they stand for, however the
    // file writes them.
    QTest::newRow("names written with escapes")
        << QByteArray("{\"r\\u00e9d\": {\"$type\": \"color\", \"$value\": \"#010203\"}, "
                      "\"\\ud83c\\udfa8\": {\"x\\/y\": {\"$type\": \"color\", "
                      "\"$value\": \"#040506\"}}, "
                      "\"b\": {\"$type\": \"color\", \"$value\": \"{r\xC3\xA9"
                      "d}\"}, "
                      "\"c\": {\"$type\": \"color\", \"$value\": \"{\xF0\x9F\x8E\xA8.x/y}\"}}")
        << "" << QStringList{"#010203", "#040506", "#010203", "#040506"} << "";
    QTest::newRow("a token given twice: an alias reaches the last")
        << QByteArray("{\"a\": {\"$type\": \"color\", \"$value\": \"#010203\"}, "
                      "\"a\": {\"$type\": \"color\", \"$value\": \"#040506\"}, "
                      "\"b\": {\"$type\": \"color\", \"$value\": \"{a}\"}}")
        << "" << QStringList{"#010203", "#040506", "#040506"} << "";
    QTest::newRow("a name that begins another is not that name")
        << QByteArray("{\"ab\": {\"$type\": \"color\", \"$value\": \"#010203\"}, "
                      "\"b\": {\"$type\": \"color\", \"$value\": \"{abc}\"}}")
        << "" << QStringList() << "refers to \"abc\", which the file does not hold";
    QTest::newRow("the path of a long name, cut in the message")
        << "{\"" + longName + "\": {\"t\": {\"$type\": \"color\", \"$value\": \"bright\"}}}"
        << "" << QStringList()
        << "the colour token \"" + QString(40, 'g') + "...\" has the value \"bright\"";
}

void tst_paletteformats::tokensLargeShapes_readAsWritten()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QStringList, colours);
    QFETCH(QString, problem);
    const ExchangeReading reading = designtokens::Read(content);
    if (!problem.isEmpty()) {
        QVERIFY(!reading.ok());
        QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
        return;
    }
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, name);
    QStringList read;
    for (const Color color : reading.palette.colors)
        read << bascommon::ColorToHtmlHex(color);
    QCOMPARE(read, colours);
}

void tst_paletteformats::jsonTooManyColours_refused()
{
    QByteArray content = "{\"colors\": [";
    content.reserve(content.size() + (paletteexchange::MaxColors + 1) * 7);
    for (qsizetype i = 0; i <= paletteexchange::MaxColors; ++i)
        content += i == 0 ? "\"#000\"" : ",\"#000\"";
    content += "], \"pluginVersion\": \"1\"}";
    const ExchangeReading reading = paletteexchange::Decode(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains("more than 1000000 colors"), qPrintable(reading.problem));
}

void tst_paletteformats::styleSheetWriters()
{
    using stylesheetpalette::Dialect;
    const ExchangePalette palette{QStringLiteral("My */ Colors\n#2"),
                                  {MakeColor(255, 0, 10), MakeColor(255, 0, 10), Black},
                                  {}};
    QCOMPARE(stylesheetpalette::Write(Dialect::CustomProperties, palette),
             QByteArray("/* My * / Colors #2 */\n"
                        ":root {\n"
                        "  --my-colors-2-red: #FF000A;\n"
                        "  --my-colors-2-red-2: #FF000A;\n"
                        "  --my-colors-2-black: #000000;\n"
                        "}\n"));
    QCOMPARE(stylesheetpalette::Write(Dialect::TailwindTheme, palette),
             QByteArray("/* My * / Colors #2 */\n"
                        "@theme {\n"
                        "  --color-red: #FF000A;\n"
                        "  --color-red-2: #FF000A;\n"
                        "  --color-black: #000000;\n"
                        "}\n"));
    QCOMPARE(stylesheetpalette::Write(Dialect::Scss, palette),
             QByteArray("// My */ Colors #2\n"
                        "$my-colors-2-red: #FF000A;\n"
                        "$my-colors-2-red-2: #FF000A;\n"
                        "$my-colors-2-black: #000000;\n"));
    // A variable's name never begins with a digit; a custom property's may.
    QCOMPARE(stylesheetpalette::Write(Dialect::Scss, {QStringLiteral("2024 \x01"
                                                                     "brand"),
                                                      {White},
                                                      {}}),
             QByteArray("// 2024  brand\n$_2024-brand-white: #FFFFFF;\n"));
    QVERIFY(
        stylesheetpalette::Write(Dialect::CustomProperties, {QStringLiteral("2024"), {White}, {}})
            .contains("  --2024-white: #FFFFFF;\n"));
    QCOMPARE(stylesheetpalette::Write(Dialect::Less, {QStringLiteral("***"), {White}, {}}),
             QByteArray("// ***\n@color-white: #FFFFFF;\n"));
}

void tst_paletteformats::tailwindTheme_forAnyNamedColours()
{
    const QList<stylesheetpalette::NamedColor> colors = {
        {QStringLiteral("Brand Primary"), MakeColor(1, 2, 3)},
        {QStringLiteral("ocean/500"), MakeColor(0, 128, 255)},
        {QStringLiteral("***"), White}};
    QCOMPARE(stylesheetpalette::TailwindTheme(colors, QString()),
             QByteArray("@theme {\n"
                        "  --color-brand-primary: #010203;\n"
                        "  --color-ocean-500: #0080FF;\n"
                        "  --color-color: #FFFFFF;\n"
                        "}\n"));
}

void tst_paletteformats::styleSheetReadWritten_onlyThatForm_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("colours");
    const QStringList none{"none"};
    QTest::newRow("custom properties, CR LF and spacing")
        << QByteArray("/* A */\r\n\r\n:root {\r\n   --a:#FF0000 ;\r\n\t--b: #00ff00;\r\n}\r\n")
        << QStringList{"#FF0000", "#00FF00"};
    QTest::newRow("no title") << QByteArray("@theme {\n  --color-a: #010203;\n}")
                              << QStringList{"#010203"};
    QTest::newRow("empty block") << QByteArray("/* A */\n:root {\n}\n") << QStringList();
    QTest::newRow("SCSS") << QByteArray("// A\n$a: #010203;\n$b-2: #010203;\n")
                          << QStringList{"#010203", "#010203"};
    QTest::newRow("title alone") << QByteArray("// A\n") << QStringList();
    QTest::newRow("other selector") << QByteArray(".a {\n  --a: #FF0000;\n}\n") << none;
    QTest::newRow("other value") << QByteArray(":root {\n  --a: red;\n}\n") << none;
    QTest::newRow("unclosed block") << QByteArray(":root {\n  --a: #FF0000;\n") << none;
    QTest::newRow("two blocks") << QByteArray(":root {\n}\n:root {\n}\n") << none;
    QTest::newRow("variables and a block") << QByteArray("$a: #FF0000;\n:root {\n}\n") << none;
    QTest::newRow("property outside a block") << QByteArray("--a: #FF0000;\n") << none;
    QTest::newRow("plain style sheet") << QByteArray("body { color: #FF0000; }\n") << none;
}

void tst_paletteformats::styleSheetReadWritten_onlyThatForm()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, colours);
    const std::optional<ExchangePalette> palette = stylesheetpalette::ReadWritten(content);
    if (colours == QStringList{"none"}) {
        QVERIFY(!palette);
        return;
    }
    QVERIFY(palette);
    QCOMPARE(palette->name, content.startsWith("@") ? QString() : QStringLiteral("A"));
    QCOMPARE(hexes(palette->colors), colours);
}

void tst_paletteformats::roundTrip_data()
{
    QTest::addColumn<paletteexchange::Format>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readName");
    using F = paletteexchange::Format;
    const QString odd =
        QString::fromUtf8("Caf\xC3\xA9 \xF0\x9D\x84\x9E \"#1\" <&> */ \\3C $x.y {z}");
    const QString noName;
    for (const F format : paletteexchange::ExportFormats()) {
        const QString tag = paletteexchange::FilterOf(format);
        QString kept = odd;
        if (format == F::Photoshop || format == F::Office || format == F::Sketch)
            kept = noName; // the format holds no palette name
        else if (format == F::DesignTokens)
            kept = designtokens::GroupName(odd);
        else if (format == F::Css || format == F::Tailwind)
            kept = QString(odd).replace("*/", "* /");
        QTest::newRow(qPrintable(tag)) << format << odd << kept;
    }
}

void tst_paletteformats::roundTrip()
{
    QFETCH(paletteexchange::Format, format);
    QFETCH(QString, name);
    QFETCH(QString, readName);
    const ExchangePalette palette = edgePalette(name);
    const QByteArray written = paletteexchange::Encode(format, palette);
    const ExchangeReading reading = paletteexchange::Decode(written);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, readName);
    QCOMPARE(hexes(reading.palette.colors), hexes(palette.colors));

    const ExchangeReading none =
        paletteexchange::Decode(paletteexchange::Encode(format, {name, {}, {}}));
    QVERIFY2(none.ok(), qPrintable(none.problem));
    QVERIFY(none.palette.colors.isEmpty());
}

void tst_paletteformats::decode_tellsNewFormatsApart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    QTest::newRow("Photoshop swatches") << AcoBuilder().add(8, {0, 0, 0, 0}).section(1) << "";
    QTest::newRow("LibreOffice, byte order mark first")
        << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\"?><ooo:color-table "
                      "xmlns:ooo=\"http://openoffice.org/2004/office\" "
                      "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\">"
                      "<draw:color draw:color=\"#FFFFFF\"/></ooo:color-table>")
        << "";
    QTest::newRow("Sketch") << QByteArray("{\"compatibleVersion\": \"2.0\", \"colors\": "
                                          "[{\"red\": 1, \"green\": 1, \"blue\": 1}]}")
                            << "";
    QTest::newRow("this program's JSON")
        << QByteArray("{\"colors\": [\"#FFFFFF\"], \"name\": \"W\"}") << "";
    QTest::newRow("design tokens")
        << QByteArray("{\"w\": {\"$type\": \"color\", \"$value\": \"#fff\"}}") << "";
    QTest::newRow("Less") << QByteArray("// W\n@w: #FFFFFF;\n") << "";
    QTest::newRow("JSON of another kind")
        << QByteArray("{\"name\": \"tintora\", \"version\": \"3.7\"}")
        << "it is JSON, but neither design tokens, a Sketch palette nor a list of colours";
    QTest::newRow("broken JSON") << QByteArray("[\"#FFF\"") << "at line 1, column 8 it is not JSON";
    QTest::newRow("text of another kind")
        << QByteArray("hello") << "it is not a palette file of a known format";
}

void tst_paletteformats::decode_tellsNewFormatsApart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = paletteexchange::Decode(content);
    QVERIFY2(reading.ok() == problem.isEmpty(), qPrintable(reading.problem));
    if (problem.isEmpty())
        QCOMPARE(reading.palette.colors, QList<Color>{White});
    else
        QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
}

void tst_paletteformats::photoshopLimit_refusedBeforeWriting()
{
    QTemporaryDir dir;
    ExchangePalette palette{
        QStringLiteral("Big"), QList<Color>(photoshopswatches::MaxColors + 1), {}};
    const QString path = dir.filePath("big.aco");
    const FileResult result =
        paletteexchange::ExportFile(path, paletteexchange::Format::Photoshop, palette);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains("Photoshop swatches hold at most 65535 colors, and the "
                                     "palette has 65536"),
             qPrintable(result.message));
    QVERIFY(!QFile::exists(path));
    palette.colors.removeLast();
    QVERIFY(paletteexchange::ExportFile(path, paletteexchange::Format::Photoshop, palette).ok);
    QCOMPARE(paletteexchange::Decode(readFile(path)).palette.colors.size(),
             photoshopswatches::MaxColors);
}

QTEST_GUILESS_MAIN(tst_paletteformats)
#include "tst_paletteformats.moc"
