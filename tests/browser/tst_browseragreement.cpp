// What a browser makes of the web text the program writes and reads: each
// CSS notation of a colour must draw that very colour in Chromium, a text the
// parser reads as CSS must mean to Chromium what it means to the parser, and
// the scheme's code and the saved colour page must give the page exactly
// their colours.
#include "HeadlessChromium.h"
#include "models/ColorInfoPage.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/ColorParser.h"
#include "models/notations/NamedColorTables.h"
#include "scheme/ModernCss.h"
#include "scheme/SchemeCode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QTest>

#include <cmath>
#include <set>

using notations::Notation;

Q_DECLARE_METATYPE(Notation)
Q_DECLARE_METATYPE(SchemeColors)

namespace {
enum class Code { BodyTag, InlineCss, CustomProperties, LightDark };
}
Q_DECLARE_METATYPE(Code)

namespace {

QString Hex(Color color)
{
    return bascommon::ColorToHtmlHex(color);
}

QString Json(const QJsonArray& array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// Every text is drawn as one canvas pixel with nothing under it and read back
// as 8-bit sRGB. A text the browser refuses leaves the sentinel style in
// place and reads as -1; a pixel that is not opaque reads as -2.
const char* const CanvasPage = R"(<!DOCTYPE html><html><body><pre id="out"></pre><script>
const texts = %1;
const canvas = document.createElement('canvas');
canvas.width = canvas.height = 1;
const context = canvas.getContext('2d', {willReadFrequently: true, colorSpace: 'srgb'});
context.globalCompositeOperation = 'copy';
context.fillStyle = 'rgba(1, 2, 3, 0.5)';
const sentinel = context.fillStyle;
const colors = texts.map(text => {
  context.fillStyle = sentinel;
  context.fillStyle = text;
  if (context.fillStyle === sentinel)
    return -1;
  context.fillRect(0, 0, 1, 1);
  const p = context.getImageData(0, 0, 1, 1).data;
  return p[3] !== 255 ? -2 : p[0] | p[1] << 8 | p[2] << 16;
});
document.getElementById('out').textContent = JSON.stringify(colors);
document.currentScript.remove();
</script></body></html>)";

// Each document in a frame of its own; once all have loaded, what the
// browser computes for the body, for a link never visited, for every
// element with a bgcolor attribute, and for the colours of every style rule
// (resolved on a probe element, so that var() and light-dark() count). All of
// it twice: in the light scheme and with the page forced to the dark one.
const char* const StylePage = R"(<!DOCTYPE html><html><body><pre id="out"></pre>%1<script>
function colors(doc) {
  const style = element => doc.defaultView.getComputedStyle(element);
  const probe = doc.body.appendChild(doc.createElement('span'));
  const link = doc.body.appendChild(doc.createElement('a'));
  link.href = '#never-visited';
  const rules = [];
  for (const sheet of doc.styleSheets)
    for (const rule of sheet.cssRules) {
      if (!rule.style)
        continue;
      const seen = [rule.selectorText];
      for (const property of ['color', 'background-color']) {
        probe.style.setProperty(property, rule.style.getPropertyValue(property) || 'transparent');
        seen.push(rule.style.getPropertyValue(property) ? style(probe).getPropertyValue(property) : '');
      }
      rules.push(seen);
    }
  const cells = [...doc.querySelectorAll('[bgcolor]')].filter(e => e !== doc.body)
                                                      .map(e => style(e).backgroundColor);
  const seen = {background: style(doc.body).backgroundColor, text: style(doc.body).color,
                link: style(link).color, rules: rules, cells: cells};
  probe.remove();
  link.remove();
  return seen;
}
window.addEventListener('load', () => {
  const frames = [...document.querySelectorAll('iframe')];
  const light = frames.map(frame => colors(frame.contentDocument));
  frames.forEach(frame => frame.contentDocument.documentElement.style.colorScheme = 'dark');
  const dark = frames.map(frame => colors(frame.contentDocument));
  document.getElementById('out').textContent =
      JSON.stringify(frames.map((frame, i) => ({light: light[i], dark: dark[i]})));
  frames.forEach(frame => frame.remove());
});
</script></body></html>)";

