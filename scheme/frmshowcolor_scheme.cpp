// The main window's web colour scheme editor and saved schemes.
#include "app/frmshowcolor.h"

void frmshowcolor::setUpSchemeHandlers() {}
void frmshowcolor::loadSchemeList() {}
void frmshowcolor::setSchemeColors(const SchemeColors& colors) { m_scheme = colors; }
void frmshowcolor::HtmlColor(Color) {}
void frmshowcolor::ClearSchemeSelection() {}
