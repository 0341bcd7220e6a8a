#include "PictureTestSupport.h"
#include "picture/GifDecoder.h"

namespace vexlo::testing {
namespace {

const std::vector<QRgb> kPalette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0),
                                    qRgb(0, 0, 255)};

// A width x height image whose index at (x, y) is (x + 2y) % 4.
GifLayout MakeLayout(int width, int height) {
    GifLayout layout{
        .screenWidth = width, .screenHeight = height, .width = width, .height = height};
    layout.palette = kPalette;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            layout.indices.push_back(static_cast<std::uint8_t>((x + 2 * y) % 4));
        }
    }
    return layout;
}

class GifDecoderTest : public PictureTest {
protected:
    QImage Decode(const GifLayout& layout) {
        WriteGif(layout, Path("p.gif"));
        return DecodeGifFile(Path("p.gif"));
    }
    void ExpectPattern(const QImage& image, int left, int top, int width, int height) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(image.pixel(left + x, top + y), kPalette[(x + 2 * y) % 4])
                    << x << "," << y;
            }
        }
    }
};

TEST_F(GifDecoderTest, GlobalOrLocalMapInterlacedOrNot) {
    for (bool local : {false, true}) {
        for (bool interlaced : {false, true}) {
            GifLayout layout = MakeLayout(7, 21);  // 21 rows exercise every interlace pass
            layout.localMap = local;
            layout.interlaced = interlaced;
            const QImage image = Decode(layout);
            ASSERT_EQ(image.size(), QSize(7, 21));
            EXPECT_EQ(image.format(), QImage::Format_RGB32);
            ExpectPattern(image, 0, 0, 7, 21);
        }
    }
}

TEST_F(GifDecoderTest, TransparentIndexBecomesTransparent) {
    GifLayout layout = MakeLayout(4, 2);
    layout.transparentIndex = 1;
    const QImage image = Decode(layout);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 255, 0));
}

TEST_F(GifDecoderTest, ImageIsPlacedOnTheLogicalScreen) {
    GifLayout layout = MakeLayout(3, 2);
    layout.screenWidth = 10;
    layout.screenHeight = 6;
    layout.left = 5;
    layout.top = 3;
    const QImage image = Decode(layout);
    ASSERT_EQ(image.size(), QSize(10, 6));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(9, 5)), 0);
    ExpectPattern(image, 5, 3, 3, 2);
}

TEST_F(GifDecoderTest, ScreenSmallerThanTheImageGrowsToHoldIt) {
    GifLayout layout = MakeLayout(6, 4);
    layout.screenWidth = 2;
    layout.screenHeight = 2;
    layout.left = 1;
    const QImage image = Decode(layout);
    ASSERT_EQ(image.size(), QSize(7, 4));
    ExpectPattern(image, 1, 0, 6, 4);
}

TEST_F(GifDecoderTest, BadInputsGiveGiflibsOwnMessage) {
    WriteBytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Path("bmp.gif"));
    EXPECT_EQ(ErrorOf([&] { DecodeGifFile(Path("bmp.gif")); }), "Data is not in GIF format");

    WriteGif(MakeLayout(40, 40), Path("good.gif"));
    auto bytes = ReadBytes(Path("good.gif"));
    bytes.resize(bytes.size() / 2);
    WriteBytes(bytes, Path("cut.gif"));
    EXPECT_EQ(ErrorOf([&] { DecodeGifFile(Path("cut.gif")); }),
              "Image EOF detected before image complete");

    // Header, screen and global map, then straight to the trailer.
    bytes = ReadBytes(Path("good.gif"));
    bytes.resize(13 + 3 * 4);
    bytes.push_back(';');
    WriteBytes(bytes, Path("noimage.gif"));
    EXPECT_EQ(ErrorOf([&] { DecodeGifFile(Path("noimage.gif")); }), "No Image Descriptor detected");
}

TEST_F(GifDecoderTest, HugeDeclaredScreenIsRefusedBeforeAllocating) {
    GifLayout layout = MakeLayout(2, 2);
    layout.screenWidth = 65535;
    layout.screenHeight = 65535;
    const std::string message = ErrorOf([&] { Decode(layout); });
    EXPECT_EQ(message.rfind("Picture is too large: 65535 x 65535 pixels", 0), 0u) << message;
}

}  // namespace
}  // namespace vexlo::testing
