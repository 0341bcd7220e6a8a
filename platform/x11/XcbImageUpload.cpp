#include "x11/XcbImageUpload.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vexlo {
namespace {

// How the server wants the root window's pixels laid out.
struct PixelLayout {
    int bitsPerPixel = 0;
    int scanlinePad = 0;
    bool msbFirst = false;
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue
};

bool FindLayout(const XcbConnection& x, PixelLayout& layout) {
    const xcb_setup_t* setup = xcb_get_setup(x.get());
    const xcb_screen_t* screen = x.Screen();
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == screen->root_depth) {
            layout.bitsPerPixel = it.data->bits_per_pixel;
            layout.scanlinePad = it.data->scanline_pad;
        }
    }
    layout.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem > 0; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual &&
                v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) {
                layout.masks[0] = v.data->red_mask;
                layout.masks[1] = v.data->green_mask;
                layout.masks[2] = v.data->blue_mask;
            }
        }
    }
    // True-colour visuals in 16 or 32 bits a pixel cover every desktop in use.
    return (layout.bitsPerPixel == 16 || layout.bitsPerPixel == 32) && layout.scanlinePad > 0 &&
           layout.masks[0] != 0 && layout.masks[1] != 0 && layout.masks[2] != 0;
}

// Where one 8-bit channel goes in a pixel of the server's layout.
struct ChannelPlace {
    std::uint32_t mask = 0;
    int shift = 0;  // of the mask's lowest bit
    int bits = 0;   // of the mask's width
};

ChannelPlace PlaceOf(std::uint32_t mask) {
    return {mask, std::countr_zero(mask), std::popcount(mask)};
}

std::uint32_t Channel(int value, const ChannelPlace& place) {
    const std::uint32_t scaled = place.bits >= 8
                                     ? static_cast<std::uint32_t>(value) << (place.bits - 8)
                                     : static_cast<std::uint32_t>(value) >> (8 - place.bits);
    return (scaled << place.shift) & place.mask;
}

void StorePixel(std::uint8_t* out, std::uint32_t pixel, const PixelLayout& layout) {
    const int bytes = layout.bitsPerPixel / 8;
    for (int i = 0; i < bytes; ++i) {
        const int byte = layout.msbFirst ? bytes - 1 - i : i;
        out[i] = static_cast<std::uint8_t>(pixel >> (8 * byte));
    }
}

// True when QImage's RGB32 rows are already what the server wants, as on
// every little-endian machine with a 24-bit desktop.
bool MatchesRgb32(const PixelLayout& layout) {
    return layout.bitsPerPixel == 32 && !layout.msbFirst &&
           std::endian::native == std::endian::little && layout.masks[0] == 0xff0000u &&
           layout.masks[1] == 0x00ff00u && layout.masks[2] == 0x0000ffu;
}

void ConvertRow(const QRgb* in, std::uint8_t* out, int width, const PixelLayout& layout,
                const ChannelPlace (&places)[3]) {
    if (MatchesRgb32(layout)) {
        std::memcpy(out, in, static_cast<std::size_t>(width) * 4);
        return;
    }
    const int bytes = layout.bitsPerPixel / 8;
    for (int col = 0; col < width; ++col) {
        const std::uint32_t pixel = Channel(qRed(in[col]), places[0]) |
                                    Channel(qGreen(in[col]), places[1]) |
                                    Channel(qBlue(in[col]), places[2]);
        StorePixel(out + col * bytes, pixel, layout);
    }
}

std::uint32_t ServerPixel(std::uint32_t rgb, const ChannelPlace (&places)[3]) {
    return Channel(static_cast<int>((rgb >> 16) & 0xff), places[0]) |
           Channel(static_cast<int>((rgb >> 8) & 0xff), places[1]) |
           Channel(static_cast<int>(rgb & 0xff), places[2]);
}

