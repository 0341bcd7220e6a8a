// ApplyWallpaper of 3840 x 2160 pictures on a 1920 x 1080 desktop, unscaled
// and shrunk, beside decoding alone + writing alone, beside the whole-process
// tools djpeg -bmp and vipsthumbnail, and its peak memory against the decoded
// 32-bit bitmap. Prints "NAME VALUE UNIT" lines.
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ApplyMemory.h"
#include "BenchHost.h"
#include "BenchPictures.h"
#include "LibraryAlone.h"
#include "RecordingPlatform.h"
#include "SettingsStore.h"
#include "VexloPro.h"
#include "picture/BmpReader.h"

using namespace vexlo;
using namespace vexlo::bench;

namespace {

constexpr int kRepeats = 5;

// Best wall time of a whole command, process start included; negative when
// the tool is not installed.
double ToolSeconds(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        return -1;
    }
    return BestSeconds(kRepeats, [&] {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(-1);
    });
}

struct Bench {
    QTemporaryDir dir;
    std::string pictures = dir.path().toStdString() + "/";
    std::string program = pictures + "program/";
    std::unique_ptr<SettingsStore> settings;
    RecordingPlatform platform;
    BenchHost host;
    std::unique_ptr<VexloPro> engine;

    Bench() {
        QDir().mkpath(QString::fromStdString(program));
        WriteBenchPictures(MakePhotoLikePicture(), pictures);
        settings = std::make_unique<SettingsStore>(program + "Vexlo.ini");
        engine = std::make_unique<VexloPro>(*settings, platform, host, program);
    }
    double Apply(const std::string& name) {
        return BestSeconds(
            kRepeats, [&] { engine->ApplyWallpaper(pictures + name, engine->WallpaperBitmap()); });
    }
};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    Bench bench;
    const std::string out = bench.pictures + "alone.bmp";
    std::vector<std::uint8_t> buffer;

    // The floors, measured here.
    const double jpegAlone =
        BestSeconds(kRepeats, [&] { LibjpegDecode(bench.pictures + "baseline.jpg", buffer); });
    const double progressiveAlone =
        BestSeconds(kRepeats, [&] { LibjpegDecode(bench.pictures + "progressive.jpg", buffer); });
    const double pngAlone =
        BestSeconds(kRepeats, [&] { LibpngDecode(bench.pictures + "picture.png", buffer); });
    const double bmpAlone =
        BestSeconds(kRepeats, [&] { DecodeBmpFile(bench.pictures + "picture.bmp"); });
    // Written beside the target, synced and renamed, as the apply's writer does.
    const std::vector<std::uint8_t> bmpBytes = MakeBmpBytes(buffer, 3840, 2160);
    const double writeAlone = BestSeconds(kRepeats, [&] { StdioWriteFile(bmpBytes, out, true); });

    // Unscaled: the defaults centre a larger picture as it is.
    bench.platform.SetDesktopSize(1920, 1080);
    const struct {
        const char* label;
        const char* file;
        double decodeAlone;
    } kinds[] = {{"jpeg_baseline", "baseline.jpg", jpegAlone},
                 {"jpeg_progressive", "progressive.jpg", progressiveAlone},
                 {"png", "picture.png", pngAlone},
                 {"bmp", "picture.bmp", bmpAlone}};
    double unscaledJpeg = 0;
    for (const auto& kind : kinds) {
        const double apply = bench.Apply(kind.file);
        if (std::string(kind.label) == "jpeg_baseline") {
            unscaledJpeg = apply;
        }
        Report(std::string("apply_unscaled_") + kind.label, apply * 1e3, "ms");
        Report(std::string("apply_unscaled_") + kind.label + "_vs_decode_plus_write",
               apply / (kind.decodeAlone + writeAlone), "x");
    }

    // Shrinking: a 16:10 desktop with a deformation limit of 0 refuses to
    // stretch the 16:9 picture, so it is scaled to 1920 x 1080 and centred.
    bench.platform.SetDesktopSize(1920, 1200);
    bench.settings->WriteBool("Larger", "Stretch Wallpaper", true);
    bench.settings->WriteBool("Deform", "UseDeform", true);
    bench.settings->WriteInteger("Deform", "Size", 0);
    const double shrinkJpeg = bench.Apply("baseline.jpg");
    Report("apply_shrink_jpeg_baseline", shrinkJpeg * 1e3, "ms");
    Report("apply_shrink_png", bench.Apply("picture.png") * 1e3, "ms");

    const QString jpeg = QString::fromStdString(bench.pictures + "baseline.jpg");
    const double djpeg =
        ToolSeconds("djpeg", {"-bmp", "-outfile", QString::fromStdString(out), jpeg});
    if (djpeg > 0) {
        Report("apply_jpeg_4k_djpeg_bmp", djpeg * 1e3, "ms");
        Report("apply_jpeg_4k_vs_djpeg", unscaledJpeg / djpeg, "x");
    }
    const double vips = ToolSeconds(
        "vipsthumbnail",
        {"-s", "1920x1080", "-o", QString::fromStdString(bench.pictures + "thumb.bmp"), jpeg});
    if (vips > 0) {
        Report("apply_jpeg_4k_vipsthumbnail", vips * 1e3, "ms");
        Report("apply_shrink_jpeg_4k_vs_vipsthumbnail", shrinkJpeg / vips, "x");
    }

    // Peak memory against the decoded 32-bit bitmap (3840 x 2160 x 4 bytes).
    const double bitmapBytes = 3840.0 * 2160.0 * 4.0;
    bench.platform.SetDesktopSize(1920, 1080);
    bench.settings->WriteBool("Larger", "Stretch Wallpaper", false);
    for (const auto& kind : kinds) {
        const long peak = PeakExtraBytes([&] {
            bench.engine->ApplyWallpaper(bench.pictures + kind.file,
                                         bench.engine->WallpaperBitmap());
        });
        Report(std::string("apply_peak_memory_") + kind.label + "_vs_bitmap", peak / bitmapBytes,
               "x");
    }
    bench.platform.SetDesktopSize(1920, 1200);
    bench.settings->WriteBool("Larger", "Stretch Wallpaper", true);
    const long shrinkPeak = PeakExtraBytes([&] {
        bench.engine->ApplyWallpaper(bench.pictures + "baseline.jpg",
                                     bench.engine->WallpaperBitmap());
    });
    Report("apply_peak_memory_shrink_jpeg_vs_bitmap", shrinkPeak / bitmapBytes, "x");
    return 0;
}
