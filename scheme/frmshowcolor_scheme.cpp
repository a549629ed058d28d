// The main window's web colour scheme editor and saved schemes.
#include "app/frmshowcolor.h"

#include "app/ClickableLabel.h"
#include "app/platform/Platform.h"
#include "app/SelectionFrame.h"
#include "app/WindowRoutines.h"
#include "scheme/ColorVision.h"
#include "scheme/FocusLossWatcher.h"
#include "scheme/SchemeCode.h"
#include "scheme/SchemeFormat.h"
#include "scheme/SchemeRole.h"
#include "scheme/SchemeStore.h"
#include "scheme/frmContrast.h"
#include "scheme/frmShowweb.h"
#include "scheme/frmcss.h"

#include <QAction>
#include <QGuiApplication>
#include <QListWidget>
#include <QSignalBlocker>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

using namespace bascommon;

namespace {

const QString TextCaptionPrefix = QStringLiteral("Text Color: ");

// The four link roles: their sample, their option button, their colour's role
// in the scheme and the caption their sample shows.
struct LinkRole
{
    ClickableLabel* frmshowcolor::*sample;
    QRadioButton* frmshowcolor::*option;
    SchemeRole role;
    const char* captionPrefix;
};

constexpr LinkRole LinkRoles[] = {
    {&frmshowcolor::lblnl, &frmshowcolor::optnl, SchemeRole::NormalLink, "Normal Link Color: "},
    {&frmshowcolor::lblvl, &frmshowcolor::optvl, SchemeRole::VisitedLink, "Visited Link Color: "},
    {&frmshowcolor::lblal, &frmshowcolor::optal, SchemeRole::ActiveLink, "Active Link Color: "},
    {&frmshowcolor::lblhl, &frmshowcolor::opthl, SchemeRole::HoverLink, "Hover Link Color: "},
};

void paintText(frmshowcolor& window, Color color)
{
    for (ClickableLabel* sample : window.lbltext)
        sample->setForeColor(color);
}

void paintBackground(frmshowcolor& window, Color color)
{
    for (ClickableLabel* sample : window.lbltext)
        sample->setBackColor(color);
    for (const LinkRole& role : LinkRoles)
        (window.*role.sample)->setBackColor(color);
    window.lbldisplay->setBackColor(color);
}

void captionText(frmshowcolor& window, Color color)
{
    window.lbltext[1]->setText(TextCaptionPrefix + ColorToHtmlHex(color));
}

void showLink(frmshowcolor& window, const LinkRole& role, Color color)
{
    ClickableLabel* sample = window.*role.sample;
    sample->setForeColor(color);
    sample->setText(QLatin1String(role.captionPrefix) + ColorToHtmlHex(color));
}

} // namespace

void frmshowcolor::setUpSchemeHandlers()
{
    // Releasing a button over a sample: the right one opens the scheme menu,
    // any other selects the sample's role and makes its colour current. The
    // colour is taken from the scheme, not from the sample, which shows it
    // simulated while a vision mode other than normal is on.
    auto onRelease = [this](ClickableLabel* sample, QRadioButton* option, SchemeRole role,
                            bool selectsRole) {
        connect(sample, &ClickableLabel::mouseReleased, this,
                [this, option, role, selectsRole](Qt::MouseButton button, Qt::KeyboardModifiers,
                                                  const QPoint& pos) {
                    if (button == Qt::RightButton)
                        showSchemePopup(pos);
                    else if (selectsRole)
                        selectSchemeRole(option, RoleColor(m_scheme, role));
                });
    };
    onRelease(lbldisplay, optbg, SchemeRole::Background, true);
    for (ClickableLabel* sample : lbltext)
        onRelease(sample, opttext, SchemeRole::Text, true);
    onRelease(lblnl, optnl, SchemeRole::NormalLink, true);
    onRelease(lblvl, optvl, SchemeRole::VisitedLink, true);
    onRelease(lblhl, opthl, SchemeRole::HoverLink, true);
    // The active link sample selects on a click instead of on any release.
    onRelease(lblal, optal, SchemeRole::ActiveLink, false);
    connect(lblal, &ClickableLabel::clicked, this,
            [this] { selectSchemeRole(optal, m_scheme.activeLink); });

    connect(lstCorset, &QListWidget::itemSelectionChanged, this, &frmshowcolor::lstCorset_Click);
    connect(new FocusLossWatcher(lstCorset), &FocusLossWatcher::focusMovedAway, this,
            &frmshowcolor::lstCorset_LostFocus);
    connect(cmdDelItem, &QPushButton::clicked, this, &frmshowcolor::cmdDelItem_Click);

    connect(mnuSaveScheme, &QAction::triggered, this, &frmshowcolor::mnuSaveScheme_Click);
    connect(mnuViewCode, &QAction::triggered, this, &frmshowcolor::mnuViewCode_Click);
    connect(mnuCopyHtml, &QAction::triggered, this,
            [this] { copySchemeCode(schemecode::HtmlText(m_scheme)); });
    connect(mnuCopyInline, &QAction::triggered, this, [this] {
        copySchemeCode(schemecode::InlineCssText(schemecode::ExternalCssText(m_scheme)));
    });
    connect(mnuCopyExternal, &QAction::triggered, this,
            [this] { copySchemeCode(schemecode::ExternalCssText(m_scheme)); });
    connect(mnuShowweb, &QAction::triggered, this, &frmshowcolor::mnuShowweb_Click);

    buildContrastMenu();
}

