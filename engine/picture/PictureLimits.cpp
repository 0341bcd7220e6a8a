#include "picture/PictureLimits.h"

#include <string>

#include "VexloError.h"

namespace vexlo {

namespace {

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

}  // namespace

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) {
        throw VexloError("Picture has no pixels: " + SizeText(width, height));
    }
    // Each side is checked first so that the product cannot overflow.
    if (width > kMaxPicturePixels || height > kMaxPicturePixels ||
        width * height > kMaxPicturePixels) {
        throw VexloError("Picture is too large: " + SizeText(width, height) + " (at most " +
                         std::to_string(kMaxPicturePixels) + " pixels are accepted)");
    }
}

void CheckDeclaredPicture(std::int64_t width, std::int64_t height, std::int64_t fileBytes) {
    CheckPictureSize(width, height);
    const std::int64_t pixels = width * height;
    if (pixels > kFreePicturePixels && pixels / kPixelsPerFileByte > fileBytes) {
        throw VexloError("Picture is too large for its file: " + SizeText(width, height) +
                         " declared in " + std::to_string(fileBytes) + " bytes");
    }
}

QImage MakePicture(std::int64_t width, std::int64_t height, QImage::Format format) {
    CheckPictureSize(width, height);
    QImage image(static_cast<int>(width), static_cast<int>(height), format);
    if (image.isNull()) {
        throw VexloError("Not enough memory for a picture of " + SizeText(width, height));
    }
    return image;
}

}  // namespace vexlo
