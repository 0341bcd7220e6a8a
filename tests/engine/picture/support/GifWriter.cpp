#include <gif_lib.h>

#include <stdexcept>

#include "PictureWriters.h"

namespace vexlo::testing {

void WriteGif(const GifSpec& spec, const std::string& path) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) {
        throw std::runtime_error("cannot write " + path + ": " + GifErrorString(error));
    }
    std::vector<GifColorType> colours;
    for (QRgb c : spec.palette) {
        colours.push_back({static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                           static_cast<GifByteType>(qBlue(c))});
    }
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, spec.screenWidth, spec.screenHeight, 8, 0,
                      spec.localMap ? nullptr : map);
    if (spec.transparentIndex >= 0) {
        GraphicsControlBlock control{};
        control.TransparentColor = spec.transparentIndex;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    EGifPutImageDesc(gif, spec.left, spec.top, spec.width, spec.height, spec.interlaced,
                     spec.localMap ? map : nullptr);
    // An interlaced image is stored in its four passes' order.
    std::vector<int> order;
    if (spec.interlaced) {
        for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
            for (int y = start; y < spec.height; y += step) {
                order.push_back(y);
            }
        }
    } else {
        for (int y = 0; y < spec.height; ++y) {
            order.push_back(y);
        }
    }
    for (int y : order) {
        auto* row = const_cast<GifPixelType*>(spec.indices.data() + y * spec.width);
        EGifPutLine(gif, row, spec.width);
    }
    GifFreeMapObject(map);
    EGifCloseFile(gif, &error);
}

}  // namespace vexlo::testing
