#include "x11/X11ScreenSize.h"

#include <xcb/randr.h>

#include <cstdlib>

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
    std::free(xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 3), nullptr));
    auto* primary =
        xcb_randr_get_output_primary_reply(c, xcb_randr_get_output_primary(c, x.Root()), nullptr);
    const xcb_randr_output_t output = primary != nullptr ? primary->output : XCB_NONE;
    std::free(primary);
    if (output == XCB_NONE) {
        return false;
    }
    auto* info = xcb_randr_get_output_info_reply(
        c, xcb_randr_get_output_info(c, output, XCB_CURRENT_TIME), nullptr);
    const xcb_randr_crtc_t crtc = info != nullptr ? info->crtc : XCB_NONE;
    std::free(info);
    if (crtc == XCB_NONE) {
        return false;
    }
    auto* crtcInfo = xcb_randr_get_crtc_info_reply(
        c, xcb_randr_get_crtc_info(c, crtc, XCB_CURRENT_TIME), nullptr);
    const bool found = crtcInfo != nullptr && crtcInfo->width > 0 && crtcInfo->height > 0;
    if (found) {
        size = {crtcInfo->width, crtcInfo->height};
    }
    std::free(crtcInfo);
    return found;
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
