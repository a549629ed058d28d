#include "scheme/FocusLossWatcher.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

FocusLossWatcher::FocusLossWatcher(QWidget* watched) : QObject(watched)
{
    watched->installEventFilter(this);
}

bool FocusLossWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // By the time the focus-out arrives the application already names the
        // widget that receives the focus.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason)
            emit focusMovedAway(QApplication::focusWidget());
    }
    return QObject::eventFilter(watched, event);
}
