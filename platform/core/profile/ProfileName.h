#pragma once

#include <string>
#include <string_view>

namespace vexlo {

// Section and key names compare without regard to letter case. The folding
// covers ASCII and the letters of Latin-1, Latin Extended-A, Greek and
// Cyrillic (what the Windows code pages folded); other text compares as is.
// Invalid UTF-8 passes through byte for byte.
std::string FoldProfileName(std::string_view name);

bool ProfileNamesEqual(std::string_view a, std::string_view b);

// Drops the blanks (space, tab, vertical tab, form feed, CR) at both ends.
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace vexlo
