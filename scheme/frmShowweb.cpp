#include "scheme/frmShowweb.h"

#include "app/ClickableLabel.h"
#include "app/WindowRoutines.h"
#include "app/frmshowcolor.h"

#include <QAction>
#include <QGridLayout>
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

// A read-only box paints its surface with Base in some styles and with Window
// in others; both carry the scheme's colours.
void paintSample(QLineEdit* box, Color back, Color fore)
{
    QPalette colors = box->palette();
    colors.setColor(QPalette::Base, toQColor(back));
    colors.setColor(QPalette::Window, toQColor(back));
    colors.setColor(QPalette::Text, toQColor(fore));
    colors.setColor(QPalette::WindowText, toQColor(fore));
    box->setPalette(colors);
    box->setAutoFillBackground(true);
}

} // namespace

frmShowweb::frmShowweb(frmshowcolor& owner) : QDialog(&owner), m_owner(owner)
{
    setObjectName(QStringLiteral("frmShowweb"));
    setWindowTitle(QStringLiteral("Web Color Scheme Preview"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(owner.font());

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
    layout->addStretch();
    setMinimumSize(420, 230);

    connect(Command1, &QPushButton::clicked, this, &frmShowweb::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmShowweb::Command2_Click);

    Form_Load();
}

void frmShowweb::Form_Load()
{
    SetTopmost(m_owner.platform(), this);

    const Color background = m_owner.lbldisplay->backColor();
    QPalette colors = palette();
    colors.setColor(QPalette::Window, toQColor(background));
    setPalette(colors);
    setAutoFillBackground(true);

    paintSample(txtTxt, m_owner.lbltext[0]->backColor(), m_owner.lbltext[0]->foreColor());
    txtTxt->setText(m_owner.lbltext[1]->text());

    const std::pair<QLineEdit*, ClickableLabel*> links[] = {{txtNl, m_owner.lblnl},
                                                            {txtal, m_owner.lblal},
                                                            {txtvl, m_owner.lblvl},
                                                            {txthl, m_owner.lblhl}};
    for (const auto& [box, label] : links)
        box->setText(label->text());
    for (const auto& [box, label] : links)
        paintSample(box, label->backColor(), label->foreColor());
}

void frmShowweb::Command1_Click()
{
    m_owner.mnuViewCode->trigger();
}

void frmShowweb::Command2_Click()
{
    accept();
    m_owner.activateWindow();
}
