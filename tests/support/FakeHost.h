#pragma once

#include <functional>
#include <string>
#include <vector>

#include "EngineHost.h"

namespace vexlo::test {

// An EngineHost that records what the engine asked of the GUI. Timers do not
// run by themselves: a test fires them with FireTimers().
class FakeHost : public EngineHost {
public:
    void BeginBusy() override {
        ++busyDepth;
        ++busyCalls;
        events.push_back("busy");
    }
    void EndBusy() override {
        --busyDepth;
        events.push_back("idle");
    }
    void ShowMessage(const std::string& text) override {
        messages.push_back(text);
        events.push_back("message");
        if (onMessage) {
            onMessage();
        }
    }
    void StartOneShotTimer(int milliseconds, std::function<void()> work) override {
        timerIntervals.push_back(milliseconds);
        pending.push_back(std::move(work));
    }

    // Runs every pending timer once, in the order they were started.
    int FireTimers() {
        auto due = std::move(pending);
        pending.clear();
        for (auto& work : due) {
            work();
        }
        return static_cast<int>(due.size());
    }

    int busyDepth = 0;
    int busyCalls = 0;
    std::vector<std::string> events;
    std::vector<std::string> messages;
    std::vector<int> timerIntervals;
    std::vector<std::function<void()>> pending;
    std::function<void()> onMessage;
};

}  // namespace vexlo::test
