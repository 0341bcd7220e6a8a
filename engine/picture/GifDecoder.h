#pragma once

#include <QImage>
#include <string>

namespace vexlo {

// Decodes the first image of a GIF file with giflib, interlaced or not, with
// its local or the global colour map, placed on the logical screen (enlarged
// to hold the image when the screen is declared smaller). Pixels outside the
// image and of the transparent colour are transparent (Format_ARGB32); a GIF
// whose first image covers the screen without transparency gives
// Format_RGB32. Errors throw VexloError with giflib's GifErrorString text.
QImage DecodeGifFile(const std::string& path);

}  // namespace vexlo
