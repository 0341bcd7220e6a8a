#include "registrypro.h"

namespace vexlo {

void WriteUserRegistryString(DesktopPlatform& platform, const std::string& keyPath,
                             const std::string& subkey, const std::string& valueName,
                             const std::string& value) {
    std::string key = keyPath;
    if (!key.empty() && key.back() != '\\' && !subkey.empty()) {
        key += '\\';
    }
    key += subkey;
    platform.WriteRegistryString(RegistryRoot::CurrentUser, key, valueName, value);
}

}  // namespace vexlo
