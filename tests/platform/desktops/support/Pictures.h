#pragma once

#include <QColor>
#include <QImage>
#include <string>

#include "DesktopPlatform.h"

namespace vexlo::test {

// Quadrant colours of a test picture: a person can tell at any point of the
// screen which part of the picture is there, and which way up it is.
inline const QColor kTopLeft{220, 30, 30};
inline const QColor kTopRight{30, 200, 40};
inline const QColor kBottomLeft{40, 50, 210};
inline const QColor kBottomRight{230, 220, 20};

// A picture of `width` x `height` in four coloured quadrants.
QImage QuadrantPicture(int width, int height);

// The rows of an RGB32 picture as the platform takes them.
PixelRows RowsOf(const QImage& picture);

// Saves `image` as a BMP file at `path`.
void SaveBmp(const QImage& image, const std::string& path);

// The quadrant colour of picture point (x, y).
QColor QuadrantColour(int x, int y, int width, int height);

}  // namespace vexlo::test
