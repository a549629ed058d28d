#include "scheme/frmShowweb.h"

#include "app/ClickableLabel.h"
#include "app/WindowRoutines.h"
#include "scheme/ColorVision.h"
#include "scheme/ContrastMatrix.h"
#include "scheme/SampleColors.h"
#include "scheme/VisionModeBox.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* sampleBox(QWidget* parent, const char* name, const QString& text, bool underlined)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::ClickFocus);
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    font.setUnderline(underlined);
    box->setFont(font);
    return box;
}

// The contrast panel keeps the usual window colours, whatever the scheme's
// background around it.
QFrame* contrastPanel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("fraAccess"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    QPalette plain = QApplication::palette(panel);
    plain.setResolveMask(~QPalette::ResolveMask(0));
    panel->setPalette(plain);
    panel->setAutoFillBackground(true);
    return panel;
}

} // namespace

frmShowweb::frmShowweb(Platform& platform, const SchemeColors& colors, const Captions& captions,
                       colorvision::VisionMode mode, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_colors(colors), m_captions(captions), m_mode(mode)
{
    setObjectName(QStringLiteral("frmShowweb"));
    setWindowTitle(QStringLiteral("Web Color Scheme Preview"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (parent)
        setFont(parent->font());

    Command1 = new QPushButton(QStringLiteral("&View Html and CSS Code"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("E&xit"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    txtTxt = sampleBox(this, "txtTxt", QStringLiteral("Text looks like this."), false);
    txtNl = sampleBox(this, "txtNl", QStringLiteral("Normal links look like this."), true);
    txtvl = sampleBox(this, "txtvl", QStringLiteral("Visited links look like this."), true);
    txtal = sampleBox(this, "txtal", QStringLiteral("Active links look like this."), true);
    txthl = sampleBox(this, "txthl", QStringLiteral("Hover links look like this."), true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addSpacing(12);
    for (QLineEdit* box : {txtTxt, txtNl, txtvl, txtal, txthl})
        layout->addWidget(box);

    cmdContrast = new QPushButton(QStringLiteral("C&ontrast and Color Vision"), this);
    cmdContrast->setObjectName(QStringLiteral("cmdContrast"));
    cmdContrast->setCheckable(true);
    auto* contrastRow = new QHBoxLayout;
    contrastRow->addWidget(cmdContrast);
    contrastRow->addStretch();
    layout->addSpacing(12);
    layout->addLayout(contrastRow);
    layout->addStretch();
    setMinimumSize(420, 230);

    connect(Command1, &QPushButton::clicked, this, &frmShowweb::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmShowweb::Command2_Click);
    connect(cmdContrast, &QPushButton::toggled, this, &frmShowweb::showContrastPanel);

    Form_Load();
}

void frmShowweb::Form_Load()
{
    SetTopmost(m_platform, this);

    txtTxt->setText(m_captions.text);
    for (const auto& [box, caption] :
         {std::pair{txtNl, &m_captions.normalLink}, std::pair{txtal, &m_captions.activeLink},
          std::pair{txtvl, &m_captions.visitedLink}, std::pair{txthl, &m_captions.hoverLink}})
        box->setText(*caption);

    showColors(m_mode);
    // Colours other than the scheme's own come with the panel that says why.
    if (m_mode != colorvision::VisionMode::Normal)
        cmdContrast->setChecked(true);
}

void frmShowweb::showContrastPanel(bool shown)
{
    // Built when first asked for: the preview itself stays as light as it was.
    if (shown && !fraAccess) {
        fraAccess = contrastPanel(this);
        cmbVision = new VisionModeBox(fraAccess);
        cmbVision->setObjectName(QStringLiteral("cmbVision"));
        cmbVision->setMode(m_mode);
        fraContrast = new ContrastMatrix(ContrastMatrix::Fixes::None, fraAccess);
        fraContrast->setObjectName(QStringLiteral("fraContrast"));
        fraContrast->showColors(colorvision::Simulate(m_colors, m_mode));
        auto* panelLayout = new QVBoxLayout(fraAccess);
        panelLayout->addLayout(cmbVision->labelledRow(QStringLiteral("&Color vision:")));
        panelLayout->addWidget(fraContrast);
        auto* layout = static_cast<QVBoxLayout*>(this->layout());
        layout->insertWidget(layout->count() - 1, fraAccess);
        connect(cmbVision, &VisionModeBox::modeChosen, this, &frmShowweb::showColors);
    }
    if (fraAccess)
        fraAccess->setVisible(shown);
    adjustSize();
}

void frmShowweb::showColors(colorvision::VisionMode mode)
{
    m_mode = mode;
    // The scheme's colours, which the panel's samples show in normal vision.
    const SchemeColors shown = colorvision::Simulate(m_colors, mode);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, toQColor(shown.background));
    setPalette(colors);
    setAutoFillBackground(true);

    PaintSample(txtTxt, shown.background, shown.text);
    PaintSample(txtNl, shown.background, shown.normalLink);
    PaintSample(txtal, shown.background, shown.activeLink);
    PaintSample(txtvl, shown.background, shown.visitedLink);
    PaintSample(txthl, shown.background, shown.hoverLink);
    if (fraContrast)
        fraContrast->showColors(shown);
}

void frmShowweb::Command1_Click()
{
    emit viewCodeRequested();
}

void frmShowweb::Command2_Click()
{
    accept();
    if (QWidget* owner = parentWidget())
        owner->activateWindow();
}
