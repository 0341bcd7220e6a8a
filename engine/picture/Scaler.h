#pragma once

#include <QImage>

namespace vexlo {

// Scales the picture to width x height with an area-averaging filter (each
// destination pixel is the average of its exact footprint in the source;
// enlarging interpolates linearly). Colours are averaged weighted by their
// alpha, and transparency is laid over white: the result is an opaque
// Format_RGB32 picture. Throws VexloError for an empty source or a target
// size that is not positive or is too large.
QImage ScaleAreaAverage(const QImage& source, int width, int height);

}  // namespace vexlo
