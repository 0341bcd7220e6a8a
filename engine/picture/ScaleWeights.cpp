#include "picture/ScaleWeights.h"

#include <algorithm>
#include <cmath>

namespace vexlo {

namespace {

void AddBox(ScaleWeights& w, int sourceSize, int targetSize, int target) {
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double low = target * scale;
    const double high = std::min<double>(sourceSize, (target + 1) * scale);
    int first = static_cast<int>(std::floor(low));
    int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(high)) - 1);
    const auto covered = [&](int i) {
        return std::min<double>(high, i + 1) - std::max<double>(low, i);
    };
    while (first < last && covered(first) <= 0) {
        ++first;
    }
    while (last > first && covered(last) <= 0) {
        --last;
    }
    const double span = high - low;
    ScaleTaps taps;
    taps.first = first;
    taps.count = last - first + 1;
    taps.firstWeight = static_cast<float>(covered(first) / span);
    taps.lastWeight = static_cast<float>(covered(last) / span);
    taps.middleWeight = static_cast<float>(1.0 / span);
    w.taps.push_back(taps);
}

void AddLinear(ScaleWeights& w, int sourceSize, int targetSize, int target) {
    const double centre = (target + 0.5) * sourceSize / targetSize - 0.5;
    const int left = static_cast<int>(std::floor(centre));
    const auto right = static_cast<float>(centre - left);
    const int first = std::clamp(left, 0, sourceSize - 1);
    const int second = std::clamp(left + 1, 0, sourceSize - 1);
    ScaleTaps taps;
    taps.first = first;
    if (first == second) {  // at an edge both neighbours are the same pixel
        taps.count = 1;
    } else {
        taps.count = 2;
        taps.firstWeight = 1.0f - right;
        taps.lastWeight = right;
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
    }
    return w;
}

}  // namespace vexlo
