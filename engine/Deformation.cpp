#include "Deformation.h"

#include <limits>

namespace vexlo {

namespace {

// A store through memory rounds to a double even where the compiler keeps
// intermediates in wider registers (x87).
double AsDouble(double value) {
    volatile double stored = value;
    return stored;
}

}  // namespace

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

bool WithinDeformationLimit(int width, int height, int desktopWidth, int desktopHeight,
                            int percent) {
    if (width <= 0 || height <= 0 || desktopWidth <= 0 || desktopHeight <= 0) {
        return false;
    }
    const double relativeWidth = AsDouble(static_cast<double>(width) / desktopWidth);
    const double relativeHeight = AsDouble(static_cast<double>(height) / desktopHeight);
    const double ratio = AsDouble(relativeWidth / relativeHeight);
    const double allowance = AsDouble(percent / 100.0);
    return AsDouble(1.0 - allowance) <= ratio && ratio <= AsDouble(1.0 + allowance);
}

}  // namespace vexlo
