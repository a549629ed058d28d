#pragma once

#include <QString>
#include <QStringList>

class Platform;
class frmshowcolor;

namespace basmain {

// Creates the main window as start-up does: the window initialises itself,
// then takes the caption "Tintora 3.7". The caller owns the window.
frmshowcolor* CreateMainWindow(Platform& platform, const QString& dataFolder);

// The start-up routine: ends at once when another instance is running on the
// same data (which brings that instance's window to the front, or imports
// `files` there), otherwise shows the main window, imports `files` as
// File > Import Palette... does, and runs until the window closes.
int Main(Platform& platform, const QString& dataFolder, const QStringList& files = {});

} // namespace basmain
