#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace vexlo {

// Decodes a JPEG file at full size with libjpeg: baseline, progressive,
// greyscale, RGB, CMYK and YCCK (Adobe's inverted CMYK too), restart markers.
// The result is Format_RGB32. A file that ends early still gives a picture,
// grey where the data is missing, as libjpeg itself does; other errors throw
// VexloError with libjpeg's own message.
QImage DecodeJpegFile(const std::string& path);

// The same, for showing the picture fitted into `panel`: when the picture is at
// least twice as large as what the panel shows of it, libjpeg decodes it at
// 1/2, 1/4 or 1/8 of its size, never below the fitted size. `fullSize`
// receives the picture's own size from the header.
QImage DecodeJpegFileForPanel(const std::string& path, QSize panel, QSize* fullSize);

}  // namespace vexlo
