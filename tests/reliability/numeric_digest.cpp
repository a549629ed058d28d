// Prints one digest per numeric routine that claims exact results, over every
// input where that is fast and a fixed sample elsewhere. The test builds this
// program twice, once against the libraries as the build makes them and once
// from the same sources compiled without optimisation, and requires the two
// to print the same lines: a ratio, a simulated colour or an imported colour
// must not change with the optimiser.
#include "models/notations/ColorNotations.h"
#include "models/science/ColorScience.h"
#include "models/notations/CssColor.h"
#include "palettes/exchange/SwatchExchange.h"
#include "scheme/ColorVision.h"
#include "models/science/Contrast.h"
#include "scheme/LightnessSearch.h"
#include "models/science/ColorScience.h"

#include <QString>

#include <bit>
#include <cstdio>

namespace {

class Digest
{
public:
    explicit Digest(const char* name) : m_name(name) {}
    ~Digest() { std::printf("%s %lld %016llx\n", m_name, m_count, m_hash); }
    void add(double value) { addBits(std::bit_cast<quint64>(value)); }
    void add(Color color) { addBits(quint64(color)); }
    void add(bool value) { addBits(quint64(value)); }
    void add(const QString& text)
    {
        for (QChar c : text)
            addBits(c.unicode());
    }

private:
    // FNV-1a over 64-bit words: not a cryptographic hash, but any change of
    // any result changes it with overwhelming likelihood, and it is cheap
    // enough for tens of millions of results in an unoptimised build.
    void addBits(quint64 bits)
    {
        m_hash = (m_hash ^ bits) * 0x100000001B3ULL;
        ++m_count;
    }

    const char* m_name;
    quint64 m_hash = 0xCBF29CE484222325ULL;
    long long m_count = 0;
};

// A fixed stream of pseudo-random numbers, the same in every build.
class Stream
{
public:
    quint32 next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(m_state >> 32);
    }
    // A float between `low` and `high`, as an exchange file stores it.
    double nextFloat(float low, float high)
    {
        return double(low + (high - low) * (float(next() >> 8) / float(1 << 24)));
    }

private:
    quint64 m_state = 0x853C49E6748FEA9BULL;
};

Color colourAt(quint32 index)
{
    return bascommon::MakeColor(int(index & 0xFF), int((index >> 8) & 0xFF),
                                int((index >> 16) & 0xFF));
}

constexpr quint32 AllColours = 1u << 24;

} // namespace

int main()
{
    using namespace colorvision;
    {
        Digest digest("srgb::FromLinear");
        for (int i = -1000; i <= 1100000; ++i)
            digest.add(Color(colorscience::LinearToChannel(i / 1000000.0)));
        for (int channel = 0; channel < 256; ++channel)
            digest.add(
                Color(colorscience::LinearToChannel(colorscience::ChannelToLinear(channel))));
    }
    {
        Digest digest("wcag::RelativeLuminance");
        for (quint32 i = 0; i < AllColours; ++i)
            digest.add(wcag::RelativeLuminance(colourAt(i)));
    }
    {
        Digest digest("wcag::ContrastRatio");
        const Color fixed[] = {bascommon::MakeColor(255, 255, 255), bascommon::MakeColor(0, 0, 0),
                               bascommon::MakeColor(0x77, 0x77, 0x77)};
        for (quint32 i = 0; i < AllColours; i += 5) {
            for (Color other : fixed) {
                const double ratio = wcag::ContrastRatio(colourAt(i), other);
                digest.add(ratio);
                const wcag::Verdicts verdicts = wcag::Judge(ratio);
                digest.add(verdicts.aaNormal);
                digest.add(verdicts.aaaLarge);
            }
        }
        Stream stream;
        for (int i = 0; i < 200000; ++i)
            digest.add(wcag::RatioText(
                wcag::ContrastRatio(colourAt(stream.next() >> 8), colourAt(stream.next() >> 8))));
    }
    for (VisionMode mode : {VisionMode::Protanopia, VisionMode::Deuteranopia,
                            VisionMode::Tritanopia, VisionMode::Grayscale}) {
        const QByteArray name = "colorvision::Simulate " + VisionModeName(mode).toLatin1();
        Digest digest(name.constData());
        for (quint32 i = 0; i < AllColours; i += 7)
            digest.add(Simulate(colourAt(i), mode));
    }
    {
        Digest digest("lightnesssearch::AtLightnessStep");
        for (quint32 i = 0; i < AllColours; i += 4099)
            for (int step = 0; step <= lightnesssearch::LightnessSteps; step += 3)
                digest.add(lightnesssearch::AtLightnessStep(colourAt(i), step));
    }
    {
        Digest digest("lightnesssearch::NearestPassing");
        const Color backgrounds[] = {bascommon::MakeColor(255, 255, 255),
                                     bascommon::MakeColor(0, 0, 0),
                                     bascommon::MakeColor(0x33, 0x66, 0x99)};
        for (quint32 i = 0; i < AllColours; i += 65537)
            for (Color background : backgrounds)
                for (double minimum : {wcag::AALarge, wcag::AANormal, wcag::AAANormal})
                    for (VisionMode mode : {VisionMode::Normal, VisionMode::Deuteranopia}) {
                        const auto found = lightnesssearch::NearestPassing(
                            colourAt(i), {{background, minimum}}, mode);
                        digest.add(found.has_value());
                        digest.add(found.value_or(0));
                    }
    }
    {
        Digest digest("swatchexchange::FromRgb FromGray");
        for (int i = -100; i <= (1 << 20) + 100; ++i) {
            const double fraction = double(float(i) / float(1 << 20));
            digest.add(swatchexchange::FromGray(fraction));
            digest.add(swatchexchange::FromRgb(fraction, 1.0 - fraction, fraction / 2));
        }
    }
    {
        Digest digest("swatchexchange::FromCmyk");
        Stream stream;
        for (int i = 0; i < 500000; ++i)
            digest.add(swatchexchange::FromCmyk(stream.nextFloat(0, 1), stream.nextFloat(0, 1),
                                                stream.nextFloat(0, 1), stream.nextFloat(0, 1)));
    }
    {
        Digest digest("swatchexchange::FromLab");
        Stream stream;
        for (int i = 0; i < 500000; ++i)
            digest.add(swatchexchange::FromLab(stream.nextFloat(0, 1), stream.nextFloat(-128, 127),
                                               stream.nextFloat(-128, 127)));
    }
    // The notations write the fewest digits that read back to the same colour,
    // so one digit more or less from a changed rounding shows in the text.
    for (notations::Notation notation : notations::AllNotations) {
        if (!notations::IsCss(notation))
            continue;
        const QByteArray name = "notations::Format " + notations::ShortName(notation).toLatin1();
        Digest digest(name.constData());
        for (quint32 i = 0; i < AllColours; i += 97) {
            digest.add(notations::Format(notation, colourAt(i)));
            digest.add(csscolor::ToColor(
                notations::ReadBack(notation, notations::Write(notation, colourAt(i)))));
        }
    }
    {
        // The generator's colours come out of the gamut mapping.
        Digest digest("colorscience::GamutMapToSrgb");
        Stream stream;
        for (int i = 0; i < 200000; ++i) {
            const colorscience::OkLch wanted{stream.nextFloat(0, 1), stream.nextFloat(0, 0.4f),
                                             stream.nextFloat(0, 360)};
            const colorscience::Srgb mapped = colorscience::GamutMapToSrgb(wanted);
            digest.add(mapped.r);
            digest.add(mapped.g);
            digest.add(mapped.b);
            digest.add(colorscience::ToColor(mapped));
        }
    }
    return 0;
}
