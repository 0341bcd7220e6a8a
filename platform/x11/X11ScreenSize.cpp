#include "x11/X11ScreenSize.h"

#include <xcb/randr.h>

#include "x11/XcbConnection.h"

namespace vexlo {
namespace {

// The size of the CRTC that shows the primary output; false when there is none.
bool PrimaryMonitorSize(const XcbConnection& x, DesktopSize& size) {
    xcb_connection_t* c = x.get();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_randr_id);
    if (extension == nullptr || extension->present == 0) {
        return false;
    }
    // The version must be agreed on before the requests below.
    const XcbPtr<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 3), nullptr));
    const XcbPtr<xcb_randr_get_output_primary_reply_t> primary(
        xcb_randr_get_output_primary_reply(c, xcb_randr_get_output_primary(c, x.Root()), nullptr));
    if (primary == nullptr || primary->output == XCB_NONE) {
        return false;
    }
    const XcbPtr<xcb_randr_get_output_info_reply_t> info(xcb_randr_get_output_info_reply(
        c, xcb_randr_get_output_info(c, primary->output, XCB_CURRENT_TIME), nullptr));
    if (info == nullptr || info->crtc == XCB_NONE) {
        return false;
    }
    const XcbPtr<xcb_randr_get_crtc_info_reply_t> crtc(xcb_randr_get_crtc_info_reply(
        c, xcb_randr_get_crtc_info(c, info->crtc, XCB_CURRENT_TIME), nullptr));
    if (crtc == nullptr || crtc->width == 0 || crtc->height == 0) {
        return false;
    }
    size = {crtc->width, crtc->height};
    return true;
}

}  // namespace

DesktopSize X11ScreenSize(const std::string& display) {
    XcbConnection x(display);
    if (!x.IsConnected()) {
        return {};
    }
    DesktopSize size;
    if (PrimaryMonitorSize(x, size)) {
        return size;
    }
    return {x.Screen()->width_in_pixels, x.Screen()->height_in_pixels};
}

}  // namespace vexlo
