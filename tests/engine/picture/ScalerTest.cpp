#include "PictureTestSupport.h"
#include "picture/Scaler.h"

namespace vexlo::testing {
namespace {

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

TEST(ScalerTest, HalvingAveragesEachTwoByTwoBlock) {
    QImage image(4, 2, QImage::Format_RGB32);
    const QRgb values[2][4] = {
        {qRgb(0, 0, 0), qRgb(40, 80, 120), qRgb(255, 255, 255), qRgb(1, 2, 3)},
        {qRgb(20, 40, 60), qRgb(100, 0, 20), qRgb(5, 6, 7), qRgb(3, 4, 5)}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            image.setPixel(x, y, values[y][x]);
        }
    }
    const QImage half = ScaleAreaAverage(image, 2, 1);
    ASSERT_EQ(half.size(), QSize(2, 1));
    EXPECT_EQ(half.pixel(0, 0), qRgb(40, 30, 50));
    EXPECT_EQ(half.pixel(1, 0), qRgb(66, 67, 68));
}

TEST(ScalerTest, FractionalFootprintsWeighPartialPixels) {
    // Three columns into two: each output covers one and a half source pixels.
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(150, 150, 150));
    image.setPixel(2, 0, qRgb(255, 255, 255));
    const QImage scaled = ScaleAreaAverage(image, 2, 1);
    EXPECT_EQ(scaled.pixel(0, 0), qRgb(50, 50, 50));     // (0 + 150 / 2) / 1.5
    EXPECT_EQ(scaled.pixel(1, 0), qRgb(220, 220, 220));  // (150 / 2 + 255) / 1.5
}

TEST(ScalerTest, UniformPictureStaysUniformAtEverySize) {
    const QRgb colour = qRgb(37, 150, 201);
    const QSize sizes[] = {{1, 1}, {7, 3}, {100, 100}, {640, 17}, {1, 999}, {333, 222}};
    for (const QSize from : {QSize(100, 100), QSize(13, 29)}) {
        for (const QSize to : sizes) {
            const QImage scaled = ScaleAreaAverage(Filled(from.width(), from.height(), colour),
                                                   to.width(), to.height());
            ASSERT_EQ(scaled.size(), to);
            EXPECT_EQ(scaled.format(), QImage::Format_RGB32);
            for (int y = 0; y < to.height(); y += 3) {
                for (int x = 0; x < to.width(); x += 3) {
                    ASSERT_EQ(scaled.pixel(x, y), colour) << from.width() << "->" << to.width();
                }
            }
        }
    }
}

TEST(ScalerTest, EnlargingInterpolatesAndKeepsTheAverage) {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(200, 200, 200));
    const QImage wide = ScaleAreaAverage(image, 8, 1);
    int sum = 0;
    for (int x = 0; x < 8; ++x) {
        sum += qRed(wide.pixel(x, 0));
        if (x > 0) {
            EXPECT_GE(qRed(wide.pixel(x, 0)), qRed(wide.pixel(x - 1, 0)));
        }
    }
    EXPECT_EQ(qRed(wide.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(wide.pixel(7, 0)), 200);
    EXPECT_NEAR(sum / 8.0, 100.0, 1.0);
}

TEST(ScalerTest, TransparencyIsAveragedByAlphaAndLaidOverWhite) {
    EXPECT_EQ(
        ScaleAreaAverage(Filled(4, 4, qRgba(0, 0, 0, 0), QImage::Format_ARGB32), 2, 2).pixel(1, 1),
        qRgb(255, 255, 255));
    // Opaque red beside fully transparent blue: the blue must not tint the red.
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 255, 0));
    EXPECT_EQ(ScaleAreaAverage(image, 1, 1).pixel(0, 0), qRgb(255, 128, 128));
    EXPECT_EQ(ScaleAreaAverage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), 1, 1)
                  .pixel(0, 0),
              qRgb(255, 128, 128));
}

TEST(ScalerTest, SameSizeKeepsEveryPixel) {
    const QImage pattern = MakeBlockPattern(45, 31);
    EXPECT_EQ(ScaleAreaAverage(pattern, 45, 31), pattern);
    EXPECT_EQ(ScaleAreaAverage(pattern.convertToFormat(QImage::Format_RGB888), 45, 31), pattern);
}

TEST(ScalerTest, BadSizesAreRefused) {
    const QImage image = Filled(4, 4, qRgb(1, 2, 3));
    EXPECT_EQ(ErrorOf([&] { ScaleAreaAverage(image, 0, 5); }),
              "Picture has no pixels: 0 x 5 pixels");
    EXPECT_EQ(ErrorOf([&] { ScaleAreaAverage(image, 3, -1); }),
              "Picture has no pixels: 3 x -1 pixels");
    EXPECT_EQ(ErrorOf([&] {
                  ScaleAreaAverage(image, 70000, 70000);
              }).rfind("Picture is too large: 70000 x 70000 pixels", 0),
              0u);
    EXPECT_EQ(ErrorOf([&] { ScaleAreaAverage(QImage(), 3, 3); }), "Cannot scale an empty picture");
}

}  // namespace
}  // namespace vexlo::testing
