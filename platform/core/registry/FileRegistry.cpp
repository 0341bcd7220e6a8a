#include "registry/FileRegistry.h"

#include <QDir>
#include <filesystem>

#include "VexloError.h"
#include "profile/ProfileName.h"
#include "registry/RegistryPath.h"

namespace vexlo {
namespace {

// A value name as the file holds it. The profile format drops a name's outer
// blanks, so a name with any (" ", " Name ") is stored in double quotes, as is
// one that is quoted itself: no two names of the registry meet in one key.
std::string StoredValueName(const std::string& name) {
    const bool blankEnds = TrimProfileBlanks(name).size() != name.size();
    const bool quoted = name.size() > 1 && name.front() == '"' && name.back() == '"';
    return blankEnds || quoted ? "\"" + name + "\"" : name;
}

}  // namespace

FileRegistry::FileRegistry(std::string folder) : folder_(std::move(folder)) {}

std::string FileRegistry::DefaultFolder(const Environment& env, const std::string& homeFolder) {
    if (std::string dir = EnvValue(env, "VEXLO_REGISTRY_DIR"); !dir.empty()) {
        return dir;
    }
    const std::string config = XdgBaseFolder(env, XdgBase::Config, homeFolder);
    if (config.empty()) {
        throw VexloError(
            "Cannot find the user's configuration folder: neither XDG_CONFIG_HOME nor the home "
            "folder is an absolute path");
    }
    return config + "/vexlo";
}

std::string FileRegistry::FileFor(RegistryRoot root) const {
    // Bytes, not text: the folder's name need not be UTF-8.
    return (std::filesystem::path(folder_) / (RegistryRootName(root) + ".ini")).string();
}

ProfileFile& FileRegistry::File(RegistryRoot root) const {
    auto it = files_.find(root);
    if (it == files_.end()) {
        it = files_.emplace(root, ProfileFile(FileFor(root))).first;
    }
    return it->second;
}

std::string FileRegistry::ReadString(RegistryRoot root, const std::string& key,
                                     const std::string& name, const std::string& def) const {
    return File(root).Read()->Find(NormaliseRegistryKey(key), StoredValueName(name)).value_or(def);
}

void FileRegistry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::string& value) {
    const VexloError createFailed("Failed to create key " + key);
    const VexloError setFailed("Failed to set data for '" + name + "'");
    const std::string section = NormaliseRegistryKey(key);
    const std::string stored = StoredValueName(name);
    try {
        ProfileText::CheckSectionName(section);
    } catch (const VexloError&) {
        throw createFailed;
    }
    try {
        ProfileText::CheckKeyName(stored);
        ProfileText::CheckValue(value);
    } catch (const VexloError&) {
        throw setFailed;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (ec || !std::filesystem::is_directory(folder_, ec)) {
        throw createFailed;
    }
    try {
        File(root).Update(
            [&](ProfileText& text) { return text.SetString(section, stored, value); });
    } catch (const VexloError&) {
        throw File(root).Read()->HasSection(section) ? setFailed : createFailed;
    }
}

void FileRegistry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
    try {
        File(root).Update([&](ProfileText& text) {
            return text.DeleteKey(NormaliseRegistryKey(key), StoredValueName(name));
        });
    } catch (const VexloError&) {
        // As the registry's own delete: a failure changes nothing and is not reported.
    }
}

void FileRegistry::DeleteKey(RegistryRoot root, const std::string& key) {
    const std::string normal = NormaliseRegistryKey(key);
    if (normal.empty()) {
        return;
    }
    try {
        File(root).Update([&](ProfileText& text) {
            return text.EraseSectionsIf([&](std::string_view section) {
                return IsRegistryKeyAtOrBelow(NormaliseRegistryKey(section), normal);
            }) > 0;
        });
    } catch (const VexloError&) {
        // As DeleteValue.
    }
}

}  // namespace vexlo
