#include "StartupSession.h"

#include <sstream>

namespace vexlo {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// True when every platform of a "a;b" list is one that talks to a display
// server (xcb, wayland, wayland-egl, ...).
bool NeedsDisplayServer(const std::string& platforms) {
    std::istringstream list(platforms);
    std::string name;
    bool any = false;
    while (std::getline(list, name, ';')) {
        // Options follow a colon: "xcb:nograb".
        name = name.substr(0, name.find(':'));
        if (name.empty()) {
            continue;
        }
        if (!StartsWith(name, "xcb") && !StartsWith(name, "wayland")) {
            return false;
        }
        any = true;
    }
    return any;
}

}  // namespace

StartupSession ChooseStartupSession(const Environment& env, const std::string& platformArgument,
                                    bool needsScreen, bool waylandPluginFound) {
    StartupSession session;
    const std::string chosen =
        platformArgument.empty() ? EnvValue(env, "QT_QPA_PLATFORM") : platformArgument;
    const bool x = !EnvValue(env, "DISPLAY").empty();
    const bool wayland = !EnvValue(env, "WAYLAND_DISPLAY").empty();
    if (!x && !wayland && (chosen.empty() || NeedsDisplayServer(chosen))) {
        if (needsScreen) {
            session.error =
                "Vexlo needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set";
        } else {
            session.headless = true;
        }
        return session;
    }
    if (!chosen.empty()) {
        return session;
    }
    if (x) {
        session.qtPlatform = "xcb";
    } else if (waylandPluginFound) {
        session.qtPlatform = "wayland";
    } else if (needsScreen) {
        session.error =
            "Vexlo needs X (XWayland) or the Qt Wayland platform plugin (Debian package "
            "qt6-wayland) in a Wayland session: DISPLAY is not set";
    } else {
        session.headless = true;
    }
    return session;
}

}  // namespace vexlo
