#pragma once

#include <functional>
#include <string>
#include <vector>

#include "InstanceChannel.h"

namespace vexlo {

// How long "next" waits for a running Vexlo that does not answer.
inline constexpr int kNextTimeoutMs = 5000;

// True when the command line is the word "next", in any letter case.
bool IsNextCommand(const std::vector<std::string>& arguments);

// "next": the Vexlo running on the same program folder changes the wallpaper,
// as its hot key would; when none runs, `changeHere` carries out the step in
// this process. Returns the exit code, 0; throws VexloError with a message
// for the user when the change failed there or nobody answered in time.
int RunNextCommand(InstanceChannel& channel, const std::function<void()>& changeHere,
                   int timeoutMs = kNextTimeoutMs);

}  // namespace vexlo
