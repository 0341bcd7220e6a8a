#pragma once

namespace vexlo {

// How a picture's proportions stand to the desktop's: its width relative to the
// desktop's over its height relative to the desktop's, 1 for the same
// proportions. The placement rules compare this ratio with the allowed
// deformation and the tree's status line shows it as a percentage, so both use
// this one figure. Extended precision; not a number when a size is zero.
long double ProportionRatio(int width, int height, int desktopWidth, int desktopHeight);

// (1 - ProportionRatio) x 100: negative for a picture relatively wider than
// the desktop, positive for one relatively taller.
long double DeformationPercent(int width, int height, int desktopWidth, int desktopHeight);

}  // namespace vexlo
