#include <png.h>
#include <zlib.h>

#include "PictureTestSupport.h"
#include "picture/PngDecoder.h"

namespace vexlo::testing {
namespace {

class PngDecoderTest : public PictureTest {
protected:
    QImage Decode(const PngLayout& layout) {
        WritePng(layout, Path("p.png"));
        return DecodePngFile(Path("p.png"));
    }
};

// Rows of `width` samples of `bits` each, packed big-endian as PNG stores them.
std::vector<std::uint8_t> PackSamples(const std::vector<int>& samples, int bits) {
    std::vector<std::uint8_t> row((samples.size() * static_cast<std::size_t>(bits) + 7) / 8, 0);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (bits == 16) {
            row[2 * i] = static_cast<std::uint8_t>(samples[i] >> 8);
            row[2 * i + 1] = static_cast<std::uint8_t>(samples[i]);
        } else {
            const std::size_t bit = i * static_cast<std::size_t>(bits);
            row[bit / 8] |= static_cast<std::uint8_t>(samples[i] << (8 - bits - bit % 8));
        }
    }
    return row;
}

TEST_F(PngDecoderTest, PaletteAtEveryDepthWithAndWithoutTrns) {
    for (int bits : {1, 2, 4, 8}) {
        PngLayout layout{
            .width = 3, .height = 2, .colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = bits};
        layout.palette = {qRgb(10, 20, 30), qRgb(200, 100, 50)};
        layout.rows = {PackSamples({0, 1, 1}, bits), PackSamples({1, 0, 0}, bits)};
        QImage image = Decode(layout);
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << bits;
        EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30)) << bits;
        EXPECT_EQ(image.pixel(2, 0), qRgb(200, 100, 50)) << bits;
        EXPECT_EQ(image.pixel(0, 1), qRgb(200, 100, 50)) << bits;

        layout.paletteAlpha = {0};
        image = Decode(layout);
        EXPECT_EQ(image.format(), QImage::Format_ARGB32) << bits;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << bits;
        EXPECT_EQ(image.pixel(1, 0), qRgb(200, 100, 50)) << bits;
    }
}

TEST_F(PngDecoderTest, GreyAtEveryDepthAndGreyWithAlpha) {
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {1, {0, 1}}, {2, {0, 3}}, {4, {0, 15}}, {8, {0, 255}}, {16, {0, 65535}}};
    for (const auto& [bits, samples] : cases) {
        PngLayout layout{
            .width = 2, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = bits};
        layout.rows = {PackSamples(samples, bits)};
        const QImage image = Decode(layout);
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0)) << bits;
        EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255)) << bits;
    }
    PngLayout layout{
        .width = 2, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY_ALPHA, .bitDepth = 8};
    layout.rows = {{100, 255, 50, 128}};
    const QImage image = Decode(layout);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(image.pixel(0, 0), qRgba(100, 100, 100, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgba(50, 50, 50, 128));
}

TEST_F(PngDecoderTest, SixteenBitRgbAndRgbaAndColourKey) {
    PngLayout layout{.width = 2, .height = 1, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 16};
    layout.rows = {PackSamples({65535, 0, 32896, 0, 257, 65535}, 16)};
    QImage image = Decode(layout);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 128));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 1, 255));

    layout.transparentColour = {0, 257, 65535};
    image = Decode(layout);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 128));
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);

    PngLayout rgba{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_RGB_ALPHA, .bitDepth = 8};
    rgba.rows = {{1, 2, 3, 4}};
    image = Decode(rgba);
    EXPECT_EQ(image.pixel(0, 0), qRgba(1, 2, 3, 4));
}

TEST_F(PngDecoderTest, InterlacedGivesTheSamePictureAsSequential) {
    const QImage pattern = MakeBlockPattern(37, 29);
    WritePngImage(pattern, Path("plain.png"), false);
    WritePngImage(pattern, Path("adam7.png"), true);
    const QImage plain = DecodePngFile(Path("plain.png"));
    const QImage adam7 = DecodePngFile(Path("adam7.png"));
    EXPECT_EQ(plain, pattern);
    EXPECT_EQ(adam7, pattern);
}

TEST_F(PngDecoderTest, BadInputsGiveLibpngsOwnMessage) {
    WriteBytes({'G', 'I', 'F', '8', '9', 'a', 0, 0}, Path("gif.png"));
    EXPECT_EQ(ErrorOf([&] { DecodePngFile(Path("gif.png")); }), "Not a PNG file");

    WritePngImage(MakeBlockPattern(40, 40), Path("good.png"));
    auto bytes = ReadBytes(Path("good.png"));
    bytes[20] ^= 0x55;  // inside IHDR: its CRC no longer matches
    WriteBytes(bytes, Path("crc.png"));
    EXPECT_EQ(ErrorOf([&] { DecodePngFile(Path("crc.png")); }), "IHDR: CRC error");

    bytes = ReadBytes(Path("good.png"));
    ASSERT_GT(bytes.size(), 40u);
    bytes.erase(bytes.end() - 40, bytes.end());
    WriteBytes(bytes, Path("cut.png"));
    EXPECT_EQ(ErrorOf([&] { DecodePngFile(Path("cut.png")); }), "Premature end of PNG file");
}

TEST_F(PngDecoderTest, HugeDeclaredSizeIsRefusedBeforeAllocating) {
    // A well-formed file (valid CRCs, a little image data) whose IHDR
    // declares 100000 x 100000 pixels.
    std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    auto chunk = [&](const char* type, const std::vector<std::uint8_t>& data) {
        for (int shift : {24, 16, 8, 0}) {
            bytes.push_back(static_cast<std::uint8_t>(data.size() >> shift));
        }
        const std::size_t start = bytes.size();
        bytes.insert(bytes.end(), type, type + 4);
        bytes.insert(bytes.end(), data.begin(), data.end());
        const uLong crc = crc32(0, bytes.data() + start, static_cast<uInt>(bytes.size() - start));
        for (int shift : {24, 16, 8, 0}) {
            bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
        }
    };
    chunk("IHDR", {0, 1, 0x86, 0xa0, 0, 1, 0x86, 0xa0, 8, 0, 0, 0, 0});
    std::vector<std::uint8_t> zeros(64, 0), packed(128);
    uLongf packedSize = packed.size();
    compress(packed.data(), &packedSize, zeros.data(), zeros.size());
    packed.resize(packedSize);
    chunk("IDAT", packed);
    chunk("IEND", {});
    WriteBytes(bytes, Path("huge.png"));
    const std::string message = ErrorOf([&] { DecodePngFile(Path("huge.png")); });
    EXPECT_EQ(message.rfind("Picture is too large: 100000 x 100000 pixels", 0), 0u) << message;
}

}  // namespace
}  // namespace vexlo::testing
