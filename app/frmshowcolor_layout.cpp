// Builds the main window's controls, menus and toolbar. Positions are fixed, as
// the layout was designed: the compact view only shortens the window, which
// cuts off the web colour scheme editor at the bottom.
#include "app/frmshowcolor.h"

#include "app/ClickableLabel.h"
#include "app/CommonDialog.h"
#include "app/ElidingComboBox.h"
#include "app/EntryField.h"
#include "app/ImageList.h"
#include "app/SelectionFrame.h"
#include "app/Twips.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

namespace {

// Palette cell 0: 300 x 240 twips.
constexpr int CellWidth = twipsToPixels(300);
constexpr int CellHeight = twipsToPixels(240);
constexpr int GridLeft = 136;
constexpr int GridTop = 32;
constexpr int GridRight = GridLeft + 18 * (CellWidth - 1) + 1;
constexpr int LeftColumn = 8;
constexpr int FieldLeft = 40;
constexpr int HexFieldLeft = 80;
// The compact view cuts the window just above the scheme editor.
constexpr int SchemeTop = 240;
constexpr int SchemeListLeft = 356;

template <typename T> T* named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

QLabel* plainLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = named(new QLabel(text, parent), name);
    label->setGeometry(geometry);
    return label;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* menuSeparator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

// A submenu's own item carries the submenu's name too, so that it can be
// found, shown and hidden like any other item.
QMenu* submenu(QWidget* owner, const char* name, const QString& caption)
{
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

void frmshowcolor::buildControls()
{
    auto* central = named(new QWidget(this), "centralWidget");
    setCentralWidget(central);

    // Toolbar row: the buttons, and the palette list above the grid.
    tlbTool = named(new QToolBar(central), "tlbTool");
    cmbChart = named(new ElidingComboBox(central), "cmbChart");
    cmbChart->setToolTip(QStringLiteral("Color palette"));

    dlg1 = named(new CommonDialog(m_platform, this), "dlg1");
    ImageList1 = named(new ImageList(this), "ImageList1");

    // Current colour: swatch (1620 x 945 twips), then the notation rows and
    // the entry fields.
    lblcolor = named(new ClickableLabel(central), "lblcolor");
    lblcolor->setGeometry(LeftColumn, GridTop, twipsToPixels(1620), twipsToPixels(945));
    lblcolor->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblcolor->setBackColor(bascommon::White);
    lblcolor->setToolTip(QStringLiteral(
        "Current Color - Right-click for more features.Double-click to show color details."));

    const int rgbRow = GridTop + twipsToPixels(945) + 4;
    Label6 =
        plainLabel(central, "Label6", QStringLiteral("RGB:"), QRect(LeftColumn, rgbRow, 32, 19));
    txtrgb1 = named(new QLineEdit(QStringLiteral("255,255,255"), central), "txtrgb1");
    txtrgb1->setReadOnly(true);
    txtrgb1->setMaxLength(11);
    txtrgb1->setGeometry(FieldLeft, rgbRow, 76, 19);

    const int hexRow = rgbRow + 22;
    Label2 =
        plainLabel(central, "Label2", QStringLiteral("HEX:"), QRect(LeftColumn, hexRow, 32, 19));
    txtrgb = named(new QLineEdit(QStringLiteral("#FFFFFF"), central), "txtrgb");
    txtrgb->setReadOnly(true);
    txtrgb->setMaxLength(7);
    txtrgb->setGeometry(FieldLeft, hexRow, 76, 19);

    const int headingRow = hexRow + 22;
    Label8 =
        plainLabel(central, "Label8", QStringLiteral("DEC"), QRect(FieldLeft, headingRow, 36, 14));
    Label9 = plainLabel(central, "Label9", QStringLiteral("HEX"),
                        QRect(HexFieldLeft, headingRow, 36, 14));
    Label8->setAlignment(Qt::AlignCenter);
    Label9->setAlignment(Qt::AlignCenter);

    struct Row
    {
        const char* label;
        const char* caption;
        const char* decimal;
        const char* hex;
        QLabel** labelPointer;
        EntryField** decimalPointer;
        EntryField** hexPointer;
    };
    const Row rows[] = {
        {"Label3", "R:", "txtr", "txtrh", &Label3, &txtr, &txtrh},
        {"Label4", "G:", "txtg", "txtgh", &Label4, &txtg, &txtgh},
        {"Label5", "B:", "txtb", "txtbh", &Label5, &txtb, &txtbh},
    };
    int rowTop = headingRow + 15;
    for (const Row& row : rows) {
        *row.labelPointer = plainLabel(central, row.label, QLatin1String(row.caption),
                                       QRect(LeftColumn, rowTop, 30, 19));
        *row.decimalPointer =
            named(new EntryField(entryrules::FieldKind::Decimal, central), row.decimal);
        (*row.decimalPointer)->setText(QStringLiteral("255"));
        (*row.decimalPointer)->setGeometry(FieldLeft, rowTop, 36, 19);
        *row.hexPointer =
            named(new EntryField(entryrules::FieldKind::Hexadecimal, central), row.hex);
        (*row.hexPointer)->setText(QStringLiteral("FF"));
        (*row.hexPointer)->setGeometry(HexFieldLeft, rowTop, 36, 19);
        rowTop += 21;
    }
    // Tab walks down the decimal column, then down the hexadecimal one.
    setTabOrder(txtr, txtg);
    setTabOrder(txtg, txtb);
    setTabOrder(txtb, txtrh);
    setTabOrder(txtrh, txtgh);
    setTabOrder(txtgh, txtbh);

    // Palette grid: 12 rows and 18 columns, numbered down each column, each
    // cell one pixel closer to its neighbour than its own size so that the
    // borders are shared.
    for (int i = 0; i < CellCount; ++i) {
        auto* cell = new ClickableLabel(central);
        cell->setObjectName(QStringLiteral("lblcor_%1").arg(i));
        // The grid's lines are drawn over the cells in one piece (palettes/).
        cell->setFrameStyle(QFrame::NoFrame);
        cell->setBackColor(bascommon::White);
        cell->setMouseTracking(true);
        cell->setGeometry(GridLeft + (i / CellRows) * (CellWidth - 1),
                          GridTop + (i % CellRows) * (CellHeight - 1), CellWidth, CellHeight);
        lblcor[static_cast<std::size_t>(i)] = cell;
    }
    shpSelect = named(new SelectionFrame(central), "shpSelect");
    shpSelect->setGeometry(GridLeft - 2, GridTop - 2, CellWidth + 4, CellHeight + 4);
    shpSelect->hide();

    // Web colour scheme editor, below the palette grid and the entry fields.
    auto* divider = named(new QFrame(central), "schemeDivider");
    divider->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    divider->setGeometry(LeftColumn, SchemeTop - 4, GridRight - LeftColumn, 2);

    Label12 = plainLabel(central, "Label12", QStringLiteral("Html Color Code"),
                         QRect(LeftColumn, SchemeTop, 200, 16));
    QFont headingFont = Label12->font();
    headingFont.setBold(true);
    Label12->setFont(headingFont);

    Frame1 = named(new QGroupBox(QStringLiteral("Html Color Item"), central), "Frame1");
    Frame1->setGeometry(LeftColumn, SchemeTop + 18, 104, 172);
    struct Option
    {
        const char* name;
        const char* caption;
        const char* tip;
        QRadioButton** pointer;
    };
    const Option options[] = {
        {"optbg", "Background", "Background color", &optbg},
        {"opttext", "Text", "Body text color", &opttext},
        {"optnl", "Normal link", "Normal hyperlink color", &optnl},
        {"optvl", "Visited link", "Visited hyperlink color", &optvl},
        {"optal", "Active link", "Active hyperlink color", &optal},
        {"opthl", "Hover link", "Hover hyperlink color", &opthl},
        {"optnone", "None", "Don't set html color", &optnone},
    };
    int optionTop = 18;
    for (const Option& option : options) {
        auto* button = named(new QRadioButton(QLatin1String(option.caption), Frame1), option.name);
        button->setToolTip(QLatin1String(option.tip));
        button->setGeometry(8, optionTop, 94, 20);
        *option.pointer = button;
        optionTop += 22;
    }

    lbldisplay = named(new ClickableLabel(central), "lbldisplay");
    lbldisplay->setGeometry(LeftColumn + 110, SchemeTop + 22, 232, 168);
    lbldisplay->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lbldisplay->setBackColor(bascommon::White);

    // The samples lie on the panel, top to bottom.
    struct Sample
    {
        const char* name;
        const char* caption;
        ClickableLabel** pointer;
    };
    ClickableLabel* sampleText[4] = {};
    const Sample samples[] = {
        {"lbltext_1", "Text will look like this in web browser.", &sampleText[1]},
        {"lbltext_0", "Thank you for using Tintora.", &sampleText[0]},
        {"lbltext_2", "Tip of Use", &sampleText[2]},
        {"lbltext_3", "Right-click here access to more features.", &sampleText[3]},
        {"lblnl", "Normal links will look like this", &lblnl},
        {"lblvl", "Visited links will look like this", &lblvl},
        {"lblal", "Active links will look like this", &lblal},
        {"lblhl", "Hover links will look like this", &lblhl},
    };
    int sampleTop = 6;
    for (const Sample& sample : samples) {
        auto* label = named(new ClickableLabel(lbldisplay), sample.name);
        label->setText(QLatin1String(sample.caption));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(4, sampleTop, 224, 19);
        label->setBackColor(bascommon::White);
        *sample.pointer = label;
        sampleTop += 20;
    }
    for (std::size_t i = 0; i < lbltext.size(); ++i)
        lbltext[i] = sampleText[i];
    QFont boldFont = lbltext[0]->font();
    boldFont.setBold(true);
    lbltext[0]->setFont(boldFont);
    for (ClickableLabel* link : {lblnl, lblvl, lblal, lblhl}) {
        QFont linkFont = link->font();
        linkFont.setUnderline(true);
        link->setFont(linkFont);
    }

    lstCorset = named(new QListWidget(central), "lstCorset");
    lstCorset->setGeometry(SchemeListLeft, SchemeTop + 22, GridRight - SchemeListLeft, 136);
    cmdDelItem =
        named(new QPushButton(QStringLiteral("Delete This Scheme"), central), "cmdDelItem");
    cmdDelItem->setGeometry(SchemeListLeft, SchemeTop + 162, GridRight - SchemeListLeft, 28);
}

void frmshowcolor::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    mnufile = submenu(this, "mnufile", QStringLiteral("&File"));
    mnuNew = menuItem(mnufile, "mnuNew", QStringLiteral("&New Color Palette..."));
    mnuExport = menuItem(mnufile, "mnuExport", QStringLiteral("&Export Palette..."));
    mnuImport = menuItem(mnufile, "mnuImport", QStringLiteral("&Import Palette..."));
    mnuRenamePalette = menuItem(mnufile, "mnuRenamePalette", QStringLiteral("&Rename Palette..."));
    mnuExit = menuItem(mnufile, "mnuExit", QStringLiteral("E&xit"));
    bar->addMenu(mnufile);

    mnuEdit = submenu(this, "mnuEdit", QStringLiteral("&Edit"));
    mnuCopydec = submenu(mnuEdit, "mnuCopydec", QStringLiteral("Copy DEC Format of Color"));
    mnuCopydec1 = menuItem(mnuCopydec, "mnuCopydec1", QStringLiteral("RGB(255,255,113)"));
    mnuCopydec2 = menuItem(mnuCopydec, "mnuCopydec2", QStringLiteral("255,255,113"));
    mnuEdit->addMenu(mnuCopydec);
    mnuCopyhex = submenu(mnuEdit, "mnuCopyhex", QStringLiteral("Copy HEX Format of Color"));
    mnuCopyhex1 = menuItem(mnuCopyhex, "mnuCopyhex1", QStringLiteral("#FFFFFF"));
    mnuCopyhex2 = menuItem(mnuCopyhex, "mnuCopyhex2", QStringLiteral("\"#FFFFFF\""));
    mnuCopyhex3 = menuItem(mnuCopyhex, "mnuCopyhex3", QStringLiteral("FFFFFF"));
    mnuCopyhex4 = menuItem(mnuCopyhex, "mnuCopyhex4", QStringLiteral("\"FFFFFF\""));
    mnuCopyhex5 = menuItem(mnuCopyhex, "mnuCopyhex5", QStringLiteral("Hex={FF,FF,FF}"));
    mnuEdit->addMenu(mnuCopyhex);
    mnuCopySpecial = submenu(mnuEdit, "mnuCopySpecial", QStringLiteral("Copy Special Format"));
    mnuCopyCplus = menuItem(mnuCopySpecial, "mnuCopyCplus", QStringLiteral("C++"));
    mnuCopyVB = menuItem(mnuCopySpecial, "mnuCopyVB", QStringLiteral("VB:"));
    mnuCopyDelphi = menuItem(mnuCopySpecial, "mnuCopyDelphi", QStringLiteral("Delphi:"));
    mnuCopyJava = menuItem(mnuCopySpecial, "mnuCopyJava", QStringLiteral("Java:"));
    mnuEdit->addMenu(mnuCopySpecial);
    editsep2 = menuSeparator(mnuEdit, "editsep2");
    editsep2->setVisible(false);
    mnuAddto = submenu(mnuEdit, "mnuAddto", QStringLiteral("Add This Color To"));
    QAction* firstTarget = menuItem(mnuAddto, "mnuAddChart_0", QStringLiteral("Addto"));
    mnuAddChart.append(firstTarget);
    mnuEdit->addMenu(mnuAddto);
    mnuAddto->menuAction()->setVisible(false);
    editsep3 = menuSeparator(mnuEdit, "editsep3");
    mnuDelCor = menuItem(mnuEdit, "mnuDelCor", QStringLiteral("&Delete Selected Color"));
    mnuNameColor = menuItem(mnuEdit, "mnuNameColor", QStringLiteral("&Name This Color..."));
    mnuDelChart = menuItem(mnuEdit, "mnuDelChart", QStringLiteral("Delete &Current Palette"));
    editsep1 = menuSeparator(mnuEdit, "editsep1");
    mnuCleanDup = menuItem(mnuEdit, "mnuCleanDup", QStringLiteral("Clear Duplicate Colors"));
    mnuCleanAll = menuItem(mnuEdit, "mnuCleanAll", QStringLiteral("Clear All Colors"));
    editsep4 = menuSeparator(mnuEdit, "editsep4");
    editsep4->setVisible(false);
    mnuViewColor = menuItem(mnuEdit, "mnuViewColor", QStringLiteral("Preview: Show Color Details"));
    mnuViewColor->setVisible(false);
    mnuconv = menuItem(mnuEdit, "mnuconv", QStringLiteral("Color Conversion"));
    mnuconv->setVisible(false);
    bar->addMenu(mnuEdit);

    mnuTool = submenu(this, "mnuTool", QStringLiteral("&Tool"));
    mnustartpick = menuItem(mnuTool, "mnustartpick", QStringLiteral("Screen Color &Picker"));
    mnuWebsafe = menuItem(mnuTool, "mnuWebsafe", QStringLiteral("&Make Web Safe"));
    mnuShowWinColor =
        menuItem(mnuTool, "mnuShowWinColor", QStringLiteral("&Show Windows Color Dialog"));
    mnucon = menuItem(mnuTool, "mnucon", QStringLiteral("Color &Conversion"));
    bar->addMenu(mnuTool);

    mnuView = submenu(this, "mnuView", QStringLiteral("&View"));
    mnuSwap = menuItem(mnuView, "mnuSwap", QStringLiteral("Only &Show Color Palette"));
    mnuSwap->setCheckable(true);
    mnuOnTop = menuItem(mnuView, "mnuOnTop", QStringLiteral("&Always On Top"));
    mnuOnTop->setCheckable(true);
    bar->addMenu(mnuView);

    mnuhelp = submenu(this, "mnuhelp", QStringLiteral("&Help"));
    mnucontents = menuItem(mnuhelp, "mnucontents", QStringLiteral("&Help Topics"));
    helpsep2 = menuSeparator(mnuhelp, "helpsep2");
    mnuWeb = menuItem(mnuhelp, "mnuWeb", QStringLiteral("&Visit Our Website"));
    mnuemail = menuItem(mnuhelp, "mnuemail", QStringLiteral("&E-mail To Support"));
    helpsep3 = menuSeparator(mnuhelp, "helpsep3");
    mnuabout = menuItem(mnuhelp, "mnuabout", QStringLiteral("&About Tintora"));
    bar->addMenu(mnuhelp);

    // The scheme pop-up menu: a top-level menu that never shows in the bar.
    mnuHtmlPop1 = submenu(this, "mnuHtmlPop1", QStringLiteral("HtmlPop1"));
    mnuSaveScheme =
        menuItem(mnuHtmlPop1, "mnuSaveScheme", QStringLiteral("Save Current Web Color scheme..."));
    mnuViewCode = menuItem(mnuHtmlPop1, "mnuViewCode", QStringLiteral("View Html and CSS Code"));
    pop1sep1 = menuSeparator(mnuHtmlPop1, "pop1sep1");
    mnuCopyHtml = menuItem(mnuHtmlPop1, "mnuCopyHtml", QStringLiteral("Copy Html Code"));
    mnuCopyInline = menuItem(mnuHtmlPop1, "mnuCopyInline", QStringLiteral("Copy Inline Css Code"));
    mnuCopyExternal =
        menuItem(mnuHtmlPop1, "mnuCopyExternal", QStringLiteral("Copy External Css Code"));
    pop1sep2 = menuSeparator(mnuHtmlPop1, "pop1sep2");
    mnuShowweb = menuItem(mnuHtmlPop1, "mnuShowweb", QStringLiteral("Preview"));
    bar->addMenu(mnuHtmlPop1);
    mnuHtmlPop1->menuAction()->setVisible(false);
}

void frmshowcolor::buildToolbar()
{
    tlbTool->setMovable(false);
    tlbTool->setFloatable(false);
    tlbTool->setIconSize(QSize(16, 16));
    tlbTool->setToolButtonStyle(Qt::ToolButtonIconOnly);

    struct Button
    {
        const char* tag;
        const char* tip;
        bool checkable;
    };
    const Button buttons[] = {
        {"pickcolor", "Screen Color picker", false},
        {"makewebsafe", "Make current color web safe", false},
        {"showcolor", "Show windows color dialog", false},
        {"colorchart", "Only show color palette", true},
        {"ontop", "Always on top", true},
        {nullptr, nullptr, false},
        {"addnew", "Add a new color palette", false},
        {"prevpage", "Previous page of current color palette", false},
        {"nextpage", "Next page of current color palette", false},
        {"clearduplicate", "Clear duplicate colors", false},
    };
    for (const Button& button : buttons) {
        if (!button.tag) {
            tlbTool->addSeparator()->setObjectName(QStringLiteral("toolsep1"));
            continue;
        }
        const QString tag = QLatin1String(button.tag);
        QAction* action = tlbTool->addAction(ImageList1->icon(tag), QLatin1String(button.tip));
        action->setObjectName(tag);
        action->setToolTip(QLatin1String(button.tip));
        action->setCheckable(button.checkable);
        tlbTool->widgetForAction(action)->setObjectName(tag);
        connect(action, &QAction::triggered, this, [this, tag] { tlbTool_ButtonClick(tag); });
    }
    // The palette list shares the toolbar's row, above the grid.
    const int toolbarWidth = tlbTool->sizeHint().width();
    tlbTool->setGeometry(2, 2, toolbarWidth, 28);
    const int listLeft = qMax(toolbarWidth + 8, GridLeft);
    cmbChart->setGeometry(listLeft, 5, GridRight - listLeft, 22);
}
