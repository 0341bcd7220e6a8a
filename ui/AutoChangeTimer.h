#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace vexlo {

// The auto-change timer with the rules the program relies on, which a bare
// QTimer does not keep:
// - writing the interval it already has changes nothing (QTimer would restart
//   the countdown); a different interval restarts it;
// - switching on starts a full interval; switching off stops it;
// - an interval of 0 gives no ticks although the timer counts as on (QTimer
//   would fire continuously);
// - periodic: a tick does not restart the count.
// Intervals are milliseconds; below 0 counts as 0, and past what a QTimer can
// count (about 24.8 days) the interval is held at that limit.
class AutoChangeTimer : public QObject {
    Q_OBJECT
public:
    explicit AutoChangeTimer(QObject* parent = nullptr);

    // Minutes as the settings file holds them, to milliseconds (64-bit, unguarded).
    static std::int64_t MinutesToInterval(std::int64_t minutes) { return minutes * 60 * 1000; }

    std::int64_t Interval() const { return interval_; }
    void SetInterval(std::int64_t milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    // True while a tick is due at some time (on, with a positive interval).
    bool Counting() const { return timer_.isActive(); }
    int RemainingMs() const { return timer_.remainingTime(); }

    void SetOnTimer(std::function<void()> handler) { onTimer_ = std::move(handler); }

private:
    void Restart();

    QTimer timer_;
    std::int64_t interval_ = 1000;
    bool enabled_ = true;
    std::function<void()> onTimer_;
};

}  // namespace vexlo
