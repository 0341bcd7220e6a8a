#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>

#include "shared/WallpaperSetter.h"

namespace vexlo {

// The whole desktop picture as the user will see it: `picture` centred on the
// `background` colour (0xRRGGBB), tiled from the top-left corner, or stretched
// to `screen`. Returns an RGB32 image of the screen's size; null when either
// size is empty.
QImage RenderWallpaper(const QImage& picture, QSize screen, WallpaperPlacement placement,
                       std::uint32_t background);

}  // namespace vexlo
