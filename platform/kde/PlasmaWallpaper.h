#pragma once

#include <string>

#include "Environment.h"
#include "shared/WallpaperSetter.h"

namespace vexlo {

// The Plasma desktop script that shows `request` on every desktop with the
// image wallpaper plugin. Plain ECMAScript 5, as Plasma 5 and 6 both run it.
std::string PlasmaScript(const WallpaperRequest& request);

// The script that shows each screen's desktop its own picture: the desktop
// whose screen lies at a screen's position takes that screen's picture.
std::string PlasmaScreensScript(const ScreensRequest& request);

// A text as an ECMAScript string literal, safe for any file name.
std::string ScriptString(const std::string& text);

// KDE Plasma 5 and 6: the script is handed to plasmashell's evaluateScript
// on the session bus of the environment.
class PlasmaWallpaper : public WallpaperSetter {
public:
    explicit PlasmaWallpaper(Environment env);

    // Plasma ignores an Image value equal to the one it shows.
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest& request) override;
    ScreensRoad Road() const override { return ScreensRoad::FilePerScreen; }
    bool SetScreens(const ScreensRequest& request) override;

private:
    bool Evaluate(const std::string& script);

    Environment env_;
};

}  // namespace vexlo
