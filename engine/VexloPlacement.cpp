#include <cfenv>
#include <cmath>

#include "Deformation.h"
#include "PathRules.h"
#include "VexloPro.h"
#include "picture/Scaler.h"
#include "registrypro.h"

namespace vexlo {

namespace {

// Nearest integer, a half going to the even neighbour (1024.5 -> 1024).
int RoundHalfEven(double value) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return static_cast<int>(rounded);
}

int PercentOf(int size, int percent) {
    return RoundHalfEven(size * (percent / 100.0));
}

}  // namespace

void VexloPro::SetWallpaperStyle(const std::string& style) {
    WriteUserRegistryString(desktop_, "\\Control Panel\\", "desktop", "WallPaperStyle", style);
    WriteUserRegistryString(desktop_, "\\Control Panel\\", "desktop", "TileWallpaper", style);
}

// The per-item override walk: the first component whose section says
// "Use Specific Apply" switches overrides on for itself and everything below;
// the deepest "Apply Method" from there on wins.
std::optional<std::string> VexloPro::PlacementOverride(const std::string& source) {
    bool overrides = false;
    std::string style(1, '0');
    for (const std::string& component : PathComponents(source)) {
        if (!overrides) {
            overrides = settings_.ReadBool(component, "Use Specific Apply", false);
        }
        if (overrides) {
            style = settings_.ReadString(component, "Apply Method", style);
        }
    }
    if (!overrides) {
        return std::nullopt;
    }
    return style;
}

std::string VexloPro::SizeRulePlacement(const QImage& bitmap, bool& shrink) {
    shrink = false;
    const bool stretchLarger = settings_.ReadBool("Larger", "Stretch Wallpaper", false);
    const bool stretchSmaller = settings_.ReadBool("Smaller", "Stretch Wallpaper", false);
    const bool tileSmaller = settings_.ReadBool("Smaller", "Tile Wallpaper", false);
    const bool useDeform = settings_.ReadBool("Deform", "UseDeform", false);
    const int deform = settings_.ReadInteger("Deform", "Size", 15);
    const int stretchSize = settings_.ReadInteger("Smaller", "Stretch Size", 75);
    const int tileSize = settings_.ReadInteger("Smaller", "Tile Size", 75);
    const std::string fallback =
        std::to_string(settings_.ReadInteger("Settings", "Default Tile Method", 0));

    const int w = bitmap.width();
    const int h = bitmap.height();
    const DesktopSize desktop = desktop_.GetDesktopSize();
    const int sw = desktop.width;
    const int sh = desktop.height;
    if (sw <= 0 || sh <= 0) {
        // No desktop size to compare with: no rule can be judged.
        return fallback;
    }

    const bool larger = w > sw || h > sh;
    const bool stretchAllowed = !useDeform || WithinDeformationLimit(w, h, sw, sh, deform);
    const int stretchWidth = PercentOf(sw, stretchSize);
    const int stretchHeight = PercentOf(sh, stretchSize);
    const int tileWidth = PercentOf(sw, tileSize);
    const int tileHeight = PercentOf(sh, tileSize);

    const bool row1 = larger && stretchLarger;
    const bool row2 = !larger && w > stretchWidth && h > stretchHeight && stretchSmaller;
    if (row1 || row2) {
        shrink = !stretchAllowed;
        return stretchAllowed ? "2" : "0";
    }
    if (!larger && w < tileWidth && h < tileHeight && tileSmaller) {
        return "1";
    }
    return fallback;
}

void VexloPro::ChoosePlacement(QImage& bitmap, const std::string& source) {
    if (const auto style = PlacementOverride(source)) {
        SetWallpaperStyle(*style);
        return;
    }
    bool shrink = false;
    const std::string style = SizeRulePlacement(bitmap, shrink);
    SetWallpaperStyle(style);
    if (shrink) {
        ShrinkToDesktop(bitmap);
    }
}

void VexloPro::ShrinkToDesktop(QImage& bitmap) {
    const int w = bitmap.width();
    const int h = bitmap.height();
    const DesktopSize desktop = desktop_.GetDesktopSize();
    if (w <= 0 || h <= 0 || desktop.width <= 0 || desktop.height <= 0) {
        return;
    }
    double f;
    if (w > desktop.width && h < w) {
        f = static_cast<double>(desktop.width) / w;
    } else if (h > desktop.height || h > w) {
        f = static_cast<double>(desktop.height) / h;
    } else {
        f = static_cast<double>(desktop.width) / w;
    }
    const int newWidth = std::max(1, RoundHalfEven(w * f));
    const int newHeight = std::max(1, RoundHalfEven(h * f));
    bitmap = ScaleAreaAverage(bitmap, newWidth, newHeight);
}

}  // namespace vexlo