// The colours the notations are tried on: a grid of stride 11 through the
// whole cube, every grey and every colour on the cube's twelve edges (the
// primaries, the secondaries and the channels at their limits).
std::vector<Color> SampleColors()
{
    std::set<Color> colors;
    std::vector<int> grid;
    for (int v = 0; v < 256; v += 11)
        grid.push_back(v);
    grid.push_back(255);
    for (int r : grid)
        for (int g : grid)
            for (int b : grid)
                colors.insert(bascommon::MakeColor(r, g, b));
    for (int v = 0; v < 256; ++v) {
        colors.insert(bascommon::MakeColor(v, v, v));
        for (int a : {0, 255})
            for (int b : {0, 255}) {
                colors.insert(bascommon::MakeColor(v, a, b));
                colors.insert(bascommon::MakeColor(a, v, b));
                colors.insert(bascommon::MakeColor(a, b, v));
            }
    }
    return {colors.begin(), colors.end()};
}

// The notations a browser reads, each with the text that goes into CSS:
// the Tailwind value's hex, without the brackets around it.
const std::vector<Notation> BrowserNotations = [] {
    std::vector<Notation> all;
    for (Notation notation : notations::AllNotations)
        if (notations::IsCss(notation))
            all.push_back(notation);
    all.push_back(Notation::Tailwind);
    return all;
}();

QString CssText(Notation notation, Color color)
{
    const QString text = notations::Format(notation, color);
    return notation == Notation::Tailwind ? text.mid(1, text.size() - 2) : text;
}

// The same notation with four more decimals in every number: as near to the
// colour's exact value as a browser can tell.
constexpr int ExtraDecimals = 4;

