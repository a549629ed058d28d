// The main window's copy menu.
#include "app/frmshowcolor.h"

void frmshowcolor::setUpCopyMenuHandlers() {}
void frmshowcolor::ChangeCopyMenu() {}
