#include "app/InstanceLock.h"

#include <QFile>

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
    const QByteArray path = QFile::encodeName(dataFolder + QLatin1Char('/') + FileName());
    // Not through a link: the lock file is created in this folder or not at all.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
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
