#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <thread>

#include "CreateDesktopPlatform.h"
#include "TempDir.h"
#include "VexloError.h"
#include "gnome/GSettingsWallpaper.h"
#include "kde/PlasmaWallpaper.h"
#include "linux/LinuxPlatform.h"
#include "support/Pictures.h"
#include "sway/SwayWallpaper.h"
#include "x11/RootPixmapSetter.h"
#include "xfce/XfconfWallpaper.h"

namespace vexlo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDesktop = "\\Control Panel\\desktop";

// A desktop that notes what it is told, and what file it was shown then.
class FakeSetter : public WallpaperSetter {
public:
    FakeSetter(bool cachesByName, std::vector<WallpaperRequest>* seen,
               std::vector<std::string>* contents, bool* accept)
        : cachesByName_(cachesByName), seen_(seen), contents_(contents), accept_(accept) {}
    bool CachesByFileName() const override { return cachesByName_; }
    bool Set(const WallpaperRequest& request) override {
        seen_->push_back(request);
        contents_->push_back(test::ReadFile(request.path));
        return *accept_;
    }

private:
    bool cachesByName_;
    std::vector<WallpaperRequest>* seen_;
    std::vector<std::string>* contents_;
    bool* accept_;
};

class LinuxPlatformTest : public testing::Test {
protected:
    std::unique_ptr<LinuxPlatform> Make(bool cachesByName) {
        return std::make_unique<LinuxPlatform>(
            FileRegistry(dir_.File("registry")),
            std::make_unique<FakeSetter>(cachesByName, &seen_, &contents_, &accept_),
            PlatformContext{.env = env_});
    }
    std::string Picture(int w, int h) {
        const std::string path = dir_.File("wallpaper.bmp");
        test::SaveBmp(test::QuadrantPicture(w, h), path);
        return path;
    }
    std::vector<std::string> Copies() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir_.File("data/vexlo/desktop"), ec)) {
            names.push_back(entry.path().string());
        }
        return names;
    }

    test::TempDir dir_;
    Environment env_ = {{"XDG_DATA_HOME", dir_.Sub("data")}};
    std::vector<WallpaperRequest> seen_;
    std::vector<std::string> contents_;
    bool accept_ = true;
};

TEST_F(LinuxPlatformTest, DesktopIsToldThePlacementTheRegistryHolds) {
    auto platform = Make(false);
    const std::string path = Picture(4, 4);
    const std::tuple<const char*, const char*, WallpaperPlacement> cases[] = {
        {"0", "0", WallpaperPlacement::Centre},
        {"1", "1", WallpaperPlacement::Tile},
        {"2", "2", WallpaperPlacement::Stretch},
        {"1", "2", WallpaperPlacement::Tile},
        {"5", "5", WallpaperPlacement::Centre}};
    for (const auto& [tile, style, want] : cases) {
        platform->WriteRegistryString(RegistryRoot::CurrentUser, kDesktop, "WallPaperStyle", style);
        platform->WriteRegistryString(RegistryRoot::CurrentUser, kDesktop, "TileWallpaper", tile);
        ASSERT_TRUE(platform->SetDesktopWallpaper(path));
        EXPECT_EQ(seen_.back().placement, want) << tile << "/" << style;
        EXPECT_EQ(seen_.back().path, path);  // no copy for a desktop that draws the pixels
    }
    EXPECT_EQ(seen_.back().background, 0u);
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "Control Panel\\Colors", "Background",
                                  "58 110 165");
    ASSERT_TRUE(platform->SetDesktopWallpaper(path));
    EXPECT_EQ(seen_.back().background, 0x3a6ea5u);
    EXPECT_TRUE(Copies().empty());
}

TEST_F(LinuxPlatformTest, RelativePathIsMadeAbsolute) {
    auto platform = Make(false);
    Picture(2, 2);
    const fs::path before = fs::current_path();
    fs::current_path(dir_.Path());
    const bool told = platform->SetDesktopWallpaper("./wallpaper.bmp");
    fs::current_path(before);
    ASSERT_TRUE(told);
    EXPECT_EQ(seen_.back().path, dir_.File("wallpaper.bmp"));
}

