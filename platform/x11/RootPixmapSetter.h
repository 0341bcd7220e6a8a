#pragma once

#include <xcb/xcb.h>

#include <string>

#include "shared/WallpaperSetter.h"

namespace vexlo {

class XcbConnection;

// The bare X11 desktop: each monitor's picture is drawn into its rectangle of
// a pixmap of the root window's size (the background colour elsewhere), which becomes the root
// window's background and is announced through _XROOTPMAP_ID and ESETROOT_PMAP_ID for terminals and
// compositors that show the desktop behind them. The pixmap outlives this process; the one it
// replaces is freed.
class RootPixmapSetter : public WallpaperSetter {
public:
    explicit RootPixmapSetter(std::string display);

    bool CachesByFileName() const override { return false; }
    // The picture placed alike on every RandR monitor.
    bool Set(const WallpaperRequest& request) override;
    ScreensRoad Road() const override { return ScreensRoad::Pixels; }
    bool SetScreens(const ScreensRequest& request) override;

private:
    std::string display_;
};

// The pixmap the root window's background is announced as (_XROOTPMAP_ID);
// XCB_NONE when none is.
xcb_pixmap_t AnnouncedRootPixmap(const XcbConnection& x);

}  // namespace vexlo
