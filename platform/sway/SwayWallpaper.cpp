#include "sway/SwayWallpaper.h"

#include <cctype>
#include <cstring>

namespace vexlo {
namespace {

const char* Mode(WallpaperPlacement placement) {
    switch (placement) {
        case WallpaperPlacement::Tile:
            return "tile";
        case WallpaperPlacement::Stretch:
            return "stretch";
        case WallpaperPlacement::Centre:
            break;
    }
    return "center";
}

bool IsPlain(unsigned char byte) {
    return byte >= 0x80 || std::isalnum(byte) != 0 || std::strchr("/._-+:@%=", byte) != nullptr;
}

}  // namespace

std::optional<std::string> SwayPathWord(const std::string& path) {
    std::string word;
    for (char ch : path) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7f) {
            return std::nullopt;
        }
        if (ch == '"') {
            // A backslash does not keep sway's command splitter from pairing
            // double quotes; single quotes carry it through to the expansion.
            word += "'\"'";
        } else {
            if (!IsPlain(byte)) {
                word += '\\';
            }
            word += ch;
        }
    }
    return word;
}

SwayWallpaper::SwayWallpaper(CommandRunner runner) : runner_(std::move(runner)) {}

bool SwayWallpaper::Set(const WallpaperRequest& request) {
    RequireUtf8FileName(request.path, "Sway");  // its commands are UTF-8 text
    const std::optional<std::string> word = SwayPathWord(request.path);
    if (!word) {
        return false;
    }
    // swaymsg exits non-zero when sway refuses the command.
    return runner_.Run("swaymsg", {"--", "output", "*", "bg", *word, Mode(request.placement)})
        .Succeeded();
}

bool SwayWallpaper::SetScreens(const ScreensRequest& request) {
    // One message: every output changes together.
    std::vector<std::string> args = {"--"};
    for (const ScreenRequest& screen : request.screens) {
        RequireUtf8FileName(screen.path, "Sway");
        const std::optional<std::string> word = SwayPathWord(screen.path);
        const std::optional<std::string> name = SwayPathWord(screen.screen.name);
        if (!word || !name || screen.screen.name.empty()) {
            return false;
        }
        if (args.size() > 1) {
            args.push_back(";");
        }
        args.insert(args.end(), {"output", *name, "bg", *word, Mode(screen.placement)});
    }
    return args.size() > 1 && runner_.Run("swaymsg", args).Succeeded();
}

}  // namespace vexlo
