#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <filesystem>
#include <memory>

#include "ChildProcess.h"
#include "CreateDesktopPlatform.h"
#include "TempDir.h"
#include "XServer.h"
#include "support/Pictures.h"
#include "support/X11Inspection.h"
#include "x11/RootPixmapSetter.h"
#include "x11/X11ScreenSize.h"
#include "x11/XcbConnection.h"

namespace vexlo {
namespace {

using test::QuadrantColour;
using test::RootScreenshot;

constexpr int kScreenW = 320;
constexpr int kScreenH = 240;
constexpr std::uint32_t kBackground = 0x123456;

// What a person should see at screen point (x, y).
QColor Expected(WallpaperPlacement placement, int w, int h, int x, int y) {
    switch (placement) {
        case WallpaperPlacement::Tile:
            return QuadrantColour(x % w, y % h, w, h);
        case WallpaperPlacement::Stretch:
            return QuadrantColour(x * w / kScreenW, y * h / kScreenH, w, h);
        case WallpaperPlacement::Centre:
            break;
    }
    const int px = x - (kScreenW - w) / 2;
    const int py = y - (kScreenH - h) / 2;
    if (px < 0 || py < 0 || px >= w || py >= h) {
        return QColor::fromRgb(0xff000000u | kBackground);
    }
    return QuadrantColour(px, py, w, h);
}

// Stretching blends neighbours, so points near a quadrant border are not
// judged there.
bool NearStretchedBorder(int w, int h, int x, int y) {
    const double bx = (w / 2) * double(kScreenW) / w;
    const double by = (h / 2) * double(kScreenH) / h;
    return std::abs(x - bx) <= double(kScreenW) / w + 2 ||
           std::abs(y - by) <= double(kScreenH) / h + 2;
}

const char* Name(WallpaperPlacement placement) {
    switch (placement) {
        case WallpaperPlacement::Tile:
            return "tile";
        case WallpaperPlacement::Stretch:
            return "stretch";
        case WallpaperPlacement::Centre:
            break;
    }
    return "centre";
}

class X11WallpaperTest : public testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<test::XServer>(kScreenW, kScreenH); }
    static void TearDownTestSuite() { server_.reset(); }

    std::string Picture(int w, int h) {
        const std::string path =
            dir_.File("p" + std::to_string(w) + "x" + std::to_string(h) + ".bmp");
        test::SaveBmp(test::QuadrantPicture(w, h), path);
        return path;
    }
    bool Apply(const std::string& path, WallpaperPlacement placement) {
        RootPixmapSetter setter(server_->Display());
        return setter.Set({path, placement, kBackground});
    }

    static std::unique_ptr<test::XServer> server_;
    test::TempDir dir_;
};

std::unique_ptr<test::XServer> X11WallpaperTest::server_;

