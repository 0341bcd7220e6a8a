#include "linux/DesktopValues.h"

#include <charconv>
#include <sstream>

namespace vexlo {
namespace {

// Leading blanks, an optional sign, then digits; anything else counts as 0.
long LeadingNumber(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) {
        return 0;
    }
    if (text[start] == '+') {
        ++start;
    }
    long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    (void)ptr;
    return ec == std::errc() ? value : 0;
}

}  // namespace

WallpaperPlacement PlacementFromValues(const std::string& tileWallpaper,
                                       const std::string& wallPaperStyle) {
    if (LeadingNumber(tileWallpaper) == 1) {
        return WallpaperPlacement::Tile;
    }
    if (LeadingNumber(wallPaperStyle) == 2) {
        return WallpaperPlacement::Stretch;
    }
    return WallpaperPlacement::Centre;
}

std::uint32_t BackgroundFromValue(const std::string& rgb) {
    std::istringstream in(rgb);
    int r = -1;
    int g = -1;
    int b = -1;
    std::string rest;
    if (!(in >> r >> g >> b) || (in >> rest)) {
        return 0;
    }
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) {
        return 0;
    }
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

}  // namespace vexlo
