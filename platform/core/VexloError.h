#pragma once

#include <stdexcept>
#include <string>

namespace vexlo {

// The one exception type of the program. Its text is shown to the user as it
// stands, so it must be a complete, readable message.
class VexloError : public std::runtime_error {
public:
    explicit VexloError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vexlo
