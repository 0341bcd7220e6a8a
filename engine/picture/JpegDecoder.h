#pragma once

#include <QImage>
#include <string>

namespace vexlo {

// Decodes a JPEG file at full size with libjpeg: baseline, progressive,
// greyscale, RGB, CMYK and YCCK (Adobe's inverted CMYK too), restart markers.
// The result is Format_RGB32. A file that ends early still gives a picture,
// grey where the data is missing, as libjpeg itself does; other errors throw
// VexloError with libjpeg's own message.
QImage DecodeJpegFile(const std::string& path);

}  // namespace vexlo
