#pragma once

#include <map>
#include <string>

#include "DesktopPlatform.h"
#include "Environment.h"
#include "profile/ProfileFile.h"

namespace vexlo {

// The registry outside Windows: one file per root in the profile format, in a
// folder of its own ("HKEY_CURRENT_USER.ini", "HKEY_LOCAL_MACHINE.ini"). A key
// path is a section, a value name a key:
//  - key paths compare without regard to case; a leading "\" is allowed, runs
//    of "\" count as one and a trailing "\" is dropped;
//  - the empty value name, the key's default value, is the empty key name
//    ("=value" in the file), so that no real value name can collide with it;
//  - writing creates the folder, the file and the key as needed; deleting a
//    value leaves its key ("[key]" with no values) as the registry does;
//  - DeleteKey removes the key and every subkey; an empty key path (the root
//    itself) is never deleted.
// Each call reads or changes the file at once (ProfileFile: locked, atomic,
// seen by other processes at their next read).
class FileRegistry {
public:
    explicit FileRegistry(std::string folder);

    // $VEXLO_REGISTRY_DIR, else $XDG_CONFIG_HOME/vexlo (when absolute), else
    // <homeFolder>/.config/vexlo; VexloError when neither is absolute.
    static std::string DefaultFolder(const Environment& env, const std::string& homeFolder);

    const std::string& Folder() const { return folder_; }
    // The file that holds `root`.
    std::string FileFor(RegistryRoot root) const;

    // The value, or `def` when the key or value is missing. Never fails.
    std::string ReadString(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& def) const;
    // Throws VexloError "Failed to create key <key>" when the key is missing and
    // cannot be made, "Failed to set data for '<name>'" when the value cannot be
    // stored (the file cannot be written, or the name or value holds a line break,
    // or the name holds "=" or starts with "[" or ";").
    void WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& value);
    // Nothing happens when the value or key is absent or the file cannot be written.
    void DeleteValue(RegistryRoot root, const std::string& key, const std::string& name);
    void DeleteKey(RegistryRoot root, const std::string& key);

private:
    ProfileFile& File(RegistryRoot root) const;

    std::string folder_;
    mutable std::map<RegistryRoot, ProfileFile> files_;  // one per root, with its read cache
};

}  // namespace vexlo
