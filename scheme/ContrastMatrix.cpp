#include "scheme/ContrastMatrix.h"

#include "app/ClickableLabel.h"
#include "models/science/Contrast.h"
#include "scheme/SampleColors.h"
#include "scheme/SchemeContrast.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

using schemecontrast::Pairs;

namespace {

constexpr Color FailBack = bascommon::MakeColor(0xC6, 0x28, 0x28);
constexpr Color FailFore = bascommon::White;
constexpr Color FailText = bascommon::MakeColor(0xB7, 0x1C, 0x1C);
constexpr Color FailTextOnDark = bascommon::MakeColor(0xFF, 0x8A, 0x80);
constexpr Color PassBack = bascommon::MakeColor(0xE8, 0xF5, 0xE9);
constexpr Color PassFore = bascommon::MakeColor(0x1B, 0x5E, 0x20);

// Columns: pair, sample, ratio, four verdicts, fix.
constexpr int SampleColumn = 1;
constexpr int RatioColumn = 2;
constexpr int FirstVerdictColumn = 3;
constexpr int FixColumn = 7;

QLabel* cell(QWidget* parent, const QString& name, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* heading(QWidget* parent, const QString& text, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignBottom);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Dark red on a light window and light red on a dark one: the one that stands
// out more on the window the label lies on, at least 4.5:1 under either kind
// of theme.
Color failTextOn(const QPalette& window)
{
    const Color back = fromQColor(window.color(QPalette::Window));
    return wcag::ContrastRatio(FailText, back) >= wcag::ContrastRatio(FailTextOnDark, back)
               ? FailText
               : FailTextOnDark;
}

void markFailure(QLabel* label, bool failing)
{
    QFont font = label->font();
    font.setBold(failing);
    label->setFont(font);
    // Only the failing colour is the label's own; otherwise it takes the
    // window's text colour like any other label.
    const QPalette window = label->parentWidget() ? label->parentWidget()->palette() : QPalette();
    QPalette colors;
    if (failing)
        colors.setColor(QPalette::WindowText, toQColor(failTextOn(window)));
    label->setPalette(colors);
}

void showVerdict(QLabel* label, bool passes)
{
    label->setText(passes ? QStringLiteral("Pass") : QStringLiteral("Fail"));
    PaintSample(label, passes ? PassBack : FailBack, passes ? PassFore : FailFore);
    QFont font = label->font();
    font.setBold(!passes);
    label->setFont(font);
}

} // namespace

ContrastMatrix::ContrastMatrix(Fixes fixes, QWidget* parent) : QWidget(parent)
{
    buildRows(fixes);
}

void ContrastMatrix::buildRows(Fixes fixes)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    grid->addWidget(heading(this, QStringLiteral("On the background"), Qt::AlignLeft), 0, 0, 1, 2);
    grid->addWidget(heading(this, QStringLiteral("Ratio")), 0, RatioColumn);
    const QString verdictHeadings[] = {QStringLiteral("AA"), QStringLiteral("AA large"),
                                       QStringLiteral("AAA"), QStringLiteral("AAA large")};
    for (int column = 0; column < 4; ++column)
        grid->addWidget(heading(this, verdictHeadings[column]), 0, FirstVerdictColumn + column);

    const int linkHeadingRow = schemecontrast::OnBackgroundCount + 1;
    grid->setRowMinimumHeight(linkHeadingRow, 28);
    grid->addWidget(heading(this, QStringLiteral("Links against the body text"), Qt::AlignLeft),
                    linkHeadingRow, 0, 1, 2);
    grid->addWidget(heading(this, QStringLiteral("Ratio")), linkHeadingRow, RatioColumn);
    grid->addWidget(heading(this, QStringLiteral("3:1, for links marked by color alone")),
                    linkHeadingRow, FirstVerdictColumn, 1, 4);

