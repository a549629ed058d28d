#pragma once

#include "app/StringTable.h"

#include "app/bascommon.h"
#include "models/notations/FormatChoices.h"
#include "palettes/PaletteIndex.h"

#include <QPalette>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class ClickableLabel;
class PickLoupe;
class Platform;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Reads the palette index for "Save To:"; the main window's reader also
// repairs the index and tells the user what is wrong with it.
using PaletteIndexReader = std::function<paletteindex::Reading()>;

// The small "Pick&Save Color" window that stays on top while the screen is
// frozen: the colour under the cursor (swatch lblcor, txthex, txtRgb), the
// palette that picked colours go to (cmbSaveTo) and continuous picking (Check1);
// beside them the loupe (picLoupe) and the choice between the single pixel and
// a 3 x 3 or 5 x 5 average (cmbAverage).
class frmpick : public QWidget
{
    Q_OBJECT
public:
    // `owner`, the window picking was started from, may be null: the window
    // takes its font and opens centred on its screen.
    frmpick(Platform& platform, PaletteIndexReader readIndex, QWidget* owner, QWidget* parent);

    // Fills cmbSaveTo and SaveToFiles with the palettes that take colours and
    // makes the first of them the target.
    void ShowSaveChart();
    // Shows the colour under the cursor.
    void showColor(Color color);
    bool continuous() const;
    // The side of the square whose mean is picked: 1, 3 or 5 device pixels.
    int averageSize() const;
    // For desktops that hand out no picture but their own colour picker:
    // cmdPick picks one colour through it; continuous picking, the loupe and
    // the average are unavailable, and lblPickerOnly says so.
    void showPickerOnly();
    bool pickerOnly() const { return m_pickerOnly; }
    // The text that a pick of `color` puts on the clipboard: nothing while
    // "Copy as" is off.
    std::optional<QString> copyText(Color color) const;

    // The palette file behind each entry of cmbSaveTo, position 0 first.
    StringTable SaveToFiles;
    // The file of the palette that picked colours are appended to: the
    // entry chosen in cmbSaveTo; empty when no palette takes colours.
    QString SaveToFile;

    ClickableLabel* lblcor = nullptr;
    QLineEdit* txthex = nullptr;
    QLineEdit* txtRgb = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cmbSaveTo = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* cmdStop = nullptr;
    PickLoupe* picLoupe = nullptr;
    QLabel* lblAverage = nullptr;
    QComboBox* cmbAverage = nullptr;
    QPushButton* cmdPick = nullptr;
    QLabel* lblPickerOnly = nullptr;
    QCheckBox* chkCopyPick = nullptr;
    QComboBox* cmbCopyFormat = nullptr;

signals:
    // "&Stop", Escape or the close box: picking ends without saving.
    void stopRequested();
    // The cursor is over this window, not over the frozen picture.
    void pointerEntered();
    // A picking key (an arrow or Enter) that no control of this window used.
    void pictureKey(int key, Qt::KeyboardModifiers modifiers);
    void averageSizeChanged();
    // "&Pick a Color": one colour through the desktop's own picker.
    void pickRequested();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void cmbSaveTo_Click(int index);
    void Check1_Click(bool checked);
    void cmbAverage_Click(int index);
    void chkCopyPick_Click(bool checked);
    void cmbCopyFormat_Click(int index);
    void ShowCopyFormats();

    Platform& m_platform;
    PaletteIndexReader m_readIndex;
    QPointer<QWidget> m_owner;
    bool m_centred = false;
    bool m_pickerOnly = false;
    QPalette m_swatchPalette;
    // The user's templates as the notations had them when the window opened.
    QList<UserTemplate> m_templates;
};
