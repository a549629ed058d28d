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
    const std::optional<PaletteUndo::Entry> last = m_undo.last();
    m_action->setEnabled(last.has_value());
    m_action->setText(last ? QStringLiteral("&Undo ") + PaletteUndo::editName(last->edit)
                           : QStringLiteral("&Undo"));
}

bool PaletteUndoMenu::keep(PaletteUndo::Edit edit, const QString& paletteFile)
{
    if (FileResult kept = m_undo.keep(edit, paletteFile); !kept) {
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

void PaletteUndoMenu::mnuUndo_Click()
{
    const std::optional<PaletteUndo::Entry> last = m_undo.last();
    if (!last) {
        refresh();
        return;
    }
    if (last->changedSince &&
        m_platform.showMessage(
            m_window,
            QStringLiteral("The palette has changed since \"%1\". Undoing it puts the "
                           "palette back as it was before, and the changes made since "
                           "are lost. Undo all the same?")
                .arg(PaletteUndo::editName(last->edit)),
            Platform::Buttons::YesNo, Platform::Icon::Question,
            QStringLiteral("Undo ") + PaletteUndo::editName(last->edit)) != Platform::Answer::Yes)
        return;
    const FileResult undone = m_undo.undoLast();
    refresh();
    if (!undone) {
        m_platform.showMessage(m_window, undone.message, Platform::Buttons::Ok,
                               Platform::Icon::Critical, MessageTitle);
        return;
    }
    emit restored(last->paletteFile);
}
