#include <QDateTime>
#include <QString>
#include <algorithm>
#include <random>

#include "PathRules.h"
#include "PictureCollector.h"
#include "PictureDecoding.h"
#include "ScreenPictures.h"
#include "SettingsNames.h"
#include "VexloPro.h"

namespace vexlo {

namespace {

// The rotation's picks: seeded afresh at every change from the time of day in
// milliseconds, unless a test put its own seed source in place.
std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay());
}

std::size_t PickUniform(std::mt19937& random, std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
}

}  // namespace

void FilterEnabledFolders(const SettingsView& settings, std::vector<std::string>& names) {
    std::erase_if(names, [&](const std::string& name) {
        return !settings.ReadBool(ini::kUseFolders, name, true);
    });
}

void VexloPro::SetSeedSource(std::function<std::uint32_t()> source) {
    seedSource_ = std::move(source);
}

void VexloPro::ChangeWallpaper() {
    const bool random = settings_.ReadBool(ini::kStartup, ini::kRandom, true);
    if (settings_.ReadBool(ini::kScreens, ini::kDifferentPictures, false)) {
        const std::vector<ScreenInfo> screens = ScreenPictures::Usable(desktop_.GetScreens());
        if (screens.size() > 1) {
            ChangeScreens(screens, random);
            return;
        }
    }
    if (random) {
        ChangeRandom();
    } else {
        ChangeSequential();
    }
}

void VexloPro::ChangeScreens(std::vector<ScreenInfo> screens, bool random) {
    // Consecutive pictures go left to right, then top to bottom.
    std::stable_sort(screens.begin(), screens.end(), [](const ScreenInfo& a, const ScreenInfo& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    std::vector<RotationChoice> picks;
    if (random) {
        // One generator for all the picks: each screen's is drawn on its own.
        std::mt19937 generator(seedSource_ ? seedSource_() : ClockSeed());
        for (std::size_t i = 0; i < screens.size(); ++i) {
            const std::optional<RotationChoice> choice = ChooseRandom(generator);
            if (!choice) {
                return;
            }
            picks.push_back(*choice);
        }
    } else {
        const SettingsView settings = settings_.View();
        RotationChoice last{settings.ReadString(ini::kWallpaperChanging, ini::kFolder, ""),
                            settings.ReadString(ini::kWallpaperChanging, ini::kFile, "")};
        for (std::size_t i = 0; i < screens.size(); ++i) {
            const std::optional<RotationChoice> choice =
                ChooseSequential(settings, last.folder, last.picture);
            if (!choice) {
                return;
            }
            last = *choice;
            picks.push_back(last);
        }
    }
    ScreenSources own;
    std::string primary = picks.front().picture;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        own[screens[i].name] = picks[i].picture;
        primary = screens[i].primary ? picks[i].picture : primary;
    }
    ShowPictures(primary, own, WallpaperBitmap(), true);
    RememberChange(picks.back().folder, picks.back().picture);
    for (std::size_t i = 0; i < screens.size(); ++i) {
        settings_.WriteString(ini::kScreens, ini::kCurrentScreenPrefix + screens[i].name,
                              picks[i].picture);
    }
}

namespace {

std::string FolderPath(const SettingsView& settings, const std::string& name) {
    return IncludeTrailingSeparator(settings.ReadString(ini::kFolders, name, ""));
}

}  // namespace

void VexloPro::RememberChange(const std::string& folder, const std::string& file) {
    settings_.WriteString(ini::kWallpaperChanging, ini::kFolder, folder);
    settings_.WriteString(ini::kWallpaperChanging, ini::kFile, file);
}

std::optional<RotationChoice> VexloPro::ChooseRandom() {
    std::mt19937 random(seedSource_ ? seedSource_() : ClockSeed());
    return ChooseRandom(random);
}

std::optional<RotationChoice> VexloPro::ChooseRandom(std::mt19937& random) {
    const SettingsView settings = settings_.View();
    std::vector<std::string> folders = settings.ReadSection(ini::kFolders);
    FilterEnabledFolders(settings, folders);
    if (folders.empty()) {
        return std::nullopt;
    }
    // The folder first, then a picture in it: every enabled folder has the
    // same chance whatever its size. No other folder is tried.
    const std::string folder = folders[PickUniform(random, folders.size())];
    PictureList pictures(false);
    CollectPictures(FolderPath(settings, folder), pictures);
    if (pictures.Count() == 0) {
        return std::nullopt;
    }
    return RotationChoice{folder, pictures.Items()[PickUniform(random, pictures.Count())]};
}

// A picture that cannot be shown (damaged, empty) must not stop the rotation:
// its place is remembered as if it had been shown, so the next change takes
// the one after it, and its error is raised the first time only, not at every
// tick for the rest of the run. Other failures (the settings, the desktop, the
// wallpaper file) leave the position as it was.
void VexloPro::ApplyChosen(const std::string& folder, const std::string& picture) {
    try {
        ApplyWallpaper(picture, WallpaperBitmap());
    } catch (const PictureError&) {
        RememberChange(folder, picture);
        if (reportedPictures_.insert(picture).second) {
            throw;
        }
        return;
    }
    RememberChange(folder, picture);
}

void VexloPro::ChangeRandom() {
    if (const auto choice = ChooseRandom()) {
        ApplyChosen(choice->folder, choice->picture);
    }
}

void VexloPro::ChangeSequential() {
    // One reading of the file serves the whole choice: the folder list, a flag
    // per folder, the remembered position and the paths.
    const SettingsView settings = settings_.View();
    const std::optional<RotationChoice> choice =
        ChooseSequential(settings, settings.ReadString(ini::kWallpaperChanging, ini::kFolder, ""),
                         settings.ReadString(ini::kWallpaperChanging, ini::kFile, ""));
    if (choice) {
        ApplyChosen(choice->folder, choice->picture);
    }
}

std::optional<RotationChoice> VexloPro::ChooseSequential(const SettingsView& settings,
                                                         const std::string& rememberedFolder,
                                                         const std::string& rememberedFile) {
    std::vector<std::string> folders = settings.ReadSection(ini::kFolders);
    FilterEnabledFolders(settings, folders);
    if (folders.empty()) {
        return std::nullopt;
    }

    // The remembered folder is looked up in section order, so the next folder
    // is always the one after it in the order the user gave.
    std::size_t current = 0;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (QString::fromStdString(folders[i])
                .compare(QString::fromStdString(rememberedFolder), Qt::CaseInsensitive) == 0) {
            current = i;
            break;
        }
    }

    PictureList pictures(true);
    CollectPictures(FolderPath(settings, folders[current]), pictures);
    if (pictures.Count() == 0) {
        return std::nullopt;
    }
    std::string chosen;
    const long found = pictures.IndexOf(rememberedFile);
    if (found < 0) {
        chosen = pictures.Items().front();
    } else if (static_cast<std::size_t>(found) + 1 < pictures.Count()) {
        chosen = pictures.Items()[static_cast<std::size_t>(found) + 1];
    } else {
        current = (current + 1) % folders.size();
        PictureList next(true);
        CollectPictures(FolderPath(settings, folders[current]), next);
        chosen = next.Count() > 0 ? next.Items().front() : std::string("None");
    }
    return RotationChoice{folders[current], chosen};
}

}  // namespace vexlo
