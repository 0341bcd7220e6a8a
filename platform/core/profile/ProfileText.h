#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexlo {

// A value is read up to this many bytes; the rest is cut off.
inline constexpr std::size_t kProfileValueLimit = 2047;
// A key list holds the names that fit in this many bytes, each name counted
// with one terminating byte.
inline constexpr std::size_t kProfileKeyListBytes = 16384;

// The text of an ini-style profile file, parsed, looked up, changed and written
// back. Pure text in and out: no files, no locale, standard C++ only.
//
// Reading:
//  - Lines end in LF or CR LF; a UTF-8 byte order mark at the start is skipped.
//  - "[name]" (blanks allowed before "[") starts a section; the name runs to the
//    last "]" on the line and its outer blanks are dropped. A line starting
//    with "[" but holding no "]" is no header: it reads as the lines below.
//  - A line whose first non-blank character is ";" is a comment.
//  - Any other line holding "=" is a key: the name before the first "=", the
//    value after it, both without outer blanks; a value enclosed in one pair of
//    double or single quotes loses them.
//  - Lines without "=", and keys before the first section, belong to no key:
//    they are never found and never listed, and stay in the text unchanged.
//  - Names compare without regard to case (FoldProfileName). A section that
//    appears more than once is one section: its keys are looked up through
//    every block in file order. A repeated key: the first one counts.
//
// Writing keeps every line it does not change byte for byte and ends every
// line in CR LF. A new key goes after the last key of its section (of its last
// block), a new section at the end of the text, without blank lines between.
// A value that would come back changed (outer blanks, enclosing quotes) is
// written inside double quotes, so that it reads back exactly as given.
// Text that the format cannot hold throws VexloError and changes nothing: a
// line break or NUL anywhere, "=" in a key name, a key name starting with "["
// or ";". A section name may hold "]".
class ProfileText {
public:
    ProfileText() = default;
    explicit ProfileText(std::string_view text);

    // The whole text, every line ending in CR LF.
    std::string Text() const;
    bool Empty() const { return lines_.empty() && !bom_; }

    // As GetPrivateProfileString: the value cut to kProfileValueLimit bytes
    // (never inside a UTF-8 sequence), or `def` when the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) const;
    // The section's key names in file order, each once, as far as they fit
    // whole in kProfileKeyListBytes; empty when the section is missing.
    std::vector<std::string> KeyNames(std::string_view section) const;
    // True when the section holds at least one key.
    bool SectionExists(std::string_view section) const;
    // True when a header of the section stands in the text, with or without keys.
    bool HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

    // The whole value, without any limit.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // Every key name of the section, each once, in file order, without any limit.
    std::vector<std::string> AllKeyNames(std::string_view section) const;
    // Every section name, each once, spelled as in its first header, in file order.
    std::vector<std::string> SectionNames() const;

    // Each returns true when the text changed.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool EraseSection(std::string_view section);
    // Erases every section whose name (as in its first header) `match` accepts;
    // returns how many went.
    std::size_t EraseSectionsIf(const std::function<bool(std::string_view)>& match);

    // Throw VexloError with a readable reason when the format cannot hold the text.
    static void CheckSectionName(std::string_view section);
    static void CheckKeyName(std::string_view key);
    static void CheckValue(std::string_view value);

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        Kind kind = Kind::Other;
        std::string raw;    // the line as it stands, without its line ending
        std::string name;   // section or key name, outer blanks dropped
        std::string value;  // key value, outer blanks dropped, quotes kept
    };
    struct Block {
        std::size_t header = 0;         // line index of the "[...]" line
        std::vector<std::size_t> keys;  // line indices of its keys
    };
    struct Section {
        std::vector<std::size_t> blocks;                        // indices into blocks_
        std::unordered_map<std::string, std::size_t> firstKey;  // folded name -> line
        std::vector<std::size_t> keyOrder;                      // first occurrences, in order
    };

    static Line ParseLine(std::string_view raw);
    void Reindex();
    const Section* FindSection(std::string_view section) const;
    const Line* FindKey(std::string_view section, std::string_view key) const;

    bool bom_ = false;
    std::vector<Line> lines_;
    std::vector<Block> blocks_;
    std::unordered_map<std::string, Section> sections_;  // folded name -> section
    std::vector<std::string> sectionOrder_;              // folded names, file order
};

// The value as the file must hold it to read back as `value` (quoted when needed).
std::string EncodeProfileValue(std::string_view value);
// The value a key line's text after "=" reads as (outer blanks and one pair of quotes dropped).
std::string DecodeProfileValue(std::string_view stored);

}  // namespace vexlo
