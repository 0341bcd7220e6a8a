#include <gif_lib.h>

#include <stdexcept>

#include "PictureWriters.h"

namespace vexlo::testing {

void WriteGif(const GifLayout& layout, const std::string& path) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) {
        throw std::runtime_error("cannot write " + path + ": " + GifErrorString(error));
    }
    std::vector<GifColorType> colours;
    for (QRgb c : layout.palette) {
        colours.push_back({static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                           static_cast<GifByteType>(qBlue(c))});
    }
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, layout.screenWidth, layout.screenHeight, 8, 0,
                      layout.localMap ? nullptr : map);
    if (layout.transparentIndex >= 0) {
        GraphicsControlBlock control{};
        control.TransparentColor = layout.transparentIndex;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    EGifPutImageDesc(gif, layout.left, layout.top, layout.width, layout.height, layout.interlaced,
                     layout.localMap ? map : nullptr);
    // An interlaced image is stored in its four passes' order.
    std::vector<int> order;
    if (layout.interlaced) {
        for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
            for (int y = start; y < layout.height; y += step) {
                order.push_back(y);
            }
        }
    } else {
        for (int y = 0; y < layout.height; ++y) {
            order.push_back(y);
        }
    }
    for (int y : order) {
        auto* row = const_cast<GifPixelType*>(layout.indices.data() + y * layout.width);
        EGifPutLine(gif, row, layout.width);
    }
    GifFreeMapObject(map);
    EGifCloseFile(gif, &error);
}

}  // namespace vexlo::testing
