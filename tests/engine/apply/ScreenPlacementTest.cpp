#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "ScreenPlacement.h"

namespace vexlo::test {
namespace {

// Larger pictures are shrunk to fit, smaller ones stretched, with the
// deformation limit at 15 %: every rule depends on the screen's own size.
PlacementRules ShrinkingRules() {
    PlacementRules rules;
    rules.stretchLarger = true;
    rules.stretchSmaller = true;
    rules.useDeform = true;
    return rules;
}

std::string Describe(const std::vector<ScreenPlacement>& placed) {
    std::string text;
    for (const ScreenPlacement& p : placed) {
        text += p.screen.name + ":" + p.placement.style + (p.placement.scaled ? " scaled " : " ") +
                std::to_string(p.placement.width) + "x" + std::to_string(p.placement.height) + "; ";
    }
    return text;
}

TEST(ScreenPlacementTest, EachScreenIsPlacedForItsOwnSize) {
    const std::vector<ScreenInfo> screens = {
        {"wide", 0, 0, 1920, 1080, true},
        {"portrait", 1920, -420, 1080, 1920, false},  // turned, above the first's top
        {"left", -1280, 56, 1280, 1024, false},       // left of the origin
        {"inside", 200, 100, 800, 600, false},        // a projector showing part of "wide"
        {"none", 3000, 0, 0, 1080, false},            // reported without a size
        {"flat", 3000, 0, 1920, 0, false},
    };
    // A 4:3 picture: stretched where the proportions allow, shrunk elsewhere
    // (one side matched, the other may reach past the screen).
    EXPECT_EQ(Describe(PlaceOnScreens(ShrinkingRules(), 2048, 1536, screens)),
              "wide:0 scaled 1920x1440; portrait:0 scaled 1080x810; left:2 2048x1536; "
              "inside:2 2048x1536; ");
    // A smaller picture: larger than the projector only, and stretched there;
    // elsewhere not above 75 % on both sides.
    EXPECT_EQ(Describe(PlaceOnScreens(ShrinkingRules(), 1000, 750, screens)),
              "wide:0 1000x750; portrait:0 1000x750; left:0 1000x750; inside:2 1000x750; ");
}

TEST(ScreenPlacementTest, SmallPictureRulesFollowTheScreen) {
    PlacementRules rules;
    rules.tileSmaller = true;
    rules.fallback = "2";
    const std::vector<ScreenInfo> screens = {{"big", 0, 0, 2560, 1440, true},
                                             {"small", 2560, 0, 800, 600, false}};
    // 700 x 500 is below 75 % of the big screen (tiled) but not of the small one.
    EXPECT_EQ(Describe(PlaceOnScreens(rules, 700, 500, screens)),
              "big:1 700x500; small:2 700x500; ");
    // A per-item style wins on every screen, never scaled.
    rules.itemStyle = "5";
    EXPECT_EQ(Describe(PlaceOnScreens(rules, 700, 500, screens)),
              "big:5 700x500; small:5 700x500; ");
}

TEST(ScreenPlacementTest, ScreenWithoutSizeJudgesNoRule) {
    const Placement p = PlaceOnScreen(ShrinkingRules(), 4000, 3000, 0, 0);
    EXPECT_EQ(p.style, "0");
    EXPECT_FALSE(p.scaled);
    EXPECT_EQ(ShrunkSize(4000, 3000, 0, 1080), QSize(4000, 3000));
    EXPECT_TRUE(PlaceOnScreens(ShrinkingRules(), 10, 10, {{"x", 0, 0, -5, 10, true}}).empty());
}

TEST(ScreenPlacementTest, TransparencyIsLaidOverWhiteAsInTheFile) {
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(200, 100, 0, 0));
    picture.setPixel(1, 0, qRgba(200, 100, 0, 255));
    const QImage opaque = OpaqueOverWhite(picture);
    EXPECT_EQ(opaque.format(), QImage::Format_RGB32);
    EXPECT_EQ(opaque.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(opaque.pixel(1, 0), qRgb(200, 100, 0));
    QImage rgb(4, 4, QImage::Format_RGB32);
    EXPECT_EQ(OpaqueOverWhite(rgb).constBits(), rgb.constBits());  // shared, not copied
}

class ScreensApplyTest : public EngineFixture {};

TEST_F(ScreensApplyTest, EveryScreenGetsItsOwnPlacementAndTheFileThePrimarys) {
    settings->WriteBool("Larger", "Stretch Wallpaper", true);
    settings->WriteBool("Deform", "UseDeform", true);
    platform.SetDesktopSize(1280, 1024);
    platform.SetScreens({{"DP-1", 0, 0, 1920, 1080, false},
                         {"DP-2", 1920, 0, 1280, 1024, true},
                         {"DP-3", 3200, 0, 1920, 1080, false},
                         {"off", 0, 0, 0, 0, false}});
    const auto source = MakePicture("p/big.png", 4000, 1000, "PNG", QColor(10, 20, 30));
    engine->ApplyWallpaper(source, Wallpaper());

    EXPECT_EQ(QImage(QString::fromStdString(Wallpaper())).size(), QSize(1280, 320));
    EXPECT_EQ(Style(), "0");
    const auto calls = platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].path, Wallpaper());
    const std::vector<RecordedScreen>& screens = calls[0].screens;
    ASSERT_EQ(screens.size(), 3u);  // the screen without a size is left out
    EXPECT_EQ(screens[0].screen.name, "DP-1");
    EXPECT_EQ(QSize(screens[0].width, screens[0].height), QSize(1920, 480));
    EXPECT_EQ(QSize(screens[1].width, screens[1].height), QSize(1280, 320));
    EXPECT_TRUE(screens[1].screen.primary);
    EXPECT_EQ(screens[2].sharesWith, 0);  // one bitmap for screens of one size
    for (const RecordedScreen& s : screens) {
        EXPECT_EQ(s.style, "0");
        EXPECT_EQ(s.centre, qRgb(10, 20, 30));
    }
}

TEST_F(ScreensApplyTest, OneScreenIsHandedThePrimarysBitmapAlone) {
    const auto source = MakePicture("p/small.bmp", 40, 30);
    engine->ApplyWallpaper(source, Wallpaper());
    const auto calls = platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper);
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].screens.size(), 1u);
    EXPECT_TRUE(calls[0].screens[0].screen.primary);
    EXPECT_EQ(QSize(calls[0].screens[0].width, calls[0].screens[0].height), QSize(40, 30));
    EXPECT_EQ(calls[0].screens[0].screen.width, 1600);
}

}  // namespace
}  // namespace vexlo::test
