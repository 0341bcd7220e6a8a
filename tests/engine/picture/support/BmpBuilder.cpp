#include <QFile>
#include <stdexcept>

#include "PictureWriters.h"

namespace vexlo::testing {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout) {
    std::vector<std::uint8_t> info;
    Put(info, static_cast<std::uint32_t>(layout.headerSize), 4);
    if (layout.headerSize == 12) {
        Put(info, static_cast<std::uint32_t>(layout.width), 2);
        Put(info, static_cast<std::uint32_t>(layout.height), 2);
        Put(info, 1, 2);
        Put(info, static_cast<std::uint32_t>(layout.bitsPerPixel), 2);
    } else {
        Put(info, static_cast<std::uint32_t>(layout.width), 4);
        Put(info, static_cast<std::uint32_t>(layout.height), 4);
        Put(info, 1, 2);
        Put(info, static_cast<std::uint32_t>(layout.bitsPerPixel), 2);
        Put(info, layout.compression, 4);
        Put(info, static_cast<std::uint32_t>(layout.pixels.size()), 4);
        Put(info, 2835, 4);
        Put(info, 2835, 4);
        Put(info, static_cast<std::uint32_t>(layout.palette.size()), 4);
        Put(info, 0, 4);
        for (std::size_t i = 0; layout.headerSize > 40 && i < layout.masks.size(); ++i) {
            Put(info, layout.masks[i], 4);
        }
        info.resize(static_cast<std::size_t>(layout.headerSize), 0);
    }
    if (layout.headerSize == 40) {
        for (std::uint32_t mask : layout.masks) {
            Put(info, mask, 4);
        }
    }
    for (QRgb c : layout.palette) {
        info.insert(info.end(),
                    {static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                     static_cast<std::uint8_t>(qRed(c))});
        if (layout.headerSize != 12) {
            info.push_back(0);
        }
    }
    const std::int64_t offset = layout.dataOffset >= 0 ? layout.dataOffset : 14 + info.size();
    if (offset > static_cast<std::int64_t>(14 + info.size())) {
        info.resize(static_cast<std::size_t>(offset - 14), 0);
    }
    std::vector<std::uint8_t> file{'B', 'M'};
    Put(file, static_cast<std::uint32_t>(14 + info.size() + layout.pixels.size()), 4);
    Put(file, 0, 4);
    Put(file, static_cast<std::uint32_t>(offset), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), layout.pixels.begin(), layout.pixels.end());
    return file;
}

std::vector<std::uint8_t> PackBmpRows(const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<std::uint8_t> out;
    for (const auto& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}

void WriteBytes(const std::vector<std::uint8_t>& bytes, const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path);
    }
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

QRgb BlockColour(int x, int y) {
    static constexpr QRgb kColours[] = {0xffc01010, 0xff10c010, 0xff1010c0, 0xffe0e020,
                                        0xff20e0e0, 0xffe020e0, 0xff202020, 0xfff0f0f0};
    return kColours[((x / 16) + 3 * (y / 16)) % 8];
}

QImage MakeBlockPattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            row[x] = BlockColour(x, y);
        }
    }
    return image;
}

}  // namespace vexlo::testing
