#include "SettingsStore.h"

#include <unordered_map>

#include "SettingsNames.h"
#include "VexloError.h"
#include "profile/ProfileName.h"

namespace vexlo {
namespace {

constexpr std::string_view kProgramSections[] = {
    ini::kSettings, ini::kStartup, ini::kHotKeys, ini::kInterface,  ini::kLarger,
    ini::kSmaller,  ini::kDeform,  ini::kFolders, ini::kUseFolders, ini::kWallpaperChanging};

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

}  // namespace

std::optional<std::int32_t> ParseSettingsInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;  // |INT32_MIN|
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    if (!negative && magnitude == kLimit) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool IsProgramSectionName(std::string_view name) {
    for (std::string_view section : kProgramSections) {
        if (ProfileNamesEqual(TrimProfileBlanks(name), section)) {
            return true;
        }
    }
    return false;
}

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)), file_(path_) {}

SettingsView SettingsStore::View() const {
    return SettingsView(file_.Read());
}

std::string SettingsStore::ReadString(const std::string& section, const std::string& key,
                                      const std::string& def) const {
    return View().ReadString(section, key, def);
}

std::int32_t SettingsStore::ReadInteger(const std::string& section, const std::string& key,
                                        std::int32_t def) const {
    return View().ReadInteger(section, key, def);
}

bool SettingsStore::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return View().ReadBool(section, key, def);
}

void SettingsStore::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    file_.WriteString(section, key, value);
}

void SettingsStore::WriteInteger(const std::string& section, const std::string& key,
                                 std::int32_t value) {
    file_.WriteString(section, key, std::to_string(value));
}

void SettingsStore::WriteBool(const std::string& section, const std::string& key, bool value) {
    file_.WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> SettingsStore::ReadSection(const std::string& section) const {
    return View().ReadSection(section);
}

void SettingsStore::EraseSection(const std::string& section) {
    file_.EraseSection(section);
}

void SettingsStore::DeleteKey(const std::string& section, const std::string& key) {
    try {
        file_.DeleteKey(section, key);
    } catch (const VexloError&) {
        // A key that cannot be deleted stays as it was; nothing else depends on it.
    }
}

bool SettingsStore::SectionExists(const std::string& section) const {
    return View().SectionExists(section);
}

void SettingsStore::Update(const std::function<void(SettingsBatch&)>& change) {
    file_.Update([&](ProfileText& text) {
        // Written when the text differs at the end, whatever each change reported.
        const std::string before = text.Text();
        SettingsBatch batch(text);
        change(batch);
        return text.Text() != before;
    });
}

namespace {

void CheckValueLength(const std::string& value) {
    if (value.size() > kProfileValueLimit) {
        throw VexloError("Cannot store a value of " + std::to_string(value.size()) +
                         " bytes in a settings file: at most " +
                         std::to_string(kProfileValueLimit) + " bytes can be read back");
    }
}

}  // namespace

void SettingsStore::CheckEntry(const std::string& key, const std::string& value) {
    CheckValueLength(value);
    ProfileText::CheckKeyName(key);
    ProfileText::CheckValue(value);
}

void SettingsBatch::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    CheckValueLength(value);
    text_.SetString(section, key, value);
}

void SettingsBatch::WriteSection(const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& entries) {
    ProfileText::CheckSectionName(section);
    std::vector<std::pair<std::string, std::string>> lines;  // name, value as stored
    std::unordered_map<std::string, std::size_t> seen;       // folded name -> line
    for (const auto& [key, value] : entries) {
        SettingsStore::CheckEntry(key, value);
        std::string name(TrimProfileBlanks(key));
        const auto [at, fresh] = seen.emplace(FoldProfileName(name), lines.size());
        if (fresh) {
            lines.emplace_back(std::move(name), EncodeProfileValue(value));
        } else {
            lines[at->second].second = EncodeProfileValue(value);
        }
    }
    // Rebuilt on a copy: when the result comes out as the text stands, the
    // working text must stay whole, since a later change of the same batch
    // writes it.
    ProfileText rest = text_;
    rest.EraseSection(section);
    std::string after = rest.Text();
    if (!lines.empty()) {
        // A new section goes at the end of the text, as the single writes put it.
        after += "[" + std::string(TrimProfileBlanks(section)) + "]\r\n";
        for (const auto& [name, stored] : lines) {
            after += name + "=" + stored + "\r\n";
        }
    }
    if (after != text_.Text()) {
        text_ = ProfileText(after);
    }
}

void SettingsBatch::WriteInteger(const std::string& section, const std::string& key,
                                 std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void SettingsBatch::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void SettingsBatch::EraseSection(const std::string& section) {
    text_.EraseSection(section);
}

void SettingsBatch::DeleteKey(const std::string& section, const std::string& key) {
    text_.DeleteKey(section, key);
}

void SettingsStore::EraseItemSection(const std::string& item) {
    if (!IsProgramSectionName(item)) {
        file_.EraseSection(item);
        return;
    }
    file_.Update([&](ProfileText& text) {
        bool changed = false;
        for (std::string_view key : kPerItemKeys) {
            changed = text.DeleteKey(item, key) || changed;
        }
        return changed;
    });
}

}  // namespace vexlo
