#include "shared/ScreenRows.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "VexloError.h"

namespace vexlo {
namespace {

void Fill(std::uint32_t* out, int count, std::uint32_t colour) {
    std::fill(out, out + std::max(0, count), colour);
}

void PutLe(std::uint8_t* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

ScreenRows::ScreenRows(const ScreenRequest& screen, std::uint32_t background)
    : pixels_(screen.pixels),
      placement_(screen.placement),
      background_(0xff000000u | background),
      width_(std::max(0, screen.screen.width)),
      height_(std::max(0, screen.screen.height)) {
    if (placement_ == WallpaperPlacement::Stretch && !pixels_.Empty() && width_ > 0 &&
        height_ > 0) {
        const QImage view(reinterpret_cast<const uchar*>(pixels_.first), pixels_.width,
                          pixels_.height, static_cast<qsizetype>(pixels_.stride * 4),
                          QImage::Format_RGB32);
        stretched_ = view.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!stretched_.isNull()) {
            stretched_ = stretched_.convertToFormat(QImage::Format_RGB32);
            pixels_ = {reinterpret_cast<const std::uint32_t*>(stretched_.constBits()),
                       stretched_.width(), stretched_.height(), stretched_.bytesPerLine() / 4};
        }
    }
}

void ScreenRows::Row(int y, std::uint32_t* out) const {
    const int pw = pixels_.width;
    const int ph = pixels_.height;
    if (pixels_.Empty()) {
        Fill(out, width_, background_);
        return;
    }
    if (placement_ == WallpaperPlacement::Tile) {
        const std::uint32_t* row = pixels_.Row(y % ph);
        for (int x = 0; x < width_; x += pw) {
            std::memcpy(out + x, row, sizeof(std::uint32_t) * std::min(pw, width_ - x));
        }
        return;
    }
    // Centred (a stretched picture is centred at the screen's own size);
    // larger pictures are cut evenly on both sides.
    const int left = (width_ - pw) / 2;
    const int py = y - (height_ - ph) / 2;
    if (py < 0 || py >= ph) {
        Fill(out, width_, background_);
        return;
    }
    const int from = std::max(0, left);
    const int to = std::min(width_, left + pw);
    Fill(out, from, background_);
    if (to > from) {
        std::memcpy(out + from, pixels_.Row(py) + (from - left),
                    sizeof(std::uint32_t) * static_cast<std::size_t>(to - from));
    }
    Fill(out + std::max(from, to), width_ - std::max(from, to), background_);
}

ScreenArea BoundingBox(const std::vector<ScreenRequest>& screens) {
    bool any = false;
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    for (const ScreenRequest& s : screens) {
        if (s.screen.width <= 0 || s.screen.height <= 0) {
            continue;
        }
        const std::int64_t r = std::int64_t{s.screen.x} + s.screen.width;
        const std::int64_t b = std::int64_t{s.screen.y} + s.screen.height;
        left = any ? std::min<std::int64_t>(left, s.screen.x) : s.screen.x;
        top = any ? std::min<std::int64_t>(top, s.screen.y) : s.screen.y;
        right = any ? std::max(right, r) : r;
        bottom = any ? std::max(bottom, b) : b;
        any = true;
    }
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, 0, 0x7fffffff));
    };
    return {static_cast<int>(left), static_cast<int>(top), clamp(right - left),
            clamp(bottom - top)};
}

bool WriteBmpRows(const std::string& path, int width, int height,
                  const std::function<void(int y, std::uint32_t* row)>& row) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::uint64_t imageBytes = stride * static_cast<std::uint64_t>(height);
    if (imageBytes + 54 > 0xffffffffu) {
        return false;
    }
    std::uint8_t header[54] = {'B', 'M'};
    PutLe(header + 2, static_cast<std::uint32_t>(imageBytes + 54), 4);
    PutLe(header + 10, 54, 4);
    PutLe(header + 14, 40, 4);
    PutLe(header + 18, static_cast<std::uint32_t>(width), 4);
    PutLe(header + 22, static_cast<std::uint32_t>(height), 4);
    PutLe(header + 26, 1, 2);
    PutLe(header + 28, 24, 2);
    PutLe(header + 34, static_cast<std::uint32_t>(imageBytes), 4);
    PutLe(header + 38, 2835, 4);  // 72 dpi
    PutLe(header + 42, 2835, 4);

    const std::string temporary = path + ".part-" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width));
    const int rowsPerChunk = static_cast<int>(std::max<std::size_t>(1, (1u << 20) / stride));
    std::vector<std::uint8_t> chunk(stride * static_cast<std::size_t>(rowsPerChunk), 0);
    for (int y = height - 1; written && y >= 0;) {
        std::size_t used = 0;
        for (int n = 0; n < rowsPerChunk && y >= 0; ++n, --y, used += stride) {
            row(y, pixels.data());
            std::uint8_t* out = chunk.data() + used;
            for (int x = 0; x < width; ++x, out += 3) {
                out[0] = static_cast<std::uint8_t>(pixels[x]);
                out[1] = static_cast<std::uint8_t>(pixels[x] >> 8);
                out[2] = static_cast<std::uint8_t>(pixels[x] >> 16);
            }
        }
        written = std::fwrite(chunk.data(), 1, used, file) == used;
    }
    written = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    std::error_code ec;
    if (written) {
        std::filesystem::rename(temporary, path, ec);
    }
    if (!written || ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

bool ComposeScreens(const ScreensRequest& request, const std::string& path) {
    const ScreenArea box = BoundingBox(request.screens);
    if (static_cast<std::int64_t>(box.width) * box.height > kMaxComposedPixels) {
        throw VexloError("The screens together measure " + std::to_string(box.width) + " x " +
                         std::to_string(box.height) +
                         " pixels, more than one wallpaper picture may have");
    }
    struct Part {
        ScreenRows rows;
        int x;
        int y;
        bool primary;
    };
    std::vector<Part> parts;
    for (const ScreenRequest& s : request.screens) {
        if (s.screen.width > 0 && s.screen.height > 0) {
            parts.push_back({ScreenRows(s, request.background), s.screen.x - box.x,
                             s.screen.y - box.y, s.screen.primary});
        }
    }
    // Where screens overlap (one shown inside another) the primary is on top.
    std::stable_partition(parts.begin(), parts.end(),
                          [](const Part& part) { return !part.primary; });
    const std::uint32_t background = 0xff000000u | request.background;
    return WriteBmpRows(path, box.width, box.height, [&](int y, std::uint32_t* out) {
        Fill(out, box.width, background);
        // Later screens are drawn over earlier ones where they overlap.
        for (const Part& part : parts) {
            if (y >= part.y && y < part.y + part.rows.Height()) {
                part.rows.Row(y - part.y, out + part.x);
            }
        }
    });
}

}  // namespace vexlo
