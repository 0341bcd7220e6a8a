// The hidden window's message handler and the right-click menu.
#include <QCoreApplication>
#include <QCursor>

#include "TrayIcon.h"

namespace vexlo {

intptr_t TTrayIcon::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == kTrayRewriteTipMessage) {
        setToolTip(toolTip_);
        return 0;
    }
    if (message != kTrayCallbackMessage) {
        return DefaultWindowProc(window_->Handle(), message, wParam, lParam);
    }
    // Handlers run from a copy: one may replace itself, or destroy this
    // component, while it runs. Nothing of this object is touched afterwards.
    switch (lParam) {
        case WM_LBUTTONUP:
            if (TNotifyEvent handler = onClick_) {
                handler(this);
            }
            break;
        case WM_LBUTTONDBLCLK:
            if (TNotifyEvent handler = onDblClick_) {
                handler(this);
            }
            break;
        case WM_RBUTTONUP:
            PopupAtCursor();
            break;
        default:  // moves, presses, the middle button, the right double click
            break;
    }
    return 0;
}

void TTrayIcon::PopupAtCursor() {
    const QPoint at = QCursor::pos();
    const QPointer<TTrayIcon> self(this);
    if (popupMenu_) {
        // Qt's popup grabs mouse and keyboard itself, which is what bringing
        // the program to the foreground is for. Pending events run first, so a
        // timer tick or a hot key may run here; any of them may end this
        // component or the menu.
        QCoreApplication::processEvents();
        if (!self) {
            return;
        }
        if (QMenu* menu = popupMenu_) {
            menu->exec(at);  // aboutToShow, the menu's before-popup handler, runs first
            if (!self) {
                return;
            }
        }
    }
    if (TMouseEvent handler = onRightClick_) {
        handler(this, Qt::RightButton, Qt::NoModifier, at.x(), at.y());
    }
}

}  // namespace vexlo
