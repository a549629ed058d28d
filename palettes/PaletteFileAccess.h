#pragma once

#include "app/FileResult.h"

#include <QByteArray>
#include <QString>

namespace palettefiles {

enum class WhenMissing { ReadAsEmpty, Fail };

// Reads a whole data file into `content`, never through a link. A failure
// message says that the program could not `action` the file, and why.
FileResult ReadWholeFile(const QString& path, const QString& action, WhenMissing missing,
                         QByteArray& content);

} // namespace palettefiles
