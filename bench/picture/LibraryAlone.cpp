#include "LibraryAlone.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>
#include <unistd.h>

#include <stdexcept>

namespace vexlo::bench {

void LibjpegDecode(const std::string& path, std::vector<std::uint8_t>& pixels, int eighths) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    info.scale_num = static_cast<unsigned>(eighths);
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    pixels.resize(std::size_t{4} * info.output_width * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + std::size_t{4} * info.output_width * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}

void LibpngDecode(const std::string& path, std::vector<std::uint8_t>& pixels) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    pixels.resize(std::size_t{4} * width * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = pixels.data() + std::size_t{4} * width * y;
    }
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
}

std::vector<std::uint8_t> MakeBmpBytes(const std::vector<std::uint8_t>& pixels, int width,
                                       int height) {
    const std::size_t rowBytes = (std::size_t{3} * static_cast<std::size_t>(width) + 3) / 4 * 4;
    const auto dataSize = static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(height));
    std::vector<std::uint8_t> bytes(54 + dataSize, 0);
    auto put = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, 54 + dataSize);
    put(10, 54);
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    put(34, dataSize);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in =
            pixels.data() + std::size_t{4} * static_cast<std::size_t>(width) * (height - 1 - y);
        std::uint8_t* out = bytes.data() + 54 + rowBytes * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = in[4 * x];
            out[3 * x + 1] = in[4 * x + 1];
            out[3 * x + 2] = in[4 * x + 2];
        }
    }
    return bytes;
}

void StdioWriteFile(const std::vector<std::uint8_t>& bytes, const std::string& path, bool sync) {
    const std::string temporary = path + ".new";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        (sync && (std::fflush(file) != 0 || fsync(fileno(file)) != 0)) || std::fclose(file) != 0 ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace vexlo::bench
