#include "Win32HotKey.h"

#include <windows.h>

namespace vexlo::win32 {
namespace {

constexpr UINT kModifiers = MOD_CONTROL | MOD_ALT;
constexpr UINT kVirtualKeyC = 67;

LRESULT CALLBACK HotKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_HOTKEY) {
        const auto* owner =
            reinterpret_cast<const HotKeyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (owner != nullptr) {
            owner->Deliver(wParam);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Any object of this module names it, also when the backend ends up in a DLL.
const char kModuleAnchor = 0;

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&kModuleAnchor), &module);
    return module;
}

bool RegisterWindowClass(HINSTANCE module) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HotKeyProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = HotKeyWindow::kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HotKeyWindow::~HotKeyWindow() {
    if (window_ != nullptr) {
        const HWND window = static_cast<HWND>(window_);
        if (registered_) {
            UnregisterHotKey(window, static_cast<int>(kHotKeyId));
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

bool HotKeyWindow::Register(NativeMessageSink sink) {
    sink_ = std::move(sink);
    if (registered_) {
        return true;
    }
    if (window_ == nullptr) {
        const HINSTANCE module = ThisModule();
        if (!RegisterWindowClass(module)) {
            return false;
        }
        window_ =
            CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, this);
        if (window_ == nullptr) {
            return false;
        }
    }
    registered_ = RegisterHotKey(static_cast<HWND>(window_), static_cast<int>(kHotKeyId),
                                 kModifiers, kVirtualKeyC) != FALSE;
    return registered_;
}

void HotKeyWindow::Deliver(std::uint64_t wParam) const {
    if (wParam != kHotKeyId || !sink_) {
        return;
    }
    // What the sink throws leaves through DispatchMessage to the message loop
    // that called it, and from there to the program's error report. Nothing of
    // ours changes here, so the key stays registered whatever happens. A copy,
    // so that the sink may replace itself.
    const NativeMessageSink sink = sink_;
    sink(kWmHotKey, wParam);
}

}  // namespace vexlo::win32
