// The status line of a previewed picture, the deformation figure behind it and
// the picture sets of apply, tree and rotation.
#include <gtest/gtest.h>

#include "Deformation.h"
#include "PictureKinds.h"
#include "PictureStatus.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace vexlo;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kDe(QLocale::German, QLocale::Germany);

}  // namespace

TEST(PictureStatus, LineForSeveralSizesAndBothLocales) {
    EXPECT_EQ(PictureStatusLine(800, 600, 123456, 1280, 1024, kUs),
              "800x600 | 123,456bytes | -6.667% deformation");
    EXPECT_EQ(PictureStatusLine(800, 600, 123456, 1280, 1024, kDe),
              "800x600 | 123.456bytes | -6,667% deformation");
    // The desktop's own proportions; thousands grouped by threes only.
    EXPECT_EQ(PictureStatusLine(1920, 1080, 1234567890, 1280, 720, kUs),
              "1920x1080 | 1,234,567,890bytes | 0% deformation");
    EXPECT_EQ(PictureStatusLine(640, 480, 999, 1600, 900, kUs),
              "640x480 | 999bytes | 25% deformation");
    EXPECT_EQ(PictureStatusLine(100, 200, 0, 1000, 1000, kDe),
              "100x200 | 0bytes | 50% deformation");
    // Relatively wider than the desktop: negative; five digits go exponential.
    EXPECT_EQ(PictureStatusLine(10200, 100, 1000, 1000, 1000, kUs),
              "10200x100 | 1,000bytes | -1.01E4% deformation");
    EXPECT_EQ(PictureStatusLine(10200, 100, 1000, 1000, 1000, kDe),
              "10200x100 | 1.000bytes | -1,01E4% deformation");
    EXPECT_EQ(PictureStatusLine(1, 1000, 1, 1000, 1000, kUs),
              "1x1000 | 1bytes | 99.9% deformation");
}

TEST(PictureStatus, GeneralFormatWithFourSignificantDigits) {
    EXPECT_EQ(FormatGeneral4(0, kUs), "0");
    EXPECT_EQ(FormatGeneral4(12.5L, kUs), "12.5");
    EXPECT_EQ(FormatGeneral4(100, kUs), "100");
    EXPECT_EQ(FormatGeneral4(-0.123456L, kUs), "-0.1235");
    EXPECT_EQ(FormatGeneral4(9999.4L, kUs), "9999");
    // Rounding to four digits gives five before the point.
    EXPECT_EQ(FormatGeneral4(9999.6L, kUs), "1E4");
    EXPECT_EQ(FormatGeneral4(-10100, kUs), "-1.01E4");
    EXPECT_EQ(FormatGeneral4(123456789, kDe), "1,235E8");
    // 0.00001 itself stays fixed; anything smaller goes exponential.
    EXPECT_EQ(FormatGeneral4(0.00001L, kUs), "0.00001");
    EXPECT_EQ(FormatGeneral4(-0.00012345L, kDe), "-0,0001234");
    EXPECT_EQ(FormatGeneral4(0.0000015L, kUs), "1.5E-6");
    EXPECT_EQ(FormatGeneral4(-2.5e-9L, kDe), "-2,5E-9");
}

TEST(PictureStatus, DeformationIsTheRatioThePlacementCompares) {
    EXPECT_EQ(ProportionRatio(1600, 900, 1600, 900), 1.0L);
    EXPECT_NEAR(static_cast<double>(ProportionRatio(800, 600, 1600, 900)), 0.75, 1e-15);
    EXPECT_NEAR(static_cast<double>(DeformationPercent(800, 600, 1600, 900)), 25.0, 1e-12);
    // No desktop size: not a number, shown as such rather than as a figure.
    EXPECT_EQ(PictureStatusLine(800, 600, 1, 0, 0, kUs), "800x600 | 1bytes | NAN% deformation");
}

TEST(PictureSets, ApplyTreeAndRotationDifferOnlyInPng) {
    for (const char* name : {"PHOTO.JPG", "x.Png", "a.jpeg", "b.GIF", "c.bmp", "dir.jpg/x.png"}) {
        EXPECT_TRUE(IsInPictureSet(PictureSet::Tree, name)) << name;
        EXPECT_TRUE(IsInPictureSet(PictureSet::Apply, name)) << name;
    }
    for (const char* name : {"x.tif", "x.jpe", "noextension", ".jpg.txt", "x.jpg/readme"}) {
        EXPECT_FALSE(IsInPictureSet(PictureSet::Tree, name)) << name;
    }
    EXPECT_FALSE(IsInPictureSet(PictureSet::Rotation, "x.Png"));
    EXPECT_TRUE(IsInPictureSet(PictureSet::Rotation, "PHOTO.JPG"));
    EXPECT_EQ(PictureKindIn(PictureSet::Tree, "a.JPEG"), PictureKind::Jpeg);
}
