#pragma once

#include <QImage>
#include <string>

namespace vexlo {

// Decodes a PNG file with libpng: palette, grey, grey with alpha, RGB, RGBA,
// 1 to 16 bits per sample, Adam7 interlacing and tRNS transparency. The result
// is Format_ARGB32 when the picture has transparency, else Format_RGB32.
// Errors throw VexloError with libpng's own message.
QImage DecodePngFile(const std::string& path);

}  // namespace vexlo
