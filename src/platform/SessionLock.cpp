#include "SessionLock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace platform {

namespace {

const QString Login1Service = QStringLiteral("org.freedesktop.login1");

class DBusSessionLock final : public SessionLockSource
{
    Q_OBJECT

public:
    DBusSessionLock()
    {
        QDBusConnection session = QDBusConnection::sessionBus();
        if (session.isConnected()) {
            for (const QString &name : {QStringLiteral("org.freedesktop.ScreenSaver"),
                                        QStringLiteral("org.gnome.ScreenSaver")}) {
                // Any sender and path: the desktop's screen saver decides who sends it.
                session.connect(QString(), QString(), name, QStringLiteral("ActiveChanged"), this,
                                SLOT(screenSaverChanged(bool)));
            }
        }
        watchLogin1();
    }

private Q_SLOTS:
    void screenSaverChanged(bool active)
    {
        if (active) {
            Q_EMIT sessionLocked();
        }
    }
    void login1Lock() { Q_EMIT sessionLocked(); }

private:
    // Only this session's Lock counts; its object comes from the manager.
    void watchLogin1()
    {
        QDBusConnection system = QDBusConnection::systemBus();
        if (!system.isConnected()) {
            return;
        }
        QDBusMessage ask = QDBusMessage::createMethodCall(
            Login1Service, QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("GetSessionByPID"));
        ask << static_cast<quint32>(QCoreApplication::applicationPid());
        auto *watcher = new QDBusPendingCallWatcher(system.asyncCall(ask), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher *call) {
                    const QDBusPendingReply<QDBusObjectPath> reply = *call;
                    call->deleteLater();
                    if (reply.isError()) {
                        return; // no login manager, or a process outside any session
                    }
                    QDBusConnection::systemBus().connect(
                        Login1Service, reply.value().path(),
                        QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Lock"),
                        this, SLOT(login1Lock()));
                });
    }
};

} // namespace

std::unique_ptr<SessionLockSource> makeDesktopSessionLock()
{
    return std::make_unique<DBusSessionLock>();
}

} // namespace platform

#include "SessionLock.moc"
