#pragma once

#include "app/bascommon.h"
#include "palettes/generator/ColorGenerator.h"

#include <QDialog>
#include <QList>

class Platform;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class SwatchGrid;

// "Color Generator": palettes built around a starting colour, previewed live
// as the parameters change. Modeless. It knows nothing of the main window:
// it is given the starting colour and the scheme's page background, and it
// hands colours back by its signals.
//
// Control names: lblBase/txtBase/cmdPickBase the starting colour; tabGenerator
// the five kinds of palette with their parameters; grdSwatches the preview;
// lblSwatch what the swatch under the mouse (or the selected one) is.
class frmGenerator : public QDialog
{
    Q_OBJECT
public:
    // The pages of tabGenerator, in order.
    enum class Page : int { Harmonies, Variations, Mix, Ramp, Contrast };
    // The entries of cmbBackground, in order.
    enum class Background : int { White, Black, PageBackground, Other };

    frmGenerator(Platform& platform, Color base, Color pageBackground, QWidget* parent = nullptr);

    Color baseColor() const { return m_base; }
    void setBaseColor(Color color);
    void setPageBackground(Color color);
    Page page() const;
    // What the preview shows.
    const colorgenerator::Swatches& swatches() const;
    // The ramp, also while another page is on display.
    colorgenerator::Ramp ramp() const;

    QLabel* lblBase = nullptr;
    QLineEdit* txtBase = nullptr;
    QPushButton* cmdPickBase = nullptr;
    QTabWidget* tabGenerator = nullptr;

    QComboBox* cmbHarmony = nullptr;
    QSlider* sldAngle = nullptr;
    QLabel* lblAngle = nullptr;

    QComboBox* cmbVariation = nullptr;
    QSpinBox* spnSteps = nullptr;

    QLineEdit* txtMixWith = nullptr;
    QPushButton* cmdPickMix = nullptr;
    QLabel* lblMixWith = nullptr;
    QComboBox* cmbMixSpace = nullptr;
    QSpinBox* spnMixSteps = nullptr;

    QLineEdit* txtRampName = nullptr;
    QPushButton* cmdExportTheme = nullptr;
    QPushButton* cmdCopyTheme = nullptr;

    QComboBox* cmbBackground = nullptr;
    QLineEdit* txtBackground = nullptr;
    QPushButton* cmdPickBackground = nullptr;
    QLabel* lblBackground = nullptr;
    QLineEdit* txtTargets = nullptr;

    SwatchGrid* grdSwatches = nullptr;
    QLabel* lblSwatch = nullptr;
    QLabel* lblNote = nullptr;
    QPushButton* cmdMakeCurrent = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;

    // The pop-up menu of a swatch, and its items.
    QMenu* mnuSwatch = nullptr;
    QAction* mnuSwatchMakeCurrent = nullptr;
    QAction* mnuSwatchCopyHex = nullptr;
    // Every notation of the Color Formats window and the user's templates.
    QMenu* mnuSwatchCopyAs = nullptr;

public slots:
    // Recomputes the page on display; every parameter change ends here.
    void regenerate();

signals:
    // "Make Current" on a swatch.
    void colorChosen(Color color);
    // "Save as Palette": a new user palette of this name and these colours.
    void paletteRequested(const QString& name, const QList<Color>& colors);

private:
    QWidget* buildHarmonyPage();
    QWidget* buildVariationPage();
    QWidget* buildMixPage();
    QWidget* buildRampPage();
    QWidget* buildContrastPage();
    void buildSwatchMenu();

    Color backgroundColor() const;
    // The scale for the typed targets; `note` receives what went wrong.
    colorgenerator::Swatches contrastSwatches(QString& note) const;
    // The page's own note: what could not be reached, what was brought into sRGB.
    QString noteFor(const colorgenerator::Swatches& swatches) const;
    void showSwatchInfo(int index);
    void makeCurrent(int index);
    void copyHex(int index);
    void copyText(const QString& text);
    void fillCopyAsMenu(Color color);
    void showSwatchMenu(int index, const QPoint& globalPosition);
    void savePalette();
    void exportTheme();
    void copyTheme();
    // Reads a typed colour (any notation the colour parser reads) into
    // `color` and its swatch `label`; text that is no colour leaves both and
    // says why in the note.
    void readTypedColor(QLineEdit* field, Color& color, QLabel* label);
    void pickColor(QLineEdit* field, Color& color, QLabel* label);
    // Typing into `field` or picking with `pick` sets `color`, one of the
    // window's own members.
    void wireColorField(QLineEdit* field, QPushButton* pick, Color& color, QLabel* label);

    Platform& m_platform;
    Color m_base;
    Color m_pageBackground;
    Color m_mixWith = bascommon::White;
    Color m_otherBackground = bascommon::White;
};
