#pragma once

#include <string>
#include <vector>

#include "Environment.h"

namespace vexlo {

struct CommandResult {
    bool finished = false;  // started and ended by itself within the time allowed
    int exitCode = -1;
    std::string output;  // standard output
    std::string errors;  // standard error

    bool Succeeded() const { return finished && exitCode == 0; }
};

// Runs desktop tools (gsettings, swaymsg...) in a given environment and waits
// for them. A tool that hangs is killed after `timeoutMs`.
class CommandRunner {
public:
    explicit CommandRunner(Environment env, int timeoutMs = 10000);

    CommandResult Run(const std::string& program, const std::vector<std::string>& args) const;

    const Environment& Env() const { return env_; }

private:
    Environment env_;
    int timeoutMs_;
};

}  // namespace vexlo
