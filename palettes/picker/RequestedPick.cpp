#include "palettes/picker/RequestedPick.h"

#include "app/platform/Platform.h"
#include "models/notations/FormatChoices.h"
#include "palettes/picker/PickOnce.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {

// A window that was on the screen when a requested pick began, and how.
struct WindowBeforeRequestedPick
{
    QPointer<QWidget> window;
    bool minimized = false;
};

bool frozenScreenShown()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName() == QLatin1String("frmGetColor"))
            return true;
    return false;
}

// Every window out of the way of the picture: open menus and tooltips
// closed, as a click elsewhere would close them; the others hidden, to be
// shown again afterwards.
QList<WindowBeforeRequestedPick> clearScreenForPick()
{
    QList<WindowBeforeRequestedPick> shown;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isWindow() || !top->isVisible())
            continue;
        if (top->windowType() == Qt::Popup || top->windowType() == Qt::ToolTip) {
            top->close();
            continue;
        }
        shown.append({top, top->isMinimized()});
        top->hide();
    }
    // They must have vanished from the screen before it is captured.
    QCoreApplication::processEvents();
    return shown;
}

void restoreWindowsAfterPick(const QList<WindowBeforeRequestedPick>& shown)
{
    for (const WindowBeforeRequestedPick& before : shown) {
        if (!before.window)
            continue;
        if (before.minimized)
            before.window->showMinimized();
        else
            before.window->show();
    }
}

} // namespace

RequestedPick::RequestedPick(Platform& platform, const QString& dataFolder,
                             PaletteIndexReader readIndex, QObject* parent)
    : QObject(parent), m_platform(platform), m_dataFolder(dataFolder),
      m_readIndex(std::move(readIndex))
{
}

bool RequestedPick::pickUnderWay() const
{
    return m_picking || frozenScreenShown();
}

void RequestedPick::run(const instancemessage::Request& request, Answer answer)
{
    // One frozen screen at a time; and a dialog waiting for an answer would
    // keep the picture from the keys and the mouse.
    if (pickUnderWay()) {
        answer(
            instancemessage::Reply::failed(QStringLiteral("Tintora is picking a color already.")));
        return;
    }
    if (QApplication::activeModalWidget()) {
        answer(instancemessage::Reply::failed(
            QStringLiteral("Tintora is waiting for an answer in one of its "
                           "windows; answer it, then pick again.")));
        return;
    }
    m_picking = true;
    const QList<WindowBeforeRequestedPick> shown = clearScreenForPick();

    PickOnce::Options options;
    options.format = request.format.isEmpty() ? QStringLiteral("hex") : request.format;
    options.save = request.save;
    options.saveTo = request.saveTo;
    options.templates =
        FormatChoices::fromSetting(m_platform.readSetting(FormatChoices::SettingKey,
                                                          FormatChoices::Defaults().toSetting()))
            .templates;
    auto* pick = new PickOnce(m_platform, m_dataFolder, m_readIndex, options, nullptr, this);
    connect(pick, &PickOnce::colorPicked, this, &RequestedPick::colorPicked);
    const bool copy = request.copy;
    connect(pick, &PickOnce::finished, this,
            [this, pick, shown, copy, answer](const instancemessage::Reply& reply) {
                restoreWindowsAfterPick(shown);
                emit windowsRestored();
                if (copy && reply.status == instancemessage::Reply::Status::Done)
                    m_platform.setClipboardText(reply.text);
                m_picking = false;
                pick->deleteLater();
                answer(reply);
            });
    pick->start();
}
