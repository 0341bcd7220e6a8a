#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace vexlo::test {

// A helper program run for a test (an X server, a notification area). It is
// ended and reaped when the object goes, so nothing outlives the test.
class ChildProcess {
public:
    // Starts argv[0] from PATH with DISPLAY set to display (when not empty),
    // its output discarded. Descriptors without close-on-exec are inherited.
    // Throws std::runtime_error when the program cannot be started.
    ChildProcess(const std::vector<std::string>& argv, const std::string& display);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();

private:
    pid_t pid_ = -1;
};

// An Xvfb of its own: the server picks a free display number and reports it
// through -displayfd, so tests may run side by side.
class XvfbServer {
public:
    XvfbServer();  // throws std::runtime_error when the server does not come up
    const std::string& Display() const { return display_; }

private:
    std::string display_;
    std::unique_ptr<ChildProcess> process_;
};

}  // namespace vexlo::test
