#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace vexlo {

// Owns what xcb hands out with malloc (replies, errors, events) and frees it
// with the handle: xcb_request_check, xcb_*_reply and xcb_poll_for_event
// results go straight into one of these.
struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbPtr = std::unique_ptr<T, XcbFree>;
using XcbError = XcbPtr<xcb_generic_error_t>;
using XcbEvent = XcbPtr<xcb_generic_event_t>;

// One connection to an X server, closed when this ends.
class XcbConnection {
public:
    // `display` as in $DISPLAY; an empty name gives no connection (the process's
    // own $DISPLAY is never used behind the caller's back).
    explicit XcbConnection(const std::string& display);
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    bool IsConnected() const;
    xcb_connection_t* get() const { return connection_; }
    // The screen named by the display string; null without a connection.
    xcb_screen_t* Screen() const { return screen_; }
    xcb_window_t Root() const { return screen_ != nullptr ? screen_->root : XCB_NONE; }

    // The atom for `name`, created when missing; XCB_NONE on failure.
    xcb_atom_t Atom(const char* name) const;

    // Waits until the server has handled every request sent so far; false when
    // the connection broke.
    bool Sync() const;

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
};

}  // namespace vexlo
