#include "VexloPro.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "PathRules.h"
#include "PictureDecoding.h"
#include "picture/BmpWriter.h"

namespace vexlo {

namespace {

// Deletes the temporary copy when the apply ends, however it ends. A copy that
// is the source itself (a picture picked from the program folder under that
// very name) is never deleted.
class TemporaryCopy {
public:
    TemporaryCopy(const std::string& source, std::string path) : path_(std::move(path)) {
        std::error_code ignored;
        if (std::filesystem::equivalent(source, path_, ignored)) {
            isSource_ = true;
            return;
        }
        // Never decode a copy left by an earlier run: a copy that fails leaves
        // no file, and the apply then ends quietly. copy_file copies inside the
        // kernel; QFile::copy goes through a synced file of its own, twice the
        // cost for a large picture.
        std::filesystem::remove(path_, ignored);
        std::filesystem::copy_file(source, path_, ignored);
    }
    ~TemporaryCopy() {
        if (!isSource_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    const std::string& Path() const { return path_; }
    bool Exists() const {
        std::error_code ignored;
        return std::filesystem::is_regular_file(path_, ignored);
    }

private:
    std::string path_;
    bool isSource_ = false;
};

}  // namespace

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
    // Declared before the busy cursor so that the clean-up restores the cursor
    // first and then deletes the copy.
    std::optional<TemporaryCopy> copy;
    BusyScope busy(host_);
    copy.emplace(source, programFolder_ + "tmp" + ExtractFileExt(source));
    if (!copy->Exists()) {
        // Nothing to show (a missing or unreadable picture, or "None" from
        // the rotation): leave the desktop, registry and settings alone.
        return;
    }
    const PictureKind kind = PictureKindOf(copy->Path());
    if (kind == PictureKind::Unknown) {
        busy.End();
        host_.ShowMessage("File format is not supported");
        return;
    }
    QImage bitmap = DecodePicture(kind, copy->Path());
    if (bitmap.isNull()) {
        return;
    }
    ChoosePlacement(bitmap, source);
    SaveBmpFile(bitmap, target);
    bitmap = QImage();
    desktop_.SetDesktopWallpaper(target);
    desktop_.WriteRegistryString(RegistryRoot::CurrentUser, "Control Panel\\Desktop\\", "Wallpaper",
                                 target);
    settings_.WriteString("Settings", "Current Wallpaper", ExtractFileName(source));
    ScheduleIconRefresh();
}

}  // namespace vexlo