QString PreciseText(Notation notation, Color color)
{
    const QString text = CssText(notation, color);
    if (!text.endsWith(QLatin1Char(')')) || notation == Notation::RgbSpace)
        return text; // whole channels are exact already
    std::array<int, 3> decimals = notations::Decimals(notation);
    for (int& d : decimals)
        d += ExtraDecimals;
    QStringList words = text.chopped(1).split(QLatin1Char(' '));
    const notations::WrittenComponents written = notations::Write(notation, color, decimals);
    for (int i = 0; i < 3; ++i) {
        const notations::Written& w = written[std::size_t(i)];
        QString& word = words[words.size() - 3 + i];
        const QString opening = word.left(word.lastIndexOf(QLatin1Char('(')) + 1);
        word = opening +
               QString::number(double(w.mantissa) / std::pow(10.0, w.decimals), 'f', w.decimals) +
               (w.unit == csscolor::Unit::Percent ? QStringLiteral("%") : QString());
    }
    return words.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// Chromium's error on a colour: at most one step in any channel.
bool WithinAStep(int drawn, Color color)
{
    if (drawn < 0)
        return false;
    for (int shift : {0, 8, 16})
        if (std::abs((drawn >> shift & 255) - int(color >> shift & 255)) > 1)
            return false;
    return true;
}

// Texts the parser reads as CSS, in the forms the modern notations do not
// write: names, legacy commas, `none`, percentages, angle units, clamped and
// fractional channels, opaque alpha, the other colour spaces of color().
// All lie in sRGB: outside it CSS maps a colour in, and Chromium clips it.
QStringList ParserTexts()
{
    QStringList texts = {
        QStringLiteral("rgb(51, 102, 153)"),
        QStringLiteral("rgba(51, 102, 153, 1)"),
        QStringLiteral("rgb(20%, 40%, 60%)"),
        QStringLiteral("rgb(20% 40% 60% / 100%)"),
        QStringLiteral("RGB(51 102 153 / 1)"),
        QStringLiteral("rgb(51.4 102.5 152.5)"),
        QStringLiteral("rgb(0.5 1.5 254.5)"),
        QStringLiteral("rgb(300 -10 128)"),
        QStringLiteral("rgb(5.1e1 1.02e2 153)"),
        QStringLiteral("rgb(none 102 153)"),
        QStringLiteral("#369"),
        QStringLiteral("#369f"),
        QStringLiteral("#336699ff"),
        QStringLiteral("#AbCdEf"),
        QStringLiteral("hsl(210, 50%, 40%)"),
        QStringLiteral("hsla(210deg, 50%, 40%, 100%)"),
        QStringLiteral("hsl(0.5turn 50% 40%)"),
        QStringLiteral("hsl(3.14159rad 50% 40%)"),
        QStringLiteral("hsl(233.333grad 50% 40%)"),
        QStringLiteral("hsl(-150 50% 40%)"),
        QStringLiteral("hsl(570 50% 40%)"),
        QStringLiteral("hsl(none 50% 40%)"),
        QStringLiteral("hsl(210 -20% 40%)"),
        QStringLiteral("hsl(123.4 56.7% 45.6%)"),
        QStringLiteral("hwb(210 20% 40%)"),
        QStringLiteral("hwb(90 60% 60%)"),
        QStringLiteral("hwb(1rad none 10%)"),
        QStringLiteral("lab(50 40 -20)"),
        QStringLiteral("lab(50% 50% -50%)"),
        QStringLiteral("lab(50 none none)"),
        QStringLiteral("lab(120 0 0)"),
        QStringLiteral("lch(50% 40 0.25turn)"),
        QStringLiteral("lch(60 -10 30)"),
        QStringLiteral("lch(50 30 none)"),
        QStringLiteral("oklab(50% 0.1 -0.1)"),
        QStringLiteral("oklab(0.6 25% -25%)"),
        QStringLiteral("oklch(60% 30% 90deg)"),
        QStringLiteral("oklch(0.7 0.1 -40)"),
        QStringLiteral("oklch(0.5 none 200)"),
        QStringLiteral("oklch(0.62 0.12 1e2)"),
        QStringLiteral("color(srgb 20% 40% 60%)"),
        QStringLiteral("color(srgb 0.2 none 0.6 / 1)"),
        QStringLiteral("color(srgb-linear 0.1 0.2 0.3)"),
        QStringLiteral("color(display-p3 0.5 0.5 0.5)"),
        QStringLiteral("color(xyz 0.2 0.2 0.2)"),
        QStringLiteral("color(xyz-d65 0.3 0.25 0.2)"),
        QStringLiteral("color(xyz-d50 0.2 0.2 0.2)"),
        QStringLiteral("color(a98-rgb 0.4 0.5 0.6)"),
        QStringLiteral("color(prophoto-rgb 0.4 0.5 0.6)"),
        QStringLiteral("color(rec2020 0.4 0.5 0.6)"),
    };
    for (const namedcolors::CssName& name : namedcolors::CssNames)
        texts << QString::fromLatin1(name.name);
    texts << QStringLiteral("SteelBlue") << QStringLiteral("REBECCAPURPLE");
    // Tailwind's palette as the oklch() it is defined by, where it lies in sRGB.
    for (const namedcolors::TailwindEntry& entry : namedcolors::TailwindPalette) {
        const QString text = QStringLiteral("oklch(%1% %2 %3)")
                                 .arg(entry.lightnessPercent, 0, 'g', 10)
                                 .arg(entry.chroma, 0, 'g', 10)
                                 .arg(entry.hue, 0, 'g', 10);
        if (!colorparser::Parse(text).gamutMapped)
            texts << text;
    }
    return texts;
}

struct Scheme
{
    const char* name;
    SchemeColors colors;
};

// No colour equals a browser default, so that only the generated text can
// have given it.
const Scheme Schemes[] = {
    {"warm paper", {0x102030, 0xD0E8F0, 0xEE0011, 0x8B1A56, 0x0000FF, 0x55AA00}},
    {"night", {0xE0E0E0, 0x101418, 0xFFC080, 0xC080FF, 0x40FF40, 0x00FFFF}},
    {"near limits", {0x010101, 0xFEFEFE, 0x0100FF, 0xFF0001, 0x00FE01, 0x7F8081}},
};

const SchemeColors& OtherScheme(const SchemeColors& colors)
{
    return colors == Schemes[1].colors ? Schemes[0].colors : Schemes[1].colors;
}

const Color SavedPageColors[] = {0x000000, 0xFFFFFF, 0x996633, 0x0C0B0A, 0xBADCFE};

QString Document(Code code, const SchemeColors& colors)
{
    switch (code) {
    case Code::BodyTag:
        return QStringLiteral("<html><head></head>") + schemecode::HtmlText(colors) +
               QStringLiteral("</body></html>");
    case Code::InlineCss:
        return QStringLiteral("<html><head>") +
               schemecode::InlineCssText(schemecode::ExternalCssText(colors)) +
               QStringLiteral("</head><body></body></html>");
    case Code::CustomProperties:
        return QStringLiteral("<style>") + moderncss::CustomProperties(colors) +
               QStringLiteral("</style>");
    case Code::LightDark:
        return QStringLiteral("<style>") + moderncss::LightDark(colors, OtherScheme(colors)) +
               QStringLiteral("</style>");
    }
    return {};
}

QString Computed(Color color)
{
    return QStringLiteral("rgb(%1, %2, %3)")
        .arg(bascommon::GetRed(color))
        .arg(bascommon::GetGreen(color))
        .arg(bascommon::GetBlue(color));
}

QString Drawn(int color)
{
    return color == -1   ? QStringLiteral("refused")
           : color == -2 ? QStringLiteral("not opaque")
                         : Hex(Color(color));
}

} // namespace

