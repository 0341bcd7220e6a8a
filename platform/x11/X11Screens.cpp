#include "x11/X11Screens.h"

#include <xcb/randr.h>

#include "x11/XcbConnection.h"

namespace vexlo {
namespace {

std::string AtomName(xcb_connection_t* c, xcb_atom_t atom) {
    const XcbPtr<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr));
    if (reply == nullptr) {
        return "";
    }
    return std::string(xcb_get_atom_name_name(reply.get()),
                       static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
}

// RandR 1.5 monitors: what the desktop environments treat as one screen each
// (a monitor may span several outputs, or be defined without any).
std::vector<ScreenInfo> Monitors(const XcbConnection& x) {
    xcb_connection_t* c = x.get();
    std::vector<ScreenInfo> screens;
    const XcbPtr<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, x.Root(), 1), nullptr));
    if (reply == nullptr) {
        return screens;
    }
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0;
         xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t* m = it.data;
        screens.push_back({AtomName(c, m->name), m->x, m->y, m->width, m->height, m->primary != 0});
    }
    return screens;
}

// Before RandR 1.5: each CRTC that shows an output, named after its first output.
std::vector<ScreenInfo> Crtcs(const XcbConnection& x) {
    xcb_connection_t* c = x.get();
    std::vector<ScreenInfo> screens;
    const XcbPtr<xcb_randr_get_screen_resources_current_reply_t> resources(
        xcb_randr_get_screen_resources_current_reply(
            c, xcb_randr_get_screen_resources_current(c, x.Root()), nullptr));
    if (resources == nullptr) {
        return screens;
    }
    const XcbPtr<xcb_randr_get_output_primary_reply_t> primary(
        xcb_randr_get_output_primary_reply(c, xcb_randr_get_output_primary(c, x.Root()), nullptr));
    const xcb_randr_crtc_t* crtcs = xcb_randr_get_screen_resources_current_crtcs(resources.get());
    const int count = xcb_randr_get_screen_resources_current_crtcs_length(resources.get());
    for (int i = 0; i < count; ++i) {
        const XcbPtr<xcb_randr_get_crtc_info_reply_t> crtc(xcb_randr_get_crtc_info_reply(
            c, xcb_randr_get_crtc_info(c, crtcs[i], resources->config_timestamp), nullptr));
        if (crtc == nullptr || crtc->mode == XCB_NONE ||
            xcb_randr_get_crtc_info_outputs_length(crtc.get()) == 0) {
            continue;
        }
        const xcb_randr_output_t* outputs = xcb_randr_get_crtc_info_outputs(crtc.get());
        ScreenInfo screen{.x = crtc->x, .y = crtc->y, .width = crtc->width, .height = crtc->height};
        const XcbPtr<xcb_randr_get_output_info_reply_t> output(xcb_randr_get_output_info_reply(
            c, xcb_randr_get_output_info(c, outputs[0], resources->config_timestamp), nullptr));
        if (output != nullptr) {
            screen.name.assign(
                reinterpret_cast<const char*>(xcb_randr_get_output_info_name(output.get())),
                static_cast<std::size_t>(xcb_randr_get_output_info_name_length(output.get())));
        }
        for (int o = 0; o < xcb_randr_get_crtc_info_outputs_length(crtc.get()); ++o) {
            screen.primary =
                screen.primary || (primary != nullptr && outputs[o] == primary->output);
        }
        screens.push_back(std::move(screen));
    }
    return screens;
}

}  // namespace

std::vector<ScreenInfo> X11Screens(const std::string& display) {
    XcbConnection x(display);
    if (!x.IsConnected()) {
        return {};
    }
    xcb_connection_t* c = x.get();
    std::vector<ScreenInfo> screens;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_randr_id);
    if (extension != nullptr && extension->present != 0) {
        const XcbPtr<xcb_randr_query_version_reply_t> version(
            xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
        if (version != nullptr && (version->major_version > 1 || version->minor_version >= 5)) {
            screens = Monitors(x);
        }
        if (screens.empty() && version != nullptr &&
            (version->major_version > 1 || version->minor_version >= 3)) {
            screens = Crtcs(x);
        }
    }
    if (screens.empty()) {
        screens.push_back({.width = x.Screen()->width_in_pixels,
                           .height = x.Screen()->height_in_pixels,
                           .primary = true});
    }
    bool primary = false;
    for (ScreenInfo& screen : screens) {
        screen.primary = screen.primary && !primary;  // one only
        primary = primary || screen.primary;
    }
    if (!primary) {
        screens.front().primary = true;
    }
    return screens;
}

}  // namespace vexlo
