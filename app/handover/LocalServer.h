#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

class LocalConnection;

// The running instance's side of the instance socket: a plain Unix socket
// with Qt Core's socket notifier, as the later start's side is a plain
// connection (secondstart). Qt's own local server would load Qt Network into
// every start of the windows for this one socket. Only connections of this
// user's processes are accepted (the peer's credentials), and the socket
// file is the user's alone.
class LocalServer : public QObject
{
    Q_OBJECT
public:
    explicit LocalServer(QObject* parent = nullptr);
    ~LocalServer() override;

    // Listens at `address`: a path, or a name that QLocalServer would put in
    // the temporary folder. A socket already at the path is a leftover of a
    // run that ended without closing (the caller holds the instance lock)
    // and goes; anything else there stays, and listening fails.
    bool listen(const QString& address);
    bool isListening() const { return m_fd >= 0; }

    // The next connection waiting, owned by the server until deleted; null
    // when none is.
    LocalConnection* nextPendingConnection();

signals:
    void newConnection();

private:
    int m_fd = -1;
    QByteArray m_path;
    QSocketNotifier* m_notifier = nullptr;
};

// One accepted connection. Reads what arrives as it arrives; closed by the
// peer or by close(), after which it reads nothing more.
class LocalConnection : public QObject
{
    Q_OBJECT
public:
    LocalConnection(int fd, QObject* parent);
    ~LocalConnection() override;

    // Up to `most` of the bytes received so far.
    QByteArray read(qsizetype most);
    qsizetype bytesAvailable() const { return m_received.size(); }
    // Sends `bytes` whole (waiting a short while for room), then closes.
    void writeAndClose(const QByteArray& bytes);
    void close();

signals:
    void readyRead();
    // The peer closed the connection, or it was closed here.
    void disconnected();

private:
    void receive();

    int m_fd = -1;
    QByteArray m_received;
    QSocketNotifier* m_notifier = nullptr;
};