class tst_BrowserAgreement : public QObject
{
    Q_OBJECT

    std::vector<Color> m_samples;
    QHash<QString, int> m_drawn;
    QHash<QString, QJsonObject> m_styles;

    void checkScheme(const QJsonObject& seen, const SchemeColors& colors, bool cssRules, bool lvha);

private slots:
    void initTestCase();
    void notationsDrawTheirColor_data();
    void notationsDrawTheirColor();
    void parserReadsAsBrowser_data();
    void parserReadsAsBrowser();
    void schemeCodeGivesItsColors_data();
    void schemeCodeGivesItsColors();
    void savedPageShowsItsColor_data();
    void savedPageShowsItsColor();
};

void tst_BrowserAgreement::initTestCase()
{
    if (headlesschromium::Program().isEmpty())
        QSKIP("chromium is not installed (scripts/install-deps.sh test installs Debian's package), "
              "so nothing can be held against a browser here");

    // One browser run draws every text, one more lays out every document.
    m_samples = SampleColors();
    QJsonArray texts;
    for (Color color : m_samples)
        for (Notation notation : BrowserNotations) {
            texts.append(CssText(notation, color));
            if (PreciseText(notation, color) != CssText(notation, color))
                texts.append(PreciseText(notation, color));
        }
    for (const QString& text : ParserTexts())
        texts.append(text);
    const headlesschromium::Result canvas =
        headlesschromium::Run(QString::fromLatin1(CanvasPage).arg(Json(texts)));
    QVERIFY2(canvas.ok, qPrintable(canvas.error));
    const QJsonArray drawn = QJsonDocument::fromJson(canvas.out.toUtf8()).array();
    QCOMPARE(drawn.size(), texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i)
        m_drawn.insert(texts[i].toString(), drawn[i].toInt());

    QStringList documents;
    QString frames;
    for (const Scheme& scheme : Schemes)
        for (Code code : {Code::BodyTag, Code::InlineCss, Code::CustomProperties, Code::LightDark})
            documents << Document(code, scheme.colors);
    for (Color color : SavedPageColors) {
        colorinfo::PageTexts page;
        page.hex = Hex(color);
        documents << colorinfo::PageLines(page).join(QStringLiteral("\r\n"));
    }
    for (const QString& document : documents)
        frames += QStringLiteral("<iframe srcdoc=\"%1\"></iframe>").arg(document.toHtmlEscaped());
    const headlesschromium::Result styles =
        headlesschromium::Run(QString::fromLatin1(StylePage).arg(frames));
    QVERIFY2(styles.ok, qPrintable(styles.error));
    const QJsonArray seen = QJsonDocument::fromJson(styles.out.toUtf8()).array();
    QCOMPARE(seen.size(), documents.size());
    for (qsizetype i = 0; i < documents.size(); ++i)
        m_styles.insert(documents[i], seen[i].toObject());
}

