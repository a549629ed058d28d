#include <QJsonValue>
#include <QTest>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QtEndian>

#include "app/Progress.h"
#include "palettes/exchange/GimpPalette.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/PaletteRecords.h"
#include "palettes/exchange/SwatchExchange.h"

#include <bit>
#include <cmath>
#include <limits>

#include <sys/stat.h>

using namespace bascommon;

namespace {

QString testDataPath(const QString& name)
{
    return QStringLiteral(TINTORA_TEST_DATA_DIR "/") + name;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read test file %s", qPrintable(path));
    return file.readAll();
}

QList<Color> coloursOf(const QStringList& hexes)
{
    QList<Color> colours;
    for (const QString& hex : hexes) {
        const uint value = hex.right(6).toUInt(nullptr, 16);
        colours.append(MakeColor(int(value >> 16), int(value >> 8) & 255, int(value) & 255));
    }
    return colours;
}

// Swatch exchange content laid out by hand from the published format, so
// that the reader is checked against the layout and not against the writer.
class AseBuilder
{
public:
    AseBuilder& group(const QString& name) { return block(0xC001, counted(name)); }
    AseBuilder& groupEnd() { return block(0xC002, {}); }
    AseBuilder& colour(const QString& name, const QByteArray& model, const QList<float>& values,
                       quint16 type = 2)
    {
        QByteArray data = counted(name) + model;
        for (const float value : values)
            data += be32(std::bit_cast<quint32>(value));
        data += be16(type);
        return block(0x0001, data);
    }
    AseBuilder& block(quint16 type, const QByteArray& data)
    {
        m_body += be16(type) + be32(quint32(data.size())) + data;
        ++m_blocks;
        return *this;
    }
    QByteArray bytes(quint16 major = 1, quint16 minor = 0) const
    {
        return bytesWithCount(quint32(m_blocks), major, minor);
    }
    QByteArray bytesWithCount(quint32 count, quint16 major = 1, quint16 minor = 0) const
    {
        return QByteArray("ASEF") + be16(major) + be16(minor) + be32(count) + m_body;
    }

    static QByteArray be16(quint16 value)
    {
        QByteArray out(2, '\0');
        qToBigEndian(value, out.data());
        return out;
    }
    static QByteArray be32(quint32 value)
    {
        QByteArray out(4, '\0');
        qToBigEndian(value, out.data());
        return out;
    }
    static QByteArray units(const QList<char16_t>& codeUnits)
    {
        QByteArray out = be16(quint16(codeUnits.size()));
        for (const char16_t unit : codeUnits)
            out += be16(unit);
        return out;
    }
    static QByteArray counted(const QString& name)
    {
        QList<char16_t> codeUnits;
        for (const QChar c : name)
            codeUnits.append(c.unicode());
        codeUnits.append(0);
        return units(codeUnits);
    }

private:
    QByteArray m_body;
    int m_blocks = 0;
};

// The colour that an entry of the given model and values stands for.
Color converted(const QString& model, const QList<double>& v)
{
    if (model == "RGB")
        return swatchexchange::FromRgb(v.at(0), v.at(1), v.at(2));
    if (model == "Gray")
        return swatchexchange::FromGray(v.at(0));
    if (model == "CMYK")
        return swatchexchange::FromCmyk(v.at(0), v.at(1), v.at(2), v.at(3));
    return swatchexchange::FromLab(v.at(0), v.at(1), v.at(2));
}

// A palette that puts every value 0 to 255 in every channel.
ExchangePalette everyChannelValue(const QString& name)
{
    ExchangePalette palette;
    palette.name = name;
    for (int v = 0; v < 256; ++v)
        palette.colors.append(MakeColor(v, 255 - v, (v * 7 + 3) & 255));
    return palette;
}

} // namespace

class tst_paletteexchange : public QObject
{
    Q_OBJECT
private slots:
    void gimpShippedPalettes_data();
    void gimpShippedPalettes();
    void gimpLayouts_data();
    void gimpLayouts();
    void gimpMalformed_data();
    void gimpMalformed();
    void gimpTooManyColours_refused();
    void gimpWrite_asGimpWritesIt();

    void aseIllustratorFile_matchesItsDecoding();
    void aseGroupsAndUnknownBlocks();
    void aseMalformed_data();
    void aseMalformed();
    void aseEveryTruncation_refused();
    void aseWrite_layout();

    void roundTrip_data();
    void roundTrip();
    void aseWrite_unpairedSurrogatesReplaced_data();
    void aseWrite_unpairedSurrogatesReplaced();
    void modelConversions_data();
    void modelConversions();
    void cssAndJson();
    void cssNames_keepLettersOfEveryScript_data();
    void cssNames_keepLettersOfEveryScript();
    void decode_tellsFormatsApart_data();
    void decode_tellsFormatsApart();
    void fileNames_data();
    void fileNames();
    void importFile_data();
    void importFile();
    void importFile_stoppedByTheUser_data();
    void importFile_stoppedByTheUser();
    void exportFile_completeOrUntouched();
    void readForExport_refusesMoreThanTheReadersTake();
    void mutatedFiles_readSafelyOrRefused_data();
    void mutatedFiles_readSafelyOrRefused();
};

