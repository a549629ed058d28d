#include "app/frmshowcolor.h"

#include "app/ClickableLabel.h"
#include "app/CommonDialog.h"
#include "app/DataFolder.h"
#include "app/DataFileAccess.h"
#include "app/DataFolderAccess.h"
#include "app/EntryField.h"
#include "app/FocusKeeper.h"
#include "app/FramePositionKeeper.h"
#include "app/help/HelpOpener.h"
#include "app/ImageList.h"
#include "app/platform/Platform.h"
#include "app/SelectionFrame.h"
#include "app/Twips.h"
#include "app/WindowAccess.h"
#include "app/WindowRoutines.h"
#include "app/frmabout.h"
#include "models/ColorFields.h"
#include "models/notations/FormatsTool.h"
#include "models/frmConversion.h"
#include "models/frmpreview.h"
#include "palettes/PaletteNames.h"
#include "palettes/PaletteRecords.h"
#include "palettes/picker/frmGetColor.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

using namespace bascommon;

namespace {

constexpr int FullViewHeight = twipsToPixels(6945);
constexpr int CompactViewHeight = twipsToPixels(3900);
constexpr int WindowWidth = 490;

const QString RecentColorsFile = QStringLiteral("recent.rgb");
const QString MainPalette = QStringLiteral("mycolor.rgb");

} // namespace

frmshowcolor::frmshowcolor(Platform& platform, const QString& dataFolder, QWidget* parent)
    : QMainWindow(parent), m_platform(platform), m_dataFolder(dataFolder)
{
    setObjectName(QStringLiteral("frmshowcolor"));
    setWindowTitle(QStringLiteral("Tintora"));
    setWindowIcon(ImageList::programIcon());
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    tahoma.setStyleHint(QFont::SansSerif);
    setFont(tahoma);

    buildControls();
    buildMenus();
    buildToolbar();
    setFixedSize(WindowWidth, FullViewHeight);

    // A click gives the swatch the focus, for Ctrl+V, but never takes it from
    // an entry field: leaving a field applies it, and a click on the swatch
    // must leave an edit under way unapplied (its pop-up copies the current
    // colour), as a click on a palette cell does. Tab passes it by, as it
    // always has: it shows no focus.
    lblcolor->setFocusPolicy(Qt::NoFocus);
    connect(lblcolor, &ClickableLabel::mouseReleased, this, [this] {
        if (!qobject_cast<EntryField*>(QApplication::focusWidget()))
            lblcolor->setFocus(Qt::MouseFocusReason);
    });
    connect(lblcolor, &ClickableLabel::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& pos) {
                lblcolor_MouseUp(button, pos);
            });
    connect(lblcolor, &ClickableLabel::doubleClicked, this, &frmshowcolor::mnuViewColor_Click);
    for (EntryField* field : {txtr, txtg, txtb})
        connect(field, &EntryField::applyRequested, this, &frmshowcolor::applyDecimalFields);
    for (EntryField* field : {txtrh, txtgh, txtbh})
        connect(field, &EntryField::applyRequested, this, &frmshowcolor::applyHexFields);

    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnustartpick, &QAction::triggered, this, &frmshowcolor::mnustartpick_Click);
    connect(mnuWebsafe, &QAction::triggered, this, &frmshowcolor::mnuWebsafe_Click);
    connect(mnuShowWinColor, &QAction::triggered, this, &frmshowcolor::mnuShowWinColor_Click);
    connect(mnucon, &QAction::triggered, this, &frmshowcolor::mnucon_Click);
    connect(mnuconv, &QAction::triggered, this, &frmshowcolor::mnucon_Click);
    connect(mnuViewColor, &QAction::triggered, this, &frmshowcolor::mnuViewColor_Click);
    // The check marks are the view modes' state and the commands set them
    // themselves, so the toggle that the menu has already made is undone first.
    connect(mnuSwap, &QAction::triggered, this, [this] {
        mnuSwap->setChecked(!mnuSwap->isChecked());
        mnuSwap_Click();
    });
    connect(mnuOnTop, &QAction::triggered, this, [this] {
        mnuOnTop->setChecked(!mnuOnTop->isChecked());
        mnuOnTop_Click();
    });
    connect(mnucontents, &QAction::triggered, this, &frmshowcolor::mnucontents_Click);
    connect(mnuWeb, &QAction::triggered, this, &frmshowcolor::mnuWeb_Click);
    connect(mnuemail, &QAction::triggered, this, &frmshowcolor::mnuemail_Click);
    connect(mnuabout, &QAction::triggered, this, &frmshowcolor::mnuabout_Click);

    setUpPaletteHandlers();
    setUpSchemeHandlers();
    setUpCopyMenuHandlers();
    windowaccess::SetUp({mnucontents, mnuExit, lblcolor, txtrgb1, txtrgb, txtr, txtg, txtb, txtrh,
                         txtgh, txtbh, cmbChart, lstCorset});
    // The picker hides this window while it runs.
    new FramePositionKeeper(this);
    new FocusKeeper(this);
    setUpGeneratorHandlers();
    setUpImageHandlers();
    setUpPickHandlers();

    // Paste Color, text dropped on the swatch, More Formats and the Color
    // Formats window.
    m_formatsTool = new FormatsTool(
        m_platform, m_dataFolder, {mnuEdit, mnuTool, mnuViewColor, lblcolor, this},
        [this] { return m_scheme; }, m_currentColor);
    connect(m_formatsTool, &FormatsTool::colorChosen, this, &frmshowcolor::CurrentColorChanged);
    connect(this, &frmshowcolor::currentColorChanged, m_formatsTool, &FormatsTool::setCurrentColor);
    connect(this, &frmshowcolor::schemeColorsChanged, m_formatsTool, &FormatsTool::schemeChanged);
    // Ctrl+V where users try it: the read-only "RGB:" and "HEX:" fields, the
    // swatch and the palette cells.
    for (QWidget* control : std::initializer_list<QWidget*>{txtrgb1, txtrgb, lblcolor})
        m_formatsTool->pasteOn(control);
    for (ClickableLabel* cell : lblcor)
        m_formatsTool->pasteOn(cell);

    Form_Initialize();
}

