#include "PathRules.h"
#include "ScreenPlacement.h"
#include "VexloPro.h"
#include "picture/Scaler.h"
#include "registrypro.h"

namespace vexlo {

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

PlacementRules VexloPro::ReadPlacementRules(const std::string& source) {
    PlacementRules rules;
    rules.itemStyle = PlacementOverride(source);
    if (rules.itemStyle) {
        return rules;
    }
    rules.stretchLarger = settings_.ReadBool("Larger", "Stretch Wallpaper", false);
    rules.stretchSmaller = settings_.ReadBool("Smaller", "Stretch Wallpaper", false);
    rules.tileSmaller = settings_.ReadBool("Smaller", "Tile Wallpaper", false);
    rules.useDeform = settings_.ReadBool("Deform", "UseDeform", false);
    rules.deform = settings_.ReadInteger("Deform", "Size", 15);
    rules.stretchSize = settings_.ReadInteger("Smaller", "Stretch Size", 75);
    rules.tileSize = settings_.ReadInteger("Smaller", "Tile Size", 75);
    rules.fallback = std::to_string(settings_.ReadInteger("Settings", "Default Tile Method", 0));
    return rules;
}

std::string VexloPro::ChoosePlacement(QImage& bitmap, const std::string& source) {
    return ChoosePlacement(bitmap, ReadPlacementRules(source));
}

std::string VexloPro::ChoosePlacement(QImage& bitmap, const PlacementRules& rules) {
    if (rules.itemStyle) {
        SetWallpaperStyle(*rules.itemStyle);
        return *rules.itemStyle;
    }
    const DesktopSize desktop = desktop_.GetDesktopSize();
    const Placement placement =
        PlaceOnScreen(rules, bitmap.width(), bitmap.height(), desktop.width, desktop.height);
    SetWallpaperStyle(placement.style);
    if (placement.scaled) {
        ShrinkToDesktop(bitmap);
    }
    return placement.style;
}

void VexloPro::ShrinkToDesktop(QImage& bitmap) {
    const int w = bitmap.width();
    const int h = bitmap.height();
    const DesktopSize desktop = desktop_.GetDesktopSize();
    if (w <= 0 || h <= 0 || desktop.width <= 0 || desktop.height <= 0) {
        return;
    }
    const QSize size = ShrunkSize(w, h, desktop.width, desktop.height);
    bitmap = ScaleAreaAverage(bitmap, size.width(), size.height());
}

}  // namespace vexlo
