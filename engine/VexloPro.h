#pragma once

#include <QImage>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "DesktopPlatform.h"
#include "EngineHost.h"
#include "SettingsStore.h"

namespace vexlo {

// A folder (its [Folders] key name) and one picture in it.
struct RotationChoice {
    std::string folder;
    std::string picture;
};

// The wallpaper engine: applying one picture, and (VexloRotation.cpp) choosing
// the next one. Holds references only; the settings store, the platform and
// the host outlive it and every icon refresh it schedules.
class VexloPro {
public:
    VexloPro(SettingsStore& settings, DesktopPlatform& desktop, EngineHost& host,
             std::string programFolder);

    // The program folder, with a trailing separator.
    const std::string& ProgramFolder() const { return programFolder_; }
    // Program folder + "wallpaper.bmp": the target of every apply.
    std::string WallpaperBitmap() const;

    // Makes the picture at `source` the wallpaper, writing `target`.
    void ApplyWallpaper(const std::string& source, const std::string& target);

    // Decides centre/tile/stretch for the picture and writes it to the desktop
    // values; may scale `bitmap` to the desktop with ShrinkToDesktop.
    void ChoosePlacement(QImage& bitmap, const std::string& source);
    // "WallPaperStyle" and then "TileWallpaper" = style.
    void SetWallpaperStyle(const std::string& style);
    // Scales the bitmap, aspect kept, so that one side matches the desktop's.
    void ShrinkToDesktop(QImage& bitmap);

    // Runs RefreshIconColours once, one second from now.
    void ScheduleIconRefresh();
    // Applies the icon colours of the current wallpaper's own section, else the
    // global ones when "Transparent Icons" is on, else nothing.
    void RefreshIconColours();

    // Rotation: one change from the enabled folders, random or sequential.
    void ChangeWallpaper();
    // The random mode's pick of folder and picture, or nothing to choose.
    std::optional<RotationChoice> ChooseRandom();
    void ChangeRandom();
    void ChangeSequential();

    // What the command line asks of the start: show the main window, keep only
    // the tray icon, or end at once.
    static constexpr int kShowWindow = 0;
    static constexpr int kTrayOnly = 1;
    static constexpr int kEndProgram = 2;
    // Carries out the command line (the arguments after the program's name):
    // the first argument picks the command without regard to case ("/debug"
    // exactly), the second is its operand, the rest is ignored (the commands
    // are in VexloCommandLine.cpp). Errors of the work propagate, except that
    // a failed "change" goes to `reportAndGoOn`, when given, and the program
    // stays in the tray.
    using ErrorReport = std::function<void(const std::exception&)>;
    int HandleCommandLine(const std::vector<std::string>& arguments,
                          const ErrorReport& reportAndGoOn = nullptr);

    // Replaces the clock as the seed of the random picks (tests).
    void SetSeedSource(std::function<std::uint32_t()> source);

private:
    std::optional<std::string> PlacementOverride(const std::string& source);
    std::string SizeRulePlacement(const QImage& bitmap, bool& shrink);
    void RememberChange(const std::string& folder, const std::string& file);
    void ApplyChosen(const std::string& folder, const std::string& picture);

    SettingsStore& settings_;
    DesktopPlatform& desktop_;
    EngineHost& host_;
    std::string programFolder_;
    std::function<std::uint32_t()> seedSource_;
    // Pictures the rotation could not show and has reported in this run.
    std::set<std::string> reportedPictures_;
};

// Removes the folder names whose [Use Folders] flag is off (a missing flag is on).
void FilterEnabledFolders(const SettingsView& settings, std::vector<std::string>& names);

}  // namespace vexlo
