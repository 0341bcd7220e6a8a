#pragma once

#include <map>
#include <string>

namespace vexlo {

// A process environment as name -> value. Passed in explicitly so that the
// choices made from it (backend, file locations) can be tested.
using Environment = std::map<std::string, std::string>;

// The environment of this process.
Environment CurrentEnvironment();

}  // namespace vexlo
