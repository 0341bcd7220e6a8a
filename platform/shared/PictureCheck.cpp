#include "shared/PictureCheck.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vexlo {
namespace {

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// False only for a BMP whose pixel rows reach past the end of the file.
bool BmpIsComplete(const std::string& path, std::uintmax_t fileSize) {
    unsigned char header[34] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'B' ||
        header[1] != 'M') {
        return true;  // not a BMP (or no Windows one): the decoder judges it
    }
    const std::uint32_t dataOffset = Le32(header + 10);
    const std::uint32_t infoSize = Le32(header + 14);
    if (infoSize < 40) {
        return true;  // the old OS/2 header; rare enough to leave to the decoder
    }
    const std::int64_t width = static_cast<std::int32_t>(Le32(header + 18));
    const std::int64_t height = std::llabs(static_cast<std::int32_t>(Le32(header + 22)));
    const std::uint16_t bits = Le16(header + 28);
    const std::uint32_t compression = Le32(header + 30);
    if ((compression != 0 && compression != 3) || width <= 0 || bits == 0) {
        return true;  // run-length data has no fixed length
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return dataOffset + stride * static_cast<std::uint64_t>(height) <= fileSize;
}

}  // namespace

bool IsWholePicture(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size == 0) {
        return false;
    }
    // Opened by its bytes: a name that is not UTF-8 must not become another.
    QFile file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    QImageReader reader(&file);
    return reader.canRead() && BmpIsComplete(path, size);
}

}  // namespace vexlo
