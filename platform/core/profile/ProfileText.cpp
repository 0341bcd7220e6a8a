#include "profile/ProfileText.h"

#include <initializer_list>

#include "VexloError.h"
#include "profile/ProfileName.h"

namespace vexlo {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Joins texts by appending, which also spares g++ 12's false -Wrestrict alarm
// on "literal" + std::string at -O3.
std::string Join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts) {
        out += part;
    }
    return out;
}

bool IsValueBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}
bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// The text with line breaks and NUL shown as escapes, for a one-line message.
std::string Shown(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 200)) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\0') {
            out += "\\0";
        } else {
            out += c;
        }
    }
    return text.size() > 200 ? out + "..." : out;
}

void CheckNoLineBreak(std::string_view text, std::string_view what) {
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        throw VexloError(Join({"Cannot store the ", what, " \"", Shown(text),
                               "\" in a settings file: it holds a line break"}));
    }
}

// The value cut to the limit, never inside a UTF-8 sequence: when the first
// dropped byte continues a sequence, the sequence's lead goes too.
std::string CutValue(std::string value) {
    if (value.size() <= kProfileValueLimit) {
        return value;
    }
    std::size_t cut = kProfileValueLimit;
    for (int step = 0; step < 3 && cut > 0; ++step) {
        if ((static_cast<unsigned char>(value[cut]) & 0xC0u) != 0x80u) {
            break;
        }
        --cut;
    }
    if ((static_cast<unsigned char>(value[cut]) & 0xC0u) == 0x80u) {
        cut = kProfileValueLimit;  // not UTF-8 at all: cut by bytes
    }
    value.resize(cut);
    return value;
}

// Removes the lines marked in `drop`, keeping the order of the others.
template <typename T>
void RemoveMarked(std::vector<T>& items, const std::vector<bool>& drop) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!drop[i]) {
            if (kept != i) {
                items[kept] = std::move(items[i]);
            }
            ++kept;
        }
    }
    items.resize(kept);
}

}  // namespace

std::string EncodeProfileValue(std::string_view value) {
    if (value.empty()) {
        return {};
    }
    const bool blankEnds = IsValueBlank(value.front()) || IsValueBlank(value.back());
    const bool quoted = value.size() > 1 && IsQuote(value.front()) && value.back() == value.front();
    if (blankEnds || quoted) {
        return Join({"\"", value, "\""});
    }
    return std::string(value);
}

std::string DecodeProfileValue(std::string_view stored) {
    std::string_view v = TrimProfileBlanks(stored);
    if (v.size() > 1 && IsQuote(v.front()) && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

void ProfileText::CheckSectionName(std::string_view section) {
    // "]" is fine ("photo[1].jpg"): a header is read up to the last "]" on its line.
    CheckNoLineBreak(section, "section name");
}

void ProfileText::CheckKeyName(std::string_view key) {
    CheckNoLineBreak(key, "key name");
    const std::string_view trimmed = TrimProfileBlanks(key);
    if (trimmed.find('=') != std::string_view::npos) {
        throw VexloError(
            Join({"Cannot store the key name \"", key, "\" in a settings file: it holds \"=\""}));
    }
    if (!trimmed.empty() && (trimmed.front() == '[' || trimmed.front() == ';')) {
        throw VexloError(
            Join({"Cannot store the key name \"", key, "\" in a settings file: it starts with \"",
                  trimmed.substr(0, 1), "\""}));
    }
}

void ProfileText::CheckValue(std::string_view value) {
    CheckNoLineBreak(value, "value");
}

ProfileText::Line ProfileText::ParseLine(std::string_view raw) {
    Line line;
    line.raw = std::string(raw);
    const std::string_view text = TrimProfileBlanks(raw);
    // A header needs its closing "]": a hand-edited "[NoClose" starts no
    // section, as the Windows profile functions read it.
    if (const std::size_t close = text.rfind(']');
        !text.empty() && text.front() == '[' && close != std::string_view::npos) {
        line.kind = Kind::Section;
        // Up to the last "]".
        line.name = std::string(TrimProfileBlanks(text.substr(1, close - 1)));
        return line;
    }
    if (!text.empty() && text.front() == ';') {
        return line;
    }
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        return line;
    }
    line.kind = Kind::Key;
    line.name = std::string(TrimProfileBlanks(text.substr(0, eq)));
    line.value = std::string(TrimProfileBlanks(text.substr(eq + 1)));
    return line;
}

ProfileText::ProfileText(std::string_view text) {
    if (text.substr(0, kBom.size()) == kBom) {
        bom_ = true;
        text.remove_prefix(kBom.size());
    }
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        lines_.push_back(ParseLine(raw));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    Reindex();
}

void ProfileText::Reindex() {
    blocks_.clear();
    sections_.clear();
    sectionOrder_.clear();
    Section* current = nullptr;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Section) {
            std::string folded = FoldProfileName(line.name);
            auto [it, inserted] = sections_.try_emplace(folded);
            if (inserted) {
                sectionOrder_.push_back(std::move(folded));
            }
            current = &it->second;
            current->blocks.push_back(blocks_.size());
            blocks_.push_back(Block{i, {}});
        } else if (line.kind == Kind::Key && current != nullptr) {
            blocks_.back().keys.push_back(i);
            if (current->firstKey.try_emplace(FoldProfileName(line.name), i).second) {
                current->keyOrder.push_back(i);
            }
        }
    }
}

