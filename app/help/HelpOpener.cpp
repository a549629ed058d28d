#include "app/help/HelpOpener.h"

#include "app/help/ChmArchive.h"
#include "app/platform/Platform.h"
#include "app/help/frmHelp.h"

#include <QWidget>

HelpOpener::HelpOpener(Platform& platform, QWidget* owner)
    : QObject(owner), m_platform(platform), m_owner(owner)
{
}

HelpOpener::~HelpOpener()
{
    delete m_window;
}

void HelpOpener::open(const QString& helpFile)
{
    if (const FileResult readable = ChmArchive::CheckReadable(helpFile); !readable) {
        report(readable.message);
        return;
    }
    if (m_platform.shellOpenFile(m_owner, QStringLiteral("open"), helpFile,
                                 Platform::ShowMode::Maximized))
        return;

    if (!m_window) {
        // A window of its own rather than the owner's child: the owner may
        // be minimised so as not to cover the help, and the help must stay.
        // It never keeps the program running once the owner has closed.
        m_window = new frmHelp(m_platform);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setAttribute(Qt::WA_QuitOnClose, false);
        m_window->placeBeside(m_owner);
    }
    if (m_window->helpFile() != helpFile) {
        if (const FileResult opened = m_window->open(helpFile); !opened) {
            delete m_window;
            report(opened.message);
            return;
        }
    }
    if (m_window->isMinimized())
        m_window->showNormal();
    else
        m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

frmHelp* HelpOpener::window() const
{
    return m_window;
}

void HelpOpener::report(const QString& message)
{
    m_platform.showMessage(m_owner, message, Platform::Buttons::Ok, Platform::Icon::Warning,
                           QStringLiteral("Tintora"));
}
