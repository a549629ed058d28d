#pragma once

#include <QString>

// The one place that decides where the program's data files live: the folder
// named by TINTORA_DATA_DIR when that is set, otherwise the executable's folder.
QString resolveDataFolder();
