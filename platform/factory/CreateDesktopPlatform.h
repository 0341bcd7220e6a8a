#pragma once

#include <memory>

#include "DesktopPlatform.h"
#include "Environment.h"

namespace vexlo {

// The Linux backend for the session described by `env`: the registry in files
// (FileRegistry::DefaultFolder), the wallpaper through the desktop that
// DetectDesktop finds. When none is found the desktop is never told, and
// everything else still works.
std::unique_ptr<DesktopPlatform> CreateDesktopPlatform(const Environment& env);

}  // namespace vexlo
