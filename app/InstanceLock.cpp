#include "app/InstanceLock.h"

#include "app/DataFolderAccess.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

QString InstanceLock::FileName()
{
    return QStringLiteral(".tintora.lock");
}

InstanceLock::~InstanceLock()
{
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

InstanceLock::State InstanceLock::acquire(const QString& dataFolder)
{
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        return State::Held;
    // Not through a link: the lock file is created in this folder or not at all.
    FileResult opened;
    const int fd = DataFolderAccess(dataFolder)
                       .openDescriptor(FileName(), DataFolderAccess::Access::Create,
                                       QStringLiteral("lock"), opened);
    if (fd < 0)
        return State::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    }
    m_fd = fd;
    return State::Held;
#else
    Q_UNUSED(dataFolder);
    return State::Unavailable;
#endif
}
