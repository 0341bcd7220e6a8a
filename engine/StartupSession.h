#pragma once

#include <string>

#include "Environment.h"

namespace vexlo {

// How a start on a Unix desktop reaches the screen, decided before the
// application object exists (Qt aborts when its platform cannot start).
struct StartupSession {
    // The Qt platform to ask for (QT_QPA_PLATFORM); empty leaves Qt's choice.
    std::string qtPlatform;
    // There is no display and the start needs none ("addfolder"): it runs
    // without a GUI.
    bool headless = false;
    // Not empty: the start cannot go on; this is said and the program ends 1.
    std::string error;
};

// The choice for the session in `env`:
// - the user's own choice (`platformArgument`, from "-platform", else
//   QT_QPA_PLATFORM) is kept;
// - with DISPLAY set, "xcb", also under XWayland: the hot key and the bare
//   desktop's root window are X's, and a Wayland session would otherwise
//   look for a Wayland plugin at every start first;
// - with only WAYLAND_DISPLAY, "wayland" when `waylandPluginFound`, else an
//   error that names the package to install;
// - with neither (a text console, SSH), "Vexlo needs a graphical session"
//   unless the start needs no screen, which then runs headless. A user's
//   platform that needs no display server (offscreen, vnc, ...) starts as
//   asked.
StartupSession ChooseStartupSession(const Environment& env, const std::string& platformArgument,
                                    bool needsScreen, bool waylandPluginFound);

}  // namespace vexlo
