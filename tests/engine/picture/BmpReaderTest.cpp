#include "PictureTestSupport.h"
#include "picture/BmpReader.h"

namespace vexlo::testing {
namespace {

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255),
           kWhite = qRgb(255, 255, 255);

class BmpReaderTest : public PictureTest {
protected:
    QImage Decode(const BmpLayout& layout) {
        WriteBytes(MakeBmp(layout), Path("p.bmp"));
        return DecodeBmpFile(Path("p.bmp"));
    }
    std::string ErrorFor(const std::vector<std::uint8_t>& bytes) {
        WriteBytes(bytes, Path("bad.bmp"));
        return ErrorOf([&] { DecodeBmpFile(Path("bad.bmp")); });
    }
};

// Every test picture is 3 x 2: top row red, green, blue; bottom row white, red, green.
void ExpectRgbPicture(const QImage& image) {
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0), kRed);
    EXPECT_EQ(image.pixel(1, 0), kGreen);
    EXPECT_EQ(image.pixel(2, 0), kBlue);
    EXPECT_EQ(image.pixel(0, 1), kWhite);
    EXPECT_EQ(image.pixel(2, 1), kGreen);
}

TEST_F(BmpReaderTest, TwentyFourBitBottomUpAndTopDown) {
    const std::vector<std::uint8_t> top = {0, 0, 255, 0, 255, 0, 255, 0, 0};
    const std::vector<std::uint8_t> bottom = {255, 255, 255, 0, 0, 255, 0, 255, 0};
    BmpLayout layout{.width = 3, .height = 2, .bitsPerPixel = 24};
    layout.pixels = PackBmpRows({bottom, top});
    ExpectRgbPicture(Decode(layout));
    layout.height = -2;
    layout.pixels = PackBmpRows({top, bottom});
    ExpectRgbPicture(Decode(layout));
    EXPECT_EQ(Decode(layout).format(), QImage::Format_RGB32);
}

TEST_F(BmpReaderTest, PaletteDepthsOneFourEightAndOs2CoreHeader) {
    const std::vector<QRgb> palette = {kRed, kGreen, kBlue, kWhite};
    // Indices: top 0 1 2, bottom 3 0 1.
    const std::vector<std::pair<int, std::vector<std::vector<std::uint8_t>>>> cases = {
        {4, {{0x30, 0x10}, {0x01, 0x20}}},
        {8, {{3, 0, 1}, {0, 1, 2}}},
    };
    for (int headerSize : {40, 12}) {
        for (const auto& [bits, rows] : cases) {
            BmpLayout layout{
                .headerSize = headerSize, .width = 3, .height = 2, .bitsPerPixel = bits};
            layout.palette = palette;
            if (headerSize == 12) {  // a core header's table has every entry of the depth
                layout.palette.resize(std::size_t{1} << bits, 0);
            }
            layout.pixels = PackBmpRows(rows);
            ExpectRgbPicture(Decode(layout));
        }
    }
    BmpLayout mono{.width = 10, .height = 1, .bitsPerPixel = 1};
    mono.palette = {kBlue, kWhite};
    mono.pixels = PackBmpRows({{0b10100000, 0b01000000}});
    const QImage image = Decode(mono);
    EXPECT_EQ(image.pixel(0, 0), kWhite);
    EXPECT_EQ(image.pixel(1, 0), kBlue);
    EXPECT_EQ(image.pixel(2, 0), kWhite);
    EXPECT_EQ(image.pixel(9, 0), kWhite);
    EXPECT_EQ(image.pixel(8, 0), kBlue);
}

