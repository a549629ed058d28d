#include "app/frmInput.h"

#include "app/TextBounds.h"
#include "app/bascommon.h"
#include "app/platform/Platform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmInput::frmInput(Platform& platform, QWidget* parent) : QDialog(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("frmInput"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblMsg = new QLabel(this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setTextFormat(Qt::PlainText);
    lblMsg->setWordWrap(true);

    txtResult = new QLineEdit(this);
    txtResult->setObjectName(QStringLiteral("txtResult"));
    // Every name asked for here is kept in a file whose readers cut a longer
    // one, calling the file damaged.
    txtResult->setMaxLength(textbounds::MaxNameLength);
    lblMsg->setBuddy(txtResult);

    cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg);
    layout->addWidget(txtResult);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    connect(cmdOk, &QPushButton::clicked, this, &frmInput::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmInput::cmdCancel_Click);
    connect(txtResult, &QLineEdit::returnPressed, this, &frmInput::cmdOk_Click);

    // Loading puts the dialog above every other window; doing it before the
    // first show keeps the window from being hidden and shown again. Asked of
    // the platform directly: the shared window routines open this dialog.
    m_platform.setTopmost(this, true);
}

void frmInput::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    txtResult->setFocus();
}

void frmInput::cmdOk_Click()
{
    m_typedText = txtResult->text();
    if (bascommon::TrimSpaces(txtResult->text()).isEmpty())
        txtResult->setText(QStringLiteral("Untiltled"));
    m_result = bascommon::TrimSpaces(txtResult->text());
    accept();
}

void frmInput::cmdCancel_Click()
{
    m_result.clear();
    m_typedText.clear();
    reject();
}
