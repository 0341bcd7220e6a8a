#include "gnome/GSettingsWallpaper.h"

#include <QUrl>

#include "gnome/GVariantText.h"

namespace vexlo {
namespace {

// The three schemas share these nicks.
const char* OptionsNick(WallpaperPlacement placement) {
    switch (placement) {
        case WallpaperPlacement::Tile:
            return "wallpaper";
        case WallpaperPlacement::Stretch:
            return "stretched";
        case WallpaperPlacement::Centre:
            break;
    }
    return "centered";
}

std::string FileUri(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded().toStdString();
}

}  // namespace

std::vector<GSettingsWrite> GSettingsWrites(GSettingsFlavour flavour,
                                            const WallpaperRequest& request) {
    const std::string options = GVariantString(OptionsNick(request.placement));
    switch (flavour) {
        case GSettingsFlavour::Gnome: {
            const char* schema = "org.gnome.desktop.background";
            const std::string uri = GVariantString(FileUri(request.path));
            return {{schema, "picture-options", options},
                    {schema, "picture-uri", uri},
                    {schema, "picture-uri-dark", uri}};
        }
        case GSettingsFlavour::Cinnamon: {
            const char* schema = "org.cinnamon.desktop.background";
            return {{schema, "picture-options", options},
                    {schema, "picture-uri", GVariantString(FileUri(request.path))}};
        }
        case GSettingsFlavour::Mate:
            break;
    }
    const char* schema = "org.mate.background";
    return {{schema, "picture-options", options},
            {schema, "picture-filename", GVariantString(request.path)}};
}

GSettingsWrite GSettingsPictureKey(GSettingsFlavour flavour, const WallpaperRequest& request) {
    std::vector<GSettingsWrite> writes = GSettingsWrites(flavour, request);
    return writes[1];  // after the placement
}

GSettingsWallpaper::GSettingsWallpaper(GSettingsFlavour flavour, CommandRunner runner)
    : flavour_(flavour), runner_(std::move(runner)) {}

bool GSettingsWallpaper::Set(const WallpaperRequest& request) {
    bool told = false;
    for (const GSettingsWrite& write : GSettingsWrites(flavour_, request)) {
        const bool written =
            runner_.Run("gsettings", {"set", write.schema, write.key, write.value}).Succeeded();
        if (write.key == "picture-uri-dark") {
            continue;  // GNOME before 42 has no dark variant: not a failure
        }
        if (!written) {
            return false;
        }
        told = true;
    }
    const GSettingsWrite picture = GSettingsPictureKey(flavour_, request);
    const CommandResult stored = runner_.Run("gsettings", {"get", picture.schema, picture.key});
    return told && stored.Succeeded() &&
           GVariantUnquote(stored.output) == GVariantUnquote(picture.value);
}

}  // namespace vexlo
