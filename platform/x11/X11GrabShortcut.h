#pragma once

#include <memory>
#include <string>

#include "shortcut/GlobalShortcut.h"

namespace vexlo {

class X11HotKey;

// X11 sessions: Ctrl+Alt+C grabbed on the root window for as long as the
// program runs (X11HotKey). Needs a Qt event loop to read the presses.
class X11GrabShortcut : public GlobalShortcut {
public:
    X11GrabShortcut(std::string display, bool eventLoop);
    ~X11GrabShortcut() override;

    bool Register(NativeMessageSink sink) override;

private:
    std::string display_;
    bool eventLoop_;
    std::unique_ptr<X11HotKey> hotKey_;
};

}  // namespace vexlo