TEST_F(BmpReaderTest, SixteenBitDefaultAndBitfields) {
    // 5-5-5: red 0x7c00; 5-6-5 through bitfields: red 0xf800.
    BmpLayout layout{.width = 2, .height = 1, .bitsPerPixel = 16};
    layout.pixels = PackBmpRows({{0x00, 0x7c, 0x1f, 0x00}});
    QImage image = Decode(layout);
    EXPECT_EQ(image.pixel(0, 0), kRed);
    EXPECT_EQ(image.pixel(1, 0), kBlue);

    for (int headerSize : {40, 56, 124}) {
        layout.headerSize = headerSize;
        layout.compression = 3;
        layout.masks = {0xf800, 0x07e0, 0x001f};
        layout.pixels = PackBmpRows({{0xe0, 0x07, 0x10, 0x84}});
        image = Decode(layout);
        EXPECT_EQ(image.pixel(0, 0), kGreen) << headerSize;
        EXPECT_EQ(image.pixel(1, 0), qRgb(132, 130, 132)) << headerSize;  // 16/31, 4/63, 16/31
    }
}

TEST_F(BmpReaderTest, ThirtyTwoBitRgbIgnoresTheFourthByteButBitfieldsAlphaCounts) {
    BmpLayout layout{.width = 2, .height = 1, .bitsPerPixel = 32};
    layout.pixels = {30, 20, 10, 0, 3, 2, 1, 77};
    QImage image = Decode(layout);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(1, 0), qRgb(1, 2, 3));

    layout.headerSize = 108;
    layout.compression = 3;
    layout.masks = {0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000};
    image = Decode(layout);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(image.pixel(0, 0), qRgba(10, 20, 30, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgba(1, 2, 3, 77));

    // Alpha all zero is a writer's slip: the picture is shown opaque.
    layout.pixels = {30, 20, 10, 0, 3, 2, 1, 0};
    image = Decode(layout);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));

    // Masks in another order.
    layout.masks = {0x000000ff, 0x0000ff00, 0x00ff0000, 0};
    image = Decode(layout);
    EXPECT_EQ(image.pixel(0, 0), qRgb(30, 20, 10));
}

TEST_F(BmpReaderTest, Rle8RunsLiteralsDeltaAndEndMarkers) {
    BmpLayout layout{.width = 6, .height = 3, .bitsPerPixel = 8, .compression = 1};
    layout.palette = {kRed, kGreen, kBlue};
    layout.pixels = {
        3, 1, 0, 3, 2, 0, 1, 0, 0, 0,  // bottom row: 3 green, literal blue red green (padded), EOL
        0, 2, 2, 1,                    // delta: two right, one up, to the top row
        2, 2, 0, 1,                    // 2 blue; end of bitmap
    };
    const QImage image = Decode(layout);
    ASSERT_EQ(image.size(), QSize(6, 3));
    EXPECT_EQ(image.pixel(0, 2), kGreen);
    EXPECT_EQ(image.pixel(2, 2), kGreen);
    EXPECT_EQ(image.pixel(3, 2), kBlue);
    EXPECT_EQ(image.pixel(4, 2), kRed);
    EXPECT_EQ(image.pixel(5, 2), kGreen);
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(qAlpha(image.pixel(x, 1)), 0) << x;  // skipped by the delta
    }
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
    EXPECT_EQ(image.pixel(2, 0), kBlue);
    EXPECT_EQ(image.pixel(3, 0), kBlue);
    EXPECT_EQ(qAlpha(image.pixel(4, 0)), 0);  // after the end of bitmap
}

TEST_F(BmpReaderTest, Rle4AlternatesNibblesAndClipsLongRuns) {
    BmpLayout layout{.width = 5, .height = 1, .bitsPerPixel = 4, .compression = 2};
    layout.palette = {kRed, kGreen, kBlue};
    layout.pixels = {3, 0x12, 0, 3, 0x20, 0x10, 0, 0};  // run 1 2 1; literal 2 0 (1 cut off)
    QImage image = Decode(layout);
    EXPECT_EQ(image.pixel(0, 0), kGreen);
    EXPECT_EQ(image.pixel(1, 0), kBlue);
    EXPECT_EQ(image.pixel(2, 0), kGreen);
    EXPECT_EQ(image.pixel(3, 0), kBlue);
    EXPECT_EQ(image.pixel(4, 0), kRed);

    layout.pixels = {255, 0x11, 255, 0x11, 0, 1};  // runs far past the right edge
    image = Decode(layout);
    EXPECT_EQ(image.pixel(4, 0), kGreen);
}

