#include "InstanceChannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace platform {

const QString InstanceChannel::MutexName = QStringLiteral("QuorvanVellumor_APPLICATION_MUTEX");
const QString InstanceChannel::ServerName = QStringLiteral("QuorvanVellumor_APPLICATION");

namespace {

// The runtime folder is private to the user; without one the temporary
// folder stands in (then the names still carry the user's id).
QString runtimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

InstanceChannel::InstanceChannel(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceChannel::acceptConnection);
}

InstanceChannel::~InstanceChannel()
{
    ReleaseInstanceLock();
}

QString InstanceChannel::lockPath()
{
    return runtimeFolder() + QLatin1Char('/') + MutexName;
}

QString InstanceChannel::serverPath()
{
    return runtimeFolder() + QLatin1Char('/') + ServerName;
}

bool InstanceChannel::IsFirstInstance()
{
    auto lock = std::make_unique<QLockFile>(lockPath());
    // A lock whose holder no longer runs is stale at once.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // A lock that cannot be created for any other reason counts as first instance.
        if (lock->error() == QLockFile::LockFailedError) {
            return false;
        }
    } else {
        m_lock = std::move(lock);
    }
    // We hold the lock, so a socket left behind belongs to a dead instance.
    QLocalServer::removeServer(serverPath());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(serverPath());
    return true;
}

void InstanceChannel::ReleaseInstanceLock()
{
    m_server.close();
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}

void InstanceChannel::acceptConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
            buffer->append(socket->readAll());
            if (buffer->size() > MaxPayload) {
                buffer->clear();
                socket->abort();
            }
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            socket->deleteLater();
            if (!buffer->isEmpty() && buffer->size() <= MaxPayload) {
                Q_EMIT payloadReceived(*buffer);
            }
        });
    }
}

bool InstanceChannel::SendToRunningInstance(const QByteArray &payload)
{
    QElapsedTimer timer;
    timer.start();
    const auto left = [&timer] {
        return static_cast<int>(std::max<qint64>(0, SendTimeoutMs - timer.elapsed()));
    };
    QLocalSocket socket;
    socket.connectToServer(serverPath());
    if (!socket.waitForConnected(left())) {
        return false;
    }
    socket.write(payload);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(left())) {
            return false;
        }
    }
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(left());
}

} // namespace platform