void tst_paletteexchange::gimpShippedPalettes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    // Named colours, "Columns:", comments before and between the colours,
    // colour lines with and without names, tabs and right-aligned numbers.
    QTest::newRow("Tango") << "Tango"
                           << "Tango Icon Theme";
    QTest::newRow("Visibone") << "Visibone"
                              << "Visibone";
    QTest::newRow("Topographic") << "Topographic"
                                 << "Topographic";
    QTest::newRow("Warm Colors") << "Warm_Colors"
                                 << "Warm Colors";
    QTest::newRow("Bears") << "Bears"
                           << "Bears";
    QTest::newRow("Named Colors") << "Named_Colors"
                                  << "Named Colors";
}

void tst_paletteexchange::gimpShippedPalettes()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    const ExchangeReading reading =
        gimppalette::Read(readFile(testDataPath("gimp/" + file + ".gpl")));
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, name);
    const QStringList expected =
        QString::fromLatin1(readFile(testDataPath("gimp/" + file + ".colors")))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(reading.palette.colors, coloursOf(expected));
}

void tst_paletteexchange::gimpLayouts_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("colours");
    const QStringList two = {"FF0000", "0A141E"};
    QTest::newRow("LF") << QByteArray("GIMP Palette\nName: A\n255 0 0\n10 20 30\n") << "A" << two;
    QTest::newRow("CR LF") << QByteArray("GIMP Palette\r\nName: A\r\n255 0 0\r\n10 20 30\r\n")
                           << "A" << two;
    QTest::newRow("CR") << QByteArray("GIMP Palette\rName: A\r255 0 0\r10 20 30") << "A" << two;
    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBFGIMP Palette\nName: A\n255 0 0\n10 20 30\n") << "A" << two;
    QTest::newRow("tabs and runs of spaces")
        << QByteArray("GIMP Palette \t\nName:\tA  \n\t255\t0   0\tred\n 10  20\t30\n") << "A"
        << two;
    QTest::newRow("no name, comments and blank lines")
        << QByteArray("GIMP Palette\n#\n# made by hand\n\n255 0 0\n  # between\n10 20 30\n#\n")
        << "" << two;
    QTest::newRow("a name made of numbers")
        << QByteArray("GIMP Palette\nColumns: 4\n255 0 0 1 2 3\n10 20 30\t40 50 60\n") << "" << two;
    QTest::newRow("UTF-8 name") << QByteArray("GIMP Palette\nName: Caf\xC3\xA9 \xE2\x98\x95\n")
                                << QString::fromUtf8("Caf\xC3\xA9 \xE2\x98\x95") << QStringList();
    QTest::newRow("Latin-1 name") << QByteArray("GIMP Palette\nName: Caf\xE9\n1 2 3\n")
                                  << QString::fromUtf8("Caf\xC3\xA9") << QStringList{"010203"};
    QTest::newRow("no colours") << QByteArray("GIMP Palette\nName: Empty\n#\n") << "Empty"
                                << QStringList();
    QTest::newRow("line ends of every kind, mixed")
        << QByteArray("GIMP Palette\r\n\r\rName: A\n\r255 0 0\r\n\n10 20 30") << "A" << two;
    // Read in place: a file of nothing but line ends takes no memory per line.
    QTest::newRow("a million empty lines")
        << QByteArray("GIMP Palette\n") + QByteArray(1'000'000, '\n') + "Name: A\n255 0 0\n" +
               QByteArray(1'000'000, '\r') + "10 20 30\n"
        << "A" << two;
}

void tst_paletteexchange::gimpLayouts()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QStringList, colours);
    const ExchangeReading reading = gimppalette::Read(content);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, name);
    QCOMPARE(reading.palette.colors, coloursOf(colours));
}

void tst_paletteexchange::gimpMalformed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty") << QByteArray() << "does not begin with the line \"GIMP Palette\"";
    QTest::newRow("other first line")
        << QByteArray("Name: A\n1 2 3\n") << "does not begin with the line \"GIMP Palette\"";
    QTest::newRow("longer first line")
        << QByteArray("GIMP Palettes\n1 2 3\n") << "does not begin with the line \"GIMP Palette\"";
    QTest::newRow("two numbers") << QByteArray("GIMP Palette\n1 2 3\n255 0\n")
                                 << "line 3, \"255 0\", is not a colour";
    QTest::newRow("beyond 255") << QByteArray("GIMP Palette\n256 0 0\n")
                                << "line 2, \"256 0 0\", is not a colour";
    QTest::newRow("negative") << QByteArray("GIMP Palette\n-1 0 0\n") << "line 2";
    QTest::newRow("commas") << QByteArray("GIMP Palette\n12,34,56\n") << "line 2";
    QTest::newRow("words") << QByteArray("GIMP Palette\nName: A\r\nred green blue\r\n")
                           << "line 3, \"red green blue\"";
    QTest::newRow("long digits") << QByteArray("GIMP Palette\n0255 0 0\n") << "line 2";
    QTest::newRow("long line shown cut")
        << QByteArray("GIMP Palette\n" + QByteArray(500, 'x') + "\n")
        << "line 2, \"" + QString(40, QLatin1Char('x')) + "...\"";
}

void tst_paletteexchange::gimpMalformed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = gimppalette::Read(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    QVERIFY(reading.palette.colors.isEmpty());
}

void tst_paletteexchange::gimpTooManyColours_refused()
{
    QByteArray content = "GIMP Palette\n";
    content.reserve(content.size() + (paletteexchange::MaxColors + 1) * 6);
    for (qsizetype i = 0; i <= paletteexchange::MaxColors; ++i)
        content += "1 2 3\n";
    const ExchangeReading reading = gimppalette::Read(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains("more than 1000000 colors"), qPrintable(reading.problem));
}