TEST_F(BmpReaderTest, DamagedHeadersGiveClearMessages) {
    BmpLayout good{.width = 3, .height = 2, .bitsPerPixel = 24};
    good.pixels = std::vector<std::uint8_t>(24, 0);
    auto bytes = MakeBmp(good);

    auto notBm = bytes;
    notBm[0] = 'X';
    EXPECT_EQ(ErrorFor(notBm), "Not a BMP file: it does not start with \"BM\"");
    EXPECT_EQ(ErrorFor({'B', 'M', 0}), "BMP file is truncated: it ends inside its file header");

    auto header = bytes;
    header[14] = 41;
    EXPECT_EQ(ErrorFor(header), "BMP file is damaged: unknown header size 41");

    auto jpeg = bytes;
    jpeg[30] = 4;  // BI_JPEG
    EXPECT_EQ(ErrorFor(jpeg), "BMP file with 24 bits per pixel and compression 4 is not supported");

    auto offset = bytes;
    offset[10] = 200;
    EXPECT_NE(ErrorFor(offset).find("pixel data offset 200"), std::string::npos);

    BmpLayout flat{.width = 3, .height = 0, .bitsPerPixel = 24};
    EXPECT_EQ(ErrorFor(MakeBmp(flat)), "Picture has no pixels: 3 x 0 pixels");
    BmpLayout negative{.width = -3, .height = 2, .bitsPerPixel = 24};
    EXPECT_EQ(ErrorFor(MakeBmp(negative)), "Picture has no pixels: -3 x 2 pixels");

    BmpLayout shortTable{.width = 2, .height = 1, .bitsPerPixel = 8};
    shortTable.palette = {kRed, kGreen};
    auto table = MakeBmp(shortTable);
    table.resize(14 + 40 + 5);
    table[10] = 0;  // no pixel offset: the table is read in full
    EXPECT_EQ(ErrorFor(table), "BMP file is truncated: it ends inside its colour table");
}

TEST_F(BmpReaderTest, HeaderPromisingMoreThanTheFileHoldsIsRefusedBeforeAllocating) {
    BmpLayout layout{.width = 4000, .height = 3000, .bitsPerPixel = 24};
    layout.pixels = std::vector<std::uint8_t>(100, 0);
    EXPECT_EQ(ErrorFor(MakeBmp(layout)),
              "BMP file is truncated: its header promises 36000000 bytes of pixel data, the file "
              "holds 100");

    layout.width = 100000;
    layout.height = 100000;
    const std::string message = ErrorFor(MakeBmp(layout));
    EXPECT_EQ(message.rfind("Picture is too large: 100000 x 100000 pixels", 0), 0u) << message;

    BmpLayout rle{.width = 8, .height = 4, .bitsPerPixel = 8, .compression = 1};
    rle.palette = {kRed};
    rle.pixels = {8, 0, 0, 0, 8, 0};  // two rows, then the data ends
    EXPECT_EQ(ErrorFor(MakeBmp(rle)),
              "BMP file is truncated: its RLE data ends before the picture does");
}

TEST_F(BmpReaderTest, LastRowWithoutItsPaddingIsAccepted) {
    BmpLayout layout{.width = 1, .height = 2, .bitsPerPixel = 24};
    layout.pixels = {0, 0, 255, 0, 0, 255, 0};  // bottom red padded, top green unpadded
    const QImage image = Decode(layout);
    EXPECT_EQ(image.pixel(0, 1), kRed);
    EXPECT_EQ(image.pixel(0, 0), kGreen);
}

}  // namespace
}  // namespace vexlo::testing
