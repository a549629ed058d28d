#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Gives the keyboard focus back to the control of a top-level window that had
// it when the program hid the window (the screen picker does), once the
// window is shown and active again. A window manager may activate the window
// while it is still hidden, and Qt then moves the focus on to the next
// control: after each picking run the focus would be one control further, and
// an entry field left on the way would apply its colour once more.
class FocusKeeper : public QObject
{
    Q_OBJECT
public:
    explicit FocusKeeper(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusChanged(QWidget* now);

    QWidget* m_window;
    // The last control of the window that had the focus, menus left out.
    QPointer<QWidget> m_control;
    // The control to give the focus back to after the program's own hiding.
    QPointer<QWidget> m_kept;
};
