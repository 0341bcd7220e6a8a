#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <string>

#include "DesktopPlatform.h"

class QSocketNotifier;

namespace vexlo {

class XcbConnection;

// Ctrl+Alt+C grabbed on the root window, on a connection of its own, whatever
// the state of Num Lock and Caps Lock. Each press reaches the sink as
// (kWmHotKey, kHotKeyId) through the Qt event loop of the creating thread,
// which must have one (a Qt application object). What the sink throws
// propagates out of Qt's event dispatch (QCoreApplication::notify).
class X11HotKey {
public:
    X11HotKey(const std::string& display, NativeMessageSink sink);
    ~X11HotKey();
    X11HotKey(const X11HotKey&) = delete;
    X11HotKey& operator=(const X11HotKey&) = delete;

    // False when there is no X server or another client holds the key;
    // nothing stays grabbed then.
    bool Grab();

    void SetSink(NativeMessageSink sink) { sink_ = std::move(sink); }

private:
    void ReadEvents();

    std::unique_ptr<XcbConnection> x_;
    std::unique_ptr<QSocketNotifier> notifier_;
    NativeMessageSink sink_;
    xcb_keycode_t keycode_ = 0;
};

}  // namespace vexlo
