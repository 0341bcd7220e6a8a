#include "gnome/GSettingsWallpaper.h"

#include <QUrl>
#include <cstdio>

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

std::string GVariantString(const std::string& text) {
    std::string quoted = "'";
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '\\' || ch == '\'') {
            quoted += '\\';
            quoted += ch;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += ch;
        }
    }
    return quoted + "'";
}

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
    return told;
}

}  // namespace vexlo
