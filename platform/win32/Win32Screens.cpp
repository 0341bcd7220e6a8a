// The wallpaper for several monitors: IDesktopWallpaper (Windows 8 and
// later) takes one file per monitor; without it the primary's picture is
// shown as on one monitor.
// clang-format off
#include <windows.h>
#include <shobjidl.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

#include "WideText.h"
#include "Win32Platform.h"

namespace vexlo {
namespace {

void PutLe(unsigned char* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// The placed picture as a 24-bit bottom-up BMP, written beside `path` and
// renamed over it.
bool WriteBmp(const std::wstring& path, const PixelRows& pixels) {
    const std::size_t stride = (static_cast<std::size_t>(pixels.width) * 3 + 3) / 4 * 4;
    const std::uint64_t bytes = stride * static_cast<std::uint64_t>(pixels.height);
    if (pixels.Empty() || bytes + 54 > 0xffffffffu) {
        return false;
    }
    unsigned char header[54] = {'B', 'M'};
    PutLe(header + 2, static_cast<std::uint32_t>(bytes + 54), 4);
    PutLe(header + 10, 54, 4);
    PutLe(header + 14, 40, 4);
    PutLe(header + 18, static_cast<std::uint32_t>(pixels.width), 4);
    PutLe(header + 22, static_cast<std::uint32_t>(pixels.height), 4);
    PutLe(header + 26, 1, 2);
    PutLe(header + 28, 24, 2);
    PutLe(header + 34, static_cast<std::uint32_t>(bytes), 4);
    const std::wstring temporary = path + L".part";
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD done = 0;
    bool written = WriteFile(file, header, sizeof header, &done, nullptr) && done == sizeof header;
    std::vector<unsigned char> row(stride, 0);
    for (std::int32_t y = pixels.height - 1; written && y >= 0; --y) {
        const std::uint32_t* in = pixels.Row(y);
        for (std::int32_t x = 0; x < pixels.width; ++x) {
            row[x * 3] = static_cast<unsigned char>(in[x]);
            row[x * 3 + 1] = static_cast<unsigned char>(in[x] >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(in[x] >> 16);
        }
        written = WriteFile(file, row.data(), static_cast<DWORD>(stride), &done, nullptr) &&
                  done == stride;
    }
    written = FlushFileBuffers(file) && written;
    CloseHandle(file);
    if (!written || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

DESKTOP_WALLPAPER_POSITION Position(const std::string& style) {
    // As the desktop reads its two values: 1 tiles, else 2 stretches.
    const int value = std::atoi(style.c_str());
    return value == 1 ? DWPOS_TILE : value == 2 ? DWPOS_STRETCH : DWPOS_CENTER;
}

template <typename T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p != nullptr) {
            p->Release();
        }
    }
};

}  // namespace

bool Win32Platform::SetScreenWallpapers(const std::string& path,
                                        const std::vector<ScreenWallpaper>& screens) {
    if (screens.size() <= 1) {
        return SetDesktopWallpaper(path);
    }
    const auto widePath = Utf8ToWide(path);
    if (!widePath) {
        return false;
    }
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool told = false;
    {
        Released<IDesktopWallpaper> wallpaper;
        if (SUCCEEDED(CoCreateInstance(__uuidof(DesktopWallpaper), nullptr, CLSCTX_ALL,
                                       IID_PPV_ARGS(&wallpaper.p)))) {
            told = SetPerMonitor(*wallpaper.p, *widePath, screens);
        }
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    // Without the per-monitor interface the primary's picture is shown as on
    // one monitor.
    return told || SetDesktopWallpaper(path);
}

bool Win32Platform::SetPerMonitor(IDesktopWallpaper& wallpaper, const std::wstring& path,
                                  const std::vector<ScreenWallpaper>& screens) {
    UINT count = 0;
    if (FAILED(wallpaper.GetMonitorDevicePathCount(&count)) || count == 0) {
        return false;
    }
    const ScreenWallpaper* primary = &screens.front();
    for (const ScreenWallpaper& s : screens) {
        primary = s.screen.primary ? &s : primary;
    }
    // Each distinct picture other than the primary's gets a file beside it.
    const std::wstring stem = path.substr(0, path.size() - (path.size() >= 4 ? 4 : 0));
    std::vector<std::pair<const std::uint32_t*, std::wstring>> files = {
        {primary->picture.first, path}};
    bool all = true;
    wallpaper.SetPosition(Position(primary->style));  // one position for all monitors
    for (UINT i = 0; i < count; ++i) {
        LPWSTR id = nullptr;
        RECT area{};
        if (FAILED(wallpaper.GetMonitorDevicePathAt(i, &id)) || id == nullptr) {
            continue;
        }
        if (SUCCEEDED(wallpaper.GetMonitorRECT(id, &area))) {
            const ScreenWallpaper* shown = primary;
            for (const ScreenWallpaper& s : screens) {
                if (s.screen.x == area.left && s.screen.y == area.top) {
                    shown = &s;
                }
            }
            std::wstring file;
            for (const auto& [pixels, name] : files) {
                file = pixels == shown->picture.first ? name : file;
            }
            if (file.empty()) {
                file = stem + L"-" + std::to_wstring(files.size()) + L".bmp";
                if (!WriteBmp(file, shown->picture)) {
                    all = false;
                    file = path;
                } else {
                    files.emplace_back(shown->picture.first, file);
                }
            }
            all = SUCCEEDED(wallpaper.SetWallpaper(id, file.c_str())) && all;
        }
        CoTaskMemFree(id);
    }
    return all;
}

}  // namespace vexlo
