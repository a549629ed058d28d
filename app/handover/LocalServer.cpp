#include "app/handover/LocalServer.h"

#include "app/InstanceMessage.h"
#include "app/handover/SecondStart.h"
#include "app/handover/UnixSocket.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>

#include <cerrno>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Connections the kernel queues before they are accepted; the server closes
// all but a few at once anyway.
constexpr int ListenBacklog = 16;

} // namespace

LocalServer::LocalServer(QObject* parent) : QObject(parent) {}

LocalServer::~LocalServer()
{
    if (m_fd < 0)
        return;
    delete m_notifier;
    ::close(m_fd);
    struct stat info;
    if (::lstat(m_path.constData(), &info) == 0 && S_ISSOCK(info.st_mode))
        ::unlink(m_path.constData());
}

bool LocalServer::listen(const QString& address)
{
    if (m_fd >= 0)
        return false;
    sockaddr_un where{};
    QByteArray path;
    if (!unixsocket::AddressOf(address, where, path))
        return false;
    struct stat info;
    if (::lstat(path.constData(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode) || ::unlink(path.constData()) != 0)
            return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // The file is the user's alone before anyone can connect: a socket that
    // is bound but not yet listening refuses every connection.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof(where)) != 0) {
        ::close(fd);
        return false;
    }
    if (::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, ListenBacklog) != 0) {
        ::close(fd);
        ::unlink(path.constData());
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalServer::newConnection);
    return true;
}

LocalConnection* LocalServer::nextPendingConnection()
{
    while (m_fd >= 0) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return nullptr;
        }
        if (unixsocket::PeerIsThisUser(fd))
            return new LocalConnection(fd, this);
        ::close(fd);
    }
    return nullptr;
}

LocalConnection::LocalConnection(int fd, QObject* parent) : QObject(parent), m_fd(fd)
{
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalConnection::receive);
}

LocalConnection::~LocalConnection()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

void LocalConnection::receive()
{
    // Never more than a whole frame and a byte waits here: the reader
    // refuses what goes beyond.
    constexpr qsizetype Most =
        instancemessage::MaxHeaderBytes + instancemessage::MaxPayloadBytes + 1;
    if (m_fd < 0)
        return;
    const qsizetype room = Most - m_received.size();
    if (room <= 0) {
        m_notifier->setEnabled(false);
        return;
    }
    QByteArray bytes(qMin<qsizetype>(room, 64 * 1024), Qt::Uninitialized);
    const ssize_t got = ::recv(m_fd, bytes.data(), std::size_t(bytes.size()), 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) {
        close();
        return;
    }
    bytes.truncate(got);
    m_received += bytes;
    emit readyRead();
}

QByteArray LocalConnection::read(qsizetype most)
{
    const QByteArray taken = m_received.left(most);
    m_received.remove(0, taken.size());
    if (m_fd >= 0 && !taken.isEmpty())
        m_notifier->setEnabled(true);
    return taken;
}

void LocalConnection::writeAndClose(const QByteArray& bytes)
{
    if (m_fd >= 0)
        unixsocket::SendAll(m_fd, bytes, QDeadlineTimer(secondstart::WaitMs));
    close();
}

void LocalConnection::close()
{
    if (m_fd < 0)
        return;
    m_notifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
    emit disconnected();
}
