#include "models/frmpreview.h"

#include "app/ClickableLabel.h"
#include "app/platform/Platform.h"
#include "app/WindowRoutines.h"
#include "models/ColorInfoPage.h"
#include "models/DecimalFieldColor.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

using namespace bascommon;

namespace {

constexpr int PanelWidth = 176;

// The panel and the menu bar keep the ordinary window colour; only the
// window itself shows the colour.
void keepStandardBackground(QWidget* widget)
{
    QPalette colors = widget->palette();
    colors.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    widget->setPalette(colors);
}

} // namespace

frmpreview::frmpreview(Platform& platform, const ColorFields& shown, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_shown(shown)
{
    setObjectName(QStringLiteral("frmpreview"));
    setWindowTitle(QStringLiteral("Color Preview"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildControls();

    connect(mnusave, &QAction::triggered, this, &frmpreview::mnusave_Click);
    connect(mnuexit, &QAction::triggered, this, &frmpreview::mnuexit_Click);

    // Before the first show: changing the flags of a shown dialog would hide it.
    SetTopmost(m_platform, this);
    Form_Load();
}

void frmpreview::buildControls()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    keepStandardBackground(menuBar);
    mnufile = menuBar->addMenu(QStringLiteral("Action"));
    mnufile->setObjectName(QStringLiteral("mnufile"));
    mnufile->menuAction()->setObjectName(QStringLiteral("mnufile"));
    mnusave = mnufile->addAction(QStringLiteral("Save as Html..."));
    mnusave->setObjectName(QStringLiteral("mnusave"));
    mnufile->addSeparator();
    mnuexit = mnufile->addAction(QStringLiteral("Exit"));
    mnuexit->setObjectName(QStringLiteral("mnuexit"));

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client);

    PicInfo = new QWidget(client);
    PicInfo->setObjectName(QStringLiteral("PicInfo"));
    PicInfo->setAutoFillBackground(true);
    keepStandardBackground(PicInfo);

    auto* grid = new QGridLayout(PicInfo);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    auto* heading = new QLabel(QStringLiteral("Color Info"), PicInfo);
    QFont bold = heading->font();
    bold.setBold(true);
    QFont headingFont = bold;
    headingFont.setPointSizeF(bold.pointSizeF() * 1.2);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, 0, 1, 3);

    const auto box = [this](const char* name) {
        auto* field = new QLineEdit(PicInfo);
        field->setObjectName(QLatin1String(name));
        field->setFixedWidth(64);
        return field;
    };
    txtHex = box("txtHex");
    txtHex->setFixedWidth(90);
    txtHex->setAlignment(Qt::AlignCenter);
    grid->addWidget(txtHex, 1, 0, 1, 3, Qt::AlignHCenter);

    int row = 2;
    const auto group = [&](const QString& title,
                           std::initializer_list<std::pair<QString, QLineEdit*>> components) {
        auto* groupLabel = new QLabel(title, PicInfo);
        groupLabel->setFont(bold);
        grid->addWidget(groupLabel, row, 0);
        for (const auto& [caption, field] : components) {
            grid->addWidget(new QLabel(caption, PicInfo), row, 1);
            grid->addWidget(field, row, 2);
            ++row;
        }
    };
    txtr = box("txtr");
    txtg = box("txtg");
    txtb = box("txtb");
    txth = box("txth");
    txtl = box("txtl");
    txts = box("txts");
    txtc = box("txtc");
    txtm = box("txtm");
    txtY = box("txtY");
    txtc1 = box("txtc1");
    txtm1 = box("txtm1");
    txtY1 = box("txtY1");
    txtK = box("txtK");
    txtY2 = box("txtY2");
    txtCb = box("txtCb");
    txtCr = box("txtCr");
    group(
        QStringLiteral("RGB"),
        {{QStringLiteral("R:"), txtr}, {QStringLiteral("G:"), txtg}, {QStringLiteral("B:"), txtb}});
    group(
        QStringLiteral("HLS"),
        {{QStringLiteral("H:"), txth}, {QStringLiteral("L:"), txtl}, {QStringLiteral("S:"), txts}});
    group(
        QStringLiteral("CMY"),
        {{QStringLiteral("C:"), txtc}, {QStringLiteral("M:"), txtm}, {QStringLiteral("Y:"), txtY}});
    group(QStringLiteral("CMYK"), {{QStringLiteral("C:"), txtc1},
                                   {QStringLiteral("M:"), txtm1},
                                   {QStringLiteral("Y:"), txtY1},
                                   {QStringLiteral("K:"), txtK}});
    group(QStringLiteral("YCbCr"), {{QStringLiteral("Y:"), txtY2},
                                    {QStringLiteral("Cb:"), txtCb},
                                    {QStringLiteral("Cr:"), txtCr}});
    grid->setRowStretch(row, 1);

    // Tall enough to show the whole panel; the colour fills the rest.
    resize(480, menuBar->sizeHint().height() + PicInfo->sizeHint().height());
}

