#pragma once

#include <QFile>
#include <QRgb>
#include <array>
#include <cstdint>

namespace vexlo {

// Compression codes of the BMP header that the reader knows.
enum BmpCompression : std::uint32_t {
    kBmpRgb = 0,
    kBmpRle8 = 1,
    kBmpRle4 = 2,
    kBmpBitfields = 3,
    kBmpAlphaBitfields = 6,
};

// What the reader needs from the headers of a BMP file, already checked for
// consistency and against the file's length.
struct BmpHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBmpRgb;
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha (16 and 32 bits)
    std::array<QRgb, 256> palette{};       // unused entries are opaque black
    std::int64_t dataOffset = 0;
    std::int64_t dataSize = 0;  // bytes from dataOffset to the end of the file
    // As the file declares them: the bitmap header's size, the planes, and
    // the pixel data offset (0 when the file leaves it out).
    std::int64_t infoSize = 0;
    int planes = 0;
    std::int64_t declaredOffset = 0;

    std::int64_t RowBytes() const { return ((width * bitsPerPixel + 31) / 32) * 4; }
};

// Reads and checks the file header, the bitmap header, the masks and the
// colour table; throws VexloError with a clear message for a file that is
// not a BMP, is damaged, declares too large a picture, or promises more
// pixel data than it holds. Leaves the file positioned anywhere.
BmpHeader ReadBmpHeader(QFile& file);

}  // namespace vexlo
