#include "app/SecondStart.h"

#include "app/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {

QString secondStartKey(const QString& dataFolder)
{
    return QString::fromLatin1(QCryptographicHash::hash(QDir(dataFolder).canonicalPath().toUtf8(),
                                                        QCryptographicHash::Sha1)
                                   .toHex()
                                   .left(16));
}

const QByteArray SecondStartFrontRequest = QByteArrayLiteral("front\n");

} // namespace

namespace secondstart {

QStringList Addresses(const QString& dataFolder)
{
    QStringList addresses;
    const QString inFolder = QDir(dataFolder).absoluteFilePath(QStringLiteral(".tintora.socket"));
    // A Unix socket address holds at most 107 bytes.
    if (QFile::encodeName(inFolder).size() < 100)
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
        QLocalSocket socket;
        socket.connectToServer(address);
        if (!socket.waitForConnected(WaitMs))
            continue;
        // The bare line asks for the window in words that every version
        // understands.
        socket.write(front ? SecondStartFrontRequest : instancemessage::Encode(request));
        socket.waitForBytesWritten(WaitMs);
        if (front) {
            socket.disconnectFromServer();
            return std::nullopt;
        }
        // A pick waits for the user, however long that takes; the instance
        // closes the connection when it gives up.
        instancemessage::Decoder decoder;
        while (decoder.state() == instancemessage::Decoder::State::NeedMore) {
            if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(-1))
                break;
            decoder.feed(
                socket.read(instancemessage::MaxHeaderBytes + instancemessage::MaxPayloadBytes));
        }
        socket.abort();
        return decoder.reply();
    }
    return std::nullopt;
}

} // namespace secondstart
