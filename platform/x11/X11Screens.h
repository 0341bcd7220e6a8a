#pragma once

#include <string>
#include <vector>

#include "DesktopPlatform.h"

namespace vexlo {

// The monitors of the X server `display` in root-window coordinates: the RandR
// 1.5 monitors, else the CRTCs that show an output, else the whole root. One
// is primary (the first when RandR names none). Empty without a server.
std::vector<ScreenInfo> X11Screens(const std::string& display);

}  // namespace vexlo
