#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "Environment.h"

namespace vexlo::test {

// A program a test starts and is sure to stop: it runs in a process group of
// its own, and the whole group (services it starts included) is killed and
// reaped when the object ends, also when an assertion fails on the way. Should
// the test process itself be killed, the program is killed with it.
class ChildProcess {
public:
    // `env` is the child's whole environment. With `pipeFd` >= 0 the child
    // gets the write end of a pipe as that descriptor number (for
    // -displayfd, --print-address), to be read with ReadLine. Output and
    // errors go to `logFile` (or nowhere when empty). Throws on failure.
    ChildProcess(const std::vector<std::string>& argv, const Environment& env, int pipeFd = -1,
                 const std::string& logFile = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // One line from the pipe, without its newline; empty on timeout or end.
    std::string ReadLine(int timeoutMs);

    bool IsRunning();

    // Waits for the child to end by itself; its exit code, or -1 on timeout.
    int Wait(int timeoutMs);

    void Stop();

private:
    pid_t pid_ = -1;
    int readFd_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    std::string pending_;
};

// Runs a program to its end; its exit code (-1 when it did not end in time).
int RunToEnd(const std::vector<std::string>& argv, const Environment& env, int timeoutMs = 10000,
             const std::string& logFile = "");

// Makes this process the reaper of orphaned descendants (services a bus
// started, sway's helpers) so that none is left as a zombie.
void AdoptOrphans();

// Reaps every descendant that has ended.
void ReapOrphans();

}  // namespace vexlo::test
