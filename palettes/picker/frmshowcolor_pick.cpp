// The main window's side of picking from anywhere: the picks and openings
// that later starts hand over, and the desktop's shortcut (Tool menu).
#include "app/frmshowcolor.h"

#include "app/InstanceMessage.h"
#include "app/platform/Platform.h"
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
        // Pressed again while picking: the pick under way goes on.
        if (m_requestedPick->pickUnderWay())
            return;
        instancemessage::Request request;
        request.kind = instancemessage::Request::Kind::Pick;
        request.format = QStringLiteral("hex");
        // No command waits for the answer: a refusal is told here.
        m_requestedPick->run(request, [this](const instancemessage::Reply& reply) {
            if (reply.status == instancemessage::Reply::Status::Failed)
                m_platform.showMessage(this, reply.message, Platform::Buttons::Ok,
                                       Platform::Icon::Warning, QStringLiteral("Tintora"));
        });
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
        answer(instancemessage::Reply::failed(
            QStringLiteral("Tintora is waiting for an answer in one of its windows; answer it, "
                           "then open the files again.")));
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