// ---------------------------------------------------------------------------
// The scheme on display

void frmshowcolor::HtmlColor(Color curcor)
{
    // The compact view hides the editor, so nothing may change unseen.
    if (isCompactView())
        return;
    if (opttext->isChecked()) {
        applySchemeRoleColor(SchemeRole::Text, curcor);
    } else if (optbg->isChecked()) {
        applySchemeRoleColor(SchemeRole::Background, curcor);
    } else {
        for (const LinkRole& role : LinkRoles) {
            if ((this->*role.option)->isChecked())
                applySchemeRoleColor(role.role, curcor);
        }
    }
}

void frmshowcolor::applySchemeRoleColor(SchemeRole role, Color color)
{
    if (role == SchemeRole::Text) {
        m_scheme.text = color;
        paintText(*this, color);
        captionText(*this, color);
    } else if (role == SchemeRole::Background) {
        m_scheme.background = color;
        paintBackground(*this, color);
    } else {
        for (const LinkRole& link : LinkRoles) {
            if (link.role == role) {
                SetRoleColor(m_scheme, role, color);
                showLink(*this, link, color);
            }
        }
    }
    paintVisionMode();
    emit schemeColorsChanged();
}

void frmshowcolor::setSchemeColors(const SchemeColors& colors)
{
    m_scheme = colors;
    paintText(*this, colors.text);
    captionText(*this, colors.text);
    paintBackground(*this, colors.background);
    for (const LinkRole& role : LinkRoles)
        showLink(*this, role, RoleColor(colors, role.role));
    paintVisionMode();
    emit schemeColorsChanged();
}

void frmshowcolor::setVisionMode(colorvision::VisionMode mode)
{
    if (mode == m_visionMode)
        return;
    m_visionMode = mode;
    // Normal vision paints the scheme's own colours back.
    paintSchemeColors(colorvision::Simulate(m_scheme, mode));
    emit visionModeChanged();
}

void frmshowcolor::paintVisionMode()
{
    if (m_visionMode != colorvision::VisionMode::Normal)
        paintSchemeColors(colorvision::Simulate(m_scheme, m_visionMode));
}

void frmshowcolor::paintSchemeColors(const SchemeColors& colors)
{
    paintText(*this, colors.text);
    paintBackground(*this, colors.background);
    for (const LinkRole& role : LinkRoles)
        (this->*role.sample)->setForeColor(RoleColor(colors, role.role));
}

void frmshowcolor::selectSchemeRole(QRadioButton* role, Color roleColor)
{
    role->setChecked(true);
    // The propagation hands the colour back to HtmlColor for the role just
    // selected, which leaves the scheme as it was.
    CurrentColorChanged(roleColor);
}

void frmshowcolor::showSchemePopup(const QPoint& globalPos)
{
    mnuHtmlPop1->exec(globalPos);
}

// ---------------------------------------------------------------------------
// Saved schemes

void frmshowcolor::loadSchemeList()
{
    lstCorset->clear();
    cmdDelItem->setEnabled(false);
    const SchemeStore store(m_dataFolder);
    if (FileResult finished = store.finishInterruptedRemove(); !finished)
        reportFileError(finished.message);
    QStringList names;
    QString cutNames;
    if (FileResult read = store.readNames(names, &cutNames); !read)
        reportFileError(read.message);
    // The names come cut to a length a list can lay out at once, so that no
    // click waits on megabytes of text.
    lstCorset->addItems(names);
    if (lstCorset->count() > 0)
        lstCorset->setCurrentRow(0);
    else
        paintSchemeColors(m_scheme);
    if (!cutNames.isEmpty())
        m_platform.showMessage(this, cutNames, Platform::Buttons::Ok, Platform::Icon::Warning,
                               QStringLiteral("Tintora"));
}

void frmshowcolor::markStartupScheme()
{
    // Start-up chose saved scheme 1 and then clicked palette cell 0, which
    // clears the list's selection; the first scheme stays marked so that the
    // list agrees with the panel. Nothing else of choosing is run again.
    if (lstCorset->count() == 0 || SchemeIndex != 0)
        return;
    const QSignalBlocker quiet(lstCorset);
    lstCorset->setCurrentRow(0);
    cmdDelItem->setEnabled(false);
}

void frmshowcolor::lstCorset_Click()
{
    const QList<QListWidgetItem*> selected = lstCorset->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = lstCorset->row(selected.first());

    // A chosen scheme and a selected palette cell exclude each other.
    shpSelect->hide();
    mnuDelCor->setEnabled(false);
    cmdDelItem->setEnabled(index > 0);
    SchemeIndex = index;

    SchemeColors colors;
    const FileResult read = SchemeStore(m_dataFolder).readColors(index, colors);
    setSchemeColors(colors);
    if (!read)
        reportFileError(read.message);
}

