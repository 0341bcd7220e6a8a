#include "picture/BmpHeader.h"

#include <QByteArray>
#include <algorithm>
#include <string>

#include "VexloError.h"
#include "picture/PictureLimits.h"

namespace vexlo {

namespace {

constexpr std::int64_t kFileHeaderSize = 14;

std::uint32_t U16(const QByteArray& b, int at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}

std::uint32_t U32(const QByteArray& b, int at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

QByteArray ReadExactly(QFile& file, std::int64_t at, std::int64_t size, const char* what) {
    QByteArray bytes;
    if (file.seek(at)) {
        bytes = file.read(size);
    }
    if (bytes.size() != size) {
        throw VexloError(std::string("BMP file is truncated: it ends inside its ") + what);
    }
    return bytes;
}

void CheckFormat(const BmpHeader& h) {
    const int bits = h.bitsPerPixel;
    const std::string text = "BMP file with " + std::to_string(bits) + " bits per pixel and ";
    const bool known =
        (h.compression == kBmpRgb &&
         (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
        (h.compression == kBmpRle8 && bits == 8) || (h.compression == kBmpRle4 && bits == 4) ||
        ((h.compression == kBmpBitfields || h.compression == kBmpAlphaBitfields) &&
         (bits == 16 || bits == 32));
    if (!known) {
        throw VexloError(text + "compression " + std::to_string(h.compression) +
                         " is not supported");
    }
}

void SetDefaultMasks(BmpHeader& h) {
    if (h.bitsPerPixel == 16) {
        h.masks = {0x7c00, 0x03e0, 0x001f, 0};
    } else {
        h.masks = {0xff0000, 0x00ff00, 0x0000ff, 0};
    }
}

}  // namespace

BmpHeader ReadBmpHeader(QFile& file) {
    const std::int64_t fileSize = file.size();
    const QByteArray head = ReadExactly(file, 0, kFileHeaderSize + 4, "file header");
    if (head[0] != 'B' || head[1] != 'M') {
        throw VexloError("Not a BMP file: it does not start with \"BM\"");
    }
    const std::int64_t infoSize = U32(head, 14);
    const bool core = infoSize == 12;  // OS/2 1.x: 16-bit sizes, 3-byte colours
    if (!core && infoSize != 16 && infoSize != 40 && infoSize != 52 && infoSize != 56 &&
        infoSize != 64 && infoSize != 108 && infoSize != 124) {
        throw VexloError("BMP file is damaged: unknown header size " + std::to_string(infoSize));
    }
    // Fields a short header does not hold read as zero.
    QByteArray info = ReadExactly(file, kFileHeaderSize, infoSize, "bitmap header");
    info.append(QByteArray(std::max<int>(0, 56 - info.size()), '\0'));

    BmpHeader h;
    h.infoSize = infoSize;
    h.palette.fill(qRgb(0, 0, 0));  // indices past a short colour table show black
    std::int64_t declaredHeight = 0;
    if (core) {
        h.width = U16(info, 4);
        declaredHeight = U16(info, 6);
        h.planes = static_cast<int>(U16(info, 8));
        h.bitsPerPixel = static_cast<int>(U16(info, 10));
    } else {
        h.width = static_cast<std::int32_t>(U32(info, 4));
        declaredHeight = static_cast<std::int32_t>(U32(info, 8));
        h.planes = static_cast<int>(U16(info, 12));
        h.bitsPerPixel = static_cast<int>(U16(info, 14));
        h.compression = U32(info, 16);
        // OS/2 2.x uses codes 3 and 4 for Huffman and RLE24: refuse them.
        if (infoSize == 64 && h.compression >= 3) {
            h.compression += 100;
        }
    }
    h.topDown = declaredHeight < 0;
    h.height = h.topDown ? -declaredHeight : declaredHeight;
    CheckFormat(h);
    // Uncompressed rows are checked against the file below; RLE data can
    // leave most of a picture out, so its size is weighed against the file.
    if (h.compression == kBmpRle8 || h.compression == kBmpRle4) {
        CheckDeclaredPicture(h.width, h.height, fileSize);
    } else {
        CheckPictureSize(h.width, h.height);
    }

    std::int64_t next = kFileHeaderSize + infoSize;
    SetDefaultMasks(h);
    if (h.compression == kBmpBitfields || h.compression == kBmpAlphaBitfields) {
        const bool alpha = h.compression == kBmpAlphaBitfields || infoSize >= 56;
        QByteArray masks = infoSize >= 52
                               ? info.mid(40, 16)
                               : ReadExactly(file, next, alpha ? 16 : 12, "colour masks");
        next += infoSize >= 52 ? 0 : masks.size();
        h.masks = {U32(masks, 0), U32(masks, 4), U32(masks, 8), alpha ? U32(masks, 12) : 0};
    }

    const std::int64_t offset = U32(head, 10);
    h.declaredOffset = offset;
    if (offset != 0 && (offset < next || offset > fileSize)) {
        throw VexloError("BMP file is damaged: its pixel data offset " + std::to_string(offset) +
                         " lies outside the file's data area");
    }
    if (h.bitsPerPixel <= 8) {
        const std::int64_t entrySize = core ? 3 : 4;
        std::int64_t count = core ? 0 : U32(info, 32);
        if (count == 0 || count > (1 << h.bitsPerPixel)) {
            count = std::int64_t{1} << h.bitsPerPixel;
        }
        if (offset != 0) {  // some writers store fewer colours than the depth allows
            count = std::min(count, (offset - next) / entrySize);
        }
        const QByteArray table = ReadExactly(file, next, count * entrySize, "colour table");
        for (int i = 0; i < count; ++i) {
            const auto* p =
                reinterpret_cast<const std::uint8_t*>(table.constData()) + i * entrySize;
            h.palette[static_cast<std::size_t>(i)] = qRgb(p[2], p[1], p[0]);
        }
        next += count * entrySize;
    }

    h.dataOffset = offset != 0 ? offset : next;
    h.dataSize = std::max<std::int64_t>(0, fileSize - h.dataOffset);
    if (h.compression == kBmpRgb || h.compression == kBmpBitfields ||
        h.compression == kBmpAlphaBitfields) {
        // The last row's padding is often left out: do not insist on it.
        const std::int64_t needed =
            h.RowBytes() * (h.height - 1) + (h.width * h.bitsPerPixel + 7) / 8;
        if (needed > h.dataSize) {
            throw VexloError("BMP file is truncated: its header promises " +
                             std::to_string(needed) + " bytes of pixel data, the file holds " +
                             std::to_string(h.dataSize));
        }
    }
    return h;
}

}  // namespace vexlo
