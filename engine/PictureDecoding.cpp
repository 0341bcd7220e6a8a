#include "PictureDecoding.h"

#include <algorithm>
#include <cctype>

#include "PathRules.h"
#include "picture/BmpReader.h"
#include "picture/GifDecoder.h"
#include "picture/JpegDecoder.h"
#include "picture/PngDecoder.h"

namespace vexlo {

PictureKind PictureKindOf(const std::string& path) {
    std::string ext = ExtractFileExt(path);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".jpg" || ext == ".jpeg") {
        return PictureKind::Jpeg;
    }
    if (ext == ".gif") {
        return PictureKind::Gif;
    }
    if (ext == ".png") {
        return PictureKind::Png;
    }
    if (ext == ".bmp") {
        return PictureKind::Bmp;
    }
    return PictureKind::Unknown;
}

QImage DecodePicture(PictureKind kind, const std::string& path) {
    switch (kind) {
        case PictureKind::Jpeg:
            return DecodeJpegFile(path);
        case PictureKind::Gif:
            return DecodeGifFile(path);
        case PictureKind::Png:
            return DecodePngFile(path);
        case PictureKind::Bmp:
            return DecodeBmpFile(path);
        case PictureKind::Unknown:
            break;
    }
    return QImage();
}

}  // namespace vexlo
