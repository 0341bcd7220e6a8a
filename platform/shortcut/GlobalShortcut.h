#pragma once

#include <string>

#include "DesktopPlatform.h"

namespace vexlo {

// One road by which Ctrl+Alt+C reaches Vexlo: the X key grab, the desktop's
// shortcut portal, a key binding the desktop keeps itself, or none. The
// factory picks the road from the session; the program sees only this.
class GlobalShortcut {
public:
    GlobalShortcut() = default;
    virtual ~GlobalShortcut() = default;
    GlobalShortcut(const GlobalShortcut&) = delete;
    GlobalShortcut& operator=(const GlobalShortcut&) = delete;

    // Starts taking the key for this run: each press reaches `sink` as
    // (kWmHotKey, kHotKeyId) on the GUI thread, from the event loop. A second
    // call only replaces the sink. False when the key could not be had now;
    // callers go on without it.
    virtual bool Register(NativeMessageSink sink) = 0;

    // The user's choice, where the desktop keeps a binding of its own
    // (DesktopPlatform::StoreGlobalHotKey). Nothing by default.
    virtual void Store(bool on) { (void)on; }

    // The note for the options dialog (DesktopPlatform::GlobalHotKeyNote).
    virtual std::string Note() { return {}; }
};

}  // namespace vexlo
