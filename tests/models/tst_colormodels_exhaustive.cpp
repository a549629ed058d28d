// Every reading of every colour, and every setter over its whole valid input,
// held to the plain implementation that is built without optimisation. The
// examples elsewhere pin down the formulas; this catches an optimiser that
// drops one of their roundings to single precision, which changes a hue here
// and there among millions of colours and no example at all.
#include "models/cClrModels.h"
#include "tests/models/ColorModelReference.h"

#include <QTest>

#include <functional>
#include <stdexcept>

namespace ref = colormodelreference;

namespace {

using Input = std::array<int, 4>;
using Reader = std::function<int(const cClrModels&)>;
using Setter = std::function<void(cClrModels&, const Input&)>;
using ReferenceSetter = std::function<ref::Rgb(const Input&)>;

// Keeps the count of mismatches and the first few of them for the message.
class Mismatches
{
public:
    void add(const QString& what)
    {
        if (m_count++ < 5)
            m_examples << what;
    }
    bool none() const { return m_count == 0; }
    QByteArray message() const
    {
        return QStringLiteral("%1 mismatches, e.g. %2")
            .arg(m_count)
            .arg(m_examples.join(QStringLiteral("; ")))
            .toUtf8();
    }

private:
    qint64 m_count = 0;
    QStringList m_examples;
};

QString outcome(int value, bool overflow)
{
    return overflow ? QStringLiteral("overflow") : QString::number(value);
}

QString inputText(const Input& input, int used)
{
    QStringList parts;
    for (int i = 0; i < used; ++i)
        parts << QString::number(input[std::size_t(i)]);
    return QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// Walks every input of `ranges[i]` components, 0 to ranges[i] - 1 each, the
// last component fastest, taking one input in `stride`.
template <typename Visit>
void forEachInput(const Input& ranges, int used, qint64 stride, Visit visit)
{
    qint64 total = 1;
    for (int i = 0; i < used; ++i)
        total *= ranges[std::size_t(i)];
    Input input{};
    for (qint64 index = 0; index < total; index += stride) {
        qint64 rest = index;
        for (int i = used - 1; i >= 0; --i) {
            input[std::size_t(i)] = int(rest % ranges[std::size_t(i)]);
            rest /= ranges[std::size_t(i)];
        }
        visit(input);
    }
}

} // namespace

Q_DECLARE_METATYPE(Reader)
Q_DECLARE_METATYPE(Setter)
Q_DECLARE_METATYPE(ReferenceSetter)
Q_DECLARE_METATYPE(ref::Member)

class tst_colormodels_exhaustive : public QObject
{
    Q_OBJECT
private slots:
    void everyColour_readsAsThePlainFormulas_data();
    void everyColour_readsAsThePlainFormulas();
    void everyValidInput_setsAsThePlainFormulas_data();
    void everyValidInput_setsAsThePlainFormulas();
};

void tst_colormodels_exhaustive::everyColour_readsAsThePlainFormulas_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<ref::Member>("member");

    using M = ref::Member;
    QTest::newRow("cmyC") << Reader([](const cClrModels& c) { return int(c.cmyC()); }) << M::CmyC;
    QTest::newRow("cmyM") << Reader([](const cClrModels& c) { return int(c.cmyM()); }) << M::CmyM;
    QTest::newRow("cmyY") << Reader([](const cClrModels& c) { return int(c.cmyY()); }) << M::CmyY;
    QTest::newRow("cmykK") << Reader([](const cClrModels& c) { return int(c.cmykK()); })
                           << M::CmykK;
    QTest::newRow("cmykC") << Reader([](const cClrModels& c) { return int(c.cmykC()); })
                           << M::CmykC;
    QTest::newRow("cmykM") << Reader([](const cClrModels& c) { return int(c.cmykM()); })
                           << M::CmykM;
    QTest::newRow("cmykY") << Reader([](const cClrModels& c) { return int(c.cmykY()); })
                           << M::CmykY;
    QTest::newRow("hlsH") << Reader([](const cClrModels& c) { return int(c.hlsH()); }) << M::HlsH;
    QTest::newRow("hlsL") << Reader([](const cClrModels& c) { return int(c.hlsL()); }) << M::HlsL;
    QTest::newRow("hlsS") << Reader([](const cClrModels& c) { return int(c.hlsS()); }) << M::HlsS;
    QTest::newRow("ycbcrY") << Reader([](const cClrModels& c) { return int(c.ycbcrY()); })
                            << M::YcbcrY;
    QTest::newRow("ycbcrCb") << Reader([](const cClrModels& c) { return int(c.ycbcrCb()); })
                             << M::YcbcrCb;
    QTest::newRow("ycbcrCr") << Reader([](const cClrModels& c) { return int(c.ycbcrCr()); })
                             << M::YcbcrCr;
}

