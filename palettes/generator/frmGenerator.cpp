#include "palettes/generator/frmGenerator.h"

#include "app/FittingScrollArea.h"
#include "app/platform/Platform.h"
#include "app/WindowRoutines.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/ColorParser.h"
#include "models/notations/FormatChoices.h"
#include "models/notations/FormatTemplate.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/generator/RampTheme.h"
#include "palettes/generator/SwatchGrid.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using colorgenerator::Swatch;
using colorgenerator::Swatches;

namespace {

const QString WindowTitle = QStringLiteral("Color Generator");

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void paintSwatchLabel(QLabel* label, Color color)
{
    QPalette colors = label->palette();
    colors.setColor(QPalette::Window, QColor(bascommon::GetRed(color), bascommon::GetGreen(color),
                                             bascommon::GetBlue(color)));
    label->setPalette(colors);
    label->setToolTip(bascommon::ColorToHtmlHex(color));
}

QLabel* swatchLabel(QWidget* parent, const char* name)
{
    auto* label = named(new QLabel(parent), name);
    label->setAutoFillBackground(true);
    label->setFrameShape(QFrame::Box);
    label->setFixedSize(40, 22);
    return label;
}

QPushButton* button(const QString& caption, QWidget* parent, const char* name)
{
    auto* pushButton = named(new QPushButton(caption, parent), name);
    // Enter in a colour field applies the colour; it must not press a button.
    pushButton->setAutoDefault(false);
    return pushButton;
}

QSpinBox* stepsBox(QWidget* parent, const char* name)
{
    auto* box = named(new QSpinBox(parent), name);
    box->setRange(colorgenerator::MinSteps, colorgenerator::MaxSteps);
    box->setValue(colorgenerator::DefaultSteps);
    return box;
}

// A drop-down list of the `count` values of an enumeration, by their names.
template <typename Enum>
QComboBox* choiceBox(QWidget* parent, const char* name, int count, QString (*nameOf)(Enum))
{
    auto* box = named(new QComboBox(parent), name);
    for (int i = 0; i < count; ++i)
        box->addItem(nameOf(Enum(i)));
    return box;
}

// Lists and spin boxes keep their own width; text fields take the rest.
QFormLayout* pageForm(QWidget* page)
{
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    return form;
}

QHBoxLayout* colorRow(QLabel* swatch, QLineEdit* field, QPushButton* pick)
{
    auto* row = new QHBoxLayout;
    row->addWidget(swatch);
    row->addWidget(field);
    row->addWidget(pick);
    row->addStretch();
    return row;
}

QLineEdit* colorField(QWidget* parent, const char* name)
{
    auto* field = named(new QLineEdit(parent), name);
    field->setMaxLength(colorparser::MaximumLength);
    field->setToolTip(QStringLiteral("Any color: #RRGGBB, rgb(), hsl(), oklch(), a CSS name..."));
    field->setFixedWidth(
        field->fontMetrics().horizontalAdvance(QStringLiteral("oklch(62.3% 0.214 259)")) + 12);
    return field;
}

// Asked for outside sRGB and moved by the mapping more than rounding to 8
// bits moves a colour (a quarter of the just-noticeable difference).
bool broughtIn(const Swatch& swatch)
{
    return swatch.mappingShift >= colorscience::JustNoticeableDeltaEOK / 4 &&
           !colorscience::InGamut(colorscience::ToSrgb(colorscience::ToOkLab(swatch.wanted)));
}

QString shiftText(double shift)
{
    return QString::number(shift, 'f', 3);
}

} // namespace

