#pragma once

#include "palettes/PaletteUndo.h"

#include <QObject>

class Platform;
class QAction;
class QMenu;
class QWidget;

// Edit > "Undo ..." (mnuUndo, Ctrl+Z) over the four palette edits. The edit
// commands call keep() after their confirmation and before they change a
// file, then done() or failed(); the item names the edit it would undo and is
// disabled when there is none. It shows with the palette commands, not in the
// swatch's pop-up menu.
class PaletteUndoMenu : public QObject
{
    Q_OBJECT
public:
    PaletteUndoMenu(const QString& dataFolder, Platform& platform, QMenu* editMenu,
                    QWidget* window);

    QAction* action() const { return m_action; }

    // False after telling the user why no copy could be kept; the edit must
    // not run then.
    bool keep(PaletteUndo::Edit edit, const paletteindex::Entry& palette);
    void done();
    void failed();

    // Brings the item's caption and state up to date with the kept edits.
    void refresh();
    void mnuUndo_Click();

signals:
    // The palette is back as it was before the edit, in `paletteFile`: the
    // window shows it again.
    void restored(const QString& paletteFile);

private:
    // The question to ask before undoing, naming every palette concerned;
    // empty when undoing loses nothing.
    static QString question(const PaletteUndo::Plan& plan);

    PaletteUndo m_undo;
    Platform& m_platform;
    QWidget* m_window;
    QMenu* m_editMenu;
    QAction* m_separator = nullptr;
    QAction* m_action = nullptr;
};
