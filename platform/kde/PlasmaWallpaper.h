#pragma once

#include <string>

#include "Environment.h"
#include "shared/WallpaperSetter.h"

namespace vexlo {

// The Plasma desktop script that shows `request` on every desktop with the
// image wallpaper plugin. Plain ECMAScript 5, as Plasma 5 and 6 both run it.
std::string PlasmaScript(const WallpaperRequest& request);

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

private:
    Environment env_;
};

}  // namespace vexlo
