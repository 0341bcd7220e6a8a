#include "PictureTestSupport.h"
#include "picture/JpegDecoder.h"

namespace vexlo::testing {
namespace {

class JpegDecoderTest : public PictureTest {
protected:
    // Decodes a block pattern written with `options` and checks block centres.
    void ExpectPatternSurvives(const JpegOptions& options, bool grey = false) {
        const QImage pattern = MakeBlockPattern(70, 45);  // not a multiple of the MCU size
        WriteJpeg(pattern, Path("p.jpg"), options);
        const QImage image = DecodeJpegFile(Path("p.jpg"));
        ASSERT_EQ(image.size(), QSize(70, 45));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        for (int y = 8; y < 45; y += 16) {
            for (int x = 8; x < 70; x += 16) {
                QRgb expected = BlockColour(x, y);
                if (grey) {
                    expected = qRgb(qGray(expected), qGray(expected), qGray(expected));
                }
                EXPECT_TRUE(Near(image.pixel(x, y), expected, 8))
                    << "at " << x << "," << y << ": " << std::hex << image.pixel(x, y)
                    << " expected " << expected;
            }
        }
    }
};

TEST_F(JpegDecoderTest, DecodesEveryColourLayoutAndCoding) {
    ExpectPatternSurvives({});
    ExpectPatternSurvives({.progressive = true});
    ExpectPatternSurvives({.restartRows = 1});
    ExpectPatternSurvives({.progressive = true, .restartRows = 2});
    ExpectPatternSurvives({.colour = JpegColour::Grey}, true);
    ExpectPatternSurvives({.colour = JpegColour::Grey, .progressive = true}, true);
}

TEST_F(JpegDecoderTest, DecodesCmykPlainAndAdobeInvertedAndYcck) {
    ExpectPatternSurvives({.colour = JpegColour::Cmyk});
    ExpectPatternSurvives({.colour = JpegColour::CmykAdobe});
    ExpectPatternSurvives({.colour = JpegColour::Ycck});
}

TEST_F(JpegDecoderTest, TruncatedFileStillGivesThePictureWithGreyForTheMissingPart) {
    WriteJpeg(MakeBlockPattern(64, 64), Path("whole.jpg"), {.quality = 100});
    auto bytes = ReadBytes(Path("whole.jpg"));
    // Cut halfway through the entropy-coded data that follows the scan header.
    std::size_t scan = 0;
    while (scan + 1 < bytes.size() && !(bytes[scan] == 0xff && bytes[scan + 1] == 0xda)) {
        ++scan;
    }
    bytes.resize(scan + (bytes.size() - scan) / 2);
    WriteBytes(bytes, Path("half.jpg"));
    const QImage image = DecodeJpegFile(Path("half.jpg"));
    ASSERT_EQ(image.size(), QSize(64, 64));
    EXPECT_TRUE(Near(image.pixel(8, 8), BlockColour(8, 8), 8));
    EXPECT_TRUE(Near(image.pixel(60, 62), qRgb(128, 128, 128), 2));
}

TEST_F(JpegDecoderTest, BadInputsGiveLibjpegsOwnMessage) {
    WriteBytes({}, Path("empty.jpg"));
    EXPECT_EQ(ErrorOf([&] { DecodeJpegFile(Path("empty.jpg")); }), "Empty input file");

    WriteBytes({0x89, 'P', 'N', 'G', 0, 0, 0, 0}, Path("png.jpg"));
    EXPECT_EQ(ErrorOf([&] { DecodeJpegFile(Path("png.jpg")); }),
              "Not a JPEG file: starts with 0x89 0x50");

    // Only the start of the header: no frame, no scan.
    WriteJpeg(MakeBlockPattern(16, 16), Path("whole.jpg"));
    auto bytes = ReadBytes(Path("whole.jpg"));
    bytes.resize(4);
    WriteBytes(bytes, Path("cut.jpg"));
    EXPECT_FALSE(ErrorOf([&] { DecodeJpegFile(Path("cut.jpg")); }).empty());
}

TEST_F(JpegDecoderTest, MissingFileNamesThePath) {
    const std::string message = ErrorOf([&] { DecodeJpegFile(Path("absent.jpg")); });
    EXPECT_NE(message.find("absent.jpg"), std::string::npos) << message;
}

// The frame header (SOF) holds the height and width as big-endian 16-bit
// numbers three and five bytes after its length.
void SetJpegSize(std::vector<std::uint8_t>& bytes, int width, int height) {
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xff && (bytes[i + 1] == 0xc0 || bytes[i + 1] == 0xc2)) {
            bytes[i + 5] = static_cast<std::uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<std::uint8_t>(height);
            bytes[i + 7] = static_cast<std::uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<std::uint8_t>(width);
            return;
        }
    }
    FAIL() << "no frame header";
}

TEST_F(JpegDecoderTest, HugeDeclaredSizeIsRefusedBeforeDecoding) {
    for (bool progressive : {false, true}) {
        WriteJpeg(MakeBlockPattern(16, 16), Path("small.jpg"), {.progressive = progressive});
        auto bytes = ReadBytes(Path("small.jpg"));
        SetJpegSize(bytes, 65000, 65000);
        WriteBytes(bytes, Path("huge.jpg"));
        const std::string message = ErrorOf([&] { DecodeJpegFile(Path("huge.jpg")); });
        EXPECT_EQ(message.rfind("Picture is too large: 65000 x 65000 pixels", 0), 0u) << message;
    }
}

TEST_F(JpegDecoderTest, EndlessProgressiveScansAreCutShort) {
    // The last scan repeated 600 times: libjpeg would only warn about each.
    WriteJpeg(MakeBlockPattern(16, 16), Path("p.jpg"), {.progressive = true});
    auto bytes = ReadBytes(Path("p.jpg"));
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xff && bytes[i + 1] == 0xda) {
            lastScan = i;
        }
    }
    const std::vector<std::uint8_t> scan(bytes.begin() + static_cast<std::ptrdiff_t>(lastScan),
                                         bytes.end() - 2);  // without EOI
    bytes.resize(lastScan);
    for (int i = 0; i < 600; ++i) {
        bytes.insert(bytes.end(), scan.begin(), scan.end());
    }
    bytes.insert(bytes.end(), {0xff, 0xd9});
    WriteBytes(bytes, Path("endless.jpg"));
    EXPECT_EQ(ErrorOf([&] { DecodeJpegFile(Path("endless.jpg")); }),
              "Progressive JPEG has more than 500 scans");
}

}  // namespace
}  // namespace vexlo::testing
