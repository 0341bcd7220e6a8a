#include "x11/X11GrabShortcut.h"

#include "x11/X11HotKey.h"

namespace vexlo {

X11GrabShortcut::X11GrabShortcut(std::string display, bool eventLoop)
    : display_(std::move(display)), eventLoop_(eventLoop) {}

X11GrabShortcut::~X11GrabShortcut() = default;

bool X11GrabShortcut::Register(NativeMessageSink sink) {
    if (hotKey_ != nullptr) {
        hotKey_->SetSink(std::move(sink));
        return true;
    }
    if (!eventLoop_) {
        return false;  // nothing would ever read the key's presses
    }
    auto hotKey = std::make_unique<X11HotKey>(display_, std::move(sink));
    if (!hotKey->Grab()) {
        return false;
    }
    hotKey_ = std::move(hotKey);
    return true;
}

}  // namespace vexlo
