// The main window's side of picking from anywhere: the picks and openings
// that later starts hand over, and the desktop's shortcut (Tool menu).
#include "app/frmshowcolor.h"

#include "app/InstanceMessage.h"
#include "palettes/PaletteIndex.h"
#include "palettes/picker/PickShortcut.h"
#include "palettes/picker/RequestedPick.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

void frmshowcolor::setUpPickHandlers()
{
    m_requestedPick = new RequestedPick(
        m_platform, m_dataFolder, [this] { return ReadChartIndex(); }, this);
    connect(m_requestedPick, &RequestedPick::colorPicked, this, &frmshowcolor::CurrentColorChanged);
    connect(m_requestedPick, &RequestedPick::windowsRestored, this,
            &frmshowcolor::showPalettesAfterPicking);

    mnuPickShortcut = mnuTool->addAction(QStringLiteral("Pick From &Anywhere Shortcut"));
    mnuPickShortcut->setObjectName(QStringLiteral("mnuPickShortcut"));
    auto* shortcut = new PickShortcut(m_platform, mnuPickShortcut, this);
    connect(shortcut, &PickShortcut::activated, this, [this] {
        instancemessage::Request request;
        request.kind = instancemessage::Request::Kind::Pick;
        request.format = QStringLiteral("hex");
        m_requestedPick->run(request, [](const instancemessage::Reply&) {});
    });
}

void frmshowcolor::answerSecondStart(const instancemessage::Request& request,
                                     std::function<void(const instancemessage::Reply&)> answer)
{
    if (request.kind == instancemessage::Request::Kind::Pick) {
        m_requestedPick->run(request, std::move(answer));
        return;
    }
    if (request.kind != instancemessage::Request::Kind::Open)
        return;
    if (QApplication::activeModalWidget()) {
        instancemessage::Reply reply;
        reply.status = instancemessage::Reply::Status::Failed;
        reply.message = QStringLiteral("Tintora is waiting for an answer in one of its windows; "
                                       "answer it, then open the files again.");
        answer(reply);
        return;
    }
    openPaletteFiles(request.files);
    answer(instancemessage::Reply());
}

void frmshowcolor::openPaletteFiles(const QStringList& files)
{
    for (const QString& file : files)
        importPaletteFromFile(file);
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}
