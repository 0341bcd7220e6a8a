#include "VexloPro.h"

namespace vexlo {

void VexloPro::ScheduleIconRefresh() {
    host_.StartOneShotTimer(1000, [this] { RefreshIconColours(); });
}

void VexloPro::RefreshIconColours() {
    const std::string current = settings_.ReadString("Settings", "Current Wallpaper", "");
    if (!current.empty() && settings_.SectionExists(current)) {
        const auto text =
            static_cast<ColourRef>(settings_.ReadInteger(current, "Icon Caption", 16777215));
        const auto background = static_cast<ColourRef>(settings_.ReadInteger(
            current, "Desktop Background", static_cast<std::int32_t>(kDesktopBackgroundColour)));
        const bool transparent = settings_.ReadBool(current, "Use Transparent Icons", false);
        desktop_.SetDesktopIconColours(text, background, transparent);
        return;
    }
    if (settings_.ReadBool("Settings", "Transparent Icons", false)) {
        desktop_.SetDesktopIconColours(
            static_cast<ColourRef>(settings_.ReadInteger("Settings", "Icon Text Colour", 32768)));
    }
}

}  // namespace vexlo
