#pragma once

#include <memory>
#include <string>

struct IDesktopWallpaper;

#include "DesktopPlatform.h"

namespace vexlo {

namespace win32 {
class HotKeyWindow;
}

// The desktop operations on the Windows API itself. Text crosses to Windows
// as UTF-16 through the W calls, so paths and names outside the ANSI code page
// keep every character; the registry and the file system store UTF-16 anyway.
class Win32Platform final : public DesktopPlatform {
public:
    Win32Platform();
    ~Win32Platform() override;

    DesktopSize GetDesktopSize() override;
    std::vector<ScreenInfo> GetScreens() override;
    bool SetDesktopWallpaper(const std::string& path) override;
    // Each monitor its own picture through IDesktopWallpaper (Windows 8 and
    // later; one placement for all monitors there), the files of the other
    // monitors' pictures written beside `path` ("wallpaper-1.bmp", ...).
    bool SetScreenWallpapers(const std::string& path,
                             const std::vector<ScreenWallpaper>& screens) override;
    using DesktopPlatform::SetDesktopIconColours;
    void SetDesktopIconColours(ColourRef text, ColourRef background, bool transparent) override;
    bool CanColourIconCaptions() const override;
    bool RegisterGlobalHotKey(NativeMessageSink sink) override;

    std::string ReadRegistryString(RegistryRoot root, const std::string& key,
                                   const std::string& name, const std::string& def) override;
    void WriteRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& value) override;
    void DeleteRegistryValue(RegistryRoot root, const std::string& key,
                             const std::string& name) override;
    void DeleteRegistryKey(RegistryRoot root, const std::string& key) override;

private:
    bool SetPerMonitor(IDesktopWallpaper& wallpaper, const std::wstring& path,
                       const std::vector<ScreenWallpaper>& screens);

    std::unique_ptr<win32::HotKeyWindow> hotKey_;
};

}  // namespace vexlo
