#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace vexlo::test {

// A helper program run for a test, with this process's environment and its
// output discarded. It is ended and reaped with the object, so nothing
// outlives the test. Throws std::runtime_error when it cannot be started.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();

private:
    pid_t pid_ = -1;
};

// An Xvfb of the test's own: the server picks a free display number and
// reports it through -displayfd, so tests may run side by side.
class XvfbServer {
public:
    XvfbServer();  // throws std::runtime_error when the server does not come up
    const std::string& Display() const { return display_; }

private:
    std::unique_ptr<ChildProcess> process_;
    std::string display_;
};

}  // namespace vexlo::test
