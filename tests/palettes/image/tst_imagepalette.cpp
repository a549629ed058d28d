#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "models/science/ColorScience.h"
#include "palettes/image/ImageSource.h"
#include "palettes/image/PaletteExtraction.h"
#include "tests/palettes/image/SyntheticImages.h"

#include <chrono>
#include <future>

#include <sys/stat.h>

using bascommon::ColorToHtmlHex;
using bascommon::MakeColor;
using paletteextraction::Extraction;
using paletteextraction::PaletteColor;
using syntheticimages::Block;

Q_DECLARE_METATYPE(QList<Block>)
Q_DECLARE_METATYPE(QImage::Format)

namespace {

const Color Blue = MakeColor(0x3A, 0x6E, 0xA5);
const Color Yellow = MakeColor(0xF2, 0xC1, 0x4E);
const Color Red = MakeColor(0xD6, 0x2D, 0x20);
const Color Green = MakeColor(0x2E, 0x8B, 0x57);

QString describe(const QList<PaletteColor>& colors)
{
    QStringList parts;
    for (const PaletteColor& color : colors)
        parts.append(ColorToHtmlHex(color.color) + QLatin1Char(' ') +
                     paletteextraction::ShareText(color.share));
    return parts.join(QStringLiteral(", "));
}

// The extracted colour nearest to `wanted`, in OKLab.
const PaletteColor* nearestTo(const QList<PaletteColor>& colors, Color wanted)
{
    const PaletteColor* best = nullptr;
    double bestDistance = 1e9;
    for (const PaletteColor& color : colors) {
        const double d = colorscience::DeltaEOK(colorscience::ToOkLab(color.color),
                                                colorscience::ToOkLab(wanted));
        if (d < bestDistance) {
            bestDistance = d;
            best = &color;
        }
    }
    return best;
}

bool sharesDescend(const QList<PaletteColor>& colors)
{
    for (qsizetype i = 1; i < colors.size(); ++i)
        if (colors.at(i).share > colors.at(i - 1).share)
            return false;
    return true;
}

} // namespace

class tst_imagepalette : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void knownBlocks_comeBackWithTheirShares_data();
    void knownBlocks_comeBackWithTheirShares();
    void fewerDistinctColours_thanAskedFor_giveExactColours();
    void transparentHalf_isIgnored_data();
    void transparentHalf_isIgnored();
    void whollyTransparent_givesNoColours();
    void sameImage_sameColours();
    void largeImage_isSampled_andKeepsItsShares();
    void colourCount_isClamped();
    void cancel_stopsWithoutColours();
    void shareText_data();
    void shareText();

    void refusedFiles_data();
    void refusedFiles();
    void namedPipeWithoutWriter_answersAtOnce();
    void truncatedFiles_neverYieldAWrongPicture_data();
    void truncatedFiles_neverYieldAWrongPicture();
    void smallestBmp_isWhole();
    void accepted_isThirtyTwoBitsStraightAlpha_data();
    void accepted_isThirtyTwoBitsStraightAlpha();
    void openFilter_listsTheReadableFormats();
};

void tst_imagepalette::knownBlocks_comeBackWithTheirShares_data()
{
    QTest::addColumn<QList<Block>>("blocks");
    QTest::addColumn<int>("noise");
    QTest::addColumn<int>("count");
    QTest::addColumn<QImage::Format>("format");

    QTest::newRow("four equal blocks, noise")
        << QList<Block>{{Blue, 30}, {Yellow, 30}, {Red, 30}, {Green, 30}} << 4 << 4
        << QImage::Format_RGB32;
    QTest::newRow("60/25/10/5, noise")
        << QList<Block>{{Blue, 72}, {Yellow, 30}, {Red, 12}, {Green, 6}} << 4 << 4
        << QImage::Format_RGB32;
    QTest::newRow("two blocks, strong noise")
        << QList<Block>{{Blue, 80}, {Yellow, 40}} << 10 << 2 << QImage::Format_RGB32;
    QTest::newRow("premultiplied pixels")
        << QList<Block>{{Blue, 60}, {Red, 60}} << 3 << 2 << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("16 bits a channel")
        << QList<Block>{{Green, 90}, {Yellow, 30}} << 3 << 2 << QImage::Format_RGBA64;
}

