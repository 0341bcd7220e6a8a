#include "PictureDecoding.h"

#include <QFile>
#include <QFileInfo>

#include "PathRules.h"
#include "picture/BmpReader.h"
#include "picture/GifDecoder.h"
#include "picture/JpegDecoder.h"
#include "picture/PngDecoder.h"

namespace vexlo {

PictureKind PictureKindOf(const std::string& path) {
    return PictureKindIn(PictureSet::Apply, path);
}

namespace {

// Runs a decoder; its error comes out naming the file.
template <typename Decode>
QImage Named(const std::string& shownPath, Decode&& decode) {
    try {
        return decode();
    } catch (const PictureError&) {
        throw;
    } catch (const VexloError& error) {
        throw PictureError(shownPath, error.what());
    }
}

QImage Decode(PictureKind kind, const std::string& path) {
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

}  // namespace

QImage DecodePicture(PictureKind kind, const std::string& path, const std::string& shownPath) {
    return Named(shownPath.empty() ? path : shownPath, [&] { return Decode(kind, path); });
}

LoadedPreview LoadPreviewPicture(const std::string& path, QSize panel) {
    const PictureKind kind = PictureKindOf(path);
    if (kind == PictureKind::Unknown) {
        const std::string ext = ExtractFileExt(path);
        throw VexloError("Unknown picture file extension (." + (ext.empty() ? ext : ext.substr(1)) +
                         ")");
    }
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    QFile file(name);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        throw VexloError("Cannot open file " + path);
    }
    file.close();

    LoadedPreview picture;
    picture.bytes = static_cast<std::uint64_t>(info.size());
    if (kind == PictureKind::Jpeg) {
        QSize full;
        picture.image = Named(path, [&] { return DecodeJpegFileForPanel(path, panel, &full); });
        picture.width = full.width();
        picture.height = full.height();
    } else {
        picture.image = DecodePicture(kind, path);
        picture.width = picture.image.width();
        picture.height = picture.image.height();
    }
    return picture;
}

}  // namespace vexlo
