// Decoding, writing and scaling a 3840 x 2160 picture, each beside the
// library doing the same work alone. Prints "NAME VALUE UNIT" lines.
// With --make-pictures DIR it only writes the test pictures (for compare.sh).

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <functional>

#include "BenchPictures.h"
#include "LibraryAlone.h"
#include "LineReporter.h"
#include "picture/BmpReader.h"
#include "picture/BmpWriter.h"
#include "picture/JpegDecoder.h"
#include "picture/PngDecoder.h"
#include "picture/Scaler.h"

using namespace vexlo;
using namespace vexlo::bench;

namespace {

void Register(const char* name, std::function<void()> work) {
    benchmark::RegisterBenchmark(name,
                                 [work](benchmark::State& state) {
                                     for (auto _ : state) {
                                         work();
                                     }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0)
        ->UseRealTime();
}

void PrintRatio(const std::map<std::string, double>& ms, const char* name, const char* ours,
                const char* floor) {
    if (ms.count(ours) && ms.count(floor) && ms.at(floor) > 0) {
        std::printf("%s %.3f ratio\n", name, ms.at(ours) / ms.at(floor));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--make-pictures") == 0) {
        WriteBenchPictures(MakePhotoLikePicture(), argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const QImage picture = MakePhotoLikePicture();
    WriteBenchPictures(picture, folder);
    const std::string baseline = folder + "/baseline.jpg";
    const std::string progressive = folder + "/progressive.jpg";
    const std::string png = folder + "/picture.png";
    const std::string bmp = folder + "/picture.bmp";
    const std::string out = folder + "/wallpaper.bmp";
    std::vector<std::uint8_t> buffer;
    LibjpegDecode(baseline, buffer);
    const std::vector<std::uint8_t> finishedBmp = MakeBmpBytes(buffer, 3840, 2160);

    Register("picture_libjpeg_alone_baseline", [&] { LibjpegDecode(baseline, buffer); });
    Register("picture_libjpeg_alone_progressive", [&] { LibjpegDecode(progressive, buffer); });
    Register("picture_libpng_alone", [&] { LibpngDecode(png, buffer); });
    Register("picture_bmp_write_alone", [&] { StdioWriteFile(finishedBmp, out, false); });
    Register("picture_bmp_write_alone_synced", [&] { StdioWriteFile(finishedBmp, out, true); });
    Register("picture_DecodeJpegFile_baseline", [&] { DecodeJpegFile(baseline); });
    Register("picture_DecodeJpegFile_progressive", [&] { DecodeJpegFile(progressive); });
    Register("picture_DecodePngFile", [&] { DecodePngFile(png); });
    Register("picture_DecodeBmpFile", [&] { DecodeBmpFile(bmp); });
    Register("picture_SaveBmpFile", [&] { SaveBmpFile(picture, out); });
    Register("picture_ScaleAreaAverage_4k_to_1080p",
             [&] { ScaleAreaAverage(picture, 1920, 1080); });

    LineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& ms = reporter.Milliseconds();
    PrintRatio(ms, "picture_jpeg_baseline_decode_over_libjpeg", "picture_DecodeJpegFile_baseline",
               "picture_libjpeg_alone_baseline");
    PrintRatio(ms, "picture_jpeg_progressive_decode_over_libjpeg",
               "picture_DecodeJpegFile_progressive", "picture_libjpeg_alone_progressive");
    PrintRatio(ms, "picture_png_decode_over_libpng", "picture_DecodePngFile",
               "picture_libpng_alone");
    PrintRatio(ms, "picture_bmp_save_over_write_alone", "picture_SaveBmpFile",
               "picture_bmp_write_alone");
    PrintRatio(ms, "picture_bmp_save_over_synced_write_alone", "picture_SaveBmpFile",
               "picture_bmp_write_alone_synced");
    benchmark::Shutdown();
    return 0;
}
