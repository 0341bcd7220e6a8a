// Damaged and truncated copies of good pictures of every format: each must
// either decode or throw VexloError with a message; never crash, hang, leak
// or throw anything else (the sanitizer build checks the first and third).

#include <png.h>

#include <QFile>
#include <QScopeGuard>
#include <functional>

#include "PictureTestSupport.h"
#include "picture/BmpReader.h"
#include "picture/GifDecoder.h"
#include "picture/JpegDecoder.h"
#include "picture/PngDecoder.h"

namespace vexlo::testing {
namespace {

using Decoder = std::function<QImage(const std::string&)>;

class DamagedFilesTest : public PictureTest {
protected:
    // Decodes every cut and every one-byte change of each good file.
    void ExpectNoCrash(const std::vector<std::string>& goodFiles, const Decoder& decode) {
        int decoded = 0;
        int refused = 0;
        auto attempt = [&](const std::vector<std::uint8_t>& bytes, const std::string& what) {
            // A new file each time: rewriting one file in place makes ext4
            // flush it at every truncation, which is far slower.
            const std::string path = Path("damaged" + std::to_string(decoded + refused));
            WriteBytes(bytes, path);
            const auto removeFile =
                qScopeGuard([&] { QFile::remove(QString::fromStdString(path)); });
            try {
                const QImage image = decode(path);
                EXPECT_FALSE(image.isNull()) << what;
                ++decoded;
            } catch (const VexloError& error) {
                EXPECT_STRNE(error.what(), "") << what;
                ++refused;
            }
        };
        for (const std::string& good : goodFiles) {
            const auto bytes = ReadBytes(good);
            ASSERT_FALSE(decode(good).isNull()) << good;
            for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
                attempt({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)},
                        good + " cut at " + std::to_string(cut));
            }
            for (std::size_t at = 0; at < bytes.size(); ++at) {
                for (std::uint8_t change : {0x01, 0x80, 0xff}) {
                    auto damaged = bytes;
                    damaged[at] = change == 0xff ? 0xff : damaged[at] ^ change;
                    attempt(damaged, good + " byte " + std::to_string(at) + " changed");
                }
            }
        }
        EXPECT_GT(refused, 0);
        RecordProperty("decoded", decoded);
        RecordProperty("refused", refused);
    }
};

TEST_F(DamagedFilesTest, Jpeg) {
    const QImage pattern = MakeBlockPattern(40, 30);
    const std::vector<std::pair<std::string, JpegOptions>> variants = {
        {"baseline.jpg", {}},
        {"progressive.jpg", {.progressive = true}},
        {"grey.jpg", {.colour = JpegColour::Grey}},
        {"cmyk.jpg", {.colour = JpegColour::CmykAdobe}},
        {"restart.jpg", {.restartRows = 1}},
    };
    std::vector<std::string> files;
    for (const auto& [name, options] : variants) {
        WriteJpeg(pattern, Path(name),
                  {.colour = options.colour,
                   .progressive = options.progressive,
                   .quality = 50,
                   .restartRows = options.restartRows});
        files.push_back(Path(name));
    }
    ExpectNoCrash(files, DecodeJpegFile);
}

TEST_F(DamagedFilesTest, Png) {
    WritePngImage(MakeBlockPattern(20, 12), Path("rgb.png"), true);
    QImage alpha = MakeBlockPattern(10, 10).convertToFormat(QImage::Format_ARGB32);
    alpha.setPixel(3, 3, qRgba(1, 2, 3, 4));
    WritePngImage(alpha, Path("rgba.png"));
    PngLayout palette{.width = 9, .height = 5, .colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 4};
    palette.palette = {qRgb(1, 2, 3), qRgb(200, 0, 0), qRgb(0, 200, 0)};
    palette.paletteAlpha = {0, 255};
    palette.rows.assign(5, {0x01, 0x21, 0x12, 0x00, 0x20});
    WritePng(palette, Path("palette.png"));
    ExpectNoCrash({Path("rgb.png"), Path("rgba.png"), Path("palette.png")}, DecodePngFile);
}

TEST_F(DamagedFilesTest, Gif) {
    GifLayout layout{
        .screenWidth = 12, .screenHeight = 10, .left = 1, .top = 2, .width = 10, .height = 7};
    layout.palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 70; ++i) {
        layout.indices.push_back(static_cast<std::uint8_t>((i * 7 / 3) % 4));
    }
    WriteGif(layout, Path("plain.gif"));
    layout.interlaced = true;
    layout.localMap = true;
    layout.transparentIndex = 2;
    WriteGif(layout, Path("interlaced.gif"));
    ExpectNoCrash({Path("plain.gif"), Path("interlaced.gif")}, DecodeGifFile);
}

TEST_F(DamagedFilesTest, Bmp) {
    const std::vector<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    std::vector<BmpLayout> layouts;
    layouts.push_back({.width = 5,
                       .height = 3,
                       .bitsPerPixel = 24,
                       .pixels = std::vector<std::uint8_t>(48, 0x5a)});
    layouts.push_back({.headerSize = 12,
                       .width = 6,
                       .height = 2,
                       .bitsPerPixel = 1,
                       .palette = {palette[0], palette[1]},
                       .pixels = {0xa0, 0, 0, 0, 0x50, 0, 0, 0}});
    layouts.push_back({.width = 6,
                       .height = 3,
                       .bitsPerPixel = 8,
                       .compression = 1,
                       .palette = palette,
                       .pixels = {3, 1, 0, 3, 2, 0, 1, 0, 0, 0, 0, 2, 2, 1, 2, 2, 0, 1}});
    layouts.push_back({.width = 5,
                       .height = 1,
                       .bitsPerPixel = 4,
                       .compression = 2,
                       .palette = palette,
                       .pixels = {3, 0x12, 0, 3, 0x20, 0x10, 0, 0, 0, 1}});
    layouts.push_back({.headerSize = 108,
                       .width = 2,
                       .height = 2,
                       .bitsPerPixel = 32,
                       .compression = 3,
                       .masks = {0xff0000, 0xff00, 0xff, 0xff000000},
                       .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}});
    layouts.push_back({.width = 3,
                       .height = 2,
                       .bitsPerPixel = 16,
                       .compression = 3,
                       .masks = {0xf800, 0x07e0, 0x001f},
                       .pixels = std::vector<std::uint8_t>(16, 0x37)});
    std::vector<std::string> files;
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        files.push_back(Path("v" + std::to_string(i) + ".bmp"));
        WriteBytes(MakeBmp(layouts[i]), files.back());
    }
    ExpectNoCrash(files, DecodeBmpFile);
}

}  // namespace
}  // namespace vexlo::testing
