#include "registry/RegistryPath.h"

#include <cstdio>

#include "profile/ProfileName.h"

namespace vexlo {

std::string NormaliseRegistryKey(std::string_view key) {
    std::string out;
    out.reserve(key.size());
    for (char c : key) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) {
            continue;
        }
        out += c;
    }
    if (!out.empty() && out.back() == '\\') {
        out.pop_back();
    }
    return out;
}

bool IsRegistryKeyAtOrBelow(std::string_view key, std::string_view parent) {
    if (parent.empty()) {
        return true;
    }
    if (key.size() < parent.size()) {
        return false;
    }
    if (key.size() > parent.size() && key[parent.size()] != '\\') {
        return false;
    }
    return ProfileNamesEqual(key.substr(0, parent.size()), parent);
}

std::string RegistryRootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RegistryRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
    }
    char text[32];
    std::snprintf(text, sizeof text, "HKEY_0x%08X", static_cast<unsigned>(root));
    return text;
}

}  // namespace vexlo
