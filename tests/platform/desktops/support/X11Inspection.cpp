#include "X11Inspection.h"

#include "x11/XcbConnection.h"

namespace vexlo::test {

QImage RootScreenshot(const std::string& display) {
    XcbConnection x(display);
    if (!x.IsConnected()) {
        return {};
    }
    const int width = x.Screen()->width_in_pixels;
    const int height = x.Screen()->height_in_pixels;
    const XcbPtr<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        x.get(),
        xcb_get_image(x.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, x.Root(), 0, 0,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), ~0u),
        nullptr));
    if (reply == nullptr) {
        return {};
    }
    // Xvfb stores depth 24 as 0x00RRGGBB in 32 bits, depth 16 as RGB 5-6-5,
    // in host order, rows padded to 32 bits.
    const bool deep = x.Screen()->root_depth > 16;
    const int stride = deep ? width * 4 : (width * 2 + 3) / 4 * 4;
    const QImage image(xcb_get_image_data(reply.get()), width, height, stride,
                       deep ? QImage::Format_RGB32 : QImage::Format_RGB16);
    return image.copy().convertToFormat(QImage::Format_RGB32);  // owns its pixels
}

xcb_pixmap_t RootProperty(const std::string& display, const char* atomName) {
    XcbConnection x(display);
    const xcb_atom_t atom = x.Atom(atomName);
    const XcbPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        x.get(), xcb_get_property(x.get(), 0, x.Root(), atom, XCB_ATOM_PIXMAP, 0, 1), nullptr));
    if (reply != nullptr && xcb_get_property_value_length(reply.get()) == 4) {
        return *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
    }
    return XCB_NONE;
}

bool PixmapExists(const std::string& display, xcb_pixmap_t pixmap) {
    XcbConnection x(display);
    xcb_generic_error_t* error = nullptr;
    const XcbPtr<xcb_get_geometry_reply_t> reply(
        xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), pixmap), &error));
    const XcbError owned(error);
    return reply != nullptr;
}

}  // namespace vexlo::test
