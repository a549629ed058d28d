#include "app/basmain.h"

#include "app/DataFolder.h"
#include "app/ImageList.h"
#include "app/platform/Platform.h"
#include "app/frmshowcolor.h"
#include "palettes/ShippedPaletteOffer.h"

#include <QApplication>

#include <memory>

namespace basmain {

frmshowcolor* CreateMainWindow(Platform& platform, const QString& dataFolder)
{
    ImageList::prepareStyle();
    auto* window = new frmshowcolor(platform, dataFolder);
    window->setWindowTitle(QStringLiteral("Tintora 3.7"));
    return window;
}

int Main(Platform& platform, const QString& dataFolder)
{
    if (platform.anotherInstanceRunning())
        return 0;
    // The user's own folder was seeded once; what a newer release ships joins
    // it only when the user agrees.
    if (const DataFolderLayout layout = currentDataFolderLayout();
        layout.kind == DataFolderLayout::Kind::PerUser && layout.folder == dataFolder)
        offerShippedPalettes(platform, layout.shipped, dataFolder);
    std::unique_ptr<frmshowcolor> window(CreateMainWindow(platform, dataFolder));
    platform.bringToFrontOnSecondStart(window.get());
    window->show();
    return QApplication::exec();
}

} // namespace basmain
