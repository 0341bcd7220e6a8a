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

// The workspace folders of the monitor `monitor` (its output's name) among
// `properties`; its first workspace when it has none yet.
std::vector<std::string> MonitorFolders(const std::vector<std::string>& properties,
                                        const std::string& monitor);

// Xfce: "last-image" and "image-style" of every monitor and workspace in the
// xfconf channel "xfce4-desktop", through xfconfd on the session bus.
class XfconfWallpaper : public WallpaperSetter {
public:
    explicit XfconfWallpaper(Environment env);

    // xfdesktop reloads only when "last-image" changes.
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest& request) override;
    // Each monitor's own folders (/backdrop/screen0/monitor<output>/...).
    ScreensRoad Road() const override { return ScreensRoad::FilePerScreen; }
    bool SetScreens(const ScreensRequest& request) override;

private:
    Environment env_;
};

}  // namespace vexlo
