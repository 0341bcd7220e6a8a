#pragma once

#include <string>
#include <string_view>

#include "DesktopPlatform.h"

namespace vexlo {

// A key path as the registry stores it: without a leading or trailing "\" and
// with every run of "\" made one. "\Control Panel\\Desktop\" gives
// "Control Panel\Desktop".
std::string NormaliseRegistryKey(std::string_view key);

// True when `key` is `parent` or one of its subkeys, letter case ignored.
// Both are taken as normalised.
bool IsRegistryKeyAtOrBelow(std::string_view key, std::string_view parent);

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", or "HKEY_0x..." for any other value.
std::string RegistryRootName(RegistryRoot root);

}  // namespace vexlo
