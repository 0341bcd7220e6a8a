// Several screens. The apply of one 3840 x 2160 JPEG on a bare X server with
// two 3840 x 2160 monitors against the same on one, side by side in one run;
// and the peak memory of composing four screens of mixed sizes into one
// picture against that picture's 32-bit bitmap. Prints "NAME VALUE UNIT".
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

#include "ApplyMemory.h"
#include "BenchHost.h"
#include "BenchPictures.h"
#include "CreateDesktopPlatform.h"
#include "SettingsStore.h"
#include "VexloPro.h"
#include "X11Inspection.h"
#include "XServer.h"
#include "shared/ScreenRows.h"

using namespace vexlo;
using namespace vexlo::bench;

namespace {

constexpr int kRepeats = 5;

// Best time of Vexlo's apply of `picture` on the X server `server`.
double ApplySeconds(const test::XServer& server, const std::string& folder,
                    const std::string& picture) {
    Environment env = server.Env();
    env["VEXLO_DESKTOP"] = "x11";
    env["VEXLO_REGISTRY_DIR"] = folder + "registry";
    env["HOME"] = folder;
    const std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform({.env = env});
    QDir().mkpath(QString::fromStdString(folder + "program"));
    SettingsStore settings(folder + "program/Vexlo.ini");
    BenchHost host;
    VexloPro engine(settings, *platform, host, folder + "program/");
    return BestSeconds(kRepeats, [&] { engine.ApplyWallpaper(picture, engine.WallpaperBitmap()); });
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    const QImage photo = MakePhotoLikePicture();
    WriteBenchPictures(photo, folder);
    const std::string jpeg = folder + "baseline.jpg";

    test::XServer one(3840, 2160);
    test::XServer two(7680, 2160);
    if (!test::DefineMonitors(two.Display(),
                              {{"A", 0, 0, 3840, 2160, true}, {"B", 3840, 0, 3840, 2160, false}})) {
        std::fprintf(stderr, "the X server would not take two monitors\n");
        return 1;
    }
    const double oneScreen = ApplySeconds(one, folder + "one/", jpeg);
    const double twoScreens = ApplySeconds(two, folder + "two/", jpeg);
    Report("screens_apply_one_4k", oneScreen * 1000, "ms");
    Report("screens_apply_two_4k", twoScreens * 1000, "ms");
    Report("screens_apply_two_vs_one_ratio", twoScreens / oneScreen, "x");

    // Four screens: a 4K one, a 1440p one stretched, a portrait one, and a
    // 1080p one left of the origin, tiled.
    const QImage rgb = photo.convertToFormat(QImage::Format_RGB32);
    const PixelRows pixels{reinterpret_cast<const std::uint32_t*>(rgb.constBits()), rgb.width(),
                           rgb.height(), rgb.bytesPerLine() / 4};
    ScreensRequest request;
    request.screens = {
        {{"4K", 0, 0, 3840, 2160, true}, pixels, WallpaperPlacement::Centre, {}},
        {{"QHD", 3840, 0, 2560, 1440, false}, pixels, WallpaperPlacement::Stretch, {}},
        {{"portrait", 6400, 0, 1080, 1920, false}, pixels, WallpaperPlacement::Centre, {}},
        {{"HD", -1920, 200, 1920, 1080, false}, pixels, WallpaperPlacement::Tile, {}}};
    const ScreenArea box = BoundingBox(request.screens);
    const double composedBytes = 4.0 * box.width * box.height;
    bool written = false;
    const long peak =
        PeakExtraBytes([&] { written = ComposeScreens(request, folder + "composed.bmp"); });
    if (!written) {
        std::fprintf(stderr, "the composed picture could not be written\n");
        return 1;
    }
    Report("screens_compose_bitmap", composedBytes / (1 << 20), "MiB");
    Report("screens_compose_peak", peak / double(1 << 20), "MiB");
    Report("screens_compose_peak_ratio", peak / composedBytes, "x");
    const double composeSeconds =
        BestSeconds(3, [&] { ComposeScreens(request, folder + "composed.bmp"); });
    Report("screens_compose_time", composeSeconds * 1000, "ms");
    return 0;
}
