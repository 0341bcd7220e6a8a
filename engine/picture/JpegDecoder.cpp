#include "picture/JpegDecoder.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "VexloError.h"
#include "picture/PictureFile.h"
#include "picture/PictureLimits.h"

namespace vexlo {

namespace {

// A real progressive JPEG has about ten scans; a damaged one can declare so
// many that decoding never seems to end.
constexpr int kMaxProgressiveScans = 500;

// error_exit must not return into libjpeg, and a C++ exception must not cross
// its C frames: it jumps back to the setjmp of the step that called libjpeg.
struct JpegErrors {
    jpeg_error_mgr pub;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

JpegErrors* ErrorsOf(j_common_ptr info) {
    return reinterpret_cast<JpegErrors*>(info->err);
}

extern "C" void OnJpegError(j_common_ptr info) {
    (*info->err->format_message)(info, ErrorsOf(info)->message);
    std::longjmp(ErrorsOf(info)->jump, 1);
}

// Warnings (a file that ends early, extraneous bytes) are not printed: the
// picture is still produced, as the library intends.
extern "C" void OnJpegMessage(j_common_ptr) {}

extern "C" void OnJpegProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->progressive_mode && decompress->input_scan_number > kMaxProgressiveScans) {
        std::snprintf(ErrorsOf(info)->message, JMSG_LENGTH_MAX,
                      "Progressive JPEG has more than %d scans", kMaxProgressiveScans);
        std::longjmp(ErrorsOf(info)->jump, 1);
    }
}

struct JpegDecoder {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    bool created = false;

    JpegDecoder() = default;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
    ~JpegDecoder() {
        if (created) {
            jpeg_destroy_decompress(&info);
        }
    }
    [[noreturn]] void Fail() const { throw VexloError(errors.message); }
};

// The steps below call libjpeg and may be left by longjmp: they hold only
// trivially destructible locals and report failure by returning false.

bool StartReading(JpegDecoder* d, const unsigned char* data, unsigned long size) {
    d->info.err = jpeg_std_error(&d->errors.pub);
    d->errors.pub.error_exit = OnJpegError;
    d->errors.pub.output_message = OnJpegMessage;
    if (setjmp(d->errors.jump)) {
        return false;
    }
    jpeg_create_decompress(&d->info);
    d->created = true;
    d->errors.progress.progress_monitor = OnJpegProgress;
    d->info.progress = &d->errors.progress;
    jpeg_mem_src(&d->info, data, size);
    jpeg_read_header(&d->info, TRUE);
    return true;
}

bool StartDecompress(JpegDecoder* d) {
    if (setjmp(d->errors.jump)) {
        return false;
    }
    jpeg_start_decompress(&d->info);
    return true;
}

// Reads every row into the bitmap, directly or through `buffer` when the rows
// need converting (CMYK).
bool ReadRows(JpegDecoder* d, QImage* image, unsigned char* buffer) {
    if (setjmp(d->errors.jump)) {
        return false;
    }
    j_decompress_ptr info = &d->info;
    const bool adobe = info->saw_Adobe_marker;
    while (info->output_scanline < info->output_height) {
        auto* line =
            reinterpret_cast<QRgb*>(image->scanLine(static_cast<int>(info->output_scanline)));
        JSAMPROW row = buffer ? buffer : reinterpret_cast<JSAMPROW>(line);
        if (jpeg_read_scanlines(info, &row, 1) != 1) {
            // Only a suspending source returns no row; a memory source never does.
            std::snprintf(d->errors.message, JMSG_LENGTH_MAX, "Premature end of JPEG file");
            return false;
        }
        if (!buffer) {
            continue;
        }
        for (JDIMENSION x = 0; x < info->output_width; ++x) {
            const unsigned char* p = buffer + 4 * x;
            // Photoshop stores CMYK inverted and marks it with an Adobe marker.
            const int c = adobe ? p[0] : 255 - p[0];
            const int m = adobe ? p[1] : 255 - p[1];
            const int y = adobe ? p[2] : 255 - p[2];
            const int k = adobe ? p[3] : 255 - p[3];
            line[x] = qRgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
        }
    }
    return true;
}

// The largest denominator of 2, 4 and 8 that keeps the decoded picture at
// least as large as the part of the panel it covers; 1 for full size.
unsigned ScaleDenominator(JDIMENSION width, JDIMENSION height, QSize panel) {
    if (panel.isEmpty()) {
        return 1;
    }
    const QSize fitted = QSize(static_cast<int>(width), static_cast<int>(height))
                             .scaled(panel, Qt::KeepAspectRatio)
                             .expandedTo(QSize(1, 1));
    for (unsigned denominator = 8; denominator > 1; denominator /= 2) {
        // libjpeg rounds the scaled sizes up.
        const JDIMENSION w = (width + denominator - 1) / denominator;
        const JDIMENSION h = (height + denominator - 1) / denominator;
        if (w >= static_cast<JDIMENSION>(fitted.width()) &&
            h >= static_cast<JDIMENSION>(fitted.height())) {
            return denominator;
        }
    }
    return 1;
}

}  // namespace

QImage DecodeJpegFile(const std::string& path) {
    return DecodeJpegFileForPanel(path, QSize(), nullptr);
}

QImage DecodeJpegFileForPanel(const std::string& path, QSize panel, QSize* fullSize) {
    const QByteArray bytes = ReadPictureFile(path);
    JpegDecoder decoder;
    if (!StartReading(&decoder, reinterpret_cast<const unsigned char*>(bytes.constData()),
                      static_cast<unsigned long>(bytes.size()))) {
        decoder.Fail();
    }
    jpeg_decompress_struct& info = decoder.info;
    CheckDeclaredPicture(info.image_width, info.image_height, bytes.size());
    if (fullSize != nullptr) {
        *fullSize = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    }
    info.scale_num = 1;
    info.scale_denom = ScaleDenominator(info.image_width, info.image_height, panel);

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
#else
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_ARGB;
#endif
    if (!StartDecompress(&decoder)) {
        decoder.Fail();
    }
    QImage image = MakePicture(info.output_width, info.output_height, QImage::Format_RGB32);
    std::vector<unsigned char> buffer(cmyk ? 4 * std::size_t{info.output_width} : 0);
    if (!ReadRows(&decoder, &image, cmyk ? buffer.data() : nullptr)) {
        decoder.Fail();
    }
    return image;
}

}  // namespace vexlo
