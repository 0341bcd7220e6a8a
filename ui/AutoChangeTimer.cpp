#include "AutoChangeTimer.h"

#include <algorithm>
#include <limits>

#include "ErrorReport.h"

namespace vexlo {

AutoChangeTimer::AutoChangeTimer(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(false);
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (onTimer_) {
            RunGuarded(onTimer_);
        }
    });
}

void AutoChangeTimer::SetInterval(std::int64_t milliseconds) {
    const std::int64_t value =
        std::clamp<std::int64_t>(milliseconds, 0, std::numeric_limits<int>::max());
    if (value == interval_) {
        return;
    }
    interval_ = value;
    Restart();
}

void AutoChangeTimer::SetEnabled(bool on) {
    if (on == enabled_) {
        return;
    }
    enabled_ = on;
    Restart();
}

void AutoChangeTimer::Restart() {
    timer_.stop();
    if (enabled_ && interval_ > 0) {
        timer_.start(static_cast<int>(interval_));
    }
}

}  // namespace vexlo
