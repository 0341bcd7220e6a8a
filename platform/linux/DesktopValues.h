#pragma once

#include <cstdint>
#include <string>

#include "shared/WallpaperSetter.h"

namespace vexlo {

// The placement the Windows desktop derives from its two values: "TileWallpaper"
// 1 tiles; else "WallPaperStyle" 2 stretches; else the picture is centred. The
// texts are read as Windows reads numbers (leading blanks, then digits).
WallpaperPlacement PlacementFromValues(const std::string& tileWallpaper,
                                       const std::string& wallPaperStyle);

// The desktop colour from "Control Panel\Colors" "Background" ("R G B"),
// as 0xRRGGBB; black when missing or malformed.
std::uint32_t BackgroundFromValue(const std::string& rgb);

}  // namespace vexlo