TEST_F(LinuxPlatformTest, SameFileWrittenAgainReachesTheDesktopAsANewPicture) {
    auto platform = Make(true);
    const std::string path = Picture(4, 4);
    const std::string first = test::ReadFile(path);
    ASSERT_TRUE(platform->SetDesktopWallpaper(path));
    Picture(6, 2);
    ASSERT_TRUE(platform->SetDesktopWallpaper(path));

    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_NE(seen_[0].path, seen_[1].path);
    EXPECT_EQ(contents_[0], first);
    EXPECT_EQ(contents_[1], test::ReadFile(path));
    EXPECT_EQ(Copies(), std::vector<std::string>{seen_[1].path}) << "stale copies were kept";
}

// A desktop that takes a file per screen, noting what each file held then.
class FileScreensSetter : public WallpaperSetter {
public:
    FileScreensSetter(std::vector<ScreensRequest>* seen, std::vector<QImage>* files, bool* accept)
        : seen_(seen), files_(files), accept_(accept) {}
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest&) override { return false; }
    ScreensRoad Road() const override { return ScreensRoad::FilePerScreen; }
    bool SetScreens(const ScreensRequest& request) override {
        seen_->push_back(request);
        for (const ScreenRequest& s : request.screens) {
            files_->push_back(QImage(QString::fromStdString(s.path)));
        }
        return *accept_;
    }

private:
    std::vector<ScreensRequest>* seen_;
    std::vector<QImage>* files_;
    bool* accept_;
};

TEST_F(LinuxPlatformTest, EachScreenGetsAFileOfItsOwnPictureAndOnlyTheLastAreKept) {
    std::vector<ScreensRequest> seen;
    std::vector<QImage> files;
    auto platform = std::make_unique<LinuxPlatform>(
        FileRegistry(dir_.File("registry")),
        std::make_unique<FileScreensSetter>(&seen, &files, &accept_), PlatformContext{.env = env_});
    platform->WriteRegistryString(RegistryRoot::CurrentUser, kDesktop, "WallPaperStyle", "1");
    const std::string path = Picture(4, 4);
    const QImage primary = test::QuadrantPicture(4, 4).convertToFormat(QImage::Format_RGB32);
    const QImage other = test::QuadrantPicture(6, 2).convertToFormat(QImage::Format_RGB32);
    const std::vector<ScreenWallpaper> screens = {
        {{"A", 0, 0, 100, 100, false}, test::RowsOf(other), "2"},
        {{"B", 100, 0, 100, 100, true}, test::RowsOf(primary), "1"},
        {{"C", 200, 0, 100, 100, false}, test::RowsOf(other), "2"}};
    ASSERT_TRUE(platform->SetScreenWallpapers(path, screens));
    ASSERT_EQ(seen.size(), 1u);
    const std::vector<ScreenRequest>& told = seen[0].screens;
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[0].placement, WallpaperPlacement::Stretch);
    EXPECT_EQ(told[1].placement, WallpaperPlacement::Tile);
    EXPECT_EQ(told[0].path, told[2].path);  // one file for one picture
    EXPECT_NE(told[0].path, told[1].path);
    EXPECT_EQ(test::ReadFile(told[1].path), test::ReadFile(path));  // the primary's: the file
    EXPECT_EQ(files[0].convertToFormat(QImage::Format_RGB32), other);
    EXPECT_EQ(Copies().size(), 2u);

    // The next apply leaves only its own files; a refusal leaves none of its own.
    ASSERT_TRUE(platform->SetScreenWallpapers(path, screens));
    EXPECT_EQ(Copies().size(), 2u);
    accept_ = false;
    EXPECT_FALSE(platform->SetScreenWallpapers(path, screens));
    EXPECT_EQ(Copies().size(), 2u);
    // One screen is told the file as ever (through Set).
    EXPECT_FALSE(platform->SetScreenWallpapers(path, {screens[1]}));
    EXPECT_EQ(seen.size(), 3u);
}

// A desktop that takes a while to load a picture, shared by two instances.
class SlowDesktop : public WallpaperSetter {
public:
    struct Screen {
        std::mutex mutex;
        std::string shown;
        int shownAfterDeletion = 0;
    };
    explicit SlowDesktop(Screen* screen) : screen_(screen) {}
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest& request) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // latency, not a measure
        const std::lock_guard<std::mutex> hold(screen_->mutex);
        if (!screen_->shown.empty() && !fs::exists(screen_->shown)) {
            ++screen_->shownAfterDeletion;  // it sat on a deleted file
        }
        screen_->shown = request.path;
        return fs::exists(request.path);
    }

