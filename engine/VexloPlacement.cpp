#include "PathRules.h"
#include "ScreenPlacement.h"
#include "SettingsNames.h"
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
            overrides = settings_.ReadBool(component, ini::kUseSpecificApply, false);
        }
        if (overrides) {
            style = settings_.ReadString(component, ini::kApplyMethod, style);
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
    rules.stretchLarger = settings_.ReadBool(ini::kLarger, ini::kStretchWallpaper, false);
    rules.stretchSmaller = settings_.ReadBool(ini::kSmaller, ini::kStretchWallpaper, false);
    rules.tileSmaller = settings_.ReadBool(ini::kSmaller, ini::kTileWallpaper, false);
    rules.useDeform = settings_.ReadBool(ini::kDeform, ini::kUseDeform, false);
    rules.deform = settings_.ReadInteger(ini::kDeform, ini::kDeformSize, 15);
    rules.stretchSize = settings_.ReadInteger(ini::kSmaller, ini::kStretchSize, 75);
    rules.tileSize = settings_.ReadInteger(ini::kSmaller, ini::kTileSize, 75);
    rules.fallback =
        std::to_string(settings_.ReadInteger(ini::kSettings, ini::kDefaultTileMethod, 0));
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
