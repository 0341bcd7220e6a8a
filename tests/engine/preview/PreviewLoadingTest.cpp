// Loading a picture for the preview: its own messages, the decoders' messages,
// and JPEGs decoded smaller than the file while the full size is reported.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "PictureDecoding.h"
#include "VexloError.h"

using namespace vexlo;

namespace {

class PreviewLoading : public vexlo::test::EngineFixture {
protected:
    std::string ErrorOf(const std::string& path) {
        try {
            LoadPreviewPicture(path, QSize(462, 346));
        } catch (const VexloError& error) {
            return error.what();
        }
        return "<loaded>";
    }
};

}  // namespace

TEST_F(PreviewLoading, UnknownExtensionsAndUnopenablePaths) {
    EXPECT_EQ(ErrorOf(Root() + "x.tif"), "Unknown picture file extension (.tif)");
    EXPECT_EQ(ErrorOf(Root() + "x.Tif"), "Unknown picture file extension (.Tif)");
    // No dot in the last part of the path: the extension is empty.
    EXPECT_EQ(ErrorOf("None Selected"), "Unknown picture file extension (.)");
    EXPECT_EQ(ErrorOf(Root() + "a.jpg/No files"), "Unknown picture file extension (.)");
    EXPECT_EQ(ErrorOf(Root() + "missing.png"), "Cannot open file " + Root() + "missing.png");
    QDir().mkpath(QString::fromStdString(Root() + "beach.jpg"));
    EXPECT_EQ(ErrorOf(Root() + "beach.jpg"), "Cannot open file " + Root() + "beach.jpg");
}

TEST_F(PreviewLoading, DamagedDataGivesTheDecodersMessage) {
    const std::string jpeg = MakeFile("bad.jpg", QByteArray("\xFF\xD8\xFF\xE0garbage", 11));
    const std::string png = MakeFile("bad.png", QByteArray("\x89PNG\r\n\x1a\nnot a png"));
    for (const std::string& path : {jpeg, png}) {
        const std::string message = ErrorOf(path);
        EXPECT_NE(message, "<loaded>");
        EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
        EXPECT_EQ(message.find("Cannot open file"), std::string::npos) << message;
        EXPECT_EQ(message.find("Unknown picture"), std::string::npos) << message;
    }
}

TEST_F(PreviewLoading, LargeJpegDecodedSmallerWithItsFullSizeReported) {
    const std::string big = MakePicture("big.jpg", 3840, 2160);
    const LoadedPreview picture = LoadPreviewPicture(big, QSize(462, 346));
    EXPECT_EQ(picture.width, 3840);
    EXPECT_EQ(picture.height, 2160);
    EXPECT_EQ(picture.bytes,
              static_cast<std::uint64_t>(QFileInfo(QString::fromStdString(big)).size()));
    // An eighth still covers the 462 x 260 the panel shows of it.
    EXPECT_EQ(picture.image.size(), QSize(480, 270));
    EXPECT_NEAR(qRed(picture.image.pixel(240, 135)), 200, 3);
    EXPECT_NEAR(qGreen(picture.image.pixel(240, 135)), 30, 3);

    // Less than twice the shown size: decoded whole. Other kinds always are.
    const std::string small = MakePicture("small.JPG", 800, 600);
    EXPECT_EQ(LoadPreviewPicture(small, QSize(462, 346)).image.size(), QSize(800, 600));
    const std::string png = MakePicture("wide.png", 4000, 100);
    const LoadedPreview wide = LoadPreviewPicture(png, QSize(462, 346));
    EXPECT_EQ(wide.image.size(), QSize(4000, 100));
    EXPECT_EQ(wide.width, 4000);
}
