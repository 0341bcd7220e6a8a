#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexlo {

// UTF-8 text as the UTF-16 the W calls take. Empty when the text is not valid
// UTF-8 or holds a NUL: Windows would cut such a name at the NUL and act on
// another key or file than the one asked for.
std::optional<std::wstring> Utf8ToWide(std::string_view text);

// UTF-16 from Windows as UTF-8. Never fails: an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view text);

}  // namespace vexlo
