#pragma once

// Writers of test pictures in every variant the decoders must read, built on
// the libraries' own encoders (JPEG, PNG, GIF) or written byte by byte (BMP).
// Shared by the tests, the fuzz corpus and the benchmarks.

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace vexlo::testing {

enum class JpegColour { Rgb, Grey, Cmyk, CmykAdobe, Ycck };

struct JpegOptions {
    JpegColour colour = JpegColour::Rgb;
    bool progressive = false;
    int quality = 95;
    int restartRows = 0;  // restart marker every N MCU rows; 0 for none
};

// Writes `image` as a JPEG. CMYK variants store K = 0 and C, M, Y from the
// colour, inverted in the Adobe manner for CmykAdobe and Ycck.
void WriteJpeg(const QImage& image, const std::string& path, const JpegOptions& options = {});

struct PngLayout {
    int width = 0;
    int height = 0;
    int colourType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::vector<std::uint8_t>> rows{};   // packed as in the file, big-endian samples
    std::vector<QRgb> palette{};                     // for palette pictures
    std::vector<std::uint8_t> paletteAlpha{};        // tRNS for palette pictures
    std::vector<std::uint16_t> transparentColour{};  // tRNS for grey (1 value) or RGB (3)
};

void WritePng(const PngLayout& layout, const std::string& path);

// An 8-bit RGB or RGBA PNG of `image` (RGBA when it has an alpha channel).
void WritePngImage(const QImage& image, const std::string& path, bool interlaced = false);

struct GifLayout {
    int screenWidth = 0;
    int screenHeight = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    bool localMap = false;  // the palette as the image's own map, no global one
    int transparentIndex = -1;
    std::vector<QRgb> palette{};          // a power of two entries, 2 to 256
    std::vector<std::uint8_t> indices{};  // width x height, top row first
};

void WriteGif(const GifLayout& layout, const std::string& path);

struct BmpLayout {
    int headerSize = 40;  // 12, 40, 52, 56, 108 or 124
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for top-down
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks{};  // after a 40-byte header, or inside a longer one
    std::vector<QRgb> palette{};
    std::vector<std::uint8_t> pixels{};  // the pixel data exactly as stored
    std::int64_t dataOffset = -1;        // -1: right after the colour table
};

std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout);

// Rows of a BI_RGB bitmap in file order, each padded to four bytes.
std::vector<std::uint8_t> PackBmpRows(const std::vector<std::vector<std::uint8_t>>& rows);

void WriteBytes(const std::vector<std::uint8_t>& bytes, const std::string& path);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// A picture of flat 16 x 16 blocks in eight distinct colours, so that lossy
// formats keep each block's centre close to its colour.
QImage MakeBlockPattern(int width, int height);
QRgb BlockColour(int x, int y);

}  // namespace vexlo::testing
