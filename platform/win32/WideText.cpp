#include "WideText.h"

#include <windows.h>

#include <climits>

namespace vexlo {

std::optional<std::wstring> Utf8ToWide(std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    if (text.size() > INT_MAX || text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const int wide =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (wide <= 0) {
        return std::nullopt;
    }
    std::wstring result(static_cast<size_t>(wide), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, result.data(),
                            wide) != wide) {
        return std::nullopt;
    }
    return result;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX / 3) {
        return std::string();
    }
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string();
    }
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), bytes, nullptr, nullptr);
    return result;
}

}  // namespace vexlo