void tst_paletteexchange::gimpWrite_asGimpWritesIt()
{
    const ExchangePalette palette{
        QStringLiteral("Mine\r\nand yours"), {MakeColor(255, 0, 10), MakeColor(1, 22, 203)}, {}};
    QCOMPARE(gimppalette::Write(palette), QByteArray("GIMP Palette\n"
                                                     "Name: Mine  and yours\n"
                                                     "Columns: 0\n"
                                                     "#\n"
                                                     "255   0  10\tred\n"
                                                     "  1  22 203\tmediumblue\n"));
}

void tst_paletteexchange::aseIllustratorFile_matchesItsDecoding()
{
    const ExchangeReading reading =
        swatchexchange::Read(readFile(testDataPath("ase/illustrator-defaults.ase")));
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, QString());

    // Another program's decoding of the same file: the name and model of
    // every entry, in file order, and values that it rounded at about the
    // fourth decimal, so the colours agree within one step of a channel.
    const QJsonArray entries =
        QJsonDocument::fromJson(readFile(testDataPath("ase/illustrator-defaults.json")))
            .object()
            .value("colors")
            .toArray();
    QCOMPARE(entries.size(), 122);
    QCOMPARE(reading.palette.colors.size(), entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonObject entry = entries.at(i).toObject();
        QList<double> values;
        for (const QJsonValue value : entry.value("color").toArray())
            values.append(value.toDouble());
        const Color expected = converted(entry.value("model").toString(), values);
        const Color actual = reading.palette.colors.at(i);
        for (auto channel : {&GetRed, &GetGreen, &GetBlue})
            QVERIFY2(qAbs(channel(actual) - channel(expected)) <= 1,
                     qPrintable(entry.value("name").toString() + ": " + ColorToHtmlHex(actual) +
                                " against " + ColorToHtmlHex(expected)));
    }
    // Entries whose colours are known outright.
    const QList<QPair<int, QString>> known = {
        {0, "#FF0000"},  // RGB Red
        {6, "#FFFFFF"},  // White, Gray 1
        {7, "#E5E5E5"},  // 10% Gray: 0.9 in a float is just below 229.5
        {25, "#4D4D4D"}, // 70% Gray: 0.3 in a float is just above 76.5
        {15, "#808080"}, // 50% Gray: exactly 127.5, to even
        {16, "#FF0000"}, // CMYK Red
        {31, "#000000"}, // Black, Gray 0
        {32, "#FF8080"}, // Pastel Red, CMYK 0 0.5 0.5 0
        {80, "#990000"}, // Dark Red, black ink 0.4
    };
    for (const auto& [index, hex] : known)
        QCOMPARE(ColorToHtmlHex(reading.palette.colors.at(index)), hex);
}

void tst_paletteexchange::aseGroupsAndUnknownBlocks()
{
    AseBuilder file;
    file.colour("loose", "RGB ", {1, 0, 0}, 0)
        .group("Brand")
        .colour("primary", "RGB ", {0, 0.5f, 1}, 1)
        .colour("ink", "CMYK", {0, 0, 0, 1}, 2)
        .block(0x0002, QByteArray(10, '\x7F'))
        .group(QString::fromUtf8("Inner \xF0\x9D\x84\x9E"))
        .colour("", "LAB ", {1, 0, 0})
        .groupEnd()
        .colour(QString::fromUtf8("gr\xC3\xA4u"), "Gray", {0.2f})
        .groupEnd()
        .group("Second")
        .colour("last", "RGB ", {0, 1, 0})
        .groupEnd()
        .block(0x1234, {});
    const ExchangeReading reading = swatchexchange::Read(file.bytes());
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    // The first group names the palette; all colours, in or out of groups,
    // come in file order.
    QCOMPARE(reading.palette.name, QStringLiteral("Brand"));
    QCOMPARE(reading.palette.colors,
             (QList<Color>{MakeColor(255, 0, 0), MakeColor(0, 128, 255), Black, White,
                           MakeColor(51, 51, 51), MakeColor(0, 255, 0)}));

    // Minor versions above 0 read alike.
    QVERIFY(swatchexchange::Read(file.bytes(1, 1)).ok());
}

