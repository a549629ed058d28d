// The main window's side of picking from anywhere: the picks and openings
// that later starts hand over, and the desktop's shortcut (Tool menu).
#include "app/frmshowcolor.h"

#include "app/InstanceMessage.h"
#include "app/TextBounds.h"
#include "app/platform/Platform.h"
#include "palettes/PaletteIndex.h"
#include "palettes/picker/PickShortcut.h"
#include "palettes/picker/RequestedPick.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>

#include <algorithm>

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
    // The later start exits with a failure, as its user asked for files
    // that are not palettes now; the window has said why.
    const QStringList failed = openPaletteFiles(request.files);
    if (failed.isEmpty()) {
        answer(instancemessage::Reply());
        return;
    }
    // A few named, so that the answer stays well within a reply's size.
    constexpr qsizetype Named = 5;
    QStringList quoted;
    for (const QString& file : failed.first(std::min(failed.size(), Named)))
        quoted.append(QLatin1Char('"') + textbounds::ShownName(QDir::toNativeSeparators(file)) +
                      QLatin1Char('"'));
    if (failed.size() > Named)
        quoted.append(failed.size() - Named == 1
                          ? QStringLiteral("1 more file")
                          : QStringLiteral("%1 more files").arg(failed.size() - Named));
    answer(instancemessage::Reply::failed(
        QStringLiteral("Could not import %1; the running Tintora says why in its window.")
            .arg(quoted.join(QStringLiteral(", ")))));
}

QStringList frmshowcolor::openPaletteFiles(const QStringList& files)
{
    QStringList failed;
    for (const QString& file : files)
        if (!importPaletteFromFile(file))
            failed.append(file);
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    return failed;
}
