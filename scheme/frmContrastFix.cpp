#include "scheme/frmContrastFix.h"

#include "app/WindowRoutines.h"
#include "scheme/ColorVision.h"
#include "models/science/Contrast.h"
#include "scheme/SampleColors.h"
#include "scheme/SchemeContrast.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace bascommon;

namespace {

// The pair in the colours the mode shows, its true colour and its ratio
// written after the sample.
QLabel* sample(QWidget* parent, const char* name, const QString& caption,
               const schemecontrast::Pair& pair, const SchemeColors& colors,
               colorvision::VisionMode mode)
{
    const SchemeColors shown = colorvision::Simulate(colors, mode);
    const QString note = caption + QLatin1Char(' ') + ColorToHtmlHex(RoleColor(colors, pair.role)) +
                         QStringLiteral(", ") +
                         wcag::RatioText(schemecontrast::PairRatio(shown, pair));
    auto* label = new QLabel(schemecontrast::SampleHtml(shown, pair, note), parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumHeight(32);
    PaintSample(label, shown.background, shown.text);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

} // namespace

frmContrastFix::frmContrastFix(QWidget* parent, Platform& platform, int pairIndex,
                               const SchemeColors& before, const SchemeColors& after,
                               const std::vector<int>& kept, colorvision::VisionMode mode)
    : QDialog(parent)
{
    const schemecontrast::Pair& pair = schemecontrast::Pairs[std::size_t(pairIndex)];
    setObjectName(QStringLiteral("frmContrastFix"));
    setWindowTitle(QStringLiteral("Fix Contrast"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetTopmost(platform, this);

    const SchemeColors shownBefore = colorvision::Simulate(before, mode);
    const SchemeColors shownAfter = colorvision::Simulate(after, mode);
    QString question = schemecontrast::PairName(pair) + QStringLiteral(": ") +
                       wcag::RatioText(schemecontrast::PairRatio(shownBefore, pair)) +
                       QStringLiteral(", below the ") + wcag::RatioText(pair.minimum) +
                       QStringLiteral(" it needs.\nThe nearest color of the same hue that "
                                      "reaches it is ") +
                       ColorToHtmlHex(RoleColor(after, pair.role)) + QStringLiteral(", ") +
                       wcag::RatioText(schemecontrast::PairRatio(shownAfter, pair)) +
                       QStringLiteral(".");
    for (int other : kept) {
        const schemecontrast::Pair& keptPair = schemecontrast::Pairs[std::size_t(other)];
        question += QStringLiteral("\n") + schemecontrast::PairName(keptPair) +
                    QStringLiteral(" still passes: ") +
                    wcag::RatioText(schemecontrast::PairRatio(shownBefore, keptPair)) +
                    QStringLiteral(" now, ") +
                    wcag::RatioText(schemecontrast::PairRatio(shownAfter, keptPair)) +
                    QStringLiteral(" after.");
    }
    if (mode != colorvision::VisionMode::Normal)
        question += QStringLiteral("\nColors and ratios as seen with ") +
                    colorvision::VisionModeName(mode).toLower() +
                    QStringLiteral("; the proposal passes with normal vision too.");
    question +=
        QStringLiteral("\n\nUse it for the ") + RoleName(pair.role).toLower() + QStringLiteral("?");
    lblQuestion = new QLabel(question, this);
    lblQuestion->setObjectName(QStringLiteral("lblQuestion"));
    lblQuestion->setTextFormat(Qt::PlainText);

    lblOld = sample(this, "lblOld", QStringLiteral("now"), pair, before, mode);
    lblNew = sample(this, "lblNew", QStringLiteral("proposed"), pair, after, mode);

    cmdApply = new QPushButton(QStringLiteral("&Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblQuestion);
    layout->addWidget(lblOld);
    layout->addWidget(lblNew);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}
