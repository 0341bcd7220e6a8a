#include "PrivateSession.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDBusMessage>
#include <stdexcept>

#include "shared/SessionBus.h"

namespace vexlo::test {

PrivateSession::PrivateSession(const Environment& extra) {
    const std::string runtime = dir_.Sub("runtime");
    chmod(runtime.c_str(), 0700);
    env_ = {
        {"PATH", "/usr/bin:/bin"},
        {"HOME", dir_.Sub("home")},
        {"XDG_CONFIG_HOME", dir_.Sub("config")},
        {"XDG_DATA_HOME", dir_.Sub("data")},
        {"XDG_CACHE_HOME", dir_.Sub("cache")},
        {"XDG_RUNTIME_DIR", runtime},
        {"GSETTINGS_BACKEND", "dconf"},
        {"LANG", "C.UTF-8"},
    };
    for (const auto& [name, value] : extra) {
        env_[name] = value;
    }
    // The bus hands this environment on to every service it starts.
    bus_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--print-address=3",
                                 "--address=unix:dir=" + runtime},
        env_, 3, dir_.File("bus.log"));
    const std::string address = bus_->ReadLine(10000);
    if (address.empty()) {
        throw std::runtime_error("dbus-daemon did not start: " + ReadFile(dir_.File("bus.log")));
    }
    env_["DBUS_SESSION_BUS_ADDRESS"] = address;
}

void PrivateSession::StopServices() const {
    SessionBus bus(env_);
    const QString dbus = QStringLiteral("org.freedesktop.DBus");
    const QString path = QStringLiteral("/org/freedesktop/DBus");
    const QDBusMessage names =
        bus.Connection().call(QDBusMessage::createMethodCall(dbus, path, dbus, "ListNames"));
    for (const QString& name : names.arguments().value(0).toStringList()) {
        if (!name.startsWith(':')) {
            continue;
        }
        QDBusMessage pid =
            QDBusMessage::createMethodCall(dbus, path, dbus, "GetConnectionUnixProcessID");
        pid << name;
        const uint id = bus.Connection().call(pid).arguments().value(0).toUInt();
        if (id != 0 && static_cast<pid_t>(id) != getpid()) {
            kill(static_cast<pid_t>(id), SIGTERM);
        }
    }
}

}  // namespace vexlo::test
