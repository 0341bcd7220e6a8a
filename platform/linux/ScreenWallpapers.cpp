// The wallpaper for several screens on a Linux desktop: pixels for the X
// root, a file per screen, or one composed picture, as the desktop takes it.
#include <filesystem>

#include "VexloError.h"
#include "linux/DesktopValues.h"
#include "linux/LinuxPlatform.h"
#include "profile/FileLock.h"
#include "shared/PictureCheck.h"
#include "shared/ScreenRows.h"

namespace vexlo {
namespace {

constexpr const char* kColoursKey = "Control Panel\\Colors";

}  // namespace

bool LinuxPlatform::SetScreenWallpapers(const std::string& path,
                                        const std::vector<ScreenWallpaper>& screens) {
    return SetScreenWallpapersOnceWritten(path, screens, [] {});
}

bool LinuxPlatform::SetScreenWallpapersOnceWritten(const std::string& path,
                                                   const std::vector<ScreenWallpaper>& screens,
                                                   const std::function<void()>& written) {
    if (setter_ == nullptr || setter_->Road() != ScreensRoad::Pixels) {
        // Desktops that read the file read it whole.
        written();
    }
    if (setter_ == nullptr) {
        return false;
    }
    const ScreensRoad road = setter_->Road();
    if (road != ScreensRoad::Pixels && (screens.size() <= 1 || copies_.Folder().empty())) {
        // One screen: the file, exactly as a desktop of one screen is told.
        return SetDesktopWallpaper(path);
    }
    ScreensRequest request;
    try {
        request.background = BackgroundFromValue(
            registry_.ReadString(RegistryRoot::CurrentUser, kColoursKey, "Background", ""));
    } catch (const VexloError&) {
        request.background = 0;  // an unreadable registry holds nothing
    }
    for (const ScreenWallpaper& s : screens) {
        request.screens.push_back({s.screen, s.picture, PlacementFromValues(s.style, s.style), {}});
    }
    if (road == ScreensRoad::Pixels) {
        // The pixels go to the desktop while the file is written; they are
        // shown once it is complete.
        request.beforeShown = written;
        return setter_->SetScreens(request);
    }

    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (ec || !IsWholePicture(absolute)) {
        return false;
    }
    // One apply at a time across processes, as for one screen.
    FileLock lock(copies_.Folder() + "/.lock");
    std::filesystem::create_directories(copies_.Folder(), ec);
    lock.Lock(std::chrono::seconds(30));
    std::vector<std::string> made;
    const auto forget = [&made] {
        std::error_code ignored;
        for (const std::string& file : made) {
            std::filesystem::remove(file, ignored);
        }
    };
    bool told = false;
    try {
        if (road == ScreensRoad::Composed) {
            made.push_back(copies_.NewPath(".bmp"));
            if (made.back().empty() || !ComposeScreens(request, made.back())) {
                forget();
                return false;
            }
            told =
                setter_->Set({made.back(), WallpaperPlacement::Centre, request.background, true});
        } else {
            // The primary's picture is the file just written; the others get
            // files of their own, one per distinct picture.
            const std::uint32_t* primary = nullptr;
            for (const ScreenRequest& s : request.screens) {
                primary = s.screen.primary ? s.pixels.first : primary;
            }
            for (ScreenRequest& s : request.screens) {
                for (const ScreenRequest& earlier : request.screens) {
                    if (&earlier == &s) {
                        break;
                    }
                    if (earlier.pixels.first == s.pixels.first) {
                        s.path = earlier.path;
                    }
                }
                if (!s.path.empty()) {
                    continue;
                }
                const PixelRows pixels = s.pixels;
                s.path =
                    s.pixels.first == primary ? copies_.Make(absolute) : copies_.NewPath(".bmp");
                const bool ready =
                    !s.path.empty() &&
                    (s.pixels.first == primary ||
                     WriteBmpRows(s.path, pixels.width, pixels.height,
                                  [&pixels](int y, std::uint32_t* out) {
                                      std::copy(pixels.Row(y), pixels.Row(y) + pixels.width, out);
                                  }));
                if (!s.path.empty()) {
                    made.push_back(s.path);
                }
                if (!ready) {
                    forget();
                    return false;
                }
            }
            told = setter_->SetScreens(request);
        }
    } catch (const VexloError&) {
        forget();
        throw;
    }
    if (!told) {
        forget();
        return false;
    }
    copies_.KeepOnly(made);
    return true;
}

}  // namespace vexlo
