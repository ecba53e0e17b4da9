#pragma once

#include <memory>
#include <QByteArray>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace platform {

// One instance per user: the first start holds a lock file and listens on a
// local socket, both in the user's runtime folder; a later start finds the lock
// taken and hands its payload over through the socket.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    static const QString MutexName;  // "QuorvanVellumor_APPLICATION_MUTEX"
    static const QString ServerName; // "QuorvanVellumor_APPLICATION"
    static constexpr int SendTimeoutMs = 5000;
    static constexpr qsizetype MaxPayload = qsizetype{64} * 1024;

    explicit InstanceChannel(QObject *parent = nullptr);
    ~InstanceChannel() override;

    // Takes the lock (a lock left by a crashed instance is taken over) and
    // starts listening. False when another instance holds it.
    bool IsFirstInstance();
    void ReleaseInstanceLock();

    // From a second start: delivers payload to the running instance, waiting at
    // most SendTimeoutMs. False when none answered.
    static bool SendToRunningInstance(const QByteArray &payload);

    static QString lockPath();
    static QString serverPath();

Q_SIGNALS:
    // The bytes one later start sent, complete.
    void payloadReceived(const QByteArray &payload);

private:
    void acceptConnection();

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace platform
