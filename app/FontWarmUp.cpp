#include "app/FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <dlfcn.h>

FontWarmUp::FontWarmUp()
{
    // Qt Gui links fontconfig, so it is loaded already; looked up by name
    // rather than linked, it needs no development files. FcInit may run on
    // any thread: the configuration is published atomically, and Qt's own
    // call finds it.
    void* library = ::dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    const auto readConfiguration = reinterpret_cast<int (*)()>(::dlsym(library, "FcInit"));
    ::dlclose(library);
    if (readConfiguration)
        m_thread = std::thread([this, readConfiguration] { run(readConfiguration); });
}

FontWarmUp::~FontWarmUp()
{
    finish();
}

void FontWarmUp::run(int (*readConfiguration)())
{
    readConfiguration();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_applicationReady || m_finishing; });
    if (m_finishing)
        return;
    lock.unlock();
    // Safe on any thread, as all of QFontDatabase; it holds the database's
    // lock while it fills it.
    QFontDatabase::families();
}

void FontWarmUp::applicationReady()
{
    const std::lock_guard lock(m_mutex);
    m_applicationReady = true;
    m_changed.notify_all();
}

void FontWarmUp::finish()
{
    {
        const std::lock_guard lock(m_mutex);
        m_finishing = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}
