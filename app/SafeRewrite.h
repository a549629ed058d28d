#pragma once

#include "app/FileResult.h"

#include <QByteArray>
#include <QString>

// Replaces the whole content of `target` so that, at every instant, either the
// complete old or the complete new file is in place: the content goes to
// `tempPath` (emptied first, in case an interrupted run left one behind), is
// flushed and synced, and the temporary file is then renamed over the target.
// On failure the target is untouched and the temporary file is removed.
FileResult replaceFileContents(const QString& target, const QString& tempPath,
                               const QByteArray& content);

// Writes `content` to `tempPath` (emptied first), flushed and synced, without
// touching any target yet. Used where two files must be prepared before either
// is replaced.
FileResult writeSyncedFile(const QString& tempPath, const QByteArray& content);

// Renames `tempPath` over `target` atomically and syncs the folder.
FileResult renameOver(const QString& tempPath, const QString& target);
