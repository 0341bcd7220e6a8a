#include "EngineFixture.h"

namespace vexlo::test {
namespace {

using Op = PlatformCall::Op;

class IconColoursTest : public EngineFixture {
protected:
    std::vector<PlatformCall> Colours() const {
        return platform.CallsOf(Op::SetDesktopIconColours);
    }
};

TEST_F(IconColoursTest, ItemSectionOfTheCurrentPictureWinsOneSecondLater) {
    settings->WriteBool("Settings", "Transparent Icons", true);
    settings->WriteInteger("sunset.bmp", "Icon Caption", 255);
    engine->ApplyWallpaper(MakePicture("Pictures/Nature/sunset.bmp", 8, 8), Wallpaper());
    EXPECT_TRUE(Colours().empty());
    ASSERT_EQ(host.timerIntervals, std::vector<int>{1000});
    host.FireTimers();
    const auto calls = Colours();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, 255u);
    EXPECT_EQ(calls[0].background, 0x80000001u);
    EXPECT_FALSE(calls[0].transparent);
}

TEST_F(IconColoursTest, GlobalTransparentColoursWithoutAnItemSection) {
    settings->WriteBool("Settings", "Transparent Icons", true);
    engine->ApplyWallpaper(MakePicture("a.bmp", 8, 8), Wallpaper());
    host.FireTimers();
    auto calls = Colours();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, 32768u);
    EXPECT_TRUE(calls[0].transparent);

    settings->WriteInteger("Settings", "Icon Text Colour", -2147483647);
    engine->RefreshIconColours();
    calls = Colours();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].text, 0x80000001u);
}

TEST_F(IconColoursTest, NothingConfiguredChangesNothing) {
    engine->ApplyWallpaper(MakePicture("a.bmp", 8, 8), Wallpaper());
    host.FireTimers();
    EXPECT_TRUE(Colours().empty());
}

TEST_F(IconColoursTest, EmptyItemSectionDoesNotCount) {
    settings->WriteBool("Settings", "Transparent Icons", true);
    settings->WriteString("a.bmp", "Icon Caption", "1");
    settings->DeleteKey("a.bmp", "Icon Caption");
    settings->WriteString("Settings", "Current Wallpaper", "a.bmp");
    engine->RefreshIconColours();
    ASSERT_EQ(Colours().size(), 1u);
    EXPECT_TRUE(Colours()[0].transparent);
}

TEST_F(IconColoursTest, EveryApplySchedulesARefreshOfItsOwn) {
    settings->WriteBool("Settings", "Transparent Icons", true);
    engine->ApplyWallpaper(MakePicture("a.bmp", 8, 8), Wallpaper());
    engine->ScheduleIconRefresh();
    engine->ApplyWallpaper(MakePicture("b.bmp", 8, 8), Wallpaper());
    EXPECT_EQ(host.pending.size(), 3u);
    EXPECT_EQ(host.FireTimers(), 3);
    EXPECT_EQ(Colours().size(), 3u);
    EXPECT_EQ(host.FireTimers(), 0);
}

}  // namespace
}  // namespace vexlo::test
