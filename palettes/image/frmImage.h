#pragma once

#include "app/StringTable.h"
#include "app/bascommon.h"
#include "app/platform/Platform.h"
#include "palettes/image/PaletteExtraction.h"
#include "palettes/picker/PickSampling.h"

#include <QDialog>
#include <QImage>
#include <QList>

#include <memory>
#include <vector>

class ClickableLabel;
class ImageCanvas;
class PickLoupe;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;

// "Colors From Image": an image from a file, the clipboard or a drop, with
// the screen picker's tools (loupe, arrow keys, 1 / 3 x 3 / 5 x 5 average), a
// click that picks the colour under the hot spot, and the image's palette by
// k-means, worked out off the user-interface thread. Modeless. It knows
// nothing of the main window: it is given the palettes that take colours and
// hands picked colours and new palettes back by its signals.
//
// Control names: picImage the picture in scrImage; lblcor/txthex/txtRgb the
// colour under the hot spot; cmbSaveTo the palette picked colours go to;
// spnColors how many colours the palette has; lstPalette the palette,
// largest share first; prgExtract/cmdCancel the progress of a long decoding
// or extraction.
class frmImage : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ProgressDelayMs = 500;

    explicit frmImage(Platform& platform, QWidget* parent = nullptr);
    ~frmImage() override;

    // The palettes that picked colours can go to; the one chosen stays
    // chosen while it is still offered, otherwise the first is.
    void setSaveTargets(const StringTable& files, const StringTable& names);
    QString saveToFile() const;

    // Each shows the picture and starts its palette, or says what went wrong
    // and keeps the picture it had. A file is decoded on another thread;
    // loadFinished tells when it is done.
    void openFile(const QString& path);
    bool showImage(QImage image, const QString& name);
    void pasteImage();

    const QImage& image() const { return m_image; }
    QPoint hotSpot() const;
    // The colour under the hot spot, averaged as cmbAverage says.
    Color hotSpotColor() const;
    int averageSize() const;
    // What lstPalette shows.
    const QList<paletteextraction::PaletteColor>& palette() const { return m_palette; }
    bool extracting() const { return m_running != nullptr; }
    bool loading() const { return m_loading != nullptr; }
    void setZoom(double zoom);
    double zoom() const;

    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdPaste = nullptr;
    QComboBox* cmbZoom = nullptr;
    QScrollArea* scrImage = nullptr;
    ImageCanvas* picImage = nullptr;
    ClickableLabel* lblcor = nullptr;
    QLineEdit* txthex = nullptr;
    QLineEdit* txtRgb = nullptr;
    PickLoupe* picLoupe = nullptr;
    QComboBox* cmbAverage = nullptr;
    QComboBox* cmbSaveTo = nullptr;
    QSpinBox* spnColors = nullptr;
    QListWidget* lstPalette = nullptr;
    QProgressBar* prgExtract = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdSavePalette = nullptr;
    QPushButton* cmdCopy = nullptr;
    // Every notation of the Color Formats window and the user's templates;
    // each copies the whole palette, one colour a line.
    QMenu* mnuCopyAs = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* cmdClose = nullptr;

public slots:
    // Starts the palette of the picture anew; a run still going is cancelled.
    void extractPalette();
    void cancelExtraction();

signals:
    // A click on the picture (or Enter): the colour, and the palette file it
    // goes to (empty when no palette takes colours).
    void colorPicked(Color color, const QString& paletteFile);
    // "Save as Palette": a new user palette of this name and these colours.
    void paletteRequested(const QString& name, const QList<Color>& colors);
    // An extraction ended, shown or cancelled.
    void extractionFinished();
    // A file opened or dropped was decoded; `shown` when it is on display.
    void loadFinished(bool shown);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Run;

    void showHotSpot(QPoint pixel);
    void pick();
    void stepZoom(int steps);
    void fitZoom();
    void showPalette(const paletteextraction::Extraction& extraction);
    void fillCopyAsMenu();
    void copyPalette(const QString& text);
    void savePalette();
    void showMessage(const QString& text, Platform::Icon icon = Platform::Icon::Critical);
    void cancelLoad();
    void finishLoad(Run* run);
    void finishExtraction(Run* run);
    // Forgets a finished run once its watcher has finished reporting.
    void release(Run* run);
    // The progress bar and Cancel, only for work beyond ProgressDelayMs.
    void showProgressLater();
    void hideProgressWhenIdle();

    Platform& m_platform;
    QImage m_image;
    StringTable m_saveToFiles;
    QList<paletteextraction::PaletteColor> m_palette;
    picksampling::LoupePixels m_loupePixels{};
    // Every run whose thread has not ended. The last extraction started is
    // m_running and the last decoding m_loading while under way; the others
    // were cancelled or replaced, and their results are dropped.
    std::vector<std::unique_ptr<Run>> m_runs;
    Run* m_running = nullptr;
    Run* m_loading = nullptr;
    QTimer* m_progressDelay = nullptr;
};
