// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <stdexcept>
#include <vector>

#include "PictureWriters.h"

namespace vexlo::testing {

namespace {

std::vector<JSAMPLE> MakeRow(const QImage& image, int y, JpegColour colour) {
    const int width = image.width();
    const bool inverted = colour == JpegColour::CmykAdobe || colour == JpegColour::Ycck;
    std::vector<JSAMPLE> row;
    for (int x = 0; x < width; ++x) {
        const QRgb p = image.pixel(x, y);
        switch (colour) {
            case JpegColour::Rgb:
                row.insert(row.end(),
                           {static_cast<JSAMPLE>(qRed(p)), static_cast<JSAMPLE>(qGreen(p)),
                            static_cast<JSAMPLE>(qBlue(p))});
                break;
            case JpegColour::Grey:
                row.push_back(static_cast<JSAMPLE>(qGray(p)));
                break;
            default: {
                // K = 0; Adobe stores every ink inverted.
                const int c = 255 - qRed(p), m = 255 - qGreen(p), yy = 255 - qBlue(p), k = 0;
                for (int v : {c, m, yy, k}) {
                    row.push_back(static_cast<JSAMPLE>(inverted ? 255 - v : v));
                }
            }
        }
    }
    return row;
}

}  // namespace

void WriteJpeg(const QImage& image, const std::string& path, const JpegOptions& options) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    const JpegColour colour = options.colour;
    const bool cmyk = colour != JpegColour::Rgb && colour != JpegColour::Grey;
    info.input_components = colour == JpegColour::Grey ? 1 : cmyk ? 4 : 3;
    info.in_color_space = colour == JpegColour::Grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (cmyk) {
        jpeg_set_colorspace(&info, colour == JpegColour::Ycck ? JCS_YCCK : JCS_CMYK);
        info.write_Adobe_marker = colour != JpegColour::Cmyk;
    }
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive) {
        jpeg_simple_progression(&info);
    }
    info.restart_in_rows = options.restartRows;
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < image.height(); ++y) {
        std::vector<JSAMPLE> row = MakeRow(image, y, colour);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

}  // namespace vexlo::testing
