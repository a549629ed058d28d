#pragma once

#include "app/FileResult.h"
#include "palettes/PaletteIndex.h"

#include <QString>

#include <optional>

// A journal of the four palette edits in the folder "undo" of the data
// folder, so that each can be undone. Before an edit, an entry is written
// completely under a name of its own: the palette file as it was (streamed,
// holes kept) and its names file when it has one, then what the entry is (the edit, the palette's
// file, name, kind and place in the index, the copy's size); one rename then makes it an entry.
// After the edit the entry notes the size and time of the palette, so that undoing can tell whether
// anything changed the palette since. The last `Depth` entries are kept. Everything lives on disk,
// so a second object on the same folder sees the same edits; whatever is not a whole entry (an
// interrupted one, someone else's file, a link) is never read, never blocks
// an edit, and goes at start.
class PaletteUndo
{
public:
    enum class Edit { DeletePalette, DeleteColor, ClearAll, ClearDuplicates };

    static constexpr int Depth = 10;
    static QString folderName(); // "undo"
    // "Delete Current Palette", "Delete Selected Color", ... without mnemonics.
    static QString editName(Edit edit);

    explicit PaletteUndo(QString dataFolder);

    // Removes from the journal whatever is not a whole entry.
    void clearLeftovers() const;

    // Before `edit` changes `palette` (its file a plain file name in the data
    // folder). A failure keeps nothing and names the reason: the edit must
    // then not run.
    FileResult keep(Edit edit, const paletteindex::Entry& palette);
    // After the edit that keep() prepared: notes how the palette is now.
    void editDone();
    // The edit failed and changed nothing: its entry goes.
    void editFailed();

    struct Entry
    {
        Edit edit;
        // The palette as the index listed it before the edit.
        paletteindex::Entry palette;
    };
    // The edit that undoLast() would undo, from the entry's description alone.
    std::optional<Entry> last() const;

    // What undoing the last edit would do.
    struct Plan
    {
        Entry entry;
        // The file the palette comes back in: its own, or a free one when its
        // own is taken by now.
        QString file;
        // The palette comes back as an entry of the index of its own (it was
        // deleted, or it is no longer listed as it was).
        bool addsEntry = false;
        // The palette that holds the palette's old file by now; empty when none.
        QString occupant;
        // The palette itself changed since the edit: undoing loses that change.
        bool changedSince = false;
    };
    std::optional<Plan> plan() const;

    // Carries out plan(): puts the palette back as it was before the last
    // edit, touching no other palette, and drops the entry. On failure the
    // entry stays for another try.
    FileResult undoLast();

private:
    QString m_dataFolder;
    QString m_pendingEntry;
};
