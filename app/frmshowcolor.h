#pragma once

#include "app/StringTable.h"
#include "app/bascommon.h"
#include "palettes/PaletteGrid.h"
#include "palettes/PaletteNames.h"
#include "scheme/SchemeColors.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <array>
#include <functional>

class ClickableLabel;
struct ColorFields;
class CommonDialog;
class EntryField;
class HelpOpener;
class GroupedMenu;
class ImageList;
class PaletteUndoMenu;
class Platform;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolBar;
class RequestedPick;
class SelectionFrame;
class FormatsTool;
class frmContrast;
class frmGenerator;
class frmImage;
enum class SchemeRole : int;
namespace colorvision {
enum class VisionMode : int;
}
namespace copynotations {
enum class Notation;
}
namespace paletteindex {
struct Reading;
}
namespace instancemessage {
struct Request;
struct Reply;
} // namespace instancemessage

// The main window. Its handlers are split by subsystem: the shell, current
// colour, entry fields and commands live in app/, the palette view and palette
// commands in palettes/, the scheme editor in scheme/, the copy menu in models/.
//
// Control names: lblcolor is the current-colour swatch, lblcor the palette
// cells, cmbChart the palette list, lstCorset the saved schemes, lbldisplay the
// page-background preview, lbltext/lblnl/lblvl/lblal/lblhl the scheme samples,
// shpSelect the frame around the selected cell.
class frmshowcolor : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int CellCount = 216;
    static constexpr int CellRows = 12;
    static constexpr int CellsPerPage = 216;

    frmshowcolor(Platform& platform, const QString& dataFolder, QWidget* parent = nullptr);
    ~frmshowcolor() override;

    Platform& platform() const { return m_platform; }
    const QString& dataFolder() const { return m_dataFolder; }
    QString dataFilePath(const QString& fileName) const;

    // ---- Current colour ----
    // Every change of the current colour ends here.
    void CurrentColorChanged(Color color);
    Color currentColor() const { return m_currentColor; }
    // The current colour with the texts of its fields, as the colour
    // windows start from it.
    ColorFields colorFields() const;

    // ---- Palettes ----
    void ShowChartMenu();
    void ShowColorChart(const QString& curChartfile, qint32 page);
    // Both report a failure themselves and then return false.
    bool RepairFile();
    bool DeleteChart(qint32 index);
    // Repairs and reads the palette index; whatever is wrong with it is
    // reported in one message.
    paletteindex::Reading ReadChartIndex();
    // Rebuilds "Add This Color To" from the index that ShowChartMenu has just read.
    void ShowAddTo(const paletteindex::Reading& reading);
    // The cell mouse-up handling; start-up runs it for cell 0 with the left button.
    void lblcor_MouseUp(int index, Qt::MouseButton button, const QPoint& globalPos);

    // ---- Web colour scheme ----
    void HtmlColor(Color curcor);
    void ClearSchemeSelection();
    const SchemeColors& schemeColors() const { return m_scheme; }
    // Sets one role's colour as HtmlColor does when that role is selected,
    // without selecting it and without touching the current colour.
    void applySchemeRoleColor(SchemeRole role, Color color);
    // How the preview panel shows the scheme: as it is, or as a reader with a
    // colour-vision deficiency sees it. The scheme itself never changes.
    colorvision::VisionMode visionMode() const { return m_visionMode; }
    void setVisionMode(colorvision::VisionMode mode);

    // ---- Copy menu ----
    void ChangeCopyMenu();

    // ---- Commands ----
    void mnuSwap_Click();
    void mnuOnTop_Click();
    void mnuWebsafe_Click();
    void mnuShowWinColor_Click();
    void mnustartpick_Click();
    void mnucon_Click();
    void mnuViewColor_Click();
    void mnucontents_Click();
    void mnuWeb_Click();
    void mnuemail_Click();
    void mnuabout_Click();
    void tlbTool_ButtonClick(const QString& tag);
    bool isCompactView() const;
    QAction* toolButton(const QString& tag) const;

    // ---- Controls, in the order of their definition ----
    QRadioButton* optnone = nullptr;
    QPushButton* cmdDelItem = nullptr;
    QComboBox* cmbChart = nullptr;
    CommonDialog* dlg1 = nullptr;
    ImageList* ImageList1 = nullptr;
    QToolBar* tlbTool = nullptr;
    QListWidget* lstCorset = nullptr;
    QRadioButton* opthl = nullptr;
    QRadioButton* optal = nullptr;
    QRadioButton* optvl = nullptr;
    QRadioButton* optnl = nullptr;
    QRadioButton* optbg = nullptr;
    QRadioButton* opttext = nullptr;
    QLineEdit* txtrgb1 = nullptr;
    EntryField* txtr = nullptr;
    EntryField* txtg = nullptr;
    EntryField* txtb = nullptr;
    EntryField* txtrh = nullptr;
    EntryField* txtgh = nullptr;
    EntryField* txtbh = nullptr;
    QLineEdit* txtrgb = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label12 = nullptr;
    ClickableLabel* lblcolor = nullptr;
    std::array<ClickableLabel*, 4> lbltext{};
    QLabel* Label9 = nullptr;
    QLabel* Label8 = nullptr;
    ClickableLabel* lblhl = nullptr;
    ClickableLabel* lblal = nullptr;
    ClickableLabel* lblvl = nullptr;
    ClickableLabel* lblnl = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    SelectionFrame* shpSelect = nullptr;
    std::array<ClickableLabel*, CellCount> lblcor{};
    ClickableLabel* lbldisplay = nullptr;

    // ---- Menus ----
    QMenu* mnufile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuRenamePalette = nullptr; // a user palette's name in the list
    QAction* mnuExport = nullptr;        // the palette on display to a GIMP, ASE, CSS or JSON file
    QAction* mnuImport = nullptr;        // a GIMP or ASE file as a new user palette
    QAction* mnuExit = nullptr;

    QMenu* mnuEdit = nullptr;
    QMenu* mnuCopydec = nullptr;
    QAction* mnuCopydec1 = nullptr;
    QAction* mnuCopydec2 = nullptr;
    QMenu* mnuCopyhex = nullptr;
    QAction* mnuCopyhex1 = nullptr;
    QAction* mnuCopyhex2 = nullptr;
    QAction* mnuCopyhex3 = nullptr;
    QAction* mnuCopyhex4 = nullptr;
    QAction* mnuCopyhex5 = nullptr;
    QMenu* mnuCopySpecial = nullptr;
    QAction* mnuCopyCplus = nullptr;
    QAction* mnuCopyVB = nullptr;
    QAction* mnuCopyDelphi = nullptr;
    QAction* mnuCopyJava = nullptr;
    QAction* editsep2 = nullptr;
    QMenu* mnuAddto = nullptr;
    QList<QAction*> mnuAddChart; // item 0 exists from the start
    QAction* editsep3 = nullptr;
    QAction* mnuDelCor = nullptr;
    QAction* mnuNameColor = nullptr; // names the framed colour, enabled as mnuDelCor
    QAction* mnuDelChart = nullptr;
    QAction* editsep1 = nullptr;
    QAction* mnuCleanDup = nullptr;
    QAction* mnuCleanAll = nullptr;
    QAction* editsep4 = nullptr;
    QAction* mnuViewColor = nullptr;
    QAction* mnuconv = nullptr;

    QMenu* mnuTool = nullptr;
    QAction* mnustartpick = nullptr;
    QAction* mnuWebsafe = nullptr;
    QAction* mnuShowWinColor = nullptr;
    QAction* mnucon = nullptr;

    QMenu* mnuView = nullptr;
    QAction* mnuSwap = nullptr;
    QAction* mnuOnTop = nullptr;

    QMenu* mnuhelp = nullptr;
    QAction* mnucontents = nullptr;
    QAction* helpsep2 = nullptr;
    QAction* mnuWeb = nullptr;
    QAction* mnuemail = nullptr;
    QAction* helpsep3 = nullptr;
    QAction* mnuabout = nullptr;

    QMenu* mnuHtmlPop1 = nullptr;
    QAction* mnuSaveScheme = nullptr;
    QAction* mnuViewCode = nullptr;
    QAction* pop1sep1 = nullptr;
    QAction* mnuCopyHtml = nullptr;
    QAction* mnuCopyInline = nullptr;
    QAction* mnuCopyExternal = nullptr;
    QAction* pop1sep2 = nullptr;
    QAction* mnuShowweb = nullptr;

    // ---- Palette view state ----
    // The index tables are kept compact: an index can list a million palettes.
    StringTable ChartFile;
    StringTable ChartName;
    StringTable ChartKind;
    QString NewChartFile;
    qint32 ColorCount = 0;
    qint32 PageCount = 1;
    qint32 CurPage = 1;
    qint32 SelectedRecord = 0;
    Color CellColor = bascommon::Black;
    // The file of each "Add This Color To" target, in index order. With more
    // targets than fit one menu, the items come in groups that are filled when
    // opened (mnuAddChart then holds item 0 alone); AddToCount is the highest
    // target index either way.
    StringTable AddToFile;
    int AddToCount = 0;

    // ---- Scheme state ----
    int SchemeIndex = 0;

    // ---- Scheme contrast and colour vision ----
    // Appended to the View menu: the tool window that checks the scheme.
    QAction* viewsep1 = nullptr;
    QAction* mnuViewContrast = nullptr;
    // The tool window while it is open.
    frmContrast* contrastWindow() const;

    // ---- Today's colour notations (models/FormatsTool) ----
    FormatsTool* formatsTool() const { return m_formatsTool; }

    // ---- Colour generator ----
    // Appended to the Tool menu: the window that builds palettes around the
    // current colour, and that window while it is open.
    QAction* mnuGenerator = nullptr;
    frmGenerator* generatorWindow() const;

    // ---- Colours from images ----
    // Appended to the Tool menu: the window that picks from an image and
    // extracts its palette, and that window while it is open.
    QAction* mnuFromImage = nullptr;
    frmImage* imageWindow() const;

    // ---- Picking from anywhere ----
    // Appended to the Tool menu: a shortcut of the desktop that picks one
    // colour whichever program has the focus (a setting, off at first).
    QAction* mnuPickShortcut = nullptr;
    // What a later start asks: one colour picked with this program's windows
    // out of the way, or palette files imported. `answer` is called once.
    void answerSecondStart(const instancemessage::Request& request,
                           std::function<void(const instancemessage::Reply&)> answer);
    // Imports each file as File > Import Palette... does; the last one stays
    // shown. Gives the files that could not be imported.
    QStringList openPaletteFiles(const QStringList& files);

