#pragma once

#include <QSystemTrayIcon>
#include <cstdint>
#include <vector>

namespace vexlo {

// Turns Qt's activation reports for a tray icon into the mouse messages the
// Windows shell sends, so that a double click reads as button-up,
// double-click, button-up wherever Qt runs.
//
// Qt on Windows reports a double click as Trigger, DoubleClick. Qt on X11
// reports every left press as a Trigger, the second press of a double click
// included, and the DoubleClick after it. So a Trigger that comes within the
// double-click time of the one before is held back: a DoubleClick turns it
// into the closing button-up, and if none comes it is sent as a click of its
// own once the time is out (Expire).
class ClickTranslator {
public:
    explicit ClickTranslator(int doubleClickMs) : doubleClickMs_(doubleClickMs) {}

    // The messages to send now for an activation at nowMs (a steady clock).
    std::vector<uint32_t> Activated(QSystemTrayIcon::ActivationReason reason, int64_t nowMs);

    // Whether a Trigger is held back; the caller runs Expire when the
    // double-click time after it has passed.
    bool Holding() const { return holding_; }
    std::vector<uint32_t> Expire();

private:
    int doubleClickMs_;
    bool holding_ = false;
    bool haveTrigger_ = false;
    int64_t lastTriggerMs_ = 0;
};

}  // namespace vexlo
