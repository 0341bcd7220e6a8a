#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "DesktopPlatform.h"
#include "Environment.h"
#include "linux/WallpaperCopies.h"
#include "registry/FileRegistry.h"
#include "shared/WallpaperSetter.h"
#include "shortcut/GlobalShortcut.h"
#include "xdg/XdgShellIntegration.h"

namespace vexlo {

// Vexlo on a Linux desktop: the registry in files, the wallpaper through the
// running desktop's own setter (none when no desktop was found), the hot key
// and the screen size through X11 when there is an X server.
//
// The desktop operations (DesktopUtils.cpp) and the registry operations
// (LinuxPlatform.cpp) live in files of their own.
class LinuxPlatform : public DesktopPlatform {
public:
    // `setter` may be null: the desktop is then never told. `context` gives the
    // X display, the folder for the copies handed to the desktop, and whether
    // Qt's screens and event loop are there.
    LinuxPlatform(FileRegistry registry, std::unique_ptr<WallpaperSetter> setter,
                  const PlatformContext& context,
                  std::unique_ptr<GlobalShortcut> shortcut = nullptr);
    ~LinuxPlatform() override;

    const WallpaperSetter* Setter() const { return setter_.get(); }
    const FileRegistry& Registry() const { return registry_; }

    DesktopSize GetDesktopSize() override;
    std::vector<ScreenInfo> GetScreens() override;
    bool SetDesktopWallpaper(const std::string& path) override;
    bool SetScreenWallpapers(const std::string& path,
                             const std::vector<ScreenWallpaper>& screens) override;
    bool SetScreenWallpapersOnceWritten(const std::string& path,
                                        const std::vector<ScreenWallpaper>& screens,
                                        const std::function<void()>& written) override;
    using DesktopPlatform::SetDesktopIconColours;
    void SetDesktopIconColours(ColourRef text, ColourRef background, bool transparent) override;
    bool CanColourIconCaptions() const override;
    bool RegisterGlobalHotKey(NativeMessageSink sink) override;
    void StoreGlobalHotKey(bool on) override;
    std::string GlobalHotKeyNote() override;
    // Qt's screens: added, removed, and each one's geometry and turn.
    bool WatchScreens(std::function<void()> changed) override;

    std::string ReadRegistryString(RegistryRoot root, const std::string& key,
                                   const std::string& name, const std::string& def) override;
    void WriteRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& value) override;
    void DeleteRegistryValue(RegistryRoot root, const std::string& key,
                             const std::string& name) override;
    void DeleteRegistryKey(RegistryRoot root, const std::string& key) override;

private:
    FileRegistry registry_;
    std::unique_ptr<WallpaperSetter> setter_;
    WallpaperCopies copies_;
    std::string display_;
    bool eventLoop_;
    bool qtScreens_;
    std::unique_ptr<GlobalShortcut> shortcut_;
    // The context of the screen watch's connections: gone with the platform.
    std::unique_ptr<QObject> screenWatch_;
    // The log-on entry and the file-manager actions follow the registry values.
    XdgShellIntegration shell_;
};

}  // namespace vexlo
