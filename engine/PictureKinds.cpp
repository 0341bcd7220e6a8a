#include "PictureKinds.h"

#include <string_view>

#include "PathRules.h"

namespace vexlo {

namespace {

struct Extension {
    std::string_view ext;
    PictureKind kind;
    bool rotation;
};

// Apply and Tree take every row; Rotation only the marked ones.
constexpr Extension kExtensions[] = {
    {".bmp", PictureKind::Bmp, true},  {".gif", PictureKind::Gif, true},
    {".jpg", PictureKind::Jpeg, true}, {".jpeg", PictureKind::Jpeg, true},
    {".png", PictureKind::Png, false},
};

}  // namespace

PictureKind PictureKindIn(PictureSet set, const std::string& name) {
    const std::string ext = LowerFileExt(name);
    for (const Extension& row : kExtensions) {
        if (row.ext == ext) {
            return set != PictureSet::Rotation || row.rotation ? row.kind : PictureKind::Unknown;
        }
    }
    return PictureKind::Unknown;
}

}  // namespace vexlo
