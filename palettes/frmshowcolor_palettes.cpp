// The main window's palette view and palette commands.
#include "app/frmshowcolor.h"

#include "app/ClickableLabel.h"
#include "app/DataFileAccess.h"
#include "app/DataFolderAccess.h"
#include "app/platform/Platform.h"
#include "app/ProgressWindow.h"
#include "app/SafeRewrite.h"
#include "app/SelectionFrame.h"
#include "app/TextBounds.h"
#include "app/WindowRoutines.h"
#include "app/frmInput.h"
#include "palettes/GroupedMenu.h"
#include "palettes/NamedEdits.h"
#include "palettes/NewPalette.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/PaletteGrid.h"
#include "palettes/PaletteGridLines.h"
#include "palettes/PaletteIndex.h"
#include "palettes/PaletteListModel.h"
#include "palettes/PaletteRecords.h"
#include "palettes/PaletteUndoMenu.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QFontMetrics>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTimer>

using namespace bascommon;

namespace {

const QString CellTipTail =
    QStringLiteral(" - Right-click for more features. Double-click to show color details.");
const QString UnreadableCellTip = QStringLiteral("This color record cannot be read");
const QString EmptyAddToCaption = QStringLiteral("Addto");

// An unreadable record shows as a white cell crossed by red hatching, which no
// colour of a palette can look like.
QPixmap unreadableHatch(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(QColor(192, 0, 0));
    for (int x = -size.height(); x < size.width(); x += 4)
        painter.drawLine(x, size.height(), x + size.height(), 0);
    return pixmap;
}

// Palette names are the user's text: an "&" is a character, not a mnemonic.
QString menuCaption(const QString& name)
{
    QString caption = name;
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Longer names are cut short in the "Add This Color To" menu, whole in the
// item's tooltip.
constexpr int AddToCaptionWidth = 320;

void setAddToCaption(const QMenu* menu, QAction* item, const QString& name)
{
    const QFontMetrics metrics(menu->font());
    item->setText(menuCaption(metrics.elidedText(name, Qt::ElideRight, AddToCaptionWidth)));
    item->setToolTip(PlainToolTip(name));
}

bool isReadOnlyKind(const QString& kind)
{
    return TrimSpaces(kind) == QLatin1String("2");
}

PaletteGrid::Content gridContent(paletterecords::PageCell::Kind kind)
{
    switch (kind) {
    case paletterecords::PageCell::Kind::Colour:
        return PaletteGrid::Content::Colour;
    case paletterecords::PageCell::Kind::Unreadable:
        return PaletteGrid::Content::Unreadable;
    case paletterecords::PageCell::Kind::Empty:
        break;
    }
    return PaletteGrid::Content::Empty;
}

bool isUndeletableKind(const QString& kind)
{
    const QString trimmed = TrimSpaces(kind);
    return trimmed == QLatin1String("0") || trimmed == QLatin1String("2");
}

// The name dialog, opening with `current` to edit. Nothing for Cancel;
// otherwise the dialog's answer (`trimmed` the text as typed, trimmed, so
// that an empty field is an answer of its own).
struct NameDialogAnswer
{
    QString name;
    QString trimmed;
};
std::optional<NameDialogAnswer> askForName(Platform& platform, QWidget* parent,
                                           const QString& title, const QString& prompt,
                                           const QString& current)
{
    frmInput dialog(platform, parent);
    dialog.setWindowTitle(title);
    dialog.lblMsg->setText(prompt);
    dialog.txtResult->setText(current);
    dialog.txtResult->selectAll();
    dialog.exec();
    // OK always gives a name ("Untiltled" for an empty field); Cancel none.
    if (dialog.result().isEmpty())
        return std::nullopt;
    return NameDialogAnswer{dialog.result(), dialog.typedText().trimmed()};
}

// The listed palette `i` as the index gives it, for the undo journal.
paletteindex::Entry chartEntry(const StringTable& files, const StringTable& names,
                               const StringTable& kinds, const QList<qint32>& positions, int i)
{
    return {files.at(i), names.at(i), kinds.at(i), positions.value(i)};
}

} // namespace

void frmshowcolor::setUpPaletteHandlers()
{
    m_paletteGrid =
        new PaletteGrid(QList<ClickableLabel*>(lblcor.begin(), lblcor.end()), CellRows, this);
    m_paletteGrid->lines()->stackUnder(shpSelect);
    m_paletteGrid->setPageButtons(toolButton(QStringLiteral("prevpage")),
                                  toolButton(QStringLiteral("nextpage")));
    connect(m_paletteGrid, &PaletteGrid::cellReleased, this, &frmshowcolor::lblcor_MouseUp);

    m_paletteUndo = new PaletteUndoMenu(m_dataFolder, m_platform, mnuEdit, this);
    connect(m_paletteUndo, &PaletteUndoMenu::restored, this, [this](const QString& file) {
        ShowChartMenu();
        const int restored = int(ChartFile.indexOf(file));
        if (restored > 0)
            cmbChart->setCurrentIndex(restored);
        refreshChartFromPageOne(ChartFile.value(cmbChart->currentIndex()));
    });
    for (int i = 0; i < CellCount; ++i) {
        ClickableLabel* cell = lblcor[static_cast<std::size_t>(i)];
        connect(cell, &ClickableLabel::mouseReleased, this,
                [this, i](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& pos) {
                    lblcor_MouseUp(i, button, pos);
                });
        connect(cell, &ClickableLabel::mouseMoved, this, [this, i] { lblcor_MouseMove(i); });
        connect(cell, &ClickableLabel::doubleClicked, this, &frmshowcolor::mnuViewColor_Click);
    }
    // The list reads its entries from ChartName.
    ShowPaletteNames(cmbChart, ChartName);
    m_addToGroups = new GroupedMenu(this);
    connect(cmbChart, &QComboBox::currentIndexChanged, this,
            &frmshowcolor::cmbChart_CurrentIndexChanged);
    connect(cmbChart, &QComboBox::activated, this, &frmshowcolor::cmbChart_Activated);

    connect(mnuNew, &QAction::triggered, this, &frmshowcolor::mnuNew_Click);
    connect(mnuExport, &QAction::triggered, this, &frmshowcolor::mnuExport_Click);
    connect(mnuImport, &QAction::triggered, this, &frmshowcolor::mnuImport_Click);
    connect(mnuDelChart, &QAction::triggered, this, &frmshowcolor::mnuDelChart_Click);
    connect(mnuDelCor, &QAction::triggered, this, &frmshowcolor::mnuDelCor_Click);
    // A colour can be named wherever it can be deleted.
    connect(mnuDelCor, &QAction::enabledChanged, mnuNameColor, &QAction::setEnabled);
    mnuNameColor->setEnabled(mnuDelCor->isEnabled());
    connect(mnuNameColor, &QAction::triggered, this, &frmshowcolor::mnuNameColor_Click);
    connect(mnuRenamePalette, &QAction::triggered, this, &frmshowcolor::mnuRenamePalette_Click);
    connect(mnuCleanAll, &QAction::triggered, this, &frmshowcolor::mnuCleanAll_Click);
    connect(mnuCleanDup, &QAction::triggered, this, &frmshowcolor::mnuCleanDup_Click);
    connect(mnuAddChart.at(0), &QAction::triggered, this, [this] { mnuAddChart_Click(0); });
}

// ---------------------------------------------------------------------------
// The palette list and the index

void frmshowcolor::reportIndexProblems(const QString& problems)
{
    m_platform.showMessage(this, problems, Platform::Buttons::Ok, Platform::Icon::Warning,
                           QStringLiteral("Tintora"));
}

bool frmshowcolor::RepairFile()
{
    if (FileResult repaired = paletteindex::Repair(m_dataFolder); !repaired) {
        reportFileError(repaired.message);
        return false;
    }
    return true;
}

bool frmshowcolor::DeleteChart(qint32 index)
{
    if (FileResult deleted = paletteindex::DeleteEntry(m_dataFolder, index); !deleted) {
        reportFileError(deleted.message);
        return false;
    }
    return true;
}

paletteindex::Reading frmshowcolor::ReadChartIndex()
{
    // Without the data folder there is no index; that was told once already.
    if (m_missingFolderReported && !QFileInfo(m_dataFolder).isDir()) {
        paletteindex::Reading none;
        none.nextFileName = paletteindex::NextFileName({});
        return none;
    }
    // Everything wrong with the index goes into one message per reading.
    const FileResult repaired = paletteindex::Repair(m_dataFolder);
    paletteindex::Reading reading = paletteindex::Read(m_dataFolder);

    QStringList problems;
    // An index that cannot be opened could not be repaired either, for the
    // same reason: the reading's message alone says it.
    if (!repaired && !reading.unreadable)
        problems.append(repaired.message);
    if (!reading.problems.isEmpty())
        problems.append(reading.problems);
    // The index is read again after every palette added or deleted: the user
    // hears about a damaged index once, and again only when its damage changes.
    const QString report = problems.join(QLatin1Char('\n'));
    if (!report.isEmpty() && report != m_reportedIndexProblems)
        reportIndexProblems(report);
    m_reportedIndexProblems = report;
    return reading;
}

void frmshowcolor::ShowChartMenu()
{
    {
        const QSignalBlocker quiet(cmbChart);
        cmbChart->clear();
    }
    const paletteindex::Reading reading = ReadChartIndex();

    ChartFile = reading.entries.files;
    ChartName = reading.entries.names;
    ChartKind = reading.entries.kinds;
    m_chartEntryPosition = reading.entries.positions;
    {
        const QSignalBlocker quiet(cmbChart);
        ShowPaletteNames(cmbChart, ChartName);
        cmbChart->setCurrentIndex(-1);
    }
    NewChartFile = reading.nextFileName;

    if (cmbChart->count() > 0)
        cmbChart->setCurrentIndex(0);
    else
        cmbChart_Click(-1);
    ShowAddTo(reading);
}

void frmshowcolor::cmbChart_CurrentIndexChanged(int index)
{
    cmbChart_Click(index);
    // When the user made this change, "activated" for the same entry follows
    // at once and must not show the palette a second time; a change made by
    // the program has no such follower, so the mark lapses with this event.
    m_chartChangeJustShown = index;
    QTimer::singleShot(0, this, [this] { m_chartChangeJustShown = -1; });
}

void frmshowcolor::cmbChart_Activated(int index)
{
    if (index == m_chartChangeJustShown) {
        m_chartChangeJustShown = -1;
        return;
    }
    // The user chose the entry already on display: show its page 1 again.
    cmbChart_Click(index);
}

void frmshowcolor::cmbChart_Click(int index)
{
    shpSelect->hide();
    mnuDelCor->setEnabled(false);
    CurPage = 1;
    ShowColorChart(ChartFile.value(index), CurPage);

    const bool listed = index >= 0 && index < ChartKind.size();
    const bool clearable = listed && !isReadOnlyKind(ChartKind.at(index));
    mnuCleanAll->setEnabled(clearable);
    mnuCleanDup->setEnabled(clearable);
    toolButton(QStringLiteral("clearduplicate"))->setEnabled(clearable);
    mnuDelChart->setEnabled(listed && !isUndeletableKind(ChartKind.at(index)));
    mnuRenamePalette->setEnabled(listed && TrimSpaces(ChartKind.at(index)) == QLatin1String("1"));
}

// ---------------------------------------------------------------------------
// The palette view

void frmshowcolor::ShowColorChart(const QString& curChartfile, qint32 page)
{
    shpSelect->hide();
    mnuDelCor->setEnabled(false);

    // A name that is not a plain file name (no palette listed) shows an empty
    // page and touches no file.
    const bool addressable = paletteindex::IsPlainFileName(curChartfile);
    const QString path = dataFilePath(curChartfile);
    FileResult result = FileResult::success();
    if (addressable)
        result = paletterecords::EnsureFileExists(path);
    if (page == 1) {
        ColorCount = addressable ? paletterecords::CountRecords(path) : 0;
        if (addressable && result)
            loadChartNames(curChartfile);
        else
            m_chartNames = PaletteNames();
    }
    PageCount = paletterecords::PageCountFor(ColorCount);

    paletterecords::PageCells cells;
    if (addressable && result)
        result = paletterecords::ReadPage(path, ColorCount, page, cells);
    else
        cells.fill({});
    for (int j = 0; j < CellCount; ++j) {
        const paletterecords::PageCell& cell = cells[static_cast<std::size_t>(j)];
        showCell(j, page, gridContent(cell.kind), cell.color,
                 cell.kind == paletterecords::PageCell::Kind::Colour
                     ? m_chartNames.nameOf(paletterecords::RecordForCell(ColorCount, page, j))
                     : QString());
    }
    m_paletteGrid->setPage(page, PageCount);

    QAction* previous = toolButton(QStringLiteral("prevpage"));
    QAction* next = toolButton(QStringLiteral("nextpage"));
    if (PageCount == 1) {
        previous->setEnabled(false);
        next->setEnabled(false);
    } else if (page == 1) {
        previous->setEnabled(false);
        next->setEnabled(true);
    } else if (page >= PageCount) {
        previous->setEnabled(true);
        next->setEnabled(false);
    } else {
        previous->setEnabled(true);
        next->setEnabled(true);
    }

    // A link is left alone for the whole run, and the user is told so once
    // rather than at every display.
    if (!result && datafiles::IsSymbolicLink(path))
        reportFileErrorOnce(result.message);
    else if (!result)
        reportFileError(result.message);
    else if (page == 1 && addressable)
        reportTornRecord(path);
}

void frmshowcolor::loadChartNames(const QString& file)
{
    // Names are read with page 1 only: the other pages use the same reading.
    if (FileResult read = PaletteNames::read(m_dataFolder, file, m_chartNames); !read)
        reportFileErrorOnce(read.message);
}

void frmshowcolor::reportTornRecord(const QString& path)
{
    // Told once a run for each file: the palette is shown again after every
    // command, and the bytes stay until the next append replaces them.
    const qint64 torn = paletterecords::TrailingBytes(path);
    if (torn == 0 || m_reportedTornPalettes.contains(path))
        return;
    m_reportedTornPalettes.insert(path);
    m_platform.showMessage(
        this,
        QStringLiteral("The palette file \"%1\" ends with %2 that do not make a whole colour "
                       "record. They are not shown, and the next colour added to this palette "
                       "takes their place.")
            .arg(QDir::toNativeSeparators(path),
                 torn == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(torn)),
        Platform::Buttons::Ok, Platform::Icon::Warning, QStringLiteral("Tintora"));
}

void frmshowcolor::showCell(int index, qint32 page, PaletteGrid::Content content, Color color,
                            const QString& name)
{
    const auto at = static_cast<std::size_t>(index);
    const bool unreadable = content == PaletteGrid::Content::Unreadable;
    ClickableLabel* cell = lblcor[at];
    if (cell->backColor() != color)
        cell->setBackColor(color);
    if (m_cellUnreadable[at] != unreadable) {
        m_cellUnreadable[at] = unreadable;
        if (unreadable)
            cell->setPixmap(unreadableHatch(cell->contentsRect().size()));
        else
            cell->clear();
    }
    m_cellNames[at] = name;
    m_paletteGrid->describeCell(index, content, color, (page - 1) * CellsPerPage + index + 1,
                                ColorCount, name);
    updateCellTip(index);
}

void frmshowcolor::updateCellTip(int index)
{
    const auto at = static_cast<std::size_t>(index);
    QString head =
        m_cellUnreadable[at] ? UnreadableCellTip : ColorToHtmlHex(lblcor[at]->backColor());
    if (!m_cellNames[at].isEmpty())
        head += QLatin1Char(' ') + m_cellNames[at];
    lblcor[at]->setToolTip(PlainToolTip(head + CellTipTail));
}

void frmshowcolor::lblcor_MouseMove(int index)
{
    updateCellTip(index);
}

void frmshowcolor::lblcor_MouseUp(int index, Qt::MouseButton button, const QPoint& globalPos)
{
    ClickableLabel* cell = lblcor[static_cast<std::size_t>(index)];
    SelectedRecord = paletterecords::RecordForCell(ColorCount, CurPage, index);
    const int listPosition = cmbChart->currentIndex();
    const bool readOnly = listPosition < 0 || isReadOnlyKind(ChartKind.value(listPosition));
    mnuDelCor->setEnabled(SelectedRecord >= 1 && !readOnly);

    ClearSchemeSelection();
    shpSelect->move(cell->x() - 2, cell->y() - 2);
    shpSelect->show();
    shpSelect->raise();

    CellColor = cell->backColor();
    CurrentColorChanged(CellColor);

    if (button == Qt::RightButton) {
        const QList<QAction*> popupOnly = {editsep2, mnuAddto->menuAction(), editsep4,
                                           mnuViewColor};
        for (QAction* item : popupOnly)
            item->setVisible(true);
        ChangeCopyMenu();
        mnuEdit->exec(globalPos);
        for (QAction* item : popupOnly)
            item->setVisible(false);
    }
}

// ---------------------------------------------------------------------------
// "Add This Color To"

void frmshowcolor::ShowAddTo(const paletteindex::Reading& reading)
{
    m_addToGroups->clear();
    while (mnuAddChart.size() > 1)
        delete mnuAddChart.takeLast();
    AddToFile.clear();
    AddToCount = 0;

    StringTable captions;
    paletteindex::ColorTargets(reading.entries, AddToFile, captions);

    offerImageSaveTargets(AddToFile, captions);

    mnuAddto->setToolTipsVisible(true);
    if (AddToFile.isEmpty()) {
        mnuAddChart.at(0)->setText(EmptyAddToCaption);
        mnuAddChart.at(0)->setToolTip(QString());
        return;
    }
    setAddToCaption(mnuAddto, mnuAddChart.at(0), captions.at(0));
    AddToCount = static_cast<int>(AddToFile.size() - 1);
    addAddToItems(captions);
}

void frmshowcolor::addAddToItems(const StringTable& captions)
{
    const auto makeItem = [this](QMenu* menu, qsizetype k, const QString& name) {
        return addAddToItem(menu, k, name);
    };
    if (captions.size() <= GroupedMenu::GroupSize + 1) {
        for (qsizetype k = 1; k < captions.size(); ++k)
            mnuAddChart.append(addAddToItem(mnuAddto, k, captions.at(k)));
        return;
    }
    // Item 0, the first palette, stays one click away; the others come in
    // groups that are filled when opened.
    m_addToGroups->fill(mnuAddto, captions, 1, makeItem);
}

QAction* frmshowcolor::addAddToItem(QMenu* menu, qsizetype k, const QString& name)
{
    QAction* item = menu->addAction(QString());
    setAddToCaption(menu, item, name);
    menu->setToolTipsVisible(true);
    item->setObjectName(QStringLiteral("mnuAddChart_%1").arg(k));
    const int target = static_cast<int>(k);
    connect(item, &QAction::triggered, this, [this, target] { mnuAddChart_Click(target); });
    return item;
}

void frmshowcolor::mnuAddChart_Click(int index)
{
    const QString file = AddToFile.value(index);
    if (file.isEmpty())
        return;
    if (FileResult added =
            AppendColorToFile(m_dataFolder, file, ColorToHtmlHex(lblcolor->backColor()));
        !added) {
        reportFileError(added.message);
        return;
    }
    if (file == ChartFile.value(cmbChart->currentIndex()))
        refreshChartFromPageOne(file);
}

// ---------------------------------------------------------------------------
// Palette commands

void frmshowcolor::refreshChartFromPageOne(const QString& file)
{
    ShowColorChart(file, 1);
    CurPage = 1;
}

void frmshowcolor::mnuNew_Click()
{
    const QString name = AskName(m_platform, this, QStringLiteral("Add a new color palette"),
                                 QStringLiteral("Please input a name of new color palette:"));
    if (name.isEmpty())
        return;
    // Added as an imported palette is, with no colours: the empty file takes
    // the name only once the palette is listed. No entry lists a file of that
    // name, but a run that ended while deleting the palette that had it may
    // have left the file behind, which the new palette replaces; and where the
    // index could not be read, the name is only a guess that may belong to a
    // palette, which stays as it is when listing fails.
    addUserPalette(name, {});
}

bool frmshowcolor::listUserPalette(const QString& name)
{
    if (FileResult added =
            paletteindex::AppendEntry(m_dataFolder, NewChartFile, name, QStringLiteral("1"));
        !added) {
        reportFileError(added.message);
        return false;
    }
    return true;
}

void frmshowcolor::showNewPalette()
{
    ShowChartMenu();
    cmbChart->setCurrentIndex(cmbChart->count() - 1);
    CurPage = 1;
    ShowColorChart(ChartFile.value(cmbChart->currentIndex()), 1);
}

// ---------------------------------------------------------------------------
// Palette exchange

void frmshowcolor::mnuExport_Click()
{
    const int i = listedChart();
    if (i < 0)
        return;
    ExchangePalette palette;
    if (FileResult read = paletteexchange::ReadPaletteForExport(m_dataFolder, ChartFile.at(i),
                                                                ChartName.at(i), palette);
        !read) {
        reportFileError(read.message);
        return;
    }
    QString chosenFilter;
    const QString path = m_platform.chooseSaveFileOfType(
        this, paletteexchange::ProposedBaseName(palette.name),
        paletteexchange::ExtensionOf(paletteexchange::Format::Gimp),
        paletteexchange::ExportFilter(), QStringLiteral("Export Palette"), chosenFilter);
    if (path.isEmpty())
        return;
    const std::optional<paletteexchange::Format> format =
        paletteexchange::FormatForExport(path, chosenFilter);
    if (!format) {
        reportFileError(describeFileError(
            QStringLiteral("export the palette to"), path,
            QStringLiteral("the name must end in .gpl, .ase, .aco, .soc, .sketchpalette, "
                           ".tokens.json, .css, .scss, .less or .json, which tells the format "
                           "to write")));
        return;
    }
    if (FileResult written = paletteexchange::ExportFile(path, *format, palette); !written)
        reportFileError(written.message);
}

void frmshowcolor::mnuImport_Click()
{
    const QString path = m_platform.chooseOpenFile(this, paletteexchange::ImportFilter(),
                                                   QStringLiteral("Import Palette"));
    if (path.isEmpty())
        return;
    importPaletteFromFile(path);
}

bool frmshowcolor::importPaletteFromFile(const QString& path)
{
    ExchangePalette palette;
    FileResult read = FileResult::success();
    {
        ProgressWindow progress(this, QStringLiteral("Importing the palette..."));
        read = paletteexchange::ImportFile(path, palette, progress.progress());
    }
    if (!read) {
        if (!read.wasCancelled())
            reportFileError(read.message);
        return false;
    }
    bool nameCut = false;
    const QString name = paletteexchange::ImportedName(palette, path, &nameCut);
    // A file imported again, or two files of one name, stay apart in the
    // list; names typed for a new palette are the user's to repeat.
    const bool added =
        addNamedPalette(newpalette::UniqueName(ChartName, name), palette.colors, palette.names);
    if (added && nameCut)
        m_platform.showMessage(
            this,
            QStringLiteral("The palette's name in \"%1\" is longer than %2 characters; the "
                           "imported palette is named after its first %2.")
                .arg(QDir::toNativeSeparators(path))
                .arg(textbounds::MaxNameLength),
            Platform::Buttons::Ok, Platform::Icon::Information, QStringLiteral("Tintora"));
    return added;
}

bool frmshowcolor::addUserPalette(const QString& name, const QList<Color>& colors)
{
    return addNamedPalette(name, colors, {});
}

bool frmshowcolor::addNamedPalette(const QString& name, const QList<Color>& colors,
                                   const QStringList& names)
{
    bool listed = false;
    const FileResult added =
        newpalette::Add(m_dataFolder, NewChartFile, name, colors, names, &listed);
    if (!added)
        reportFileError(added.message);
    if (!listed)
        return false;
    showNewPalette();
    return true;
}

int frmshowcolor::listedChart() const
{
    const int i = cmbChart->currentIndex();
    return i >= 0 && i < ChartFile.size() ? i : -1;
}

bool frmshowcolor::confirmForChart(const QString& question, const QString& chartName,
                                   const QString& title)
{
    // The name is the user's text and goes into the question as it is.
    const QString text = question + QLatin1Char('"') + chartName + QStringLiteral("\" palette?");
    return m_platform.showMessage(this, text, Platform::Buttons::YesNo, Platform::Icon::Question,
                                  title) == Platform::Answer::Yes;
}

void frmshowcolor::mnuDelChart_Click()
{
    const int i = listedChart();
    if (i < 0 || isUndeletableKind(ChartKind.at(i)))
        return;
    if (!confirmForChart(QStringLiteral("Are you sure you want to delete "), ChartName.at(i),
                         QStringLiteral("Delete current color palette")))
        return;
    // The entry goes first. A folder in place of the palette file could not be
    // removed after it, leaving the index changed and the command half done.
    const QString palettePath = dataFilePath(ChartFile.at(i));
    const QString action = QStringLiteral("delete the palette");
    if (DataFolderAccess(m_dataFolder).status(ChartFile.at(i)).kind ==
        DataFolderAccess::Kind::Folder) {
        reportFileError(
            describeFileError(action, palettePath, QStringLiteral("a folder has that name")));
        return;
    }
    if (FileResult link = datafiles::RefuseLink(palettePath, action); !link) {
        reportFileError(link.message);
        return;
    }
    if (!m_paletteUndo->keep(PaletteUndo::Edit::DeletePalette,
                             chartEntry(ChartFile, ChartName, ChartKind, m_chartEntryPosition, i)))
        return;
    if (!DeleteChart(m_chartEntryPosition.at(i))) {
        m_paletteUndo->failed();
        return;
    }
    // The names last: nothing lists the palette any more, and names left by
    // a kill before this are removed when a palette gets this file again.
    if (FileResult removed = paletterecords::ClearAll(dataFilePath(ChartFile.at(i))); !removed)
        reportFileError(removed.message);
    else if (FileResult unnamed = PaletteNames::remove(m_dataFolder, ChartFile.at(i)); !unnamed)
        reportFileError(unnamed.message);
    m_paletteUndo->done();
    ShowChartMenu();
    ShowColorChart(ChartFile.value(0), 1);
    CurPage = 1;
}

void frmshowcolor::mnuDelCor_Click()
{
    const int i = listedChart();
    if (i < 0 || isReadOnlyKind(ChartKind.at(i)) || SelectedRecord < 1)
        return;
    if (!m_paletteUndo->keep(PaletteUndo::Edit::DeleteColor,
                             chartEntry(ChartFile, ChartName, ChartKind, m_chartEntryPosition, i)))
        return;
    ProgressWindow progress(this, QStringLiteral("Deleting the color..."));
    if (FileResult deleted = namededits::DeleteColor(m_dataFolder, ChartFile.at(i), SelectedRecord,
                                                     progress.progress());
        !deleted) {
        m_paletteUndo->failed();
        if (!deleted.wasCancelled())
            reportFileError(deleted.message);
        return;
    }
    m_paletteUndo->done();
    refreshChartFromPageOne(ChartFile.at(i));
}

void frmshowcolor::mnuCleanAll_Click()
{
    const int i = listedChart();
    if (i < 0 || isReadOnlyKind(ChartKind.at(i)))
        return;
    if (!confirmForChart(QStringLiteral("Are you sure you want to delete all colors in "),
                         ChartName.at(i), QStringLiteral("Clean all colors")))
        return;
    if (!m_paletteUndo->keep(PaletteUndo::Edit::ClearAll,
                             chartEntry(ChartFile, ChartName, ChartKind, m_chartEntryPosition, i)))
        return;
    if (FileResult cleared = namededits::ClearAll(m_dataFolder, ChartFile.at(i)); !cleared) {
        m_paletteUndo->failed();
        reportFileError(cleared.message);
        return;
    }
    m_paletteUndo->done();
    refreshChartFromPageOne(ChartFile.at(i));
}

void frmshowcolor::mnuCleanDup_Click()
{
    const int i = listedChart();
    if (ColorCount < 2 || i < 0 || isReadOnlyKind(ChartKind.at(i)))
        return;
    if (!m_paletteUndo->keep(PaletteUndo::Edit::ClearDuplicates,
                             chartEntry(ChartFile, ChartName, ChartKind, m_chartEntryPosition, i)))
        return;
    ProgressWindow progress(this, QStringLiteral("Clearing duplicate colors..."));
    if (FileResult cleared =
            namededits::ClearDuplicates(m_dataFolder, ChartFile.at(i), progress.progress());
        !cleared) {
        m_paletteUndo->failed();
        if (!cleared.wasCancelled())
            reportFileError(cleared.message);
        return;
    }
    m_paletteUndo->done();
    refreshChartFromPageOne(ChartFile.at(i));
}

// ---------------------------------------------------------------------------
// Names

void frmshowcolor::mnuNameColor_Click()
{
    const int i = listedChart();
    if (i < 0 || isReadOnlyKind(ChartKind.at(i)) || SelectedRecord < 1)
        return;
    const QString file = ChartFile.at(i);
    PaletteNames names;
    if (FileResult read = PaletteNames::read(m_dataFolder, file, names); !read) {
        reportFileError(read.message);
        return;
    }
    const std::optional<NameDialogAnswer> answer =
        askForName(m_platform, this, QStringLiteral("Name this color"),
                   QStringLiteral("Please input a name for %1 (empty: no name):")
                       .arg(ColorToHtmlHex(CellColor)),
                   names.nameOf(SelectedRecord));
    if (!answer)
        return;
    if (FileResult named =
            namededits::NameColor(m_dataFolder, file, SelectedRecord, answer->trimmed, names);
        !named) {
        reportFileError(named.message);
        return;
    }
    // The name shows at once; the cell stays framed and the page stays.
    m_chartNames = names;
    const qint32 firstRecord = paletterecords::RecordForCell(ColorCount, CurPage, 0);
    for (int j = 0; j < CellCount; ++j) {
        const qint32 record = firstRecord - j;
        const auto at = static_cast<std::size_t>(j);
        if (record < 1 || m_cellUnreadable[at])
            continue;
        showCell(j, CurPage, PaletteGrid::Content::Colour, lblcor[at]->backColor(),
                 m_chartNames.nameOf(record));
    }
}

void frmshowcolor::mnuRenamePalette_Click()
{
    const int i = listedChart();
    if (i < 0 || TrimSpaces(ChartKind.at(i)) != QLatin1String("1"))
        return;
    const std::optional<NameDialogAnswer> answer = askForName(
        m_platform, this, QStringLiteral("Rename color palette"),
        QStringLiteral("Please input a new name of the color palette:"), ChartName.at(i));
    if (!answer || answer->name == ChartName.at(i))
        return;
    if (FileResult renamed = paletteindex::RenameEntry(m_dataFolder, m_chartEntryPosition.at(i),
                                                       ChartFile.at(i), answer->name);
        !renamed) {
        reportFileError(renamed.message);
        return;
    }
    const QString file = ChartFile.at(i);
    ShowChartMenu();
    const int renamed = int(ChartFile.indexOf(file));
    if (renamed > 0)
        cmbChart->setCurrentIndex(renamed);
}
