#pragma once

namespace vexlo {

// How a picture's proportions stand to the desktop's: its width relative to the
// desktop's over its height relative to the desktop's, 1 for the same
// proportions. The tree's status line shows it as a percentage, in extended
// precision; not a number when a size is zero.
long double ProportionRatio(int width, int height, int desktopWidth, int desktopHeight);

// (1 - ProportionRatio) x 100: negative for a picture relatively wider than
// the desktop, positive for one relatively taller.
long double DeformationPercent(int width, int height, int desktopWidth, int desktopHeight);

// Whether stretching the picture over the desktop deforms it by no more than
// `percent`: 1 - percent/100 <= ratio <= 1 + percent/100, both bounds
// included. Every step is rounded to a double, so a picture lying exactly on a
// bound is judged the same on every machine and compiler (an extended-precision
// figure lands a hair below 0.85 for 3876x2565 on 1600x900 and would shrink
// it). False when a size is zero.
bool WithinDeformationLimit(int width, int height, int desktopWidth, int desktopHeight,
                            int percent);

}  // namespace vexlo
