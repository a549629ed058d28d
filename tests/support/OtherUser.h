#pragma once

#include <QByteArray>

#include <cstring>

#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

namespace otheruser {

// In a child forked by a test that runs as root: becomes the unprivileged
// user "nobody" and makes a Unix socket for address (filled into where).
// Returns the socket, or -1. The raw calls: glibc's own would wait for the
// parent's other threads, which the child does not have.
inline int SocketAsNobody(const QByteArray& address, sockaddr_un& where)
{
    if (::syscall(SYS_setgid, 65534) != 0 || ::syscall(SYS_setuid, 65534) != 0)
        return -1;
    where = sockaddr_un{};
    where.sun_family = AF_UNIX;
    std::memcpy(where.sun_path, address.constData(), std::size_t(address.size()));
    return ::socket(AF_UNIX, SOCK_STREAM, 0);
}

} // namespace otheruser