TEST_F(X11WallpaperTest, ScreenShowsPicturePlacedAsChosen) {
    struct Size {
        const char* what;
        int w, h;
    };
    const Size sizes[] = {{"small", 40, 30},   {"odd small", 33, 17}, {"exact", 320, 240},
                          {"large", 500, 400}, {"wide", 400, 60},     {"tall", 50, 300}};
    for (const Size& size : sizes) {
        const std::string path = Picture(size.w, size.h);
        for (auto placement :
             {WallpaperPlacement::Centre, WallpaperPlacement::Tile, WallpaperPlacement::Stretch}) {
            SCOPED_TRACE(std::string(size.what) + " picture, " + Name(placement));
            ASSERT_TRUE(Apply(path, placement));
            const QImage screen = RootScreenshot(server_->Display());
            ASSERT_EQ(screen.size(), QSize(kScreenW, kScreenH));
            int wrong = 0;
            for (int y = 0; y < kScreenH; ++y) {
                for (int x = 0; x < kScreenW; ++x) {
                    if (placement == WallpaperPlacement::Stretch &&
                        NearStretchedBorder(size.w, size.h, x, y)) {
                        continue;
                    }
                    const QColor want = Expected(placement, size.w, size.h, x, y);
                    if (screen.pixelColor(x, y) != want && wrong++ < 3) {
                        ADD_FAILURE() << "at (" << x << "," << y << ") "
                                      << screen.pixelColor(x, y).name().toStdString()
                                      << " instead of " << want.name().toStdString();
                    }
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST_F(X11WallpaperTest, BackgroundOutlivesTheProcessThatSetItAndReplacedOneIsFreed) {
    const std::string path = Picture(40, 30);
    const Environment env = server_->Env();
    ASSERT_EQ(
        test::RunToEnd({VEXLO_DESKTOP_HELPER, "set-root", server_->Display(), path, "tile"}, env),
        0);
    const xcb_pixmap_t first = test::RootProperty(server_->Display(), "_XROOTPMAP_ID");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(test::RootProperty(server_->Display(), "ESETROOT_PMAP_ID"), first);
    EXPECT_TRUE(test::PixmapExists(server_->Display(), first));
    const QImage screen = RootScreenshot(server_->Display());
    EXPECT_EQ(screen.pixelColor(5, 5), test::kTopLeft);
    EXPECT_EQ(screen.pixelColor(45, 5), test::kTopLeft);  // the second tile

    ASSERT_EQ(test::RunToEnd({VEXLO_DESKTOP_HELPER, "set-root", server_->Display(),
                              Picture(50, 300), "stretch"},
                             env),
              0);
    const xcb_pixmap_t second = test::RootProperty(server_->Display(), "_XROOTPMAP_ID");
    EXPECT_NE(second, first);
    EXPECT_FALSE(test::PixmapExists(server_->Display(), first)) << "the old pixmap was kept";
    EXPECT_TRUE(test::PixmapExists(server_->Display(), second));
    EXPECT_EQ(RootScreenshot(server_->Display()).pixelColor(300, 230), test::kBottomRight);

    // And once more from within this process: the helper's pixmap goes too.
    ASSERT_TRUE(Apply(path, WallpaperPlacement::Centre));
    EXPECT_FALSE(test::PixmapExists(server_->Display(), second));
}

TEST_F(X11WallpaperTest, PixmapOfARunningClientIsNotTakenAway) {
    // A program that announced its own pixmap without ESETROOT_PMAP_ID still
    // uses it: replacing the background must not end that program.
    XcbConnection other(server_->Display());
    ASSERT_TRUE(other.IsConnected());
    const xcb_pixmap_t own = xcb_generate_id(other.get());
    xcb_create_pixmap(other.get(), other.Screen()->root_depth, own, other.Root(), 8, 8);
    const xcb_atom_t rootId = other.Atom("_XROOTPMAP_ID");
    const xcb_atom_t esetroot = other.Atom("ESETROOT_PMAP_ID");
    xcb_change_property(other.get(), XCB_PROP_MODE_REPLACE, other.Root(), rootId, XCB_ATOM_PIXMAP,
                        32, 1, &own);
    xcb_delete_property(other.get(), other.Root(), esetroot);
    ASSERT_TRUE(other.Sync());

    ASSERT_TRUE(Apply(Picture(40, 30), WallpaperPlacement::Centre));
    EXPECT_TRUE(other.Sync()) << "the other client was killed";
    EXPECT_TRUE(test::PixmapExists(server_->Display(), own));
}

TEST_F(X11WallpaperTest, BadPictureLeavesScreenAsItWas) {
    ASSERT_TRUE(Apply(Picture(40, 30), WallpaperPlacement::Tile));
    const QImage before = RootScreenshot(server_->Display());
    const xcb_pixmap_t pixmap = test::RootProperty(server_->Display(), "_XROOTPMAP_ID");

    test::WriteFile(dir_.File("garbage.bmp"), "this is no picture at all");
    test::WriteFile(dir_.File("empty.bmp"), "");
    // A BMP header that declares 60000 x 60000 pixels and holds none.
    std::string huge = test::ReadFile(Picture(2, 2)).substr(0, 54);
    huge[18] = huge[22] = static_cast<char>(0x60);
    huge[19] = huge[23] = static_cast<char>(0xea);
    test::WriteFile(dir_.File("huge.bmp"), huge);
    std::string truncated = test::ReadFile(Picture(64, 64));
    test::WriteFile(dir_.File("truncated.bmp"), truncated.substr(0, truncated.size() / 3));

    for (const std::string& bad :
         {dir_.File("missing.bmp"), dir_.File("garbage.bmp"), dir_.File("empty.bmp"),
          dir_.File("huge.bmp"), dir_.File("truncated.bmp"), dir_.Path()}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(Apply(bad, WallpaperPlacement::Stretch));
        EXPECT_EQ(RootScreenshot(server_->Display()), before);
        EXPECT_EQ(test::RootProperty(server_->Display(), "_XROOTPMAP_ID"), pixmap);
        EXPECT_TRUE(test::PixmapExists(server_->Display(), pixmap));
    }
}

TEST_F(X11WallpaperTest, SixteenBitScreenShowsThePictureToo) {
    test::XServer shallow(64, 48, 16);
    const std::string path = Picture(16, 12);
    ASSERT_TRUE(RootPixmapSetter(shallow.Display()).Set({path, WallpaperPlacement::Tile, 0}));
    const QImage screen = RootScreenshot(shallow.Display());
    // 5 and 6 bits a channel: within a step of the picture's colour.
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 4 &&
               std::abs(a.blue() - b.blue()) <= 8;
    };
    EXPECT_TRUE(near(screen.pixelColor(2, 2), test::kTopLeft));
    EXPECT_TRUE(near(screen.pixelColor(60, 2), test::kTopRight));
    EXPECT_TRUE(near(screen.pixelColor(2, 46), test::kBottomLeft));
    EXPECT_TRUE(near(screen.pixelColor(29, 23), test::kBottomRight));
}

TEST_F(X11WallpaperTest, BareXSessionFollowsTheRegistryValues) {
    Environment env = server_->Env();
    env["VEXLO_REGISTRY_DIR"] = dir_.Sub("registry");
    const std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform({.env = env});
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "Control Panel\\Colors", "Background",
                                  "0 128 255");
    const std::string wallpaper = dir_.Sub("program") + "/wallpaper.bmp";
    test::SaveBmp(test::QuadrantPicture(40, 30), wallpaper);

    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "WallPaperStyle", "0");
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "TileWallpaper", "0");
    ASSERT_TRUE(platform->SetDesktopWallpaper(wallpaper));
    QImage screen = RootScreenshot(server_->Display());
    EXPECT_EQ(screen.pixelColor(0, 0), QColor(0, 128, 255));
    EXPECT_EQ(screen.pixelColor(kScreenW / 2 - 1, kScreenH / 2 - 1), test::kTopLeft);

    // The same file rewritten with another picture: the screen follows.
    test::SaveBmp(test::QuadrantPicture(20, 20), wallpaper);
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "TileWallpaper", "1");
    ASSERT_TRUE(platform->SetDesktopWallpaper(wallpaper));
    screen = RootScreenshot(server_->Display());
    EXPECT_EQ(screen.pixelColor(25, 5), test::kTopLeft);
    EXPECT_EQ(screen.pixelColor(35, 35), test::kBottomRight);

    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "TileWallpaper", "0");
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "WallPaperStyle", "2");
    ASSERT_TRUE(platform->SetDesktopWallpaper(wallpaper));
    screen = RootScreenshot(server_->Display());
    EXPECT_EQ(screen.pixelColor(kScreenW - 1, kScreenH - 1), test::kBottomRight);
    EXPECT_EQ(screen.pixelColor(0, 0), test::kTopLeft);
}

TEST_F(X11WallpaperTest, NoServerMeansNoWallpaperAndNoSize) {
    const std::string path = Picture(40, 30);
    EXPECT_FALSE(RootPixmapSetter("").Set({path, WallpaperPlacement::Centre, 0}));
    EXPECT_FALSE(RootPixmapSetter(":9876").Set({path, WallpaperPlacement::Centre, 0}));
    EXPECT_EQ(X11ScreenSize("").width, 0);
    EXPECT_EQ(X11ScreenSize(":9876").height, 0);
}

TEST_F(X11WallpaperTest, ScreenSizeIsTheServers) {
    const DesktopSize size = X11ScreenSize(server_->Display());
    EXPECT_EQ(size.width, kScreenW);
    EXPECT_EQ(size.height, kScreenH);
}

}  // namespace
}  // namespace vexlo
