#include "picture/BmpWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "VexloError.h"
#include "picture/PictureFile.h"
#include "profile/AtomicFile.h"

namespace vexlo {

namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    Put16(at, value);
    Put16(at + 2, value >> 16);
}

std::array<std::uint8_t, kHeadersSize> MakeHeaders(int width, int height, std::uint32_t pixels) {
    std::array<std::uint8_t, kHeadersSize> h{};
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], kHeadersSize + pixels);  // file size
    Put32(&h[10], kHeadersSize);          // offset of the pixels
    Put32(&h[14], 40);                    // BITMAPINFOHEADER
    Put32(&h[18], static_cast<std::uint32_t>(width));
    Put32(&h[22], static_cast<std::uint32_t>(height));  // positive: bottom-up
    Put16(&h[26], 1);                                   // planes
    Put16(&h[28], 24);                                  // bits per pixel
    Put32(&h[30], 0);                                   // BI_RGB
    Put32(&h[34], pixels);
    Put32(&h[38], 2835);  // 72 dpi
    Put32(&h[42], 2835);
    return h;
}

#if defined(__x86_64__) && defined(__GNUC__)
// Opaque pixels, four at a time with SSSE3's byte shuffle: each 16-byte store
// also writes four bytes past its twelve, which the next store (or the scalar
// tail) overwrites, so it stops six pixels before the end of the row.
__attribute__((target("ssse3"))) int ConvertOpaqueSsse3(const QRgb* in, int width,
                                                        std::uint8_t* out) {
    const __m128i order = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4, out += 12) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(four, order));
    }
    return x;
}

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

// Lays each pixel over white and stores it as blue, green, red.
void ConvertRow(const QRgb* in, int width, QImage::Format format, std::uint8_t* out) {
    if (format == QImage::Format_RGB32) {
        int x = 0;
#if defined(__x86_64__) && defined(__GNUC__)
        if (HasSsse3()) {
            x = ConvertOpaqueSsse3(in, width, out);
            out += 3 * x;
        }
#endif
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        // Four pixels make three whole words of blue, green, red bytes.
        for (; x + 4 <= width; x += 4, out += 12) {
            const std::uint32_t words[3] = {(in[x] & 0xffffff) | in[x + 1] << 24,
                                            ((in[x + 1] >> 8) & 0xffff) | in[x + 2] << 16,
                                            ((in[x + 2] >> 16) & 0xff) | in[x + 3] << 8};
            std::memcpy(out, words, sizeof words);
        }
#endif
        for (; x < width; ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(in[x]);
            out[1] = static_cast<std::uint8_t>(in[x] >> 8);
            out[2] = static_cast<std::uint8_t>(in[x] >> 16);
        }
        return;
    }
    for (int x = 0; x < width; ++x, out += 3) {
        const QRgb p = in[x];
        const int a = qAlpha(p);
        if (a == 255) {
            out[0] = static_cast<std::uint8_t>(qBlue(p));
            out[1] = static_cast<std::uint8_t>(qGreen(p));
            out[2] = static_cast<std::uint8_t>(qRed(p));
        } else if (format == QImage::Format_ARGB32_Premultiplied) {
            // A colour above its alpha is not valid premultiplied data: clamp it.
            out[0] = static_cast<std::uint8_t>(std::min(255, qBlue(p) + 255 - a));
            out[1] = static_cast<std::uint8_t>(std::min(255, qGreen(p) + 255 - a));
            out[2] = static_cast<std::uint8_t>(std::min(255, qRed(p) + 255 - a));
        } else {
            const int white = 255 * (255 - a);
            out[0] = static_cast<std::uint8_t>((qBlue(p) * a + white + 127) / 255);
            out[1] = static_cast<std::uint8_t>((qGreen(p) * a + white + 127) / 255);
            out[2] = static_cast<std::uint8_t>((qRed(p) * a + white + 127) / 255);
        }
    }
}

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw VexloError("Cannot save the picture \"" + path + "\": " + reason);
}

}  // namespace

void SaveBmpFile(const QImage& image, const std::string& path) {
    if (image.isNull()) {
        Fail(path, "the picture is empty");
    }
    const QImage::Format format = image.format();
    const bool direct = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                        format == QImage::Format_ARGB32_Premultiplied;
    const QImage source = direct ? image : image.convertToFormat(QImage::Format_ARGB32);
    const int width = source.width();
    const int height = source.height();
    const std::uint64_t rowBytes =
        (std::uint64_t{3} * static_cast<std::uint64_t>(width) + 3) / 4 * 4;
    const std::uint64_t pixels = rowBytes * static_cast<std::uint64_t>(height);
    if (pixels > std::numeric_limits<std::uint32_t>::max() - kHeadersSize) {
        Fail(path, "the picture is too large for a BMP file");
    }

    // Every byte reaches the disk before the new file replaces the old one:
    // a full disk leaves the old wallpaper, never a cut one.
    AtomicFile file(path);
    if (!file.Open()) {
        Fail(path, file.Error());
    }
    const auto headers = MakeHeaders(width, height, static_cast<std::uint32_t>(pixels));
    bool written = file.Write(headers.data(), headers.size());
    // Rows are converted into a buffer of about 1 MB and written together.
    const int rowsPerWrite = static_cast<int>(std::max<std::uint64_t>(1, (1u << 20) / rowBytes));
    std::vector<std::uint8_t> buffer(rowBytes * static_cast<std::uint64_t>(rowsPerWrite), 0);
    for (int y = height - 1; written && y >= 0;) {
        std::uint8_t* out = buffer.data();
        for (int i = 0; i < rowsPerWrite && y >= 0; ++i, --y, out += rowBytes) {
            ConvertRow(reinterpret_cast<const QRgb*>(source.constScanLine(y)), width,
                       source.format(), out);
        }
        written = file.Write(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
    }
    if (!written || !file.Commit()) {
        Fail(path, file.Error());
    }
}

bool IsWriterLayout(const BmpHeader& header, QSize placed) {
    return header.width == placed.width() && header.height == placed.height() && !header.topDown &&
           header.infoSize == 40 && header.planes == 1 && header.bitsPerPixel == 24 &&
           header.compression == kBmpRgb && header.declaredOffset == kHeadersSize &&
           header.dataOffset == kHeadersSize &&
           header.dataSize == header.RowBytes() * header.height;
}

bool IsWriterLayout(const std::string& path, QSize placed) {
    try {
        QFile file;
        OpenPictureFile(file, path);
        return IsWriterLayout(ReadBmpHeader(file), placed);
    } catch (const VexloError&) {
        return false;
    }
}

void CopyBmpFile(const std::string& from, const std::string& path) {
    QFile source;
    OpenPictureFile(source, from);
    AtomicFile file(path);
    if (!file.Open()) {
        Fail(path, file.Error());
    }
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;) {
        const qint64 got = source.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (got < 0) {
            throw VexloError("BMP file cannot be read: " + source.errorString().toStdString());
        }
        if (got == 0) {
            break;
        }
        if (!file.Write(buffer.data(), static_cast<std::size_t>(got))) {
            Fail(path, file.Error());
        }
    }
    if (!file.Commit()) {
        Fail(path, file.Error());
    }
}

void MoveBmpFile(const std::string& from, const std::string& path) {
    const int error = ReplaceWithFile(path, from);
    if (error == EXDEV) {
        CopyBmpFile(from, path);
    } else if (error != 0) {
        Fail(path, std::strerror(error));
    }
}

}  // namespace vexlo
