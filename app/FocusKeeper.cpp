#include "app/FocusKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

FocusKeeper::FocusKeeper(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

void FocusKeeper::focusChanged(QWidget* now)
{
    // While the window is hidden the window system's moves are not the user's.
    if (!now || now->window() != m_window || !m_window->isVisible() ||
        qobject_cast<QMenuBar*>(now) || qobject_cast<QMenu*>(now))
        return;
    m_control = now;
}

bool FocusKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    // Only the program's own hiding: minimising and restoring, and moving
    // between windows, are the window system's business.
    if (event->type() == QEvent::Hide && !event->spontaneous()) {
        m_kept = m_control;
    } else if (event->type() == QEvent::WindowActivate && m_kept && m_window->isVisible()) {
        // A window manager may activate the window while it is still hidden;
        // Qt then gives the focus to the control after the hidden one. Once
        // the window is back, before Qt's own choice, which follows this
        // event, the focus returns where it was; a control left for that
        // reason applies nothing.
        QWidget* control = m_kept;
        m_kept.clear();
        if (control->isVisible() && control->isEnabled() && !control->hasFocus())
            control->setFocus(Qt::ActiveWindowFocusReason);
    }
    return false;
}
