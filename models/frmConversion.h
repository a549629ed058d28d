#pragma once

#include "app/bascommon.h"
#include "models/ColorFields.h"
#include "models/cClrModels.h"

#include <QDialog>

#include <array>

class ClickableLabel;
class Platform;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabBar;

// The colour conversion window: the colour being edited lives in `Models`;
// one tab per colour model re-expresses it on up to four sliders, and moving a
// slider writes the tab's values back through that model. "OK" hands the
// result back (colorAccepted), for the main window's current colour.
//
// Control names: lblCp are the component labels, sldVal the sliders, txtval
// their values, picClr the resulting swatch and txtHEX its #RRGGBB text.
class frmConversion : public QDialog
{
    Q_OBJECT
public:
    // Starts from the decimal fields of `start`, or its colour where they
    // spell none.
    frmConversion(Platform& platform, const ColorFields& start, QWidget* parent);

    QFrame* fraCtls = nullptr;
    QTabBar* tabModels = nullptr;
    std::array<QLabel*, 4> lblCp{};
    std::array<QSlider*, 4> sldVal{};
    std::array<QLineEdit*, 4> txtval{};
    ClickableLabel* picClr = nullptr;
    QLineEdit* txtHEX = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;

    const cClrModels& models() const { return Models; }

    // Labels, maxima and the fourth slider's visibility for the selected tab.
    void SetupModelControls();
    // Moves the selected tab's sliders to the values of `Models`.
    void ShowModelValues();
    // Writes the selected tab's slider values into `Models`.
    void ApplySlidersToModel();

signals:
    // "OK": the colour of the swatch, to become the current colour.
    void colorAccepted(Color color);

private:
    void buildControls();
    void Form_Load();
    void tabModels_Click();
    void sldVal_Change(int index);
    void Command2_Click();
    void Command1_Click();

    QString selectedModel() const;

    Platform& m_platform;
    ColorFields m_start;
    cClrModels Models;
    // True while the window moves its own sliders, so those moves are shown
    // but not fed back into Models.
    bool Updating = false;
};
