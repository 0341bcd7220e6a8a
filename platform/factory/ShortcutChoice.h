#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Environment.h"
#include "shortcut/GlobalShortcut.h"

namespace vexlo {

// How Ctrl+Alt+C reaches Vexlo in a session.
enum class ShortcutRoad {
    None,              // no road: the key does nothing
    X11Grab,           // X11 sessions: the key grabbed on the root window
    Portal,            // Wayland with the GlobalShortcuts portal
    GnomeBinding,      // GNOME's Wayland session without that portal
    CompositorConfig,  // sway: a line in its configuration, which the user adds
};

// A Wayland session: XDG_SESSION_TYPE is "wayland" or WAYLAND_DISPLAY is set.
bool IsWaylandSession(const Environment& env);

// The road for the session `env` describes. X11 sessions keep the X grab;
// in a Wayland session the portal wins where `portalOffered` says the bus has
// it (asked only there), else the desktop's own road, else the X grab under
// XWayland when there is an X display.
ShortcutRoad ChooseShortcutRoad(const Environment& env, const std::function<bool()>& portalOffered);

// "x11-grab", "portal", ...: for messages and tests.
std::string ShortcutRoadName(ShortcutRoad road);

// The road for the program's session, chosen at its first use (the portal is
// asked then, for at most a few seconds).
std::unique_ptr<GlobalShortcut> CreateGlobalShortcut(const PlatformContext& context);

}  // namespace vexlo
