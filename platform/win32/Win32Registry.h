#pragma once

#include <string>

#include "DesktopPlatform.h"

// The registry operations of Win32Platform, on the W calls of advapi32.
namespace vexlo::win32 {

std::string ReadRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::string& def);
void WriteRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                         const std::string& value);
void DeleteRegistryValue(RegistryRoot root, const std::string& key, const std::string& name);
void DeleteRegistryKey(RegistryRoot root, const std::string& key);

}  // namespace vexlo::win32
