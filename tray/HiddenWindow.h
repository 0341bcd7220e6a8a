#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

namespace vexlo {

inline constexpr uint32_t WM_USER = 0x0400;

// The mouse messages the shell reports for a notification-area icon.
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;

using WindowProc = std::function<intptr_t(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

// A window that is never shown and exists only to receive messages, which is
// how the shell talks back to a program. It is known by a 32-bit handle;
// messages sent or posted to the handle travel as Qt events, so they pass the
// application's event handling like any other event. GUI thread only.
class HiddenWindow : public QObject {
    Q_OBJECT
public:
    explicit HiddenWindow(WindowProc proc);
    ~HiddenWindow() override;
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    uint32_t Handle() const { return handle_; }

protected:
    bool event(QEvent* e) override;

private:
    WindowProc proc_;
    uint32_t handle_ = 0;
};

// Runs the window procedure of the window with that handle at once and returns
// its result; 0 when no such window exists.
intptr_t SendWindowMessage(uint32_t hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Queues the message for the window's procedure; it is dropped if the window
// is destroyed before the event loop gets to it. False when no such window.
bool PostWindowMessage(uint32_t hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// What happens to a message a window procedure does not handle: nothing; 0.
intptr_t DefaultWindowProc(uint32_t hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Whether a window with that handle exists.
bool IsWindow(uint32_t hWnd);

}  // namespace vexlo
