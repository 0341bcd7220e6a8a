#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "shared/WallpaperSetter.h"

namespace vexlo {

// One screen as the user sees it, row by row: the placed picture centred on
// the background colour, tiled from the screen's top-left corner, or
// stretched to the screen. Only a stretched picture is drawn whole (scaled
// once); centred and tiled rows come straight from the placed picture.
class ScreenRows {
public:
    ScreenRows(const ScreenRequest& screen, std::uint32_t background);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Row `y` of the screen, Width() pixels 0xffRRGGBB.
    void Row(int y, std::uint32_t* out) const;

private:
    PixelRows pixels_;
    WallpaperPlacement placement_;
    std::uint32_t background_;
    int width_;
    int height_;
    QImage stretched_;
};

// The area the screens cover together: their bounding box.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
ScreenArea BoundingBox(const std::vector<ScreenRequest>& screens);

// The most pixels a composed picture may have: the bound the engine puts on
// any picture (2^27, a wall of four 8K screens).
inline constexpr std::int64_t kMaxComposedPixels = std::int64_t{1} << 27;

// Writes a 24-bit bottom-up BMP of `width` x `height` whose row y `row`
// gives, beside `path` and then renamed over it. False when it could not be
// written (nothing is left behind then).
bool WriteBmpRows(const std::string& path, int width, int height,
                  const std::function<void(int y, std::uint32_t* row)>& row);

// Writes every screen's picture, placed as the request says, into one BMP
// over the screens' bounding box, the background colour between them.
// Throws VexloError when that box is larger than kMaxComposedPixels; false
// when the file could not be written.
bool ComposeScreens(const ScreensRequest& request, const std::string& path);

}  // namespace vexlo
