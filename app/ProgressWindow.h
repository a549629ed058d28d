#pragma once

#include "app/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

// The progress of one long command: nothing for the first half second, then
// a modal dialog ("dlgProgress") with a bar and Cancel. The command runs on
// the user-interface thread and calls progress() between its steps, which
// keeps the window painted and answers false once Cancel was pressed.
class ProgressWindow
{
public:
    static constexpr qint64 DelayMs = 500;

    ProgressWindow(QWidget* parent, QString label);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // The callback to hand to the command; valid while this object lives.
    Progress progress();

private:
    bool step(qint64 done, qint64 total);

    QWidget* m_parent;
    QString m_label;
    QElapsedTimer m_clock;
    QPointer<QProgressDialog> m_dialog;
};