signals:
    // Any change of SchemeColors: a role's colour applied, a scheme shown.
    void schemeColorsChanged();
    void visionModeChanged();
    // The last step of CurrentColorChanged.
    void currentColorChanged(Color color);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout (app/frmshowcolor_layout.cpp).
    void buildControls();
    void buildMenus();
    void buildToolbar();

    void Form_Initialize();
    void Form_Unload();

    // Shows a file error once, naming the file and the reason.
    void reportFileError(const QString& message);
    // The same for failures that each display or colour change would repeat:
    // a message is shown the first time of a run only.
    void reportFileErrorOnce(const QString& message);
    // True while the palette on display is the recent-colours palette, the
    // one of file "recent.rgb", wherever the index lists it.
    bool recentColorsShown() const;
    // The data folder as start-up finds it: false, after telling the user
    // once, when it does not exist.
    bool dataFolderPresent();

    // Current colour and entry fields (app/frmshowcolor.cpp).
    void lblcolor_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    bool recordRecentColor(Color color);
    void applyDecimalFields();
    void applyHexFields();
    void setPaletteItemsVisible(bool visible);
    void setSwatchItemsVisible(bool visible);

    // Set-up of each subsystem's handlers, called once by the constructor.
    void setUpPaletteHandlers();   // palettes/frmshowcolor_palettes.cpp
    void setUpSchemeHandlers();    // scheme/frmshowcolor_scheme.cpp
    void setUpCopyMenuHandlers();  // models/frmshowcolor_copymenu.cpp
    void setUpGeneratorHandlers(); // palettes/frmshowcolor_generator.cpp
    void mnuGenerator_Click();
    // The end of picking: this window back, showing page 1 of the first palette.
    void returnFromPicking();
    // Page 1 of the first palette, whichever palette the colours went to.
    void showPalettesAfterPicking();
    void setUpImageHandlers(); // palettes/image/frmshowcolor_image.cpp
    void mnuFromImage_Click();
    // The palettes "Colors From Image" offers, when it is open.
    void offerImageSaveTargets(const StringTable& files, const StringTable& names);
    // A colour picked from an image, saved to `file` as the picker saves.
    void saveImageColor(Color color, const QString& file);
    // Picks for a later start or the desktop's shortcut
    // (palettes/picker/frmshowcolor_pick.cpp).
    void setUpPickHandlers();

    // Palettes (palettes/frmshowcolor_palettes.cpp).
    void cmbChart_Click(int index);
    void cmbChart_CurrentIndexChanged(int index);
    void cmbChart_Activated(int index);
    void lblcor_MouseMove(int index);
    void mnuNew_Click();
    void mnuExport_Click();
    void mnuImport_Click();
    // File > Import Palette... without its dialog: a new user palette of the file's
    // colours, shown; false after telling the user why not.
    bool importPaletteFromFile(const QString& path);
    // Lists a new user palette of file NewChartFile; false after reporting a
    // failure. showNewPalette then rebuilds the list and shows it.
    bool listUserPalette(const QString& name);
    void showNewPalette();
    // A new user palette of these colours, listed last and shown; false after
    // reporting a failure, with the index and the data folder as they were.
    bool addUserPalette(const QString& name, const QList<Color>& colors);
    // The same with the colours' names; the colours show first to last.
    bool addNamedPalette(const QString& name, const QList<Color>& colors, const QStringList& names);
    void mnuNameColor_Click();
    void mnuRenamePalette_Click();
    // The names of the palette on display, read again with its page 1.
    void loadChartNames(const QString& file);
    void mnuDelChart_Click();
    void mnuDelCor_Click();
    void mnuCleanAll_Click();
    void mnuCleanDup_Click();
    void mnuAddChart_Click(int index);
    // One cell of the page on display: its colour, and its name in its
    // tooltip and for a screen reader.
    void showCell(int index, qint32 page, PaletteGrid::Content content, Color color,
                  const QString& name);
    void updateCellTip(int index);
    void refreshChartFromPageOne(const QString& file);
    void reportIndexProblems(const QString& problems);
    void reportTornRecord(const QString& path);
    // Targets 1 and up of "Add This Color To", one item each or in groups.
    void addAddToItems(const StringTable& captions);
    QAction* addAddToItem(QMenu* menu, qsizetype k, const QString& name);
    int listedChart() const;
    bool confirmForChart(const QString& question, const QString& chartName, const QString& title);

    // Scheme (scheme/frmshowcolor_scheme.cpp).
    void loadSchemeList();
    void markStartupScheme();
    void setSchemeColors(const SchemeColors& colors);
    void paintSchemeColors(const SchemeColors& colors);
    void lstCorset_Click();
    void lstCorset_LostFocus(QWidget* newFocus);
    void cmdDelItem_Click();
    void selectSchemeRole(QRadioButton* role, Color roleColor);
    void showSchemePopup(const QPoint& globalPos);
    void mnuSaveScheme_Click();
    void mnuViewCode_Click();
    void copySchemeCode(const QString& code);
    void mnuShowweb_Click();
    void buildContrastMenu();
    void mnuViewContrast_Click();
    // The panel in the colours the vision mode shows, once the true colours
    // have been painted.
    void paintVisionMode();

    // Copy menu (models/frmshowcolor_copymenu.cpp).
    void copyNotation(copynotations::Notation notation);
    void mnuCopydec1_Click();
    void mnuCopydec2_Click();
    void mnuCopyhex1_Click();
    void mnuCopyhex2_Click();
    void mnuCopyhex3_Click();
    void mnuCopyhex4_Click();
    void mnuCopyhex5_Click();
    void mnuCopyCplus_Click();
    void mnuCopyVB_Click();
    void mnuCopyDelphi_Click();
    void mnuCopyJava_Click();

    Platform& m_platform;
    QString m_dataFolder;
    Color m_currentColor = bascommon::White;
    SchemeColors m_scheme;
    colorvision::VisionMode m_visionMode{};
    QPointer<frmContrast> m_contrastWindow;
    HelpOpener* m_help = nullptr;
    FormatsTool* m_formatsTool = nullptr;
    QPointer<frmGenerator> m_generatorWindow;
    QPointer<frmImage> m_imageWindow;
    RequestedPick* m_requestedPick = nullptr;
    bool m_unloaded = false;
    bool m_recentFailureReported = false;

    // Palettes: the place of each listed palette in the index file, the cells
    // whose record cannot be read, the list position whose change the list's
    // following "activated" signal repeats.
    QList<qint32> m_chartEntryPosition;
    std::array<bool, CellCount> m_cellUnreadable{};
    // The names of the palette on display and of each cell's colour.
    PaletteNames m_chartNames;
    std::array<QString, CellCount> m_cellNames{};
    // Keyboard and screen-reader access to the cells, and the grid's lines.
    PaletteGrid* m_paletteGrid = nullptr;
    // Edit > "Undo ...": copies of what the palette edits replace.
    PaletteUndoMenu* m_paletteUndo = nullptr;
    int m_chartChangeJustShown = -1;
    // What the user was last told about the palette index, and the palette
    // files whose torn last record was reported.
    QString m_reportedIndexProblems;
    QSet<QString> m_reportedTornPalettes;
    // The groups of a long "Add This Color To".
    GroupedMenu* m_addToGroups = nullptr;
    // Messages given by reportFileErrorOnce, and whether the missing data
    // folder has been reported.
    QSet<QString> m_reportedOnce;
    bool m_missingFolderReported = false;
};
