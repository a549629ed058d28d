#pragma once

#include "scheme/SchemeColors.h"

#include <QDialog>
#include <QString>

class ContrastMatrix;
class Platform;
class QFrame;
class QLineEdit;
class QPushButton;
class VisionModeBox;
namespace colorvision {
enum class VisionMode : int;
}

// The scheme preview: the main window's scheme on a larger surface, a line of
// body text and one line per link state, each in its colour on the page
// background. A snapshot taken when the window is built. Below the samples,
// "Contrast and Color Vision" shows the contrast of the scheme's colour pairs
// and a vision mode that both the samples and the figures follow; the mode
// starts as the main window's and changes only this window.
class frmShowweb : public QDialog
{
    Q_OBJECT
public:
    // The captions of the main window's scheme samples: each names its role
    // and ends with the colour in #RRGGBB form.
    struct Captions
    {
        QString text;
        QString normalLink;
        QString visitedLink;
        QString activeLink;
        QString hoverLink;
    };

    // "E&xit" gives the focus back to `parent`.
    frmShowweb(Platform& platform, const SchemeColors& colors, const Captions& captions,
               colorvision::VisionMode mode, QWidget* parent);

    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLineEdit* txtTxt = nullptr;
    QLineEdit* txtNl = nullptr;
    QLineEdit* txtvl = nullptr;
    QLineEdit* txtal = nullptr;
    QLineEdit* txthl = nullptr;
    QPushButton* cmdContrast = nullptr;
    // The contrast panel, built when cmdContrast is first checked.
    QFrame* fraAccess = nullptr;
    VisionModeBox* cmbVision = nullptr;
    ContrastMatrix* fraContrast = nullptr;

signals:
    // "&View Html and CSS Code": the code window, as the scheme menu opens it.
    void viewCodeRequested();

private:
    void Form_Load();
    void showColors(colorvision::VisionMode mode);
    void showContrastPanel(bool shown);
    void Command1_Click();
    void Command2_Click();

    Platform& m_platform;
    SchemeColors m_colors;
    Captions m_captions;
    colorvision::VisionMode m_mode{};
};
