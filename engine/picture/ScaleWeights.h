#pragma once

#include <vector>

namespace vexlo {

// The source pixels that make one destination pixel along one axis, with
// their weights (summing to 1). Taps are contiguous source indices.
struct ScaleTaps {
    int first = 0;
    int count = 0;
    int weightsAt = 0;  // index of the first weight in ScaleWeights::weights
};

struct ScaleWeights {
    std::vector<ScaleTaps> taps;  // one per destination pixel
    std::vector<float> weights;
    int maxCount = 0;
};

// Shrinking (or keeping the size) averages the exact footprint of each
// destination pixel in the source, partial pixels weighted by their covered
// fraction. Enlarging interpolates linearly between the two nearest source
// pixel centres, which keeps the average of the picture.
ScaleWeights MakeScaleWeights(int sourceSize, int targetSize);

}  // namespace vexlo
