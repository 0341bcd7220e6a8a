#include "picture/ScaleWeights.h"

#include <algorithm>
#include <cmath>

namespace vexlo {

namespace {

void AddBox(ScaleWeights& w, int sourceSize, int targetSize, int target) {
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double low = target * scale;
    const double high = std::min<double>(sourceSize, (target + 1) * scale);
    const int first = static_cast<int>(std::floor(low));
    const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(high)) - 1);
    ScaleTaps taps{first, 0, static_cast<int>(w.weights.size())};
    for (int i = first; i <= last; ++i) {
        const double covered = std::min<double>(high, i + 1) - std::max<double>(low, i);
        if (covered <= 0) {
            continue;
        }
        if (taps.count == 0) {
            taps.first = i;
        }
        w.weights.push_back(static_cast<float>(covered / (high - low)));
        ++taps.count;
    }
    w.taps.push_back(taps);
}

void AddLinear(ScaleWeights& w, int sourceSize, int targetSize, int target) {
    const double centre = (target + 0.5) * sourceSize / targetSize - 0.5;
    const int left = static_cast<int>(std::floor(centre));
    const auto right = static_cast<float>(centre - left);
    const int first = std::clamp(left, 0, sourceSize - 1);
    const int second = std::clamp(left + 1, 0, sourceSize - 1);
    ScaleTaps taps{first, 1, static_cast<int>(w.weights.size())};
    if (first == second) {  // at an edge both neighbours are the same pixel
        w.weights.push_back(1.0f);
    } else {
        w.weights.push_back(1.0f - right);
        w.weights.push_back(right);
        taps.count = 2;
    }
    w.taps.push_back(taps);
}

}  // namespace

ScaleWeights MakeScaleWeights(int sourceSize, int targetSize) {
    ScaleWeights w;
    w.taps.reserve(static_cast<std::size_t>(targetSize));
    for (int target = 0; target < targetSize; ++target) {
        if (targetSize <= sourceSize) {
            AddBox(w, sourceSize, targetSize, target);
        } else {
            AddLinear(w, sourceSize, targetSize, target);
        }
        w.maxCount = std::max(w.maxCount, w.taps.back().count);
    }
    return w;
}

}  // namespace vexlo
