// What every decoder does with a path that is not a readable picture file.

#include <QDir>

#include "PictureTestSupport.h"
#include "picture/BmpReader.h"
#include "picture/GifDecoder.h"
#include "picture/JpegDecoder.h"
#include "picture/PngDecoder.h"

namespace vexlo::testing {
namespace {

using Decode = QImage (*)(const std::string&);

class PictureFileTest : public PictureTest {
protected:
    const std::vector<std::pair<std::string, Decode>> decoders_ = {{"jpeg", DecodeJpegFile},
                                                                   {"png", DecodePngFile},
                                                                   {"gif", DecodeGifFile},
                                                                   {"bmp", DecodeBmpFile}};
};

TEST_F(PictureFileTest, MissingFileOrFolderIsRefusedNamingThePath) {
    const std::string folder = Path("folder.jpg");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    for (const auto& [name, decode] : decoders_) {
        const std::string missing = Path("absent." + name);
        EXPECT_EQ(ErrorOf([&] {
                      decode(missing);
                  }).rfind("Cannot open the picture \"" + missing + "\": ", 0),
                  0u)
            << name;
        const std::string message = ErrorOf([&] { decode(folder); });
        EXPECT_NE(message.find(folder), std::string::npos) << name << ": " << message;
    }
}

TEST_F(PictureFileTest, EmptyFileIsRefusedWithTheFormatsMessage) {
    WriteBytes({}, Path("empty"));
    const std::map<std::string, std::string> expected = {
        {"jpeg", "Empty input file"},
        {"png", "Premature end of PNG file"},
        {"gif", "Image EOF detected before image complete"},
        {"bmp", "BMP file is truncated: it ends inside its file header"}};
    for (const auto& [name, decode] : decoders_) {
        EXPECT_EQ(ErrorOf([&] { decode(Path("empty")); }), expected.at(name)) << name;
    }
}

}  // namespace
}  // namespace vexlo::testing
