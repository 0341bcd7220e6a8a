#include "profile/ProfileName.h"

#include <cstdint>

namespace vexlo {
namespace {

// Lower-case partner of a code point, or the code point itself.
char32_t FoldCodePoint(char32_t c) {
    if (c >= U'A' && c <= U'Z') {
        return c + 0x20;
    }
    if (c < 0x80) {
        return c;
    }
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    // Latin Extended-A pairs: even capital, odd small, except the odd-capital stretch
    // U+0139..U+0148 and U+0179..U+017E; U+0130, U+0131, U+0138, U+0149, U+017F stay.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return (c % 2 == 0) ? c + 1 : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c % 2 == 1) ? c + 1 : c;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    return c;
}

// Decodes one UTF-8 sequence at `pos`; returns its length, 0 when it is not valid.
std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& out) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    std::size_t len = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        out = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        out = b0 & 0x0Fu;
    } else {
        return 0;  // ASCII is handled by the caller; 4-byte sequences never fold
    }
    if (pos + len > s.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0u) != 0x80u) {
            return 0;
        }
        out = (out << 6) | (b & 0x3Fu);
    }
    return (len == 3 && out < 0x800) ? 0 : len;  // overlong forms stay raw bytes
}

void EncodeUtf8(char32_t c, std::string& out) {
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string FoldProfileName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (b < 0x80) {
            out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 0x20 : b);
            ++i;
            continue;
        }
        char32_t c = 0;
        const std::size_t len = DecodeUtf8(name, i, c);
        if (len == 0) {
            out += name[i];
            ++i;
            continue;
        }
        const char32_t folded = FoldCodePoint(c);
        if (folded == c) {
            out.append(name.substr(i, len));
        } else {
            EncodeUtf8(folded, out);
        }
        i += len;
    }
    return out;
}

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    return FoldProfileName(a) == FoldProfileName(b);
}

std::string_view TrimProfileBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

}  // namespace vexlo
