#include "VexloPro.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

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
        if (QFileInfo(QString::fromStdString(source)) == QFileInfo(QString::fromStdString(path_))) {
            isSource_ = true;
            return;
        }
        QFile::remove(QString::fromStdString(path_));
        QFile::copy(QString::fromStdString(source), QString::fromStdString(path_));
    }
    ~TemporaryCopy() {
        if (!isSource_) {
            QFile::remove(QString::fromStdString(path_));
        }
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    const std::string& Path() const { return path_; }
    bool Exists() const { return QFileInfo(QString::fromStdString(path_)).isFile(); }

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
