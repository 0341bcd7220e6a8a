#pragma once

#include <QImage>
#include <string>

namespace vexlo::bench {

// A 3840 x 2160 picture with a photograph's mix of smooth shading and fine
// grain, so that the compressed files have realistic sizes.
QImage MakePhotoLikePicture(int width = 3840, int height = 2160);

// Writes baseline.jpg, progressive.jpg, picture.png and picture.bmp (24-bit)
// of the picture into `folder`.
void WriteBenchPictures(const QImage& picture, const std::string& folder);

}  // namespace vexlo::bench
