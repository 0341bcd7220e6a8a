#include <png.h>

#include <cstdio>
#include <stdexcept>

#include "PictureWriters.h"

namespace vexlo::testing {

void WritePng(const PngLayout& layout, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width),
                 static_cast<png_uint_32>(layout.height), layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (QRgb c : layout.palette) {
        palette.push_back({static_cast<png_byte>(qRed(c)), static_cast<png_byte>(qGreen(c)),
                           static_cast<png_byte>(qBlue(c))});
    }
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    if (!layout.paletteAlpha.empty()) {
        png_set_tRNS(png, info, layout.paletteAlpha.data(),
                     static_cast<int>(layout.paletteAlpha.size()), nullptr);
    }
    if (!layout.transparentColour.empty()) {
        png_color_16 colour{};
        if (layout.transparentColour.size() == 1) {
            colour.gray = layout.transparentColour[0];
        } else {
            colour.red = layout.transparentColour[0];
            colour.green = layout.transparentColour[1];
            colour.blue = layout.transparentColour[2];
        }
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : layout.rows) {
        rows.push_back(const_cast<png_bytep>(row.data()));
    }
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void WritePngImage(const QImage& image, const std::string& path, bool interlaced) {
    PngLayout layout;
    layout.width = image.width();
    layout.height = image.height();
    const bool alpha = image.hasAlphaChannel();
    layout.colourType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    layout.interlaced = interlaced;
    for (int y = 0; y < image.height(); ++y) {
        std::vector<std::uint8_t> row;
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p =
                image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32
                    ? line[x]
                    : image.pixel(x, y);
            row.insert(row.end(),
                       {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                        static_cast<std::uint8_t>(qBlue(p))});
            if (alpha) {
                row.push_back(static_cast<std::uint8_t>(qAlpha(p)));
            }
        }
        layout.rows.push_back(std::move(row));
    }
    WritePng(layout, path);
}

}  // namespace vexlo::testing
