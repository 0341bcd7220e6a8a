#include "shared/SessionBus.h"

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
    if (std::string address = EnvValue(env, "DBUS_SESSION_BUS_ADDRESS"); !address.empty()) {
        return address;
    }
    if (std::string runtime = EnvValue(env, "XDG_RUNTIME_DIR"); !runtime.empty()) {
        std::error_code ec;
        const std::filesystem::path bus = std::filesystem::path(runtime) / "bus";
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