void tst_imagepalette::knownBlocks_comeBackWithTheirShares()
{
    QFETCH(QList<Block>, blocks);
    QFETCH(int, noise);
    QFETCH(int, count);
    QFETCH(QImage::Format, format);
    const QImage image = syntheticimages::Stripes(blocks, 50, noise, format);
    const Extraction result = paletteextraction::Extract(image, count);
    QVERIFY(!result.cancelled);
    QCOMPARE(result.colors.size(), blocks.size());
    QVERIFY2(sharesDescend(result.colors), qPrintable(describe(result.colors)));
    int width = 0;
    for (const Block& block : blocks)
        width += block.columns;
    for (const Block& block : blocks) {
        const PaletteColor* found = nearestTo(result.colors, block.color);
        QVERIFY(found);
        // Noise that averages out: the centre is the block's own colour, to
        // well under a just-noticeable difference.
        const double distance = colorscience::DeltaEOK(colorscience::ToOkLab(found->color),
                                                       colorscience::ToOkLab(block.color));
        QVERIFY2(
            distance < colorscience::JustNoticeableDeltaEOK / 2,
            qPrintable(ColorToHtmlHex(block.color) + " came back as " + describe(result.colors)));
        QVERIFY2(qAbs(found->share - double(block.columns) / width) < 1e-9,
                 qPrintable(describe(result.colors)));
    }
}

void tst_imagepalette::fewerDistinctColours_thanAskedFor_giveExactColours()
{
    // 6 of 10 columns yellow, 4 blue: the example of the command line.
    const QImage image = syntheticimages::Stripes({{Yellow, 6}, {Blue, 4}}, 10);
    const Extraction result = paletteextraction::Extract(image, paletteextraction::DefaultColors);
    QCOMPARE(describe(result.colors), QStringLiteral("#F2C14E 60.0%, #3A6EA5 40.0%"));
}

void tst_imagepalette::transparentHalf_isIgnored_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("straight alpha") << QImage::Format_ARGB32;
    QTest::newRow("premultiplied") << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("8 bits a channel, RGBA byte order") << QImage::Format_RGBA8888;
}

void tst_imagepalette::transparentHalf_isIgnored()
{
    QFETCH(QImage::Format, format);
    // The left half is red but wholly transparent; the right half is green
    // over blue. Red must not come back, and the shares are of the visible half.
    QImage image(40, 40, QImage::Format_ARGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y,
                           x < 20   ? qRgba(214, 45, 32, 0)
                           : y < 30 ? qRgba(46, 139, 87, 255)
                                    : qRgba(58, 110, 165, 255));
    const Extraction result =
        paletteextraction::Extract(image.convertToFormat(format), paletteextraction::DefaultColors);
    QCOMPARE(describe(result.colors), QStringLiteral("#2E8B57 75.0%, #3A6EA5 25.0%"));
}

void tst_imagepalette::whollyTransparent_givesNoColours()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 0));
    const Extraction result = paletteextraction::Extract(image, 8);
    QVERIFY(result.colors.isEmpty());
    QVERIFY(!result.cancelled);
}

void tst_imagepalette::sameImage_sameColours()
{
    // k-means++ starts from random centres; with the fixed seed two runs,
    // and the same pixels in another 32-bit form, give the same palette.
    const QImage photo = syntheticimages::Photo(900, 700);
    const Extraction first = paletteextraction::Extract(photo, 12);
    const Extraction second = paletteextraction::Extract(photo.copy(), 12);
    const Extraction third =
        paletteextraction::Extract(photo.convertToFormat(QImage::Format_ARGB32), 12);
    QCOMPARE(first.colors.size(), 12);
    QCOMPARE(describe(second.colors), describe(first.colors));
    QCOMPARE(describe(third.colors), describe(first.colors));
    QVERIFY2(sharesDescend(first.colors), qPrintable(describe(first.colors)));
    double total = 0;
    for (const PaletteColor& color : first.colors)
        total += color.share;
    QVERIFY(qAbs(total - 1) < 1e-9);
}

