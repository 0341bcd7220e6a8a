#include "Environment.h"

#include <cstring>

extern char** environ;

namespace vexlo {

Environment CurrentEnvironment() {
    Environment env;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const char* eq = std::strchr(*entry, '=');
        if (eq == nullptr) {
            continue;
        }
        env.emplace(std::string(*entry, static_cast<std::size_t>(eq - *entry)), std::string(eq + 1));
    }
    return env;
}

}  // namespace vexlo
