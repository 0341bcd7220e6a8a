// Following the screens: the current picture(s) placed again when a screen
// is plugged in or out, resized or turned.
#include "PathRules.h"
#include "ScreenPictures.h"
#include "SettingsNames.h"
#include "VexloPro.h"

namespace vexlo {

namespace {

// Long enough for the burst of changes one plug gives, short enough to be
// done well within two seconds.
constexpr int kScreenSettleMs = 500;

}  // namespace

void VexloPro::PlaceAgain() {
    std::optional<std::pair<std::string, ScreenSources>> current = shown_;
    if (!current) {
        // Nothing shown by this process yet: what the settings say is shown.
        const SettingsView settings = settings_.View();
        ScreenSources own;
        std::string source;
        if (settings.ReadBool(ini::kScreens, ini::kDifferentPictures, false)) {
            for (const ScreenInfo& screen : ScreenPictures::Usable(desktop_.GetScreens())) {
                const std::string picture =
                    settings.ReadString(ini::kScreens, ini::kCurrentScreenPrefix + screen.name, "");
                if (!picture.empty()) {
                    own[screen.name] = picture;
                    source = screen.primary ? picture : source;
                }
            }
        }
        if (source.empty()) {
            // The rotation's last picture, when it is still the current one.
            const std::string file = settings.ReadString(ini::kWallpaperChanging, ini::kFile, "");
            if (!file.empty() &&
                ExtractFileName(file) ==
                    settings.ReadString(ini::kSettings, ini::kCurrentWallpaper, "")) {
                source = file;
            }
        }
        if (source.empty()) {
            return;
        }
        current.emplace(source, own);
    }
    ShowPictures(current->first, current->second, WallpaperBitmap(), false);
}

void VexloPro::FollowScreenChanges() {
    desktop_.WatchScreens([this] {
        const unsigned change = ++screenChanges_;
        host_.StartOneShotTimer(kScreenSettleMs, [this, change] {
            if (change == screenChanges_) {
                PlaceAgain();
            }
        });
    });
}

}  // namespace vexlo
