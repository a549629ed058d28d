#include "app/frmabout.h"

#include "app/ImageList.h"
#include "app/platform/Platform.h"
#include "app/WindowRoutines.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

const QString frmabout::WebSiteAddress = QStringLiteral("https://quorvane.example/tintora/");
const QString frmabout::SupportAddress =
    QStringLiteral("mailto:support@quorvane.example?subject=Tintora%203.7");

namespace {

QLabel* linkLabel(QWidget* parent, const char* name, const QString& address, const QString& shown)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                       .arg(address.toHtmlEscaped(), shown.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    return label;
}

} // namespace

frmabout::frmabout(Platform& platform, QWidget* parent) : QDialog(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("frmabout"));
    setWindowTitle(QStringLiteral("About Tintora"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(ImageList::programIcon().pixmap(48, 48));

    lblTitle = new QLabel(QStringLiteral("Tintora"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel(QStringLiteral("Version 3.7"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* blurb = new QLabel(QStringLiteral("A colour tool for web designers."), this);
    blurb->setObjectName(QStringLiteral("lblDescription"));

    lblWeb = linkLabel(this, "lblWeb", WebSiteAddress, QStringLiteral("quorvane.example/tintora"));
    lblEmail =
        linkLabel(this, "lblEmail", SupportAddress, QStringLiteral("support@quorvane.example"));
    for (QLabel* link : {lblWeb, lblEmail})
        connect(link, &QLabel::linkActivated, this, [this](const QString& address) {
            m_platform.shellOpen(this, QStringLiteral("open"), address, Platform::ShowMode::Normal);
        });

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(blurb, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Web site:"), this), 3, 1);
    layout->addWidget(lblWeb, 4, 1);
    layout->addWidget(new QLabel(QStringLiteral("Support:"), this), 5, 1);
    layout->addWidget(lblEmail, 6, 1);
    layout->addWidget(cmdOk, 7, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetTopmost(m_platform, this);
}
