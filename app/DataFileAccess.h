#pragma once

#include "app/FileResult.h"

#include <QString>

class QFile;

// Writes into the data folder never pass through a symbolic link. A data file
// that is a link (one downloaded, synced or restored from elsewhere) may lead
// out of the folder; writing through it would change or create a file that
// the program does not own, and replacing it would silently turn the link
// into a file. Such a file is left alone, and the caller is told which.
//
// The routines take the whole path of a file directly inside the data folder
// and go through DataFolderAccess on that folder.
namespace datafiles {

// True when `path` itself is a symbolic link, whether or not it leads anywhere.
bool IsSymbolicLink(const QString& path);

// Why `path`, a link, was left alone: names the file and where it leads.
QString LinkRefusal(const QString& action, const QString& path);
// The same where the caller has read where the link leads: LinkRefusalTo in
// DataFolderAccess.h, the one place that words it.

enum class WhenMissing { Create, Fail };

// Opens the data file `path` for reading and writing without following a
// link, creating it empty when missing (or failing, as `missing` says). Only a
// plain file is opened: a link, a folder, a device or a file that has other
// names (hard links, whose content would change too) is refused, naming the
// file and the reason.
FileResult OpenForWriting(QFile& file, const QString& path, const QString& action,
                          WhenMissing missing = WhenMissing::Create);

// Fails, naming the file, when `path` is a link: a rewrite would replace it
// and a deletion remove it.
FileResult RefuseLink(const QString& path, const QString& action);

// Deletes the data file `path` unless it is a link (refused) or a folder
// (refused); a missing file is no failure.
FileResult RemoveFile(const QString& path, const QString& action);

} // namespace datafiles
