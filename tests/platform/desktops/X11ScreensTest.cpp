#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ChildProcess.h"
#include "CreateDesktopPlatform.h"
#include "FileHelpers.h"
#include "TempDir.h"
#include "VexloError.h"
#include "XServer.h"
#include "linux/LinuxPlatform.h"
#include "support/Pictures.h"
#include "support/X11Inspection.h"
#include "x11/RootPixmapSetter.h"
#include "x11/X11ScreenSize.h"
#include "x11/X11Screens.h"
#include "x11/XcbConnection.h"

namespace vexlo {
namespace {

std::string Describe(const std::vector<ScreenInfo>& screens) {
    std::string text;
    for (const ScreenInfo& s : screens) {
        text += s.name + " " + std::to_string(s.width) + "x" + std::to_string(s.height) + "+" +
                std::to_string(s.x) + "+" + std::to_string(s.y) + (s.primary ? " primary" : "") +
                "; ";
    }
    return text;
}

TEST(X11ScreensTest, MonitorsAreReadWithTheirNamesPlacesAndThePrimary) {
    test::XServer server(3200, 1080);
    // Xvfb's own single output: the whole root.
    const std::vector<ScreenInfo> one = X11Screens(server.Display());
    ASSERT_EQ(one.size(), 1u) << Describe(one);
    EXPECT_EQ(one[0].width, 3200);
    EXPECT_EQ(one[0].height, 1080);
    EXPECT_TRUE(one[0].primary);

    ASSERT_TRUE(test::DefineMonitors(server.Display(), {{"LEFT", 0, 0, 1920, 1080, false},
                                                        {"RIGHT", 1920, 0, 1280, 1024, true}}));
    // In the server's order (the primary first).
    EXPECT_EQ(Describe(X11Screens(server.Display())),
              "RIGHT 1280x1024+1920+0 primary; LEFT 1920x1080+0+0; ");

    // No monitor named primary: the first one is.
    ASSERT_TRUE(test::DefineMonitors(
        server.Display(), {{"A", 0, 0, 1600, 1080, false}, {"B", 1600, 56, 1600, 1024, false}}));
    EXPECT_EQ(Describe(X11Screens(server.Display())),
              "A 1600x1080+0+0 primary; B 1600x1024+1600+56; ");
}

// Where Qt draws offscreen (a command-line start, a test) the X server's
// monitors are still the screens, not Qt's stand-in screen.
TEST(X11ScreensTest, AnXSessionTakesItsScreensFromTheServerWhateverQtDraws) {
    test::XServer server(3200, 1080);
    ASSERT_TRUE(test::DefineMonitors(server.Display(), {{"LEFT", 0, 0, 1920, 1080, true},
                                                        {"RIGHT", 1920, 0, 1280, 1024, false}}));
    test::TempDir dir;
    LinuxPlatform platform(FileRegistry(dir.File("registry")), nullptr,
                           {.env = server.Env(), .eventLoop = true, .qtScreens = true});
    EXPECT_EQ(Describe(platform.GetScreens()),
              "LEFT 1920x1080+0+0 primary; RIGHT 1280x1024+1920+0; ");
}

TEST(X11ScreensTest, NoServerGivesNoScreens) {
    EXPECT_TRUE(X11Screens("").empty());
    EXPECT_TRUE(X11Screens(":4711").empty());
}

// Counts the points of `area` on `screen` that differ from what `want` says.
template <typename Want>
int Wrong(const QImage& screen, QRect area, Want want) {
    int wrong = 0;
    for (int y = area.top(); y <= area.bottom(); y += 3) {
        for (int x = area.left(); x <= area.right(); x += 3) {
            const QColor expected = want(x - area.left(), y - area.top());
            if (screen.pixelColor(x, y) != expected && wrong++ < 3) {
                ADD_FAILURE() << "at (" << x << "," << y << ") "
                              << screen.pixelColor(x, y).name().toStdString() << " instead of "
                              << expected.name().toStdString();
            }
        }
    }
    return wrong;
}

// The two monitors of a typical desk: each must show the picture centred in
// itself, nothing across the seam, the background colour where no monitor is.
TEST(X11ScreensTest, EachMonitorShowsThePictureCentredInItself) {
    test::XServer server(3200, 1080);
    ASSERT_TRUE(test::DefineMonitors(server.Display(), {{"DP-1", 0, 0, 1920, 1080, true},
                                                        {"HDMI-1", 1920, 0, 1280, 1024, false}}));
    test::TempDir dir;
    Environment env = server.Env();
    env["VEXLO_REGISTRY_DIR"] = dir.Sub("registry");
    const std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform({.env = env});
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "Control Panel\\Colors", "Background",
                                  "0 128 255");
    const QColor background(0, 128, 255);
    const QImage picture = test::QuadrantPicture(800, 600).convertToFormat(QImage::Format_RGB32);
    std::vector<ScreenWallpaper> screens;
    for (const ScreenInfo& screen : platform->GetScreens()) {
        screens.push_back({screen, test::RowsOf(picture), "0"});
    }
    ASSERT_EQ(screens.size(), 2u);
    ASSERT_TRUE(platform->SetScreenWallpapers(dir.File("unused.bmp"), screens));

