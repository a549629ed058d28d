#include "app/basmain.h"

#include "app/DataFolder.h"
#include "app/ImageList.h"
#include "app/platform/Platform.h"
#include "app/frmshowcolor.h"
#include "palettes/ShippedPaletteOffer.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace basmain {

frmshowcolor* CreateMainWindow(Platform& platform, const QString& dataFolder)
{
    ImageList::prepareStyle();
    auto* window = new frmshowcolor(platform, dataFolder);
    window->setWindowTitle(QStringLiteral("Tintora 3.7"));
    return window;
}

int Main(Platform& platform, const QString& dataFolder, const QStringList& files)
{
    if (files.isEmpty()) {
        if (platform.anotherInstanceRunning())
            return 0;
    } else {
        instancemessage::Request open;
        open.kind = instancemessage::Request::Kind::Open;
        open.files = files;
        if (const Platform::HandOver handOver = platform.handToRunningInstance(open);
            handOver.anotherInstance) {
            if (handOver.reply && handOver.reply->status == instancemessage::Reply::Status::Done)
                return 0;
            std::fprintf(stderr, "tintora: %s\n",
                         handOver.reply ? qPrintable(handOver.reply->message)
                                        : "The Tintora running on the same data gave no answer.");
            return 1;
        }
    }
    // The user's own folder was seeded once; what a newer release ships joins
    // it only when the user agrees.
    if (const DataFolderLayout layout = currentDataFolderLayout();
        layout.kind == DataFolderLayout::Kind::PerUser && layout.folder == dataFolder)
        offerShippedPalettes(platform, layout.shipped, dataFolder);
    std::unique_ptr<frmshowcolor> window(CreateMainWindow(platform, dataFolder));
    platform.bringToFrontOnSecondStart(window.get());
    QPointer<frmshowcolor> requests(window.get());
    platform.handleSecondStartRequests(
        [requests](const instancemessage::Request& request, Platform::SecondStartAnswer answer) {
            if (requests)
                requests->answerSecondStart(request, std::move(answer));
        });
    window->show();
    if (!files.isEmpty())
        QTimer::singleShot(0, window.get(), [&window, files] { window->openPaletteFiles(files); });
    const int exitCode = QApplication::exec();
    platform.handleSecondStartRequests({});
    return exitCode;
}

} // namespace basmain
