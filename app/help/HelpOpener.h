#pragma once

#include <QObject>
#include <QPointer>

class Platform;
class QWidget;
class frmHelp;

// Opens the help for "&Help Topics": the desktop's viewer for compiled help
// where one is registered, otherwise the program's own help window. A help
// file that is missing or cannot be read gives one message naming it.
class HelpOpener : public QObject
{
    Q_OBJECT
public:
    // `owner` is the window that asks; the help window lives no longer.
    HelpOpener(Platform& platform, QWidget* owner);
    ~HelpOpener() override;

    void open(const QString& helpFile);

    // The program's own help window while it is open.
    frmHelp* window() const;

private:
    void report(const QString& message);

    Platform& m_platform;
    QWidget* m_owner;
    QPointer<frmHelp> m_window;
};