private:
    Screen* screen_;
};

TEST_F(LinuxPlatformTest, TwoInstancesApplyingAtOnceNeverDeleteTheShownCopy) {
    SlowDesktop::Screen screen;
    const std::string path = Picture(4, 4);
    auto instance = [&] {
        LinuxPlatform platform(FileRegistry(dir_.File("registry")),
                               std::make_unique<SlowDesktop>(&screen),
                               PlatformContext{.env = env_});
        for (int i = 0; i < 40; ++i) {
            platform.SetDesktopWallpaper(path);
        }
    };
    std::thread first(instance);
    std::thread second(instance);
    first.join();
    second.join();
    EXPECT_EQ(screen.shownAfterDeletion, 0);
    EXPECT_EQ(Copies(), std::vector<std::string>{screen.shown});
}

TEST_F(LinuxPlatformTest, AProgramFolderWhoseNameIsNotUtf8) {
    auto platform = Make(false);
    const std::string folder = dir_.File("Programm \xFC");
    fs::create_directories(folder);
    fs::rename(Picture(4, 4), folder + "/wallpaper.bmp");
    ASSERT_TRUE(platform->SetDesktopWallpaper(folder + "/wallpaper.bmp"));
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].path, folder + "/wallpaper.bmp");
}

// A desktop that takes UTF-8 names only.
class Utf8OnlyDesktop : public WallpaperSetter {
public:
    bool CachesByFileName() const override { return true; }
    bool Set(const WallpaperRequest& request) override {
        RequireUtf8FileName(request.path, "This desktop");
        return true;
    }
};

TEST_F(LinuxPlatformTest, ADesktopThatCannotTakeTheNameIsAnErrorAndLeavesNoCopy) {
    env_ = {{"XDG_DATA_HOME", dir_.Sub("Daten \xE4")}};
    LinuxPlatform platform(FileRegistry(dir_.File("registry")), std::make_unique<Utf8OnlyDesktop>(),
                           PlatformContext{.env = env_});
    try {
        platform.SetDesktopWallpaper(Picture(4, 4));
        ADD_FAILURE() << "reported as shown";
    } catch (const VexloError& e) {
        EXPECT_NE(std::string(e.what()).find("This desktop takes file names in UTF-8 only"),
                  std::string::npos);
    }
    EXPECT_TRUE(fs::is_empty(dir_.File("Daten \xE4/vexlo/desktop")));
}

TEST_F(LinuxPlatformTest, RefusedPictureKeepsTheCopyTheDesktopStillShows) {
    auto platform = Make(true);
    const std::string path = Picture(4, 4);
    ASSERT_TRUE(platform->SetDesktopWallpaper(path));
    accept_ = false;
    EXPECT_FALSE(platform->SetDesktopWallpaper(path));
    EXPECT_EQ(Copies(), std::vector<std::string>{seen_[0].path});
}

TEST_F(LinuxPlatformTest, BadPicturesNeverReachTheDesktop) {
    auto platform = Make(true);
    const std::string good = Picture(8, 8);
    const std::string bytes = test::ReadFile(good);
    test::WriteFile(dir_.File("truncated.bmp"), bytes.substr(0, bytes.size() / 2));
    test::WriteFile(dir_.File("garbage.bmp"), "not a picture");
    test::WriteFile(dir_.File("empty.bmp"), "");
    for (const std::string& bad :
         {dir_.File("missing.bmp"), dir_.File("truncated.bmp"), dir_.File("garbage.bmp"),
          dir_.File("empty.bmp"), dir_.Path(), std::string()}) {
        EXPECT_FALSE(platform->SetDesktopWallpaper(bad)) << bad;
    }
    EXPECT_TRUE(seen_.empty());
    EXPECT_TRUE(Copies().empty());
}

