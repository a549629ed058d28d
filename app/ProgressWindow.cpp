#include "app/ProgressWindow.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <utility>

namespace {

constexpr int Steps = 1000;

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent, QString label)
    : m_parent(parent), m_label(std::move(label))
{
    m_clock.start();
}

ProgressWindow::~ProgressWindow()
{
    delete m_dialog;
}

Progress ProgressWindow::progress()
{
    return [this](qint64 done, qint64 total) { return step(done, total); };
}

bool ProgressWindow::step(qint64 done, qint64 total)
{
    if (!m_dialog) {
        if (m_clock.elapsed() < DelayMs)
            return true;
        m_dialog = new QProgressDialog(m_label, QStringLiteral("Cancel"), 0, Steps, m_parent);
        m_dialog->setObjectName(QStringLiteral("dlgProgress"));
        m_dialog->setWindowTitle(QStringLiteral("Tintora"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->show();
    }
    const int value = total > 0 ? int(qBound<qint64>(0, done * Steps / total, qint64(Steps))) : 0;
    m_dialog->setValue(value);
    // setValue only lets the events through for a modal dialog on its own
    // schedule; Cancel must be seen at once.
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}