frmGenerator::frmGenerator(Platform& platform, Color base, Color pageBackground, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_base(base), m_pageBackground(pageBackground)
{
    setObjectName(QStringLiteral("frmGenerator"));
    setWindowTitle(WindowTitle);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (parent)
        setFont(parent->font());
    SetTopmost(m_platform, this);

    lblBase = swatchLabel(this, "lblBase");
    txtBase = colorField(this, "txtBase");
    cmdPickBase = button(QStringLiteral("&Pick..."), this, "cmdPickBase");
    auto* baseCaption = new QLabel(QStringLiteral("&Base color:"), this);
    baseCaption->setBuddy(txtBase);
    auto* baseRow = colorRow(lblBase, txtBase, cmdPickBase);
    baseRow->insertWidget(0, baseCaption);

    tabGenerator = named(new QTabWidget(this), "tabGenerator");
    tabGenerator->addTab(buildHarmonyPage(), QStringLiteral("&Harmonies"));
    tabGenerator->addTab(buildVariationPage(), QStringLiteral("&Variations"));
    tabGenerator->addTab(buildMixPage(), QStringLiteral("Mi&x"));
    tabGenerator->addTab(buildRampPage(), QStringLiteral("&Ramp"));
    tabGenerator->addTab(buildContrastPage(), QStringLiteral("C&ontrast"));

    grdSwatches = named(new SwatchGrid(this), "grdSwatches");
    lblSwatch = named(new QLabel(this), "lblSwatch");
    lblSwatch->setTextFormat(Qt::PlainText);
    lblSwatch->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblNote = named(new QLabel(this), "lblNote");
    lblNote->setTextFormat(Qt::PlainText);
    lblNote->setWordWrap(true);
    lblNote->setMinimumHeight(2 * lblNote->fontMetrics().height());
    lblNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdMakeCurrent = button(QStringLiteral("&Make Current"), this, "cmdMakeCurrent");
    cmdSave = button(QStringLiteral("&Save as Palette..."), this, "cmdSave");
    cmdClose = button(QStringLiteral("Close"), this, "cmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMakeCurrent);
    buttons->addWidget(cmdSave);
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(baseRow);
    layout->addWidget(tabGenerator);
    // A ramp's eleven swatches in one row are wider than a small screen.
    auto* swatchArea = new FittingScrollArea(grdSwatches, Qt::Horizontal, this);
    layout->addWidget(swatchArea);
    layout->addWidget(lblSwatch);
    layout->addWidget(lblNote);
    // Height to spare goes under the note, not into the pages' forms.
    layout->addStretch(1);
    layout->addLayout(buttons);

    buildSwatchMenu();

    wireColorField(txtBase, cmdPickBase, m_base, lblBase);
    connect(tabGenerator, &QTabWidget::currentChanged, this, &frmGenerator::regenerate);
    connect(grdSwatches, &SwatchGrid::hovered, this, [this](int index) {
        showSwatchInfo(index >= 0 ? index : grdSwatches->currentIndex());
    });
    connect(grdSwatches, &SwatchGrid::currentChanged, this, &frmGenerator::showSwatchInfo);
    // The arrow keys may select a swatch scrolled out of sight.
    connect(grdSwatches, &SwatchGrid::currentChanged, swatchArea, [this, swatchArea](int index) {
        if (index < 0)
            return;
        const QRect swatch = grdSwatches->swatchRect(index);
        swatchArea->ensureVisible(swatch.center().x(), swatch.center().y(), swatch.width(), 0);
    });
    connect(grdSwatches, &SwatchGrid::activated, this, &frmGenerator::makeCurrent);
    connect(grdSwatches, &SwatchGrid::contextMenuRequested, this, &frmGenerator::showSwatchMenu);
    connect(cmdMakeCurrent, &QPushButton::clicked, this,
            [this] { makeCurrent(grdSwatches->currentIndex()); });
    connect(cmdSave, &QPushButton::clicked, this, &frmGenerator::savePalette);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    setBaseColor(base);
    // Beside the main window, so that both the swatches and the colour made
    // current can be seen.
    if (parent) {
        FitToScreen(this, parent);
        PlaceBeside(this, parent);
    }
}

QWidget* frmGenerator::buildHarmonyPage()
{
    auto* page = new QWidget;
    cmbHarmony =
        choiceBox(page, "cmbHarmony", colorgenerator::HarmonyCount, colorgenerator::HarmonyName);
    sldAngle = named(new QSlider(Qt::Horizontal, page), "sldAngle");
    sldAngle->setRange(int(colorgenerator::MinAnalogousAngle),
                       int(colorgenerator::MaxAnalogousAngle));
    sldAngle->setValue(int(colorgenerator::DefaultAnalogousAngle));
    sldAngle->setMinimumWidth(160);
    lblAngle = named(new QLabel(page), "lblAngle");
    lblAngle->setMinimumWidth(
        lblAngle->fontMetrics().horizontalAdvance(QStringLiteral("000\u00B0")));
    auto* angleRow = new QHBoxLayout;
    angleRow->addWidget(sldAngle);
    angleRow->addWidget(lblAngle);
    angleRow->addStretch();

    QFormLayout* form = pageForm(page);
    form->addRow(QStringLiteral("Harmony:"), cmbHarmony);
    form->addRow(QStringLiteral("Analogous angle:"), angleRow);
    connect(cmbHarmony, &QComboBox::currentIndexChanged, this, &frmGenerator::regenerate);
    connect(sldAngle, &QSlider::valueChanged, this, &frmGenerator::regenerate);
    return page;
}

QWidget* frmGenerator::buildVariationPage()
{
    auto* page = new QWidget;
    cmbVariation = choiceBox(page, "cmbVariation", colorgenerator::VariationCount,
                             colorgenerator::VariationName);
    spnSteps = stepsBox(page, "spnSteps");
    QFormLayout* form = pageForm(page);
    form->addRow(QStringLiteral("Variation:"), cmbVariation);
    form->addRow(QStringLiteral("Steps:"), spnSteps);
    connect(cmbVariation, &QComboBox::currentIndexChanged, this, &frmGenerator::regenerate);
    connect(spnSteps, &QSpinBox::valueChanged, this, &frmGenerator::regenerate);
    return page;
}

QWidget* frmGenerator::buildMixPage()
{
    auto* page = new QWidget;
    lblMixWith = swatchLabel(page, "lblMixWith");
    txtMixWith = colorField(page, "txtMixWith");
    cmdPickMix = button(QStringLiteral("P&ick..."), page, "cmdPickMix");
    cmbMixSpace =
        choiceBox(page, "cmbMixSpace", colorgenerator::MixSpaceCount, colorgenerator::MixSpaceName);
    spnMixSteps = stepsBox(page, "spnMixSteps");
    txtMixWith->setText(bascommon::ColorToHtmlHex(m_mixWith));
    paintSwatchLabel(lblMixWith, m_mixWith);

    QFormLayout* form = pageForm(page);
    form->addRow(QStringLiteral("Mix with:"), colorRow(lblMixWith, txtMixWith, cmdPickMix));
    form->addRow(QStringLiteral("In:"), cmbMixSpace);
    form->addRow(QStringLiteral("Steps:"), spnMixSteps);
    wireColorField(txtMixWith, cmdPickMix, m_mixWith, lblMixWith);
    connect(cmbMixSpace, &QComboBox::currentIndexChanged, this, &frmGenerator::regenerate);
    connect(spnMixSteps, &QSpinBox::valueChanged, this, &frmGenerator::regenerate);
    return page;
}

QWidget* frmGenerator::buildRampPage()
{
    auto* page = new QWidget;
    txtRampName = named(new QLineEdit(QStringLiteral("primary"), page), "txtRampName");
    txtRampName->setMaxLength(60);
    cmdCopyTheme = button(QStringLiteral("&Copy @theme"), page, "cmdCopyTheme");
    cmdExportTheme = button(QStringLiteral("&Export @theme..."), page, "cmdExportTheme");
    auto* themeRow = new QHBoxLayout;
    themeRow->addWidget(cmdCopyTheme);
    themeRow->addWidget(cmdExportTheme);
    themeRow->addStretch();
    QFormLayout* form = pageForm(page);
    form->addRow(QStringLiteral("Name:"), txtRampName);
    form->addRow(QStringLiteral("Tailwind CSS v4:"), themeRow);
    connect(cmdCopyTheme, &QPushButton::clicked, this, &frmGenerator::copyTheme);
    connect(cmdExportTheme, &QPushButton::clicked, this, &frmGenerator::exportTheme);
    return page;
}

QWidget* frmGenerator::buildContrastPage()
{
    auto* page = new QWidget;
    cmbBackground = named(new QComboBox(page), "cmbBackground");
    cmbBackground->addItems({QStringLiteral("White"), QStringLiteral("Black"),
                             QStringLiteral("Page background"), QStringLiteral("Other color")});
    lblBackground = swatchLabel(page, "lblBackground");
    txtBackground = colorField(page, "txtBackground");
    cmdPickBackground = button(QStringLiteral("Pic&k..."), page, "cmdPickBackground");
    txtTargets =
        named(new QLineEdit(QLatin1String(colorgenerator::DefaultTargets), page), "txtTargets");
    txtTargets->setMaxLength(200);
    txtTargets->setToolTip(QStringLiteral("WCAG 2.2 contrast ratios, separated by commas"));
    txtBackground->setText(bascommon::ColorToHtmlHex(m_otherBackground));

    auto* backgroundRow = colorRow(lblBackground, txtBackground, cmdPickBackground);
    backgroundRow->insertWidget(0, cmbBackground);
    QFormLayout* form = pageForm(page);
    form->addRow(QStringLiteral("Against:"), backgroundRow);
    form->addRow(QStringLiteral("Target ratios:"), txtTargets);
    connect(cmbBackground, &QComboBox::currentIndexChanged, this, &frmGenerator::regenerate);
    wireColorField(txtBackground, cmdPickBackground, m_otherBackground, lblBackground);
    connect(txtTargets, &QLineEdit::textChanged, this, &frmGenerator::regenerate);
    return page;
}

void frmGenerator::buildSwatchMenu()
{
    mnuSwatch = named(new QMenu(this), "mnuSwatch");
    mnuSwatchMakeCurrent = mnuSwatch->addAction(QStringLiteral("&Make Current"));
    mnuSwatchMakeCurrent->setObjectName(QStringLiteral("mnuSwatchMakeCurrent"));
    mnuSwatchCopyHex = mnuSwatch->addAction(QStringLiteral("&Copy"));
    mnuSwatchCopyHex->setObjectName(QStringLiteral("mnuSwatchCopyHex"));
    mnuSwatchCopyAs = mnuSwatch->addMenu(QStringLiteral("Copy &As"));
    mnuSwatchCopyAs->setObjectName(QStringLiteral("mnuSwatchCopyAs"));
    // The menu is for the selected swatch: asking for it selects the swatch.
    connect(mnuSwatchMakeCurrent, &QAction::triggered, this,
            [this] { makeCurrent(grdSwatches->currentIndex()); });
    connect(mnuSwatchCopyHex, &QAction::triggered, this,
            [this] { copyHex(grdSwatches->currentIndex()); });
}

void frmGenerator::setBaseColor(Color color)
{
    m_base = color;
    txtBase->setText(bascommon::ColorToHtmlHex(color));
    paintSwatchLabel(lblBase, color);
    regenerate();
}

void frmGenerator::setPageBackground(Color color)
{
    if (color == m_pageBackground)
        return;
    m_pageBackground = color;
    if (Background(cmbBackground->currentIndex()) == Background::PageBackground)
        regenerate();
}

frmGenerator::Page frmGenerator::page() const
{
    return Page(tabGenerator->currentIndex());
}

const Swatches& frmGenerator::swatches() const
{
    return grdSwatches->swatches();
}

colorgenerator::Ramp frmGenerator::ramp() const
{
    return colorgenerator::DesignRamp(m_base);
}

Color frmGenerator::backgroundColor() const
{
    switch (Background(cmbBackground->currentIndex())) {
    case Background::White:
        return bascommon::White;
    case Background::Black:
        return bascommon::Black;
    case Background::PageBackground:
        return m_pageBackground;
    case Background::Other:
        break;
    }
    return m_otherBackground;
}

void frmGenerator::regenerate()
{
    // Built before the pages exist, the window has nothing to show yet.
    if (!grdSwatches)
        return;
    const bool other = Background(cmbBackground->currentIndex()) == Background::Other;
    txtBackground->setEnabled(other);
    cmdPickBackground->setEnabled(other);
    paintSwatchLabel(lblBackground, backgroundColor());
    const bool analogous =
        colorgenerator::Harmony(cmbHarmony->currentIndex()) == colorgenerator::Harmony::Analogous;
    sldAngle->setEnabled(analogous);
    lblAngle->setEnabled(analogous);
    lblAngle->setText(QString::number(sldAngle->value()) + QChar(0x00B0));

    Swatches swatches;
    QString note;
    switch (page()) {
    case Page::Harmonies:
        swatches = colorgenerator::Harmonize(
            m_base, colorgenerator::Harmony(cmbHarmony->currentIndex()), sldAngle->value());
        break;
    case Page::Variations:
        swatches = colorgenerator::Vary(
            m_base, colorgenerator::Variation(cmbVariation->currentIndex()), spnSteps->value());
        break;
    case Page::Mix:
        swatches = colorgenerator::Mix(m_base, m_mixWith,
                                       colorgenerator::MixSpace(cmbMixSpace->currentIndex()),
                                       spnMixSteps->value());
        break;
    case Page::Ramp:
        swatches = colorgenerator::DesignRamp(m_base).steps;
        break;
    case Page::Contrast:
        swatches = contrastSwatches(note);
        break;
    }
    lblNote->setText(note.isEmpty() ? noteFor(swatches) : note);
    grdSwatches->setSwatches(swatches);
    cmdSave->setEnabled(!swatches.isEmpty());
    cmdMakeCurrent->setEnabled(!swatches.isEmpty());
    showSwatchInfo(grdSwatches->currentIndex());
}

Swatches frmGenerator::contrastSwatches(QString& note) const
{
    QString problem;
    const QList<double> targets = colorgenerator::ParseTargets(txtTargets->text(), &problem);
    if (!problem.isEmpty()) {
        note = problem;
        return {};
    }
    const Color background = backgroundColor();
    const colorgenerator::ContrastScale scale =
        colorgenerator::ContrastTargets(m_base, background, targets);
    Swatches swatches;
    QStringList unreached;
    for (const colorgenerator::ContrastStep& step : scale.steps) {
        if (step.reached)
            swatches.append(step.swatch);
        else
            unreached.append(step.swatch.label);
    }
    if (!unreached.isEmpty())
        note =
            QStringLiteral("No color of this hue and chroma reaches ") +
            unreached.join(QStringLiteral(", ")) + QStringLiteral(" against ") +
            bascommon::ColorToHtmlHex(background) + QStringLiteral(": the most is ") +
            colorgenerator::AchievedRatioText(std::max(scale.darkerMaximum, scale.lighterMaximum)) +
            QLatin1Char('.');
    return swatches;
}

QString frmGenerator::noteFor(const Swatches& swatches) const
{
    int moved = 0;
    double largest = 0;
    for (const Swatch& swatch : swatches) {
        if (broughtIn(swatch)) {
            ++moved;
            largest = std::max(largest, swatch.mappingShift);
        }
    }
    QString note;
    if (moved > 0)
        note = (moved == 1 ? QStringLiteral("1 color lay")
                           : QString::number(moved) + QStringLiteral(" colors lay")) +
               QStringLiteral(" outside sRGB and lost chroma to CSS gamut mapping (at most "
                              "\u0394EOK ") +
               shiftText(largest) + QStringLiteral("). ");
    if (page() == Page::Contrast)
        note += QStringLiteral("Ratios are cut to two decimals, never rounded up.");
    return note.trimmed();
}

void frmGenerator::showSwatchInfo(int index)
{
    if (index < 0 || index >= swatches().size()) {
        lblSwatch->clear();
        return;
    }
    const Swatch& swatch = swatches().at(index);
    QString text = bascommon::ColorToHtmlHex(swatch.color) + QStringLiteral("   ");
    if (page() == Page::Contrast)
        text += QStringLiteral("reaches ") + swatch.detail + QStringLiteral(" against ") +
                bascommon::ColorToHtmlHex(backgroundColor()) + QStringLiteral(" (target ") +
                swatch.label + QLatin1Char(')');
    else
        text += swatch.label;
    if (swatch.isBase && swatch.label != QStringLiteral("Base"))
        text += QStringLiteral(" (the base color)");
    if (broughtIn(swatch))
        text += QStringLiteral("   brought into sRGB, \u0394EOK ") + shiftText(swatch.mappingShift);
    lblSwatch->setText(text);
}

void frmGenerator::makeCurrent(int index)
{
    if (index >= 0 && index < swatches().size())
        emit colorChosen(swatches().at(index).color);
}

void frmGenerator::copyHex(int index)
{
    if (index >= 0 && index < swatches().size())
        copyText(bascommon::ColorToHtmlHex(swatches().at(index).color));
}

void frmGenerator::copyText(const QString& text)
{
    m_platform.clearClipboard();
    m_platform.setClipboardText(text);
}

void frmGenerator::showSwatchMenu(int index, const QPoint& globalPosition)
{
    if (index < 0 || index >= swatches().size())
        return;
    const Color color = swatches().at(index).color;
    mnuSwatchCopyHex->setText(QStringLiteral("&Copy ") + bascommon::ColorToHtmlHex(color));
    fillCopyAsMenu(color);
    mnuSwatch->exec(globalPosition);
}

void frmGenerator::fillCopyAsMenu(Color color)
{
    // What the Color Formats window lists: every notation, then the user's
    // own templates, each with the text it copies.
    qDeleteAll(mnuSwatchCopyAs->actions());
    mnuSwatchCopyAs->clear();
    const auto add = [this](const QString& label, const QString& text, const QString& name) {
        const auto menuText = [](QString caption) {
            return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        };
        QAction* action =
            mnuSwatchCopyAs->addAction(menuText(label) + QLatin1Char('\t') + menuText(text));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, text] { copyText(text); });
    };
    for (const notations::Notation notation : notations::AllNotations)
        add(notations::Label(notation), notations::Format(notation, color),
            QStringLiteral("fmt") + notations::ShortName(notation));
    const FormatChoices choices = FormatChoices::fromSetting(
        m_platform.readSetting(FormatChoices::SettingKey, FormatChoices::Defaults().toSetting()));
    for (qsizetype i = 0; i < choices.templates.size(); ++i) {
        const formattemplate::Compiled compiled =
            formattemplate::Compile(choices.templates.at(i).text);
        if (compiled.ok)
            add(choices.templates.at(i).name, compiled.result.expand(color),
                QStringLiteral("fmtTemplate_%1").arg(i));
    }
}

