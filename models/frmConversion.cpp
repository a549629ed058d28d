#include "models/frmConversion.h"

#include "app/ClickableLabel.h"
#include "app/WindowRoutines.h"
#include "models/DecimalFieldColor.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QVBoxLayout>

using namespace bascommon;

namespace {

const QString RgbModel = QStringLiteral("RGB");
const QString HlsModel = QStringLiteral("HLS");
const QString CmyModel = QStringLiteral("CMY");
const QString CmykModel = QStringLiteral("CMYK");
const QString YcbcrModel = QStringLiteral("YCbCr");

struct ModelSetup
{
    QString caption;
    std::array<QString, 4> labels;
    std::array<int, 4> maxima;
    int components;
};

const std::array<ModelSetup, 5>& modelSetups()
{
    static const std::array<ModelSetup, 5> setups{{
        {RgbModel,
         {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")},
         {255, 255, 255},
         3},
        {HlsModel,
         {QStringLiteral("H"), QStringLiteral("L"), QStringLiteral("S")},
         {360, 100, 100},
         3},
        {CmyModel,
         {QStringLiteral("C"), QStringLiteral("M"), QStringLiteral("Y")},
         {255, 255, 255},
         3},
        {CmykModel,
         {QStringLiteral("C"), QStringLiteral("M"), QStringLiteral("Y"), QStringLiteral("K")},
         {100, 100, 100, 100},
         4},
        {YcbcrModel,
         {QStringLiteral("Y"), QStringLiteral("Cb"), QStringLiteral("Cr")},
         {255, 255, 255},
         3},
    }};
    return setups;
}

const ModelSetup* findSetup(const QString& caption)
{
    for (const ModelSetup& setup : modelSetups())
        if (setup.caption == caption)
            return &setup;
    return nullptr;
}

} // namespace

frmConversion::frmConversion(Platform& platform, const ColorFields& start, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_start(start)
{
    setObjectName(QStringLiteral("frmConversion"));
    setWindowTitle(QStringLiteral("Color Conversion"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildControls();

    connect(tabModels, &QTabBar::currentChanged, this, &frmConversion::tabModels_Click);
    for (int i = 0; i < 4; ++i)
        connect(sldVal[i], &QSlider::valueChanged, this, [this, i] { sldVal_Change(i); });
    connect(Command2, &QPushButton::clicked, this, &frmConversion::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmConversion::Command1_Click);

    // Before the first show: changing the flags of a shown dialog would hide it.
    SetTopmost(m_platform, this);
    Form_Load();
}

void frmConversion::buildControls()
{
    fraCtls = new QFrame(this);
    fraCtls->setObjectName(QStringLiteral("fraCtls"));

    tabModels = new QTabBar(fraCtls);
    tabModels->setObjectName(QStringLiteral("tabModels"));
    tabModels->setExpanding(false);
    for (const ModelSetup& setup : modelSetups())
        tabModels->addTab(setup.caption);
    tabModels->setCurrentIndex(0);

    auto* sliders = new QGridLayout;
    sliders->setColumnStretch(1, 1);
    for (int i = 0; i < 4; ++i) {
        lblCp[i] = new QLabel(fraCtls);
        lblCp[i]->setObjectName(QStringLiteral("lblCp_%1").arg(i));
        lblCp[i]->setMinimumWidth(24);
        sldVal[i] = new QSlider(Qt::Horizontal, fraCtls);
        sldVal[i]->setObjectName(QStringLiteral("sldVal_%1").arg(i));
        sldVal[i]->setMinimum(0);
        sldVal[i]->setMinimumWidth(220);
        txtval[i] = new QLineEdit(QStringLiteral("0"), fraCtls);
        txtval[i]->setObjectName(QStringLiteral("txtval_%1").arg(i));
        txtval[i]->setReadOnly(true);
        txtval[i]->setFixedWidth(44);
        // The fourth row keeps its place while hidden, so switching tabs
        // never moves the other rows.
        for (QWidget* widget : {static_cast<QWidget*>(lblCp[i]), static_cast<QWidget*>(sldVal[i]),
                                static_cast<QWidget*>(txtval[i])}) {
            QSizePolicy policy = widget->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            widget->setSizePolicy(policy);
        }
        sliders->addWidget(lblCp[i], i, 0);
        sliders->addWidget(sldVal[i], i, 1);
        sliders->addWidget(txtval[i], i, 2);
    }

    // The window opens on the "RGB" tab, as its controls were designed.
    const ModelSetup& rgb = modelSetups()[0];
    for (int i = 0; i < rgb.components; ++i) {
        lblCp[i]->setText(rgb.labels[i]);
        sldVal[i]->setMaximum(rgb.maxima[i]);
    }
    for (QWidget* widget : {static_cast<QWidget*>(lblCp[3]), static_cast<QWidget*>(sldVal[3]),
                            static_cast<QWidget*>(txtval[3])})
        widget->hide();

    picClr = new ClickableLabel(fraCtls);
    picClr->setObjectName(QStringLiteral("picClr"));
    picClr->setFrameShape(QFrame::Panel);
    picClr->setFrameShadow(QFrame::Sunken);
    picClr->setFixedSize(96, 52);
    txtHEX = new QLineEdit(fraCtls);
    txtHEX->setObjectName(QStringLiteral("txtHEX"));
    txtHEX->setReadOnly(true);
    txtHEX->setFixedWidth(96);
    txtHEX->setAlignment(Qt::AlignCenter);

    Command2 = new QPushButton(QStringLiteral("OK"), fraCtls);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setDefault(true);
    Command1 = new QPushButton(QStringLiteral("Cancel"), fraCtls);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto* swatch = new QVBoxLayout;
    swatch->addWidget(picClr);
    swatch->addWidget(txtHEX);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* result = new QHBoxLayout;
    result->addLayout(swatch);
    result->addStretch();
    result->addLayout(buttons);

    auto* frameLayout = new QVBoxLayout(fraCtls);
    frameLayout->addWidget(tabModels);
    frameLayout->addLayout(sliders);
    frameLayout->addSpacing(6);
    frameLayout->addLayout(result);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraCtls);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmConversion::Form_Load()
{
    // The decimal fields are the colour the user sees typed; a field caught
    // holding anything but a channel value gives way to the current colour.
    const Color start =
        DecimalFieldColor(m_start.red, m_start.green, m_start.blue).value_or(m_start.color);
    sldVal[0]->setValue(GetRed(start));
    sldVal[1]->setValue(GetGreen(start));
    sldVal[2]->setValue(GetBlue(start));
    tabModels_Click();
    for (int i = 0; i < 3; ++i)
        sldVal_Change(i);
}

QString frmConversion::selectedModel() const
{
    return tabModels->tabText(tabModels->currentIndex());
}

void frmConversion::SetupModelControls()
{
    const QString model = selectedModel();
    const bool fourComponents = model == CmykModel;
    lblCp[3]->setVisible(fourComponents);
    sldVal[3]->setVisible(fourComponents);
    txtval[3]->setVisible(fourComponents);

    Updating = true;
    for (QSlider* slider : sldVal)
        slider->setValue(0);
    Updating = false;

    if (const ModelSetup* setup = findSetup(model)) {
        for (int i = 0; i < setup->components; ++i) {
            lblCp[i]->setText(setup->labels[i]);
            sldVal[i]->setMaximum(setup->maxima[i]);
        }
    }
}

void frmConversion::ShowModelValues()
{
    const QString model = selectedModel();
    std::array<int, 4> values{};
    int components = 3;
    if (model == RgbModel) {
        values = {Models.rgbR(), Models.rgbG(), Models.rgbB()};
    } else if (model == HlsModel) {
        values = {Models.hlsH(), Models.hlsL(), Models.hlsS()};
    } else if (model == CmyModel) {
        values = {Models.cmyC(), Models.cmyM(), Models.cmyY()};
    } else if (model == CmykModel) {
        values = {Models.cmykC(), Models.cmykM(), Models.cmykY(), Models.cmykK()};
        components = 4;
    } else if (model == YcbcrModel) {
        values = {Models.ycbcrY(), Models.ycbcrCb(), Models.ycbcrCr()};
    } else {
        return;
    }
    Updating = true;
    for (int i = 0; i < components; ++i)
        sldVal[i]->setValue(values[i]);
    Updating = false;
}

void frmConversion::ApplySlidersToModel()
{
    const QString model = selectedModel();
    const auto value = [this](int index) {
        return static_cast<std::int16_t>(sldVal[index]->value());
    };
    if (model == RgbModel) {
        Models.setRgbR(static_cast<std::uint8_t>(sldVal[0]->value()));
        Models.setRgbG(static_cast<std::uint8_t>(sldVal[1]->value()));
        Models.setRgbB(static_cast<std::uint8_t>(sldVal[2]->value()));
    } else if (model == HlsModel) {
        Models.SetHLS(value(0), value(1), value(2));
    } else if (model == CmyModel) {
        Models.SetCMY(value(0), value(1), value(2));
    } else if (model == CmykModel) {
        Models.SetCMYK(value(0), value(1), value(2), value(3));
    } else if (model == YcbcrModel) {
        Models.SetYCbCr(value(0), value(1), value(2));
    }
}

void frmConversion::tabModels_Click()
{
    // Rebuilding the rows moves every slider twice; the window is redrawn
    // once, when the new model's values are in place.
    setUpdatesEnabled(false);
    SetupModelControls();
    ShowModelValues();
    setUpdatesEnabled(true);
}

void frmConversion::sldVal_Change(int index)
{
    txtval[index]->setText(QString::number(sldVal[index]->value()));
    if (!Updating)
        ApplySlidersToModel();
    const Color color = MakeColor(Models.rgbR(), Models.rgbG(), Models.rgbB());
    picClr->setBackColor(color);
    txtHEX->setText(ColorToHtmlHex(color));
}

void frmConversion::Command2_Click()
{
    emit colorAccepted(picClr->backColor());
    accept();
}

void frmConversion::Command1_Click()
{
    reject();
}
