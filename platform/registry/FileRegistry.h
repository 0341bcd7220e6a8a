#pragma once

#include <string>

#include "DesktopPlatform.h"
#include "Environment.h"

namespace vexlo {

// The registry outside Windows: one file per root in the profile format, in a
// folder of its own. A key path is a section, a value name a key; key paths
// compare without regard to case, a leading "\" is allowed.
class FileRegistry {
public:
    explicit FileRegistry(std::string folder);

    // $VEXLO_REGISTRY_DIR, else $XDG_CONFIG_HOME/vexlo, else $HOME/.config/vexlo.
    static std::string DefaultFolder(const Environment& env);

    const std::string& Folder() const { return folder_; }
    // The file that holds `root`.
    std::string FileFor(RegistryRoot root) const;

    std::string ReadString(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& def) const;
    void WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& value);
    void DeleteValue(RegistryRoot root, const std::string& key, const std::string& name);
    void DeleteKey(RegistryRoot root, const std::string& key);

private:
    std::string folder_;
};

}  // namespace vexlo
