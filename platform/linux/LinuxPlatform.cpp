#include "linux/LinuxPlatform.h"

#include <QGuiApplication>
#include <QScreen>
#include <filesystem>

#include "VexloError.h"
#include "linux/DesktopValues.h"
#include "linux/PictureCheck.h"
#include "profile/FileLock.h"
#include "x11/X11HotKey.h"
#include "x11/X11ScreenSize.h"

namespace vexlo {
namespace {

std::string EnvValue(const Environment& env, const char* name) {
    auto it = env.find(name);
    return it == env.end() ? std::string() : it->second;
}

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

LinuxPlatform::LinuxPlatform(FileRegistry registry, std::unique_ptr<WallpaperSetter> setter,
                             const Environment& env)
    : registry_(std::move(registry)),
      setter_(std::move(setter)),
      copies_(WallpaperCopies::DefaultFolder(env)),
      display_(EnvValue(env, "DISPLAY")),
      shell_(env) {}

LinuxPlatform::~LinuxPlatform() = default;

DesktopSize LinuxPlatform::GetDesktopSize() {
    // Within the program Qt knows the screens of any session, Wayland included.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) {
            return {};
        }
        const QSize size = screen->geometry().size() * screen->devicePixelRatio();
        return {size.width(), size.height()};
    }
    return X11ScreenSize(display_);
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

bool LinuxPlatform::RegisterGlobalHotKey(NativeMessageSink sink) {
    if (hotKey_ != nullptr) {
        hotKey_->SetSink(std::move(sink));
        return true;
    }
    auto hotKey = std::make_unique<X11HotKey>(display_, std::move(sink));
    if (!hotKey->Grab()) {
        return false;
    }
    hotKey_ = std::move(hotKey);
    return true;
}

std::string LinuxPlatform::ReadRegistryString(RegistryRoot root, const std::string& key,
                                              const std::string& name, const std::string& def) {
    try {
        return registry_.ReadString(root, key, name, def);
    } catch (const VexloError&) {
        return def;  // reads never fail: an unreadable file holds nothing
    }
}

void LinuxPlatform::WriteRegistryString(RegistryRoot root, const std::string& key,
                                        const std::string& name, const std::string& value) {
    registry_.WriteString(root, key, name, value);
    shell_.ValueWritten(root, key, name, value);
}

void LinuxPlatform::DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                        const std::string& name) {
    registry_.DeleteValue(root, key, name);
    shell_.ValueDeleted(root, key, name);
}

void LinuxPlatform::DeleteRegistryKey(RegistryRoot root, const std::string& key) {
    registry_.DeleteKey(root, key);
    shell_.KeyDeleted(root, key);
}

}  // namespace vexlo