void tst_paletteexchange::aseMalformed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    AseBuilder one;
    one.colour("red", "RGB ", {1, 0, 0});
    const QByteArray good = one.bytes();
    auto colourData = [](const QByteArray& name, const QByteArray& model, int floats) {
        QByteArray data = name + model;
        for (int i = 0; i < floats; ++i)
            data += AseBuilder::be32(std::bit_cast<quint32>(0.5f));
        return data + AseBuilder::be16(2);
    };

    QTest::newRow("shorter than a header") << good.left(11) << "shorter than the 12-byte header";
    QTest::newRow("wrong magic") << QByteArray("ASEX") + good.mid(4)
                                 << "does not begin with \"ASEF\"";
    QTest::newRow("other program's file") << QByteArray("GIMP Palette\n1 2 3\n") << "\"ASEF\"";
    QTest::newRow("version 2") << one.bytes(2, 0) << "version 2.0";
    QTest::newRow("version 0") << one.bytes(0, 9) << "version 0.9";
    QTest::newRow("absurd block count")
        << one.bytesWithCount(0xFFFFFFFF) << "claims 4294967295 blocks at byte 8, more than its";
    QTest::newRow("one block more than it holds")
        << one.bytesWithCount(2) << "ends inside block 2 of 2";
    QTest::newRow("length past the end")
        << good.left(good.size() - 1) << "block 1 runs past the end of the file";
    QTest::newRow("huge length")
        << AseBuilder().block(0x0001, {}).bytes().replace(14, 4, AseBuilder::be32(0xFFFFFFF0))
        << "block 1 runs past the end";
    QTest::newRow("name count past the block")
        << AseBuilder().block(0x0001, AseBuilder::be16(40) + AseBuilder::be16('a')).bytes()
        << "block 1 is too short for the name of its color";
    QTest::newRow("empty colour block") << AseBuilder().block(0x0001, {}).bytes()
                                        << "block 1 is too short for the name of its color";
    QTest::newRow("unpaired high surrogate")
        << AseBuilder()
               .block(0x0001, colourData(AseBuilder::units({'a', 0xD834, 'b', 0}), "RGB ", 3))
               .bytes()
        << "the name of the color in block 1 is not valid UTF-16";
    QTest::newRow("high surrogate at the end")
        << AseBuilder()
               .block(0x0001, colourData(AseBuilder::units({'a', 0xD834}), "RGB ", 3))
               .bytes()
        << "not valid UTF-16";
    QTest::newRow("lone low surrogate")
        << AseBuilder().group("ok").block(0xC001, AseBuilder::units({0xDD1E, 0})).bytes()
        << "the name of the group in block 2 is not valid UTF-16";
    QTest::newRow("group name past its block")
        << AseBuilder().block(0xC001, AseBuilder::be16(3)).bytes()
        << "block 1 is too short for the name of its group";
    QTest::newRow("unknown model")
        << AseBuilder().block(0x0001, colourData(AseBuilder::counted("x"), "HSB ", 3)).bytes()
        << "block 1 uses the color model \"HSB \"";
    QTest::newRow("model cut off")
        << AseBuilder().block(0x0001, AseBuilder::counted("x") + "RG").bytes()
        << "block 1 ends before its color model";
    QTest::newRow("values cut off")
        << AseBuilder()
               .block(0x0001, colourData(AseBuilder::counted("x"), "CMYK", 3).chopped(2))
               .bytes()
        << "block 1 ends inside its color values";
    QTest::newRow("not a number")
        << AseBuilder().colour("x", "RGB ", {0, std::numeric_limits<float>::quiet_NaN(), 0}).bytes()
        << "block 1 holds a color value that is not a number";
    QTest::newRow("infinite")
        << AseBuilder().colour("x", "Gray", {std::numeric_limits<float>::infinity()}).bytes()
        << "not a number";
}

void tst_paletteexchange::aseMalformed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = swatchexchange::Read(content);
    QVERIFY(!reading.ok());
    QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    QVERIFY(reading.palette.colors.isEmpty());
}

void tst_paletteexchange::aseEveryTruncation_refused()
{
    AseBuilder file;
    file.group("G").colour("a", "CMYK", {0.1f, 0.2f, 0.3f, 0.4f}).block(0x0042, "xyz").groupEnd();
    const QByteArray whole = file.bytes();
    QVERIFY(swatchexchange::Read(whole).ok());
    for (qsizetype size = 0; size < whole.size(); ++size)
        QVERIFY2(!swatchexchange::Read(whole.left(size)).ok(), qPrintable(QString::number(size)));
}

void tst_paletteexchange::aseWrite_layout()
{
    const ExchangePalette palette{QStringLiteral("P"), {MakeColor(255, 0, 51)}, {}};
    const QByteArray expected = AseBuilder()
                                    .group("P")
                                    .colour("red", "RGB ", {1.0f, 0.0f, 51.0f / 255.0f}, 2)
                                    .groupEnd()
                                    .bytes();
    QCOMPARE(swatchexchange::Write(palette).toHex(' '), expected.toHex(' '));
}

void tst_paletteexchange::roundTrip_data()
{
    QTest::addColumn<paletteexchange::Format>("format");
    QTest::addColumn<QString>("name");
    QTest::newRow("GIMP") << paletteexchange::Format::Gimp << "Every value";
    QTest::newRow("GIMP, accented name")
        << paletteexchange::Format::Gimp << QString::fromUtf8("Caf\xC3\xA9 \xF0\x9D\x84\x9E #1");
    QTest::newRow("swatch exchange") << paletteexchange::Format::SwatchExchange << "Every value";
    QTest::newRow("swatch exchange, accented name")
        << paletteexchange::Format::SwatchExchange
        << QString::fromUtf8("Caf\xC3\xA9 \xF0\x9D\x84\x9E #1");
}

void tst_paletteexchange::roundTrip()
{
    QFETCH(paletteexchange::Format, format);
    QFETCH(QString, name);
    const ExchangePalette palette = everyChannelValue(name);
    const ExchangeReading reading =
        paletteexchange::Decode(paletteexchange::Encode(format, palette));
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, palette.name);
    QCOMPARE(reading.palette.colors, palette.colors);

    const ExchangePalette empty{name, {}, {}};
    const ExchangeReading none = paletteexchange::Decode(paletteexchange::Encode(format, empty));
    QVERIFY2(none.ok(), qPrintable(none.problem));
    QVERIFY(none.palette.colors.isEmpty());
}

