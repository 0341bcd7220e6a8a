#pragma once

#include <optional>
#include <string>

#include "Environment.h"

namespace vexlo {

// The desktops Vexlo can tell about a wallpaper.
enum class DesktopKind { None, X11, Gnome, Cinnamon, Mate, Xfce, Kde, Sway };

// The kind for a name as users and sessions spell it ("GNOME", "ubuntu",
// "X-Cinnamon", "plasma", "sway", "x11", "none"...), in any letter case;
// no value for a name it does not know.
std::optional<DesktopKind> DesktopKindFromName(const std::string& name);

// The running desktop, from the session's environment: VEXLO_DESKTOP when it
// names a kind (for a misdetected desktop), else each entry of
// XDG_CURRENT_DESKTOP, then DESKTOP_SESSION, then the variables particular
// desktops set (SWAYSOCK, KDE_FULL_SESSION, ...). Otherwise bare X11 when
// DISPLAY is set and no Wayland display is, else none.
DesktopKind DetectDesktop(const Environment& env);

// "gnome", "x11", ...: for messages and tests.
std::string DesktopKindName(DesktopKind kind);

}  // namespace vexlo
