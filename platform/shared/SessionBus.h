#pragma once

#include <QDBusConnection>
#include <QString>

#include "Environment.h"

namespace vexlo {

// The session bus address of an environment: DBUS_SESSION_BUS_ADDRESS, else the
// per-user bus at $XDG_RUNTIME_DIR/bus when it exists; empty when there is none.
std::string SessionBusAddress(const Environment& env);

// A private connection to the session bus of `env`, closed when this ends.
// Private so that a test's bus and the process's own never mix.
class SessionBus {
public:
    explicit SessionBus(const Environment& env);
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool IsConnected() const { return connection_.isConnected(); }
    QDBusConnection& Connection() { return connection_; }

private:
    QString name_;
    QDBusConnection connection_;
};

}  // namespace vexlo
