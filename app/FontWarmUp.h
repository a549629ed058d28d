#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// The first text of the main window needs fontconfig's configuration (some 60
// XML files on a Debian desktop) and Qt's font database built from it: the
// largest single piece of the window's start, and nothing before that text
// needs either. Another thread reads the configuration while Qt starts, then
// fills the font database once the application object exists. Qt guards the
// database with its own lock, so a first text that comes while it is being
// filled waits for it; one that comes while the configuration is still read
// reads it itself, which takes no longer than without this.
class FontWarmUp
{
public:
    // Starts reading the configuration. Before the application object.
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Once the application object exists: the database is filled next.
    void applicationReady();
    // Returns once the thread is done. Before the application object goes.
    void finish();

private:
    void run(int (*readConfiguration)());

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_applicationReady = false;
    bool m_finishing = false;
    std::thread m_thread;
};
