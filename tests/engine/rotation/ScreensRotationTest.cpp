#include <QDir>
#include <map>

#include "EngineFixture.h"
#include "FileHelpers.h"

namespace vexlo::test {
namespace {

const QColor kRed(200, 0, 0), kGreen(0, 200, 0), kBlue(0, 0, 200), kGrey(90, 90, 90);

// Three screens: one above the left one, and the primary on the right.
class ScreensRotationTest : public EngineFixture {
protected:
    void SetUp() override {
        platform.SetDesktopSize(1280, 1024);
        platform.SetScreens({{"R", 1920, 0, 1280, 1024, true},
                             {"L", 0, 0, 1920, 1080, false},
                             {"T", 0, -1080, 1920, 1080, false},
                             {"off", 0, 0, 0, 0, false}});
        settings->WriteBool("Screens", "Different Pictures", true);
        settings->WriteString("Folders", "A", Root() + "A");
        MakePicture("A/a1.bmp", 40, 30, "BMP", kRed);
        MakePicture("A/a2.bmp", 40, 30, "BMP", kGreen);
        MakePicture("A/a3.bmp", 40, 30, "BMP", kBlue);
        MakePicture("A/a4.bmp", 40, 30, "BMP", kGrey);
    }
    // Each screen's picture by its colour, "T:red L:green R:blue", from the last hand-off.
    std::string Shown() const {
        const auto calls = platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper);
        if (calls.empty()) {
            return "<nothing>";
        }
        const std::map<QRgb, std::string> names = {{kRed.rgb(), "red"},
                                                   {kGreen.rgb(), "green"},
                                                   {kBlue.rgb(), "blue"},
                                                   {kGrey.rgb(), "grey"}};
        std::string text;
        for (const RecordedScreen& s : calls.back().screens) {
            const auto name = names.find(s.centre);
            text += (text.empty() ? "" : " ") + s.screen.name + ":" +
                    (name != names.end() ? name->second : "?");
        }
        return text;
    }
    std::string Current(const std::string& screen) const {
        const std::string file = settings->ReadString("Screens", "Current " + screen, "");
        return file.substr(file.rfind('/') + 1);
    }
    QColor WallpaperColour() const {
        const QImage file(QString::fromStdString(Wallpaper()));
        return file.pixelColor(file.width() / 2, file.height() / 2);
    }
};

TEST_F(ScreensRotationTest, SequentialGivesConsecutivePicturesLeftToRightTopToBottom) {
    settings->WriteBool("Startup", "Random", false);
    engine->ChangeWallpaper();
    // Screens in hand-off order (the system's): R, L, T; pictures by T, L, R.
    EXPECT_EQ(Shown(), "R:blue L:green T:red");
    EXPECT_EQ(Current("T") + " " + Current("L") + " " + Current("R"), "a1.bmp a2.bmp a3.bmp");
    EXPECT_EQ(settings->ReadString("Wallpaper Changing", "File", ""), Root() + "A/a3.bmp");
    EXPECT_EQ(settings->ReadString("Settings", "Current Wallpaper", ""), "a3.bmp");
    EXPECT_EQ(WallpaperColour(), kBlue);  // the primary's
    EXPECT_EQ(Current("off"), "");

    engine->ChangeWallpaper();  // on from there, round the folder
    EXPECT_EQ(Shown(), "R:green L:red T:grey");
    EXPECT_EQ(settings->ReadString("Wallpaper Changing", "File", ""), Root() + "A/a2.bmp");
}

TEST_F(ScreensRotationTest, RandomPicksEachScreenOnItsOwn) {
    for (int i = 0; i < 6; ++i) {
        MakePicture("A/more" + std::to_string(i) + ".bmp", 40, 30, "BMP", kGrey);
    }
    std::uint32_t seed = 1;
    engine->SetSeedSource([&seed] { return seed++; });
    int differing = 0;
    for (int i = 0; i < 8; ++i) {
        engine->ChangeWallpaper();
        const auto screens = platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper).back().screens;
        ASSERT_EQ(screens.size(), 3u);
        differing +=
            screens[0].centre != screens[1].centre || screens[1].centre != screens[2].centre;
        for (const char* name : {"R", "L", "T"}) {
            EXPECT_NE(Current(name), "") << name;
        }
    }
    EXPECT_GT(differing, 0) << "every screen always got the same picture";
}

TEST_F(ScreensRotationTest, AnApplyPutsOnePictureOnEveryScreen) {
    settings->WriteBool("Startup", "Random", false);
    engine->ChangeWallpaper();
    engine->ApplyWallpaper(Root() + "A/a2.bmp", Wallpaper());
    EXPECT_EQ(Shown(), "R:green L:green T:green");
    EXPECT_EQ(Current("T") + " " + Current("L") + " " + Current("R"), "a2.bmp a2.bmp a2.bmp");
}

TEST_F(ScreensRotationTest, WithoutTheChoiceEveryScreenShowsTheSamePicture) {
    settings->WriteBool("Screens", "Different Pictures", false);
    settings->WriteBool("Startup", "Random", false);
    engine->ChangeWallpaper();
    EXPECT_EQ(Shown(), "R:red L:red T:red");
    EXPECT_EQ(Current("R"), "");
}

TEST_F(ScreensRotationTest, ChangedScreensShowTheCurrentPicturesAgainWithoutAStep) {
    settings->WriteBool("Startup", "Random", false);
    engine->ChangeWallpaper();
    engine->FollowScreenChanges();
    host.FireTimers();  // the icon refresh
    const std::string before = ReadFile(ProgramFolder() + "Vexlo.ini");
    const auto applies = platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper).size();

    // One screen unplugged, the primary turned: a burst of changes.
    platform.SetDesktopSize(1024, 1280);
    platform.SetScreens({{"R", 1920, 0, 1024, 1280, true}, {"L", 0, 0, 1920, 1080, false}});
    ASSERT_TRUE(platform.ChangeScreens());
    ASSERT_TRUE(platform.ChangeScreens());
    ASSERT_TRUE(platform.ChangeScreens());
    EXPECT_EQ(host.FireTimers(), 3);
    const auto calls = platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper);
    ASSERT_EQ(calls.size(), applies + 1) << "one placing for the burst";
    EXPECT_EQ(Shown(), "R:blue L:green");
    EXPECT_EQ(calls.back().screens[0].screen.height, 1280);
    EXPECT_EQ(ReadFile(ProgramFolder() + "Vexlo.ini"), before) << "the settings file was written";
    EXPECT_TRUE(host.pending.empty()) << "no icon refresh, no other timer";

    // A fresh start knows the pictures from the settings alone.
    VexloPro fresh(*settings, platform, host, ProgramFolder());
    fresh.PlaceAgain();
    EXPECT_EQ(Shown(), "R:blue L:green");
    EXPECT_EQ(ReadFile(ProgramFolder() + "Vexlo.ini"), before);
}

TEST_F(ScreensRotationTest, NothingShownYetIsNotPlacedAgain) {
    engine->PlaceAgain();
    EXPECT_TRUE(platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper).empty());
}

}  // namespace
}  // namespace vexlo::test
