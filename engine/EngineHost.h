#pragma once

#include <functional>
#include <string>

namespace vexlo {

// What the engine needs from the GUI without depending on it. The windows
// implement it; tests fake it.
class EngineHost {
public:
    EngineHost() = default;
    virtual ~EngineHost() = default;
    EngineHost(const EngineHost&) = delete;
    EngineHost& operator=(const EngineHost&) = delete;

    // The busy cursor for the whole application, on and off again.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;

    // A modal information box with `text`; returns when the user closed it.
    virtual void ShowMessage(const std::string& text) = 0;

    // Runs `work` once, `milliseconds` from now, on the GUI thread. Every call
    // makes a timer of its own; several may be pending at once.
    virtual void StartOneShotTimer(int milliseconds, std::function<void()> work) = 0;
};

// Busy cursor for a scope: restored on every path, also when an error propagates.
class BusyScope {
public:
    explicit BusyScope(EngineHost& host) : host_(host) { host_.BeginBusy(); }
    ~BusyScope() { End(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    // Restores the normal cursor early (before a message box, say).
    void End() {
        if (busy_) {
            busy_ = false;
            host_.EndBusy();
        }
    }

private:
    EngineHost& host_;
    bool busy_ = true;
};

}  // namespace vexlo
