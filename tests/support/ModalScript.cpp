#include "tests/support/ModalScript.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>

#include <memory>

namespace {

void poll(std::function<QWidget*()> find, std::function<void(QWidget*)> action, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, find, action, timeoutMs] {
        if (QWidget* widget = find(); widget && widget->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(widget);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace

void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs)
{
    poll([] { return QApplication::activeModalWidget(); }, std::move(action), timeoutMs);
}

void whenPopupShown(std::function<void(QMenu*)> action, int timeoutMs)
{
    poll([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
         [action](QWidget* widget) { action(static_cast<QMenu*>(widget)); }, timeoutMs);
}
