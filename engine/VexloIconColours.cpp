#include "SettingsNames.h"
#include "VexloPro.h"

namespace vexlo {

void VexloPro::ScheduleIconRefresh() {
    host_.StartOneShotTimer(1000, [this] { RefreshIconColours(); });
}

void VexloPro::RefreshIconColours() {
    const std::string current = settings_.ReadString(ini::kSettings, ini::kCurrentWallpaper, "");
    if (!current.empty() && settings_.SectionExists(current)) {
        const auto text =
            static_cast<ColourRef>(settings_.ReadInteger(current, ini::kIconCaption, 16777215));
        const auto background = static_cast<ColourRef>(settings_.ReadInteger(
            current, ini::kDesktopBackground, static_cast<std::int32_t>(kDesktopBackgroundColour)));
        const bool transparent = settings_.ReadBool(current, ini::kUseTransparentIcons, false);
        desktop_.SetDesktopIconColours(text, background, transparent);
        return;
    }
    if (settings_.ReadBool(ini::kSettings, ini::kTransparentIcons, false)) {
        desktop_.SetDesktopIconColours(static_cast<ColourRef>(
            settings_.ReadInteger(ini::kSettings, ini::kIconTextColour, 32768)));
    }
}

}  // namespace vexlo
