#include "scheme/frmContrast.h"

#include "app/platform/Platform.h"
#include "app/WindowRoutines.h"
#include "scheme/ColorVision.h"
#include "models/science/Contrast.h"
#include "scheme/ContrastMatrix.h"
#include "scheme/SchemeContrast.h"
#include "scheme/VisionModeBox.h"
#include "scheme/frmContrastFix.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using colorvision::VisionMode;

frmContrast::frmContrast(Platform& platform, const SchemeColors& colors, VisionMode mode,
                         bool compactView, QWidget* owner)
    : QDialog(owner), m_platform(platform), m_colors(colors), m_mode(mode),
      m_compactView(compactView)
{
    setObjectName(QStringLiteral("frmContrast"));
    setWindowTitle(QStringLiteral("Scheme Contrast and Color Vision"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (owner)
        setFont(owner->font());
    SetTopmost(platform, this);

    cmbVision = new VisionModeBox(this);
    cmbVision->setObjectName(QStringLiteral("cmbVision"));
    fraContrast = new ContrastMatrix(ContrastMatrix::Fixes::Offered, this);
    fraContrast->setObjectName(QStringLiteral("fraContrast"));
    lblNote = new QLabel(this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(cmbVision->labelledRow(QStringLiteral("Color &vision:")));
    layout->addSpacing(6);
    layout->addWidget(fraContrast);
    layout->addWidget(lblNote);
    layout->addLayout(closeRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmbVision, &VisionModeBox::modeChosen, this, &frmContrast::visionModeChosen);
    connect(fraContrast, &ContrastMatrix::fixRequested, this, &frmContrast::fixPair);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    refresh();

    // Beside the main window, where it hides none of the scheme editor.
    if (owner)
        PlaceBeside(this, owner);
}

void frmContrast::showScheme(const SchemeColors& colors, VisionMode mode, bool compactView)
{
    m_colors = colors;
    m_mode = mode;
    m_compactView = compactView;
    refresh();
}

void frmContrast::done(int result)
{
    QDialog::done(result);
    emit visionModeChosen(VisionMode::Normal);
}

void frmContrast::refresh()
{
    const VisionMode mode = m_mode;
    cmbVision->setMode(mode);
    fraContrast->showColors(colorvision::Simulate(m_colors, mode));
    fraContrast->setFixesAllowed(!m_compactView);
    QString note = QStringLiteral("Ratios are cut to two decimals, never rounded up. "
                                  "Large text is 18 point, or 14 point bold.");
    if (mode != VisionMode::Normal)
        note = QStringLiteral("Colors and ratios as seen with ") +
               colorvision::VisionModeName(mode).toLower() + QStringLiteral(". ") + note;
    if (m_compactView)
        note += QStringLiteral(" Fixes need the full view, where the scheme editor shows.");
    lblNote->setText(note);
}

void frmContrast::fixPair(int pair)
{
    const schemecontrast::Pair& definition = schemecontrast::Pairs[std::size_t(pair)];
    const SchemeColors before = m_colors;
    const VisionMode mode = m_mode;
    const schemecontrast::FixProposal proposal = schemecontrast::ProposeFix(before, pair, mode);
    if (!proposal.color) {
        QString text = QStringLiteral("No color of the same hue reaches ") +
                       wcag::RatioText(definition.minimum) + QStringLiteral(" for the ") +
                       schemecontrast::PairName(definition).toLower();
        // Away from normal vision a proposal must pass both as the color is
        // and as it is seen, and light and dark can be on opposite sides.
        if (mode != VisionMode::Normal)
            text += QStringLiteral(" both as it is and as seen with ") +
                    colorvision::VisionModeName(mode).toLower();
        if (!proposal.kept.empty())
            text += QStringLiteral(" while keeping ") +
                    schemecontrast::PairListText(proposal.kept) + QStringLiteral(" passing");
        m_platform.showMessage(this, text + QLatin1Char('.'), Platform::Buttons::Ok,
                               Platform::Icon::Information, QStringLiteral("Fix Contrast"));
        return;
    }
    SchemeColors after = before;
    SetRoleColor(after, definition.role, *proposal.color);
    frmContrastFix question(this, m_platform, pair, before, after, proposal.kept, mode);
    if (question.exec() == QDialog::Accepted)
        emit roleColorFixed(definition.role, *proposal.color);
}
