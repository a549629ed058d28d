#pragma once

#include "app/bascommon.h"
#include "scheme/SchemeColors.h"

#include <QDialog>

class ContrastMatrix;
class Platform;
class QLabel;
class QPushButton;
class VisionModeBox;
enum class SchemeRole : int;
namespace colorvision {
enum class VisionMode : int;
}

// The scheme editor's accessibility tool: the contrast of the scheme's colour
// pairs, a fix for each failing pair, and the vision mode in which the main
// window's preview panel shows the scheme. Modeless; the main window hands it
// every change of the scheme, the vision mode and the view. Closing it
// returns the panel to normal vision.
class frmContrast : public QDialog
{
    Q_OBJECT
public:
    // `compactView`: the scheme editor is hidden, so no fix is offered.
    // The tool opens beside `owner`.
    frmContrast(Platform& platform, const SchemeColors& colors, colorvision::VisionMode mode,
                bool compactView, QWidget* owner);

    // The scheme, the vision mode or the view has changed.
    void showScheme(const SchemeColors& colors, colorvision::VisionMode mode, bool compactView);

    VisionModeBox* cmbVision = nullptr;
    ContrastMatrix* fraContrast = nullptr;
    QLabel* lblNote = nullptr;
    QPushButton* cmdClose = nullptr;

    void done(int result) override;

signals:
    // A vision mode for the preview panel: chosen here, or normal vision
    // again when the tool closes.
    void visionModeChosen(colorvision::VisionMode mode);
    // A fix the user accepted: the role's new colour.
    void roleColorFixed(SchemeRole role, Color color);

private:
    void refresh();
    void fixPair(int pair);

    Platform& m_platform;
    SchemeColors m_colors;
    colorvision::VisionMode m_mode{};
    bool m_compactView = false;
};
