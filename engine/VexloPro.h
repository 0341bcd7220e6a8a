#pragma once

#include <QImage>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "DesktopPlatform.h"
#include "EngineHost.h"
#include "ScreenPlacement.h"
#include "SettingsStore.h"

namespace vexlo {

class DecodeAhead;

// Each screen's own picture, by the screen's name.
using ScreenSources = std::map<std::string, std::string>;

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

    // Makes the picture at `source` the wallpaper of every screen, writing
    // `target`.
    void ApplyWallpaper(const std::string& source, const std::string& target);
    // A picture read ahead (an "apply FILE" start) that the apply of that
    // file takes instead of reading it again; it must outlive the engine.
    void UseDecodeAhead(DecodeAhead* ahead) { ahead_ = ahead; }

    // Places the picture(s) shown last again, for the screens as they are
    // now: no rotation step, nothing written to the settings file. Nothing
    // happens when no picture is known to be shown.
    void PlaceAgain();
    // From now on every change of the screens (one plugged in or out,
    // resized, turned) places the current picture(s) again, half a second
    // after the last change of a burst. The main window calls it once.
    void FollowScreenChanges();

    // Decides centre/tile/stretch for the picture and writes it to the desktop
    // values; may scale `bitmap` to the desktop with ShrinkToDesktop. Returns
    // the style written.
    std::string ChoosePlacement(QImage& bitmap, const std::string& source);
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
    // The sequential mode's pick after `folder` and `file`; nothing to choose
    // when there is no enabled folder or the current one has no picture.
    std::optional<RotationChoice> ChooseSequential(const SettingsView& settings,
                                                   const std::string& folder,
                                                   const std::string& file);
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
    // The apply: `source` on the primary screen and on every screen `others`
    // does not name. `remember`: "Current Wallpaper" and the icon refresh.
    // False when nothing was shown.
    bool ShowPictures(const std::string& source, const ScreenSources& others,
                      const std::string& target, bool remember);
    // One change with a picture of its own for each screen.
    void ChangeScreens(std::vector<ScreenInfo> screens, bool random);
    std::optional<RotationChoice> ChooseRandom(std::mt19937& random);

    std::optional<std::string> PlacementOverride(const std::string& source);
    // The per-item style of `source`, else the size rules, from the settings.
    PlacementRules ReadPlacementRules(const std::string& source);
    std::string ChoosePlacement(QImage& bitmap, const PlacementRules& rules);
    void RememberChange(const std::string& folder, const std::string& file);
    void ApplyChosen(const std::string& folder, const std::string& picture);

    SettingsStore& settings_;
    DesktopPlatform& desktop_;
    EngineHost& host_;
    std::string programFolder_;
    DecodeAhead* ahead_ = nullptr;
    std::function<std::uint32_t()> seedSource_;
    // Pictures the rotation could not show and has reported in this run.
    std::set<std::string> reportedPictures_;
    // What this process showed last (the picture, and the other screens' own).
    std::optional<std::pair<std::string, ScreenSources>> shown_;
    unsigned screenChanges_ = 0;
};

// Removes the folder names whose [Use Folders] flag is off (a missing flag is on).
void FilterEnabledFolders(const SettingsView& settings, std::vector<std::string>& names);

}  // namespace vexlo
