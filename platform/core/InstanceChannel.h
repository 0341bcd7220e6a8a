#pragma once

#include <functional>
#include <string>

namespace vexlo {

// What a request to the running Vexlo came to.
enum class InstanceAnswer {
    Done,        // the running Vexlo carried it out
    NoInstance,  // no Vexlo of this program folder runs (or none can be reached)
    Failed,      // it ran there and failed; the reply's message says why
    NoAnswer,    // a Vexlo runs but did not answer in time
};

struct InstanceReply {
    InstanceAnswer answer = InstanceAnswer::NoInstance;
    std::string message = {};  // for Failed: the error's text
};

// How a second process reaches the Vexlo already running on the same program
// folder (and so the same settings file). Copies in other program folders stay
// apart. Every operation runs on the GUI thread.
class InstanceChannel {
public:
    InstanceChannel() = default;
    virtual ~InstanceChannel() = default;
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    // The running program: from now on each "next" request runs `next` on the
    // GUI thread, from the event loop; it returns the text of the error that
    // ended the change, empty when the change went well. False when the
    // channel could not be opened (no bus, the name held by another copy);
    // the program goes on without it.
    virtual bool Listen(std::function<std::string()> next) = 0;

    // A second process: asks the running Vexlo to change the wallpaper and
    // waits at most `timeoutMs` for its answer.
    virtual InstanceReply RequestNext(int timeoutMs) = 0;
};

}  // namespace vexlo
