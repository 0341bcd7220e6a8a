#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "VexloError.h"
#include "shared/ScreenRows.h"
#include "support/Pictures.h"

namespace vexlo {
namespace {

TEST(ScreenComposeTest, ScreensAreComposedOverTheirBoundingBox) {
    test::TempDir dir;
    const QImage picture = test::QuadrantPicture(20, 10).convertToFormat(QImage::Format_RGB32);
    const QImage tall = test::QuadrantPicture(10, 40).convertToFormat(QImage::Format_RGB32);
    ScreensRequest request;
    request.background = 0x102030;
    // A screen left of and above the origin, a portrait one, one inside
    // another and one without a size.
    request.screens = {
        {{"left", -60, -10, 60, 40, false}, test::RowsOf(picture), WallpaperPlacement::Centre, {}},
        {{"main", 0, 0, 80, 50, true}, test::RowsOf(picture), WallpaperPlacement::Tile, {}},
        {{"tall", 80, -20, 30, 80, false}, test::RowsOf(tall), WallpaperPlacement::Stretch, {}},
        {{"inside", 10, 10, 20, 10, false}, test::RowsOf(picture), WallpaperPlacement::Centre, {}},
        {{"none", 500, 500, 0, 0, false}, test::RowsOf(picture), WallpaperPlacement::Centre, {}},
    };
    const std::string path = dir.File("composed.bmp");
    ASSERT_TRUE(ComposeScreens(request, path));
    const QImage composed(QString::fromStdString(path));
    ASSERT_EQ(composed.size(), QSize(170, 80));  // x -60..110, y -20..60
    const auto at = [&](int x, int y) { return composed.pixelColor(x + 60, y + 20); };
    const QColor background(0x10, 0x20, 0x30);
    // "left": centred, 20 x 10 at (-40, 5).
    EXPECT_EQ(at(-41, 5), background);
    EXPECT_EQ(at(-40, 5), test::kTopLeft);
    EXPECT_EQ(at(-21, 14), test::kBottomRight);
    // "main": tiled from its own corner; the primary is drawn over "inside".
    EXPECT_EQ(at(0, 0), test::kTopLeft);
    EXPECT_EQ(at(21, 1), test::kTopLeft);
    EXPECT_EQ(at(15, 12), test::kTopRight);
    // "tall": stretched to 30 x 80.
    EXPECT_EQ(at(82, -18), test::kTopLeft);
    EXPECT_EQ(at(108, 58), test::kBottomRight);
    // Where no screen is.
    EXPECT_EQ(at(-50, -15), background);
    EXPECT_EQ(at(50, 55), background);
}

TEST(ScreenComposeTest, TooLargeOrUnwritableCompositionsFailClearly) {
    test::TempDir dir;
    const QImage picture = test::QuadrantPicture(4, 4).convertToFormat(QImage::Format_RGB32);
    ScreensRequest request;
    for (int i = 0; i < 5; ++i) {  // five 8K screens side by side
        request.screens.push_back({{"8K", i * 7680, 0, 7680, 4320, i == 0},
                                   test::RowsOf(picture),
                                   WallpaperPlacement::Centre,
                                   {}});
    }
    try {
        ComposeScreens(request, dir.File("huge.bmp"));
        ADD_FAILURE() << "no error";
    } catch (const VexloError& error) {
        EXPECT_STREQ(error.what(),
                     "The screens together measure 38400 x 4320 pixels, more than one wallpaper "
                     "picture may have");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("huge.bmp")));

    request.screens.resize(1);
    EXPECT_FALSE(ComposeScreens(request, dir.File("no such folder/x.bmp")));
    test::WriteFile(dir.File("file"), "");
    EXPECT_FALSE(ComposeScreens(request, dir.File("file/x.bmp")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace vexlo
