#pragma once

#include <QDialog>

class ContrastMatrix;
class QLabel;
class QPushButton;
class VisionModeBox;
class frmshowcolor;

// The scheme editor's accessibility tool: the contrast of the scheme's colour
// pairs, a fix for each failing pair, and the vision mode in which the main
// window's preview panel shows the scheme. Modeless; it follows every change
// of the scheme. Closing it returns the panel to normal vision.
class frmContrast : public QDialog
{
    Q_OBJECT
public:
    explicit frmContrast(frmshowcolor& owner);

    VisionModeBox* cmbVision = nullptr;
    ContrastMatrix* fraContrast = nullptr;
    QLabel* lblNote = nullptr;
    QPushButton* cmdClose = nullptr;

    void done(int result) override;

private:
    void refresh();
    void fixPair(int pair);

    frmshowcolor& m_owner;
};
