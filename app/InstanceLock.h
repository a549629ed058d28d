#pragma once

#include <QString>

// The single-instance lock of one data folder, held in the folder itself: a
// second run on the same files finds it whatever its runtime folder, login
// session or container, as long as it sees the same folder (a bind mount or
// a network file system included). The lock is the system's (flock), so it
// goes with the process however the process ends; the lock file stays.
class InstanceLock
{
public:
    enum class State {
        Held,          // this process holds the lock now
        HeldElsewhere, // another process holds it
        Unavailable,   // the folder gives no lock (read-only, no locking)
    };

    // ".tintora.lock", a name that no palette or scheme file can have.
    static QString FileName();

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State acquire(const QString& dataFolder);
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
