#pragma once

#include <QImage>
#include <string>

namespace vexlo {

// Writes the picture as a 24-bit, bottom-up, uncompressed (BI_RGB) BMP with a
// 40-byte BITMAPINFOHEADER: the variant every desktop loads. Transparent
// pixels are laid over white. The file is written beside the target and then
// renamed over it, so a reader never sees half a file and a failed save
// leaves the previous file as it was. Rows are converted and written about
// 1 MB at a time; no second copy of the picture is made (except for formats
// other than RGB32, ARGB32 and ARGB32_Premultiplied, which are converted
// first). Throws VexloError naming the path on failure.
void SaveBmpFile(const QImage& image, const std::string& path);

}  // namespace vexlo
