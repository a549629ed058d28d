#pragma once

#include "models/ColorFields.h"
#include "models/cClrModels.h"

#include <QDialog>

class Platform;
class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;
namespace colorinfo {
struct PageTexts;
}

// The colour details window: the current colour as a large area, with the
// "Color Info" panel listing it in every colour model. The panel's values can
// be saved as a small web page.
//
// Control names: PicInfo is the panel; txtHex holds #RRGGBB; txtr/txtg/txtb
// RGB, txth/txtl/txts HLS, txtc/txtm/txtY CMY, txtc1/txtm1/txtY1/txtK CMYK and
// txtY2/txtCb/txtCr YCbCr.
class frmpreview : public QDialog
{
    Q_OBJECT
public:
    // Shows the colour of `shown` with the texts of its fields; "Exit" gives
    // the focus back to `parent`.
    frmpreview(Platform& platform, const ColorFields& shown, QWidget* parent);

    QWidget* PicInfo = nullptr;
    QLineEdit* txtHex = nullptr;
    QLineEdit* txtr = nullptr;
    QLineEdit* txtg = nullptr;
    QLineEdit* txtb = nullptr;
    QLineEdit* txth = nullptr;
    QLineEdit* txtl = nullptr;
    QLineEdit* txts = nullptr;
    QLineEdit* txtc = nullptr;
    QLineEdit* txtm = nullptr;
    QLineEdit* txtY = nullptr;
    QLineEdit* txtc1 = nullptr;
    QLineEdit* txtm1 = nullptr;
    QLineEdit* txtY1 = nullptr;
    QLineEdit* txtK = nullptr;
    QLineEdit* txtY2 = nullptr;
    QLineEdit* txtCb = nullptr;
    QLineEdit* txtCr = nullptr;

    QMenuBar* menuBar = nullptr;
    QMenu* mnufile = nullptr;
    QAction* mnusave = nullptr;
    QAction* mnuexit = nullptr;

    const cClrModels& models() const { return Models; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void mnusave_Click();
    void mnuexit_Click();
    colorinfo::PageTexts pageTexts() const;

    Platform& m_platform;
    ColorFields m_shown;
    cClrModels Models;
};
