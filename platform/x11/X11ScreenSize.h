#pragma once

#include <string>

#include "DesktopPlatform.h"

namespace vexlo {

// The primary monitor's size on the X server `display`, from RandR; the whole
// screen's size when RandR names no primary monitor; 0 x 0 without a server.
DesktopSize X11ScreenSize(const std::string& display);

}  // namespace vexlo
