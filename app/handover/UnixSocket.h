#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <sys/un.h>

// What both ends of the instance socket share: where an address is, whose
// the other end is, and waiting and sending on a non-blocking descriptor.
namespace unixsocket {

// The socket address of `address`: a path as it is, a bare name in the
// temporary folder (where QLocalServer put it in earlier versions, so that
// both agree). False when the path does not fit a socket address; `path`
// receives the path.
bool AddressOf(const QString& address, sockaddr_un& where, QByteArray& path);

// Whether the process at the other end of the connected socket `fd` runs as
// this process's user: an address in the temporary folder is open to all.
bool PeerIsThisUser(int fd);

// Waits until `fd` is ready for `events` (or hung up); false when the
// deadline passed first or polling failed.
bool WaitFor(int fd, short events, QDeadlineTimer deadline);

// Sends all of `bytes`, waiting for room until `deadline`.
bool SendAll(int fd, const QByteArray& bytes, QDeadlineTimer deadline);

} // namespace unixsocket