frmshowcolor::~frmshowcolor() = default;

QString frmshowcolor::dataFilePath(const QString& fileName) const
{
    return DataFilePath(m_dataFolder, fileName);
}

void frmshowcolor::reportFileError(const QString& message)
{
    m_platform.showMessage(this, message, Platform::Buttons::Ok, Platform::Icon::Critical,
                           QStringLiteral("Tintora"));
}

void frmshowcolor::reportFileErrorOnce(const QString& message)
{
    if (m_reportedOnce.contains(message))
        return;
    m_reportedOnce.insert(message);
    reportFileError(message);
}

bool frmshowcolor::dataFolderPresent()
{
    if (QFileInfo(m_dataFolder).isDir())
        return true;
    // Every file of the program would fail on its own; one message says why.
    if (!m_missingFolderReported) {
        m_missingFolderReported = true;
        reportFileError(
            QStringLiteral("The data folder \"%1\" does not exist. Tintora keeps its palettes and "
                           "saved color schemes there, so none can be shown or kept until it "
                           "is back.")
                .arg(QDir::toNativeSeparators(m_dataFolder)));
    }
    return false;
}

bool frmshowcolor::recentColorsShown() const
{
    const int i = cmbChart->currentIndex();
    return i >= 0 && i < ChartFile.size() && ChartFile.view(i) == RecentColorsFile;
}

QAction* frmshowcolor::toolButton(const QString& tag) const
{
    for (QAction* action : tlbTool->actions())
        if (action->objectName() == tag)
            return action;
    return nullptr;
}

bool frmshowcolor::isCompactView() const
{
    return mnuSwap->isChecked();
}

// ---------------------------------------------------------------------------
// Start-up and close

void frmshowcolor::Form_Initialize()
{
    if (m_platform.readSetting(QStringLiteral("webcolorscheme"), QStringLiteral("0"))
            .trimmed()
            .toInt() == 1)
        mnuSwap_Click();

    const bool folderPresent = dataFolderPresent();
    if (folderPresent) {
        // What interrupted rewrites left behind is never used again, and can be
        // as large as the palette it was made from.
        paletterecords::RemoveLeftoverTemporaryFiles(m_dataFolder);
        // The recent-colours palette must exist from the start; an existing
        // file (left by a run that ended without closing) keeps its colours,
        // and its names. A new one starts without names: names left over
        // would go to colours of this run that happen to match.
        if (DataFolderAccess(m_dataFolder).status(RecentColorsFile).kind ==
            DataFolderAccess::Kind::Missing)
            static_cast<void>(PaletteNames::remove(m_dataFolder, RecentColorsFile));
        QFile recent;
        if (FileResult created = datafiles::OpenForWriting(recent, dataFilePath(RecentColorsFile),
                                                           QStringLiteral("create"));
            !created) {
            // Every later colour change would fail the same way.
            m_recentFailureReported = true;
            reportFileError(created.message + QStringLiteral(" Recent colours are not kept."));
        }
    }

    AddToCount = 0;
    if (folderPresent)
        loadSchemeList();
    else
        paintSchemeColors(m_scheme);

    mnuWebsafe->setEnabled(false);
    toolButton(QStringLiteral("makewebsafe"))->setEnabled(false);

    shpSelect->resize(lblcor[0]->width() + 4, lblcor[0]->height() + 4);
    shpSelect->hide();
    optnone->setChecked(true);

    ShowChartMenu();
    CurPage = 1;
    const int listPosition = cmbChart->currentIndex();
    if (listPosition >= 0 && listPosition < ChartFile.size())
        ShowColorChart(ChartFile.at(listPosition), 1);
    lblcor_MouseUp(0, Qt::LeftButton, lblcor[0]->mapToGlobal(QPoint(1, 1)));
    markStartupScheme();
}

