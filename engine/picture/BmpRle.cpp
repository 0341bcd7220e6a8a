#include "picture/BmpRle.h"

#include <algorithm>

#include "VexloError.h"

namespace vexlo {

namespace {

class RleCursor {
public:
    RleCursor(const BmpHeader& header, QImage& image) : header_(header), image_(image) {}

    bool Done() const { return y_ >= header_.height; }
    void NextLine() {
        x_ = 0;
        ++y_;
    }
    void Move(int dx, int dy) {
        x_ += dx;
        y_ += dy;
    }
    // How many of `count` pixels still fit on the row; the rest are dropped,
    // as the format allows no wrap, and skipped without a loop.
    int Room(int count) const {
        return static_cast<int>(std::clamp<std::int64_t>(header_.width - x_, 0, count));
    }
    void Put(int index) {
        if (x_ < header_.width) {
            const std::int64_t row = header_.topDown ? y_ : header_.height - 1 - y_;
            reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(row)))[x_] =
                header_.palette[static_cast<std::size_t>(index)];
        }
        ++x_;
    }

private:
    const BmpHeader& header_;
    QImage& image_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
};

}  // namespace

void DecodeBmpRle(const BmpHeader& header, const QByteArray& data, QImage& image) {
    const bool four = header.compression == kBmpRle4;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const qsizetype size = data.size();
    RleCursor cursor(header, image);
    qsizetype at = 0;
    while (!cursor.Done()) {
        if (at + 2 > size) {
            throw VexloError("BMP file is truncated: its RLE data ends before the picture does");
        }
        const int count = bytes[at];
        const int value = bytes[at + 1];
        at += 2;
        if (count > 0) {  // a run of one index, or of two alternating ones (RLE4)
            const int room = cursor.Room(count);
            for (int i = 0; i < room; ++i) {
                cursor.Put(four ? (i % 2 == 0 ? value >> 4 : value & 0x0f) : value);
            }
            cursor.Move(count - room, 0);
        } else if (value == 0) {
            cursor.NextLine();
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (at + 2 > size) {
                throw VexloError("BMP file is truncated: its RLE data ends inside a move");
            }
            cursor.Move(bytes[at], bytes[at + 1]);
            at += 2;
        } else {  // literal pixels, padded to an even number of bytes
            const qsizetype length = four ? (value + 1) / 2 : value;
            if (at + length > size) {
                throw VexloError("BMP file is truncated: its RLE data ends inside a run");
            }
            const int room = cursor.Room(value);
            for (int i = 0; i < room; ++i) {
                const int byte = bytes[at + (four ? i / 2 : i)];
                cursor.Put(four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0f) : byte);
            }
            cursor.Move(value - room, 0);
            at += length + (length % 2);
        }
    }
}

}  // namespace vexlo
