#pragma once

#include "app/FileResult.h"

#include <QString>

// Where the data files live follows from the layout the program finds itself
// in, never from who runs it (root can write anywhere):
// - Named: TINTORA_DATA_DIR is set; that folder.
// - BesideProgram: the shipped data files stand beside the executable (a build
//   folder, a portable or user-prefix install); that folder, as ever.
// - PerUser: the program is installed system-wide, its shipped files in
//   share/tintora under the prefix; each user gets a folder of their own,
//   seeded once with copies of the shipped files.
struct DataFolderLayout
{
    enum class Kind { Named, BesideProgram, PerUser };

    Kind kind = Kind::BesideProgram;
    // The folder whose data files are read and written.
    QString folder;
    // The files the program ships: the help, and the originals of the data
    // files. The same as `folder` except in the per-user layout.
    QString shipped;
};

// The decision alone. `named` is the value of TINTORA_DATA_DIR (empty when
// unset), `programFolder` the executable's folder, `systemShipped` where a
// system-wide install keeps its shipped files, and `perUserFolder` the
// per-user application data folder.
DataFolderLayout chooseDataFolder(const QString& named, const QString& programFolder,
                                  const QString& systemShipped, const QString& perUserFolder);

// The layout this process finds: its environment, its executable's path and
// the per-user application data folder (QStandardPaths::AppDataLocation).
DataFolderLayout currentDataFolderLayout();

// In the per-user layout, creates the folder and copies in every shipped data
// file it lacks, as long as it holds no palette index yet: a folder with an
// index is the user's, and nothing in it is ever overwritten or brought back.
// The index is copied last, so that an interrupted seeding resumes at the next
// start. The other layouts are left as they are.
FileResult seedDataFolder(const DataFolderLayout& layout);

class DataFolderAccess;

// Copies the file `source` to `name` in the data folder unless something of
// that name is already there (`*taken` then set), through a temporary file,
// so that a file of the final name is always whole and nothing is written
// through a link.
FileResult copyIfMissing(const DataFolderAccess& folder, const QString& source, const QString& name,
                         bool* taken = nullptr);

// The one place that decides where the program's data files live: the current
// layout, seeded when it is new. Returns its data folder.
QString resolveDataFolder();

// "tintora.chm": the help file in the data folder when there is one, otherwise
// the one the program ships.
QString helpFilePath(const QString& dataFolder);
