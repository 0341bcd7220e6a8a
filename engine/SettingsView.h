#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "profile/ProfileText.h"

namespace vexlo {

// One reading of the settings file, for reads that belong together: a
// rotation step asks for a flag per folder, and reading the file once for
// all of them keeps the step linear in the number of folders. Every read of
// the SettingsStore is made through a fresh view, so nothing stale is served.
class SettingsView {
public:
    explicit SettingsView(std::shared_ptr<const ProfileText> text);

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    bool SectionExists(const std::string& section) const;

private:
    std::shared_ptr<const ProfileText> text_;
};

}  // namespace vexlo
