#pragma once

#include "app/FileResult.h"

#include <QString>

#include <optional>

// Copies of what the four palette edits replace or delete, so that each can
// be undone: before an edit the palette file (and, for deleting a palette, the
// index) is copied into a folder of its own under "undo" in the data folder;
// undoing puts the copies back byte for byte. The last `Depth` edits are kept;
// older copies are removed, oldest first. Everything lives on disk, so a
// second object on the same folder sees the same edits.
class PaletteUndo
{
public:
    enum class Edit { DeletePalette, DeleteColor, ClearAll, ClearDuplicates };

    static constexpr int Depth = 10;
    static QString folderName(); // "undo"
    // "Delete Current Palette", "Delete Selected Color", ... without mnemonics.
    static QString editName(Edit edit);

    explicit PaletteUndo(QString dataFolder);

    // Before `edit` changes the palette file `paletteFile` (a plain file name
    // in the data folder). A failure keeps nothing and names the reason: the
    // edit must then not run.
    FileResult keep(Edit edit, const QString& paletteFile);
    // After the edit that keep() prepared: notes how the files are now, so
    // that undoing can tell whether anything changed them since.
    void editDone();
    // The edit failed and changed nothing: its copy goes.
    void editFailed();

    struct Entry
    {
        Edit edit;
        QString paletteFile;
        // The files are no longer as the edit left them: undoing would also
        // throw away what was done to them since.
        bool changedSince = false;
    };
    // The edit that undoLast() would undo.
    std::optional<Entry> last() const;
    // Puts the files of the last edit back as they were before it, and drops
    // its copy. On failure the copy stays for another try.
    FileResult undoLast();

private:
    QString undoFolder() const;
    QStringList entryFolders() const;
    void prune() const;

    QString m_dataFolder;
    QString m_pendingEntry;
};
