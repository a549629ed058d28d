#include "scheme/frmcss.h"

#include "app/WindowRoutines.h"
#include "scheme/SchemeCode.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QtMath>
#include <QVBoxLayout>

namespace {

QPlainTextEdit* codeBox(QWidget* parent, const char* name, int visibleLines)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Tall enough to show the whole text without scrolling.
    const int margins = 2 * qCeil(box->document()->documentMargin()) + 2 * box->frameWidth();
    box->setFixedHeight(visibleLines * box->fontMetrics().lineSpacing() + margins + 6);
    return box;
}

QLabel* caption(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

frmcss::frmcss(Platform& platform, const SchemeColors& colors, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_colors(colors)
{
    setObjectName(QStringLiteral("frmcss"));
    setWindowTitle(QStringLiteral("HTML and CSS"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (parent)
        setFont(parent->font());

    Label1 = caption(this, "Label1", QStringLiteral("HTML"));
    txthtml = codeBox(this, "txthtml", 3);
    Label2 = caption(this, "Label2", QStringLiteral("Inline CSS"));
    txtic = codeBox(this, "txtic", 9);
    Label3 = caption(this, "Label3", QStringLiteral("External CSS"));
    txtec = codeBox(this, "txtec", 5);
    cmdexit = new QPushButton(QStringLiteral("Exit"), this);
    cmdexit->setObjectName(QStringLiteral("cmdexit"));
    cmdexit->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdexit);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{Label1, txthtml, Label2, txtic, Label3, txtec})
        layout->addWidget(widget);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(cmdexit, &QPushButton::clicked, this, &QDialog::accept);

    // Above every window from the start; set before the first show so that the
    // window is not hidden and shown again.
    SetTopmost(m_platform, this);
    ShowHtml();
}

void frmcss::ShowHtml()
{
    const SchemeColors& colors = m_colors;
    const QString external = schemecode::ExternalCssText(colors);
    txthtml->setPlainText(schemecode::HtmlText(colors));
    txtec->setPlainText(external);
    txtic->setPlainText(schemecode::InlineCssText(external));
}
