// Writes the seed corpus of the fuzz targets: small pictures of each variant
// the decoders read, and cut and changed copies of them, into DIR/jpeg,
// DIR/png, DIR/gif and DIR/bmp.

#include <png.h>

#include <QDir>
#include <cstdio>
#include <random>

#include "support/PictureWriters.h"

using namespace vexlo::testing;

namespace {

void AddDamaged(const std::string& folder, const std::string& name, std::mt19937& random) {
    const auto good = ReadBytes(folder + "/" + name);
    for (int i = 0; i < 8; ++i) {
        auto cut = good;
        cut.resize(random() % good.size());
        WriteBytes(cut, folder + "/" + name + ".cut" + std::to_string(i));
        auto changed = good;
        for (int j = 0; j < 3; ++j) {
            changed[random() % changed.size()] = static_cast<std::uint8_t>(random());
        }
        WriteBytes(changed, folder + "/" + name + ".changed" + std::to_string(i));
    }
}

void MakeJpegs(const std::string& folder) {
    const QImage pattern = MakeBlockPattern(24, 20);
    WriteJpeg(pattern, folder + "/baseline.jpg");
    WriteJpeg(pattern, folder + "/progressive.jpg", {.progressive = true});
    WriteJpeg(pattern, folder + "/grey.jpg", {.colour = JpegColour::Grey});
    WriteJpeg(pattern, folder + "/cmyk.jpg", {.colour = JpegColour::Cmyk});
    WriteJpeg(pattern, folder + "/ycck.jpg", {.colour = JpegColour::Ycck});
    WriteJpeg(pattern, folder + "/restart.jpg", {.restartRows = 1});
}

void MakePngs(const std::string& folder) {
    WritePngImage(MakeBlockPattern(20, 9), folder + "/rgb.png");
    WritePngImage(MakeBlockPattern(20, 9), folder + "/adam7.png", true);
    QImage alpha = MakeBlockPattern(6, 6).convertToFormat(QImage::Format_ARGB32);
    alpha.setPixel(1, 1, qRgba(9, 9, 9, 9));
    WritePngImage(alpha, folder + "/rgba.png");
    PngLayout palette{.width = 5, .height = 2, .colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 2};
    palette.palette = {qRgb(1, 2, 3), qRgb(200, 0, 0)};
    palette.paletteAlpha = {0};
    palette.rows.assign(2, {0x1b, 0x40});
    WritePng(palette, folder + "/palette.png");
    PngLayout grey{.width = 3, .height = 2, .colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = 16};
    grey.rows.assign(2, {0, 0, 0x80, 0x80, 0xff, 0xff});
    grey.transparentColour = {0};
    WritePng(grey, folder + "/grey16.png");
}

void MakeGifs(const std::string& folder) {
    GifLayout layout{
        .screenWidth = 9, .screenHeight = 9, .left = 1, .top = 1, .width = 7, .height = 6};
    layout.palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 42; ++i) {
        layout.indices.push_back(static_cast<std::uint8_t>(i % 4));
    }
    WriteGif(layout, folder + "/plain.gif");
    layout.interlaced = true;
    layout.localMap = true;
    layout.transparentIndex = 3;
    WriteGif(layout, folder + "/interlaced.gif");
}

void MakeBmps(const std::string& folder) {
    const std::vector<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    WriteBytes(MakeBmp({.width = 3,
                        .height = 2,
                        .bitsPerPixel = 24,
                        .pixels = std::vector<std::uint8_t>(24, 7)}),
               folder + "/rgb24.bmp");
    WriteBytes(MakeBmp({.headerSize = 12,
                        .width = 9,
                        .height = 2,
                        .bitsPerPixel = 1,
                        .palette = {palette[0], palette[1]},
                        .pixels = {0xa5, 0x80, 0, 0, 0x5a, 0, 0, 0}}),
               folder + "/core1.bmp");
    WriteBytes(MakeBmp({.width = 6,
                        .height = -2,
                        .bitsPerPixel = 8,
                        .palette = palette,
                        .pixels = {0, 1, 2, 0, 1, 2, 0, 0, 2, 1, 0, 2, 1, 0, 0, 0}}),
               folder + "/topdown8.bmp");
    WriteBytes(MakeBmp({.width = 6,
                        .height = 3,
                        .bitsPerPixel = 8,
                        .compression = 1,
                        .palette = palette,
                        .pixels = {3, 1, 0, 3, 2, 0, 1, 0, 0, 0, 0, 2, 2, 1, 2, 2, 0, 1}}),
               folder + "/rle8.bmp");
    WriteBytes(MakeBmp({.width = 5,
                        .height = 2,
                        .bitsPerPixel = 4,
                        .compression = 2,
                        .palette = palette,
                        .pixels = {3, 0x12, 0, 3, 0x20, 0x10, 0, 0, 5, 0x21, 0, 1}}),
               folder + "/rle4.bmp");
    WriteBytes(MakeBmp({.headerSize = 124,
                        .width = 2,
                        .height = 1,
                        .bitsPerPixel = 32,
                        .compression = 3,
                        .masks = {0xff0000, 0xff00, 0xff, 0xff000000},
                        .pixels = {1, 2, 3, 4, 5, 6, 7, 8}}),
               folder + "/v5alpha.bmp");
    WriteBytes(MakeBmp({.width = 2,
                        .height = 2,
                        .bitsPerPixel = 16,
                        .compression = 3,
                        .masks = {0xf800, 0x07e0, 0x001f},
                        .pixels = std::vector<std::uint8_t>(8, 0x35)}),
               folder + "/rgb565.bmp");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    std::mt19937 random(20240611);
    const std::pair<const char*, void (*)(const std::string&)> formats[] = {
        {"jpeg", MakeJpegs}, {"png", MakePngs}, {"gif", MakeGifs}, {"bmp", MakeBmps}};
    for (const auto& [name, make] : formats) {
        const std::string folder = root + "/" + name;
        QDir(QString::fromStdString(folder)).removeRecursively();
        QDir().mkpath(QString::fromStdString(folder));
        make(folder);
        for (const QString& file : QDir(QString::fromStdString(folder)).entryList(QDir::Files)) {
            AddDamaged(folder, file.toStdString(), random);
        }
    }
    return 0;
}