void tst_BrowserAgreement::notationsDrawTheirColor_data()
{
    QTest::addColumn<Notation>("notation");
    for (Notation notation : BrowserNotations)
        QTest::newRow(qPrintable(notations::ShortName(notation))) << notation;
}

void tst_BrowserAgreement::notationsDrawTheirColor()
{
    QFETCH(Notation, notation);
    // Chromium converts lab(), lch(), oklab(), oklch() and display-p3 to
    // sRGB less exactly than CSS's formulas: where red is small and green
    // large it draws red up to a step low, for some colours even from their
    // exact value. There a step is all the browser may differ by.
    const bool throughMatrices = notation == Notation::Lab || notation == Notation::Lch ||
                                 notation == Notation::Oklab || notation == Notation::Oklch ||
                                 notation == Notation::DisplayP3;
    QStringList wrong;
    int oneStep = 0;
    int preciseOff = 0;
    for (Color color : m_samples) {
        const QString text = CssText(notation, color);
        const int drawn = m_drawn.value(text, -3);
        if (drawn == int(color))
            continue;
        const int precise = m_drawn.value(PreciseText(notation, color), -3);
        if (throughMatrices && WithinAStep(drawn, color) && WithinAStep(precise, color)) {
            ++oneStep;
            preciseOff += precise != int(color);
            continue;
        }
        wrong << QStringLiteral("%1 for %2: Chromium draws %3 (and %4 for %5)")
                     .arg(text, Hex(color), Drawn(drawn), Drawn(precise),
                          PreciseText(notation, color));
    }
    if (oneStep > 0)
        qInfo("%d of %zu colours drawn a step off, %d of them even with %d more decimals", oneStep,
              m_samples.size(), preciseOff, ExtraDecimals);
    QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("%1 of %2 colours differ in Chromium:\n")
                                             .arg(wrong.size())
                                             .arg(m_samples.size()) +
                                         wrong.mid(0, 12).join(QLatin1Char('\n'))));
}

void tst_BrowserAgreement::parserReadsAsBrowser_data()
{
    QTest::addColumn<QString>("text");
    for (const QString& text : ParserTexts())
        QTest::newRow(qPrintable(text)) << text;
}

void tst_BrowserAgreement::parserReadsAsBrowser()
{
    QFETCH(QString, text);
    const colorparser::ParseResult parsed = colorparser::Parse(text);
    QVERIFY2(parsed.ok, qPrintable(parsed.message));
    QVERIFY(!parsed.gamutMapped);
    const int drawn = m_drawn.value(text, -3);
    using csscolor::Space;
    // The spaces Chromium converts through its own matrices, a step off at
    // worst (see notationsDrawTheirColor).
    const Space space = parsed.css.space;
    if (space != Space::Rgb && space != Space::Hsl && space != Space::Hwb && space != Space::Srgb &&
        WithinAStep(drawn, parsed.color))
        return;
    QCOMPARE(Drawn(drawn), Hex(parsed.color));
}

void tst_BrowserAgreement::schemeCodeGivesItsColors_data()
{
    QTest::addColumn<Code>("code");
    QTest::addColumn<SchemeColors>("colors");
    const std::pair<Code, const char*> codes[] = {{Code::BodyTag, "HTML body tag"},
                                                  {Code::InlineCss, "inline CSS"},
                                                  {Code::CustomProperties, "custom properties"},
                                                  {Code::LightDark, "light-dark()"}};
    for (const Scheme& scheme : Schemes)
        for (const auto& [code, name] : codes)
            QTest::addRow("%s, %s", name, scheme.name) << code << scheme.colors;
}

