#include "X11Inspection.h"

#include <sys/uio.h>
#include <xcb/randr.h>
#include <xcb/xcbext.h>

#include <cstring>
#include <vector>

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

bool DefineMonitors(const std::string& display, const std::vector<ScreenInfo>& screens) {
    XcbConnection x(display);
    xcb_connection_t* c = x.get();
    const XcbPtr<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
    const XcbPtr<xcb_randr_get_screen_resources_current_reply_t> resources(
        xcb_randr_get_screen_resources_current_reply(
            c, xcb_randr_get_screen_resources_current(c, x.Root()), nullptr));
    if (version == nullptr || resources == nullptr ||
        xcb_randr_get_screen_resources_current_outputs_length(resources.get()) < 1) {
        return false;
    }
    xcb_randr_output_t output = xcb_randr_get_screen_resources_current_outputs(resources.get())[0];
    // Monitors defined before (by an earlier test) go first.
    const XcbPtr<xcb_randr_get_monitors_reply_t> old(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, x.Root(), 0), nullptr));
    for (auto it = xcb_randr_get_monitors_monitors_iterator(old.get()); old && it.rem > 0;
         xcb_randr_monitor_info_next(&it)) {
        xcb_randr_delete_monitor(c, x.Root(), it.data->name);
    }
    bool first = true;
    for (const ScreenInfo& screen : screens) {
        // Sent by hand: libxcb's own xcb_randr_set_monitor miscounts the
        // request's length.
        const std::size_t outputs = first ? 1 : 0;
        std::vector<std::uint8_t> bytes(8 + sizeof(xcb_randr_monitor_info_t) +
                                        outputs * sizeof(xcb_randr_output_t));
        const xcb_window_t root = x.Root();
        std::memcpy(bytes.data() + 4, &root, 4);
        auto* info = reinterpret_cast<xcb_randr_monitor_info_t*>(bytes.data() + 8);
        info->name = x.Atom(screen.name.c_str());
        info->primary = screen.primary ? 1 : 0;
        info->automatic = 0;
        info->nOutput = static_cast<std::uint16_t>(outputs);
        info->x = static_cast<std::int16_t>(screen.x);
        info->y = static_cast<std::int16_t>(screen.y);
        info->width = static_cast<std::uint16_t>(screen.width);
        info->height = static_cast<std::uint16_t>(screen.height);
        info->width_in_millimeters = static_cast<std::uint32_t>(screen.width / 4);
        info->height_in_millimeters = static_cast<std::uint32_t>(screen.height / 4);
        if (first) {
            std::memcpy(bytes.data() + 8 + sizeof(xcb_randr_monitor_info_t), &output,
                        sizeof output);
        }
        first = false;
        // xcb_send_request needs two free slots before the request's parts.
        iovec parts[3] = {};
        parts[2].iov_base = bytes.data();
        parts[2].iov_len = bytes.size();
        xcb_protocol_request_t request = {1, &xcb_randr_id, XCB_RANDR_SET_MONITOR, 1};
        const xcb_void_cookie_t cookie{
            xcb_send_request(c, XCB_REQUEST_CHECKED, parts + 2, &request)};
        if (const XcbError error{xcb_request_check(c, cookie)}) {
            return false;
        }
    }
    return x.Sync();
}

}  // namespace vexlo::test
