#include "x11/X11HotKey.h"

#include <QSocketNotifier>
#include <vector>

#include "x11/X11Keyboard.h"
#include "x11/XcbConnection.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kKeysymC = 0x0063;        // XK_c
constexpr std::uint32_t kKeysymNumLock = 0xff7f;  // XK_Num_Lock

// Ctrl+Alt with every combination of the lock modifiers, which X counts as
// modifiers of their own: without them the key would not work while Num Lock
// or Caps Lock is on.
std::vector<std::uint16_t> ModifierSets(std::uint16_t numLock) {
    const std::uint16_t base = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    std::vector<std::uint16_t> sets = {base, static_cast<std::uint16_t>(base | XCB_MOD_MASK_LOCK)};
    if (numLock != 0 && numLock != XCB_MOD_MASK_LOCK) {
        sets.push_back(static_cast<std::uint16_t>(base | numLock));
        sets.push_back(static_cast<std::uint16_t>(base | numLock | XCB_MOD_MASK_LOCK));
    }
    return sets;
}

}  // namespace

X11HotKey::X11HotKey(const std::string& display, NativeMessageSink sink)
    : x_(std::make_unique<XcbConnection>(display)), sink_(std::move(sink)) {}

X11HotKey::~X11HotKey() = default;  // closing the connection releases the grab

bool X11HotKey::Grab() {
    if (notifier_ != nullptr) {
        return true;
    }
    if (!x_->IsConnected()) {
        return false;
    }
    keycode_ = KeycodeFor(*x_, kKeysymC);
    if (keycode_ == 0) {
        return false;
    }
    const std::vector<std::uint16_t> sets = ModifierSets(ModifierMaskFor(*x_, kKeysymNumLock));
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint16_t modifiers : sets) {
        cookies.push_back(xcb_grab_key_checked(x_->get(), 1, x_->Root(), modifiers, keycode_,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool held = true;
    for (xcb_void_cookie_t cookie : cookies) {
        if (const XcbError error{xcb_request_check(x_->get(), cookie)}) {
            held = false;  // BadAccess: another client has it
        }
    }
    if (!held) {
        for (std::uint16_t modifiers : sets) {
            xcb_ungrab_key(x_->get(), keycode_, x_->Root(), modifiers);
        }
        x_->Sync();
        return false;
    }
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(x_->get()),
                                                  QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadEvents(); });
    ReadEvents();  // events already queued while the replies above were read
    return true;
}

void X11HotKey::ReadEvents() {
    int presses = 0;
    while (const XcbEvent event{xcb_poll_for_event(x_->get())}) {
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS &&
            reinterpret_cast<const xcb_key_press_event_t*>(event.get())->detail == keycode_) {
            ++presses;
        }
    }
    if (xcb_connection_has_error(x_->get()) != 0) {
        notifier_->setEnabled(false);  // the server went away: nothing more will come
    }
    // Everything above is done before the sink runs: what it throws leaves
    // through Qt's event dispatch to the program's error report, and the
    // presses after a failing one in this batch are dropped. A copy, so that
    // the sink may replace itself.
    const NativeMessageSink sink = sink_;
    for (int i = 0; i < presses && sink; ++i) {
        sink(kWmHotKey, kHotKeyId);
    }
}

}  // namespace vexlo
