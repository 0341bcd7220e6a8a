#include <gtest/gtest.h>

#include "support/Pictures.h"
#include "x11/WallpaperRender.h"

namespace vexlo {
namespace {

TEST(WallpaperRenderTest, NothingToDrawGivesNoImage) {
    const QImage picture = test::QuadrantPicture(4, 4);
    EXPECT_TRUE(RenderWallpaper(QImage(), QSize(10, 10), WallpaperPlacement::Centre, 0).isNull());
    EXPECT_TRUE(RenderWallpaper(picture, QSize(0, 10), WallpaperPlacement::Tile, 0).isNull());
    EXPECT_TRUE(RenderWallpaper(picture, QSize(10, 0), WallpaperPlacement::Stretch, 0).isNull());
}

TEST(WallpaperRenderTest, OnePixelTilesTheWholeScreen) {
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(QColor(10, 20, 30));
    const QImage desktop = RenderWallpaper(dot, QSize(1920, 1080), WallpaperPlacement::Tile, 0);
    ASSERT_EQ(desktop.size(), QSize(1920, 1080));
    QImage want(1920, 1080, QImage::Format_RGB32);
    want.fill(QColor(10, 20, 30));
    EXPECT_EQ(desktop, want);
}

TEST(WallpaperRenderTest, TransparentPixelsShowTheirColourAsTheDesktopDoes) {
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.fill(QColor(200, 100, 50, 0));
    const QImage desktop =
        RenderWallpaper(picture, QSize(6, 6), WallpaperPlacement::Centre, 0x0000ff);
    EXPECT_EQ(desktop.pixelColor(2, 2), QColor(200, 100, 50));
    EXPECT_EQ(desktop.pixelColor(0, 0), QColor(0, 0, 255));
}

}  // namespace
}  // namespace vexlo
