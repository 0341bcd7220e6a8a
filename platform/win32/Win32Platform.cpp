#include "Win32Platform.h"

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "WideText.h"
#include "Win32HotKey.h"
#include "Win32Registry.h"

namespace vexlo {
namespace {

// The icon list lives in the shell's process; a hung shell must not hang us.
constexpr UINT kShellTimeoutMs = 2000;

// False when the list did not answer in time (or is gone).
bool SendToShell(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               kShellTimeoutMs, result != nullptr ? result : &ignored) != 0;
}

// The desktop's own icon list: Progman "Program Manager", its SHELLDLL_DefView,
// its SysListView32, the two children with an empty title.
HWND FindDesktopIconList() {
    const HWND progman = FindWindowW(L"Progman", L"Program Manager");
    if (progman == nullptr) {
        return nullptr;
    }
    const HWND view = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", L"");
    if (view == nullptr) {
        return nullptr;
    }
    return FindWindowExW(view, nullptr, L"SysListView32", L"");
}

}  // namespace

Win32Platform::Win32Platform() = default;
Win32Platform::~Win32Platform() = default;

DesktopSize Win32Platform::GetDesktopSize() {
    return DesktopSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) != FALSE) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<ScreenInfo>*>(list)->push_back(
            {WideToUtf8(info.szDevice), r.left, r.top, r.right - r.left, r.bottom - r.top,
             (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

}  // namespace

std::vector<ScreenInfo> Win32Platform::GetScreens() {
    std::vector<ScreenInfo> screens;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&screens));
    if (screens.empty()) {
        const DesktopSize size = GetDesktopSize();
        return {ScreenInfo{.width = size.width, .height = size.height, .primary = true}};
    }
    return screens;
}

bool Win32Platform::SetDesktopWallpaper(const std::string& path) {
    auto widePath = Utf8ToWide(path);
    if (!widePath) {
        return false;
    }
    // Shown at once and announced, but not recorded: the caller writes "Wallpaper".
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, widePath->data(),
                                 SPIF_SENDWININICHANGE) != FALSE;
}

void Win32Platform::SetDesktopIconColours(ColourRef text, ColourRef background, bool transparent) {
    const HWND list = FindDesktopIconList();
    if (list == nullptr) {
        return;
    }
    // Colours pass unconverted, system colours (0x80000000 + index) too.
    const COLORREF textBackground = transparent ? CLR_NONE : background;
    DWORD_PTR count = 0;
    if (!SendToShell(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(textBackground)) ||
        !SendToShell(list, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text)) ||
        !SendToShell(list, LVM_GETITEMCOUNT, 0, 0, &count)) {
        return;
    }
    const int items = static_cast<int>(count);
    if (items > 0 && !SendToShell(list, LVM_REDRAWITEMS, 0, static_cast<LPARAM>(items - 1))) {
        return;
    }
    // Paints synchronously, so only once the list has shown it answers.
    UpdateWindow(list);
}

bool Win32Platform::CanColourIconCaptions() const {
    return true;  // Explorer's desktop is an icon list (FindDesktopIconList)
}

bool Win32Platform::RegisterGlobalHotKey(NativeMessageSink sink) {
    if (!hotKey_) {
        hotKey_ = std::make_unique<win32::HotKeyWindow>();
    }
    return hotKey_->Register(std::move(sink));
}

std::string Win32Platform::ReadRegistryString(RegistryRoot root, const std::string& key,
                                              const std::string& name, const std::string& def) {
    return win32::ReadRegistryString(root, key, name, def);
}

void Win32Platform::WriteRegistryString(RegistryRoot root, const std::string& key,
                                        const std::string& name, const std::string& value) {
    win32::WriteRegistryString(root, key, name, value);
}

void Win32Platform::DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                        const std::string& name) {
    win32::DeleteRegistryValue(root, key, name);
}

void Win32Platform::DeleteRegistryKey(RegistryRoot root, const std::string& key) {
    win32::DeleteRegistryKey(root, key);
}

}  // namespace vexlo