void tst_paletteexchange::aseWrite_unpairedSurrogatesReplaced_data()
{
    // A design-token or JSON name may hold half a pair ("\\ud800"); the file
    // written must still be one that imports again.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    // Code units as they are, unpaired surrogates included.
    const auto units = [](std::initializer_list<char16_t> list) {
        return QString(reinterpret_cast<const QChar*>(list.begin()), qsizetype(list.size()));
    };
    constexpr char16_t High = 0xD834;
    constexpr char16_t Low = 0xDD1E;
    constexpr char16_t Replaced = 0xFFFD;
    QTest::newRow("lone high") << units({'a', High, 'b'}) << units({'a', Replaced, 'b'});
    QTest::newRow("high at the end") << units({'a', High}) << units({'a', Replaced});
    QTest::newRow("lone low first") << units({Low, 'z'}) << units({Replaced, 'z'});
    QTest::newRow("pair the wrong way round") << units({Low, High}) << units({Replaced, Replaced});
    QTest::newRow("pair kept") << units({High, Low}) << units({High, Low});
    QTest::newRow("two highs then a low")
        << units({High, High, Low}) << units({Replaced, High, Low});
}

void tst_paletteexchange::aseWrite_unpairedSurrogatesReplaced()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    const ExchangePalette palette{name, {MakeColor(1, 2, 3)}, {}};
    const ExchangeReading reading = swatchexchange::Read(swatchexchange::Write(palette));
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.palette.name, written);
    QCOMPARE(reading.palette.colors, palette.colors);
}

void tst_paletteexchange::modelConversions_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<QString>("expected");
    QTest::newRow("RGB") << "RGB" << QList<double>{1, 0.5, 0.2} << "#FF8033";
    QTest::newRow("RGB tie to even")
        << "RGB" << QList<double>{0.5, 2.5 / 255, 1.5 / 255} << "#800202";
    QTest::newRow("RGB clamped") << "RGB" << QList<double>{1.5, -0.25, 1} << "#FF00FF";
    QTest::newRow("Gray black") << "Gray" << QList<double>{0} << "#000000";
    QTest::newRow("Gray 0.2") << "Gray" << QList<double>{0.2} << "#333333";
    QTest::newRow("Gray clamped") << "Gray" << QList<double>{7} << "#FFFFFF";
    QTest::newRow("CMYK paper") << "CMYK" << QList<double>{0, 0, 0, 0} << "#FFFFFF";
    QTest::newRow("CMYK black ink") << "CMYK" << QList<double>{0, 0, 0, 1} << "#000000";
    QTest::newRow("CMYK cyan") << "CMYK" << QList<double>{1, 0, 0, 0} << "#00FFFF";
    QTest::newRow("CMYK half and half") << "CMYK" << QList<double>{0.5, 0, 0, 0.5} << "#408080";
    QTest::newRow("CMYK clamped") << "CMYK" << QList<double>{-1, 2, 0, 0} << "#FF00FF";
    // Lab relative to D50: the white point, black, a neutral mid grey, and the
    // sRGB primaries as a D50 Lab calculator gives them.
    QTest::newRow("Lab white") << "LAB" << QList<double>{1, 0, 0} << "#FFFFFF";
    QTest::newRow("Lab black") << "LAB" << QList<double>{0, 0, 0} << "#000000";
    QTest::newRow("Lab L* 50") << "LAB" << QList<double>{0.5, 0, 0} << "#777777";
    QTest::newRow("Lab sRGB red") << "LAB" << QList<double>{0.5429173, 80.81246, 69.88504}
                                  << "#FF0000";
    QTest::newRow("Lab sRGB green")
        << "LAB" << QList<double>{0.8781813, -79.28728, 80.99026} << "#00FF00";
    QTest::newRow("Lab sRGB blue")
        << "LAB" << QList<double>{0.2956757, 68.29865, -112.02943} << "#0000FF";
    QTest::newRow("Lab #123456") << "LAB" << QList<double>{0.2067528, -2.27677, -24.59297}
                                 << "#123456";
    QTest::newRow("Lab #C8961E") << "LAB" << QList<double>{0.6558798, 12.04775, 63.75470}
                                 << "#C8961E";
    QTest::newRow("Lab outside sRGB clipped") << "LAB" << QList<double>{1, 127, 127} << "#FF4300";
    QTest::newRow("Lab out of range clamped") << "LAB" << QList<double>{1.5, 300, 300} << "#FF4300";
}

void tst_paletteexchange::modelConversions()
{
    QFETCH(QString, model);
    QFETCH(QList<double>, values);
    QFETCH(QString, expected);
    const Color colour = converted(model, values);
    QCOMPARE(ColorToHtmlHex(colour), expected);
}

