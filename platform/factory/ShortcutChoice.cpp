#include "factory/ShortcutChoice.h"

#include <QString>

#include "factory/DesktopDetection.h"
#include "gnome/GnomeKeyBinding.h"
#include "shared/CommandRunner.h"
#include "shortcut/CompositorConfigNote.h"
#include "shortcut/DeferredShortcut.h"
#include "shortcut/PortalShortcut.h"
#include "x11/X11GrabShortcut.h"

namespace vexlo {
namespace {

// How long start-up may wait for the bus to say whether the portal is there.
constexpr int kPortalProbeMs = 3000;

}  // namespace

bool IsWaylandSession(const Environment& env) {
    return QString::fromStdString(EnvValue(env, "XDG_SESSION_TYPE"))
                   .trimmed()
                   .compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
           !EnvValue(env, "WAYLAND_DISPLAY").empty();
}

ShortcutRoad ChooseShortcutRoad(const Environment& env,
                                const std::function<bool()>& portalOffered) {
    if (!IsWaylandSession(env)) {
        return ShortcutRoad::X11Grab;
    }
    if (portalOffered && portalOffered()) {
        return ShortcutRoad::Portal;
    }
    switch (DetectDesktop(env)) {
        case DesktopKind::Gnome:
            return ShortcutRoad::GnomeBinding;
        case DesktopKind::Sway:
            return ShortcutRoad::CompositorConfig;
        default:
            break;
    }
    // Under XWayland the grab still sees the key while an X program has the
    // keyboard: less than a road, more than nothing.
    return EnvValue(env, "DISPLAY").empty() ? ShortcutRoad::None : ShortcutRoad::X11Grab;
}

std::string ShortcutRoadName(ShortcutRoad road) {
    switch (road) {
        case ShortcutRoad::None:
            return "none";
        case ShortcutRoad::X11Grab:
            return "x11-grab";
        case ShortcutRoad::Portal:
            return "portal";
        case ShortcutRoad::GnomeBinding:
            return "gnome-binding";
        case ShortcutRoad::CompositorConfig:
            return "compositor-config";
    }
    return "none";
}

std::unique_ptr<GlobalShortcut> CreateGlobalShortcut(const PlatformContext& context) {
    return std::make_unique<DeferredShortcut>([context]() -> std::unique_ptr<GlobalShortcut> {
        const Environment& env = context.env;
        const ShortcutRoad road = ChooseShortcutRoad(
            env, [&env] { return PortalShortcut::Offered(env, kPortalProbeMs); });
        switch (road) {
            case ShortcutRoad::X11Grab:
                return std::make_unique<X11GrabShortcut>(EnvValue(env, "DISPLAY"),
                                                         context.eventLoop);
            case ShortcutRoad::Portal:
                return std::make_unique<PortalShortcut>(env);
            case ShortcutRoad::GnomeBinding:
                return std::make_unique<GnomeKeyBinding>(CommandRunner(env), context.programFile);
            case ShortcutRoad::CompositorConfig:
                return std::make_unique<CompositorConfigNote>(context.programFile);
            case ShortcutRoad::None:
                break;
        }
        return nullptr;
    });
}

}  // namespace vexlo
