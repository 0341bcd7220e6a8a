#pragma once

#include <string>

#include "DesktopPlatform.h"

namespace vexlo {

// Writes a string value into `subkey` below `keyPath` under HKEY_CURRENT_USER,
// creating both keys when missing; a leading "\" on the key path is allowed.
// Throws as DesktopPlatform::WriteRegistryString does.
void WriteUserRegistryString(DesktopPlatform& platform, const std::string& keyPath,
                             const std::string& subkey, const std::string& valueName,
                             const std::string& value);

}  // namespace vexlo