void tst_paletteexchange::cssAndJson()
{
    const ExchangePalette palette{
        QStringLiteral("My */ Colors #2"), {MakeColor(255, 0, 10), MakeColor(1, 22, 203)}, {}};
    QCOMPARE(paletteexchange::CssText(palette), QByteArray("/* My * / Colors #2 */\n"
                                                           ":root {\n"
                                                           "  --my-colors-2-red: #FF000A;\n"
                                                           "  --my-colors-2-mediumblue: #0116CB;\n"
                                                           "}\n"));
    // A name can end neither the comment nor a style element that holds the text.
    const QByteArray hostile = paletteexchange::CssText(
        {QStringLiteral("</style><script>x()</script><!-- */"), {Black}, {}});
    QVERIFY2(!hostile.contains('<') && !hostile.contains('>'), hostile.constData());
    QCOMPARE(hostile.count("*/"), 1);
    QVERIFY(hostile.startsWith("/* \\3C /style\\3E "));
    const ExchangePalette unnamed{QString::fromUtf8("\xC3\xA9t\xC3\xA9"), {White}, {}};
    QVERIFY(paletteexchange::CssText(unnamed).contains("  --\xC3\xA9t\xC3\xA9-white: #FFFFFF;\n"));
    QVERIFY(paletteexchange::CssText({QStringLiteral("***"), {Black}, {}})
                .contains("--color-black: #000000;"));

    const QJsonDocument json = QJsonDocument::fromJson(paletteexchange::JsonText(palette));
    QCOMPARE(json.object().keys(), QStringList({"colors", "name"}));
    QCOMPARE(json.object().value("name").toString(), palette.name);
    QCOMPARE(json.object().value("colors").toArray(), QJsonArray({"#FF000A", "#0116CB"}));
    // The JSON export is laid out as the other JSON formats are.
    QCOMPARE(paletteexchange::JsonText(palette), QByteArray("{\n"
                                                            "  \"name\": \"My */ Colors #2\",\n"
                                                            "  \"colors\": [\n"
                                                            "    \"#FF000A\",\n"
                                                            "    \"#0116CB\"\n"
                                                            "  ]\n"
                                                            "}\n"));
    // Quotes, backslashes and control characters in a name still read back.
    const QString awkward = QStringLiteral("\"a\\b\"\t\x01\u00e9\U0001F600");
    const QJsonDocument escaped =
        QJsonDocument::fromJson(paletteexchange::JsonText({awkward, {}, {}}));
    QCOMPARE(escaped.object().value("name").toString(), awkward);
    QCOMPARE(escaped.object().value("colors").toArray(), QJsonArray());
}

void tst_paletteexchange::cssNames_keepLettersOfEveryScript_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::newRow("accented") << QString::fromUtf8("\xC3\x89t\xC3\xA9")
                              << QByteArray("--\xC3\xA9t\xC3\xA9-white:");
    QTest::newRow("umlauts and a space") << QString::fromUtf8("\xC3\x84rger Gr\xC3\xBCn")
                                         << QByteArray("--\xC3\xA4rger-gr\xC3\xBCn-white:");
    QTest::newRow("Japanese")
        << QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE8\x89\xB2")
        << QByteArray("--\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE8\x89\xB2-white:");
    QTest::newRow("combining accent kept with its letter")
        << QString::fromUtf8("Cafe\xCC\x81 Noir") << QByteArray("--cafe\xCC\x81-noir-white:");
    QTest::newRow("letter beyond the BMP")
        << QString::fromUtf8("\xF0\x90\x90\x80 x") << QByteArray("--\xF0\x90\x90\xA8-x-white:");
    QTest::newRow("emoji is no letter")
        << QString::fromUtf8("\xF0\x9F\x8E\xA8 Art") << QByteArray("--art-white:");
}

void tst_paletteexchange::cssNames_keepLettersOfEveryScript()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    const QByteArray css = paletteexchange::CssText({name, {White}, {}});
    QVERIFY2(css.contains("  " + property + " #FFFFFF;\n"), css.constData());
    // A style sheet that holds other than ASCII says that it is UTF-8, first.
    QVERIFY(css.startsWith("@charset \"UTF-8\";\n/* "));
}

void tst_paletteexchange::decode_tellsFormatsApart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("problem");
    QTest::newRow("swatch exchange") << AseBuilder().colour("x", "Gray", {1}).bytes() << "";
    QTest::newRow("GIMP") << QByteArray("GIMP Palette\n255 255 255\n") << "";
    QTest::newRow("GIMP with byte order mark")
        << QByteArray("\xEF\xBB\xBFGIMP Palette\n255 255 255\n") << "";
    QTest::newRow("empty file") << QByteArray() << "the file is empty";
    QTest::newRow("something else")
        << QByteArray("Colors: red, green") << "it is not a palette file of a known format";
}

void tst_paletteexchange::decode_tellsFormatsApart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, problem);
    const ExchangeReading reading = paletteexchange::Decode(content);
    QCOMPARE(reading.ok(), problem.isEmpty());
    if (problem.isEmpty())
        QCOMPARE(reading.palette.colors, QList<Color>{White});
    else
        QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
}

void tst_paletteexchange::fileNames_data()
{
    QTest::addColumn<QString>("paletteName");
    QTest::addColumn<paletteexchange::Format>("format");
    QTest::addColumn<QString>("proposed");
    using F = paletteexchange::Format;
    QTest::newRow("plain") << "My Colors" << F::Gimp << "My Colors.gpl";
    QTest::newRow("refused characters")
        << "a/b\\c:d*e?f\"g<h>i|j\tk" << F::SwatchExchange << "a_b_c_d_e_f_g_h_i_j_k.ase";
    QTest::newRow("leading dots") << "..hidden" << F::Css << "hidden.css";
    QTest::newRow("nothing left") << "  " << F::Json << "palette.json";
}

void tst_paletteexchange::fileNames()
{
    QFETCH(QString, paletteName);
    QFETCH(paletteexchange::Format, format);
    QFETCH(QString, proposed);
    QCOMPARE(paletteexchange::ProposedBaseName(paletteName) + '.' +
                 paletteexchange::ExtensionOf(format),
             proposed);
    QCOMPARE(paletteexchange::FormatOfFileName(proposed), std::optional(format));
    QCOMPARE(paletteexchange::FormatOfFileName(proposed.toUpper()), std::optional(format));
    QVERIFY(!paletteexchange::FormatOfFileName("x.rgb"));
    QVERIFY(!paletteexchange::FormatOfFileName("gpl"));
}

