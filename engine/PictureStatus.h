#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace vexlo {

// A number in the general format with at most four significant digits:
// rounded, trailing zeros dropped, the locale's decimal separator, and the
// exponent form (such as -1.01E4 or 1.5E-7) only when the rounded value has
// more than four digits before the decimal point or is non-zero and smaller
// than 0.00001 in magnitude. "NAN", "INF" and "-INF" for the values that are
// not numbers.
QString FormatGeneral4(long double value, const QLocale& locale);

// Digits grouped by threes with the locale's thousands separator.
QString FormatGroupedInteger(std::uint64_t value, const QLocale& locale);

// The status line of a previewed picture:
//   "800x600 | 123,456bytes | -6.667% deformation"
// its size in pixels, its file size in bytes and its deformation against the
// desktop (DeformationPercent).
QString PictureStatusLine(int width, int height, std::uint64_t bytes, int desktopWidth,
                          int desktopHeight, const QLocale& locale = QLocale());

}  // namespace vexlo
