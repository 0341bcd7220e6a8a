#include "BenchPictures.h"

#include <cmath>
#include <cstdint>

#include "picture/BmpWriter.h"
#include "support/PictureWriters.h"

namespace vexlo::bench {

QImage MakePhotoLikePicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 28) - 8;
            const double u = x / 400.0, v = y / 300.0;
            const int r = static_cast<int>(128 + 90 * std::sin(u + 0.3 * v)) + grain;
            const int g = static_cast<int>(128 + 80 * std::sin(0.7 * u - v + 1.0)) + grain;
            const int b = static_cast<int>(110 + 70 * std::cos(0.5 * u + 0.8 * v)) + grain;
            row[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

void WriteBenchPictures(const QImage& picture, const std::string& folder) {
    testing::WriteJpeg(picture, folder + "/baseline.jpg", {.quality = 90});
    testing::WriteJpeg(picture, folder + "/progressive.jpg", {.progressive = true, .quality = 90});
    testing::WritePngImage(picture, folder + "/picture.png");
    SaveBmpFile(picture, folder + "/picture.bmp");
}

}  // namespace vexlo::bench
