#pragma once

class ClickableLabel;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QWidget;

// What the main window's own controls offer beyond the mouse: shortcuts where
// the menus have none, names and descriptions for screen readers, and long
// scheme names cut short in their list with the whole name as a tooltip.
namespace windowaccess {

// The controls that get them; every one must exist.
struct Controls
{
    QAction* mnucontents;
    QAction* mnuExit;
    ClickableLabel* lblcolor;
    QLineEdit* txtrgb1;
    QLineEdit* txtrgb;
    QWidget* txtr;
    QWidget* txtg;
    QWidget* txtb;
    QWidget* txtrh;
    QWidget* txtgh;
    QWidget* txtbh;
    QComboBox* cmbChart;
    QListWidget* lstCorset;
};

void SetUp(const Controls& w);

} // namespace windowaccess
