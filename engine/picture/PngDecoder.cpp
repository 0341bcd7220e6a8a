#include "picture/PngDecoder.h"

#include <png.h>

#include <QFile>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "VexloError.h"
#include "picture/PictureFile.h"
#include "picture/PictureLimits.h"

namespace vexlo {

namespace {

// libpng's error callback must not return, and a C++ exception must not
// cross libpng's C frames: it jumps back to the step that called libpng.
struct PngDecoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    QFile file;
    std::jmp_buf jump;
    char message[256] = {};
    bool alpha = false;

    PngDecoder() = default;
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;
    ~PngDecoder() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    [[noreturn]] void Fail() const { throw VexloError(message); }
};

extern "C" void OnPngError(png_structp png, png_const_charp text) {
    auto* d = static_cast<PngDecoder*>(png_get_error_ptr(png));
    std::strncpy(d->message, text ? text : "PNG error", sizeof d->message - 1);
    std::longjmp(d->jump, 1);
}

// Warnings (a bad ancillary chunk, say) leave the picture intact.
extern "C" void OnPngWarning(png_structp, png_const_charp) {}

extern "C" void OnPngRead(png_structp png, png_bytep out, size_t length) {
    auto* d = static_cast<PngDecoder*>(png_get_io_ptr(png));
    const auto wanted = static_cast<qint64>(length);
    if (d->file.read(reinterpret_cast<char*>(out), wanted) != wanted) {
        png_error(png, "Premature end of PNG file");
    }
}

// Reads the chunks up to the pixel data. Only what the picture needs is
// kept: every ancillary chunk (text, ICC profile, EXIF, unknown ones) is
// skipped unread, so a chunk declaring gigabytes costs nothing.
bool ReadInfo(PngDecoder* d) {
    if (setjmp(d->jump)) {
        return false;
    }
    png_structp png = d->png;
    png_set_read_fn(png, d, OnPngRead);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_chunk_malloc_max(png, 1 << 20);
    png_set_chunk_cache_max(png, 100);
    // Our own size limit decides, with its clearer message, right after this.
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, d->info);
    return true;
}

// Asks libpng for 8-bit samples laid out as QRgb.
bool SetTransforms(PngDecoder* d) {
    if (setjmp(d->jump)) {
        return false;
    }
    png_structp png = d->png;
    png_infop info = d->info;

    const int colour = png_get_color_type(png, info);
    if (colour == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colour == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    d->alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0;
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        d->alpha = true;
    }
    png_set_scale_16(png);
    if ((colour & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    if (!d->alpha) {
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    }
#else
    png_set_swap_alpha(png);
    if (!d->alpha) {
        png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
    }
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadPixels(PngDecoder* d, png_bytepp rows) {
    if (setjmp(d->jump)) {
        return false;
    }
    png_read_image(d->png, rows);
    return true;
}

}  // namespace

QImage DecodePngFile(const std::string& path) {
    PngDecoder decoder;
    OpenPictureFile(decoder.file, path);
    decoder.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &decoder, OnPngError, OnPngWarning);
    if (decoder.png) {
        decoder.info = png_create_info_struct(decoder.png);
    }
    if (!decoder.info) {
        throw VexloError("Not enough memory to read a PNG file");
    }
    if (!ReadInfo(&decoder)) {
        decoder.Fail();
    }
    const png_uint_32 width = png_get_image_width(decoder.png, decoder.info);
    const png_uint_32 height = png_get_image_height(decoder.png, decoder.info);
    // Before libpng sizes its row buffers for the picture.
    CheckDeclaredPicture(width, height, decoder.file.size());
    if (!SetTransforms(&decoder)) {
        decoder.Fail();
    }
    QImage image =
        MakePicture(width, height, decoder.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (png_get_rowbytes(decoder.png, decoder.info) != 4 * std::size_t{width}) {
        throw VexloError("PNG file has a pixel layout that cannot be read");
    }
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = image.scanLine(static_cast<int>(y));
    }
    if (!ReadPixels(&decoder, rows.data())) {
        decoder.Fail();
    }
    return image;
}

}  // namespace vexlo
