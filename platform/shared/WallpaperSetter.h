#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DesktopPlatform.h"

namespace vexlo {

// How the desktop shows the picture, from the registry's "TileWallpaper" and
// "WallPaperStyle".
enum class WallpaperPlacement { Centre, Tile, Stretch };

struct WallpaperRequest {
    std::string path;  // absolute path of an existing picture file
    WallpaperPlacement placement = WallpaperPlacement::Centre;
    std::uint32_t background = 0x000000;  // 0xRRGGBB, round a centred picture
    // One picture composed over all the screens together, to be laid across
    // them as it is (the placement is then not used).
    bool spanned = false;
};

// One screen's part of a wallpaper for several screens: its placed picture
// (from memory), how it is shown there, and the file that holds the picture
// (for desktops that take files; empty for those that take pixels).
struct ScreenRequest {
    ScreenInfo screen;
    PixelRows pixels;
    WallpaperPlacement placement = WallpaperPlacement::Centre;
    std::string path;
};

struct ScreensRequest {
    std::vector<ScreenRequest> screens;
    std::uint32_t background = 0x000000;  // 0xRRGGBB, round and between the screens
    // Called, when set, by a Pixels road once the pixels are with the desktop
    // and before it shows them; a throw leaves the desktop as it was.
    std::function<void()> beforeShown;
};

// How a desktop takes a wallpaper for several screens.
enum class ScreensRoad {
    Composed,       // one picture for all: one composed image, spanned
    FilePerScreen,  // SetScreens, each screen a file of its own
    Pixels,         // SetScreens with the pixels alone, for one screen too
};

// Tells one kind of desktop to show a picture. One implementation per desktop.
class WallpaperSetter {
public:
    WallpaperSetter() = default;
    virtual ~WallpaperSetter() = default;
    WallpaperSetter(const WallpaperSetter&) = delete;
    WallpaperSetter& operator=(const WallpaperSetter&) = delete;

    // True when the desktop keeps the picture by its file name and would not
    // reload a file it already shows: such a desktop is handed a copy under a
    // name of its own at each apply.
    virtual bool CachesByFileName() const = 0;

    // Shows the picture; false when the desktop could not be told. Throws
    // VexloError (RequireUtf8FileName) for a path the desktop cannot take at all.
    virtual bool Set(const WallpaperRequest& request) = 0;

    virtual ScreensRoad Road() const { return ScreensRoad::Composed; }

    // Shows each screen its own picture (FilePerScreen and Pixels roads);
    // false when the desktop could not be told.
    virtual bool SetScreens(const ScreensRequest& request) {
        (void)request;
        return false;
    }
};

// For desktops that take file names as UTF-8 text only: throws VexloError
// "<desktop> takes file names in UTF-8 only: cannot show <path>" for a path
// in other bytes, instead of handing the desktop another name.
void RequireUtf8FileName(const std::string& path, const std::string& desktop);

}  // namespace vexlo
