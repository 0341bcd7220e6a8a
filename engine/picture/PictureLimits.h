#pragma once

#include <QImage>
#include <cstdint>

namespace vexlo {

// No real photograph comes near 2^28 pixels (268 megapixels, 1 GiB as a 32-bit
// bitmap); a header declaring more is damaged or hostile, so it is refused
// before any memory is taken for it.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;

// Throws VexloError "Picture is too large: W x H pixels" above the limit, and
// a clear message for a side that is zero or negative.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// Checks the size, then allocates; a failed allocation throws instead of
// returning the null image QImage would give.
QImage MakePicture(std::int64_t width, std::int64_t height, QImage::Format format);

}  // namespace vexlo
