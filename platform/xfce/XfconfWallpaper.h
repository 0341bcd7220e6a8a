#pragma once

#include <string>
#include <vector>

#include "Environment.h"
#include "shared/WallpaperSetter.h"

namespace vexlo {

// The Xfce desktop's "image-style" for a placement (1 centred, 2 tiled,
// 3 stretched).
int XfceImageStyle(WallpaperPlacement placement);

// The workspace folders (/backdrop/screenS/monitorM/workspaceW) that hold any
// property among `properties`; the first monitor's first workspace when none
// does, so that a fresh profile gets one.
std::vector<std::string> BackdropFolders(const std::vector<std::string>& properties);

// Xfce: "last-image" and "image-style" of every monitor and workspace in the
// xfconf channel "xfce4-desktop", through xfconfd on the session bus.
class XfconfWallpaper : public WallpaperSetter {
public:
    explicit XfconfWallpaper(Environment env);

    // xfdesktop reloads only when "last-image" changes.
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest& request) override;

private:
    Environment env_;
};

}  // namespace vexlo
