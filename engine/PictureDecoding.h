#pragma once

#include <QImage>
#include <string>

namespace vexlo {

// The picture kinds an apply can decode.
enum class PictureKind { Unknown, Jpeg, Gif, Png, Bmp };

// The kind by the file's own extension, without regard to case: ".jpg" and
// ".jpeg", ".gif", ".png", ".bmp". Only the extension counts, never a folder
// name elsewhere in the path ("a.jpg.png" is a PNG).
PictureKind PictureKindOf(const std::string& path);

// Decodes the file with the decoder of `kind`. Throws VexloError with the
// decoder's own message on damaged data.
QImage DecodePicture(PictureKind kind, const std::string& path);

}  // namespace vexlo
