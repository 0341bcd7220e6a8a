#include "registry/FileRegistry.h"

#include <QDir>
#include <QString>

#include "VexloError.h"
#include "registry/RegistryPath.h"

namespace vexlo {
FileRegistry::FileRegistry(std::string folder) : folder_(std::move(folder)) {}

std::string FileRegistry::DefaultFolder(const Environment& env, const std::string& homeFolder) {
    if (std::string dir = EnvValue(env, "VEXLO_REGISTRY_DIR"); !dir.empty()) {
        return dir;
    }
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
    if (std::string config = EnvValue(env, "XDG_CONFIG_HOME");
        !config.empty() && config[0] == '/') {
        return config + "/vexlo";
    }
    return homeFolder + "/.config/vexlo";
}

std::string FileRegistry::FileFor(RegistryRoot root) const {
    return QDir(QString::fromStdString(folder_))
        .filePath(QString::fromStdString(RegistryRootName(root) + ".ini"))
        .toStdString();
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
    return File(root).Read()->Find(NormaliseRegistryKey(key), name).value_or(def);
}

void FileRegistry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::string& value) {
    const VexloError createFailed("Failed to create key " + key);
    const VexloError setFailed("Failed to set data for '" + name + "'");
    const std::string section = NormaliseRegistryKey(key);
    try {
        ProfileText::CheckSectionName(section);
    } catch (const VexloError&) {
        throw createFailed;
    }
    try {
        ProfileText::CheckKeyName(name);
        ProfileText::CheckValue(value);
    } catch (const VexloError&) {
        throw setFailed;
    }
    if (!QDir().mkpath(QString::fromStdString(folder_))) {
        throw createFailed;
    }
    try {
        File(root).Update([&](ProfileText& text) { return text.SetString(section, name, value); });
    } catch (const VexloError&) {
        throw File(root).Read()->HasSection(section) ? setFailed : createFailed;
    }
}

void FileRegistry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
    try {
        File(root).Update(
            [&](ProfileText& text) { return text.DeleteKey(NormaliseRegistryKey(key), name); });
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
            bool changed = false;
            for (const std::string& section : text.SectionNames()) {
                if (IsRegistryKeyAtOrBelow(NormaliseRegistryKey(section), normal)) {
                    changed = text.EraseSection(section) || changed;
                }
            }
            return changed;
        });
    } catch (const VexloError&) {
        // As DeleteValue.
    }
}

}  // namespace vexlo
