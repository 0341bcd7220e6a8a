#include "Pictures.h"

#include <stdexcept>

namespace vexlo::test {

QColor QuadrantColour(int x, int y, int width, int height) {
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    if (bottom) {
        return right ? kBottomRight : kBottomLeft;
    }
    return right ? kTopRight : kTopLeft;
}

QImage QuadrantPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixelColor(x, y, QuadrantColour(x, y, width, height));
        }
    }
    return image;
}

void SaveBmp(const QImage& image, const std::string& path) {
    if (!image.save(QString::fromStdString(path), "BMP")) {
        throw std::runtime_error("cannot save " + path);
    }
}

PixelRows RowsOf(const QImage& picture) {
    return {reinterpret_cast<const std::uint32_t*>(picture.constBits()), picture.width(),
            picture.height(), picture.bytesPerLine() / 4};
}

}  // namespace vexlo::test
