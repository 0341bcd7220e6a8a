#include "linux/LinuxPlatform.h"

#include "VexloError.h"
#include "x11/X11GrabShortcut.h"

namespace vexlo {

LinuxPlatform::LinuxPlatform(FileRegistry registry, std::unique_ptr<WallpaperSetter> setter,
                             const PlatformContext& context,
                             std::unique_ptr<GlobalShortcut> shortcut)
    : registry_(std::move(registry)),
      setter_(std::move(setter)),
      copies_(WallpaperCopies::DefaultFolder(context.env)),
      display_(EnvValue(context.env, "DISPLAY")),
      eventLoop_(context.eventLoop),
      qtScreens_(context.qtScreens),
      shortcut_(std::move(shortcut)),
      shell_(context.env) {
    if (shortcut_ == nullptr) {
        shortcut_ = std::make_unique<X11GrabShortcut>(display_, context.eventLoop);
    }
}

LinuxPlatform::~LinuxPlatform() = default;

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