void frmpreview::Form_Load()
{
    setAutoFillBackground(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, toQColor(m_shown.color));
    setPalette(colors);

    // The panel runs the full height of the screen, like a strip down the
    // window's left edge, however tall the window is made.
    const QScreen* screen = parentWidget() && parentWidget()->screen()
                                ? parentWidget()->screen()
                                : QGuiApplication::primaryScreen();
    PicInfo->setGeometry(0, 0, PanelWidth, screen ? screen->geometry().height() : height());

    txtHex->setText(m_shown.hex);
    // The decimal fields are copied as they read; a field caught holding
    // anything but a channel value gives way to the current colour.
    Color color = m_shown.color;
    if (const std::optional<Color> typed =
            DecimalFieldColor(m_shown.red, m_shown.green, m_shown.blue)) {
        color = *typed;
        txtr->setText(m_shown.red);
        txtg->setText(m_shown.green);
        txtb->setText(m_shown.blue);
    } else {
        txtr->setText(QString::number(GetRed(color)));
        txtg->setText(QString::number(GetGreen(color)));
        txtb->setText(QString::number(GetBlue(color)));
    }
    Models.setRgbR(static_cast<std::uint8_t>(GetRed(color)));
    Models.setRgbG(static_cast<std::uint8_t>(GetGreen(color)));
    Models.setRgbB(static_cast<std::uint8_t>(GetBlue(color)));

    txth->setText(QString::number(Models.hlsH()));
    txtl->setText(QString::number(Models.hlsL()));
    txts->setText(QString::number(Models.hlsS()));
    txtc->setText(QString::number(Models.cmyC()));
    txtm->setText(QString::number(Models.cmyM()));
    txtY->setText(QString::number(Models.cmyY()));
    txtc1->setText(QString::number(Models.cmykC()));
    txtm1->setText(QString::number(Models.cmykM()));
    txtY1->setText(QString::number(Models.cmykY()));
    txtK->setText(QString::number(Models.cmykK()));
    txtY2->setText(QString::number(Models.ycbcrY()));
    txtCb->setText(QString::number(Models.ycbcrCb()));
    txtCr->setText(QString::number(Models.ycbcrCr()));
}

void frmpreview::mousePressEvent(QMouseEvent* event)
{
    // Taking the press makes this window receive the matching release.
    event->accept();
}

void frmpreview::mouseReleaseEvent(QMouseEvent* event)
{
    // Releases over the panel reach here too: the panel leaves them unhandled.
    if (event->button() == Qt::RightButton)
        mnufile->exec(event->globalPosition().toPoint());
    event->accept();
}

colorinfo::PageTexts frmpreview::pageTexts() const
{
    return {txtHex->text(), txtr->text(),  txtg->text(),  txtb->text(),  txtc->text(),
            txtm->text(),   txtY->text(),  txtc1->text(), txtm1->text(), txtY1->text(),
            txtK->text(),   txtY2->text(), txtCb->text(), txtCr->text()};
}

void frmpreview::mnusave_Click()
{
    Platform& platform = m_platform;
    const QString path = platform.chooseSaveFile(this, txtHex->text(), QStringLiteral("htm"),
                                                 QStringLiteral("web page(*.htm)"));
    if (path.isEmpty())
        return;
    if (FileResult saved = colorinfo::SavePage(path, pageTexts()); !saved)
        platform.showMessage(this, saved.message, Platform::Buttons::Ok, Platform::Icon::Critical,
                             QStringLiteral("Tintora"));
}

void frmpreview::mnuexit_Click()
{
    accept();
    if (QWidget* owner = parentWidget())
        owner->activateWindow();
}
