#include "app/handover/UnixSocket.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace unixsocket {

bool AddressOf(const QString& address, sockaddr_un& where, QByteArray& path)
{
    path = QFile::encodeName(address.startsWith(QLatin1Char('/'))
                                 ? address
                                 : QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/') + address);
    where = sockaddr_un{};
    if (path.isEmpty() || path.size() >= qsizetype(sizeof(where.sun_path)))
        return false;
    where.sun_family = AF_UNIX;
    std::memcpy(where.sun_path, path.constData(), std::size_t(path.size()));
    return true;
}

bool PeerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t length = sizeof(peer);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::geteuid();
}

bool WaitFor(int fd, short events, QDeadlineTimer deadline)
{
    for (;;) {
        pollfd watched{fd, events, 0};
        const qint64 left = deadline.remainingTime();
        const int ready = ::poll(&watched, 1, left < 0 ? -1 : int(qMin<qint64>(left, 1 << 30)));
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0 && (watched.revents & (events | POLLHUP)) != 0;
    }
}

bool SendAll(int fd, const QByteArray& bytes, QDeadlineTimer deadline)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written =
            ::send(fd, bytes.constData() + done, std::size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (written > 0) {
            done += written;
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN && WaitFor(fd, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

} // namespace unixsocket
