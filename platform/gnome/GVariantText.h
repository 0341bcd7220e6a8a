#pragma once

#include <optional>
#include <string>

namespace vexlo {

// A string as GVariant text: single quotes, with \ ' and control characters
// escaped, so that any file name survives gsettings' parser.
std::string GVariantString(const std::string& text);

// The string a GVariant string literal stands for ('...' or "...", with
// backslash escapes, as `gsettings get` prints it); no value for other text.
std::optional<std::string> GVariantUnquote(const std::string& literal);

}  // namespace vexlo
