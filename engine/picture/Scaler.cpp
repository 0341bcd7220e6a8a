#include "picture/Scaler.h"

#include <algorithm>
#include <vector>

#include "VexloError.h"
#include "picture/PictureLimits.h"
#include "picture/ScaleWeights.h"

namespace vexlo {

namespace {

// Source rows filtered horizontally. The rows a destination row needs are
// contiguous and move only forwards, and neighbouring destination rows share
// at most two of them, so a ring of two rows computes each source row once:
// the memory follows the output, not the input.
class FilteredRows {
public:
    FilteredRows(const QImage& source, const ScaleWeights& across)
        : source_(source),
          across_(across),
          width_(static_cast<int>(across.taps.size())),
          ring_(2),
          ringRow_(2, -1) {}

    const float* Row(int sourceRow) {
        const auto slot = static_cast<std::size_t>(sourceRow) % ring_.size();
        if (ringRow_[slot] != sourceRow) {
            Filter(sourceRow, ring_[slot]);
            ringRow_[slot] = sourceRow;
        }
        return ring_[slot].data();
    }

private:
    // Colours premultiplied by alpha, so a transparent pixel adds no colour.
    // Read straight from the picture: no copy of a whole source row is made.
    void Filter(int sourceRow, std::vector<float>& row) {
        const auto* in = reinterpret_cast<const QRgb*>(source_.constScanLine(sourceRow));
        const QImage::Format format = source_.format();
        row.assign(4 * static_cast<std::size_t>(width_), 0.0f);
        for (int x = 0; x < width_; ++x) {
            const ScaleTaps& taps = across_.taps[static_cast<std::size_t>(x)];
            float* out = &row[4 * static_cast<std::size_t>(x)];
            for (int i = 0; i < taps.count; ++i) {
                const QRgb p = in[taps.first + i];
                const float a =
                    format == QImage::Format_RGB32 ? 255.0f : static_cast<float>(qAlpha(p));
                const float k =
                    (format == QImage::Format_ARGB32 ? a / 255.0f : 1.0f) * taps.Weight(i);
                out[0] += static_cast<float>(qRed(p)) * k;
                out[1] += static_cast<float>(qGreen(p)) * k;
                out[2] += static_cast<float>(qBlue(p)) * k;
                out[3] += a * taps.Weight(i);
            }
        }
    }

    const QImage& source_;
    const ScaleWeights& across_;
    int width_;
    std::vector<std::vector<float>> ring_;
    std::vector<int> ringRow_;
};

std::uint8_t ToByte(float value) {
    return static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

}  // namespace

QImage ScaleAreaAverage(const QImage& image, int width, int height) {
    if (image.isNull()) {
        throw VexloError("Cannot scale an empty picture");
    }
    QImage result = MakePicture(width, height, QImage::Format_RGB32);
    const QImage::Format format = image.format();
    const bool direct = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                        format == QImage::Format_ARGB32_Premultiplied;
    const QImage source = direct ? image : image.convertToFormat(QImage::Format_ARGB32);

    const ScaleWeights across = MakeScaleWeights(source.width(), width);
    const ScaleWeights down = MakeScaleWeights(source.height(), height);
    FilteredRows rows(source, across);
    std::vector<float> sum(4 * static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        const ScaleTaps& taps = down.taps[static_cast<std::size_t>(y)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int i = 0; i < taps.count; ++i) {
            const float weight = taps.Weight(i);
            const float* row = rows.Row(taps.first + i);
            for (std::size_t j = 0; j < sum.size(); ++j) {
                sum[j] += weight * row[j];
            }
        }
        // Over white: what the alpha leaves uncovered shows white.
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float* p = &sum[4 * static_cast<std::size_t>(x)];
            const float white = 255.0f - p[3];
            out[x] = qRgb(ToByte(p[0] + white), ToByte(p[1] + white), ToByte(p[2] + white));
        }
    }
    return result;
}

}  // namespace vexlo