    for (int pair = 0; pair < int(Pairs.size()); ++pair) {
        const bool onBackground = pair < schemecontrast::OnBackgroundCount;
        const int index = onBackground ? pair : pair - schemecontrast::OnBackgroundCount;
        const int gridRow = onBackground ? pair + 1 : linkHeadingRow + 1 + index;
        const QString kind = onBackground ? QStringLiteral("Bg") : QStringLiteral("Link");
        const auto name = [index](const QString& base) {
            return base + QLatin1Char('_') + QString::number(index);
        };
        Row& row = m_rows[std::size_t(pair)];
        row.name =
            cell(this, name(QStringLiteral("lbl") + kind + QStringLiteral("Pair")), Qt::AlignLeft);
        row.name->setText(RoleName(Pairs[std::size_t(pair)].role));
        row.name->setToolTip(schemecontrast::PairName(Pairs[std::size_t(pair)]));
        row.sample = cell(this, name(QStringLiteral("lbl") + kind + QStringLiteral("Sample")));
        row.sample->setTextFormat(Qt::RichText);
        row.sample->setMinimumWidth(96);
        row.ratio = cell(this, name(QStringLiteral("lbl") + kind + QStringLiteral("Ratio")));
        row.ratio->setMinimumWidth(44);
        grid->addWidget(row.name, gridRow, 0);
        grid->addWidget(row.sample, gridRow, SampleColumn);
        grid->addWidget(row.ratio, gridRow, RatioColumn);
        if (onBackground) {
            const char* verdictNames[] = {"lblAANormal", "lblAALarge", "lblAAANormal",
                                          "lblAAALarge"};
            for (int column = 0; column < 4; ++column) {
                row.verdicts[std::size_t(column)] =
                    cell(this, name(QLatin1String(verdictNames[column])));
                row.verdicts[std::size_t(column)]->setMinimumWidth(56);
                grid->addWidget(row.verdicts[std::size_t(column)], gridRow,
                                FirstVerdictColumn + column);
            }
        } else {
            row.verdicts[0] = cell(this, name(QStringLiteral("lblLinkCheck")));
            grid->addWidget(row.verdicts[0], gridRow, FirstVerdictColumn, 1, 4);
        }
        if (fixes == Fixes::Offered) {
            row.fix = new QPushButton(QStringLiteral("Fix..."), this);
            row.fix->setObjectName(name(QStringLiteral("cmdFix") + kind));
            row.fix->setToolTip(QStringLiteral(
                "Propose the nearest color of the same hue that passes, for this role only"));
            row.fix->setEnabled(false);
            grid->addWidget(row.fix, gridRow, FixColumn);
            connect(row.fix, &QPushButton::clicked, this,
                    [this, pair] { emit fixRequested(pair); });
        }
    }
    grid->setColumnStretch(SampleColumn, 1);
}

void ContrastMatrix::showColors(const SchemeColors& shown)
{
    for (int pair = 0; pair < int(Pairs.size()); ++pair) {
        const schemecontrast::Pair& definition = Pairs[std::size_t(pair)];
        Row& row = m_rows[std::size_t(pair)];
        const double ratio = schemecontrast::PairRatio(shown, definition);
        row.failing = !wcag::Passes(ratio, definition.minimum);
        row.ratio->setText(wcag::RatioText(ratio));
        row.sample->setText(schemecontrast::SampleHtml(shown, definition));
        PaintSample(row.sample, shown.background, shown.text);
        markFailure(row.name, row.failing);
        markFailure(row.ratio, row.failing);
        if (pair < schemecontrast::OnBackgroundCount) {
            const wcag::Verdicts verdicts = wcag::Judge(ratio);
            showVerdict(row.verdicts[0], verdicts.aaNormal);
            showVerdict(row.verdicts[1], verdicts.aaLarge);
            showVerdict(row.verdicts[2], verdicts.aaaNormal);
            showVerdict(row.verdicts[3], verdicts.aaaLarge);
        } else {
            showVerdict(row.verdicts[0], !row.failing);
        }
    }
    updateFixButtons();
}

void ContrastMatrix::setFixesAllowed(bool allowed)
{
    m_fixesAllowed = allowed;
    updateFixButtons();
}

bool ContrastMatrix::failing(int pair) const
{
    return m_rows[std::size_t(pair)].failing;
}

void ContrastMatrix::updateFixButtons()
{
    for (const Row& row : m_rows) {
        if (row.fix)
            row.fix->setEnabled(m_fixesAllowed && row.failing);
    }
}
