#include "factory/CreateDesktopPlatform.h"

#include "factory/DesktopDetection.h"
#include "gnome/GSettingsWallpaper.h"
#include "kde/PlasmaWallpaper.h"
#include "linux/CommandRunner.h"
#include "linux/LinuxPlatform.h"
#include "registry/FileRegistry.h"
#include "sway/SwayWallpaper.h"
#include "x11/RootPixmapSetter.h"
#include "xfce/XfconfWallpaper.h"

namespace vexlo {
namespace {

std::unique_ptr<WallpaperSetter> SetterFor(DesktopKind kind, const Environment& env) {
    switch (kind) {
        case DesktopKind::X11: {
            auto display = env.find("DISPLAY");
            return std::make_unique<RootPixmapSetter>(display == env.end() ? "" : display->second);
        }
        case DesktopKind::Gnome:
            return std::make_unique<GSettingsWallpaper>(GSettingsFlavour::Gnome,
                                                        CommandRunner(env));
        case DesktopKind::Cinnamon:
            return std::make_unique<GSettingsWallpaper>(GSettingsFlavour::Cinnamon,
                                                        CommandRunner(env));
        case DesktopKind::Mate:
            return std::make_unique<GSettingsWallpaper>(GSettingsFlavour::Mate, CommandRunner(env));
        case DesktopKind::Xfce:
            return std::make_unique<XfconfWallpaper>(env);
        case DesktopKind::Kde:
            return std::make_unique<PlasmaWallpaper>(env);
        case DesktopKind::Sway:
            return std::make_unique<SwayWallpaper>(CommandRunner(env));
        case DesktopKind::None:
            break;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<DesktopPlatform> CreateDesktopPlatform(const Environment& env) {
    return std::make_unique<LinuxPlatform>(FileRegistry(FileRegistry::DefaultFolder(env)),
                                           SetterFor(DetectDesktop(env), env), env);
}

}  // namespace vexlo
