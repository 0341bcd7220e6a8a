#include <QImage>

#include "EngineFixture.h"

namespace vexlo::test {
namespace {

class PlacementTest : public EngineFixture {
protected:
    // The style the size rules give a picture of w x h, and the size the
    // bitmap has afterwards.
    std::pair<std::string, QSize> Place(int w, int h) {
        QImage bitmap(w, h, QImage::Format_RGB32);
        bitmap.fill(Qt::blue);
        engine->ChoosePlacement(bitmap, "/pictures/picture.bmp");
        EXPECT_EQ(Style(), platform.RegistryValue(RegistryRoot::CurrentUser,
                                                  "Control Panel\\desktop", "TileWallpaper"));
        return {Style(), bitmap.size()};
    }
    void Set(const std::string& section, const std::string& key, int value) {
        settings->WriteInteger(section, key, value);
    }
};

TEST_F(PlacementTest, NothingConfiguredGivesTheDefaultStyleUnscaled) {
    EXPECT_EQ(Place(3000, 2000), std::make_pair(std::string("0"), QSize(3000, 2000)));
    Set("Settings", "Default Tile Method", 1);
    EXPECT_EQ(Place(100, 100).first, "1");
    Set("Settings", "Default Tile Method", -1);
    EXPECT_EQ(Place(100, 100).first, "-1");
}

TEST_F(PlacementTest, DesktopSizedPictureIsNotLarger) {
    Set("Smaller", "Stretch Wallpaper", 1);
    EXPECT_EQ(Place(1600, 900), std::make_pair(std::string("2"), QSize(1600, 900)));
}

TEST_F(PlacementTest, LargerPictureWithoutLargerRuleTakesTheDefaultWhateverSmallerSays) {
    Set("Smaller", "Stretch Wallpaper", 1);
    Set("Smaller", "Tile Wallpaper", 1);
    Set("Settings", "Default Tile Method", 0);
    EXPECT_EQ(Place(1601, 100), std::make_pair(std::string("0"), QSize(1601, 100)));
    EXPECT_EQ(Place(100, 901), std::make_pair(std::string("0"), QSize(100, 901)));
}

TEST_F(PlacementTest, ThresholdsRoundHalfToEvenAndCompareStrictly) {
    platform.SetDesktopSize(1366, 768);
    Set("Smaller", "Stretch Wallpaper", 1);
    // Stretch width Round(1024.5) = 1024, height Round(576) = 576.
    EXPECT_EQ(Place(1025, 600).first, "2");
    EXPECT_EQ(Place(1024, 600).first, "0");
    EXPECT_EQ(Place(1025, 576).first, "0");
}

TEST_F(PlacementTest, TileRuleForSmallPicturesIsStrict) {
    Set("Smaller", "Tile Wallpaper", 1);
    Set("Smaller", "Tile Size", 50);
    EXPECT_EQ(Place(799, 449).first, "1");
    EXPECT_EQ(Place(800, 449).first, "0");
    // Stretching wins over tiling when both apply.
    Set("Smaller", "Stretch Wallpaper", 1);
    Set("Smaller", "Stretch Size", 10);
    EXPECT_EQ(Place(700, 400).first, "2");
}

TEST_F(PlacementTest, DeformationLimitDecidesBetweenStretchAndShrink) {
    Set("Deform", "UseDeform", 1);
    Set("Deform", "Size", 0);
    Set("Smaller", "Stretch Wallpaper", 1);
    Set("Smaller", "Stretch Size", 40);
    // Same shape as the desktop: within a limit of zero.
    EXPECT_EQ(Place(800, 450), std::make_pair(std::string("2"), QSize(800, 450)));
    // Ratio 0.75: centred and scaled so the height... the width matches.
    EXPECT_EQ(Place(800, 600), std::make_pair(std::string("0"), QSize(1600, 1200)));

    Set("Deform", "Size", 15);
    Set("Larger", "Stretch Wallpaper", 1);
    EXPECT_EQ(Place(2000, 1000), std::make_pair(std::string("2"), QSize(2000, 1000)));
    EXPECT_EQ(Place(2000, 1500), std::make_pair(std::string("0"), QSize(1600, 1200)));
}

TEST_F(PlacementTest, PicturesOnTheDeformationBoundAreJudgedInDoubles) {
    // Each of these lies exactly on a bound of 15% on 1600x900; which side of
    // it the ratio lands on is the double arithmetic's, whatever the machine
    // keeps in its registers.
    Set("Deform", "UseDeform", 1);
    Set("Deform", "Size", 15);
    Set("Larger", "Stretch Wallpaper", 1);
    EXPECT_EQ(Place(3876, 2565).first, "2");  // ratio 0.85
    EXPECT_EQ(Place(1972, 1305).first, "2");
    EXPECT_EQ(Place(3264, 2160).first, "2");
    EXPECT_EQ(Place(3672, 2430).first, "0");  // just below 0.85 in doubles
    EXPECT_EQ(Place(1836, 1215).first, "0");
    EXPECT_EQ(Place(2576, 1260).first, "0");  // ratio 1.15, just above it
    EXPECT_EQ(Place(1748, 855).first, "0");
}

TEST_F(PlacementTest, ShrinkToDesktopMatchesOneSide) {
    QImage square(800, 800, QImage::Format_RGB32);
    square.fill(Qt::white);
    engine->ShrinkToDesktop(square);
    EXPECT_EQ(square.size(), QSize(1600, 1600));
    QImage wide(2000, 1900, QImage::Format_RGB32);
    wide.fill(Qt::white);
    engine->ShrinkToDesktop(wide);
    EXPECT_EQ(wide.size(), QSize(1600, 1520));
    QImage tall(900, 3000, QImage::Format_RGB32);
    tall.fill(Qt::white);
    engine->ShrinkToDesktop(tall);
    EXPECT_EQ(tall.size(), QSize(270, 900));
}

TEST_F(PlacementTest, UnknownDesktopSizeJudgesNoRule) {
    platform.SetDesktopSize(0, 0);
    Set("Larger", "Stretch Wallpaper", 1);
    Set("Deform", "UseDeform", 1);
    EXPECT_EQ(Place(500, 400), std::make_pair(std::string("0"), QSize(500, 400)));
}

class OverrideWalkTest : public PlacementTest {
protected:
    std::string StyleFor(const std::string& source) {
        QImage bitmap(5000, 5000, QImage::Format_RGB32);
        bitmap.fill(Qt::red);
        engine->ChoosePlacement(bitmap, source);
        EXPECT_EQ(bitmap.size(), QSize(5000, 5000)) << "an override never scales";
        return Style();
    }
};

TEST_F(OverrideWalkTest, DeepestApplyMethodFromTheFirstSwitchWins) {
    Set("Larger", "Stretch Wallpaper", 1);
    settings->WriteBool("Nature", "Use Specific Apply", true);
    settings->WriteString("Nature", "Apply Method", "2");
    settings->WriteBool("sunset.jpg", "Use Specific Apply", false);
    settings->WriteString("sunset.jpg", "Apply Method", "1");
    EXPECT_EQ(StyleFor("/Pictures/Nature/sunset.jpg"), "1");
    EXPECT_EQ(StyleFor("/Pictures/Nature/other.jpg"), "2");
    EXPECT_EQ(StyleFor("/Pictures/NATURE/deeper/other.jpg"), "2");
    // Above the switch nothing counts.
    settings->WriteString("Pictures", "Apply Method", "1");
    EXPECT_EQ(StyleFor("/Pictures/Nature/other.jpg"), "2");
}

TEST_F(OverrideWalkTest, SwitchWithoutMethodGivesCentreAndOddValuesPassThrough) {
    settings->WriteBool("Nature", "Use Specific Apply", true);
    EXPECT_EQ(StyleFor("/Pictures/Nature/a.jpg"), "0");
    settings->WriteString("a.jpg", "Apply Method", "5");
    EXPECT_EQ(StyleFor("/Pictures/Nature/a.jpg"), "5");
}

TEST_F(OverrideWalkTest, PathWithoutSeparatorsHasNoComponents) {
    settings->WriteBool("a.jpg", "Use Specific Apply", true);
    settings->WriteString("a.jpg", "Apply Method", "2");
    Set("Settings", "Default Tile Method", 1);
    EXPECT_EQ(StyleFor("a.jpg"), "1");
    EXPECT_EQ(StyleFor("/x/a.jpg"), "2");
}

}  // namespace
}  // namespace vexlo::test
