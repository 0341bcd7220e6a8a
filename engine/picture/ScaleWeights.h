#pragma once

#include <vector>

namespace vexlo {

// The source pixels that make one destination pixel along one axis, with
// their weights (summing to 1). Taps are contiguous source indices; inside a
// run every weight but the first and the last is the same, so a destination
// pixel costs the same few numbers however many source pixels it averages.
struct ScaleTaps {
    int first = 0;
    int count = 0;
    float firstWeight = 1.0f;
    float middleWeight = 0.0f;
    float lastWeight = 0.0f;

    float Weight(int i) const {
        return i == 0 ? firstWeight : i == count - 1 ? lastWeight : middleWeight;
    }
};

struct ScaleWeights {
    std::vector<ScaleTaps> taps;  // one per destination pixel
};

// Shrinking (or keeping the size) averages the exact footprint of each
// destination pixel in the source, partial pixels weighted by their covered
// fraction. Enlarging interpolates linearly between the two nearest source
// pixel centres, which keeps the average of the picture.
ScaleWeights MakeScaleWeights(int sourceSize, int targetSize);

}  // namespace vexlo
