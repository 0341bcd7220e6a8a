#include "ClickTranslator.h"

#include "HiddenWindow.h"

namespace vexlo {

std::vector<uint32_t> ClickTranslator::Activated(QSystemTrayIcon::ActivationReason reason,
                                                 int64_t nowMs) {
    std::vector<uint32_t> out;
    switch (reason) {
        case QSystemTrayIcon::Trigger: {
            out = Expire();
            const bool quick = haveTrigger_ && nowMs - lastTriggerMs_ <= doubleClickMs_;
            if (quick) {
                holding_ = true;
            } else {
                out.push_back(WM_LBUTTONUP);
            }
            haveTrigger_ = true;
            lastTriggerMs_ = nowMs;
            break;
        }
        case QSystemTrayIcon::DoubleClick:
            // A held Trigger is the press that made the double click: it
            // becomes the button-up that ends it.
            holding_ = false;
            haveTrigger_ = false;
            out.push_back(WM_LBUTTONDBLCLK);
            out.push_back(WM_LBUTTONUP);
            break;
        case QSystemTrayIcon::Context:
            // Another button breaks a double click in the making.
            haveTrigger_ = false;
            out = Expire();
            out.push_back(WM_RBUTTONUP);
            break;
        case QSystemTrayIcon::MiddleClick:
            haveTrigger_ = false;
            out = Expire();
            out.push_back(WM_MBUTTONUP);
            break;
        default:
            out = Expire();
            break;
    }
    return out;
}

std::vector<uint32_t> ClickTranslator::Expire() {
    if (!holding_) {
        return {};
    }
    holding_ = false;
    return {WM_LBUTTONUP};
}

}  // namespace vexlo
