#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SettingsNames.h"
#include "SettingsView.h"
#include "profile/ProfileFile.h"

namespace vexlo {

// The changes of one SettingsStore::Update, with the encodings of the store's
// own writes. Each checks its text as the single writes do and throws
// VexloError for text the file cannot hold.
class SettingsBatch {
public:
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);
    // The section erased and then each key written in turn (a key met again
    // keeps its first place and takes the last value), in one pass rather than
    // one re-index of the file per key: what a long folder list needs.
    void WriteSection(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& entries);

private:
    friend class SettingsStore;
    explicit SettingsBatch(ProfileText& text) : text_(text) {}

    ProfileText& text_;
};

// The settings file Vexlo.ini. Keeps no copy that could hide a change: every
// read sees the file as it is now (so another process's write is seen at the
// next read), every write changes the file before it returns. Section and key
// names match without regard to case; the file's own name too ("vexlo.ini" is
// the same file). A refused write throws VexloError "Unable to write to <path>";
// the writes before it stay. Text the file cannot hold (a line break, a key
// name with "=", a value over 2047 bytes) is refused with VexloError too.
class SettingsStore {
public:
    explicit SettingsStore(std::string path);

    const std::string& FileName() const { return path_; }

    // The file as it is now, read once, for several reads that belong together.
    SettingsView View() const;

    // The value (at most 2047 bytes), or `def`.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // The value read as ParseSettingsInteger does, or `def`.
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t def) const;
    // The integer read with default 1 or 0; true when non-zero.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Signed decimal text: "-" before negatives, no "+", no leading zeros.
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    // "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The section's key names in file order within 16384 bytes (each name
    // counted with one terminating byte); empty when the section is missing.
    std::vector<std::string> ReadSection(const std::string& section) const;
    void EraseSection(const std::string& section);
    // Removes one key; a missing key or a failed delete is ignored.
    void DeleteKey(const std::string& section, const std::string& key);
    // True when the section holds at least one key.
    bool SectionExists(const std::string& section) const;

    // Erases the per-item section of `item`. When the item is named like one of
    // the program's own sections ([Settings], [Folders], ...), only the per-item
    // keys go, so that deleting the options of a folder called "Settings" keeps
    // the program's settings.
    void EraseItemSection(const std::string& item);

    // Runs `change` under the file's lock on its current contents and writes
    // the result in one atomic replacement: every change of the batch lands,
    // or (when `change` throws or the file cannot be written) none does.
    // Throws as the single writes do.
    void Update(const std::function<void(SettingsBatch&)>& change);

    // Throws the VexloError that a write of `value` under the key name `key`
    // would throw, when the file cannot hold either; else nothing.
    static void CheckEntry(const std::string& key, const std::string& value);

private:
    std::string path_;
    ProfileFile file_;
};

// The keys a per-item section holds.
inline constexpr std::string_view kPerItemKeys[] = {ini::kUseSpecificApply, ini::kApplyMethod,
                                                    ini::kUseTransparentIcons, ini::kIconCaption,
                                                    ini::kDesktopBackground};

// True for the fixed and folder sections of the settings file, letter case ignored.
bool IsProgramSectionName(std::string_view name);

// An integer as the settings file stores it: optional leading blanks, an
// optional sign, then decimal digits or hexadecimal digits after "$", "0x",
// "0X", "x" or "X". Anything else, and numbers outside the signed 32-bit
// range, give nothing.
std::optional<std::int32_t> ParseSettingsInteger(std::string_view text);

}  // namespace vexlo
