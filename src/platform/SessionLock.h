#pragma once

#include <memory>
#include <QObject>

namespace platform {

// Tells when the desktop session locks its screen (screen saver or the
// login manager), so the program can lock its open file too.
class SessionLockSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    void sessionLocked();
};

// Listens on the session bus to the screen savers' ActiveChanged and, when
// there is a system bus, to the login manager's Lock of this session. A
// missing bus or service is not an error: that source stays silent.
std::unique_ptr<SessionLockSource> makeDesktopSessionLock();

} // namespace platform
