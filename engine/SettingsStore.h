#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexlo {

// The settings file Vexlo.ini. Keeps no copy of the contents: every read sees
// the file as it is now (so another process's write is seen at the next read),
// every write changes the file before it returns. Section and key names match
// without regard to case. A refused write throws VexloError
// "Unable to write to <path>".
class SettingsStore {
public:
    explicit SettingsStore(std::string path);

    const std::string& FileName() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The section's key names in file order; empty when the section is missing.
    std::vector<std::string> ReadSection(const std::string& section) const;
    void EraseSection(const std::string& section);
    // Removes one key; a missing key or a failed delete is ignored.
    void DeleteKey(const std::string& section, const std::string& key);
    // True when the section holds at least one key.
    bool SectionExists(const std::string& section) const;

private:
    std::string path_;
};

}  // namespace vexlo