// The body's and an unvisited link's colours; with `cssRules`, every link
// rule's colour too (the states a script cannot put a link in), each rule
// once, and with `lvha` in the order link, visited, hover, active.
void tst_BrowserAgreement::checkScheme(const QJsonObject& seen, const SchemeColors& colors,
                                       bool cssRules, bool lvha)
{
    QCOMPARE(seen[QLatin1String("background")].toString(), Computed(colors.background));
    QCOMPARE(seen[QLatin1String("text")].toString(), Computed(colors.text));
    QCOMPARE(seen[QLatin1String("link")].toString(), Computed(colors.normalLink));
    if (!cssRules)
        return;
    QStringList selectors;
    QHash<QString, QString> ruleColors;
    for (const QJsonValue& rule : seen[QLatin1String("rules")].toArray()) {
        const QJsonArray parts = rule.toArray();
        const QString selector = parts[0].toString();
        if (selector == QLatin1String(":root"))
            continue;
        QVERIFY2(!selectors.contains(selector), qPrintable(selector));
        selectors << selector;
        ruleColors.insert(selector, parts[1].toString());
        if (selector == QLatin1String("body"))
            QCOMPARE(parts[2].toString(), Computed(colors.background));
    }
    QCOMPARE(ruleColors.value(QStringLiteral("body")), Computed(colors.text));
    QCOMPARE(ruleColors.value(QStringLiteral("a:link")), Computed(colors.normalLink));
    QCOMPARE(ruleColors.value(QStringLiteral("a:visited")), Computed(colors.visitedLink));
    QCOMPARE(ruleColors.value(QStringLiteral("a:hover")), Computed(colors.hoverLink));
    QCOMPARE(ruleColors.value(QStringLiteral("a:active")), Computed(colors.activeLink));
    QCOMPARE(selectors.size(), 5);
    if (lvha) {
        selectors.removeOne(QStringLiteral("body"));
        QCOMPARE(selectors, (QStringList{QStringLiteral("a:link"), QStringLiteral("a:visited"),
                                         QStringLiteral("a:hover"), QStringLiteral("a:active")}));
    }
}

void tst_BrowserAgreement::schemeCodeGivesItsColors()
{
    QFETCH(Code, code);
    QFETCH(SchemeColors, colors);
    const QJsonObject seen = m_styles.value(Document(code, colors));
    QVERIFY(!seen.isEmpty());
    const bool css = code != Code::BodyTag;
    const bool modern = code == Code::CustomProperties || code == Code::LightDark;
    checkScheme(seen[QLatin1String("light")].toObject(), colors, css, modern);
    if (QTest::currentTestFailed())
        return;
    // Only light-dark() follows the reader's choice of a dark scheme.
    checkScheme(seen[QLatin1String("dark")].toObject(),
                code == Code::LightDark ? OtherScheme(colors) : colors, css, modern);
}

void tst_BrowserAgreement::savedPageShowsItsColor_data()
{
    QTest::addColumn<Color>("color");
    for (Color color : SavedPageColors)
        QTest::newRow(qPrintable(Hex(color))) << color;
}

void tst_BrowserAgreement::savedPageShowsItsColor()
{
    QFETCH(Color, color);
    colorinfo::PageTexts page;
    page.hex = Hex(color);
    const QJsonObject seen =
        m_styles
            .value(colorinfo::PageLines(page).join(QStringLiteral("\r\n")))[QLatin1String("light")]
            .toObject();
    QCOMPARE(seen[QLatin1String("cells")].toArray(), (QJsonArray{Computed(color)}));
}

QTEST_GUILESS_MAIN(tst_BrowserAgreement)
#include "tst_browseragreement.moc"
