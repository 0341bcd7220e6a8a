#include "x11/XcbConnection.h"

#include <cstring>

namespace vexlo {

XcbConnection::XcbConnection(const std::string& display) {
    if (display.empty()) {
        return;
    }
    int screenNumber = 0;
    connection_ = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
        if (i == screenNumber) {
            screen_ = it.data;
            break;
        }
    }
}

XcbConnection::~XcbConnection() {
    if (connection_ != nullptr) {
        xcb_disconnect(connection_);  // also right after a failed connect
    }
}

bool XcbConnection::IsConnected() const {
    return connection_ != nullptr && xcb_connection_has_error(connection_) == 0 &&
           screen_ != nullptr;
}

xcb_atom_t XcbConnection::Atom(const char* name) const {
    const XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply != nullptr ? reply->atom : XCB_NONE;
}

bool XcbConnection::Sync() const {
    const XcbPtr<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return reply != nullptr && xcb_connection_has_error(connection_) == 0;
}

}  // namespace vexlo