void frmGenerator::savePalette()
{
    const QList<Color> colors = colorgenerator::ColorsOf(swatches());
    if (colors.isEmpty())
        return;
    const QString name = AskName(m_platform, this, QStringLiteral("Save as Palette"),
                                 QStringLiteral("Please input a name of new color palette:"));
    if (!name.isEmpty())
        emit paletteRequested(name, colors);
}

void frmGenerator::exportTheme()
{
    const QString name = txtRampName->text();
    const QString path = m_platform.chooseSaveFile(
        this, paletteexchange::ProposedBaseName(ramptheme::ThemeName(name)), QStringLiteral("css"),
        QStringLiteral("Tailwind CSS theme (*.css)"));
    if (path.isEmpty())
        return;
    if (FileResult written = ramptheme::ExportFile(path, ramptheme::TailwindTheme(name, ramp()));
        !written)
        m_platform.showMessage(this, written.message, Platform::Buttons::Ok,
                               Platform::Icon::Critical, WindowTitle);
}

void frmGenerator::copyTheme()
{
    copyText(QString::fromUtf8(ramptheme::TailwindTheme(txtRampName->text(), ramp())));
}

void frmGenerator::readTypedColor(QLineEdit* field, Color& color, QLabel* label)
{
    // Any colour a designer pastes: hex, rgb(), oklch(), a name, a code form.
    const colorparser::ParseResult typed = colorparser::Parse(field->text());
    if (!typed.ok) {
        // The last good colour stays; the field says what it still holds.
        lblNote->setText(typed.message);
        field->setText(bascommon::ColorToHtmlHex(color));
        return;
    }
    color = typed.color;
    field->setText(bascommon::ColorToHtmlHex(color));
    paintSwatchLabel(label, color);
    regenerate();
}

void frmGenerator::wireColorField(QLineEdit* field, QPushButton* pick, Color& color, QLabel* label)
{
    connect(field, &QLineEdit::editingFinished, this,
            [=, this, &color] { readTypedColor(field, color, label); });
    connect(pick, &QPushButton::clicked, this,
            [=, this, &color] { pickColor(field, color, label); });
}

void frmGenerator::pickColor(QLineEdit* field, Color& color, QLabel* label)
{
    const Color picked = m_platform.chooseColor(this, color);
    field->setText(bascommon::ColorToHtmlHex(picked));
    readTypedColor(field, color, label);
}
