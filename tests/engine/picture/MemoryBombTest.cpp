// Pictures that declare far more than they carry: refused before the memory
// is taken, with peak memory measured in a child process.
#include <gmock/gmock.h>
#include <zlib.h>

#include <cstring>

#include "ForkedChild.h"
#include "PictureTestSupport.h"
#include "picture/BmpReader.h"
#include "picture/GifDecoder.h"
#include "picture/PngDecoder.h"
#include "picture/Scaler.h"

namespace vexlo::testing {
namespace {

using ::testing::HasSubstr;

constexpr int kBudgetMiB = 32;

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

// One PNG chunk; `length` may claim more than `data` holds.
void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data,
           std::uint32_t length) {
    Put32(out, length);
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32(out,
          static_cast<std::uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start))));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
    Chunk(out, type, data, static_cast<std::uint32_t>(data.size()));
}

// A PNG of width x height red RGB pixels (only a 1 x 1 is complete), with
// `extra` chunks after the header.
std::vector<std::uint8_t> Png(std::uint32_t width, std::uint32_t height,
                              const std::vector<std::uint8_t>& extra = {}) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> ihdr;
    Put32(ihdr, width);
    Put32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    Chunk(out, "IHDR", ihdr);
    out.insert(out.end(), extra.begin(), extra.end());
    const std::uint8_t row[] = {0, 255, 0, 0};
    std::vector<std::uint8_t> packed(64);
    uLongf size = packed.size();
    compress(packed.data(), &size, row, sizeof row);
    packed.resize(size);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", {});
    return out;
}

class MemoryBombTest : public PictureTest {
protected:
    // The peak memory growth in MiB of decoding `path` in a child, which must
    // fail with a message holding `expected`; 126 when it does not.
    int RefusedWithin(QImage (*decode)(const std::string&), const std::vector<std::uint8_t>& bytes,
                      const std::string& expected) {
        const std::string path = Path("bomb");
        WriteBytes(bytes, path);
        return test::PeakGrowthMiB([&] {
            try {
                decode(path);
            } catch (const VexloError& e) {
                if (std::strstr(e.what(), expected.c_str()) != nullptr) {
                    return;
                }
            }
            throw std::runtime_error("not refused as expected");
        });
    }
};

TEST_F(MemoryBombTest, APngDeclaringAHugeWidthIsRefusedAtItsHeader) {
    const std::vector<std::uint8_t> bytes = Png(0x7fffffff, 1);
    EXPECT_LE(bytes.size(), 69u);
    EXPECT_LT(RefusedWithin(DecodePngFile, bytes, "Picture is too large"), kBudgetMiB);
    EXPECT_LT(RefusedWithin(DecodePngFile, Png(8000, 8000), "too large for its file"), kBudgetMiB);
}

TEST_F(MemoryBombTest, AncillaryPngChunksCostNothing) {
    for (const char* type : {"tEXt", "zTXt", "iCCP", "eXIf", "vxLo"}) {
        std::vector<std::uint8_t> huge;
        Chunk(huge, type, {'k', 0, 'v'}, 0x7fffffff);  // the file ends inside it
        EXPECT_LT(RefusedWithin(DecodePngFile, Png(1, 1, huge), "PNG"), kBudgetMiB) << type;
    }
    // A picture with ordinary text beside its pixels still reads.
    std::vector<std::uint8_t> text;
    Chunk(text, "tEXt", {'T', 'i', 't', 'l', 'e', 0, 'r', 'e', 'd'});
    WriteBytes(Png(1, 1, text), Path("text.png"));
    EXPECT_EQ(DecodePngFile(Path("text.png")).pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(MemoryBombTest, AGifWithAHugeScreenIsRefused) {
    std::vector<std::uint8_t>
        gif = {'G', 'I', 'F', '8', '9', 'a', 0x40, 0x1f, 0x40, 0x1f, 0x80, 0,
               0,   255, 255, 255, 0,   0,   0,    0x2c, 0,    0,    0,    0,
               1,   0,   1,   0,   0,   2,   2,    0x44, 1,    0,    0x3b};  // 8000 x 8000 screen,
                                                                             // one pixel
    EXPECT_LT(RefusedWithin(DecodeGifFile, gif, "too large for its file"), kBudgetMiB);
    gif[6] = gif[7] = gif[8] = gif[9] = 0xff;  // 65535 x 65535
    EXPECT_LT(RefusedWithin(DecodeGifFile, gif, "Picture is too large"), kBudgetMiB);
}

TEST_F(MemoryBombTest, ARleBmpOfAFewBytesIsRefused) {
    BmpLayout rle{.width = 8000, .height = 8000, .bitsPerPixel = 8, .compression = 1};
    rle.palette = {qRgb(255, 0, 0)};
    rle.pixels = {0, 1};  // end of bitmap at once
    EXPECT_LT(RefusedWithin(DecodeBmpFile, MakeBmp(rle), "too large for its file"), kBudgetMiB);
}

TEST_F(MemoryBombTest, TheScalerNeedsMemoryForItsOutputOnly) {
    for (const QSize size : {QSize(1, 1 << 24), QSize(1 << 24, 1)}) {
        QImage tall(size, QImage::Format_RGB32);
        tall.fill(qRgb(0, 0, 255));
        const QSize out = size.width() == 1 ? QSize(1, 1000) : QSize(1000, 1);
        QImage result;
        EXPECT_LT(test::PeakGrowthMiB(
                      [&] { result = ScaleAreaAverage(tall, out.width(), out.height()); }),
                  kBudgetMiB);
        EXPECT_EQ(ScaleAreaAverage(tall, out.width(), out.height()).pixel(0, 0), qRgb(0, 0, 255));
    }
}

}  // namespace
}  // namespace vexlo::testing