    const QImage shown = test::RootScreenshot(server.Display());
    const auto centred = [&](QRect monitor) {
        const QRect placed(monitor.x() + (monitor.width() - 800) / 2,
                           monitor.y() + (monitor.height() - 600) / 2, 800, 600);
        return Wrong(shown, monitor, [&](int x, int y) {
            const QPoint at(monitor.x() + x, monitor.y() + y);
            return placed.contains(at)
                       ? test::QuadrantColour(at.x() - placed.x(), at.y() - placed.y(), 800, 600)
                       : background;
        });
    };
    EXPECT_EQ(centred(QRect(0, 0, 1920, 1080)), 0);
    EXPECT_EQ(centred(QRect(1920, 0, 1280, 1024)), 0);
    // Below the smaller monitor no monitor shows anything.
    EXPECT_EQ(Wrong(shown, QRect(1920, 1024, 1280, 56), [&](int, int) { return background; }), 0);
    // The seam: the columns either side belong to no picture.
    for (int y = 0; y < 1024; ++y) {
        ASSERT_EQ(shown.pixelColor(1919, y), background) << y;
        ASSERT_EQ(shown.pixelColor(1920, y), background) << y;
    }
}

// The pixels go to the server while the file is still being written; the
// root changes only once the file is complete, and a failed file leaves it.
TEST(X11ScreensTest, TheRootChangesOnlyOnceTheFileIsWritten) {
    test::XServer server(1280, 1024);
    test::TempDir dir;
    Environment env = server.Env();
    env["VEXLO_REGISTRY_DIR"] = dir.Sub("registry");
    const std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform({.env = env});
    const QImage picture = test::QuadrantPicture(64, 48).convertToFormat(QImage::Format_RGB32);
    const std::vector<ScreenWallpaper> screens{
        {platform->GetScreens().at(0), test::RowsOf(picture), "0"}};
    const auto announced = [&] { return AnnouncedRootPixmap(XcbConnection(server.Display())); };

    const xcb_pixmap_t before = announced();
    EXPECT_THROW(platform->SetScreenWallpapersOnceWritten(dir.File("w.bmp"), screens,
                                                          [] { throw VexloError("disk full"); }),
                 VexloError);
    EXPECT_EQ(announced(), before);

    bool asked = false;
    EXPECT_TRUE(platform->SetScreenWallpapersOnceWritten(dir.File("w.bmp"), screens, [&] {
        asked = true;
        EXPECT_EQ(announced(), before);  // nothing shown yet
    }));
    EXPECT_TRUE(asked);
    EXPECT_NE(announced(), before);
}

// The file road (a picture named by its path) is placed alike on each monitor.
TEST(X11ScreensTest, APictureFileIsPlacedOnEveryMonitor) {
    test::XServer server(400, 200);
    ASSERT_TRUE(test::DefineMonitors(
        server.Display(), {{"A", 0, 0, 200, 200, true}, {"B", 200, 50, 200, 150, false}}));
    test::TempDir dir;
    test::SaveBmp(test::QuadrantPicture(60, 40), dir.File("p.bmp"));
    ASSERT_TRUE(RootPixmapSetter(server.Display())
                    .Set({dir.File("p.bmp"), WallpaperPlacement::Tile, 0x000000}));
    const QImage shown = test::RootScreenshot(server.Display());
    // Each monitor's tiles start at its own corner.
    EXPECT_EQ(shown.pixelColor(5, 5), test::kTopLeft);
    EXPECT_EQ(shown.pixelColor(205, 55), test::kTopLeft);
    EXPECT_EQ(shown.pixelColor(205, 45), QColor(0, 0, 0));  // above B: no monitor
    EXPECT_EQ(shown.pixelColor(255, 85), test::kBottomRight);
}

// Qt's view of the screens follows the X server: a monitor plugged in reaches
// the watcher.
TEST(X11ScreensTest, AChangeOfTheMonitorsReachesTheWatcher) {
    test::XServer server(400, 200);
    test::TempDir dir;
    test::ChildProcess watcher({VEXLO_DESKTOP_HELPER, "watch-screens", server.Display()},
                               server.Env(), -1, dir.File("watch.log"));
    for (int i = 0;
         i < 500 && test::ReadFile(dir.File("watch.log")).find("watching") == std::string::npos;
         ++i) {
        ASSERT_TRUE(watcher.IsRunning()) << test::ReadFile(dir.File("watch.log"));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(test::DefineMonitors(
        server.Display(), {{"A", 0, 0, 200, 200, true}, {"B", 200, 50, 200, 150, false}}));
    EXPECT_EQ(watcher.Wait(10000), 0) << test::ReadFile(dir.File("watch.log"));
    EXPECT_NE(test::ReadFile(dir.File("watch.log")).find("B 200x150+200+50"), std::string::npos)
        << test::ReadFile(dir.File("watch.log"));
}

}  // namespace
}  // namespace vexlo