void tst_imagepalette::largeImage_isSampled_andKeepsItsShares()
{
    // 3000 x 1000 pixels, far more than the sample: the shares are estimated
    // from the sample and must still be close.
    const QImage image =
        syntheticimages::Stripes({{Blue, 2100}, {Yellow, 600}, {Red, 300}}, 1000, 4);
    const QList<paletteextraction::WeightedColor> sample = paletteextraction::Sample(image);
    double sampled = 0;
    for (const paletteextraction::WeightedColor& color : sample)
        sampled += color.weight;
    QVERIFY(sampled <= paletteextraction::MaxSamples);
    QVERIFY(sampled > paletteextraction::MaxSamples * 0.95);

    const Extraction result = paletteextraction::Extract(image, 3);
    QCOMPARE(result.colors.size(), 3);
    const double expected[] = {0.7, 0.2, 0.1};
    const Color colours[] = {Blue, Yellow, Red};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(colorscience::DeltaEOK(colorscience::ToOkLab(result.colors.at(i).color),
                                        colorscience::ToOkLab(colours[i])) < 0.01,
                 qPrintable(describe(result.colors)));
        QVERIFY2(qAbs(result.colors.at(i).share - expected[i]) < 0.01,
                 qPrintable(describe(result.colors)));
    }
}

void tst_imagepalette::colourCount_isClamped()
{
    const QImage photo = syntheticimages::Photo(300, 200);
    QCOMPARE(paletteextraction::Extract(photo, 0).colors.size(), paletteextraction::MinColors);
    QCOMPARE(paletteextraction::Extract(photo, 1000).colors.size(), paletteextraction::MaxColors);
}

void tst_imagepalette::cancel_stopsWithoutColours()
{
    const QImage photo = syntheticimages::Photo(300, 200);
    int asked = 0;
    const Extraction result =
        paletteextraction::Extract(photo, 8, [&asked] { return ++asked > 3; });
    QVERIFY(result.cancelled);
    QVERIFY(result.colors.isEmpty());
}

void tst_imagepalette::shareText_data()
{
    QTest::addColumn<double>("share");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1.0 << "100.0%";
    QTest::newRow("example") << 0.4 << "40.0%";
    QTest::newRow("rounded") << 0.12345 << "12.3%";
    QTest::newRow("tiny") << 0.0004 << "0.0%";
}

void tst_imagepalette::shareText()
{
    QFETCH(double, share);
    QFETCH(QString, text);
    // Never the user's decimal comma.
    QLocale::setDefault(QLocale(QLocale::German));
    QCOMPARE(paletteextraction::ShareText(share), text);
    QLocale::setDefault(QLocale::c());
}

void tst_imagepalette::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("PNG claiming 200 megapixels")
        << syntheticimages::PngClaiming(20000, 10000) << "more than 100 megapixels";
    QTest::newRow("PNG claiming 65535 x 65535")
        << syntheticimages::PngClaiming(65535, 65535) << "more than 100 megapixels";
    QTest::newRow("GIF claiming 65535 x 65535")
        << syntheticimages::GifClaiming(65535, 65535) << "more than 100 megapixels";
    QTest::newRow("text") << QByteArray("body { color: #3A6EA5; }\n") << "is not an image";
    QTest::newRow("empty") << QByteArray() << "is not an image";
}

void tst_imagepalette::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("picture.png"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const imagesource::Loaded loaded = imagesource::ReadImageFile(path);
    QVERIFY(!loaded.ok());
    QVERIFY2(loaded.message.contains(reason), qPrintable(loaded.message));
    QVERIFY2(loaded.message.contains(QDir::toNativeSeparators(path)), qPrintable(loaded.message));
}

// A named pipe that nobody writes to (it could sit in any download folder)
// would hold the reading thread, and the program's end that waits for it,
// for ever.
void tst_imagepalette::namedPipeWithoutWriter_answersAtOnce()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("picture.png"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    std::future<imagesource::Loaded> reading =
        std::async(std::launch::async, [path] { return imagesource::ReadImageFile(path); });
    const bool answered = reading.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!answered) {
        QFile writer(path); // lets the stuck reading go
        QVERIFY(writer.open(QIODevice::WriteOnly));
    }
    QVERIFY2(answered, "the reading waited for a writer");
    const QString message = reading.get().message;
    QVERIFY2(message.contains(QStringLiteral("is not an image that can be read")),
             qPrintable(message));
}

