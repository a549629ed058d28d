#include "palettes/picker/PickShortcut.h"

#include "app/platform/GlobalShortcuts.h"
#include "app/platform/Platform.h"

#include <QAction>
#include <QDBusConnection>
#include <QTimer>
#include <QWidget>

namespace {

const QString PickShortcutSettingKey = QStringLiteral("pickshortcut");
const QString PickShortcutPortalId = QStringLiteral("pick");

} // namespace

PickShortcut::PickShortcut(Platform& platform, QAction* toggle, QWidget* window)
    : QObject(toggle), m_platform(platform), m_toggle(toggle), m_window(window)
{
    toggle->setCheckable(true);
    connect(toggle, &QAction::triggered, this, &PickShortcut::setOn);
    if (m_platform.readSetting(PickShortcutSettingKey, QStringLiteral("0")) != QLatin1String("1"))
        return;
    toggle->setChecked(true);
    // The desktop may ask the user which keys to bind: only once the window
    // is up, and without holding its start.
    QTimer::singleShot(0, this, [this] {
        if (m_toggle && m_toggle->isChecked())
            setOn(true);
    });
}

void PickShortcut::setOn(bool on)
{
    m_platform.writeSetting(PickShortcutSettingKey, on ? QStringLiteral("1") : QStringLiteral("0"));
    if (!on) {
        if (m_portal)
            m_portal->disable();
        return;
    }
    if (!m_portal) {
        // The desktop's portal is asked only by those who use the shortcut.
        m_portal = new GlobalShortcuts(QDBusConnection::sessionBus(), this);
        connect(m_portal, &GlobalShortcuts::stateChanged, this, &PickShortcut::stateChanged);
        connect(m_portal, &GlobalShortcuts::activated, this, [this](const QString& id) {
            if (id == PickShortcutPortalId)
                emit activated();
        });
    }
    if (!m_portal->available()) {
        turnOff();
        m_platform.showMessage(
            m_window,
            QStringLiteral("This desktop offers no shortcuts to programs (the desktop portal's "
                           "GlobalShortcuts, in KDE Plasma 5.27 and GNOME 48 or later). Bind "
                           "the command \"tintora --pick\" to a key in the desktop's own "
                           "keyboard settings instead; Help explains how."),
            Platform::Buttons::Ok, Platform::Icon::Information, QStringLiteral("Tintora"));
        return;
    }
    m_portal->enable(
        {PickShortcutPortalId, QStringLiteral("Pick a colour"), QStringLiteral("CTRL+ALT+p")});
}

void PickShortcut::stateChanged()
{
    if (m_portal->state() != GlobalShortcuts::State::Failed)
        return;
    turnOff();
    m_platform.showMessage(m_window,
                           QStringLiteral("The desktop did not bind the shortcut \"Pick a "
                                          "colour\": %1")
                               .arg(m_portal->detail()),
                           Platform::Buttons::Ok, Platform::Icon::Warning,
                           QStringLiteral("Tintora"));
}

void PickShortcut::turnOff()
{
    if (m_toggle)
        m_toggle->setChecked(false);
    m_platform.writeSetting(PickShortcutSettingKey, QStringLiteral("0"));
}
