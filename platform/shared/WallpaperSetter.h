#pragma once

#include <cstdint>
#include <string>

namespace vexlo {

// How the desktop shows the picture, from the registry's "TileWallpaper" and
// "WallPaperStyle".
enum class WallpaperPlacement { Centre, Tile, Stretch };

struct WallpaperRequest {
    std::string path;  // absolute path of an existing picture file
    WallpaperPlacement placement = WallpaperPlacement::Centre;
    std::uint32_t background = 0x000000;  // 0xRRGGBB, round a centred picture
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

    // Shows the picture; false when the desktop could not be told.
    virtual bool Set(const WallpaperRequest& request) = 0;
};

}  // namespace vexlo
