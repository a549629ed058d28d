#pragma once

#include <QObject>

class QWidget;

// Tells when a widget hands the input focus to another control. Focus that
// leaves only because another window (a dialog, a message box) became active,
// or because a menu or pop-up menu opened, is not reported: the user has not
// moved on to another control.
class FocusLossWatcher : public QObject
{
    Q_OBJECT
public:
    explicit FocusLossWatcher(QWidget* watched);

signals:
    // `newFocus` is the widget receiving the focus, or null.
    void focusMovedAway(QWidget* newFocus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
