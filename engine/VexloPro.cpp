#include "VexloPro.h"

#include <future>
#include <optional>

#include "PathRules.h"
#include "PictureDecoding.h"
#include "ScreenPictures.h"
#include "SettingsNames.h"
#include "SourcePicture.h"
#include "picture/BmpWriter.h"
#include "profile/ProfileText.h"

namespace vexlo {

VexloPro::VexloPro(SettingsStore& settings, DesktopPlatform& desktop, EngineHost& host,
                   std::string programFolder)
    : settings_(settings),
      desktop_(desktop),
      host_(host),
      programFolder_(IncludeTrailingSeparator(programFolder)) {}

std::string VexloPro::WallpaperBitmap() const {
    return programFolder_ + "wallpaper.bmp";
}

void VexloPro::ApplyWallpaper(const std::string& source, const std::string& target) {
    if (ShowPictures(source, {}, target, true) &&
        settings_.ReadBool(ini::kScreens, ini::kDifferentPictures, false)) {
        // The one picture is now every screen's.
        for (const ScreenInfo& screen : ScreenPictures::Usable(desktop_.GetScreens())) {
            settings_.WriteString(ini::kScreens, ini::kCurrentScreenPrefix + screen.name, source);
        }
    }
}

namespace {

// Another screen's own picture: decoded from a copy of its own, placed by
// its own rules. A picture that cannot be read leaves that screen the
// primary's.
struct OtherPicture {
    std::string name;
    QImage decoded;
    PlacementRules rules;
};

}  // namespace

bool VexloPro::ShowPictures(const std::string& source, const ScreenSources& others,
                            const std::string& target, bool remember) {
    // Declared before the busy cursor so that the clean-up restores the cursor
    // first and then deletes the copy.
    std::optional<SourcePicture> read =
        ahead_ != nullptr ? ahead_->Take(source, programFolder_) : std::nullopt;
    BusyScope busy(host_);
    // "Current Wallpaper" must be able to hold the name, and the registry's
    // "Wallpaper" the target (a program folder with a line break), before the
    // desktop changes: a text the settings files cannot hold is refused.
    ProfileText::CheckValue(ExtractFileName(source));
    ProfileText::CheckValue(target);
    if (!read) {
        read.emplace(ReadSourcePicture(source, programFolder_));
    }
    const TemporaryCopy& copy = read->copy;
    if (!copy.Exists()) {
        // Nothing to show (a missing or unreadable picture, or "None" from
        // the rotation): leave the desktop, registry and settings alone.
        return false;
    }
    const PictureKind kind = read->kind;
    if (kind == PictureKind::Unknown) {
        busy.End();
        host_.ShowMessage("File format is not supported");
        return false;
    }
    if (read->error) {
        std::rethrow_exception(read->error);
    }
    QImage bitmap = std::move(read->bitmap);
    if (bitmap.isNull()) {
        return false;
    }
    // Every screen is placed by the same rules for its own size; the primary's
    // result is wallpaper.bmp, and each screen's reaches the desktop from memory.
    const std::vector<ScreenInfo> screens = desktop_.GetScreens();
    const PlacementRules rules = ReadPlacementRules(source);
    std::vector<OtherPicture> own;
    for (const auto& [name, other] : others) {
        if (other == source) {
            continue;
        }
        const TemporaryCopy otherCopy(other, programFolder_);
        const PictureKind otherKind = PictureKindOf(otherCopy.Path());
        if (otherCopy.Exists() && otherKind != PictureKind::Unknown) {
            QImage decoded = DecodePicture(otherKind, otherCopy.Path());
            if (!decoded.isNull()) {
                own.push_back({name, std::move(decoded), ReadPlacementRules(other)});
            }
        }
    }
    const QImage decoded = screens.size() > 1 ? bitmap : QImage();  // shared, not copied
    const QSize decodedSize = bitmap.size();
    const std::string style = ChoosePlacement(bitmap, rules);
    bitmap = OpaqueOverWhite(bitmap);
    const bool copyAsItIs = kind == PictureKind::Bmp && bitmap.size() == decodedSize &&
                            IsWriterLayout(copy.Path(), decodedSize);
    {
        // The file is written on a thread of its own while the screens'
        // pictures are placed and handed to the desktop; a desktop that takes
        // pixels shows them once the file is complete, one that reads the
        // file waits for it. Only const access to `bitmap` meanwhile.
        // Shared, so that waiting again raises a failed write again: it is
        // reported even by a desktop that was not told or swallowed it.
        const std::shared_future<void> writing = std::async(std::launch::async, [&] {
                                                     if (copyAsItIs) {
                                                         // A 24-bit BMP shown at its own size: its
                                                         // bytes are already the wallpaper file, so
                                                         // the apply's own copy becomes it.
                                                         MoveBmpFile(copy.Path(), target);
                                                     } else {
                                                         SaveBmpFile(bitmap, target);
                                                     }
                                                 }).share();
        const auto written = [&writing] { writing.get(); };
        const auto sourceOf = [&](const ScreenInfo& screen) {
            for (const OtherPicture& o : own) {
                if (o.name == screen.name) {
                    return ScreenSource{&o.decoded, &o.rules};
                }
            }
            return ScreenSource{&decoded, &rules};
        };
        const ScreenPictures pictures(screens, desktop_.GetDesktopSize(), sourceOf, bitmap, style);
        desktop_.SetScreenWallpapersOnceWritten(target, pictures.Wallpapers(), written);
        written();
    }
    bitmap = QImage();
    shown_ = {source, others};
    desktop_.WriteRegistryString(RegistryRoot::CurrentUser, "Control Panel\\Desktop\\", "Wallpaper",
                                 target);
    if (remember) {
        settings_.WriteString(ini::kSettings, ini::kCurrentWallpaper, ExtractFileName(source));
        ScheduleIconRefresh();
    }
    return true;
}

}  // namespace vexlo