std::string ProfileText::Text() const {
    std::size_t size = bom_ ? kBom.size() : 0;
    for (const Line& line : lines_) {
        size += line.raw.size() + 2;
    }
    std::string out;
    out.reserve(size);
    if (bom_) {
        out += kBom;
    }
    for (const Line& line : lines_) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

const ProfileText::Section* ProfileText::FindSection(std::string_view section) const {
    const auto it = sections_.find(FoldProfileName(TrimProfileBlanks(section)));
    return it == sections_.end() ? nullptr : &it->second;
}

const ProfileText::Line* ProfileText::FindKey(std::string_view section,
                                              std::string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr) {
        return nullptr;
    }
    const auto it = s->firstKey.find(FoldProfileName(TrimProfileBlanks(key)));
    return it == s->firstKey.end() ? nullptr : &lines_[it->second];
}

std::optional<std::string> ProfileText::Find(std::string_view section, std::string_view key) const {
    const Line* line = FindKey(section, key);
    if (line == nullptr) {
        return std::nullopt;
    }
    return DecodeProfileValue(line->value);
}

std::string ProfileText::GetString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    std::optional<std::string> value = Find(section, key);
    return value ? CutValue(std::move(*value)) : std::string(def);
}

std::vector<std::string> ProfileText::AllKeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = FindSection(section)) {
        names.reserve(s->keyOrder.size());
        for (std::size_t i : s->keyOrder) {
            names.push_back(lines_[i].name);
        }
    }
    return names;
}

std::vector<std::string> ProfileText::KeyNames(std::string_view section) const {
    std::vector<std::string> names = AllKeyNames(section);
    std::size_t used = 0;
    std::size_t fit = 0;
    while (fit < names.size() && used + names[fit].size() + 1 <= kProfileKeyListBytes) {
        used += names[fit].size() + 1;
        ++fit;
    }
    names.resize(fit);  // a name that does not fit whole is left out, never cut
    return names;
}

bool ProfileText::SectionExists(std::string_view section) const {
    const Section* s = FindSection(section);
    return s != nullptr && !s->keyOrder.empty();
}

std::vector<std::string> ProfileText::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(sectionOrder_.size());
    for (const std::string& folded : sectionOrder_) {
        const Section& s = sections_.at(folded);
        names.push_back(lines_[blocks_[s.blocks.front()].header].name);
    }
    return names;
}

bool ProfileText::SetString(std::string_view section, std::string_view key,
                            std::string_view value) {
    CheckSectionName(section);
    CheckKeyName(key);
    CheckValue(value);
    const std::string encoded = EncodeProfileValue(value);
    const std::string_view sectionName = TrimProfileBlanks(section);
    const std::string_view keyName = TrimProfileBlanks(key);

    if (const Line* existing = FindKey(sectionName, keyName)) {
        // Replaced in place; the name keeps the spelling it has in the file.
        const auto index = static_cast<std::size_t>(existing - lines_.data());
        Line replacement = ParseLine(Join({existing->name, "=", encoded}));
        if (replacement.raw == existing->raw) {
            return false;
        }
        lines_[index] = std::move(replacement);
        Reindex();
        return true;
    }
    Line line = ParseLine(Join({keyName, "=", encoded}));
    if (const Section* s = FindSection(sectionName)) {
        const Block& last = blocks_[s->blocks.back()];
        const std::size_t after = last.keys.empty() ? last.header : last.keys.back();
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1), std::move(line));
    } else {
        lines_.push_back(ParseLine(Join({"[", sectionName, "]"})));
        lines_.push_back(std::move(line));
    }
    Reindex();
    return true;
}

bool ProfileText::DeleteKey(std::string_view section, std::string_view key) {
    const Section* s = FindSection(section);
    if (s == nullptr) {
        return false;
    }
    const std::string folded = FoldProfileName(TrimProfileBlanks(key));
    std::vector<bool> drop(lines_.size(), false);
    bool any = false;
    for (std::size_t b : s->blocks) {
        for (std::size_t i : blocks_[b].keys) {
            if (FoldProfileName(lines_[i].name) == folded) {
                drop[i] = true;  // every repeat goes, so no older copy shows through
                any = true;
            }
        }
    }
    if (!any) {
        return false;
    }
    RemoveMarked(lines_, drop);
    Reindex();
    return true;
}

std::size_t ProfileText::EraseSectionsIf(const std::function<bool(std::string_view)>& match) {
    // One pass and one reindex, however many sections go.
    std::vector<bool> drop(lines_.size(), false);
    std::size_t erased = 0;
    for (const std::string& folded : sectionOrder_) {
        const Section& s = sections_.at(folded);
        if (!match(lines_[blocks_[s.blocks.front()].header].name)) {
            continue;
        }
        ++erased;
        for (std::size_t b : s.blocks) {
            const std::size_t end = b + 1 < blocks_.size() ? blocks_[b + 1].header : lines_.size();
            for (std::size_t i = blocks_[b].header; i < end; ++i) {
                drop[i] = true;
            }
        }
    }
    if (erased > 0) {
        RemoveMarked(lines_, drop);
        Reindex();
    }
    return erased;
}

bool ProfileText::EraseSection(std::string_view section) {
    const Section* s = FindSection(section);
    if (s == nullptr) {
        return false;
    }
    // Every block of the section goes, header to the line before the next header.
    std::vector<bool> drop(lines_.size(), false);
    for (std::size_t b : s->blocks) {
        for (std::size_t i = blocks_[b].header; i < lines_.size(); ++i) {
            if (i != blocks_[b].header && lines_[i].kind == Kind::Section) {
                break;
            }
            drop[i] = true;
        }
    }
    RemoveMarked(lines_, drop);
    Reindex();
    return true;
}

}  // namespace vexlo
