// DesktopUtils: the desktop operations of the Linux platform (the desktop's
// size, its wallpaper, the icon captions' colours, the global hot key). The
// registry operations are in LinuxPlatform.cpp.
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>

#include "VexloError.h"
#include "linux/DesktopValues.h"
#include "linux/LinuxPlatform.h"
#include "profile/FileLock.h"
#include "shared/PictureCheck.h"
#include "x11/X11ScreenSize.h"
#include "x11/X11Screens.h"

namespace vexlo {
namespace {

constexpr const char* kDesktopKey = "Control Panel\\desktop";
constexpr const char* kColoursKey = "Control Panel\\Colors";

// A read that cannot fail: a registry file that cannot be read holds nothing.
std::string SafeRead(const FileRegistry& registry, const char* key, const char* name) {
    try {
        return registry.ReadString(RegistryRoot::CurrentUser, key, name, "");
    } catch (const VexloError&) {
        return "";
    }
}

}  // namespace

DesktopSize LinuxPlatform::GetDesktopSize() {
    // Within the program Qt knows the screens of any session, Wayland included.
    if (qtScreens_) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) {
            return {};
        }
        const QSize size = screen->geometry().size() * screen->devicePixelRatio();
        return {size.width(), size.height()};
    }
    return X11ScreenSize(display_);
}

std::vector<ScreenInfo> LinuxPlatform::GetScreens() {
    // With an X server the monitors come from RandR, in the root window's
    // pixels, where the root background is drawn (also when Qt itself draws
    // offscreen); on Wayland Qt knows the outputs by their own names.
    if (!qtScreens_ || QGuiApplication::platformName() != "wayland") {
        std::vector<ScreenInfo> screens = X11Screens(display_);
        if (!screens.empty()) {
            return screens;
        }
        if (!qtScreens_) {
            const DesktopSize size = GetDesktopSize();
            return {ScreenInfo{.width = size.width, .height = size.height, .primary = true}};
        }
    }
    std::vector<ScreenInfo> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        // Physical pixels: the position scaled as the size is.
        const qreal ratio = screen->devicePixelRatio();
        const QRect area = screen->geometry();
        screens.push_back({screen->name().toStdString(), qRound(area.x() * ratio),
                           qRound(area.y() * ratio), qRound(area.width() * ratio),
                           qRound(area.height() * ratio), screen == primary});
    }
    if (primary == nullptr && !screens.empty()) {
        screens.front().primary = true;
    }
    return screens;
}

bool LinuxPlatform::SetDesktopWallpaper(const std::string& path) {
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (setter_ == nullptr || ec || !IsWholePicture(absolute)) {
        return false;
    }
    // Read at each apply, as the Windows desktop reads its own values.
    WallpaperRequest request{
        absolute,
        PlacementFromValues(SafeRead(registry_, kDesktopKey, "TileWallpaper"),
                            SafeRead(registry_, kDesktopKey, "WallPaperStyle")),
        BackgroundFromValue(SafeRead(registry_, kColoursKey, "Background"))};
    if (!setter_->CachesByFileName()) {
        return setter_->Set(request);
    }
    // From the copy to the clean-up one apply at a time, across processes:
    // whoever tells the desktop last cleans up last, so no instance deletes
    // the copy another one has just handed the desktop. Without the lock
    // (a folder that cannot take one) the apply still goes on.
    FileLock lock(copies_.Folder() + "/.lock");
    if (!copies_.Folder().empty()) {
        std::filesystem::create_directories(copies_.Folder(), ec);
        lock.Lock(std::chrono::seconds(30));
    }
    request.path = copies_.Make(absolute);
    if (request.path.empty()) {
        return false;
    }
    bool told = false;
    try {
        told = setter_->Set(request);
    } catch (const VexloError&) {
        std::filesystem::remove(request.path, ec);  // a name the desktop cannot take
        throw;
    }
    if (!told) {
        std::filesystem::remove(request.path, ec);
        return false;
    }
    copies_.KeepOnly(request.path);
    return true;
}

void LinuxPlatform::SetDesktopIconColours(ColourRef, ColourRef, bool) {
    // Linux desktops draw their icon captions themselves and keep no list
    // whose colours another program may set: there is nothing to change.
}

bool LinuxPlatform::CanColourIconCaptions() const {
    return false;
}

bool LinuxPlatform::WatchScreens(std::function<void()> changed) {
    if (!qtScreens_ || !eventLoop_) {
        return false;
    }
    screenWatch_ = std::make_unique<QObject>();
    QObject* context = screenWatch_.get();
    const auto watch = [context, changed](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, [changed] { changed(); });
        QObject::connect(screen, &QScreen::orientationChanged, context, [changed] { changed(); });
    };
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    QObject::connect(app, &QGuiApplication::screenAdded, context, [watch, changed](QScreen* s) {
        watch(s);
        changed();
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, context, [changed] { changed(); });
    QObject::connect(app, &QGuiApplication::primaryScreenChanged, context,
                     [changed] { changed(); });
    return true;
}

bool LinuxPlatform::RegisterGlobalHotKey(NativeMessageSink sink) {
    return shortcut_->Register(std::move(sink));
}

void LinuxPlatform::StoreGlobalHotKey(bool on) {
    shortcut_->Store(on);
}

std::string LinuxPlatform::GlobalHotKeyNote() {
    return shortcut_->Note();
}

}  // namespace vexlo
