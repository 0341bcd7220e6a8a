#pragma once

#include <memory>

#include "DesktopPlatform.h"
#include "Environment.h"

namespace vexlo {

// The Linux backend for the session `context` describes: the registry in files
// (FileRegistry::DefaultFolder), the wallpaper through the desktop that
// DetectDesktop finds. When none is found the desktop is never told, and
// everything else still works.
//
// The program makes it once, after its application object:
//
//     QApplication app(argc, argv);
//     const std::unique_ptr<vexlo::DesktopPlatform> platform =
//         vexlo::CreateDesktopPlatform(vexlo::ReadProcessContext());
//
// and hands `*platform` to whoever needs it.
std::unique_ptr<DesktopPlatform> CreateDesktopPlatform(const PlatformContext& context);

}  // namespace vexlo
