// The main window's side of "Colors From Image": its Tool menu command, the
// palettes it offers for picked colours, and what it does with a picked
// colour or a new palette.
#include "app/frmshowcolor.h"

#include "app/platform/Platform.h"
#include "palettes/PaletteIndex.h"
#include "palettes/image/frmImage.h"
#include "palettes/picker/PickSave.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

void frmshowcolor::setUpImageHandlers()
{
    mnuFromImage = mnuTool->addAction(QStringLiteral("Colors From &Image..."));
    mnuFromImage->setObjectName(QStringLiteral("mnuFromImage"));
    connect(mnuFromImage, &QAction::triggered, this, &frmshowcolor::mnuFromImage_Click);
}

void frmshowcolor::mnuFromImage_Click()
{
    if (!m_imageWindow) {
        m_imageWindow = new frmImage(m_platform, this);
        m_imageWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_imageWindow, &frmImage::colorPicked, this, &frmshowcolor::saveImageColor);
        connect(m_imageWindow, &frmImage::paletteRequested, this, &frmshowcolor::addUserPalette);
    }
    // The palettes that take colours, as the picker offers them; read anew
    // each time, since palettes come and go while the window stays open.
    const paletteindex::Reading reading = ReadChartIndex();
    StringTable files;
    StringTable names;
    paletteindex::ColorTargets(reading.entries, files, names);
    offerImageSaveTargets(files, names);
    m_imageWindow->show();
    m_imageWindow->raise();
    m_imageWindow->activateWindow();
}

void frmshowcolor::offerImageSaveTargets(const StringTable& files, const StringTable& names)
{
    // Also after every change of the index while the window stays open: a
    // click must not save to a palette that is gone, nor to a new one that
    // took a deleted one's file.
    if (m_imageWindow)
        m_imageWindow->setSaveTargets(files, names);
}

void frmshowcolor::saveImageColor(Color color, const QString& file)
{
    // Saved as the screen picker saves a click: one record in the chosen
    // palette, then the colour becomes current.
    const FileResult saved = picksave::SavePickedColor(m_dataFolder, file, color);
    if (!saved) {
        reportFileError(saved.message);
        return;
    }
    if (file == ChartFile.value(cmbChart->currentIndex()))
        refreshChartFromPageOne(file);
    CurrentColorChanged(color);
}

frmImage* frmshowcolor::imageWindow() const
{
    return m_imageWindow;
}
