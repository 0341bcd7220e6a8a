#include "picture/BmpReader.h"

#include <QFile>
#include <algorithm>
#include <bit>
#include <vector>

#include "VexloError.h"
#include "picture/BmpHeader.h"
#include "picture/BmpRle.h"
#include "picture/PictureFile.h"
#include "picture/PictureLimits.h"

namespace vexlo {

namespace {

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
class MaskChannel {
public:
    explicit MaskChannel(std::uint32_t mask)
        : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask >> shift_) {}
    bool Present() const { return mask_ != 0; }
    int Value(std::uint32_t pixel) const {
        if (max_ == 0) {
            return 0;
        }
        const std::uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<int>((v * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint32_t max_;
};

struct RowConverter {
    const BmpHeader& header;
    MaskChannel red{header.masks[0]};
    MaskChannel green{header.masks[1]};
    MaskChannel blue{header.masks[2]};
    MaskChannel alpha{header.masks[3]};
    bool anyAlpha = false;

    QRgb FromMasks(std::uint32_t pixel) {
        if (!alpha.Present()) {
            return qRgb(red.Value(pixel), green.Value(pixel), blue.Value(pixel));
        }
        const int a = alpha.Value(pixel);
        anyAlpha = anyAlpha || a != 0;
        return qRgba(red.Value(pixel), green.Value(pixel), blue.Value(pixel), a);
    }

    void Convert(const std::uint8_t* in, QRgb* out) {
        const auto width = static_cast<int>(header.width);
        const auto& palette = header.palette;
        switch (header.bitsPerPixel) {
            case 1:
                for (int x = 0; x < width; ++x) {
                    out[x] = palette[(in[x >> 3] >> (7 - (x & 7))) & 1];
                }
                break;
            case 4:
                for (int x = 0; x < width; ++x) {
                    out[x] = palette[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0f];
                }
                break;
            case 8:
                for (int x = 0; x < width; ++x) {
                    out[x] = palette[in[x]];
                }
                break;
            case 16:
                for (int x = 0; x < width; ++x) {
                    out[x] = FromMasks(in[2 * x] | in[2 * x + 1] << 8);
                }
                break;
            case 24:
                for (int x = 0; x < width; ++x) {
                    out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
                }
                break;
            default:  // 32
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t* p = in + 4 * x;
                    out[x] = FromMasks(p[0] | p[1] << 8 | p[2] << 16 |
                                       static_cast<std::uint32_t>(p[3]) << 24);
                }
                break;
        }
    }
};

void ReadRows(QFile& file, const BmpHeader& header, QImage& image) {
    const std::int64_t rowBytes = header.RowBytes();
    const std::int64_t rowsPerRead = std::max<std::int64_t>(1, (1 << 20) / rowBytes);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(rowBytes * rowsPerRead));
    RowConverter converter{header};
    if (!file.seek(header.dataOffset)) {
        throw VexloError("BMP file cannot be read: " + file.errorString().toStdString());
    }
    for (std::int64_t first = 0; first < header.height; first += rowsPerRead) {
        const std::int64_t rows = std::min(rowsPerRead, header.height - first);
        // The last row may lack its padding; the header check vouched for the rest.
        std::fill(buffer.begin(), buffer.end(), 0);
        if (file.read(reinterpret_cast<char*>(buffer.data()), rows * rowBytes) < 0) {
            throw VexloError("BMP file cannot be read: " + file.errorString().toStdString());
        }
        for (std::int64_t i = 0; i < rows; ++i) {
            const std::int64_t y = header.topDown ? first + i : header.height - 1 - (first + i);
            converter.Convert(buffer.data() + i * rowBytes,
                              reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y))));
        }
    }
    if (image.format() == QImage::Format_ARGB32 && !converter.anyAlpha) {
        // An alpha mask over all-zero alpha is a writer's slip, not an
        // invisible picture: show it opaque.
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::transform(row, row + image.width(), row, [](QRgb p) { return p | 0xff000000u; });
        }
        image.reinterpretAsFormat(QImage::Format_RGB32);
    }
}

}  // namespace

QImage DecodeBmpFile(const std::string& path) {
    QFile file;
    OpenPictureFile(file, path);
    const BmpHeader header = ReadBmpHeader(file);
    const bool rle = header.compression == kBmpRle8 || header.compression == kBmpRle4;
    const bool alpha = rle || header.masks[3] != 0;
    QImage image = MakePicture(header.width, header.height,
                               alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (!rle) {
        ReadRows(file, header, image);
        return image;
    }
    image.fill(Qt::transparent);
    QByteArray data;
    if (file.seek(header.dataOffset)) {
        data = file.read(header.dataSize);
    }
    DecodeBmpRle(header, data, image);
    return image;
}

}  // namespace vexlo
