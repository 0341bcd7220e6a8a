#include "xfce/XfconfWallpaper.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <cstring>
#include <set>

#include "shared/SessionBus.h"

namespace vexlo {
namespace {

constexpr const char* kChannel = "xfce4-desktop";
constexpr int kCallTimeoutMs = 10000;

QDBusMessage XfconfCall(const char* method) {
    return QDBusMessage::createMethodCall("org.xfce.Xfconf", "/org/xfce/Xfconf", "org.xfce.Xfconf",
                                          method);
}

// Every property name under /backdrop; none when the channel is still empty.
std::vector<std::string> BackdropProperties(QDBusConnection& bus) {
    QDBusMessage call = XfconfCall("GetAllProperties");
    call << QString(kChannel) << QString("/backdrop");
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    std::vector<std::string> names;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return names;
    }
    const QVariant first = reply.arguments().constFirst();
    const QVariantMap map = first.canConvert<QDBusArgument>()
                                ? qdbus_cast<QVariantMap>(first.value<QDBusArgument>())
                                : first.toMap();
    for (auto it = map.keyBegin(); it != map.keyEnd(); ++it) {
        names.push_back(it->toStdString());
    }
    return names;
}

bool SetProperty(QDBusConnection& bus, const std::string& property, const QVariant& value) {
    QDBusMessage call = XfconfCall("SetProperty");
    call << QString(kChannel) << QString::fromStdString(property)
         << QVariant::fromValue(QDBusVariant(value));
    return bus.call(call, QDBus::Block, kCallTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

}  // namespace

int XfceImageStyle(WallpaperPlacement placement) {
    switch (placement) {
        case WallpaperPlacement::Tile:
            return 2;
        case WallpaperPlacement::Stretch:
            return 3;
        case WallpaperPlacement::Centre:
            break;
    }
    return 1;
}

std::vector<std::string> BackdropFolders(const std::vector<std::string>& properties) {
    // /backdrop/screenS/monitorM/workspaceW/<name>: the folder is all but <name>.
    static const char* const kParts[] = {"backdrop", "screen", "monitor", "workspace"};
    std::set<std::string> folders;
    for (const std::string& property : properties) {
        std::size_t at = 0;
        bool matches = true;
        for (const char* part : kParts) {
            const std::size_t length = std::strlen(part);
            const std::size_t end = property.find('/', at + 1);
            matches = property[at] == '/' && end != std::string::npos &&
                      property.compare(at + 1, length, part) == 0 &&
                      (std::strcmp(part, "backdrop") == 0 ? end == at + 1 + length
                                                          : end > at + 1 + length);
            if (!matches) {
                break;
            }
            at = end;
        }
        if (matches && at + 1 < property.size()) {
            folders.insert(property.substr(0, at));
        }
    }
    if (folders.empty()) {
        return {"/backdrop/screen0/monitor0/workspace0"};
    }
    return {folders.begin(), folders.end()};
}

XfconfWallpaper::XfconfWallpaper(Environment env) : env_(std::move(env)) {}

bool XfconfWallpaper::Set(const WallpaperRequest& request) {
    RequireUtf8FileName(request.path, "Xfce");  // a D-Bus string is UTF-8
    SessionBus bus(env_);
    if (!bus.IsConnected()) {
        return false;
    }
    const QVariant style(XfceImageStyle(request.placement));
    const QVariant image(QString::fromStdString(request.path));
    for (const std::string& folder : BackdropFolders(BackdropProperties(bus.Connection()))) {
        if (!SetProperty(bus.Connection(), folder + "/image-style", style) ||
            !SetProperty(bus.Connection(), folder + "/last-image", image)) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> MonitorFolders(const std::vector<std::string>& properties,
                                        const std::string& monitor) {
    const std::string prefix = "/backdrop/screen0/monitor" + monitor + "/";
    std::vector<std::string> folders;
    for (const std::string& folder : BackdropFolders(properties)) {
        if (folder.rfind(prefix, 0) == 0) {
            folders.push_back(folder);
        }
    }
    if (folders.empty()) {
        folders.push_back(prefix + "workspace0");
    }
    return folders;
}

bool XfconfWallpaper::SetScreens(const ScreensRequest& request) {
    SessionBus bus(env_);
    if (!bus.IsConnected()) {
        return false;
    }
    const std::vector<std::string> properties = BackdropProperties(bus.Connection());
    for (std::size_t i = 0; i < request.screens.size(); ++i) {
        const ScreenRequest& screen = request.screens[i];
        RequireUtf8FileName(screen.path, "Xfce");
        // xfdesktop names a monitor by its output; an unnamed one by its number.
        const std::string monitor =
            screen.screen.name.empty() ? std::to_string(i) : screen.screen.name;
        const QVariant style(XfceImageStyle(screen.placement));
        const QVariant image(QString::fromStdString(screen.path));
        for (const std::string& folder : MonitorFolders(properties, monitor)) {
            if (!SetProperty(bus.Connection(), folder + "/image-style", style) ||
                !SetProperty(bus.Connection(), folder + "/last-image", image)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace vexlo
