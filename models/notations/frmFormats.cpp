#include "models/notations/frmFormats.h"

#include "app/FittingScrollArea.h"
#include "app/WindowRoutines.h"
#include "app/platform/Platform.h"
#include "models/notations/FormatTemplate.h"
#include "models/notations/NamedColors.h"
#include "models/science/Contrast.h"
#include "scheme/ModernCss.h"
#include "scheme/SchemeStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using notations::Notation;

namespace {

QString ContrastText(const QString& against, Color color, Color other)
{
    const double ratio = wcag::ContrastRatio(color, other);
    const wcag::Verdicts verdicts = wcag::Judge(ratio);
    const QString level = verdicts.aaaNormal  ? QStringLiteral("AAA")
                          : verdicts.aaNormal ? QStringLiteral("AA")
                          : verdicts.aaLarge  ? QStringLiteral("AA large text only")
                                              : QStringLiteral("fails AA");
    return QStringLiteral("%1: %2 (%3)").arg(against, wcag::RatioText(ratio), level);
}

QString NearestText(Color color, namedcolors::Palette palette)
{
    QStringList lines;
    for (const namedcolors::Match& match : namedcolors::Nearest(color, palette, 3))
        lines << namedcolors::MatchText(match);
    return lines.join(QLatin1Char('\n'));
}

QPlainTextEdit* CodeView(QWidget* parent, const char* name)
{
    auto* view = new QPlainTextEdit(parent);
    view->setObjectName(QLatin1String(name));
    view->setReadOnly(true);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    return view;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

frmFormats::frmFormats(Platform& platform, QString dataFolder, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_dataFolder(std::move(dataFolder))
{
    setObjectName(QStringLiteral("frmFormats"));
    setWindowTitle(QStringLiteral("Color Formats"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_choices = FormatChoices::fromSetting(
        m_platform.readSetting(FormatChoices::SettingKey, FormatChoices::Defaults().toSetting()));

    lblSwatch = new QLabel(this);
    lblSwatch->setObjectName(QStringLiteral("lblSwatch"));
    lblSwatch->setMinimumHeight(28);
    lblSwatch->setAutoFillBackground(true);
    lblSwatch->setAlignment(Qt::AlignCenter);

    tabFormats = new QTabWidget(this);
    tabFormats->setObjectName(QStringLiteral("tabFormats"));
    // Twenty rows and the facts under them are taller than a small screen.
    tabFormats->addTab(new FittingScrollArea(buildNotationsTab(), Qt::Vertical, this),
                       QStringLiteral("&Notations"));
    tabFormats->addTab(buildTemplatesTab(), QStringLiteral("&Templates"));
    tabFormats->addTab(buildSchemeTab(), QStringLiteral("&Scheme CSS"));

    cmdClose = Button(this, "cmdClose", QStringLiteral("Close"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSwatch);
    layout->addWidget(tabFormats);
    layout->addLayout(closeRow);

    refreshTemplateList();
    loadSavedSchemes();
    refreshNotations();
    if (parent)
        FitToScreen(this, parent);
}

QWidget* frmFormats::buildNotationsTab()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout;
    auto* heading = new QLabel(QStringLiteral("In \"More Formats\""), page);
    grid->addWidget(heading, 0, 3);
    for (const Notation notation : notations::AllNotations) {
        const auto i = std::size_t(notation);
        const QString name = notations::ShortName(notation);
        auto* label = new QLabel(notations::Label(notation), page);
        txtFormat[i] = new QLineEdit(page);
        txtFormat[i]->setObjectName(QStringLiteral("txtFmt") + name);
        txtFormat[i]->setReadOnly(true);
        txtFormat[i]->setMinimumWidth(380);
        label->setBuddy(txtFormat[i]);
        cmdCopy[i] = new QPushButton(QStringLiteral("Copy"), page);
        cmdCopy[i]->setObjectName(QStringLiteral("cmdCopy") + name);
        cmdCopy[i]->setAccessibleName(QStringLiteral("Copy ") + notations::Label(notation));
        chkShown[i] = new QCheckBox(page);
        chkShown[i]->setObjectName(QStringLiteral("chkFmt") + name);
        chkShown[i]->setAccessibleName(notations::Label(notation) +
                                       QStringLiteral(" in More Formats"));
        chkShown[i]->setChecked(m_choices.isShown(notation));
        const int row = int(i) + 1;
        grid->addWidget(label, row, 0);
        grid->addWidget(txtFormat[i], row, 1);
        grid->addWidget(cmdCopy[i], row, 2);
        grid->addWidget(chkShown[i], row, 3, Qt::AlignCenter);
        connect(cmdCopy[i], &QPushButton::clicked, this, [this, i] { copy(txtFormat[i]->text()); });
        connect(chkShown[i], &QCheckBox::toggled, this, [this, notation](bool shown) {
            m_choices.setShown(notation, shown);
            storeChoices();
        });
    }

    lblNearestCss = new QLabel(page);
    lblNearestCss->setObjectName(QStringLiteral("lblNearestCss"));
    lblNearestTailwind = new QLabel(page);
    lblNearestTailwind->setObjectName(QStringLiteral("lblNearestTailwind"));
    lblContrast = new QLabel(page);
    lblContrast->setObjectName(QStringLiteral("lblContrast"));
    auto* facts = new QGridLayout;
    facts->addWidget(new QLabel(QStringLiteral("Nearest CSS names:"), page), 0, 0, Qt::AlignTop);
    facts->addWidget(lblNearestCss, 0, 1);
    facts->addWidget(new QLabel(QStringLiteral("Nearest Tailwind colors:"), page), 0, 2,
                     Qt::AlignTop);
    facts->addWidget(lblNearestTailwind, 0, 3);
    facts->addWidget(new QLabel(QStringLiteral("WCAG contrast:"), page), 1, 0, Qt::AlignTop);
    facts->addWidget(lblContrast, 1, 1, 1, 3);
    facts->setColumnStretch(1, 1);
    facts->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(facts);
    layout->addStretch();
    return page;
}

QWidget* frmFormats::buildTemplatesTab()
{
    auto* page = new QWidget(this);
    lstTemplates = new QListWidget(page);
    lstTemplates->setObjectName(QStringLiteral("lstTemplates"));
    txtTemplateName = new QLineEdit(page);
    txtTemplateName->setObjectName(QStringLiteral("txtTemplateName"));
    txtTemplate = new QLineEdit(page);
    txtTemplate->setObjectName(QStringLiteral("txtTemplate"));
    txtTemplate->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lblTemplatePreview = new QLabel(page);
    lblTemplatePreview->setObjectName(QStringLiteral("lblTemplatePreview"));
    lblTemplatePreview->setTextFormat(Qt::PlainText);
    lblTemplatePreview->setWordWrap(true);
    lblTemplatePreview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdAddTemplate = Button(page, "cmdAddTemplate", QStringLiteral("&Add"));
    cmdRemoveTemplate = Button(page, "cmdRemoveTemplate", QStringLiteral("&Remove"));
    cmdCopyTemplate = Button(page, "cmdCopyTemplate", QStringLiteral("&Copy"));

    auto* help = new QLabel(
        QStringLiteral("Placeholders: {r} {g} {b} {hex}, and a model's channel: srgb, p3, hsl, "
                       "hwb, hsv, lab, lch, oklab, oklch, cmy, cmyk, hls, ycbcr, such as "
                       "{oklch.h}. Add :2 for two decimals, :x or :X for hexadecimal; {{ and }} "
                       "write braces. Ticked templates appear in \"More Formats\"."),
        page);
    help->setWordWrap(true);

    auto* form = new QGridLayout;
    auto* nameLabel = new QLabel(QStringLiteral("Na&me:"), page);
    nameLabel->setBuddy(txtTemplateName);
    auto* textLabel = new QLabel(QStringLiteral("T&emplate:"), page);
    textLabel->setBuddy(txtTemplate);
    form->addWidget(nameLabel, 0, 0);
    form->addWidget(txtTemplateName, 0, 1);
    form->addWidget(textLabel, 1, 0);
    form->addWidget(txtTemplate, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Preview:"), page), 2, 0, Qt::AlignTop);
    form->addWidget(lblTemplatePreview, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAddTemplate);
    buttons->addWidget(cmdRemoveTemplate);
    buttons->addStretch();
    buttons->addWidget(cmdCopyTemplate);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lstTemplates);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(help);

    connect(lstTemplates, &QListWidget::currentRowChanged, this, &frmFormats::templateSelected);
    connect(lstTemplates, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_filling)
            return;
        const int row = lstTemplates->row(item);
        if (row >= 0 && row < m_choices.templates.size()) {
            m_choices.templates[row].shown = item->checkState() == Qt::Checked;
            storeChoices();
        }
    });
    connect(txtTemplateName, &QLineEdit::textEdited, this, &frmFormats::templateEdited);
    connect(txtTemplate, &QLineEdit::textEdited, this, &frmFormats::templateEdited);
    connect(cmdAddTemplate, &QPushButton::clicked, this, &frmFormats::addTemplate);
    connect(cmdRemoveTemplate, &QPushButton::clicked, this, &frmFormats::removeTemplate);
    connect(cmdCopyTemplate, &QPushButton::clicked, this, [this] {
        const formattemplate::Compiled compiled = formattemplate::Compile(txtTemplate->text());
        if (compiled.ok)
            copy(compiled.result.expand(m_color));
    });
    return page;
}

QWidget* frmFormats::buildSchemeTab()
{
    auto* page = new QWidget(this);
    txtSchemeCss = CodeView(page, "txtSchemeCss");
    cmdCopySchemeCss = Button(page, "cmdCopySchemeCss", QStringLiteral("Copy"));
    cmbLight = new QComboBox(page);
    cmbLight->setObjectName(QStringLiteral("cmbLight"));
    cmbDark = new QComboBox(page);
    cmbDark->setObjectName(QStringLiteral("cmbDark"));
    txtLightDark = CodeView(page, "txtLightDark");
    cmdCopyLightDark = Button(page, "cmdCopyLightDark", QStringLiteral("Copy"));
    lblSchemeNote = new QLabel(page);
    lblSchemeNote->setObjectName(QStringLiteral("lblSchemeNote"));
    lblSchemeNote->setWordWrap(true);

    auto* current = new QHBoxLayout;
    current->addWidget(
        new QLabel(QStringLiteral("The scheme being edited, as custom properties:"), page));
    current->addStretch();
    current->addWidget(cmdCopySchemeCss);
    auto* choose = new QHBoxLayout;
    auto* lightLabel = new QLabel(QStringLiteral("&Light:"), page);
    lightLabel->setBuddy(cmbLight);
    auto* darkLabel = new QLabel(QStringLiteral("&Dark:"), page);
    darkLabel->setBuddy(cmbDark);
    choose->addWidget(lightLabel);
    choose->addWidget(cmbLight, 1);
    choose->addWidget(darkLabel);
    choose->addWidget(cmbDark, 1);
    choose->addWidget(cmdCopyLightDark);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(current);
    layout->addWidget(txtSchemeCss);
    layout->addWidget(new QLabel(
        QStringLiteral("Two saved schemes as one style sheet with light-dark():"), page));
    layout->addLayout(choose);
    layout->addWidget(txtLightDark);
    layout->addWidget(lblSchemeNote);

    connect(cmdCopySchemeCss, &QPushButton::clicked, this,
            [this] { copy(txtSchemeCss->toPlainText()); });
    connect(cmdCopyLightDark, &QPushButton::clicked, this,
            [this] { copy(txtLightDark->toPlainText()); });
    connect(cmbLight, &QComboBox::currentIndexChanged, this, &frmFormats::refreshLightDark);
    connect(cmbDark, &QComboBox::currentIndexChanged, this, &frmFormats::refreshLightDark);
    return page;
}

void frmFormats::setCurrentColor(Color color)
{
    m_color = color;
    refreshNotations();
}

void frmFormats::setScheme(const SchemeColors& scheme)
{
    m_scheme = scheme;
    txtSchemeCss->setPlainText(moderncss::CustomProperties(scheme));
    refreshNotations();
}

void frmFormats::refreshNotations()
{
    QPalette palette = lblSwatch->palette();
    const QColor swatch(bascommon::GetRed(m_color), bascommon::GetGreen(m_color),
                        bascommon::GetBlue(m_color));
    palette.setColor(QPalette::Window, swatch);
    palette.setColor(QPalette::WindowText, wcag::ContrastRatio(m_color, bascommon::White) >=
                                                   wcag::ContrastRatio(m_color, bascommon::Black)
                                               ? Qt::white
                                               : Qt::black);
    lblSwatch->setPalette(palette);
    lblSwatch->setText(notations::Format(Notation::Hex, m_color));
    for (const Notation notation : notations::AllNotations) {
        QLineEdit* field = txtFormat[std::size_t(notation)];
        field->setText(notations::Format(notation, m_color));
        field->setCursorPosition(0); // the start of a long text in sight
    }
    lblNearestCss->setText(NearestText(m_color, namedcolors::Palette::Css));
    lblNearestTailwind->setText(NearestText(m_color, namedcolors::Palette::Tailwind));
    lblContrast->setText(ContrastText(QStringLiteral("against white"), m_color, bascommon::White) +
                         QLatin1Char('\n') +
                         ContrastText(QStringLiteral("against black"), m_color, bascommon::Black) +
                         QLatin1Char('\n') +
                         ContrastText(QStringLiteral("against the page background ") +
                                          notations::Format(Notation::Hex, m_scheme.background),
                                      m_color, m_scheme.background));
    refreshTemplatePreview();
}

void frmFormats::refreshTemplateList()
{
    m_filling = true;
    const int keep = lstTemplates->currentRow();
    lstTemplates->clear();
    for (const UserTemplate& entry : m_choices.templates) {
        auto* item =
            new QListWidgetItem(entry.name.isEmpty() ? entry.text : entry.name, lstTemplates);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.shown ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    lstTemplates->setCurrentRow(std::min(keep, int(lstTemplates->count()) - 1));
    templateSelected();
}

void frmFormats::templateSelected()
{
    if (m_filling)
        return;
    const int row = lstTemplates->currentRow();
    const bool selected = row >= 0 && row < m_choices.templates.size();
    txtTemplateName->setEnabled(selected);
    txtTemplate->setEnabled(selected);
    cmdRemoveTemplate->setEnabled(selected);
    cmdCopyTemplate->setEnabled(selected);
    txtTemplateName->setText(selected ? m_choices.templates[row].name : QString());
    txtTemplate->setText(selected ? m_choices.templates[row].text : QString());
    refreshTemplatePreview();
}

void frmFormats::templateEdited()
{
    const int row = lstTemplates->currentRow();
    if (row < 0 || row >= m_choices.templates.size())
        return;
    UserTemplate& entry = m_choices.templates[row];
    entry.name = txtTemplateName->text();
    entry.text = txtTemplate->text();
    m_filling = true;
    lstTemplates->item(row)->setText(entry.name.isEmpty() ? entry.text : entry.name);
    m_filling = false;
    refreshTemplatePreview();
    storeChoices();
}

void frmFormats::refreshTemplatePreview()
{
    if (!txtTemplate->isEnabled()) {
        lblTemplatePreview->setText(QStringLiteral("Add a template to see it here."));
        return;
    }
    const formattemplate::Compiled compiled = formattemplate::Compile(txtTemplate->text());
    lblTemplatePreview->setText(compiled.ok ? compiled.result.expand(m_color) : compiled.message);
    QPalette palette = lblTemplatePreview->palette();
    palette.setColor(QPalette::WindowText, compiled.ok ? this->palette().color(QPalette::WindowText)
                                                       : QColor(0xb0, 0x00, 0x20));
    lblTemplatePreview->setPalette(palette);
    cmdCopyTemplate->setEnabled(compiled.ok);
}

void frmFormats::addTemplate()
{
    // More would not come back at the next start.
    if (m_choices.templates.size() >= FormatChoices::MaxTemplates) {
        m_platform.showMessage(this,
                               QStringLiteral("There are %1 templates already, as many as the "
                                              "program keeps. Remove one to add another.")
                                   .arg(FormatChoices::MaxTemplates),
                               Platform::Buttons::Ok, Platform::Icon::Information, windowTitle());
        return;
    }
    m_choices.templates << UserTemplate{
        QStringLiteral("Template %1").arg(m_choices.templates.size() + 1),
        QStringLiteral("rgb({r}, {g}, {b})"), true};
    storeChoices();
    refreshTemplateList();
    lstTemplates->setCurrentRow(int(m_choices.templates.size()) - 1);
    txtTemplate->setFocus();
    txtTemplate->selectAll();
}

void frmFormats::removeTemplate()
{
    const int row = lstTemplates->currentRow();
    if (row < 0 || row >= m_choices.templates.size())
        return;
    m_choices.templates.removeAt(row);
    storeChoices();
    refreshTemplateList();
}

void frmFormats::loadSavedSchemes()
{
    const SchemeStore store(m_dataFolder);
    QStringList names;
    const FileResult read = store.readNames(names);
    m_savedSchemes.clear();
    for (int i = 0; i < names.size(); ++i) {
        SchemeColors colors;
        // A damaged record still gives its readable colours; the main
        // window reports the damage when the scheme is chosen there.
        (void)store.readColors(i, colors);
        m_savedSchemes << colors;
    }
    for (QComboBox* box : {cmbLight, cmbDark}) {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(names);
    }
    // A first guess: the lightest background for light, the darkest for dark.
    int light = 0;
    int dark = 0;
    for (int i = 0; i < m_savedSchemes.size(); ++i) {
        const double luminance = wcag::RelativeLuminance(m_savedSchemes[i].background);
        if (luminance > wcag::RelativeLuminance(m_savedSchemes[light].background))
            light = i;
        if (luminance < wcag::RelativeLuminance(m_savedSchemes[dark].background))
            dark = i;
    }
    {
        const QSignalBlocker lightBlocker(cmbLight);
        const QSignalBlocker darkBlocker(cmbDark);
        cmbLight->setCurrentIndex(names.isEmpty() ? -1 : light);
        cmbDark->setCurrentIndex(names.isEmpty() ? -1 : dark);
    }
    lblSchemeNote->setText(read ? QString() : read.message);
    refreshLightDark();
}

void frmFormats::refreshLightDark()
{
    const int light = cmbLight->currentIndex();
    const int dark = cmbDark->currentIndex();
    const bool ready =
        light >= 0 && dark >= 0 && light < m_savedSchemes.size() && dark < m_savedSchemes.size();
    txtLightDark->setPlainText(
        ready ? moderncss::LightDark(m_savedSchemes[light], m_savedSchemes[dark]) : QString());
    cmdCopyLightDark->setEnabled(ready);
}

void frmFormats::storeChoices()
{
    m_platform.writeSetting(FormatChoices::SettingKey, m_choices.toSetting());
    emit choicesChanged(m_choices);
}

void frmFormats::copy(const QString& text)
{
    m_platform.clearClipboard();
    m_platform.setClipboardText(text);
}
