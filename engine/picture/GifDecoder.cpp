#include "picture/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "VexloError.h"
#include "picture/PictureFile.h"
#include "picture/PictureLimits.h"

namespace vexlo {

namespace {

struct GifSource {
    const GifByteType* data;
    std::size_t size;
    std::size_t position;
    bool ranOut;
};

extern "C" int OnGifRead(GifFileType* gif, GifByteType* out, int length) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t wanted = length > 0 ? static_cast<std::size_t>(length) : 0;
    const std::size_t count = std::min(wanted, source->size - source->position);
    std::memcpy(out, source->data + source->position, count);
    source->position += count;
    source->ranOut = source->ranOut || count < wanted;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void Fail(int code, const GifSource& source) {
    // A short read at the end of the data is a truncated file: say so.
    if (code == D_GIF_ERR_READ_FAILED && source.ranOut) {
        code = D_GIF_ERR_EOF_TOO_SOON;
    }
    const char* text = GifErrorString(code);
    throw VexloError(text ? text : "GIF error");
}

// Reads the extension blocks of one record, keeping a graphics control block.
void ReadExtension(GifFileType* gif, const GifSource& source, GraphicsControlBlock* control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
        Fail(gif->Error, source);
    }
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] == 4) {
        DGifExtensionToGCB(block[0], block + 1, control);
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
            Fail(gif->Error, source);
        }
    }
}

std::array<QRgb, 256> MakePalette(const ColorMapObject* map, int transparentIndex) {
    std::array<QRgb, 256> palette;
    palette.fill(qRgb(0, 0, 0));  // indices past a short colour map show black
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
        const GifColorType& c = map->Colors[i];
        palette[i] = qRgb(c.Red, c.Green, c.Blue);
    }
    if (transparentIndex >= 0 && transparentIndex < 256) {
        palette[transparentIndex] = qRgba(0, 0, 0, 0);
    }
    return palette;
}

QImage ReadImage(GifFileType* gif, const GifSource& source, int transparentIndex) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) {
        Fail(gif->Error, source);
    }
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || !map->Colors) {
        Fail(D_GIF_ERR_NO_COLOR_MAP, source);
    }
    const std::int64_t width = std::max<std::int64_t>(gif->SWidth, desc.Left + desc.Width);
    const std::int64_t height = std::max<std::int64_t>(gif->SHeight, desc.Top + desc.Height);
    // The logical screen is the bitmap, however little of it the image covers.
    CheckDeclaredPicture(width, height, static_cast<std::int64_t>(source.size));
    const bool coversScreen =
        desc.Left == 0 && desc.Top == 0 && desc.Width == width && desc.Height == height;
    const bool transparent = transparentIndex >= 0 || !coversScreen;
    QImage image =
        MakePicture(width, height, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (!coversScreen) {
        image.fill(Qt::transparent);
    }
    const std::array<QRgb, 256> palette = MakePalette(map, transparentIndex);

    // Interlaced rows come in four passes: every 8th from 0, every 8th from
    // 4, every 4th from 2, every 2nd from 1.
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    const int passes = desc.Width > 0 ? (desc.Interlace ? 4 : 1) : 0;
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    for (int pass = 0; pass < passes; ++pass) {
        const int start = desc.Interlace ? kStart[pass] : 0;
        const int step = desc.Interlace ? kStep[pass] : 1;
        for (int y = start; y < desc.Height; y += step) {
            if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) {
                Fail(gif->Error, source);
            }
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(desc.Top + y)) + desc.Left;
            for (int x = 0; x < desc.Width; ++x) {
                row[x] = palette[line[static_cast<std::size_t>(x)]];
            }
        }
    }
    return image;
}

}  // namespace

QImage DecodeGifFile(const std::string& path) {
    const QByteArray bytes = ReadPictureFile(path);
    GifSource source{reinterpret_cast<const GifByteType*>(bytes.constData()),
                     static_cast<std::size_t>(bytes.size()), 0, false};
    int error = 0;
    GifHandle gif(DGifOpen(&source, OnGifRead, &error));
    if (!gif) {
        Fail(error, source);
    }
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) {
            Fail(gif->Error, source);
        }
        if (type == EXTENSION_RECORD_TYPE) {
            ReadExtension(gif.get(), source, &control);
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            return ReadImage(gif.get(), source, control.TransparentColor);
        } else {
            Fail(D_GIF_ERR_NO_IMAG_DSCR, source);
        }
    }
}

}  // namespace vexlo
