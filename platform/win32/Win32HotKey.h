#pragma once

#include "DesktopPlatform.h"

namespace vexlo::win32 {

// Ctrl+Alt+C held by a hidden message-only window of our own. The program's
// event loop dispatches every message of the GUI thread, so the window
// procedure sees WM_HOTKEY and hands it to the sink. What the sink throws
// leaves through DispatchMessage to that loop. Lives on the GUI thread.
class HotKeyWindow {
public:
    // The window class, so that tests can find the window.
    static constexpr const wchar_t* kClassName = L"VexloHotKeyWindow";

    HotKeyWindow() = default;
    ~HotKeyWindow();
    HotKeyWindow(const HotKeyWindow&) = delete;
    HotKeyWindow& operator=(const HotKeyWindow&) = delete;

    // Registers the key once; later calls only replace the sink. False when
    // the window cannot be made or another window holds the key.
    bool Register(NativeMessageSink sink);

    // Called by the window procedure for WM_HOTKEY.
    void Deliver(std::uint64_t wParam) const;

private:
    void* window_ = nullptr;  // HWND, kept out of this header
    bool registered_ = false;
    NativeMessageSink sink_;
};

}  // namespace vexlo::win32