TEST_F(LinuxPlatformTest, CopyFolderThatCannotBeMadeFailsQuietly) {
    test::WriteFile(dir_.File("data/vexlo"), "a file where the folder belongs");
    auto platform = Make(true);
    EXPECT_FALSE(platform->SetDesktopWallpaper(Picture(2, 2)));
    EXPECT_TRUE(seen_.empty());
    EXPECT_EQ(test::ReadFile(dir_.File("data/vexlo")), "a file where the folder belongs");
}

TEST_F(LinuxPlatformTest, NoDesktopStillKeepsTheRegistry) {
    LinuxPlatform platform(FileRegistry(dir_.File("registry")), nullptr, {.env = env_});
    EXPECT_FALSE(platform.SetDesktopWallpaper(Picture(2, 2)));
    platform.SetDesktopIconColours(0x00ff00);
    platform.SetDesktopIconColours(0x00ff00, 0x000000, false);
    EXPECT_FALSE(platform.RegisterGlobalHotKey([](std::uint32_t, std::uint64_t) {}));
    platform.WriteRegistryString(RegistryRoot::CurrentUser, "Control Panel\\Desktop\\", "Wallpaper",
                                 "/w.bmp");
    EXPECT_EQ(platform.ReadRegistryString(RegistryRoot::CurrentUser, "\\control panel\\desktop",
                                          "Wallpaper", "-"),
              "/w.bmp");
    EXPECT_TRUE(fs::exists(platform.Registry().FileFor(RegistryRoot::CurrentUser)));
}

TEST_F(LinuxPlatformTest, RegistryInAPlaceThatCannotHoldItReadsDefaultsAndRefusesWrites) {
    test::WriteFile(dir_.File("blocked"), "a file where the registry folder belongs");
    LinuxPlatform platform(FileRegistry(dir_.File("blocked")), nullptr, {.env = env_});
    EXPECT_EQ(
        platform.ReadRegistryString(RegistryRoot::CurrentUser, kDesktop, "TileWallpaper", "def"),
        "def");
    EXPECT_THROW(
        platform.WriteRegistryString(RegistryRoot::CurrentUser, kDesktop, "TileWallpaper", "1"),
        VexloError);
    EXPECT_EQ(test::ReadFile(dir_.File("blocked")), "a file where the registry folder belongs");
}

TEST(CreateDesktopPlatformTest, EachDesktopGetsItsOwnSetterAndTheFileRegistry) {
    test::TempDir dir;
    const Environment base = {
        {"VEXLO_REGISTRY_DIR", dir.File("reg")}, {"HOME", dir.Path()}, {"DISPLAY", ":0"}};
    std::vector<std::unique_ptr<DesktopPlatform>> made;
    auto setterOf = [&](const char* desktop) -> const WallpaperSetter* {
        Environment env = base;
        env["VEXLO_DESKTOP"] = desktop;
        made.push_back(CreateDesktopPlatform({.env = env}));
        auto* platform = dynamic_cast<LinuxPlatform*>(made.back().get());
        EXPECT_NE(platform, nullptr);
        EXPECT_EQ(platform->Registry().Folder(), dir.File("reg"));
        return platform != nullptr ? platform->Setter() : nullptr;
    };
    auto flavour = [](const WallpaperSetter* setter) {
        auto* gsettings = dynamic_cast<const GSettingsWallpaper*>(setter);
        return gsettings != nullptr ? static_cast<int>(gsettings->Flavour()) : -1;
    };
    EXPECT_EQ(flavour(setterOf("gnome")), static_cast<int>(GSettingsFlavour::Gnome));
    EXPECT_EQ(flavour(setterOf("cinnamon")), static_cast<int>(GSettingsFlavour::Cinnamon));
    EXPECT_EQ(flavour(setterOf("mate")), static_cast<int>(GSettingsFlavour::Mate));
    EXPECT_NE(dynamic_cast<const XfconfWallpaper*>(setterOf("xfce")), nullptr);
    EXPECT_NE(dynamic_cast<const PlasmaWallpaper*>(setterOf("kde")), nullptr);
    EXPECT_NE(dynamic_cast<const SwayWallpaper*>(setterOf("sway")), nullptr);
    EXPECT_NE(dynamic_cast<const RootPixmapSetter*>(setterOf("x11")), nullptr);
    EXPECT_EQ(setterOf("none"), nullptr);
}

}  // namespace
}  // namespace vexlo
