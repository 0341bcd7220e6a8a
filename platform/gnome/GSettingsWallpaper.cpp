#include "gnome/GSettingsWallpaper.h"

#include <cstring>

#include "gnome/GVariantText.h"
#include "shared/WallpaperSetter.h"

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

// A file: URI of the path's bytes, each byte outside the unreserved set and
// "/" percent-encoded: GIO turns it back into the same bytes, UTF-8 or not.
std::string FileUri(const std::string& path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : path) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || std::strchr("-._~/", ch) != nullptr) {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

}  // namespace

std::vector<GSettingsWrite> GSettingsWrites(GSettingsFlavour flavour,
                                            const WallpaperRequest& request) {
    const std::string options =
        GVariantString(request.spanned ? "spanned" : OptionsNick(request.placement));
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
    // A GVariant string is UTF-8: a name in other bytes cannot be carried.
    RequireUtf8FileName(request.path, "MATE");
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
