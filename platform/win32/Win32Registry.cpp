#include "Win32Registry.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "VexloError.h"
#include "WideText.h"

namespace vexlo::win32 {
namespace {

// Only the two roots the program names; any other value opens nothing.
HKEY RootHandle(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
    }
    return nullptr;
}

// Key paths start at the root; Windows refuses a leading "\", callers may write one.
std::optional<std::wstring> KeyPath(const std::string& key) {
    std::string_view path = key;
    if (!path.empty() && path.front() == '\\') {
        path.remove_prefix(1);
    }
    return Utf8ToWide(path);
}

class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (handle_ != nullptr) {
            RegCloseKey(handle_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool Open(HKEY parent, const std::wstring& path, REGSAM access) {
        return RegOpenKeyExW(parent, path.c_str(), 0, access, &handle_) == ERROR_SUCCESS;
    }
    bool Create(HKEY parent, const std::wstring& path, REGSAM access) {
        return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                               nullptr, &handle_, nullptr) == ERROR_SUCCESS;
    }
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

// The string data of a value, cut at its first NUL; empty for other value types.
std::optional<std::wstring> QueryString(HKEY key, const std::wstring& name) {
    // The value may change size between the two calls (another process writes it).
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        std::wstring data((size + sizeof(wchar_t) - 1) / sizeof(wchar_t), L'\0');
        const LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        data.resize(size / sizeof(wchar_t));
        const size_t end = data.find(L'\0');
        if (end != std::wstring::npos) {
            data.resize(end);
        }
        return data;
    }
    return std::nullopt;
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];  // a key name holds at most 255 characters
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.emplace_back(name, length);
    }
}

// Depth first: Windows deletes only keys without subkeys.
void DeleteTree(HKEY parent, const std::wstring& path) {
    {
        OpenKey key;
        if (!key.Open(parent, path, KEY_ENUMERATE_SUB_KEYS)) {
            return;
        }
        // The names are taken before any deletion so the enumeration indices stay valid.
        for (const std::wstring& child : SubkeyNames(key.get())) {
            DeleteTree(key.get(), child);
        }
    }
    RegDeleteKeyW(parent, path.c_str());
}

}  // namespace

std::string ReadRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::string& def) {
    const HKEY rootKey = RootHandle(root);
    const auto path = KeyPath(key);
    const auto valueName = Utf8ToWide(name);
    OpenKey opened;
    // Read access is enough, so a user without the right to change a key still reads it.
    if (rootKey == nullptr || !path || !valueName ||
        !opened.Open(rootKey, *path, KEY_QUERY_VALUE)) {
        return def;
    }
    const auto data = QueryString(opened.get(), *valueName);
    return data ? WideToUtf8(*data) : def;
}

void WriteRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                         const std::string& value) {
    const HKEY rootKey = RootHandle(root);
    const auto path = KeyPath(key);
    if (rootKey == nullptr || !path) {
        throw VexloError("Failed to create key " + key);
    }
    // Checked before the key is created, so a refused value leaves no empty key behind.
    const auto valueName = Utf8ToWide(name);
    const auto data = Utf8ToWide(value);
    const size_t bytes = data ? (data->size() + 1) * sizeof(wchar_t) : 0;
    if (!valueName || !data || bytes > MAXDWORD) {
        throw VexloError("Failed to set data for '" + name + "'");
    }
    OpenKey created;
    if (!created.Create(rootKey, *path, KEY_SET_VALUE)) {
        throw VexloError("Failed to create key " + key);
    }
    if (RegSetValueExW(created.get(), valueName->c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data->c_str()),
                       static_cast<DWORD>(bytes)) != ERROR_SUCCESS) {
        throw VexloError("Failed to set data for '" + name + "'");
    }
}

void DeleteRegistryValue(RegistryRoot root, const std::string& key, const std::string& name) {
    const HKEY rootKey = RootHandle(root);
    const auto path = KeyPath(key);
    const auto valueName = Utf8ToWide(name);
    OpenKey opened;
    if (rootKey != nullptr && path && valueName && opened.Open(rootKey, *path, KEY_SET_VALUE)) {
        RegDeleteValueW(opened.get(), valueName->c_str());
    }
}

void DeleteRegistryKey(RegistryRoot root, const std::string& key) {
    const HKEY rootKey = RootHandle(root);
    const auto path = KeyPath(key);
    // An empty path names the root itself: its whole content is never wiped.
    if (rootKey != nullptr && path && !path->empty()) {
        DeleteTree(rootKey, *path);
    }
}

}  // namespace vexlo::win32
