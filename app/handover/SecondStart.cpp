#include "app/handover/SecondStart.h"

#include "app/DataFolderAccess.h"
#include "app/InstanceLock.h"
#include "app/handover/UnixSocket.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString secondStartKey(const QString& dataFolder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(DataFolderAccess::canonicalFolder(dataFolder).toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16));
}

const QByteArray SecondStartFrontRequest = QByteArrayLiteral("front\n");
const QString SocketName = QStringLiteral(".tintora.socket");

// A connection to the running instance over a plain Unix socket: Qt's own
// local socket would load Qt Network, a good part of what a start that only
// hands over costs.
class Connection
{
public:
    explicit Connection(const QString& address)
    {
        sockaddr_un where{};
        QByteArray path;
        if (!unixsocket::AddressOf(address, where, path))
            return;
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (m_fd < 0)
            return;
        // A local connection is made at once or refused; EAGAIN is a server
        // whose queue is full, which is waited for as for any bytes.
        if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&where), sizeof(where)) != 0 &&
            !((errno == EAGAIN || errno == EINPROGRESS) &&
              unixsocket::WaitFor(m_fd, POLLOUT, QDeadlineTimer(secondstart::WaitMs)) &&
              connectedAfterWait())) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        // The address in the temporary folder is open to every user: a
        // socket another user put there first must not answer a pick (its
        // text would be printed and copied) nor hear what is asked.
        if (!unixsocket::PeerIsThisUser(m_fd)) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~Connection()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool connected() const { return m_fd >= 0; }

    bool write(const QByteArray& bytes)
    {
        return unixsocket::SendAll(m_fd, bytes, QDeadlineTimer(secondstart::WaitMs));
    }

    // Up to `most` bytes, waiting however long it takes; empty once the
    // instance has closed the connection or it failed.
    QByteArray read(qsizetype most)
    {
        QByteArray bytes(most, Qt::Uninitialized);
        for (;;) {
            const ssize_t got = ::recv(m_fd, bytes.data(), std::size_t(most), 0);
            if (got > 0) {
                bytes.truncate(got);
                return bytes;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && errno == EAGAIN &&
                unixsocket::WaitFor(m_fd, POLLIN, QDeadlineTimer::Forever))
                continue;
            return {};
        }
    }

private:
    bool connectedAfterWait() const
    {
        int error = 0;
        socklen_t length = sizeof(error);
        return ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }

    int m_fd = -1;
};

} // namespace

namespace secondstart {

QStringList Addresses(const QString& dataFolder)
{
    QStringList addresses;
    // Only a socket, or nothing yet: a link of that name is never followed
    // to wherever it leads, and the name in the temporary folder serves.
    const DataFolderAccess folder(dataFolder);
    const QString inFolder = folder.socketAddress(SocketName);
    // A Unix socket address holds at most 107 bytes.
    if (!inFolder.isEmpty() && QFile::encodeName(inFolder).size() < 100)
        addresses.append(inFolder);
    addresses.append(QStringLiteral("tintora-") + secondStartKey(dataFolder));
    return addresses;
}

QString RuntimeLockPath(const QString& dataFolder)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/tintora-") + secondStartKey(dataFolder) +
           QStringLiteral(".lock");
}

bool InstanceRunning(const QString& dataFolder)
{
    switch (InstanceLock().acquire(dataFolder)) {
    case InstanceLock::State::Held:
        return false; // released again as the lock goes
    case InstanceLock::State::HeldElsewhere:
        return true;
    case InstanceLock::State::Unavailable:
        break;
    }
    QLockFile lock(RuntimeLockPath(dataFolder));
    // As the running instance keeps it: only a lock whose process has gone
    // is stale.
    lock.setStaleLockTime(0);
    // A lock that cannot be taken counts as another instance's, as it does
    // for the start that takes it.
    if (!lock.tryLock(0))
        return true;
    lock.unlock();
    return false;
}

std::optional<instancemessage::Reply> Ask(const QString& dataFolder,
                                          const instancemessage::Request& request)
{
    const bool front = request.kind == instancemessage::Request::Kind::Front;
    for (const QString& address : Addresses(dataFolder)) {
        Connection connection(address);
        if (!connection.connected())
            continue;
        // The bare line asks for the window in words that every version
        // understands.
        if (!connection.write(front ? SecondStartFrontRequest : instancemessage::Encode(request)))
            return std::nullopt;
        if (front)
            return std::nullopt;
        // A pick waits for the user, however long that takes; the instance
        // closes the connection when it gives up.
        instancemessage::Decoder decoder;
        while (decoder.state() == instancemessage::Decoder::State::NeedMore) {
            const QByteArray bytes =
                connection.read(instancemessage::MaxHeaderBytes + instancemessage::MaxPayloadBytes);
            if (bytes.isEmpty())
                break;
            decoder.feed(bytes);
        }
        return decoder.reply();
    }
    return std::nullopt;
}

} // namespace secondstart
