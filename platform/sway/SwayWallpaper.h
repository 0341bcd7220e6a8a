#pragma once

#include <optional>
#include <string>

#include "shared/CommandRunner.h"
#include "shared/WallpaperSetter.h"

namespace vexlo {

// A path as one word of a sway command. sway splits its commands at blanks,
// commas and semicolons and then expands the file name as a shell word, so
// every character that either step treats specially is escaped. No
// value for a path with control characters, which no escape carries through.
std::optional<std::string> SwayPathWord(const std::string& path);

// sway: `swaymsg output * bg PATH center|tile|stretch`, which restarts the
// background on every output. The sway instance is found from the
// environment's SWAYSOCK.
class SwayWallpaper : public WallpaperSetter {
public:
    explicit SwayWallpaper(CommandRunner runner);

    // sway keeps an unchanged output configuration as it is.
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest& request) override;
    // `output NAME bg PATH MODE` for each output, named as sway names it.
    ScreensRoad Road() const override { return ScreensRoad::FilePerScreen; }
    bool SetScreens(const ScreensRequest& request) override;

private:
    CommandRunner runner_;
};

}  // namespace vexlo
