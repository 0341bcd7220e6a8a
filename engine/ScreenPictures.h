#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "DesktopPlatform.h"
#include "ScreenPlacement.h"

namespace vexlo {

// The picture a screen shows, as decoded, and the rules that place it.
struct ScreenSource {
    const QImage* decoded = nullptr;
    const PlacementRules* rules = nullptr;
};

// The pictures of one apply, one per screen, ready for
// DesktopPlatform::SetScreenWallpapers: the primary screen's is the bitmap
// that wallpaper.bmp holds, each other screen's is placed from its decoded
// picture for its own size. Screens that come to the same placement of the
// same picture share one bitmap; a screen placed unscaled shares the decoded
// picture's pixels.
class ScreenPictures {
public:
    // `primary` is the primary screen's placed, opaque bitmap and
    // `primaryStyle` its style; `sourceOf` gives every other screen's
    // picture. Screens without a size are left out; with one screen or none
    // left (or none of them primary) the primary's bitmap stands alone, on
    // that screen or at the desktop's size.
    ScreenPictures(const std::vector<ScreenInfo>& screens, DesktopSize desktop,
                   const std::function<ScreenSource(const ScreenInfo&)>& sourceOf,
                   const QImage& primary, const std::string& primaryStyle);

    const std::vector<ScreenWallpaper>& Wallpapers() const { return wallpapers_; }

    // The screens with a size, in the given order.
    static std::vector<ScreenInfo> Usable(const std::vector<ScreenInfo>& screens);

private:
    const QImage& Placed(const QImage& decoded, const Placement& placement);

    struct Made {
        const QImage* from;
        QSize size;
        bool scaled;
        QImage image;
    };
    std::vector<Made> made_;
    std::vector<ScreenWallpaper> wallpapers_;
};

}  // namespace vexlo