void frmshowcolor::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmshowcolor::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // A "recent.rgb" that is a link was never written to and is left as it is.
    static_cast<void>(
        datafiles::RemoveFile(dataFilePath(RecentColorsFile), QStringLiteral("delete")));
    static_cast<void>(PaletteNames::remove(m_dataFolder, RecentColorsFile));
}

// ---------------------------------------------------------------------------
// Current colour

void frmshowcolor::CurrentColorChanged(Color color)
{
    const bool webSafe = IsWebSafe(color);
    mnuWebsafe->setEnabled(!webSafe);
    toolButton(QStringLiteral("makewebsafe"))->setEnabled(!webSafe);

    const QString hex = ColorToHtmlHex(color).toLower();
    const bool recordable = hex != QLatin1String("#000000") && hex != QLatin1String("#ffffff");
    if (recentColorsShown()) {
        if (recordable && color != CellColor) {
            // After a failed append the view already shows the file as it is;
            // showing it again would only report the same trouble twice.
            if (recordRecentColor(color)) {
                CurPage = 1;
                ShowColorChart(RecentColorsFile, 1);
            }
        }
    } else if (recordable) {
        recordRecentColor(color);
    }

    if (color != CellColor) {
        shpSelect->hide();
        mnuDelCor->setEnabled(false);
    }

    lblcolor->setBackColor(color);
    m_currentColor = color;

    txtrgb1->setText(ColorToDecList(color));
    txtrgb->setText(ColorToHtmlHex(color));
    txtr->setText(QString::number(GetRed(color)));
    txtg->setText(QString::number(GetGreen(color)));
    txtb->setText(QString::number(GetBlue(color)));
    txtrh->setText(RedHex(color));
    txtbh->setText(BlueHex(color));
    txtgh->setText(GreenHex(color));

    HtmlColor(color);
    ChangeCopyMenu();
    emit currentColorChanged(color);
}

bool frmshowcolor::recordRecentColor(Color color)
{
    const FileResult appended =
        AppendColorToFile(m_dataFolder, RecentColorsFile, ColorToHtmlHex(color));
    // Recording happens on every change of the colour: one message per run is
    // enough to tell the user, more would only get in the way.
    if (!appended && !m_recentFailureReported) {
        m_recentFailureReported = true;
        reportFileError(appended.message + QStringLiteral(" Recent colours are not kept."));
    }
    return appended.ok;
}

void frmshowcolor::setPaletteItemsVisible(bool visible)
{
    for (QAction* item :
         {mnuDelCor, mnuNameColor, mnuDelChart, mnuCleanDup, mnuCleanAll, editsep3, editsep1})
        item->setVisible(visible);
}

void frmshowcolor::setSwatchItemsVisible(bool visible)
{
    for (QAction* item : {mnuAddto->menuAction(), editsep2, editsep4, mnuViewColor, mnuconv})
        item->setVisible(visible);
}

void frmshowcolor::lblcolor_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    setPaletteItemsVisible(false);
    if (button == Qt::RightButton) {
        setSwatchItemsVisible(true);
        ChangeCopyMenu();
        mnuEdit->exec(globalPos);
        setSwatchItemsVisible(false);
    }
    setPaletteItemsVisible(true);
    ChangeCopyMenu();
}

// ---------------------------------------------------------------------------
// Entry fields

void frmshowcolor::applyDecimalFields()
{
    const Color color = MakeColor(txtr->channelValue(), txtg->channelValue(), txtb->channelValue());
    lblcolor->setBackColor(color);
    CurrentColorChanged(color);
}

void frmshowcolor::applyHexFields()
{
    const Color color =
        MakeColor(txtrh->channelValue(), txtgh->channelValue(), txtbh->channelValue());
    lblcolor->setBackColor(color);
    CurrentColorChanged(color);
}

// ---------------------------------------------------------------------------
// Commands of the toolbar and of the Tool, View and Help menus

