#include "factory/DesktopDetection.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace vexlo {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return "";
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string Value(const Environment& env, const char* name) {
    return Trimmed(EnvValue(env, name));
}

}  // namespace

std::optional<DesktopKind> DesktopKindFromName(const std::string& name) {
    static const std::map<std::string, DesktopKind> kinds = {
        {"none", DesktopKind::None},
        {"x11", DesktopKind::X11},
        {"gnome", DesktopKind::Gnome},
        {"gnome-classic", DesktopKind::Gnome},
        {"gnome-xorg", DesktopKind::Gnome},
        {"ubuntu", DesktopKind::Gnome},
        {"ubuntu-xorg", DesktopKind::Gnome},
        {"unity", DesktopKind::Gnome},
        {"budgie", DesktopKind::Gnome},
        {"budgie-desktop", DesktopKind::Gnome},
        {"pop", DesktopKind::Gnome},
        {"cinnamon", DesktopKind::Cinnamon},
        {"x-cinnamon", DesktopKind::Cinnamon},
        {"cinnamon2d", DesktopKind::Cinnamon},
        {"mate", DesktopKind::Mate},
        {"xfce", DesktopKind::Xfce},
        {"xfce4", DesktopKind::Xfce},
        {"xubuntu", DesktopKind::Xfce},
        {"kde", DesktopKind::Kde},
        {"plasma", DesktopKind::Kde},
        {"plasmawayland", DesktopKind::Kde},
        {"plasmax11", DesktopKind::Kde},
        {"kde-plasma", DesktopKind::Kde},
        {"sway", DesktopKind::Sway},
    };
    auto it = kinds.find(Lower(Trimmed(name)));
    if (it == kinds.end()) {
        return std::nullopt;
    }
    return it->second;
}

DesktopKind DetectDesktop(const Environment& env) {
    if (auto chosen = DesktopKindFromName(Value(env, "VEXLO_DESKTOP"))) {
        return *chosen;
    }
    // "ubuntu:GNOME", "Budgie:GNOME": the first entry the program knows wins.
    std::istringstream current(Value(env, "XDG_CURRENT_DESKTOP"));
    for (std::string entry; std::getline(current, entry, ':');) {
        if (auto kind = DesktopKindFromName(entry);
            kind && *kind != DesktopKind::None && *kind != DesktopKind::X11) {
            return *kind;
        }
    }
    // DESKTOP_SESSION may be a path to the session file.
    std::string session = Value(env, "DESKTOP_SESSION");
    session = session.substr(session.find_last_of('/') + 1);
    if (auto kind = DesktopKindFromName(session);
        kind && *kind != DesktopKind::None && *kind != DesktopKind::X11) {
        return *kind;
    }
    if (!Value(env, "SWAYSOCK").empty()) {
        return DesktopKind::Sway;
    }
    if (Lower(Value(env, "KDE_FULL_SESSION")) == "true") {
        return DesktopKind::Kde;
    }
    if (!Value(env, "MATE_DESKTOP_SESSION_ID").empty()) {
        return DesktopKind::Mate;
    }
    if (!Value(env, "GNOME_DESKTOP_SESSION_ID").empty()) {
        return DesktopKind::Gnome;
    }
    // Any other X window manager shows the root window; a Wayland compositor
    // of another kind has no way for us to reach its background.
    if (!Value(env, "DISPLAY").empty() && Value(env, "WAYLAND_DISPLAY").empty()) {
        return DesktopKind::X11;
    }
    return DesktopKind::None;
}

std::string DesktopKindName(DesktopKind kind) {
    switch (kind) {
        case DesktopKind::None:
            return "none";
        case DesktopKind::X11:
            return "x11";
        case DesktopKind::Gnome:
            return "gnome";
        case DesktopKind::Cinnamon:
            return "cinnamon";
        case DesktopKind::Mate:
            return "mate";
        case DesktopKind::Xfce:
            return "xfce";
        case DesktopKind::Kde:
            return "kde";
        case DesktopKind::Sway:
            return "sway";
    }
    return "none";
}

}  // namespace vexlo
