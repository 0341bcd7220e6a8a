#include "Deformation.h"

#include <limits>

namespace vexlo {

long double ProportionRatio(int width, int height, int desktopWidth, int desktopHeight) {
    if (width <= 0 || height <= 0 || desktopWidth <= 0 || desktopHeight <= 0) {
        return std::numeric_limits<long double>::quiet_NaN();
    }
    const long double relativeWidth = static_cast<long double>(width) / desktopWidth;
    const long double relativeHeight = static_cast<long double>(height) / desktopHeight;
    return relativeWidth / relativeHeight;
}

long double DeformationPercent(int width, int height, int desktopWidth, int desktopHeight) {
    return (1.0L - ProportionRatio(width, height, desktopWidth, desktopHeight)) * 100.0L;
}

}  // namespace vexlo
