#include "linux/SessionBus.h"

#include <QAtomicInteger>
#include <filesystem>

namespace vexlo {
namespace {

QString NextConnectionName() {
    static QAtomicInteger<int> counter;
    return QStringLiteral("vexlo-desktop-%1").arg(counter.fetchAndAddRelaxed(1));
}

QDBusConnection Connect(const QString& name, const std::string& address) {
    if (address.empty()) {
        return QDBusConnection(name);  // not connected
    }
    return QDBusConnection::connectToBus(QString::fromStdString(address), name);
}

}  // namespace

std::string SessionBusAddress(const Environment& env) {
    if (auto it = env.find("DBUS_SESSION_BUS_ADDRESS"); it != env.end() && !it->second.empty()) {
        return it->second;
    }
    if (auto it = env.find("XDG_RUNTIME_DIR"); it != env.end() && !it->second.empty()) {
        std::error_code ec;
        const std::filesystem::path bus = std::filesystem::path(it->second) / "bus";
        if (std::filesystem::is_socket(bus, ec)) {
            return "unix:path=" + bus.string();
        }
    }
    return "";
}

SessionBus::SessionBus(const Environment& env)
    : name_(NextConnectionName()), connection_(Connect(name_, SessionBusAddress(env))) {}

SessionBus::~SessionBus() {
    QDBusConnection::disconnectFromBus(name_);
}

}  // namespace vexlo
