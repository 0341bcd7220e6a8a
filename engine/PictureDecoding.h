#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <string>

#include "PictureKinds.h"
#include "VexloError.h"

namespace vexlo {

// The kind by the file's own extension within the apply's set, without regard
// to case. Only the extension counts, never a folder name elsewhere in the
// path ("a.jpg.png" is a PNG).
PictureKind PictureKindOf(const std::string& path);

// A picture that cannot be shown. Its text is the file's path, then the
// decoder's own message ("/p/a.jpg: Empty input file"), so the user knows which
// file to look at.
class PictureError : public VexloError {
public:
    PictureError(const std::string& path, const std::string& message)
        : VexloError(path + ": " + message), path_(path) {}
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Decodes the file with the decoder of `kind`. Throws PictureError on damaged
// data, naming `shownPath` (the file the user chose, when `path` is a copy of
// it), or `path` when that is empty.
QImage DecodePicture(PictureKind kind, const std::string& path,
                     const std::string& shownPath = std::string());

// A picture loaded for the preview: the bitmap (possibly decoded smaller than
// the file holds), the picture's own size from the file, and the file's size
// in bytes.
struct LoadedPreview {
    QImage image;
    int width = 0;
    int height = 0;
    std::uint64_t bytes = 0;
};

// Loads a picture to be shown scaled into `panel`, with the apply's decoders.
// A JPEG much larger than the panel is decoded at a fraction of its size (never
// smaller than what the panel shows of it). Throws VexloError with
// "Unknown picture file extension (.ext)" (the extension without its dot,
// empty when the last part of the path has none), "Cannot open file <path>"
// (also for a folder named like a picture), or PictureError.
LoadedPreview LoadPreviewPicture(const std::string& path, QSize panel);

}  // namespace vexlo
