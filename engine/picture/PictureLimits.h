#pragma once

#include <QImage>
#include <cstdint>

namespace vexlo {

// No desktop shows anything near 2^27 pixels (134 megapixels, 512 MiB as a
// 32-bit bitmap; a wall of three 8K screens is 100): a header declaring more
// is damaged or hostile, so it is refused before any memory is taken for it.
// Image libraries draw the same line near 90 to 180 megapixels.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 27;

// Up to 2^25 pixels (33.5 megapixels, an 8K screen's worth) a picture may come
// from a file of any size. Beyond that it must bring at least one byte of file
// per kPixelsPerFileByte pixels: real pictures of that size, even a flat colour
// at the best compression, carry far more, while a decompression bomb declares
// a huge size in a few bytes.
inline constexpr std::int64_t kFreePicturePixels = std::int64_t{1} << 25;
inline constexpr std::int64_t kPixelsPerFileByte = 1024;

// Throws VexloError "Picture is too large: W x H pixels" above the limit, and
// a clear message for a side that is zero or negative.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// CheckPictureSize, and the size weighed against the file's: throws
// "Picture is too large for its file: ..." for a size the file's bytes could
// not describe. Decoders call it as soon as the header is read.
void CheckDeclaredPicture(std::int64_t width, std::int64_t height, std::int64_t fileBytes);

// Checks the size, then allocates; a failed allocation throws instead of
// returning the null image QImage would give.
QImage MakePicture(std::int64_t width, std::int64_t height, QImage::Format format);

}  // namespace vexlo
