#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "DesktopPlatform.h"
#include "ScreenPlacement.h"

namespace vexlo {

// The pictures of one apply, one per screen, ready for
// DesktopPlatform::SetScreenWallpapers: the primary screen's is the bitmap
// that wallpaper.bmp holds, each other screen's is placed from the decoded
// picture for its own size. Screens that come to the same placement share one
// bitmap; a screen placed unscaled shares the decoded picture's pixels.
class ScreenPictures {
public:
    // `decoded` is the picture as decoded (null when there is one screen
    // only: everything then comes from `primary`); `primary` the primary
    // screen's placed, opaque bitmap and `primaryStyle` its style. Screens
    // without a size are left out; with none left, the primary stands alone
    // at the desktop's size.
    ScreenPictures(const std::vector<ScreenInfo>& screens, DesktopSize desktop,
                   const PlacementRules& rules, const QImage& decoded, const QImage& primary,
                   const std::string& primaryStyle);

    const std::vector<ScreenWallpaper>& Wallpapers() const { return wallpapers_; }

private:
    const QImage& Placed(const QImage& decoded, const Placement& placement);

    struct Made {
        QSize size;
        bool scaled;
        QImage image;
    };
    std::vector<Made> made_;
    std::vector<ScreenWallpaper> wallpapers_;
};

}  // namespace vexlo
