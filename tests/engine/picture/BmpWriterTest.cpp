#include <QDir>
#include <QFile>

#include "ForkedChild.h"
#include "PictureTestSupport.h"
#include "picture/BmpReader.h"
#include "picture/BmpWriter.h"

namespace vexlo::testing {
namespace {

class BmpWriterTest : public PictureTest {};

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST_F(BmpWriterTest, WritesTwentyFourBitBottomUpThatBothReadersReadBack) {
    for (int width : {1, 2, 3, 4, 37}) {  // every row padding
        const QImage pattern = MakeBlockPattern(width, 35);
        SaveBmpFile(pattern, Path("w.bmp"));
        EXPECT_EQ(DecodeBmpFile(Path("w.bmp")), pattern) << width;
        QImage byQt(QString::fromStdString(Path("w.bmp")));
        EXPECT_EQ(byQt.convertToFormat(QImage::Format_RGB32), pattern) << width;
    }
    const auto bytes = ReadBytes(Path("w.bmp"));
    const std::uint32_t rowBytes = (37 * 3 + 3) / 4 * 4;
    EXPECT_EQ(bytes.size(), 54 + rowBytes * 35);
    EXPECT_EQ(U32At(bytes, 2), bytes.size());
    EXPECT_EQ(U32At(bytes, 10), 54u);
    EXPECT_EQ(U32At(bytes, 14), 40u);
    EXPECT_EQ(U32At(bytes, 22), 35u);            // positive height: bottom-up
    EXPECT_EQ(bytes[28], 24);                    // bits per pixel
    EXPECT_EQ(U32At(bytes, 30), 0u);             // BI_RGB
    const QRgb bottomLeft = BlockColour(0, 34);  // the first row stored is the bottom one
    EXPECT_EQ(bytes[54], qBlue(bottomLeft));
    EXPECT_EQ(bytes[56], qRed(bottomLeft));
}

TEST_F(BmpWriterTest, TransparencyIsLaidOverWhite) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    image.setPixel(1, 0, qRgba(0, 0, 0, 128));
    image.setPixel(2, 0, qRgba(200, 100, 0, 255));
    SaveBmpFile(image, Path("a.bmp"));
    QImage back = DecodeBmpFile(Path("a.bmp"));
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(back.pixel(1, 0), qRgb(127, 127, 127));
    EXPECT_EQ(back.pixel(2, 0), qRgb(200, 100, 0));

    SaveBmpFile(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), Path("p.bmp"));
    back = DecodeBmpFile(Path("p.bmp"));
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(back.pixel(1, 0), qRgb(127, 127, 127));

    SaveBmpFile(image.convertToFormat(QImage::Format_RGB888), Path("o.bmp"));  // converted first
    EXPECT_EQ(DecodeBmpFile(Path("o.bmp")).pixel(2, 0), qRgb(200, 100, 0));
}

TEST_F(BmpWriterTest, FailedSaveThrowsNamingThePathAndKeepsThePreviousFile) {
    const std::string target = Path("wallpaper.bmp");
    SaveBmpFile(MakeBlockPattern(8, 8), target);
    const auto before = ReadBytes(target);

    // Parent is a regular file: nothing can be created below it.
    const std::string underFile = target + "/inner.bmp";
    std::string message = ErrorOf([&] { SaveBmpFile(MakeBlockPattern(4, 4), underFile); });
    EXPECT_EQ(message.rfind("Cannot save the picture \"" + underFile + "\": ", 0), 0u) << message;
    EXPECT_EQ(ReadBytes(target), before);

    // Target is a directory: the rename over it fails and the folder stays.
    const std::string folder = Path("folder.bmp");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    QFile::copy(QString::fromStdString(target), QString::fromStdString(folder + "/keep.bmp"));
    message = ErrorOf([&] { SaveBmpFile(MakeBlockPattern(4, 4), folder); });
    EXPECT_EQ(message.rfind("Cannot save the picture \"" + folder + "\": ", 0), 0u) << message;
    EXPECT_EQ(ReadBytes(folder + "/keep.bmp"), before);

    // No temporary file is left behind.
    const QStringList left = QDir(QString::fromStdString(Path(""))).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{"wallpaper.bmp"});
}

TEST_F(BmpWriterTest, AFullDiskKeepsThePreviousFileEvenForASmallTile) {
    const std::string target = Path("wallpaper.bmp");
    SaveBmpFile(MakeBlockPattern(8, 8), target);
    const auto before = ReadBytes(target);
    for (const int side : {40, 70}) {  // about 5 KB and 15 KB: under any write buffer
        std::string message;
        {
            test::FileSizeLimit limit(before.size() + 100);
            message = ErrorOf([&] { SaveBmpFile(MakeBlockPattern(side, side), target); });
        }
        EXPECT_EQ(message.rfind("Cannot save the picture \"" + target + "\": ", 0), 0u) << message;
        EXPECT_EQ(ReadBytes(target), before);
        EXPECT_EQ(QDir(QString::fromStdString(Path(""))).entryList(QDir::Files),
                  QStringList{"wallpaper.bmp"});
    }
}

TEST_F(BmpWriterTest, EmptyPictureIsRefused) {
    const std::string message = ErrorOf([&] { SaveBmpFile(QImage(), Path("e.bmp")); });
    EXPECT_NE(message.find("the picture is empty"), std::string::npos) << message;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("e.bmp"))));
}

}  // namespace
}  // namespace vexlo::testing