void tst_colormodels_exhaustive::everyColour_readsAsThePlainFormulas()
{
    QFETCH(Reader, reader);
    QFETCH(ref::Member, member);

    Mismatches mismatches;
    cClrModels models;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                models.setRgbR(std::uint8_t(r));
                models.setRgbG(std::uint8_t(g));
                models.setRgbB(std::uint8_t(b));
                int value = 0;
                bool overflow = false;
                try {
                    value = reader(models);
                } catch (const std::overflow_error&) {
                    overflow = true;
                }
                const ref::Reading expected = ref::Read(member, r, g, b);
                if (overflow != expected.overflow || (!overflow && value != expected.value))
                    mismatches.add(QStringLiteral("(%1, %2, %3) reads %4, not %5")
                                       .arg(r)
                                       .arg(g)
                                       .arg(b)
                                       .arg(outcome(value, overflow),
                                            outcome(expected.value, expected.overflow)));
            }
    QVERIFY2(mismatches.none(), mismatches.message().constData());
}

void tst_colormodels_exhaustive::everyValidInput_setsAsThePlainFormulas_data()
{
    QTest::addColumn<Setter>("setter");
    QTest::addColumn<ReferenceSetter>("reference");
    QTest::addColumn<Input>("ranges");
    QTest::addColumn<int>("components");
    QTest::addColumn<qint64>("stride");

    const auto s16 = [](int value) { return std::int16_t(value); };
    QTest::newRow("SetCMY, 0-255 each")
        << Setter([=](cClrModels& c, const Input& v) { c.SetCMY(s16(v[0]), s16(v[1]), s16(v[2])); })
        << ReferenceSetter([](const Input& v) { return ref::FromCmy(v[0], v[1], v[2]); })
        << Input{256, 256, 256, 1} << 3 << qint64(1);
    QTest::newRow("SetHLS, H 0-360, L and S 0-100")
        << Setter([=](cClrModels& c, const Input& v) { c.SetHLS(s16(v[0]), s16(v[1]), s16(v[2])); })
        << ReferenceSetter([](const Input& v) { return ref::FromHls(v[0], v[1], v[2]); })
        << Input{361, 101, 101, 1} << 3 << qint64(1);
    QTest::newRow("SetYCbCr, 0-255 each") << Setter([=](cClrModels& c, const Input& v) {
        c.SetYCbCr(s16(v[0]), s16(v[1]), s16(v[2]));
    }) << ReferenceSetter([](const Input& v) { return ref::FromYcbcr(v[0], v[1], v[2]); })
                                          << Input{256, 256, 256, 1} << 3 << qint64(1);
    // 101^4 inputs; a prime stride that shares no factor with 101 still
    // reaches every value of every component.
    QTest::newRow("SetCMYK, 0-100 each, one input in 11")
        << Setter([=](cClrModels& c, const Input& v) {
               c.SetCMYK(s16(v[0]), s16(v[1]), s16(v[2]), s16(v[3]));
           })
        << ReferenceSetter([](const Input& v) { return ref::FromCmyk(v[0], v[1], v[2], v[3]); })
        << Input{101, 101, 101, 101} << 4 << qint64(11);
}

void tst_colormodels_exhaustive::everyValidInput_setsAsThePlainFormulas()
{
    QFETCH(Setter, setter);
    QFETCH(ReferenceSetter, reference);
    QFETCH(Input, ranges);
    QFETCH(int, components);
    QFETCH(qint64, stride);

    Mismatches mismatches;
    forEachInput(ranges, components, stride, [&](const Input& input) {
        cClrModels models;
        bool overflow = false;
        try {
            setter(models, input);
        } catch (const std::overflow_error&) {
            overflow = true;
        }
        const ref::Rgb expected = reference(input);
        const bool same = overflow ? expected.overflow
                                   : !expected.overflow && models.rgbR() == expected.red &&
                                         models.rgbG() == expected.green &&
                                         models.rgbB() == expected.blue;
        if (!same)
            mismatches.add(
                QStringLiteral("%1 gives %2, not %3")
                    .arg(inputText(input, components),
                         overflow ? QStringLiteral("overflow")
                                  : inputText({models.rgbR(), models.rgbG(), models.rgbB(), 0}, 3),
                         expected.overflow
                             ? QStringLiteral("overflow")
                             : inputText({expected.red, expected.green, expected.blue, 0}, 3)));
    });
    QVERIFY2(mismatches.none(), mismatches.message().constData());
}

QTEST_GUILESS_MAIN(tst_colormodels_exhaustive)
#include "tst_colormodels_exhaustive.moc"
