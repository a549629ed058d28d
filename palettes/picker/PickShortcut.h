#pragma once

#include <QObject>
#include <QPointer>

class GlobalShortcuts;
class Platform;
class QAction;
class QWidget;

// The desktop's shortcut "Pick a colour", bound through its portal while the
// checkable `toggle` is on. Off by default; the choice is remembered, and a
// desktop without the portal, or one that refuses, turns it off again with a
// message that says how to bind the command instead.
class PickShortcut : public QObject
{
    Q_OBJECT
public:
    // `window` parents the messages.
    PickShortcut(Platform& platform, QAction* toggle, QWidget* window);

signals:
    // The user pressed the shortcut.
    void activated();

private:
    void setOn(bool on);
    void stateChanged();
    void turnOff();

    Platform& m_platform;
    QPointer<QAction> m_toggle;
    QPointer<QWidget> m_window;
    GlobalShortcuts* m_portal = nullptr;
};