// Sends the area's rows in strips of up to one request each, one after the
// other without waiting for the server; the errors are collected at the end.
bool PutArea(const XcbConnection& x, xcb_pixmap_t pixmap, xcb_gcontext_t gc, const PixmapArea& area,
             int pixmapWidth, int pixmapHeight, const PixelLayout& layout,
             std::vector<xcb_void_cookie_t>& cookies) {
    // The part of the area inside the pixmap.
    const int left = std::max(0, area.x);
    const int top = std::max(0, area.y);
    const int right = std::min(pixmapWidth, area.x + area.width);
    const int bottom = std::min(pixmapHeight, area.y + area.height);
    if (right <= left || bottom <= top) {
        return true;
    }
    const int width = right - left;
    const std::size_t stride =
        (static_cast<std::size_t>(width) * layout.bitsPerPixel + layout.scanlinePad - 1) /
        layout.scanlinePad * layout.scanlinePad / 8;
    const std::size_t maxBytes =
        static_cast<std::size_t>(xcb_get_maximum_request_length(x.get())) * 4 - 64;
    if (stride > maxBytes) {
        return false;  // wider than one request can carry
    }
    const int rowsPerStrip = static_cast<int>(std::max<std::size_t>(1, maxBytes / stride));
    const ChannelPlace places[3] = {PlaceOf(layout.masks[0]), PlaceOf(layout.masks[1]),
                                    PlaceOf(layout.masks[2])};
    // The rows are made straight into the strip when the server takes RGB32
    // as it is and the whole row is shown; else through one row of scratch.
    const bool direct = MatchesRgb32(layout) && left == area.x && width == area.width;
    std::vector<std::uint32_t> scratch(direct ? 0 : static_cast<std::size_t>(area.width));
    std::vector<std::uint8_t> strip;
    for (int y = top; y < bottom; y += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, bottom - y);
        strip.assign(stride * static_cast<std::size_t>(rows), 0);
        for (int row = 0; row < rows; ++row) {
            std::uint8_t* out = strip.data() + stride * static_cast<std::size_t>(row);
            if (direct) {
                area.rows(y + row - area.y, reinterpret_cast<std::uint32_t*>(out));
            } else {
                area.rows(y + row - area.y, scratch.data());
                ConvertRow(scratch.data() + (left - area.x), out, width, layout, places);
            }
        }
        cookies.push_back(xcb_put_image_checked(
            x.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<std::uint16_t>(width),
            static_cast<std::uint16_t>(rows), static_cast<std::int16_t>(left),
            static_cast<std::int16_t>(y), 0, x.Screen()->root_depth,
            static_cast<std::uint32_t>(strip.size()), strip.data()));
    }
    return true;
}

bool CoverExactly(const std::vector<PixmapArea>& areas, int width, int height) {
    std::int64_t covered = 0;
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const PixmapArea& a = areas[i];
        if (a.x < 0 || a.y < 0 || a.width <= 0 || a.height <= 0 || a.x + a.width > width ||
            a.y + a.height > height) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            const PixmapArea& b = areas[j];
            if (a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
                b.y < a.y + a.height) {
                return false;
            }
        }
        covered += std::int64_t{a.width} * a.height;
    }
    return covered == std::int64_t{width} * height;
}

}  // namespace

xcb_pixmap_t UploadAreas(const XcbConnection& x, int width, int height, std::uint32_t background,
                         const std::vector<PixmapArea>& areas) {
    PixelLayout layout;
    if (!x.IsConnected() || width <= 0 || height <= 0 || width > 0x7fff || height > 0x7fff ||
        !FindLayout(x, layout)) {
        return XCB_NONE;
    }
    xcb_connection_t* c = x.get();
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_void_cookie_t made = xcb_create_pixmap_checked(c, x.Screen()->root_depth, pixmap, x.Root(),
                                                       static_cast<std::uint16_t>(width),
                                                       static_cast<std::uint16_t>(height));
    if (const XcbError error{xcb_request_check(c, made)}) {
        return XCB_NONE;  // BadAlloc: the server has no room for it
    }
    const ChannelPlace places[3] = {PlaceOf(layout.masks[0]), PlaceOf(layout.masks[1]),
                                    PlaceOf(layout.masks[2])};
    const xcb_gcontext_t gc = xcb_generate_id(c);
    const std::uint32_t foreground = ServerPixel(background, places);
    xcb_create_gc(c, gc, pixmap, XCB_GC_FOREGROUND, &foreground);
    // What no monitor shows is the background colour, filled by the server
    // (not needed when the areas cover the pixmap without overlapping).
    if (!CoverExactly(areas, width, height)) {
        const xcb_rectangle_t whole{0, 0, static_cast<std::uint16_t>(width),
                                    static_cast<std::uint16_t>(height)};
        xcb_poly_fill_rectangle(c, pixmap, gc, 1, &whole);
    }
    std::vector<xcb_void_cookie_t> cookies;
    bool written = true;
    for (const PixmapArea& area : areas) {
        if (!area.copied) {
            written = written && PutArea(x, pixmap, gc, area, width, height, layout, cookies);
        }
    }
    for (const PixmapArea& area : areas) {
        if (area.copied) {
            cookies.push_back(xcb_copy_area_checked(
                c, pixmap, pixmap, gc, static_cast<std::int16_t>(area.fromX),
                static_cast<std::int16_t>(area.fromY), static_cast<std::int16_t>(area.x),
                static_cast<std::int16_t>(area.y), static_cast<std::uint16_t>(area.width),
                static_cast<std::uint16_t>(area.height)));
        }
    }
    for (const xcb_void_cookie_t cookie : cookies) {
        if (const XcbError error{xcb_request_check(c, cookie)}) {
            written = false;
        }
    }
    xcb_free_gc(c, gc);
    if (!written) {
        xcb_free_pixmap(c, pixmap);
        return XCB_NONE;
    }
    return pixmap;
}

xcb_pixmap_t UploadPixmap(const XcbConnection& x, const QImage& image) {
    if (image.isNull()) {
        return XCB_NONE;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const PixmapArea all{0, 0, rgb.width(), rgb.height(), [&rgb](int y, std::uint32_t* out) {
                             std::memcpy(out, rgb.constScanLine(y),
                                         static_cast<std::size_t>(rgb.width()) * 4);
                         }};
    return UploadAreas(x, rgb.width(), rgb.height(), 0, {all});
}

}  // namespace vexlo
