#pragma once

#include <QImage>
#include <string>

namespace vexlo {

// Reads a BMP file with our own reader: 1, 4, 8, 16, 24 and 32 bits per
// pixel, bottom-up and top-down, BI_RGB, BI_BITFIELDS (with an alpha mask
// too), RLE4 and RLE8, Windows and OS/2 headers. The result is Format_RGB32,
// or Format_ARGB32 for RLE pictures (skipped pixels are transparent) and for
// bitfield pictures whose alpha mask carries any alpha. The headers are
// checked against the file's length before the bitmap is allocated; errors
// throw VexloError with a message that says what is wrong.
QImage DecodeBmpFile(const std::string& path);

}  // namespace vexlo
