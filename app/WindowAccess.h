#pragma once

class frmshowcolor;

// What the main window's own controls offer beyond the mouse: shortcuts where
// the menus have none, names and descriptions for screen readers, and long
// scheme names cut short in their list with the whole name as a tooltip.
namespace windowaccess {

void SetUp(frmshowcolor& window);

} // namespace windowaccess
