#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "DesktopPlatform.h"

namespace vexlo {

// What decides a picture's placement, read from the settings once per apply:
// a per-item style (shown unscaled on every screen), else the size rules.
struct PlacementRules {
    std::optional<std::string> itemStyle;
    bool stretchLarger = false;
    bool stretchSmaller = false;
    bool tileSmaller = false;
    bool useDeform = false;
    int deform = 15;
    int stretchSize = 75;
    int tileSize = 75;
    std::string fallback = "0";  // "Default Tile Method"
};

// The placement for one screen: the style, and the picture's size once placed
// (scaled so that one side matches the screen's when `scaled`).
struct Placement {
    std::string style;
    bool scaled = false;
    int width = 0;
    int height = 0;
};

// The placement of a `width` x `height` picture on a screen of `screenWidth`
// x `screenHeight` pixels. A screen without a size judges no rule (the
// default style, unscaled).
Placement PlaceOnScreen(const PlacementRules& rules, int width, int height, int screenWidth,
                        int screenHeight);

// The size ShrinkToDesktop gives the picture for that screen: one side
// matched, the aspect kept.
QSize ShrunkSize(int width, int height, int screenWidth, int screenHeight);

struct ScreenPlacement {
    ScreenInfo screen;
    Placement placement;
};

// The placement on each screen with a size, in the given order; screens of
// zero (or negative) width or height are left out.
std::vector<ScreenPlacement> PlaceOnScreens(const PlacementRules& rules, int width, int height,
                                            const std::vector<ScreenInfo>& screens);

// The pixels as the BMP writer stores them: opaque, transparency laid over
// white. An RGB32 picture is returned as it is (shared, not copied).
QImage OpaqueOverWhite(const QImage& picture);

// The picture's pixels as the platform takes them; `picture` must be RGB32.
PixelRows RowsOf(const QImage& picture);

}  // namespace vexlo