void tst_paletteexchange::importFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("GIMP") << "Greens.gpl" << QByteArray("GIMP Palette\nName: Leaf\n0 128 0\n")
                          << "Leaf"
                          << "";
    QTest::newRow("nameless GIMP")
        << "Greens.gpl" << QByteArray("GIMP Palette\n0 128 0\n") << "Greens"
        << "";
    QTest::newRow("blank name") << "Greens.v2.gpl"
                                << QByteArray("GIMP Palette\nName:   \n0 128 0\n") << "Greens.v2"
                                << "";
    QTest::newRow("controls in the name") << "Greens.gpl"
                                          << QByteArray("GIMP Palette\nName: \x01"
                                                        "a\x00"
                                                        "b\x1b[31m\t\n0 128 0\n",
                                                        38)
                                          << "a b [31m"
                                          << "";
    // The two-part extension goes whole.
    QTest::newRow("nameless design tokens")
        << "Brand.Tokens.json" << QByteArray(R"({"leaf":{"$type":"color","$value":"#008000"}})")
        << "Brand"
        << "";
    QTest::newRow("nameless swatch exchange")
        << "Sea.ase" << AseBuilder().colour("x", "RGB ", {0, 0.5f, 0}).bytes() << "Sea"
        << "";
    QTest::newRow("malformed") << "Bad.gpl" << QByteArray("GIMP Palette\n1 2\n") << ""
                               << "line 2, \"1 2\", is not a colour";
    QTest::newRow("missing") << "Missing.gpl" << QByteArray() << ""
                             << "Could not import";
    QTest::newRow("folder") << "Folder.ase" << QByteArray() << ""
                            << "it is a folder";
    // Neither may hold the program up: a pipe has no writer, a device no end.
    QTest::newRow("named pipe") << "Pipe.gpl" << QByteArray() << ""
                                << "it is not a plain file";
    QTest::newRow("device") << "/dev/zero" << QByteArray() << ""
                            << "it is not a plain file";
    QTest::newRow("too large") << "Huge.gpl" << QByteArray() << ""
                               << "at 67108865 bytes it is too large for a palette (the limit is "
                                  "64 MiB)";
}

void tst_paletteexchange::importFile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = QDir::isAbsolutePath(file) ? file : dir.filePath(file);
    if (QTest::currentDataTag() == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(file));
    } else if (QTest::currentDataTag() == QLatin1String("named pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (QTest::currentDataTag() == QLatin1String("device")) {
        QVERIFY(QFileInfo::exists(path)); // the system's own, read only
    } else if (QTest::currentDataTag() == QLatin1String("too large")) {
        // Sparse: one byte over the limit costs no disk.
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(paletteexchange::MaxFileBytes + 1));
    } else if (QTest::currentDataTag() != QLatin1String("missing")) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    ExchangePalette palette{QStringLiteral("stale"), {Black}, {}};
    const FileResult result = paletteexchange::ImportFile(path, palette);
    QCOMPARE(result.ok, problem.isEmpty());
    if (result) {
        QCOMPARE(palette.colors, QList<Color>{MakeColor(0, 128, 0)});
        QCOMPARE(paletteexchange::ImportedName(palette, path), name);
    } else {
        QVERIFY2(result.message.contains(problem), qPrintable(result.message));
        QVERIFY2(result.message.contains(QDir::toNativeSeparators(path)),
                 qPrintable(result.message));
        QVERIFY(palette.colors.isEmpty());
    }
}

void tst_paletteexchange::importFile_stoppedByTheUser_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("whileDecoding");
    QByteArray gimp = "GIMP Palette\n";
    for (int i = 0; i < 200'000; ++i)
        gimp += "1 2 3\n";
    QByteArray page = "<html>";
    for (int i = 0; i < 200'000; ++i)
        page +=
            "<p style=\"color: #0000" + QByteArray::number(i % 100).rightJustified(2, '0') + "\">";
    QByteArray json = "{\"name\": \"n\", \"colors\": [";
    for (int i = 0; i < 200'000; ++i)
        json += "\"#000000\",";
    json += "\"#FFFFFF\"]}";
    QTest::newRow("GIMP, while reading the file") << gimp << false;
    QTest::newRow("GIMP, while decoding") << gimp << true;
    QTest::newRow("web page, while decoding") << page << true;
    QTest::newRow("style sheet, while decoding")
        << "a {" + page.mid(6).replace("<p style=\"", "").replace("\">", ";") + "}" << true;
    QTest::newRow("JSON, while decoding") << json << true;
}

void tst_paletteexchange::importFile_stoppedByTheUser()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, whileDecoding);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Large.txt"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(content), content.size());
    out.close();
    ExchangePalette unstopped;
    QVERIFY(paletteexchange::ImportFile(path, unstopped));
    QVERIFY(!unstopped.colors.isEmpty());

    // Reading takes the first half of the progress, decoding the second;
    // Cancel is pressed in the half the row names.
    qint64 lastDone = -1;
    bool grows = true;
    const Progress cancel = [&](qint64 done, qint64 total) {
        grows = grows && done >= lastDone && done <= total;
        lastDone = done;
        return whileDecoding && done <= total / 2;
    };
    ExchangePalette palette{QStringLiteral("stale"), {Black}, {}};
    const FileResult result = paletteexchange::ImportFile(path, palette, cancel);
    QVERIFY(result.wasCancelled());
    QVERIFY(palette.colors.isEmpty());
    QVERIFY(grows);
}