void frmshowcolor::tlbTool_ButtonClick(const QString& tag)
{
    if (tag == QLatin1String("pickcolor")) {
        mnustartpick_Click();
    } else if (tag == QLatin1String("colorchart")) {
        mnuSwap_Click();
    } else if (tag == QLatin1String("ontop")) {
        mnuOnTop_Click();
    } else if (tag == QLatin1String("showcolor")) {
        mnuShowWinColor_Click();
    } else if (tag == QLatin1String("makewebsafe")) {
        mnuWebsafe_Click();
    } else if (tag == QLatin1String("nextpage")) {
        CurPage += 1;
        ShowColorChart(ChartFile.value(cmbChart->currentIndex()), CurPage);
    } else if (tag == QLatin1String("prevpage")) {
        CurPage -= 1;
        ShowColorChart(ChartFile.value(cmbChart->currentIndex()), CurPage);
    } else if (tag == QLatin1String("addnew")) {
        mnuNew->trigger();
    } else if (tag == QLatin1String("clearduplicate")) {
        mnuCleanDup->trigger();
    }
}

void frmshowcolor::mnuSwap_Click()
{
    const bool compact = !mnuSwap->isChecked();
    setFixedSize(width(), compact ? CompactViewHeight : FullViewHeight);
    mnuSwap->setChecked(compact);
    toolButton(QStringLiteral("colorchart"))->setChecked(compact);
    m_platform.writeSetting(QStringLiteral("webcolorscheme"),
                            compact ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmshowcolor::mnuOnTop_Click()
{
    const bool onTop = !mnuOnTop->isChecked();
    if (onTop)
        SetTopmost(m_platform, this);
    else
        ClearTopmost(m_platform, this);
    mnuOnTop->setChecked(onTop);
    toolButton(QStringLiteral("ontop"))->setChecked(onTop);
}

void frmshowcolor::mnuWebsafe_Click()
{
    ClearSchemeSelection();
    CurrentColorChanged(RoundToWebSafe(lblcolor->backColor()));
}

void frmshowcolor::mnuShowWinColor_Click()
{
    ClearSchemeSelection();
    dlg1->Flags = CommonDialog::CC_RGBINIT | CommonDialog::CC_FULLOPEN;
    dlg1->color = lblcolor->backColor();
    dlg1->ShowColor();
    CurrentColorChanged(dlg1->color);
}

void frmshowcolor::mnucontents_Click()
{
    // The help viewer would otherwise open behind a window kept on top.
    if (mnuOnTop->isChecked())
        showMinimized();
    if (!m_help)
        m_help = new HelpOpener(m_platform, this);
    m_help->open(helpFilePath(m_dataFolder));
}

void frmshowcolor::mnuWeb_Click()
{
    m_platform.shellOpen(nullptr, QString(), frmabout::WebSiteAddress, Platform::ShowMode::Normal);
}

void frmshowcolor::mnuemail_Click()
{
    m_platform.shellOpen(this, QStringLiteral("open"), frmabout::SupportAddress,
                         Platform::ShowMode::Show);
}

ColorFields frmshowcolor::colorFields() const
{
    return {m_currentColor, txtrgb->text(), txtr->text(), txtg->text(), txtb->text()};
}

void frmshowcolor::mnucon_Click()
{
    frmConversion conversion(m_platform, colorFields(), this);
    connect(&conversion, &frmConversion::colorAccepted, this, &frmshowcolor::CurrentColorChanged);
    conversion.exec();
}

void frmshowcolor::mnuViewColor_Click()
{
    frmpreview details(m_platform, colorFields(), this);
    details.exec();
}

void frmshowcolor::mnuabout_Click()
{
    frmabout about(m_platform, this);
    about.exec();
}

void frmshowcolor::mnustartpick_Click()
{
    hide();
    // The main window must have vanished from the screen before it is captured.
    QCoreApplication::processEvents();
    // The picker deletes itself when picking ends; this window comes back then.
    auto* picker = new frmGetColor(
        m_platform, m_dataFolder, [this] { return ReadChartIndex(); }, this);
    connect(picker, &frmGetColor::colorPicked, this, &frmshowcolor::CurrentColorChanged);
    connect(picker, &frmGetColor::pickingFinished, this, &frmshowcolor::returnFromPicking);
    picker->Form_Load();
}

void frmshowcolor::returnFromPicking()
{
    show();
    activateWindow();
    showPalettesAfterPicking();
}

void frmshowcolor::showPalettesAfterPicking()
{
    // Page 1 of the first palette, whichever palette the colours went to.
    cmbChart->setCurrentIndex(0);
    // The list's first palette is "mycolor.rgb" in a sound index; where it is
    // not, the view shows the palette the list names, so that a command on
    // the view never reaches a file the user does not see.
    if (ChartFile.value(0) == MainPalette)
        ShowColorChart(MainPalette, 1);
    CurPage = 1;
}
