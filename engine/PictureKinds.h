#pragma once

#include <string>

namespace vexlo {

// The picture kinds the program decodes.
enum class PictureKind { Unknown, Jpeg, Gif, Png, Bmp };

// Which pictures each part of the program takes, by the file name's extension
// (from its last dot) without regard to case:
//   Apply     ".bmp", ".gif", ".jpg", ".jpeg", ".png": what an apply and the
//             preview decode;
//   Tree      the same five: what the picture tree lists;
//   Rotation  all but ".png": a PNG can be browsed and applied, never picked
//             by the rotation.
enum class PictureSet { Apply, Tree, Rotation };

// The kind the name's extension stands for within `set`; Unknown outside it.
// Only the last part of a path counts ("a.jpg/b.png" is a PNG).
PictureKind PictureKindIn(PictureSet set, const std::string& name);

inline bool IsInPictureSet(PictureSet set, const std::string& name) {
    return PictureKindIn(set, name) != PictureKind::Unknown;
}

}  // namespace vexlo