void tst_paletteexchange::exportFile_completeOrUntouched()
{
    QTemporaryDir dir;
    const ExchangePalette palette = everyChannelValue("Export");
    for (const auto format :
         {paletteexchange::Format::Gimp, paletteexchange::Format::SwatchExchange,
          paletteexchange::Format::Css, paletteexchange::Format::Json}) {
        const QString path =
            dir.filePath(palette.name + '.' + paletteexchange::ExtensionOf(format));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QVERIFY(paletteexchange::ExportFile(path, format, palette).ok);
        QCOMPARE(readFile(path), paletteexchange::Encode(format, palette));
    }
    // No folder to write in: a message naming the file, and no file.
    const QString nowhere = dir.filePath("missing/out.gpl");
    const FileResult failed =
        paletteexchange::ExportFile(nowhere, paletteexchange::Format::Gimp, palette);
    QVERIFY(!failed.ok);
    QVERIFY2(failed.message.startsWith("Could not export the palette to \"" +
                                       QDir::toNativeSeparators(nowhere) + "\""),
             qPrintable(failed.message));
    QVERIFY(!QFile::exists(nowhere));
}

void tst_paletteexchange::mutatedFiles_readSafelyOrRefused_data()
{
    QTest::addColumn<QByteArray>("seed");
    QTest::newRow("GIMP Tango") << readFile(testDataPath("gimp/Tango.gpl"));
    QTest::newRow("GIMP Visibone") << readFile(testDataPath("gimp/Visibone.gpl"));
    QTest::newRow("Illustrator swatches") << readFile(testDataPath("ase/illustrator-defaults.ase"));
    QTest::newRow("swatch exchange with groups")
        << AseBuilder()
               .group("G")
               .colour("a", "LAB ", {0.5f, 20, -30})
               .colour("b", "CMYK", {0.1f, 0.2f, 0.3f, 0.4f})
               .block(0x0042, "xyz")
               .groupEnd()
               .colour("c", "Gray", {0.25f})
               .bytes();
}

void tst_paletteexchange::mutatedFiles_readSafelyOrRefused()
{
    // Damaged copies of real files, as a disk, a download or a hostile sender
    // makes them: whatever the reader makes of one is either refused with a
    // reason or a palette that every format writes and reads back the same.
    QFETCH(QByteArray, seed);
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = seed;
        const int edits = 1 + random.bounded(4);
        for (int e = 0; e < edits && !damaged.isEmpty(); ++e) {
            const qsizetype at = random.bounded(damaged.size());
            switch (random.bounded(5)) {
            case 0:
                damaged[at] = char(random.bounded(256));
                break;
            case 1:
                damaged.truncate(at);
                break;
            case 2:
                damaged.insert(at, damaged.mid(random.bounded(damaged.size()), 8));
                break;
            case 3:
                damaged.remove(at, 1 + random.bounded(6));
                break;
            default: {
                // A length or count turned into a large number.
                QByteArray big(4, '\0');
                qToBigEndian(quint32(random.generate()), big.data());
                damaged.replace(at, 4, big);
            }
            }
        }
        const ExchangeReading reading = paletteexchange::Decode(damaged);
        if (!reading.ok()) {
            QVERIFY(reading.palette.colors.isEmpty());
            continue;
        }
        QVERIFY(reading.palette.colors.size() <= paletteexchange::MaxColors);
        const ExchangeReading viaGimp = paletteexchange::Decode(
            paletteexchange::Encode(paletteexchange::Format::Gimp, reading.palette));
        QVERIFY2(viaGimp.ok(), qPrintable(viaGimp.problem));
        QCOMPARE(viaGimp.palette.colors, reading.palette.colors);
        const ExchangeReading viaAse = paletteexchange::Decode(
            paletteexchange::Encode(paletteexchange::Format::SwatchExchange, reading.palette));
        QVERIFY2(viaAse.ok(), qPrintable(viaAse.problem));
        QCOMPARE(viaAse.palette.colors, reading.palette.colors);
        QCOMPARE(viaAse.palette.name, reading.palette.name);
        // A swatch exchange file keeps every name a GIMP line gives; the other
        // colours get names made from them.
        for (qsizetype i = 0; i < reading.palette.names.size(); ++i)
            if (!reading.palette.names.at(i).isEmpty())
                QCOMPARE(viaAse.palette.nameAt(i), reading.palette.names.at(i));
    }
}

QTEST_GUILESS_MAIN(tst_paletteexchange)
void tst_paletteexchange::readForExport_refusesMoreThanTheReadersTake()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c4.rgb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QByteArray("00FF00").repeated(3)) == 3 * paletterecords::RecordLength);
    file.close();
    QList<Color> colors;
    QVERIFY(paletteexchange::ReadForExport(path, colors));
    QCOMPARE(colors.size(), 3);

    // One colour past the bound; the holes of the file are never read.
    QVERIFY(file.resize((paletteexchange::MaxColors + 1) * paletterecords::RecordLength));
    colors.clear();
    const FileResult refused = paletteexchange::ReadForExport(path, colors);
    QVERIFY(!refused);
    QVERIFY2(refused.message.contains(QDir::toNativeSeparators(path)), qPrintable(refused.message));
    QVERIFY2(refused.message.contains(QStringLiteral("at most 1000000")),
             qPrintable(refused.message));
    QVERIFY(colors.isEmpty());
}

#include "tst_paletteexchange.moc"