void tst_imagepalette::truncatedFiles_neverYieldAWrongPicture_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<double>("kept");
    for (const char* format : {"png", "jpg", "bmp", "ppm", "gif"})
        for (const double kept : {0.05, 0.5, 0.95})
            QTest::addRow("%s, %.0f%% kept", format, kept * 100) << QByteArray(format) << kept;
}

// Qt's JPEG, GIF and BMP readers fill what is missing with grey or
// transparency and say nothing: the colours of such a picture are not the
// image's.
void tst_imagepalette::truncatedFiles_neverYieldAWrongPicture()
{
    QFETCH(QByteArray, format);
    QFETCH(double, kept);
    // Qt writes no GIF: two red pixels over two blue ones.
    const QByteArray gif = QByteArray::fromHex("47494638396102000200f00000ff00000000ff21f904"
                                               "00000000002c0000000002000200000203041205003b");
    const QByteArray whole =
        format == "gif" ? gif : syntheticimages::Encoded(syntheticimages::Photo(160, 120), format);
    QVERIFY(!whole.isEmpty());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cut.") + QString::fromLatin1(format));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(whole);
    file.close();
    QVERIFY2(imagesource::ReadImageFile(path).ok(), "the whole file is read");
    QVERIFY(QFile::resize(path, qint64(whole.size() * kept)));
    const imagesource::Loaded loaded = imagesource::ReadImageFile(path);
    QVERIFY(!loaded.ok());
    QVERIFY2(loaded.message.contains(QDir::toNativeSeparators(path)), qPrintable(loaded.message));
}

// One red pixel in OS/2's bitmap form: the file ends where a longer header
// would still go on.
void tst_imagepalette::smallestBmp_isWhole()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("dot.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("424d1e000000000000001a0000000c00000001000100010018000000ff00"));
    file.close();
    const imagesource::Loaded loaded = imagesource::ReadImageFile(path);
    QVERIFY2(loaded.ok(), qPrintable(loaded.message));
    QCOMPARE(loaded.image.pixel(0, 0), qRgb(255, 0, 0));
}

void tst_imagepalette::accepted_isThirtyTwoBitsStraightAlpha_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("indexed") << QImage::Format_Indexed8;
    QTest::newRow("grey") << QImage::Format_Grayscale8;
    QTest::newRow("premultiplied") << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("RGB888") << QImage::Format_RGB888;
    QTest::newRow("16 bits a channel") << QImage::Format_RGBA64;
}

void tst_imagepalette::accepted_isThirtyTwoBitsStraightAlpha()
{
    QFETCH(QImage::Format, format);
    QImage original(8, 8, QImage::Format_ARGB32);
    original.fill(qRgba(128, 128, 128, 255));
    original.setPixel(1, 1, qRgba(128, 128, 128, 128));
    const QImage converted = original.convertToFormat(format);
    const imagesource::Loaded loaded =
        imagesource::Accept(converted, QStringLiteral("The picture on the clipboard"));
    QVERIFY2(loaded.ok(), qPrintable(loaded.message));
    // The picker's sampling reads 32-bit pixels with straight alpha.
    QVERIFY(loaded.image.format() == QImage::Format_RGB32 ||
            loaded.image.format() == QImage::Format_ARGB32);
    QCOMPARE(qGray(loaded.image.pixel(0, 0)), qGray(converted.pixelColor(0, 0).rgb()));
    QCOMPARE(qAlpha(loaded.image.pixel(1, 1)), qAlpha(converted.pixelColor(1, 1).rgba()));

    QImage tooLarge(20000, 5001, QImage::Format_Mono);
    QVERIFY(!tooLarge.isNull());
    const imagesource::Loaded refused =
        imagesource::Accept(tooLarge, QStringLiteral("The picture"));
    QVERIFY(!refused.ok());
    QVERIFY2(refused.message.contains(QStringLiteral("more than 100 megapixels")),
             qPrintable(refused.message));
}

void tst_imagepalette::openFilter_listsTheReadableFormats()
{
    const QString filter = imagesource::OpenFilter();
    for (const char* pattern : {"*.png", "*.jpg", "*.jpeg", "*.gif", "*.bmp"})
        QVERIFY2(filter.contains(QLatin1String(pattern)), qPrintable(filter));
    QVERIFY(filter.endsWith(QStringLiteral(";;All files (*)")));
}

QTEST_GUILESS_MAIN(tst_imagepalette)
#include "tst_imagepalette.moc"
