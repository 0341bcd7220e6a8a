#include "shortcut/ShortcutCommand.h"

namespace vexlo {

std::string NextCommandFor(const std::string& executable) {
    std::string quoted = "'";
    for (const char ch : executable) {
        quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    }
    return quoted + "' next";
}

}  // namespace vexlo
