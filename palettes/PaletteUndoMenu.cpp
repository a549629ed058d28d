#include "palettes/PaletteUndoMenu.h"

#include "app/platform/Platform.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace {

const QString MessageTitle = QStringLiteral("Tintora");

} // namespace

PaletteUndoMenu::PaletteUndoMenu(const QString& dataFolder, Platform& platform, QMenu* editMenu,
                                 QWidget* window)
    : QObject(window), m_undo(dataFolder), m_platform(platform), m_window(window),
      m_editMenu(editMenu)
{
    // What an interrupted run left in the journal goes before anything reads it.
    m_undo.clearLeftovers();
    // After the specified items, so that they keep their places.
    m_separator = editMenu->addSeparator();
    m_separator->setObjectName(QStringLiteral("undosep"));
    m_action = editMenu->addAction(QStringLiteral("&Undo"));
    m_action->setObjectName(QStringLiteral("mnuUndo"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    // The shortcut works while the item is hidden in a pop-up, too.
    m_window->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &PaletteUndoMenu::mnuUndo_Click);
    // The swatch's pop-up hides the palette commands; undoing one of them
    // goes with them. "Delete &Current Palette" tells which menu this is.
    const QString paletteItem = QStringLiteral("mnuDelChart");
    connect(editMenu, &QMenu::aboutToShow, this, [this, paletteItem] {
        bool paletteItemsShown = true;
        for (QAction* item : m_editMenu->actions())
            if (item->objectName() == paletteItem)
                paletteItemsShown = item->isVisible();
        m_separator->setVisible(paletteItemsShown);
        m_action->setVisible(paletteItemsShown);
        refresh();
    });
    connect(editMenu, &QMenu::aboutToHide, this, [this] {
        m_separator->setVisible(true);
        m_action->setVisible(true);
    });
    refresh();
}

void PaletteUndoMenu::refresh()
{
    // From the entry's description alone: opening the menu never reads a palette.
    const std::optional<PaletteUndo::Entry> last = m_undo.last();
    m_action->setEnabled(last.has_value());
    m_action->setText(last ? QStringLiteral("&Undo ") + PaletteUndo::editName(last->edit)
                           : QStringLiteral("&Undo"));
}

bool PaletteUndoMenu::keep(PaletteUndo::Edit edit, const paletteindex::Entry& palette)
{
    if (FileResult kept = m_undo.keep(edit, palette); !kept) {
        m_platform.showMessage(m_window, kept.message, Platform::Buttons::Ok,
                               Platform::Icon::Critical, MessageTitle);
        return false;
    }
    return true;
}

void PaletteUndoMenu::done()
{
    m_undo.editDone();
    refresh();
}

void PaletteUndoMenu::failed()
{
    m_undo.editFailed();
    refresh();
}

QString PaletteUndoMenu::question(const PaletteUndo::Plan& plan)
{
    const QString edit = PaletteUndo::editName(plan.entry.edit);
    const QString name = plan.entry.palette.name;
    if (!plan.occupant.isEmpty())
        return QStringLiteral("The file \"%1\" of the palette \"%2\" now holds the palette "
                              "\"%3\". Undoing \"%4\" brings \"%2\" back as a palette of its "
                              "own, in the file \"%5\", and leaves \"%3\" as it is. Undo?")
            .arg(plan.entry.palette.file, name, plan.occupant, edit, plan.file);
    if (plan.changedSince)
        return QStringLiteral("The palette \"%1\" has changed since \"%2\". Undoing it puts the "
                              "palette back as it was before, and the changes made since are "
                              "lost. Undo all the same?")
            .arg(name, edit);
    return {};
}

void PaletteUndoMenu::mnuUndo_Click()
{
    const std::optional<PaletteUndo::Plan> plan = m_undo.plan();
    if (!plan) {
        refresh();
        return;
    }
    const QString edit = PaletteUndo::editName(plan->entry.edit);
    if (const QString asked = question(*plan);
        !asked.isEmpty() &&
        m_platform.showMessage(m_window, asked, Platform::Buttons::YesNo, Platform::Icon::Question,
                               QStringLiteral("Undo ") + edit) != Platform::Answer::Yes)
        return;
    const FileResult undone = m_undo.undoLast();
    refresh();
    if (!undone) {
        m_platform.showMessage(m_window, undone.message, Platform::Buttons::Ok,
                               Platform::Icon::Critical, MessageTitle);
        return;
    }
    emit restored(plan->file);
}
