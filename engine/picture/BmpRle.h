#pragma once

#include <QByteArray>
#include <QImage>

#include "picture/BmpHeader.h"

namespace vexlo {

// Expands RLE8 or RLE4 data into `image` (Format_ARGB32, already of the
// header's size). Pixels the data skips (delta, end of line or of bitmap)
// stay as they are. Throws VexloError when the data ends before the picture.
void DecodeBmpRle(const BmpHeader& header, const QByteArray& data, QImage& image);

}  // namespace vexlo
