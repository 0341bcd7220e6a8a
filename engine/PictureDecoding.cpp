#include "PictureDecoding.h"

#include "PathRules.h"
#include "picture/BmpReader.h"
#include "picture/GifDecoder.h"
#include "picture/JpegDecoder.h"
#include "picture/PngDecoder.h"

namespace vexlo {

PictureKind PictureKindOf(const std::string& path) {
    const std::string ext = LowerFileExt(path);
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
