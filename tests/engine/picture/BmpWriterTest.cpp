#include <QDir>
#include <QFile>
#include <filesystem>

#include "ForkedChild.h"
#include "PictureTestSupport.h"
#include "picture/BmpHeader.h"
#include "picture/BmpReader.h"
#include "picture/BmpWriter.h"

namespace vexlo::testing {
namespace {

class BmpWriterTest : public PictureTest {};

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST_F(BmpWriterTest, WritesTwentyFourBitBottomUpThatBothReadersReadBack) {
    for (int width : {1, 2, 3, 4, 5, 6, 7, 9, 10, 37}) {  // every row padding, every tail
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

BmpHeader HeaderOf(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return ReadBmpHeader(file);
}

TEST_F(BmpWriterTest, OnlyTheWritersOwnLayoutAtThePlacedSizeIsCopiedAsItIs) {
    // The writer's own files, at every row padding, and only at their size.
    for (int width : {1, 2, 3, 4, 37}) {
        SaveBmpFile(MakeBlockPattern(width, 5), Path("w.bmp"));
        const BmpHeader written = HeaderOf(Path("w.bmp"));
        EXPECT_TRUE(IsWriterLayout(written, QSize(width, 5))) << width;
        EXPECT_FALSE(IsWriterLayout(written, QSize(width, 4))) << width;
        EXPECT_FALSE(IsWriterLayout(written, QSize(width + 1, 5))) << width;
    }
    // Another writer's file in the same layout (other resolution and size
    // fields) counts; each difference in how pixels are laid out does not.
    const auto rows = [](int count, int rowBytes) {
        return std::vector<std::uint8_t>(static_cast<std::size_t>(count * rowBytes), 0x40);
    };
    BmpLayout same{.width = 5, .height = 3, .pixels = rows(3, 16)};
    WriteBytes(MakeBmp(same), Path("same.bmp"));
    EXPECT_TRUE(IsWriterLayout(HeaderOf(Path("same.bmp")), QSize(5, 3)));
    EXPECT_TRUE(IsWriterLayout(Path("same.bmp"), QSize(5, 3)));
    EXPECT_FALSE(IsWriterLayout(Path("missing.bmp"), QSize(5, 3)));  // no error, no copy
    const struct {
        const char* what;
        BmpLayout layout;
    } others[] = {
        {"top-down", {.width = 5, .height = -3, .pixels = rows(3, 16)}},
        {"32 bits", {.width = 5, .height = 3, .bitsPerPixel = 32, .pixels = rows(3, 20)}},
        {"V4 header", {.headerSize = 108, .width = 5, .height = 3, .pixels = rows(3, 16)}},
        {"OS/2 header", {.headerSize = 12, .width = 5, .height = 3, .pixels = rows(3, 16)}},
        {"gap before the pixels",
         {.width = 5, .height = 3, .pixels = rows(3, 16), .dataOffset = 58}},
        {"bytes after the last row", {.width = 5, .height = 3, .pixels = rows(4, 16)}},
        {"last row unpadded",
         {.width = 5, .height = 3, .pixels = std::vector<std::uint8_t>(2 * 16 + 15, 0x40)}},
    };
    for (const auto& other : others) {
        WriteBytes(MakeBmp(other.layout), Path("other.bmp"));
        EXPECT_FALSE(IsWriterLayout(HeaderOf(Path("other.bmp")), QSize(5, 3))) << other.what;
    }
    // An offset of 0 (readers then take the pixels after the headers) and
    // planes other than 1 are not what the writer writes.
    for (const std::size_t at : {10u, 26u}) {
        auto bytes = MakeBmp(same);
        bytes[at] = at == 10 ? 0 : 2;
        WriteBytes(bytes, Path("field.bmp"));
        EXPECT_FALSE(IsWriterLayout(HeaderOf(Path("field.bmp")), QSize(5, 3))) << at;
    }
}

TEST_F(BmpWriterTest, CopyKeepsEveryByteAndAFailureKeepsThePreviousFile) {
    const std::string target = Path("wallpaper.bmp");
    SaveBmpFile(MakeBlockPattern(8, 8), target);
    const auto before = ReadBytes(target);
    SaveBmpFile(MakeBlockPattern(37, 20), Path("source.bmp"));
    CopyBmpFile(Path("source.bmp"), target);
    EXPECT_EQ(ReadBytes(target), ReadBytes(Path("source.bmp")));

    WriteBytes(before, target);
    const std::string underFile = target + "/inner.bmp";
    std::string message = ErrorOf([&] { CopyBmpFile(Path("source.bmp"), underFile); });
    EXPECT_EQ(message.rfind("Cannot save the picture \"" + underFile + "\": ", 0), 0u) << message;
    {
        test::FileSizeLimit limit(before.size() + 100);
        message = ErrorOf([&] { CopyBmpFile(Path("source.bmp"), target); });
    }
    EXPECT_EQ(message.rfind("Cannot save the picture \"" + target + "\": ", 0), 0u) << message;
    message = ErrorOf([&] { CopyBmpFile(Path("missing.bmp"), target); });
    EXPECT_NE(message.find("missing.bmp"), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(target), before);
    EXPECT_EQ(QDir(QString::fromStdString(Path(""))).entryList(QDir::Files),
              QStringList({"source.bmp", "wallpaper.bmp"}));

    // Moved: the file becomes the target with the target's permissions; a
    // move that fails keeps both files as they were.
    message = ErrorOf([&] { MoveBmpFile(Path("source.bmp"), underFile); });
    EXPECT_EQ(message.rfind("Cannot save the picture \"" + underFile + "\": ", 0), 0u) << message;
    const auto source = ReadBytes(Path("source.bmp"));
    QFile(QString::fromStdString(target)).setPermissions(QFile::ReadOwner);
    MoveBmpFile(Path("source.bmp"), target);
    EXPECT_EQ(ReadBytes(target), source);
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms::owner_read);
    EXPECT_EQ(QDir(QString::fromStdString(Path(""))).entryList(QDir::Files),
              QStringList({"wallpaper.bmp"}));
}

}  // namespace
}  // namespace vexlo::testing
