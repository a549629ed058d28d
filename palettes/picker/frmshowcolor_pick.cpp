// The main window's side of picking from anywhere: the picks and openings
// that later starts hand over, and the desktop's shortcut (Tool menu).
#include "app/frmshowcolor.h"

#include "app/InstanceMessage.h"
#include "app/platform/GlobalShortcuts.h"
#include "app/platform/Platform.h"
#include "palettes/PaletteIndex.h"
#include "palettes/picker/PickOnce.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QMenu>
#include <QTimer>

namespace {

const QString PickShortcutKey = QStringLiteral("pickshortcut");
const QString PickShortcutId = QStringLiteral("pick");

// A window that was on the screen when a pick began, and how.
struct ShownWindow
{
    QPointer<QWidget> window;
    bool minimized = false;
};

instancemessage::Reply failedReply(const QString& message)
{
    instancemessage::Reply reply;
    reply.status = instancemessage::Reply::Status::Failed;
    reply.message = message;
    return reply;
}

} // namespace

void frmshowcolor::setUpPickHandlers()
{
    mnuPickShortcut = mnuTool->addAction(QStringLiteral("Pick From &Anywhere Shortcut"));
    mnuPickShortcut->setObjectName(QStringLiteral("mnuPickShortcut"));
    mnuPickShortcut->setCheckable(true);
    connect(mnuPickShortcut, &QAction::triggered, this, &frmshowcolor::mnuPickShortcut_Click);
    if (m_platform.readSetting(PickShortcutKey, QStringLiteral("0")) != QLatin1String("1"))
        return;
    mnuPickShortcut->setChecked(true);
    // The desktop may ask the user which keys to bind: only once the window
    // is up, and without holding its start.
    QTimer::singleShot(0, this, [this] {
        if (mnuPickShortcut->isChecked())
            mnuPickShortcut_Click(true);
    });
}

void frmshowcolor::mnuPickShortcut_Click(bool checked)
{
    m_platform.writeSetting(PickShortcutKey, checked ? QStringLiteral("1") : QStringLiteral("0"));
    if (!checked) {
        if (m_pickShortcut)
            m_pickShortcut->disable();
        return;
    }
    if (!m_pickShortcut) {
        // The desktop's portal is asked only by those who use the shortcut.
        m_pickShortcut = new GlobalShortcuts(QDBusConnection::sessionBus(), this);
        connect(m_pickShortcut, &GlobalShortcuts::stateChanged, this,
                &frmshowcolor::pickShortcutChanged);
        connect(m_pickShortcut, &GlobalShortcuts::activated, this, [this](const QString& id) {
            if (id != PickShortcutId)
                return;
            instancemessage::Request request;
            request.kind = instancemessage::Request::Kind::Pick;
            request.format = QStringLiteral("hex");
            answerSecondStart(request, [](const instancemessage::Reply&) {});
        });
    }
    if (!m_pickShortcut->available()) {
        mnuPickShortcut->setChecked(false);
        m_platform.writeSetting(PickShortcutKey, QStringLiteral("0"));
        m_platform.showMessage(
            this,
            QStringLiteral("This desktop offers no shortcuts to programs (the desktop portal's "
                           "GlobalShortcuts, in KDE Plasma 5.27 and GNOME 48 or later). Bind "
                           "the command \"tintora --pick\" to a key in the desktop's own "
                           "keyboard settings instead; Help explains how."),
            Platform::Buttons::Ok, Platform::Icon::Information, QStringLiteral("Tintora"));
        return;
    }
    m_pickShortcut->enable(
        {PickShortcutId, QStringLiteral("Pick a colour"), QStringLiteral("CTRL+ALT+p")});
}

void frmshowcolor::pickShortcutChanged()
{
    if (m_pickShortcut->state() != GlobalShortcuts::State::Failed)
        return;
    mnuPickShortcut->setChecked(false);
    m_platform.writeSetting(PickShortcutKey, QStringLiteral("0"));
    m_platform.showMessage(this,
                           QStringLiteral("The desktop did not bind the shortcut \"Pick a "
                                          "colour\": %1")
                               .arg(m_pickShortcut->detail()),
                           Platform::Buttons::Ok, Platform::Icon::Warning,
                           QStringLiteral("Tintora"));
}

void frmshowcolor::answerSecondStart(const instancemessage::Request& request,
                                     std::function<void(const instancemessage::Reply&)> answer)
{
    if (request.kind == instancemessage::Request::Kind::Open) {
        if (QApplication::activeModalWidget()) {
            answer(failedReply(QStringLiteral("Tintora is waiting for an answer in one of its "
                                              "windows; answer it, then open the files again.")));
            return;
        }
        openPaletteFiles(request.files);
        answer(instancemessage::Reply());
        return;
    }
    if (request.kind != instancemessage::Request::Kind::Pick)
        return;
    pickForRequest(request, std::move(answer));
}

void frmshowcolor::pickForRequest(const instancemessage::Request& request,
                                  std::function<void(const instancemessage::Reply&)> answer)
{
    // One frozen screen at a time; and a dialog waiting for an answer would
    // keep the picture from the keys and the mouse.
    bool pickerShown = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        pickerShown =
            pickerShown || (top->isVisible() && top->objectName() == QLatin1String("frmGetColor"));
    if (m_pickingForRequest || pickerShown) {
        answer(failedReply(QStringLiteral("Tintora is picking a color already.")));
        return;
    }
    if (QApplication::activeModalWidget()) {
        answer(failedReply(QStringLiteral("Tintora is waiting for an answer in one of its "
                                          "windows; answer it, then pick again.")));
        return;
    }
    m_pickingForRequest = true;

    // Every window out of the way of the picture, and back afterwards as it
    // was: a minimised one minimised, a hidden one hidden.
    QList<ShownWindow> shown;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isWindow() || !top->isVisible())
            continue;
        // An open menu or tooltip is closed, as a click elsewhere would close it.
        if (top->windowType() == Qt::Popup || top->windowType() == Qt::ToolTip) {
            top->close();
            continue;
        }
        shown.append({top, top->isMinimized()});
        top->hide();
    }
    // They must have vanished from the screen before it is captured.
    QCoreApplication::processEvents();

    PickOnce::Options options;
    options.format = request.format.isEmpty() ? QStringLiteral("hex") : request.format;
    options.save = request.save;
    options.saveTo = request.saveTo;
    options.templates =
        FormatChoices::fromSetting(m_platform.readSetting(FormatChoices::SettingKey,
                                                          FormatChoices::Defaults().toSetting()))
            .templates;
    auto* pick = new PickOnce(
        m_platform, m_dataFolder, [this] { return ReadChartIndex(); }, options, nullptr, this);
    connect(pick, &PickOnce::colorPicked, this, &frmshowcolor::CurrentColorChanged);
    const bool copy = request.copy;
    connect(pick, &PickOnce::finished, this,
            [this, pick, shown, copy, answer](const instancemessage::Reply& reply) {
                for (const ShownWindow& window : shown) {
                    if (!window.window)
                        continue;
                    if (window.minimized)
                        window.window->showMinimized();
                    else
                        window.window->show();
                }
                showPalettesAfterPicking();
                // This program stays, and with it what it puts on the clipboard.
                if (copy && reply.status == instancemessage::Reply::Status::Done)
                    m_platform.setClipboardText(reply.text);
                m_pickingForRequest = false;
                pick->deleteLater();
                answer(reply);
            });
    pick->start();
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
