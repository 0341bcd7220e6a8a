#pragma once

#include <string>
#include <vector>

#include "shared/CommandRunner.h"
#include "shared/WallpaperSetter.h"

namespace vexlo {

// Which desktop's gsettings schema holds the wallpaper.
enum class GSettingsFlavour {
    Gnome,     // also Unity and Budgie: org.gnome.desktop.background, file URIs
    Cinnamon,  // org.cinnamon.desktop.background, a file URI
    Mate,      // org.mate.background, a plain path
};

// One `gsettings set` call.
struct GSettingsWrite {
    std::string schema;
    std::string key;
    std::string value;  // GVariant text, ready for the command line
};

// The key whose value tells which picture the desktop shows.
GSettingsWrite GSettingsPictureKey(GSettingsFlavour flavour, const WallpaperRequest& request);

// The writes that show `request` on a desktop of `flavour`, in order: the
// placement first, so that the new picture is drawn placed as chosen.
std::vector<GSettingsWrite> GSettingsWrites(GSettingsFlavour flavour,
                                            const WallpaperRequest& request);

// The GNOME family through the `gsettings` command (dconf behind it). These
// desktops show one picture for all screens: several screens get one picture
// composed over them all, "spanned". The
// picture key is read back afterwards: gsettings reports success even when
// its settings service could not be reached and nothing was stored.
class GSettingsWallpaper : public WallpaperSetter {
public:
    GSettingsWallpaper(GSettingsFlavour flavour, CommandRunner runner);

    // The desktops compare the new value with the old and ignore an equal one.
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest& request) override;

    GSettingsFlavour Flavour() const { return flavour_; }

private:
    GSettingsFlavour flavour_;
    CommandRunner runner_;
};

}  // namespace vexlo
