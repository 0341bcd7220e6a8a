#include "HiddenWindow.h"

#include <QCoreApplication>
#include <QEvent>

#include "HandleTable.h"

namespace vexlo {

namespace {

HandleTable<HiddenWindow*>& Windows() {
    static HandleTable<HiddenWindow*> table;
    return table;
}

QEvent::Type MessageEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

struct WindowMessageEvent : QEvent {
    WindowMessageEvent(uint32_t m, uintptr_t w, intptr_t l)
        : QEvent(MessageEventType()), message(m), wParam(w), lParam(l) {}
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    intptr_t result = 0;
};

HiddenWindow* WindowByHandle(uint32_t hWnd) {
    HiddenWindow** window = hWnd == 0 ? nullptr : Windows().Find(hWnd);
    return window ? *window : nullptr;
}

}  // namespace

HiddenWindow::HiddenWindow(WindowProc proc) : proc_(std::move(proc)) {
    handle_ = Windows().Add(this);
}

HiddenWindow::~HiddenWindow() {
    Windows().Remove(handle_);
}

bool HiddenWindow::event(QEvent* e) {
    if (e->type() != MessageEventType()) {
        return QObject::event(e);
    }
    auto* m = static_cast<WindowMessageEvent*>(e);
    // A handler may destroy this window (its owner, say): run a copy of the
    // procedure and touch no member afterwards.
    const WindowProc proc = proc_;
    const uint32_t handle = handle_;
    m->result = proc ? proc(m->message, m->wParam, m->lParam)
                     : DefaultWindowProc(handle, m->message, m->wParam, m->lParam);
    return true;
}

intptr_t SendWindowMessage(uint32_t hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    HiddenWindow* window = WindowByHandle(hWnd);
    if (!window) {
        return 0;
    }
    WindowMessageEvent e(message, wParam, lParam);
    QCoreApplication::sendEvent(window, &e);
    return e.result;
}

bool PostWindowMessage(uint32_t hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    HiddenWindow* window = WindowByHandle(hWnd);
    if (!window) {
        return false;
    }
    QCoreApplication::postEvent(window, new WindowMessageEvent(message, wParam, lParam));
    return true;
}

intptr_t DefaultWindowProc(uint32_t, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

bool IsWindow(uint32_t hWnd) {
    return WindowByHandle(hWnd) != nullptr;
}

}  // namespace vexlo
