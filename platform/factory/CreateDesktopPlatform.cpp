#include "CreateDesktopPlatform.h"

#include "factory/DesktopDetection.h"
#include "factory/ShortcutChoice.h"
#include "gnome/GSettingsWallpaper.h"
#include "kde/PlasmaWallpaper.h"
#include "linux/LinuxPlatform.h"
#include "registry/FileRegistry.h"
#include "shared/CommandRunner.h"
#include "sway/SwayWallpaper.h"
#include "x11/RootPixmapSetter.h"
#include "xfce/XfconfWallpaper.h"

namespace vexlo {
namespace {

std::unique_ptr<WallpaperSetter> SetterFor(DesktopKind kind, const Environment& env) {
    switch (kind) {
        case DesktopKind::X11:
            return std::make_unique<RootPixmapSetter>(EnvValue(env, "DISPLAY"));
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

std::unique_ptr<DesktopPlatform> CreateDesktopPlatform(const PlatformContext& context) {
    const Environment& env = context.env;
    return std::make_unique<LinuxPlatform>(
        FileRegistry(FileRegistry::DefaultFolder(env, context.homeFolder)),
        SetterFor(DetectDesktop(env), env), context, CreateGlobalShortcut(context));
}

}  // namespace vexlo
