#pragma once

#include <memory>
#include <string>

#include "Environment.h"
#include "InstanceChannel.h"

namespace vexlo {

// The channel to the Vexlo running on `programFolder` in the session
// `context` describes (its session bus).
std::unique_ptr<InstanceChannel> CreateInstanceChannel(const PlatformContext& context,
                                                       const std::string& programFolder);

}  // namespace vexlo
