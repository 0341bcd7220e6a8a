#include "SettingsView.h"

#include <string_view>

#include "SettingsStore.h"

namespace vexlo {

SettingsView::SettingsView(std::shared_ptr<const ProfileText> text) : text_(std::move(text)) {}

std::string SettingsView::ReadString(const std::string& section, const std::string& key,
                                     const std::string& def) const {
    return text_->GetString(section, key, def);
}

std::int32_t SettingsView::ReadInteger(const std::string& section, const std::string& key,
                                       std::int32_t def) const {
    const std::optional<std::string> text = text_->Find(section, key);
    if (!text) {
        return def;
    }
    // Read through the same 2047-byte window as a string read.
    return ParseSettingsInteger(std::string_view(*text).substr(0, kProfileValueLimit))
        .value_or(def);
}

bool SettingsView::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> SettingsView::ReadSection(const std::string& section) const {
    return text_->KeyNames(section);
}

bool SettingsView::SectionExists(const std::string& section) const {
    return text_->SectionExists(section);
}

}  // namespace vexlo
