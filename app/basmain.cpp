#include "app/basmain.h"

#include "app/Platform.h"
#include "app/frmshowcolor.h"

#include <QApplication>

#include <memory>

namespace basmain {

frmshowcolor* CreateMainWindow(Platform& platform, const QString& dataFolder)
{
    auto* window = new frmshowcolor(platform, dataFolder);
    window->setWindowTitle(QStringLiteral("Tintora 3.7"));
    return window;
}

int Main(Platform& platform, const QString& dataFolder)
{
    if (platform.anotherInstanceRunning())
        return 0;
    std::unique_ptr<frmshowcolor> window(CreateMainWindow(platform, dataFolder));
    platform.bringToFrontOnSecondStart(window.get());
    window->show();
    return QApplication::exec();
}

} // namespace basmain
