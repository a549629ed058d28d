#include "app/FramePositionKeeper.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

FramePositionKeeper::FramePositionKeeper(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

bool FramePositionKeeper::eventFilter(QObject* watched, QEvent* event)
{
    // Only the program's own hiding and showing: minimising and restoring
    // are the window system's business.
    if (watched != m_window || event->spontaneous())
        return false;
    if (event->type() == QEvent::Hide) {
        m_frame = m_window->geometry().topLeft();
        m_kept = true;
    } else if (event->type() == QEvent::Show && m_kept) {
        m_kept = false;
        // Before the window is mapped again. Only a position the program set
        // goes to the window manager as one to keep, and a widget's move to
        // where it already stands sets nothing; its native window's does.
        // The position is the client area's: the frame's extents are known
        // only once the window manager has framed the window again.
        if (QWindow* native = m_window->windowHandle())
            native->setPosition(m_frame);
    }
    return false;
}