void frmshowcolor::ClearSchemeSelection()
{
    lstCorset->clearSelection();
    lstCorset->setCurrentRow(-1);
    cmdDelItem->setEnabled(false);
}

void frmshowcolor::lstCorset_LostFocus(QWidget* newFocus)
{
    // Pressing "Delete This Scheme" moves the focus from the list to the
    // button first. Leaving the list clears the selection and disables the
    // button, which then never sees its click, so the press is honoured here,
    // for the scheme chosen last.
    const bool deletePressed = newFocus && newFocus == cmdDelItem && cmdDelItem->isEnabled();
    // Qt gives the button the focus for a press of any mouse button, but only
    // the left one presses it: a right or middle click leaves the list, its
    // choice and the scheme alone.
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    if (deletePressed && buttons != Qt::NoButton && !(buttons & Qt::LeftButton)) {
        QMetaObject::invokeMethod(
            lstCorset, [list = lstCorset] { list->setFocus(Qt::OtherFocusReason); },
            Qt::QueuedConnection);
        return;
    }
    ClearSchemeSelection();
    if (deletePressed)
        cmdDelItem_Click();
}

void frmshowcolor::cmdDelItem_Click()
{
    // The first scheme is the one shown at every start: it is never deleted.
    if (SchemeIndex <= 0 || SchemeIndex >= lstCorset->count())
        return;
    const QString name = lstCorset->item(SchemeIndex)->text();
    const Platform::Answer answer =
        m_platform.showMessage(this,
                               QStringLiteral("Are you sure you want to delete color scheme \"") +
                                   name + QStringLiteral("\"?"),
                               Platform::Buttons::YesNo, Platform::Icon::Question,
                               QStringLiteral("Delete a color scheme"));
    if (answer != Platform::Answer::Yes)
        return;
    if (FileResult removed = SchemeStore(m_dataFolder).remove(SchemeIndex); !removed) {
        reportFileError(removed.message);
        return;
    }
    ClearSchemeSelection();
    delete lstCorset->takeItem(SchemeIndex);
}

void frmshowcolor::mnuSaveScheme_Click()
{
    const QString name = schemeformat::NameFromAnswer(
        AskNameAsTyped(m_platform, this, QStringLiteral("Save This Color Scheme"),
                       QStringLiteral("Save this color scheme as:")));
    if (name.isEmpty())
        return;
    if (FileResult saved = SchemeStore(m_dataFolder).save(name, m_scheme); !saved) {
        reportFileError(saved.message);
        return;
    }
    lstCorset->addItem(name);
}

// ---------------------------------------------------------------------------
// HTML and CSS code, preview

void frmshowcolor::mnuViewCode_Click()
{
    frmcss window(m_platform, m_scheme, this);
    window.exec();
}

void frmshowcolor::copySchemeCode(const QString& code)
{
    m_platform.clearClipboard();
    m_platform.setClipboardText(code);
}

void frmshowcolor::mnuShowweb_Click()
{
    const frmShowweb::Captions captions{lbltext[1]->text(), lblnl->text(), lblvl->text(),
                                        lblal->text(), lblhl->text()};
    frmShowweb window(m_platform, m_scheme, captions, m_visionMode, this);
    connect(&window, &frmShowweb::viewCodeRequested, mnuViewCode, &QAction::trigger);
    window.exec();
}

// ---------------------------------------------------------------------------
// Contrast and colour vision

void frmshowcolor::buildContrastMenu()
{
    viewsep1 = mnuView->addSeparator();
    viewsep1->setObjectName(QStringLiteral("viewsep1"));
    mnuViewContrast = mnuView->addAction(QStringLiteral("Scheme &Contrast and Color Vision"));
    mnuViewContrast->setObjectName(QStringLiteral("mnuViewContrast"));
    connect(mnuViewContrast, &QAction::triggered, this, &frmshowcolor::mnuViewContrast_Click);
}

void frmshowcolor::mnuViewContrast_Click()
{
    if (!m_contrastWindow) {
        auto* tool = new frmContrast(m_platform, m_scheme, m_visionMode, isCompactView(), this);
        tool->setAttribute(Qt::WA_DeleteOnClose);
        const auto follow = [this, tool] {
            tool->showScheme(m_scheme, m_visionMode, isCompactView());
        };
        connect(this, &frmshowcolor::schemeColorsChanged, tool, follow);
        connect(this, &frmshowcolor::visionModeChanged, tool, follow);
        // The editor is hidden in the compact view, and nothing may change unseen.
        connect(mnuSwap, &QAction::toggled, tool, follow);
        connect(tool, &frmContrast::visionModeChosen, this, &frmshowcolor::setVisionMode);
        connect(tool, &frmContrast::roleColorFixed, this, &frmshowcolor::applySchemeRoleColor);
        m_contrastWindow = tool;
    }
    m_contrastWindow->show();
    m_contrastWindow->raise();
    m_contrastWindow->activateWindow();
}

frmContrast* frmshowcolor::contrastWindow() const
{
    return m_contrastWindow;
}
